// brixel-cli thumbnail: the PNG a file manager shows for an icon, cursor or animated cursor.

#include <gtest/gtest.h>

#include <filesystem>

#include "AniTestFiles.h"
#include "FileIO.h"
#include "IcoFile.h"
#include "IconSet.h"
#include "PngCodec.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

class ThumbnailCliTest : public ::testing::Test {
 protected:
  test::ProcessResult Run(const fs::path& in, const std::string& size) {
    return test::RunProgram(BRIXEL_CLI_PATH, {"thumbnail", in.string(), out_.string(), size}, dir_.Path());
  }
  fs::path File(const char* name, const Bytes& bytes) {
    test::WriteBytes(dir_ / name, bytes);
    return dir_ / name;
  }
  PngPicture Thumbnail() const { return DecodePng(ReadWholeFile(out_.string()), [](const PngHeader&) {}); }

  test::TempDir dir_;
  const fs::path out_ = dir_ / "thumbnail.png";
};

using Rgba = std::array<std::uint8_t, 4>;

Rgba PixelAt(const PngPicture& picture, int x, int y) {
  const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)) * 4;
  return {picture.rgba[at], picture.rgba[at + 1], picture.rgba[at + 2], picture.rgba[at + 3]};
}

// The colour of block (bx, by) of the 256 picture: some clear, some half transparent.
Rgba Block(int bx, int by) {
  const auto alpha = static_cast<std::uint8_t>((bx + by) % 3 == 0 ? 0 : bx % 2 ? 255 : 100);
  if (alpha == 0) return {0, 0, 0, 0};
  return {static_cast<std::uint8_t>(bx * 2), static_cast<std::uint8_t>(by * 2), 100, alpha};
}

TEST_F(ThumbnailCliTest, AnIconWhoseLargestImageIsA256PngEntry) {
  // 2 x 2 blocks of one colour each, so halving the picture gives each block's colour.
  RgbaPicture picture(256, 256);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const Rgba block = Block(x / 2, y / 2);
      std::copy(block.begin(), block.end(), picture.At(x, y));
    }
  }
  const IconImage large = IconSetImage(picture);
  ASSERT_TRUE(large.StoredAsPng);
  const fs::path icon = File("large.ico", BuildIconFile({test::SolidImage(16, 16, 4, kWhite), large}, 1));

  ASSERT_EQ(Run(icon, "128").status, 0);
  PngPicture shown = Thumbnail();
  ASSERT_EQ(shown.width, 128);
  ASSERT_EQ(shown.height, 128);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) ASSERT_EQ(PixelAt(shown, x, y), Block(x, y)) << x << "," << y;
  }

  // Asked at 16, the 16 image itself.
  ASSERT_EQ(Run(icon, "16").status, 0);
  shown = Thumbnail();
  ASSERT_EQ(shown.width, 16);
  EXPECT_EQ(PixelAt(shown, 7, 7), (Rgba{255, 255, 255, 255}));
}

TEST_F(ThumbnailCliTest, ASmallerIconIsItsLargestImageEnlargedByWholePixels) {
  IconImage largest = test::SolidImage(48, 48, 24, kBlack);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) largest.Pixels.At(x, y) = MakeColour(x * 5, y * 5, 7);
  }
  largest.Mask.At(47, 0) = MaskTransparent;
  const fs::path icon = File("three.ico", BuildIconFile({test::SolidImage(16, 16, 8, kWhite),
                                                          test::SolidImage(32, 32, 32, kWhite), largest},
                                                         1));
  ASSERT_EQ(Run(icon, "128").status, 0);
  const PngPicture shown = Thumbnail();
  ASSERT_EQ(shown.width, 96);
  ASSERT_EQ(shown.height, 96);
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const bool clear = x / 2 == 47 && y / 2 == 0;
      const Rgba expected = clear ? Rgba{0, 0, 0, 0}
                                  : Rgba{static_cast<std::uint8_t>(x / 2 * 5), static_cast<std::uint8_t>(y / 2 * 5), 7, 255};
      ASSERT_EQ(PixelAt(shown, x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(ThumbnailCliTest, AnAnimatedCursorShowsItsFirstStep) {
  using namespace test;
  const Colour second = MakeColour(30, 140, 250);
  const fs::path cursor =
      File("spin.ani", Riff("ACON", {List("INFO", {Chunk("INAM", Text("Spin"))}), Anih(3, 3, 7, kIconFlag | kSequenceFlag),
                                     Steps("seq ", {1, 2, 0}),
                                     List("fram", {Icon({FrameImage(32, 24, MakeColour(250, 0, 0))}),
                                                   Icon({FrameImage(32, 24, second)}),
                                                   Icon({FrameImage(32, 24, MakeColour(0, 250, 0))})})}));
  ASSERT_EQ(Run(cursor, "32").status, 0);
  const PngPicture shown = Thumbnail();
  ASSERT_EQ(shown.width, 32);
  EXPECT_EQ(PixelAt(shown, 0, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(shown, 20, 9), (Rgba{30, 140, 250, 255}));
}

TEST_F(ThumbnailCliTest, BadInputLeavesNoFileAndAnExistingOneAsItWas) {
  using namespace test;
  Bytes truncated = BuildIconFile({test::SolidImage(32, 32, 24, kWhite)}, 1);
  truncated.resize(truncated.size() / 2);
  Bytes badPng = BuildIconFile({IconSetImage(RgbaPicture(256, 256))}, 1);
  badPng.resize(badPng.size() - 20);
  const Bytes frameless = Riff("ACON", {Anih(1, 1, 1), ChunkClaiming("LIST", 5000, Text("fram"))});
  const std::vector<fs::path> hostile = {
      File("text.ico", Text("no icon in here at all")), File("empty.ico", {}),
      File("truncated.ico", truncated), File("badpng.ico", badPng),
      File("frameless.ani", frameless), dir_ / "missing.ico"};
  for (const fs::path& in : hostile) {
    const ProcessResult result = Run(in, "128");
    EXPECT_EQ(result.status, 1) << in;
    EXPECT_NE(result.err.find(in.string()), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(out_)) << in;
  }
  test::WriteBytes(out_, Text("an older thumbnail"));
  EXPECT_EQ(Run(hostile[2], "128").status, 1);
  EXPECT_EQ(ReadWholeFile(out_.string()), Text("an older thumbnail"));
  const fs::path good = File("good.ico", BuildIconFile({test::SolidImage(16, 16, 4, kWhite)}, 1));
  for (const char* size : {"0", "4097", "12x", ""}) EXPECT_EQ(Run(good, size).status, 2) << size;
}

}  // namespace
}  // namespace brixel
