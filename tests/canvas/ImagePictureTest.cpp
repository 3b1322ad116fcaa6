#include <gtest/gtest.h>

#include "IconImage.h"
#include "ImagePicture.h"

namespace brixel {
namespace {

// Colours as images hold them: red in the low byte.
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGreen = 0x00FF00;

TEST(ImagePicture, AlphaImageKeepsHalfShownPixelsPremultiplied) {
  IconImage image = MakeNewImage(4, 1, 32);
  image.Alpha = Grid(4, 1, 0);
  const int alphas[4] = {255, 128, 0, 1};
  const Colour colours[4] = {kRed, kBlue, kGreen, kGreen};
  for (int x = 0; x < 4; ++x) {
    image.Pixels.At(x, 0) = colours[x];
    image.Alpha.At(x, 0) = alphas[x];
  }
  const ImagePicture picture(image);
  ASSERT_EQ(picture.Colours().format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_TRUE(picture.HasAlpha());
  EXPECT_EQ(picture.Colours().pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(picture.Colours().pixel(1, 0), qPremultiply(qRgba(0, 0, 255, 128)));
  EXPECT_EQ(picture.Colours().pixel(2, 0), 0u);
  EXPECT_EQ(picture.Colours().pixel(3, 0), qPremultiply(qRgba(0, 255, 0, 1)));
  EXPECT_EQ(picture.Look(1, 0), PixelLook::Coloured);
  // With alpha of its own, a pixel nothing of shows is a hole, whatever its colour.
  EXPECT_EQ(picture.Look(2, 0), PixelLook::Transparent);
  EXPECT_FALSE(picture.HasInverting());
}

TEST(ImagePicture, MaskedImageShowsHolesAndInvertingPixels) {
  IconImage image = MakeNewImage(3, 1, 24);
  image.Pixels.At(0, 0) = kRed;
  image.Pixels.At(1, 0) = kBlack;
  image.Pixels.At(2, 0) = kBlue;
  image.Mask.At(0, 0) = MaskOpaque;  // the others are left as a new image has them: transparent
  const ImagePicture picture(image);
  ASSERT_EQ(picture.Colours().format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(picture.Colours().pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(picture.Look(0, 0), PixelLook::Coloured);
  EXPECT_EQ(picture.Look(1, 0), PixelLook::Transparent);
  EXPECT_EQ(picture.Look(2, 0), PixelLook::Inverting);
  EXPECT_EQ(picture.Colours().pixel(1, 0), 0u);
  EXPECT_EQ(picture.Colours().pixel(2, 0), 0u);
  EXPECT_TRUE(picture.HasInverting());
}

}  // namespace
}  // namespace brixel
