// The import pipeline's later choices: 32 bits with alpha, pictures fitted with their
// proportions, area averaging, dithering, copies of images and the images of a set.
#include <gtest/gtest.h>

#include <set>

#include "AlphaChannel.h"
#include "IconSet.h"
#include "PictureImport.h"
#include "RgbaPicture.h"
#include "cIco.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);

LoadedPicture Picture(int width, int height, Colour colour, int alpha = -1) {
  LoadedPicture picture;
  picture.Colours = Bitmap(width, height, colour);
  if (alpha >= 0) picture.Alpha.assign(picture.Colours.Pixels.size(), static_cast<std::uint8_t>(alpha));
  return picture;
}

// Restores "Keep alpha channel" after a test changed it.
struct KeepAlphaAsItWas {
  bool was = KeepAlpha();
  ~KeepAlphaAsItWas() { KeepAlpha(was); }
};

TEST(ImportOptionsTest, ThirtyTwoBitsKeepHalfTransparentPixelsExactly) {
  KeepAlphaAsItWas restore;
  KeepAlpha(true);
  LoadedPicture picture = Picture(16, 16, MakeColour(10, 200, 30), 128);
  picture.Alpha[0] = 50;  // under the mask's threshold, yet kept with its colour
  for (const bool clip : {true, false}) {
    ImportOptions options;
    options.Size = clip ? 16 : 8;
    options.BitDepth = 32;
    options.Clip = clip;
    const ImportPreview preview = MakeImportPreview(picture, options);
    cIco document;
    const IconImage& image = document.Image(AppendImportedImage(document, preview, 32));
    ASSERT_TRUE(image.CarriesAlpha());
    EXPECT_FALSE(image.StoredAsPng);
    // Away from the corner, the uniform half-transparent area stays exactly half.
    EXPECT_EQ(image.Alpha.At(5, 5), 128) << clip;
    EXPECT_EQ(image.Pixels.At(5, 5), MakeColour(10, 200, 30)) << clip;
    EXPECT_EQ(image.Mask.At(5, 5), MaskOpaque) << clip;
    if (clip) {
      EXPECT_EQ(image.Alpha.At(0, 0), 50);
      EXPECT_EQ(image.Pixels.At(0, 0), MakeColour(10, 200, 30));
      EXPECT_EQ(image.Mask.At(0, 0), MaskTransparent);
    }
  }
  // Without the option the alpha becomes the mask only, as a picture imported at 24 bits.
  KeepAlpha(false);
  cIco document;
  ImportOptions options;
  options.Size = 16;
  options.BitDepth = 32;
  options.Clip = true;
  const IconImage& image = document.Image(AppendImportedImage(document, MakeImportPreview(picture, options), 32));
  EXPECT_FALSE(image.CarriesAlpha());
  EXPECT_EQ(image.Mask.At(0, 0), MaskTransparent);
  EXPECT_EQ(image.Pixels.At(0, 0), kBlack);
}

TEST(ImportOptionsTest, The256ImageIsStoredAsPngAndLowerDepthsHaveNoAlpha) {
  KeepAlphaAsItWas restore;
  KeepAlpha(true);
  const LoadedPicture picture = Picture(300, 300, kRed, 200);
  ImportOptions options;
  options.Size = 256;
  options.BitDepth = 32;
  cIco document;
  const IconImage& big = document.Image(AppendImportedImage(document, MakeImportPreview(picture, options), 32));
  EXPECT_TRUE(big.StoredAsPng);
  EXPECT_EQ(big.Alpha.At(100, 100), 200);
  options.BitDepth = 8;
  const ImportPreview paletted = MakeImportPreview(picture, options);
  EXPECT_TRUE(paletted.Alpha.empty());
  const IconImage& small = document.Image(AppendImportedImage(document, paletted, 8));
  EXPECT_FALSE(small.CarriesAlpha());
  EXPECT_FALSE(small.StoredAsPng);
}

TEST(ImportOptionsTest, KeepingProportionsCentresThePictureOnATransparentSquare) {
  // 100 x 80 fits 32 x 26 (25.6 rounded), three rows above and below.
  ImportOptions options;
  options.Size = 32;
  options.KeepProportions = true;
  for (const bool smooth : {false, true}) {
    options.Smooth = smooth;
    const ImportPreview preview = MakeImportPreview(Picture(100, 80, kRed), options);
    for (int y = 0; y < 32; ++y) {
      const bool inside = y >= 3 && y < 29;
      EXPECT_EQ(preview.Mask.At(16, y), inside ? kWhite : kBlack) << smooth << " " << y;
      EXPECT_EQ(preview.Picture.At(16, y), inside ? kRed : kWhite) << smooth << " " << y;
    }
  }
  // A circle drawn in a 100 x 80 picture stays a circle: as wide as it is high.
  LoadedPicture circle = Picture(100, 80, kRed, 0);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      if ((x - 50) * (x - 50) + (y - 40) * (y - 40) <= 35 * 35) circle.Alpha[static_cast<std::size_t>(y * 100 + x)] = 255;
    }
  }
  options.Size = 64;
  options.Smooth = false;
  const ImportPreview round = MakeImportPreview(circle, options);
  int left = 64, right = -1, top = 64, bottom = -1;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (round.Mask.At(x, y) != kWhite) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_NEAR(right - left, bottom - top, 1);
  EXPECT_NEAR((left + right) / 2.0, 31.5, 1.0);
  EXPECT_NEAR((top + bottom) / 2.0, 31.5, 1.0);
}

TEST(ImportOptionsTest, SmoothShrinkingAveragesWhatBilinearSamplingSkips) {
  // One-pixel black and white stripes shrunk four times: area averaging gives an even grey,
  // bilinear sampling picks up stripes.
  LoadedPicture stripes = Picture(64, 64, kWhite);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; x += 2) stripes.Colours.At(x, y) = kBlack;
  }
  ImportOptions options;
  options.Size = 16;
  options.Smooth = true;
  const ImportPreview smooth = MakeImportPreview(stripes, options);
  options.Smooth = false;
  const ImportPreview bilinear = MakeImportPreview(stripes, options);
  int uneven = 0;
  for (int x = 0; x < 16; ++x) {
    EXPECT_NEAR(RedOf(smooth.Picture.At(x, 8)), 128, 1) << x;
    if (std::abs(RedOf(bilinear.Picture.At(x, 8)) - 128) > 16) ++uneven;
  }
  EXPECT_GT(uneven, 4);
}

TEST(ImportOptionsTest, DitheringChangesAGradientAndTheDefaultKeepsThePartsPixels) {
  LoadedPicture ramp = Picture(64, 64, kBlack);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) ramp.Colours.At(x, y) = MakeColour(x * 4, x * 4, 255 - x * 4);
  }
  ImportOptions options;
  options.Size = 32;
  options.BitDepth = 24;
  Bitmap expected = MakeImportPreview(ramp, options).Picture;
  ReduceColours(expected, 4);
  options.BitDepth = 4;
  EXPECT_EQ(MakeImportPreview(ramp, options).Picture, expected);
  options.Reduction.Dither = true;
  const Bitmap dithered = MakeImportPreview(ramp, options).Picture;
  EXPECT_NE(dithered, expected);
  const std::set<Colour> used(dithered.Pixels.begin(), dithered.Pixels.end());
  EXPECT_LE(used.size(), 16u);
}

TEST(CopyPreviewTest, ACopyAtItsOwnSizeKeepsEveryPixelAndAlpha) {
  KeepAlphaAsItWas restore;
  KeepAlpha(true);
  IconImage image = MakeNewImage(24, 24, 32);
  AddAlphaFromMask(image);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      image.Alpha.At(x, y) = (x * 11 + y) % 256;
      image.Pixels.At(x, y) = image.Alpha.At(x, y) == 0 ? kBlack : MakeColour(x * 10, y * 10, 7);
      image.Mask.At(x, y) = image.Alpha.At(x, y) >= kOpaqueAlpha ? MaskOpaque : MaskTransparent;
    }
  }
  ImportOptions options;
  options.Size = 24;
  options.BitDepth = 32;
  cIco document;
  const IconImage& copy = document.Image(AppendImportedImage(document, MakeCopyPreview(image, options), 32));
  EXPECT_EQ(copy.Alpha, image.Alpha);
  EXPECT_EQ(copy.Pixels, image.Pixels);
  EXPECT_EQ(copy.Mask, image.Mask);
}

TEST(CopyPreviewTest, HotSpotsScaleAndStayInside) {
  EXPECT_EQ(ScaledHotSpot(10, 32, 16), 5);
  EXPECT_EQ(ScaledHotSpot(31, 32, 256), 248);
  EXPECT_EQ(ScaledHotSpot(255, 256, 16), 15);
  EXPECT_EQ(ScaledHotSpot(300, 32, 16), 15);  // beyond the source: clamped into the copy
  EXPECT_EQ(ScaledHotSpot(5, 0, 16), 0);
}

TEST(IconSetImagesTest, EachDepthIsMadeFromTheSquareWithItsTransparency) {
  KeepAlphaAsItWas restore;
  KeepAlpha(true);
  RgbaPicture square(48, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      std::uint8_t* p = square.At(x, y);
      p[0] = static_cast<std::uint8_t>(x * 5);
      p[1] = 90;
      p[2] = static_cast<std::uint8_t>(y * 5);
      p[3] = static_cast<std::uint8_t>(x < 24 ? 255 : x < 36 ? 100 : 0);
    }
  }
  const IconImage full = IconSetImageAtDepth(square, 32, {});
  EXPECT_EQ(full.BitDepth, 32);
  EXPECT_EQ(full.Alpha.At(30, 3), 100);
  EXPECT_EQ(full.Pixels.At(30, 3), MakeColour(150, 90, 15));
  for (const int depth : {8, 4, 1}) {
    const IconImage reduced = IconSetImageAtDepth(square, depth, {.Dither = true});
    EXPECT_EQ(reduced.BitDepth, depth);
    EXPECT_FALSE(reduced.CarriesAlpha());
    EXPECT_EQ(reduced.Mask.At(10, 10), MaskOpaque) << depth;
    EXPECT_EQ(reduced.Mask.At(30, 10), MaskTransparent) << depth;
    EXPECT_EQ(reduced.Pixels.At(40, 10), kBlack) << depth;
  }
}

}  // namespace
}  // namespace brixel
