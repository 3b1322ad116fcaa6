// Flood fill, clip transfer, palette matching and how edited pixels survive a save.

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "ClipTransfer.h"
#include "FloodFill.h"
#include "Palette.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

constexpr std::int32_t O = MaskOpaque;
constexpr std::int32_t T = MaskTransparent;
const Colour kRed = MakeColour(255, 0, 0);
const Colour kGreen = MakeColour(0, 255, 0);
const Colour kBlue = MakeColour(0, 0, 255);

void Put(cIco& doc, std::int16_t image, int x, int y, Colour colour, std::int32_t mask) {
  doc.XYColor(image, static_cast<float>(x), static_cast<float>(y), colour);
  doc.XYMask(image, static_cast<float>(x), static_cast<float>(y), mask);
}

std::pair<Colour, std::int32_t> Get(const cIco& doc, std::int16_t image, int x, int y) {
  const IconImage& i = doc.Image(image);
  return {i.Pixels.At(x, y), i.Mask.At(x, y)};
}

// The pixels a fill should change: the 4- or 8-connected component of the seed's colour.
IconImage ExpectedFill(IconImage image, int sx, int sy, Colour fill, bool erase, bool diagonal) {
  const Colour region = image.Pixels.At(sx, sy);
  if (region == fill || region == kNoColour || (fill == kWhite && region == kBlack)) return image;
  std::vector<bool> seen(static_cast<std::size_t>(image.Width * image.Height()), false);
  std::deque<std::pair<int, int>> queue{{sx, sy}};
  seen[static_cast<std::size_t>(sy * image.Width + sx)] = true;
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    image.Pixels.At(x, y) = erase ? kBlack : fill;
    image.Mask.At(x, y) = erase ? T : O;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0)) continue;
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= image.Width || ny >= image.Height()) continue;
        const auto at = static_cast<std::size_t>(ny * image.Width + nx);
        if (seen[at] || image.Pixels.At(nx, ny) != region) continue;
        seen[at] = true;
        queue.emplace_back(nx, ny);
      }
    }
  }
  return image;
}

class EditingTest : public ::testing::Test {
 protected:
  test::BackEndFixture backEnd_;
  test::TempDir dir_;
};

// --- Flood fill ---

TEST_F(EditingTest, FillOfACheckerboardFollowsTheDiagonalOption) {
  for (bool diagonal : {false, true}) {
    cIco doc;
    doc.AddImage(4, 4, 24, -1);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) Put(doc, 0, x, y, (x + y) % 2 ? kBlue : kRed, O);
    }
    FillRegion(doc, 0, 0, 0, kGreen, false, diagonal);
    int green = 0;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) green += Get(doc, 0, x, y).first == kGreen;
    }
    EXPECT_EQ(green, diagonal ? 8 : 1);
    EXPECT_EQ(Get(doc, 0, 1, 0).first, kBlue);
  }
}

TEST_F(EditingTest, FillTreatsTransparentAndOpaqueBlackAsOneRegionAndMakesItOpaque) {
  cIco doc;
  doc.AddImage(3, 2, 24, -1);  // all transparent black
  Put(doc, 0, 1, 0, kBlack, O);
  Put(doc, 0, 2, 1, kRed, O);
  FillRegion(doc, 0, 0, 0, kBlue, false, false);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}) {
    EXPECT_EQ(Get(doc, 0, x, y), std::make_pair(kBlue, O)) << x << "," << y;
  }
  EXPECT_EQ(Get(doc, 0, 2, 1), std::make_pair(kRed, O));

  FillRegion(doc, 0, 1, 1, kWhite, true, false);  // a flood erase
  EXPECT_EQ(Get(doc, 0, 0, 0), std::make_pair(kBlack, T));
  EXPECT_EQ(Get(doc, 0, 2, 1), std::make_pair(kRed, O));
}

TEST_F(EditingTest, FillStopsOnItsOwnColourOnWhiteOverColourZeroAndOnInvertingPixels) {
  cIco doc;
  doc.AddImage(3, 1, 24, -1);
  Put(doc, 0, 1, 0, kBlack, O);
  Put(doc, 0, 2, 0, kWhite, O);
  const IconImage before = doc.Image(0);
  FillRegion(doc, 0, 2, 0, kWhite, true, true);   // erase of a white region
  FillRegion(doc, 0, 2, 0, kWhite, false, true);  // white on white
  FillRegion(doc, 0, 0, 0, kWhite, false, true);  // white fill of colour 0
  FillRegion(doc, 0, 0, 0, kWhite, true, true);   // erase of colour 0
  FillRegion(doc, 0, -1, 0, kRed, false, true);   // outside
  FillRegion(doc, 0, 3, 0, kRed, false, true);
  EXPECT_EQ(doc.Image(0), before);
  Put(doc, 0, 0, 0, kNoColour, T);
  const IconImage inverting = doc.Image(0);
  FillRegion(doc, 0, 0, 0, kRed, false, true);
  EXPECT_EQ(doc.Image(0), inverting);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());

  FillRegion(doc, 4, 0, 0, kRed, false, true);  // no such image: reported, nothing else
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.mFloodFill.FillRegion"), std::string::npos);
}

TEST_F(EditingTest, FillOfAOneBitImageNeverReachesItsPaddingColumns) {
  cIco doc;
  doc.AddImage(20, 2, 1, -1);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 32; ++x) Put(doc, 0, x, y, kWhite, O);  // padding columns included
  }
  FillRegion(doc, 0, 5, 1, kBlack, false, true);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(Get(doc, 0, x, y).first, x < 20 ? kBlack : kWhite) << x << "," << y;
    }
  }
}

TEST_F(EditingTest, FillChangesExactlyTheConnectedRegion) {
  std::mt19937 rng(77);
  const Colour colours[] = {kRed, kBlue, kBlack, kNoColour};
  for (int round = 0; round < 200; ++round) {
    cIco doc;
    doc.AddImage(static_cast<std::int16_t>(1 + rng() % 13), static_cast<std::int16_t>(1 + rng() % 9), 24, -1);
    IconImage& image = doc.Image(0);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) {
        image.Pixels.At(x, y) = colours[rng() % (round % 2 ? 2 : 4)];
        image.Mask.At(x, y) = rng() % 2 ? O : T;
      }
    }
    const int x = static_cast<int>(rng() % static_cast<unsigned>(image.Width));
    const int y = static_cast<int>(rng() % static_cast<unsigned>(image.Height()));
    const bool diagonal = rng() % 2;
    const bool erase = rng() % 3 == 0;
    const Colour fill = erase ? (rng() % 2 ? kWhite : kGreen) : colours[rng() % 3];
    const IconImage expected = ExpectedFill(image, x, y, fill, erase, diagonal);
    FillRegion(doc, 0, x, y, fill, erase, diagonal);
    ASSERT_EQ(doc.Image(0), expected) << "round " << round;
  }
}

TEST_F(EditingTest, FillOfALargeSerpentineRegionReachesItsEnd) {
  // Walls in every odd column, open alternately at the bottom and the top: one corridor that
  // winds through the whole image, one pixel wide.
  constexpr int kSize = 1024;
  cIco doc;
  doc.AddImage(kSize, kSize, 24, -1);
  IconImage& image = doc.Image(0);
  for (int x = 1; x < kSize; x += 2) {
    const int gap = (x / 2) % 2 == 0 ? kSize - 1 : 0;
    for (int y = 0; y < kSize; ++y) {
      if (y != gap) image.Pixels.At(x, y) = kRed;
    }
  }
  FillRegion(doc, 0, 0, 0, kBlue, false, false);
  long long filled = 0, walls = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      filled += image.Pixels.At(x, y) == kBlue;
      walls += image.Pixels.At(x, y) == kRed;
    }
  }
  EXPECT_EQ(walls, (kSize / 2) * (kSize - 1));
  EXPECT_EQ(filled + walls, static_cast<long long>(kSize) * kSize);
  EXPECT_EQ(image.Pixels.At(kSize - 2, kSize - 1), kBlue);
}

// --- Clip transfer ---

class ClipTest : public EditingTest {
 protected:
  // A 5 x 3 true-colour image whose pixel (x, y) is opaque with colour 1 + x + 10 y.
  void SetUp() override {
    doc_.AddImage(5, 3, 24, -1);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) Put(doc_, 0, x, y, 1 + x + 10 * y, O);
    }
  }
  cIco doc_;
};

TEST_F(ClipTest, CopyTakesTheRectangleInEitherOrderCutBackToTheImage) {
  const Bitmap forward = CopyRegion(doc_, 0, 1, 0, 3, 1);
  EXPECT_EQ(forward.Width, 3);
  EXPECT_EQ(forward.Height, 2);
  EXPECT_EQ(forward.Pixels, (std::vector<std::int32_t>{2, 3, 4, 12, 13, 14}));
  EXPECT_EQ(CopyRegion(doc_, 0, 3, 1, 1, 0), forward);

  // The height limits the rows, the width the columns.
  const Bitmap all = CopyRegion(doc_, 0, 9, 9, -4, -2);
  EXPECT_EQ(all.Width, 5);
  EXPECT_EQ(all.Height, 3);
  EXPECT_EQ(all.At(4, 2), 25);

  EXPECT_TRUE(CopyRegion(doc_, 0, 5, 0, 8, 2).Empty());
  EXPECT_TRUE(CopyRegion(doc_, 0, 0, -5, 4, -1).Empty());
  EXPECT_TRUE(CopyRegion(doc_, 0, -3, 3, -1, 9).Empty());

  Put(doc_, 0, 2, 2, kBlack, T);
  Put(doc_, 0, 3, 2, kNoColour, T);
  EXPECT_EQ(CopyRegion(doc_, 0, 2, 2, 3, 2).Pixels, (std::vector<std::int32_t>{kBlack, kNoColour}));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ClipTest, PasteWritesOpaqueSkipsWhiteKeepsInvertingAndDropsWhatFallsOutside) {
  Bitmap clip(3, 2, kRed);
  clip.At(1, 0) = kWhite;
  clip.At(2, 0) = kNoColour;
  clip.At(0, 1) = kBlack;
  Put(doc_, 0, 2, 1, kBlue, T);
  PasteRegion(doc_, 0, clip, 1, 1);
  EXPECT_EQ(Get(doc_, 0, 1, 1), std::make_pair(kRed, O));
  EXPECT_EQ(Get(doc_, 0, 2, 1), std::make_pair(kBlue, T));  // under the white: untouched
  EXPECT_EQ(Get(doc_, 0, 3, 1), std::make_pair(kNoColour, T));
  EXPECT_EQ(Get(doc_, 0, 1, 2), std::make_pair(kBlack, O));
  EXPECT_EQ(Get(doc_, 0, 3, 2), std::make_pair(kRed, O));
  EXPECT_EQ(Get(doc_, 0, 0, 1), std::make_pair(11, O));

  // Hanging over every edge: only what lands inside.
  const IconImage before = doc_.Image(0);
  PasteRegion(doc_, 0, Bitmap(7, 5, kGreen), -1, -1);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Get(doc_, 0, x, y), std::make_pair(kGreen, O));
  }
  EXPECT_EQ(doc_.Image(0).Mask.At(5, 0), before.Mask.At(5, 0));  // padding untouched
  PasteRegion(doc_, 0, Bitmap(2, 2, kRed), 5, 0);
  PasteRegion(doc_, 0, Bitmap(2, 2, kRed), 2147483000, -2147483000);
  EXPECT_EQ(Get(doc_, 0, 4, 0).first, kGreen);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ClipTest, PasteIntoAPalettedImageTakesTheNearestEntry) {
  doc_.AddImage(4, 1, 4, -1);
  Bitmap clip(4, 1, kBlack);
  clip.At(0, 0) = MakeColour(250, 250, 240);  // nearest: white
  clip.At(1, 0) = MakeColour(10, 120, 130);   // nearest: 008080 (teal, entry 9)
  clip.At(2, 0) = kNoColour;
  clip.At(3, 0) = MakeColour(0, 0, 120);      // nearest: navy (entry 11)
  PasteRegion(doc_, 1, clip, 0, 0);
  EXPECT_EQ(Get(doc_, 1, 0, 0), std::make_pair(kWhite, O));
  EXPECT_EQ(Get(doc_, 1, 1, 0), std::make_pair(MakeColour(0, 128, 128), O));
  EXPECT_EQ(Get(doc_, 1, 2, 0), std::make_pair(kNoColour, T));
  EXPECT_EQ(Get(doc_, 1, 3, 0), std::make_pair(MakeColour(0, 0, 128), O));
}

TEST_F(ClipTest, ClearMakesTheClampedRectangleTransparent) {
  ClearRegion(doc_, 0, 3, 5, 9, 1);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool cleared = x >= 3 && y >= 1;
      EXPECT_EQ(Get(doc_, 0, x, y), cleared ? std::make_pair(kBlack, T) : std::make_pair(1 + x + 10 * y, O));
    }
  }
  const IconImage before = doc_.Image(0);
  ClearRegion(doc_, 0, 6, 0, 9, 9);
  EXPECT_EQ(doc_.Image(0), before);
  ClearRegion(doc_, 3, 0, 0, 1, 1);
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
}

// --- Palettes ---

TEST_F(EditingTest, NearestPaletteEntryPrefersTheLastExactThenTheFirstNearest) {
  const std::vector<Colour> palette = {kRed, kWhite, MakeColour(100, 0, 0), kWhite, MakeColour(120, 0, 0)};
  EXPECT_EQ(NearestPaletteEntry(palette, kWhite), 3);
  EXPECT_EQ(NearestPaletteEntry(palette, MakeColour(110, 0, 0)), 2);  // a tie: the first
  EXPECT_EQ(NearestPaletteEntry(palette, MakeColour(111, 0, 0)), 4);
  EXPECT_EQ(NearestPaletteEntry(palette, MakeColour(200, 10, 10)), 0);
  EXPECT_EQ(NearestPaletteEntry({}, kRed), -1);
  std::vector<Colour> standard(256);
  GetNewPalette(standard);
  EXPECT_EQ(NearestPaletteEntry(standard, 0xFFFF00), 119);  // as a palette click finds it
}

TEST_F(EditingTest, EditingTheBlackEntryLeavesTheTransparentBackgroundAlone) {
  cIco doc;
  doc.AddImage(3, 1, 4, -1);
  Put(doc, 0, 1, 0, kBlack, O);
  doc.PaletteColor(0, 15, kRed);
  EXPECT_EQ(Get(doc, 0, 0, 0), std::make_pair(kBlack, T));
  EXPECT_EQ(Get(doc, 0, 1, 0), std::make_pair(kRed, O));
}

// --- Saving keeps what pixels mean ---

TEST_F(EditingTest, InvertingPixelsSurviveASaveAtEveryDepth) {
  cIco doc;
  for (int depth : {1, 4, 8, 24, 32}) {
    doc.AddImage(3, 2, static_cast<std::int16_t>(depth), -1);
    const auto i = static_cast<std::int16_t>(doc.IconCount() - 1);
    Put(doc, i, 1, 1, kNoColour, T);
    Put(doc, i, 2, 1, depth == 1 ? kWhite : doc.PaletteColor(i, 3), O);
  }
  const std::string path = (dir_ / "invert.ico").string();
  ASSERT_TRUE(doc.SaveIcon(path));
  cIco back;
  ASSERT_TRUE(back.OpenIcon(path));
  for (std::int16_t i = 0; i < doc.IconCount(); ++i) EXPECT_EQ(back.Image(i), doc.Image(i)) << i;
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(EditingTest, TransparentPixelsOfAPaletteWithoutBlackGetAFreeEntry) {
  cIco doc;
  doc.AddImage(4, 1, 4, -1);
  doc.PaletteColor(0, 15, MakeColour(1, 2, 3));  // the palette has no black now
  Put(doc, 0, 1, 0, doc.PaletteColor(0, 15), O);
  Put(doc, 0, 2, 0, doc.PaletteColor(0, 14), O);
  Put(doc, 0, 3, 0, kNoColour, T);
  const IconImage edited = doc.Image(0);
  const std::string path = (dir_ / "noblack.ico").string();
  ASSERT_TRUE(doc.SaveIcon(path));
  EXPECT_EQ(doc.Image(0), edited);  // the document's own palette stays

  cIco back;
  ASSERT_TRUE(back.OpenIcon(path));
  EXPECT_EQ(back.Image(0).Pixels, edited.Pixels);
  EXPECT_EQ(back.Image(0).Mask.At(0, 0), T);
  EXPECT_EQ(back.Image(0).Mask.At(1, 0), O);
  // The last entry no pixel uses was made black: entry 13.
  std::vector<Colour> written = edited.Palette;
  written[13] = kBlack;
  EXPECT_EQ(back.Image(0).Palette, written);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(EditingTest, TransparentPixelsWithNoRoomForBlackRefuseTheSave) {
  cIco doc;
  doc.AddImage(17, 1, 4, -1);
  doc.PaletteColor(0, 15, MakeColour(1, 2, 3));
  for (int x = 0; x < 16; ++x) Put(doc, 0, x, 0, doc.PaletteColor(0, x), O);
  // Pixel 16 stays transparent.
  const std::string path = (dir_ / "full.ico").string();
  const Bytes old = {1, 2, 3, 4};
  test::WriteBytes(path, old);
  EXPECT_FALSE(doc.SaveIcon(path));
  EXPECT_EQ(ReadWholeFile(path), old);
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  const std::string& report = backEnd_.reporter.reports[0];
  EXPECT_NE(report.find("Error Number: 5"), std::string::npos) << report;
  EXPECT_NE(report.find("no black"), std::string::npos) << report;
  EXPECT_NE(report.find("PrjBackEnd.cIco.SaveIcon"), std::string::npos) << report;

  // Transparent pixels over a palette colour need no black: the save goes through.
  doc.XYColor(0, 16, 0, doc.PaletteColor(0, 4));
  EXPECT_TRUE(doc.SaveIcon(path));
}

}  // namespace
}  // namespace brixel
