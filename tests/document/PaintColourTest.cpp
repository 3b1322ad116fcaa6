// Painting with opacity: the source-over blend, pixels set and blended, fills that compare
// colour and opacity, the hex notation, and half-transparent pixels kept exactly by a save.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "AlphaChannel.h"
#include "FloodFill.h"
#include "PaintColour.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

// Source-over in real numbers, the reference the integer blend must meet to within rounding.
struct Exact {
  double red, green, blue, alpha;  // alpha 0 .. 1
};
Exact Over(PaintColour top, PaintColour under) {
  const double a = top.opacity / 255.0;
  const double b = under.opacity / 255.0;
  const double out = a + b * (1 - a);
  const auto part = [&](int t, int u) { return out == 0 ? 0 : (t * a + u * b * (1 - a)) / out; };
  return {part(RedOf(top.colour), RedOf(under.colour)), part(GreenOf(top.colour), GreenOf(under.colour)),
          part(BlueOf(top.colour), BlueOf(under.colour)), out};
}

TEST(PaintColour, BlendingMeetsSourceOverToWithinRounding) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 20000; ++i) {
    const PaintColour top{MakeColour(byte(random), byte(random), byte(random)), byte(random)};
    const PaintColour under{MakeColour(byte(random), byte(random), byte(random)), byte(random)};
    const PaintColour got = BlendedOver(top, under);
    const Exact want = Over(top, under);
    ASSERT_LE(std::abs(got.opacity - want.alpha * 255), 0.5 + 1e-9) << i;
    if (got.opacity == 0) {
      EXPECT_EQ(got.colour, kBlack);
      continue;
    }
    // Colours of nearly transparent results are coarse in 8 bits; one step either way.
    ASSERT_LE(std::abs(RedOf(got.colour) - want.red), 1.0) << i;
    ASSERT_LE(std::abs(GreenOf(got.colour) - want.green), 1.0) << i;
    ASSERT_LE(std::abs(BlueOf(got.colour) - want.blue), 1.0) << i;
  }
  const PaintColour under{MakeColour(1, 2, 3), 77};
  EXPECT_EQ(BlendedOver({MakeColour(9, 9, 9), 0}, under), under) << "opacity 0 leaves it";
  EXPECT_EQ(BlendedOver({MakeColour(9, 9, 9), 255}, under), (PaintColour{MakeColour(9, 9, 9), 255}));
}

TEST(PaintColour, HexNotation) {
  const PaintColour paint{MakeColour(0x12, 0xAB, 0xF0), 0x80};
  EXPECT_EQ(HexOf(paint, true), "#12ABF080");
  EXPECT_EQ(HexOf(paint, false), "#12ABF0");
  EXPECT_EQ(PaintFromHex("#12abf080"), paint);
  EXPECT_EQ(PaintFromHex(" 12ABF0 "), (PaintColour{paint.colour, 255}));
  for (const char* bad : {"", "#", "#12AB", "#12ABF0F", "#12ABF0800", "#GGABF0", "red", "#12 ABF0"}) {
    EXPECT_FALSE(PaintFromHex(bad)) << bad;
  }
}

class PaintPixelTest : public ::testing::Test {
 protected:
  PaintPixelTest() { KeepAlpha(true); }
  ~PaintPixelTest() override { KeepAlpha(true); }
  IconImage& Image(int depth) {
    doc_.AddImage(8, 8, static_cast<std::int16_t>(depth), 0);
    return doc_.Image(0);
  }
  test::BackEndFixture backEnd_;
  cIco doc_;
};

TEST_F(PaintPixelTest, OpacityCountsOnlyInImagesThatTakeIt) {
  const PaintColour soft{MakeColour(200, 10, 10), 100};
  for (int depth : {1, 4, 8, 24}) {
    IconImage& image = Image(depth);
    EXPECT_FALSE(TakesOpacity(image));
    PaintPixel(image, 1, 1, soft, false);
    EXPECT_EQ(image.Pixels.At(1, 1), soft.colour) << depth;
    EXPECT_EQ(image.Mask.At(1, 1), MaskOpaque) << depth;
    EXPECT_FALSE(image.CarriesAlpha()) << depth;
  }
  KeepAlpha(false);
  IconImage& off = Image(32);
  EXPECT_FALSE(TakesOpacity(off));
  PaintPixel(off, 1, 1, soft, true);
  EXPECT_EQ(PixelPaint(off, 1, 1), (PaintColour{soft.colour, 255}));
  KeepAlpha(true);

  // A 32-bit image gains an alpha channel from its mask with its first soft pixel.
  IconImage& image = Image(32);
  image.Pixels.At(5, 5) = MakeColour(0, 0, 255);
  image.Mask.At(5, 5) = MaskOpaque;
  PaintPixel(image, 1, 1, soft, false);
  ASSERT_TRUE(image.CarriesAlpha());
  EXPECT_EQ(PixelPaint(image, 1, 1), soft);
  EXPECT_EQ(PixelPaint(image, 5, 5), (PaintColour{MakeColour(0, 0, 255), 255}));
  EXPECT_EQ(PixelPaint(image, 0, 0), (PaintColour{kBlack, 0}));

  // Replace sets exactly; paint over blends; opacity 0 replaces with a hole.
  PaintPixel(image, 5, 5, soft, true);
  EXPECT_EQ(PixelPaint(image, 5, 5), BlendedOver(soft, {MakeColour(0, 0, 255), 255}));
  PaintPixel(image, 5, 5, {MakeColour(1, 2, 3), 0}, false);
  EXPECT_EQ(image.Mask.At(5, 5), MaskTransparent);
  EXPECT_EQ(PixelPaint(image, 5, 5), (PaintColour{kBlack, 0}));
}

TEST_F(PaintPixelTest, FillsCompareColourAndOpacity) {
  IconImage& image = Image(32);
  AddAlphaFromMask(image);
  // Left half red at 100, right half red at 200: one colour, two regions.
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) PaintPixel(image, x, y, {MakeColour(255, 0, 0), x < 4 ? 100 : 200}, false);
  }
  const PaintColour green{MakeColour(0, 255, 0), 60};
  FillRegion(doc_, 0, 1, 1, green, false, false);
  EXPECT_EQ(PixelPaint(doc_.Image(0), 3, 7), green);
  EXPECT_EQ(PixelPaint(doc_.Image(0), 4, 0), (PaintColour{MakeColour(255, 0, 0), 200}));

  FillRegion(doc_, 0, 6, 6, green, true, false);  // paint over: each pixel blended once
  const PaintColour blended = BlendedOver(green, {MakeColour(255, 0, 0), 200});
  EXPECT_EQ(PixelPaint(doc_.Image(0), 4, 0), blended);
  EXPECT_EQ(PixelPaint(doc_.Image(0), 7, 7), blended);
  EXPECT_EQ(PixelPaint(doc_.Image(0), 0, 0), green);

  // Filling a region with what it holds already, or painting nothing over it, ends.
  const IconImage before = doc_.Image(0);
  FillRegion(doc_, 0, 0, 0, green, false, true);
  FillRegion(doc_, 0, 0, 0, {kWhite, 0}, true, true);
  EXPECT_EQ(doc_.Image(0), before);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(PaintPixelTest, SoftPixelsAreSavedAndReadBackExactly) {
  IconImage& image = Image(32);
  for (int x = 0; x < 8; ++x) {
    PaintPixel(image, x, 2, {MakeColour(10 * x, 200, 30), 32 * x + 3}, false);
    PaintPixel(image, x, 3, {MakeColour(0, 0, 250), 90}, false);
    PaintPixel(image, x, 3, {MakeColour(250, 0, 0), 140}, true);
  }
  test::TempDir dir;
  const std::string path = (dir / "soft.ico").string();
  ASSERT_TRUE(doc_.SaveIcon(path));
  cIco back;
  ASSERT_TRUE(back.OpenIcon(path));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(PixelPaint(back.Image(0), x, y), PixelPaint(doc_.Image(0), x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(PixelPaint(back.Image(0), 5, 2), (PaintColour{MakeColour(50, 200, 30), 163}));
}

}  // namespace
}  // namespace brixel
