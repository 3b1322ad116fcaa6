// The pure image maths behind copying and importing: resampling, colour reduction, the
// device pixel conversions and the import pipeline, without any surface.
#include <gtest/gtest.h>

#include <set>

#include "BitmapPixels.h"
#include "ColourReduction.h"
#include "IcoFile.h"
#include "PictureImport.h"
#include "Resampling.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);

// Red follows x and green follows y in steps of `step`; blue marks interpolated pixels.
PixelArray Gradient(int width, int height, int step) {
  PixelArray pixels(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.At(x, y) = {7, static_cast<std::uint8_t>(step * y), static_cast<std::uint8_t>(step * x)};
    }
  }
  return pixels;
}

PixelArray Resample(const PixelArray& source, int targetSize, ScaledExtent scaled) {
  PixelArray target(targetSize, targetSize);
  ResampleBilinear(source, target, 0, 0, static_cast<float>(source.Width()),
                   static_cast<float>(source.Height()), 0, 0, static_cast<float>(scaled.Width),
                   static_cast<float>(scaled.Height));
  return target;
}

bool IsWhite(PixelBGR p) { return p == PixelBGR{255, 255, 255}; }

TEST(ResamplingTest, DividesByTheSourceSizeMinusOneAndRoundsHalvesToEven) {
  // 32 to 16: k = 16/31, so target 15 maps to 29.0625 and blends source 29 and 30:
  // 232 x 0.9375 + 240 x 0.0625 = 232.5, which rounds to the even 232.
  const PixelArray down = Resample(Gradient(32, 32, 8), 16, ScaledSize(32, 32, 16));
  EXPECT_EQ(down.At(15, 15), (PixelBGR{7, 232, 232}));
  EXPECT_EQ(down.At(0, 0), (PixelBGR{7, 0, 0}));
  // 16 to 48: k = 3.2, so the last target column maps to 14.6875:
  // 224 x 0.3125 + 240 x 0.6875 = 235; every target pixel is interpolated.
  const PixelArray up = Resample(Gradient(16, 16, 16), 48, ScaledSize(16, 16, 48));
  EXPECT_EQ(up.At(47, 0).Red, 235);
  for (const auto* pixels : {&down, &up}) {
    for (int y = 0; y < pixels->Height(); ++y) {
      for (int x = 0; x < pixels->Width(); ++x) ASSERT_EQ(pixels->At(x, y).Blue, 7) << x << "," << y;
    }
  }
}

TEST(ResamplingTest, LeavesAWhiteBandOutsideTheScaledRectangle) {
  EXPECT_EQ(ScaledSize(32, 16, 16).Height, 8);
  const PixelArray result = Resample(PixelArray(32, 16), 16, ScaledSize(32, 16, 16));
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 16; ++y) EXPECT_EQ(IsWhite(result.At(x, y)), y >= 8) << x << "," << y;
  }
}

TEST(ResamplingTest, ThinSourcesGiveAtLeastOnePixelAndNoDivisionByZero) {
  EXPECT_EQ(ScaledSize(64, 2, 16).Height, 1);  // 0.5 rounds to 0
  EXPECT_EQ(ScaledSize(400, 10, 16).Height, 1);
  EXPECT_EQ(ScaledSize(10, 400, 16).Width, 1);

  // One pixel: stretched over the whole scaled area.
  PixelArray dot(1, 1, PixelFromColour(kRed));
  const PixelArray filled = Resample(dot, 16, ScaledSize(1, 1, 16));
  for (int x = 0; x < 16; ++x) EXPECT_EQ(filled.At(x, 9), PixelFromColour(kRed));

  // One column: that column stretched over the scaled width, blended down the rows.
  const PixelArray column = Resample(Gradient(1, 40, 6), 16, ScaledSize(1, 40, 16));
  EXPECT_EQ(column.At(0, 0), (PixelBGR{7, 0, 0}));
  EXPECT_EQ(column.At(0, 15).Blue, 7);
  EXPECT_TRUE(IsWhite(column.At(1, 15)));
}

TEST(ColourReductionTest, FixedTablesBoundTheColoursOfAPicture) {
  EXPECT_EQ(ReductionTable(4),
            (std::vector<Colour>{0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                 0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF}));
  const auto& halftone = ReductionTable(8);
  EXPECT_EQ(std::set<Colour>(halftone.begin(), halftone.end()).size(), 256u);

  Bitmap picture(64, 64, 0);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) picture.At(x, y) = MakeColour(4 * x, 4 * y, (x * y) % 256);
  }
  for (const auto& [depth, most] : {std::pair{1, 2u}, {4, 16u}, {8, 256u}}) {
    Bitmap reduced = picture;
    ReduceColours(reduced, depth);
    const std::set<Colour> colours(reduced.Pixels.begin(), reduced.Pixels.end());
    EXPECT_LE(colours.size(), most) << depth;
    EXPECT_GT(colours.size(), most / 2) << depth;
    for (const Colour c : colours) {
      EXPECT_NE(std::find(ReductionTable(depth).begin(), ReductionTable(depth).end(), c),
                ReductionTable(depth).end());
    }
  }
  Bitmap nearlyRed(1, 1, MakeColour(200, 30, 20));
  ReduceColours(nearlyRed, 4);
  EXPECT_EQ(nearlyRed.At(0, 0), kRed);
  for (const int depth : {2, 24, 32}) {
    Bitmap unchanged = picture;
    ReduceColours(unchanged, depth);
    EXPECT_EQ(unchanged, picture) << depth;
  }
}

TEST(BitmapPixelsTest, SixteenBitLayoutsKeepTheirRangesAndClampOnWriting) {
  // 5-5-5: the top bit carries no colour, so black with it set stays black.
  const Bytes rows555 = {0x00, 0x80, 0xFF, 0x7F, 0x1F, 0x00};
  const PixelArray read555 = DecodePixelRows(rows555, 3, 1, 6, 15);
  EXPECT_EQ(read555.At(0, 0), (PixelBGR{0, 0, 0}));
  EXPECT_EQ(read555.At(1, 0), (PixelBGR{31, 31, 31}));
  EXPECT_EQ(read555.At(2, 0), (PixelBGR{31, 0, 0}));
  // 5-6-5: green runs to 63.
  const PixelArray read565 = DecodePixelRows(Bytes{0xE0, 0x07}, 1, 1, 2, 16);
  EXPECT_EQ(read565.At(0, 0), (PixelBGR{0, 63, 0}));

  PixelArray written(1, 1, PixelBGR{40, 200, 31});
  EXPECT_EQ(EncodePixelRows(written, 16), (Bytes{0xFF, 0xFF}));
  EXPECT_EQ(written.At(0, 0), (PixelBGR{31, 63, 31}));  // clamped in place
  PixelArray again(1, 1, PixelBGR{1, 2, 3});
  EXPECT_EQ(DecodePixelRows(EncodePixelRows(again, 15), 1, 1, 2, 15).At(0, 0), (PixelBGR{1, 2, 3}));
}

TEST(BitmapPixelsTest, RowsArePaddedToEvenBytesAndOtherDepthsAreRefused) {
  EXPECT_EQ(PixelRowBytes(3, 8), 4u);
  EXPECT_EQ(PixelRowBytes(1, 24), 4u);
  PixelArray odd(3, 2, PixelBGR{0, 0, 255});
  const std::vector<Colour> palette = {kBlack, kRed, kWhite};
  const Bytes raw = EncodePixelRows(odd, 8, palette);
  EXPECT_EQ(raw, (Bytes{1, 1, 1, 0, 1, 1, 1, 0}));
  EXPECT_EQ(DecodePixelRows(raw, 3, 2, 4, 8, palette).At(2, 1), odd.At(2, 1));
  PixelArray wide(2, 1, PixelBGR{1, 2, 3});
  EXPECT_EQ(EncodePixelRows(wide, 32), (Bytes{1, 2, 3, 0, 1, 2, 3, 0}));

  for (const bool reading : {true, false}) {
    try {
      PixelArray pixels(2, 2);
      if (reading) DecodePixelRows(Bytes(8), 2, 2, 4, 4);
      else EncodePixelRows(pixels, 4);
      ADD_FAILURE() << "4 bits per pixel accepted";
    } catch (const BitmapPixelError& e) {
      EXPECT_EQ(e.Number(), static_cast<int>(0x800403E9u));
      EXPECT_EQ(e.Description(), "Invalid number of bits per pixel: 4");
      EXPECT_EQ(e.Source(), "DDBHelper.GetBitmapPixels");
    }
  }
}

LoadedPicture Picture(int width, int height, Colour colour) {
  LoadedPicture picture;
  picture.Colours = Bitmap(width, height, colour);
  return picture;
}

TEST(PictureImportTest, AWidePictureImportsWithAnOpaqueWhiteBand) {
  const ImportPreview preview = MakeImportPreview(Picture(100, 50, kRed), {32, 24, false});
  cIco document;
  document.AddImage(16, 16, 8, 0);
  ASSERT_EQ(AppendImportedImage(document, preview, 24), 1);
  const IconImage& image = document.Image(1);
  ASSERT_EQ(image.Width, 32);
  ASSERT_EQ(image.Height(), 32);
  for (int y = 0; y < 32; ++y) {
    EXPECT_EQ(image.Pixels.At(5, y), y < 16 ? kRed : kWhite) << y;
    EXPECT_EQ(image.Mask.At(5, y), MaskOpaque) << y;
  }
  EXPECT_EQ(image.Palette[0], kRed);
  EXPECT_EQ(image.Palette[1], kWhite);
}

TEST(PictureImportTest, TransparencyBelowHalfAlphaBecomesTransparentWithBlackInThePalette) {
  // Left half transparent, right half opaque; the band of a resized picture is transparent.
  LoadedPicture picture = Picture(4, 2, MakeColour(200, 255, 200));
  picture.Alpha = {0, 127, 128, 255, 0, 127, 128, 255};
  const ImportPreview clipped = MakeImportPreview(picture, {4, 1, true});
  cIco document;
  document.AddImage(4, 4, 1, 0);
  const std::int16_t index = AppendImportedImage(document, clipped, 1);
  const IconImage& image = document.Image(index);
  EXPECT_EQ(image.Mask.At(1, 0), MaskTransparent);
  EXPECT_EQ(image.Mask.At(2, 0), MaskOpaque);
  EXPECT_EQ(image.Mask.At(2, 3), MaskTransparent);  // beyond the picture
  // Pale green reduces to white; the transparent pixels' black gets the last entry.
  EXPECT_EQ(image.Pixels.At(3, 1), kWhite);
  EXPECT_EQ(image.Palette, (std::vector<Colour>{kWhite, kBlack}));
  // The image now saves: its transparent pixels have a black entry to be written with.
  EXPECT_FALSE(BuildIconFile(document.Images(), 1).empty());

  const ImportPreview resized = MakeImportPreview(picture, {8, 24, false});
  EXPECT_EQ(resized.Mask.At(7, 1), kWhite);   // right edge: opaque
  EXPECT_EQ(resized.Mask.At(0, 1), kBlack);
  EXPECT_EQ(resized.Mask.At(7, 7), kBlack);   // the band
  EXPECT_EQ(resized.Picture.At(7, 1), MakeColour(200, 255, 200));
}

TEST(PictureImportTest, PalettesFollowTheFirstSeenColumnOrderAndTheirSize) {
  Bitmap picture(2, 2, kBlack);
  picture.At(0, 1) = kRed;
  picture.At(1, 0) = kWhite;
  EXPECT_EQ(DistinctColoursByColumn(picture), (std::vector<Colour>{kBlack, kRed, kWhite}));
  Bitmap mask(2, 2, kWhite);
  mask.At(0, 0) = kBlack;
  EXPECT_EQ(DistinctColoursByColumn(picture, &mask), (std::vector<Colour>{kRed, kWhite, kBlack}));

  // A true-colour preview of more than 256 colours fills the palette with the first 256.
  LoadedPicture many = Picture(64, 64, 0);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) many.Colours.At(x, y) = MakeColour(x, y, 1);
  }
  cIco document;
  document.AddImage(1, 1, 8, 0);
  const std::int16_t index = AppendImportedImage(document, MakeImportPreview(many, {64, 24, true}), 24);
  EXPECT_EQ(document.Image(index).Palette[255], MakeColour(3, 63, 1));
}

TEST(PictureImportTest, IconsImportTheirFirstImageWithTheMaskAsAlpha) {
  IconImage image = MakeNewImage(3, 2, 24);
  for (int x = 0; x < 3; ++x) {
    image.Pixels.At(x, 0) = kRed;
    image.Mask.At(x, 0) = MaskOpaque;
  }
  const Bytes file = BuildIconFile({image, MakeNewImage(8, 8, 4)}, 1);
  ASSERT_TRUE(IsIconFileData(file));
  const LoadedPicture picture = PictureFromIconFile(file);
  ASSERT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Colours.At(2, 0), kRed);
  EXPECT_EQ(picture.AlphaAt(2, 0), 255);
  EXPECT_EQ(picture.AlphaAt(2, 1), 0);

  EXPECT_FALSE(IsIconFileData(Bytes{'B', 'M', 0, 0, 0, 0}));
  EXPECT_FALSE(IsIconFileData(Bytes{0, 0, 1, 0, 0, 0}));  // no images
}

TEST(PictureImportTest, ReadingRefusesHugeAndUnreadablePictures) {
  test::TempDir dir;
  const auto path = (dir / "picture.bin").string();
  test::WriteBytes(path, Bytes{1, 2, 3});
  const auto expectRefused = [&](const PictureDecoder& decode, const std::string& text) {
    try {
      ReadPicture(path, decode);
      ADD_FAILURE() << "read " << text;
    } catch (const BackEndError& e) {
      EXPECT_EQ(e.Number(), 481);
      EXPECT_NE(e.Description().find(text), std::string::npos) << e.Description();
    }
  };
  expectRefused([](const Bytes&, const std::string&, LoadedPicture&, std::string& message) {
    message = "not a picture";
    return false;
  }, "not a picture");
  expectRefused([](const Bytes&, const std::string&, LoadedPicture& picture, std::string&) {
    picture = Picture(8193, 1, kRed);
    return true;
  }, "8193 x 1 pixels is larger than 8192 on a side");
  const LoadedPicture read = ReadPicture(path, [](const Bytes& data, const std::string&, LoadedPicture& picture, std::string&) {
    picture = Picture(static_cast<int>(data.size()), 1, kRed);
    return true;
  });
  EXPECT_EQ(read.Width(), 3);
}

}  // namespace
}  // namespace brixel
