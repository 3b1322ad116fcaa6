// Flood fill, clip transfer, palette matching and how edited pixels survive a save.

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "AlphaChannel.h"
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
  const ClipRegion forward = CopyRegion(doc_, 0, 1, 0, 3, 1);
  EXPECT_EQ(forward.Width(), 3);
  EXPECT_EQ(forward.Height(), 2);
  EXPECT_EQ(forward.Colours.Pixels, (std::vector<std::int32_t>{2, 3, 4, 12, 13, 14}));
  EXPECT_EQ(CopyRegion(doc_, 0, 3, 1, 1, 0), forward);

  // The height limits the rows, the width the columns.
  const ClipRegion all = CopyRegion(doc_, 0, 9, 9, -4, -2);
  EXPECT_EQ(all.Width(), 5);
  EXPECT_EQ(all.Height(), 3);
  EXPECT_EQ(all.Colours.At(4, 2), 25);

  EXPECT_TRUE(CopyRegion(doc_, 0, 5, 0, 8, 2).Empty());
  EXPECT_TRUE(CopyRegion(doc_, 0, 0, -5, 4, -1).Empty());
  EXPECT_TRUE(CopyRegion(doc_, 0, -3, 3, -1, 9).Empty());
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ClipTest, PasteDropsWhatFallsOutside) {
  ClipRegion green(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) green.Set(x, y, kGreen, O, 255);
  }
  const IconImage before = doc_.Image(0);
  PasteRegion(doc_, 0, green, -1, -1);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Get(doc_, 0, x, y), std::make_pair(kGreen, O));
  }
  EXPECT_EQ(doc_.Image(0).Mask.At(5, 0), before.Mask.At(5, 0));  // padding untouched
  PasteRegion(doc_, 0, green, 5, 0);
  PasteRegion(doc_, 0, green, 2147483000, -2147483000);
  EXPECT_EQ(Get(doc_, 0, 4, 0).first, kGreen);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// Copy and paste move pixels, not colours: white, black, transparent, inverting and half
// transparent pixels and every palette colour arrive as they left, at every depth.
TEST_F(ClipTest, PastedPixelsReadBackAsTheyWereCopiedAtEveryDepth) {
  for (const int depth : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(depth);
    cIco doc;
    doc.AddImage(16, 8, static_cast<std::int16_t>(depth), -1);
    IconImage& image = doc.Image(0);
    if (depth == 32) AddAlphaFromMask(image);
    const std::vector<Colour>& palette = image.Palette;
    // The left half: the kinds of pixel, then the palette's colours (or a spread of colours).
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const int n = x + 8 * y;
        const Colour colour = depth < 24 ? palette[static_cast<std::size_t>(n) % palette.size()]
                                         : MakeColour(n * 4, 255 - n, n * 3 % 256);
        image.Pixels.At(x, y) = colour;
        image.Mask.At(x, y) = O;
        if (depth == 32) image.Alpha.At(x, y) = static_cast<std::uint8_t>(n % 3 == 0 ? 255 : 40 + n);
      }
    }
    Put(doc, 0, 0, 0, kWhite, O);
    Put(doc, 0, 1, 0, kBlack, O);
    Put(doc, 0, 2, 0, kBlack, T);
    Put(doc, 0, 3, 0, kNoColour, T);
    if (depth == 32) image.Alpha.At(4, 0) = 128;
    // Something else under the place the clip goes, so that every pasted pixel must be written.
    for (int y = 0; y < 8; ++y) {
      for (int x = 8; x < 16; ++x) Put(doc, 0, x, y, depth < 24 ? palette[1] : kRed, x % 2 ? T : O);
    }

    const ClipRegion clip = CopyRegion(doc, 0, 0, 0, 7, 7);
    PasteRegion(doc, 0, clip, 8, 0);
    EXPECT_EQ(CopyRegion(doc, 0, 8, 0, 15, 7), clip);
    const IconImage& after = doc.Image(0);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(Get(doc, 0, x + 8, y), Get(doc, 0, x, y)) << x << "," << y;
        if (depth == 32) {
          EXPECT_EQ(after.Alpha.At(x + 8, y), after.Alpha.At(x, y)) << x << "," << y;
        }
      }
    }
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ClipTest, PasteIntoAPalettedImageTakesTheNearestEntry) {
  doc_.AddImage(4, 1, 4, -1);
  ClipRegion clip(4, 1);
  clip.Set(0, 0, MakeColour(250, 250, 240), O, 255);  // nearest: white
  clip.Set(1, 0, MakeColour(10, 120, 130), O, 255);   // nearest: 008080 (teal, entry 9)
  clip.Set(2, 0, kNoColour, T, 0);
  clip.Set(3, 0, MakeColour(0, 0, 120), O, 255);      // nearest: navy (entry 11)
  PasteRegion(doc_, 1, clip, 0, 0);
  EXPECT_EQ(Get(doc_, 1, 0, 0), std::make_pair(kWhite, O));
  EXPECT_EQ(Get(doc_, 1, 1, 0), std::make_pair(MakeColour(0, 128, 128), O));
  EXPECT_EQ(Get(doc_, 1, 2, 0), std::make_pair(kNoColour, T));
  EXPECT_EQ(Get(doc_, 1, 3, 0), std::make_pair(MakeColour(0, 0, 128), O));
}
}  // namespace
}  // namespace brixel
