// Pictures handed from the picture decoder program to brixel-cli.

#include <gtest/gtest.h>

#include "ByteOrder.h"
#include "PictureTransfer.h"

namespace brixel {
namespace {

LoadedPicture Picture(int width, int height, bool alpha) {
  LoadedPicture picture;
  picture.Colours = Bitmap(width, height, 0);
  for (std::size_t i = 0; i < picture.Colours.Pixels.size(); ++i) {
    picture.Colours.Pixels[i] = static_cast<std::int32_t>(i * 0x010203 % 0x1000000);
  }
  if (alpha) {
    for (std::size_t i = 0; i < picture.Colours.Pixels.size(); ++i) picture.Alpha.push_back(static_cast<std::uint8_t>(i * 37));
  }
  return picture;
}

TEST(PictureTransfer, PicturesComeBackAsTheyWereSent) {
  const std::vector<LoadedPicture> sent = {Picture(3, 2, true), Picture(1, 1, false), Picture(7, 5, true)};
  Bytes bytes;
  for (const LoadedPicture& picture : sent) AppendPicture(picture, bytes);
  std::vector<LoadedPicture> got;
  ASSERT_TRUE(ReadPictures(bytes, got));
  ASSERT_EQ(got.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(got[i].Colours, sent[i].Colours) << i;
    EXPECT_EQ(got[i].Alpha, sent[i].Alpha) << i;
  }
  EXPECT_TRUE(ReadPictures({}, got));
  EXPECT_TRUE(got.empty());
}

// Whatever the other process writes, nothing is read past the bytes and no picture is made
// larger than a picture may be.
TEST(PictureTransfer, DamagedStreamsAreRefused) {
  Bytes good;
  AppendPicture(Picture(4, 4, true), good);
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    std::vector<LoadedPicture> got;
    EXPECT_FALSE(ReadPictures(ByteView(good).first(cut), got)) << cut;
  }
  const auto header = [](std::uint32_t width, std::uint32_t height, std::uint8_t alpha) {
    Bytes b;
    AppendLength(b, width);
    AppendLength(b, height);
    b.push_back(alpha);
    b.resize(b.size() + 64, 0);
    return b;
  };
  std::vector<LoadedPicture> got;
  EXPECT_FALSE(ReadPictures(header(0, 4, 0), got));
  EXPECT_FALSE(ReadPictures(header(kMaxPictureSide + 1, 1, 0), got));
  EXPECT_FALSE(ReadPictures(header(0xFFFFFFFF, 0xFFFFFFFF, 0), got));
  EXPECT_FALSE(ReadPictures(header(1, 1, 2), got));
  EXPECT_FALSE(ReadPictures(header(kMaxPictureSide, kMaxPictureSide, 1), got));
}

TEST(PictureTransfer, ADrawingsAnswerCarriesItsOwnSizeFirst) {
  Bytes bytes;
  AppendDrawingSize(8192, 300, bytes);
  AppendPicture(Picture(3, 2, true), bytes);
  int width = 0;
  int height = 0;
  std::vector<LoadedPicture> got;
  ASSERT_TRUE(ReadDrawingAnswer(bytes, width, height, got));
  EXPECT_EQ(width, 8192);
  EXPECT_EQ(height, 300);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Width(), 3);
  // A size cut short, empty or too large, or pictures that follow damaged, is no answer.
  EXPECT_FALSE(ReadDrawingAnswer(ByteView(bytes).first(7), width, height, got));
  EXPECT_FALSE(ReadDrawingAnswer(ByteView(bytes).first(12), width, height, got));
  for (const auto& [w, h] : {std::pair{0, 5}, std::pair{kMaxPictureSide + 1, 5}}) {
    Bytes bad;
    AppendDrawingSize(w, h, bad);
    EXPECT_FALSE(ReadDrawingAnswer(bad, width, height, got)) << w;
  }
}

}  // namespace
}  // namespace brixel
