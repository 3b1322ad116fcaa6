// Icon sets: a picture fitted into each square, the images made of it, and the file written.

#include <gtest/gtest.h>

#include "ByteOrder.h"
#include "IcoFile.h"
#include "IconSet.h"
#include "TestSupport.h"

namespace brixel {
namespace {

void Fill(RgbaPicture& picture, int x0, int y0, int x1, int y1, std::array<std::uint8_t, 4> rgba) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) std::copy(rgba.begin(), rgba.end(), picture.At(x, y));
  }
}

TEST(IconSetTest, AWidePictureIsCentredInItsSquareAndAPointGoesWithIt) {
  RgbaPicture wide(100, 50);
  Fill(wide, 0, 0, 100, 50, {10, 200, 30, 255});
  const RgbaPicture square = SquareFromPicture(wide, 16);
  ASSERT_EQ(square.Width, 16);
  ASSERT_EQ(square.Height, 16);
  EXPECT_EQ(square.At(0, 3)[3], 0);  // above the picture
  EXPECT_EQ(square.At(0, 4)[3], 255);
  EXPECT_EQ(square.At(15, 11)[1], 200);
  EXPECT_EQ(square.At(15, 12)[3], 0);  // below it

  const SquarePoint centre = PointInSquare(50, 25, 100, 50, 16);
  EXPECT_EQ(centre.X, 8);
  EXPECT_EQ(centre.Y, 8);
  const SquarePoint corner = PointInSquare(99, 49, 100, 50, 256);
  EXPECT_EQ(corner.X, 254);  // the centre of the last of 100 columns, 254.72 of 256
  EXPECT_EQ(corner.Y, 190);
  EXPECT_EQ(PointInSquare(0, 0, 100, 50, 256).Y, 65);
}

TEST(IconSetTest, ImagesKeepAlphaWithMasksFromItAndThe256OneIsStoredAsPng) {
  RgbaPicture picture(256, 256);
  Fill(picture, 0, 0, 128, 256, {200, 100, 50, 255});
  Fill(picture, 128, 0, 192, 256, {20, 40, 60, 127});
  Fill(picture, 192, 0, 256, 256, {20, 40, 60, 128});
  const RgbaPicture small = SquareFromPicture(picture, 16);

  const IconImage large = IconSetImage(picture);
  const IconImage little = IconSetImage(small);
  EXPECT_TRUE(large.StoredAsPng);
  EXPECT_FALSE(little.StoredAsPng);
  EXPECT_EQ(little.BitDepth, 32);
  EXPECT_EQ(little.Alpha.At(9, 5), 127);
  EXPECT_EQ(little.Mask.At(9, 5), MaskTransparent);
  EXPECT_EQ(little.Pixels.At(9, 5), MakeColour(20, 40, 60));
  EXPECT_EQ(little.Mask.At(12, 5), MaskOpaque);
  EXPECT_EQ(little.Pixels.At(2, 2), MakeColour(200, 100, 50));

  // Both written and read back as they were: the PNG block and the bitmap with its AND rows.
  for (const int type : {1, 2}) {
    const Bytes file = BuildIconSetFile({little, large}, type);
    std::vector<IconImage> read;
    test::BackEndFixture quiet;
    ASSERT_TRUE(ReadIconImages(file, read));
    ASSERT_EQ(read.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      IconImage expected = i == 0 ? little : large;
      // An icon's reader takes the planes and bit count for a hot spot.
      if (type == 1) {
        expected.xHotSpot = 1;
        expected.yHotSpot = 32;
      }
      EXPECT_EQ(read[i], expected) << i;
    }
    const std::uint32_t offset = GetLength(file, kFileHeaderSize + kDirectoryEntrySize + 12);
    EXPECT_EQ(file[offset + 1], 'P');
    // An icon's entries give 1 plane and 32 bits; a cursor's hold its hot spot there.
    EXPECT_EQ(file[kFileHeaderSize + 4], type == 1 ? 1 : 0);
    EXPECT_EQ(file[kFileHeaderSize + 6], type == 1 ? 32 : 0);
  }
}

}  // namespace
}  // namespace brixel
