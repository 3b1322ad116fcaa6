// brixel-cli on animated cursors: info, dump and convert.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "AniTestFiles.h"
#include "FileIO.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

using Result = test::ProcessResult;

class AniCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(cursor_, test::Riff("ACON", {test::Anih(3, 4, 7, test::kIconFlag | test::kSequenceFlag),
                                                  test::Steps("rate", {1, 2, 3, 4}), test::Steps("seq ", {0, 1, 2, 1}),
                                                  test::List("INFO", {test::Chunk("INAM", test::Text("Spin \"x\"")),
                                                                      test::Chunk("IART", test::Text("Ann"))}),
                                                  test::List("fram", {test::Icon({frames_[0]}), test::Icon({frames_[1]}),
                                                                      test::Icon({frames_[2]})})}));
  }

  Result Run(const std::vector<std::string>& args) { return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path()); }

  test::TempDir dir_;
  const fs::path cursor_ = dir_ / "spin.ani";
  const std::vector<IconImage> frames_ = {test::FrameImage(16, 24, MakeColour(200, 10, 20), 3, 4),
                                          test::FrameImage(32, 8, test::PaletteColour(8, 60), 5, 6),
                                          test::FrameImage(24, 4, test::PaletteColour(4, 9))};
};

TEST_F(AniCliTest, InfoListsTheFramesAndInJsonTheCursorsOwnValues) {
  const Result text = Run({"info", cursor_.string()});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out.substr(0, text.out.find('\n')), cursor_.string() + ": animated cursor, 3 images");
  EXPECT_NE(text.out.find("  32x32, 8 bit, hot spot 5,6, palette 256\n"), std::string::npos) << text.out;

  const Result json = Run({"info", cursor_.string(), "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"type\": \"animated cursor\", \"name\": \"Spin \\\"x\\\"\", \"artist\": \"Ann\", "
                          "\"copyright\": \"\", \"header\": [36, 3, 4, 0, 0, 0, 0, 7], \"rates\": [1, 2, 3, 4], "
                          "\"sequence\": [0, 1, 2, 1], \"images\": [{\"width\": 16, "),
            std::string::npos)
      << json.out;
  // And it is JSON that a strict parser takes.
  const fs::path out = dir_ / "info.json";
  test::WriteBytes(out, Bytes(json.out.begin(), json.out.end()));
  EXPECT_EQ(test::RunCommand("/usr/bin/python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
                             "sys.exit(0 if len(d[\"images\"]) == 3 and d[\"sequence\"] == [0, 1, 2, 1] else 1)' " +
                             test::ShellQuote(out.string())),
            0);
}

TEST_F(AniCliTest, DumpWritesEveryFrame) {
  const fs::path dir = dir_ / "frames";
  ASSERT_EQ(Run({"dump", cursor_.string(), dir.string()}).status, 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(fs::exists(dir / (std::to_string(i) + ".pam"))) << i;
  EXPECT_FALSE(fs::exists(dir / "3.pam"));
  // The second frame, 32 pixels wide: its pixel (1, 0) in the palette colour, opaque.
  const Bytes pam = ReadWholeFile((dir / "1.pam").string());
  const std::string text(pam.begin(), pam.end());
  const std::size_t pixels = text.find("ENDHDR\n") + 7;
  ASSERT_NE(text.find("WIDTH 32"), std::string::npos);
  const Colour c = test::PaletteColour(8, 60);
  EXPECT_EQ((std::array<int, 4>{pam.at(pixels + 4), pam[pixels + 5], pam[pixels + 6], pam[pixels + 7]}),
            (std::array<int, 4>{RedOf(c), GreenOf(c), BlueOf(c), 255}));
  EXPECT_EQ(pam[pixels + 3], 0);  // pixel (0, 0) is transparent
}

TEST_F(AniCliTest, ConvertWritesTheFramesAsOneIconFile) {
  const fs::path icon = dir_ / "frames.ico";
  const Result r = Run({"convert", cursor_.string(), icon.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  cIco doc;
  ASSERT_TRUE(doc.OpenIcon(icon.string()));
  EXPECT_EQ(doc.Images(), frames_);
  if (test::RunCommand("command -v icotool >/dev/null") == 0) {
    // icotool lists one line per image.
    EXPECT_EQ(test::RunCommand("test \"$(icotool -l " + test::ShellQuote(icon.string()) + " | wc -l)\" = 3"), 0);
  }
}

TEST_F(AniCliTest, AnimatedCursorsAreNeitherWrittenNorMistakenForOthers) {
  const fs::path target = dir_ / "copy.ani";
  const Result toAni = Run({"convert", cursor_.string(), target.string()});
  EXPECT_EQ(toAni.status, 1);
  EXPECT_NE(toAni.err.find("animated cursors cannot be written"), std::string::npos) << toAni.err;
  EXPECT_FALSE(fs::exists(target));

  const fs::path wave = dir_ / "sound.ani";
  test::WriteBytes(wave, test::Riff("WAVE", {test::Chunk("data", Bytes(8, 0))}));
  const Result notAni = Run({"info", wave.string()});
  EXPECT_EQ(notAni.status, 1);
  EXPECT_NE(notAni.err.find("File format not recognized"), std::string::npos) << notAni.err;
  EXPECT_TRUE(notAni.out.empty());
}

}  // namespace
}  // namespace brixel
