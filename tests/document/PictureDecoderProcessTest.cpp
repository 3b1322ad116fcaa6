// Pictures read through the picture decoder program, here stand-ins for it that answer, fail
// or crash as told.
#include <gtest/gtest.h>

#include <cstdlib>

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
  // One picture to decode; a drawing's size and two pictures to render.
  Bytes answer;
  AppendPicture(sent, answer);
  Write("decoder.decode", answer);
  Bytes rendered;
  AppendDrawingSize(300, 200, rendered);
  AppendPicture(sent, rendered);
  AppendPicture(sent, rendered);
  Write("decoder.render", rendered);
  Decoder("cat > \"$0.in\"; echo \"$@\" > \"$0.args\"; cat \"$0.$1\"");

  const LoadedPicture picture = LoadPictureFile(Write("p.png", {1, 2, 3}));
  EXPECT_EQ(picture.Colours, sent.Colours);
  EXPECT_EQ(picture.Alpha, sent.Alpha);
  EXPECT_EQ(Read("decoder.args"), "decode " + (dir_ / "p.png").string() + "\n");
  EXPECT_EQ(Read("decoder.in"), std::string("\1\2\3"));

  RenderedDrawing drawing;
  std::string message;
  ASSERT_TRUE(RenderDrawingInDecoderProgram({4}, {0, 16}, drawing, message)) << message;
  EXPECT_EQ(drawing.Pictures.size(), 2u);
  EXPECT_EQ(drawing.Width, 300);
  EXPECT_EQ(drawing.Height, 200);
  EXPECT_EQ(Read("decoder.args"), "render 0 16\n");
  // An answer with fewer pictures than asked for is no answer.
  EXPECT_FALSE(RenderDrawingInDecoderProgram({4}, {0, 16, 32}, drawing, message));
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

TEST_F(PictureDecoderProcessTest, EachLimitIsItsOwnPlainReason) {
  const std::string png = Write("p.png", {1, 2, 3});
  setenv("BRIXEL_DECODER_SECONDS", "1", 1);
  setenv("BRIXEL_DECODER_CPU_SECONDS", "1", 1);
  // Waiting past the wall-clock limit, and spinning past the processor time limit.
  Decoder("exec sleep 30");
  EXPECT_EQ(Refusal(png), "Invalid picture: the picture took too long to decode");
  setenv("BRIXEL_DECODER_SECONDS", "60", 1);
  Decoder("while :; do :; done");
  EXPECT_EQ(Refusal(png), "Invalid picture: the picture took too long to decode");
  unsetenv("BRIXEL_DECODER_SECONDS");
  unsetenv("BRIXEL_DECODER_CPU_SECONDS");
  Decoder("exit 3");
  EXPECT_EQ(Refusal(png), "Invalid picture: the picture needs more memory than allowed");
}

TEST_F(PictureDecoderProcessTest, TheLogGivesItsWarningsAndNothingElse) {
  Bytes answer;
  AppendDrawingSize(3, 2, answer);
  LoadedPicture sent;
  sent.Colours = Bitmap(3, 2, MakeColour(10, 20, 30));
  AppendPicture(sent, answer);
  Write("decoder.render", answer);
  Decoder("echo 'libpng warning: iCCP: known incorrect sRGB profile' >&2; echo 'warning: left out a.png' >&2; "
          "echo 'warning: left out b.png' >&2; cat \"$0.$1\"");
  RenderedDrawing drawing;
  std::string message;
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(RenderDrawingInDecoderProgram({4}, {16}, drawing, message)) << message;
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(drawing.Warnings, (std::vector<std::string>{"left out a.png", "left out b.png"}));

  // A failure is one reason, whatever the log says.
  Decoder("echo 'terminate called after throwing an instance of std::logic_error' >&2; kill -ABRT $$");
  EXPECT_EQ(Refusal(Write("p.png", {1})), "Invalid picture: the picture decoder stopped on signal 6 (Aborted)");
}

}  // namespace
}  // namespace brixel
