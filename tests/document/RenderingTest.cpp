#include <gtest/gtest.h>

#include "Palette.h"
#include "QtPictureSurface.h"
#include "Rendering.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

using Kind = PictureSurface::LineKind;

constexpr Colour kBackground = 0xC0C0C0;
constexpr Colour kBlue = 16711680;
constexpr Colour kRed = 255;

class RenderingTest : public ::testing::Test {
 protected:
  void AddImage(int width, int height, int depth) {
    document_.AddImage(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height),
                       static_cast<std::int16_t>(depth), -1);
  }
  void SetPixel(int x, int y, Colour colour, std::int32_t mask) {
    document_.XYColor(0, static_cast<float>(x), static_cast<float>(y), colour);
    document_.XYMask(0, static_cast<float>(x), static_cast<float>(y), mask);
  }
  static QtPictureSurface Surface(int width, int height) {
    QtPictureSurface surface(width, height);
    surface.BackColor(kBackground);
    surface.Cls();
    return surface;
  }

  test::BackEndFixture backEnd_;
  cIco document_;
};

TEST_F(RenderingTest, NewImageShowsOnlyTheBackgroundAndAnAllBlackMask) {
  AddImage(16, 16, 4);
  QtPictureSurface picture = Surface(16, 16);
  QtPictureSurface mask = Surface(16, 16);
  picture.PSet(3, 3, 0x123456);  // cleared first
  document_.DrawIcon(0, picture, &mask);
  EXPECT_EQ(picture.Image(), Surface(16, 16).Image());
  EXPECT_EQ(mask.Image(), Bitmap(16, 16, 0));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(RenderingTest, DrawAndReadBackKeepsTheMaskAndBlacksOutPixelsThatAreNotOpaque) {
  AddImage(8, 4, 24);
  SetPixel(0, 0, 0x123456, MaskOpaque);
  SetPixel(1, 0, 0xFFFFFF, MaskOpaque);
  SetPixel(2, 0, -1, MaskTransparent);  // inverting
  SetPixel(3, 0, 255, MaskComplement);
  SetPixel(4, 1, 0xABCDEF, MaskTransparent);
  SetPixel(7, 3, 0x000001, MaskOpaque);
  const IconImage before = document_.Image(0);

  QtPictureSurface picture = Surface(8, 4);
  QtPictureSurface mask = Surface(8, 4);
  document_.DrawIcon(0, picture, &mask);
  EXPECT_EQ(picture.Point(0, 0), 0x123456);
  EXPECT_EQ(picture.Point(3, 0), kBackground);
  EXPECT_EQ(mask.Point(0, 0), 16777215);
  EXPECT_EQ(mask.Point(2, 0), 0);
  EXPECT_EQ(mask.Point(3, 0), 16777214);

  document_.SaveIconFromPic(0, picture, &mask);
  const IconImage& after = document_.Image(0);
  EXPECT_EQ(after.Mask, before.Mask);
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 4; ++y) {
      const bool opaque = before.Mask.At(x, y) == MaskOpaque;
      EXPECT_EQ(after.Pixels.At(x, y), opaque ? before.Pixels.At(x, y) : 0) << x << "," << y;
    }
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(RenderingTest, KeptAlphaIsBlendedOverTheBackgroundAndSurvivesAReadBack) {
  AddImage(4, 1, 32);
  IconImage& image = document_.Image(0);
  AddAlphaFromMask(image);
  const Colour red = 0x0000FF;
  const int alphas[4] = {255, 128, 0, 200};
  for (int x = 0; x < 4; ++x) {
    image.Pixels.At(x, 0) = x == 2 ? kBlack : red;
    image.Mask.At(x, 0) = x == 2 ? MaskTransparent : MaskOpaque;
    image.Alpha.At(x, 0) = alphas[x];
  }
  const IconImage before = image;
  QtPictureSurface picture = Surface(4, 1);
  QtPictureSurface mask = Surface(4, 1);
  document_.DrawIcon(0, picture, &mask);
  EXPECT_EQ(picture.Point(0, 0), red);
  EXPECT_EQ(picture.Point(1, 0), MakeColour(224, 96, 96));  // half of 255 and 192
  EXPECT_EQ(picture.Point(2, 0), kBackground);
  // Read back unchanged: each pixel shows what was drawn. A pixel painted over is opaque.
  document_.SaveIconFromPic(0, picture, &mask);
  EXPECT_EQ(document_.Image(0), before);
  picture.PSet(1, 0, 0x00FF00);
  document_.SaveIconFromPic(0, picture, &mask);
  EXPECT_EQ(document_.Image(0).Alpha.At(1, 0), 255);
  EXPECT_EQ(document_.XYColor(0, 1, 0), 0x00FF00);
  EXPECT_EQ(document_.Image(0).Alpha.At(3, 0), 200);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(RenderingTest, ReadingBackTakesTheMaskFirstAndThenTheColoursOfOpaquePixels) {
  AddImage(4, 4, 24);
  QtPictureSurface picture = Surface(4, 4);
  QtPictureSurface mask = Surface(4, 4);
  picture.Line(0, 0, 3, 3, 0x2468AC, Kind::FilledBox);
  mask.Line(0, 0, 3, 3, 16777215, Kind::FilledBox);  // white: opaque
  mask.PSet(1, 2, 0);                                 // black: transparent
  mask.PSet(2, 2, 0x808080);                          // anything else: not opaque
  document_.SaveIconFromPic(0, picture, &mask);
  EXPECT_EQ(document_.XYMask(0, 0, 0), MaskOpaque);
  EXPECT_EQ(document_.XYColor(0, 0, 0), 0x2468AC);
  EXPECT_EQ(document_.XYMask(0, 1, 2), MaskTransparent);
  EXPECT_NE(document_.XYMask(0, 2, 2), MaskOpaque);
  EXPECT_EQ(document_.XYColor(0, 2, 2), 0);

  // Without a mask surface the image's own mask decides.
  picture.Line(0, 0, 3, 3, 0x13579B, Kind::FilledBox);
  document_.SaveIconFromPic(0, picture);
  EXPECT_EQ(document_.XYColor(0, 0, 0), 0x13579B);
  EXPECT_EQ(document_.XYColor(0, 1, 2), 0);
}

TEST_F(RenderingTest, EnlargedViewOfA32By32ImageCovers321By321Units) {
  AddImage(32, 32, 24);
  for (int x = 0; x < 32; ++x) {
    for (int y = 0; y < 32; ++y) SetPixel(x, y, 0x0080FF, MaskOpaque);
  }
  QtPictureSurface picture = Surface(330, 330);
  document_.DrawMainIcon(0, picture);
  EXPECT_EQ(picture.Point(320, 320), 0x0080FF);
  EXPECT_EQ(picture.Point(321, 320), kBackground);
  int covered = 0;
  for (int x = 0; x < 330; ++x) {
    for (int y = 0; y < 330; ++y) covered += picture.Point(x, y) == 0x0080FF;
  }
  EXPECT_EQ(covered, 321 * 321);
}

TEST_F(RenderingTest, EnlargedViewMarksTransparentPixelsBlueAndOtherNotOpaquePixelsRed) {
  AddImage(32, 32, 24);  // all transparent
  SetPixel(1, 0, -1, MaskTransparent);
  SetPixel(2, 0, 255, MaskTransparent);
  SetPixel(3, 0, 0x00FF00, MaskOpaque);
  QtPictureSurface picture = Surface(330, 330);
  document_.DrawMainIcon(0, picture);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(picture.Point(k, k), kBlue);              // falling diagonal of cell (0, 0)
    EXPECT_EQ(picture.Point(200 + k, 300 + k), kBlue);  // cell (20, 30)
  }
  // Rising diagonals; their first point is the corner the cell below draws over.
  for (int k = 1; k < 10; ++k) {
    EXPECT_EQ(picture.Point(10 + k, 10 - k), kRed) << k;  // inverting pixel
    EXPECT_EQ(picture.Point(20 + k, 10 - k), kRed) << k;  // red pixel that is not opaque
  }
  EXPECT_EQ(picture.Point(9, 0), kBackground);  // the rest of a marked cell
  EXPECT_EQ(picture.Point(12, 1), kBackground);
  EXPECT_EQ(picture.Point(35, 5), 0x00FF00);
}

TEST_F(RenderingTest, PaletteCellsAreRoundedHalfToEven) {
  AddImage(16, 16, 4);
  const std::vector<Colour>& palette = document_.Image(0).Palette;
  // 100 / 8 = 12.5 gives cells 12 wide; 50 / 2 = 25 high.
  QtPictureSurface picture = Surface(100, 50);
  document_.ShowPalette(0, picture);
  EXPECT_EQ(picture.Point(0, 0), palette[0]);
  EXPECT_EQ(picture.Point(11, 24), palette[0]);
  EXPECT_EQ(picture.Point(12, 0), palette[1]);
  EXPECT_EQ(picture.Point(96, 24), palette[7]);
  EXPECT_EQ(picture.Point(97, 0), kBackground);  // the grid falls short on the right
  EXPECT_EQ(picture.Point(0, 25), palette[8]);
  EXPECT_EQ(picture.Point(96, 49), palette[15]);

  // Two cells across 5 units: 2.5 rounds down to 2; across 7: 3.5 rounds up to 4.
  std::vector<Colour> twoColours{0x111111, 0x222222};
  QtPictureSurface five = Surface(5, 1);
  DrawPalette(five, 1, twoColours);
  EXPECT_EQ(five.Point(1, 0), 0x111111);
  EXPECT_EQ(five.Point(2, 0), 0x222222);
  EXPECT_EQ(five.Point(4, 0), 0x222222);
  QtPictureSurface seven = Surface(7, 1);
  DrawPalette(seven, 1, twoColours);
  EXPECT_EQ(seven.Point(3, 0), 0x111111);
  EXPECT_EQ(seven.Point(4, 0), 0x222222);
}

TEST_F(RenderingTest, TrueColourImagesShowTheDefaultPaletteAndOtherDepthsNone) {
  AddImage(16, 16, 24);
  QtPictureSurface picture = Surface(160, 160);
  document_.ShowPalette(0, picture);
  for (int k = 0; k < 256; ++k) {
    ASSERT_EQ(picture.Point(10 * (k % 16) + 5, 10 * (k / 16) + 5), DefaultPalette()[k]) << k;
  }
  QtPictureSurface two = Surface(10, 10);
  DrawPalette(two, 2, std::vector<Colour>(4, 0x123456));
  EXPECT_EQ(two.Point(5, 5), kBackground);
}

TEST_F(RenderingTest, FailuresAreReportedUnderTheProcedureLabelAndChangeNothing) {
  AddImage(16, 16, 24);
  SetPixel(5, 5, 0x123456, MaskOpaque);
  const IconImage before = document_.Image(0);
  QtPictureSurface picture = Surface(16, 16);
  QtPictureSurface small = Surface(16, 15);
  document_.DrawIcon(3, picture);
  document_.ShowPalette(-1, picture);
  document_.DrawMainIcon(1, picture);
  document_.SaveIconFromPic(0, small);
  document_.SaveIconFromPic(0, picture, &small);
  EXPECT_EQ(document_.Image(0), before);
  const auto& reports = backEnd_.reporter.reports;
  ASSERT_EQ(reports.size(), 5u);
  EXPECT_NE(reports[0].find("Error Number: 9\r\nSubscript out of range"), std::string::npos);
  EXPECT_TRUE(reports[0].ends_with("PrjBackEnd.mDrawIcon.DrawIconEx"));
  EXPECT_TRUE(reports[1].ends_with("PrjBackEnd.cCommonFunct.DrawPalette"));
  EXPECT_TRUE(reports[2].ends_with("PrjBackEnd.mDrawIcon.DrawZoomedIcon"));
  EXPECT_TRUE(reports[3].ends_with("PrjBackEnd.mDrawIcon.SaveIconFromPictureEx"));
}

}  // namespace
}  // namespace brixel
