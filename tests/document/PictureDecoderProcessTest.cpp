// Pictures read through the picture decoder program, here stand-ins for it that answer, fail
// or crash as told.
#include <gtest/gtest.h>

#include "IcoFile.h"
#include "PictureDecoderProcess.h"
#include "PictureTransfer.h"
#include "TestSupport.h"

namespace brixel {
namespace {

class PictureDecoderProcessTest : public ::testing::Test {
 protected:
  ~PictureDecoderProcessTest() override { UsePictureDecoderProgram({}); }
  // Runs body as the decoder program from now on.
  void Decoder(const std::string& body) {
    UsePictureDecoderProgram(test::WriteShellScript(dir_ / "decoder", body));
  }
  std::string Write(const char* name, const Bytes& bytes) {
    test::WriteBytes(dir_ / name, bytes);
    return (dir_ / name).string();
  }
  std::string Read(const char* name) {
    const Bytes bytes = ReadWholeFile((dir_ / name).string());
    return std::string(bytes.begin(), bytes.end());
  }
  // The description LoadPictureFile raises for path, "loaded" when it raises nothing.
  static std::string Refusal(const std::string& path) {
    try {
      LoadPictureFile(path);
    } catch (const BackEndError& e) {
      EXPECT_EQ(e.Number(), static_cast<int>(ErrorCode::InvalidPicture));
      return e.Description();
    }
    return "loaded";
  }

  test::TempDir dir_;
};

TEST_F(PictureDecoderProcessTest, PicturesComeFromTheProgramWithTheirArguments) {
  LoadedPicture sent;
  sent.Colours = Bitmap(3, 2, MakeColour(10, 20, 30));
  sent.Alpha = {255, 0, 255, 128, 255, 255};
  // One picture to decode, two to render.
  Bytes answer;
  AppendPicture(sent, answer);
  Write("decoder.decode", answer);
  AppendPicture(sent, answer);
  Write("decoder.render", answer);
  Decoder("cat > \"$0.in\"; echo \"$@\" > \"$0.args\"; cat \"$0.$1\"");

  const LoadedPicture picture = LoadPictureFile(Write("p.png", {1, 2, 3}));
  EXPECT_EQ(picture.Colours, sent.Colours);
  EXPECT_EQ(picture.Alpha, sent.Alpha);
  EXPECT_EQ(Read("decoder.args"), "decode " + (dir_ / "p.png").string() + "\n");
  EXPECT_EQ(Read("decoder.in"), std::string("\1\2\3"));

  std::vector<LoadedPicture> drawings;
  std::string message;
  ASSERT_TRUE(RenderDrawingInDecoderProgram({4}, {0, 16}, drawings, message)) << message;
  EXPECT_EQ(drawings.size(), 2u);
  EXPECT_EQ(Read("decoder.args"), "render 0 16\n");
  // An answer with fewer pictures than asked for is no answer.
  EXPECT_FALSE(RenderDrawingInDecoderProgram({4}, {0, 16, 32}, drawings, message));
  EXPECT_EQ(message, "the picture decoder did not answer as expected");
}

TEST_F(PictureDecoderProcessTest, ACrashOrARefusalIsAPictureThatCannotBeRead) {
  const std::string png = Write("p.png", {1, 2, 3});
  Decoder("printf 'not a picture I know'; exit 1");
  EXPECT_EQ(Refusal(png), "Invalid picture: not a picture I know");
  Decoder("kill -SEGV $$");
  EXPECT_EQ(Refusal(png), "Invalid picture: the picture decoder stopped on signal 11 (Segmentation fault)");
  Decoder("printf garbage");
  EXPECT_EQ(Refusal(png), "Invalid picture: the picture decoder did not answer as expected");
  UsePictureDecoderProgram((dir_ / "missing").string());
  EXPECT_EQ(Refusal(png), "Invalid picture: the picture decoder could not be started: No such file or directory");

  // Icons never reach the program.
  Decoder("kill -SEGV $$");
  const LoadedPicture icon = LoadPictureFile(Write("i.ico", BuildIconFile({MakeNewImage(16, 16, 4)}, 1)));
  EXPECT_EQ(icon.Width(), 16);
}

}  // namespace
}  // namespace brixel
