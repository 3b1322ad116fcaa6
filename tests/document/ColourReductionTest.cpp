// Colour reduction beyond the fixed tables' nearest colour: error diffusion and palettes built
// from a picture's own colours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "ColourReduction.h"
#include "Palette.h"
#include "PaletteBuilding.h"

namespace brixel {
namespace {

// Grey rising from left to right, the same in every row.
Bitmap GreyRamp(int width, int height) {
  Bitmap picture(width, height, kBlack);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int level = x * 255 / (width - 1);
      picture.At(x, y) = MakeColour(level, level, level);
    }
  }
  return picture;
}

// Red follows x, green follows y: width x height distinct colours for sides up to 64.
Bitmap ColourField(int width, int height) {
  Bitmap picture(width, height, kBlack);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.At(x, y) = MakeColour(x * 4, y * 4, 100);
  }
  return picture;
}

long long SquaredError(const Bitmap& a, const Bitmap& b) {
  long long total = 0;
  for (std::size_t i = 0; i < a.Pixels.size(); ++i) {
    const Colour p = a.Pixels[i];
    const Colour q = b.Pixels[i];
    for (const int d : {RedOf(p) - RedOf(q), GreenOf(p) - GreenOf(q), BlueOf(p) - BlueOf(q)}) total += d * d;
  }
  return total;
}

// How far the mean red of each block x block square is from the original's, summed.
long long BlockMeanError(const Bitmap& original, const Bitmap& reduced, int block) {
  long long total = 0;
  for (int top = 0; top + block <= original.Height; top += block) {
    for (int left = 0; left + block <= original.Width; left += block) {
      long long want = 0;
      long long got = 0;
      for (int y = top; y < top + block; ++y) {
        for (int x = left; x < left + block; ++x) {
          want += RedOf(original.At(x, y));
          got += RedOf(reduced.At(x, y));
        }
      }
      total += std::llabs(want - got) / (block * block);
    }
  }
  return total;
}

std::set<Colour> Colours(const Bitmap& picture) { return {picture.Pixels.begin(), picture.Pixels.end()}; }

TEST(ColourReductionTest, TheDefaultChoiceGivesTheNearestColourOfTheTableAsBefore) {
  for (const int depth : {1, 4, 8}) {
    const Bitmap original = ColourField(64, 64);
    Bitmap plain = original;
    ReduceColours(plain, depth);
    Bitmap chosen = original;
    const Bitmap mask(64, 64, kWhite);
    ReduceColours(chosen, depth, ReductionChoice{}, &mask);
    EXPECT_EQ(chosen, plain) << depth;
  }
  // And today's pixels are the nearest colours: dark and light grey to black and white in two
  // colours, an almost red to red and a dark teal to teal in sixteen.
  Bitmap two(2, 1, kBlack);
  two.Pixels = {0x303030, 0xD0D0D0};
  ReduceColours(two, 1);
  EXPECT_EQ(two.Pixels, (std::vector<Colour>{kBlack, kWhite}));
  Bitmap sixteen(2, 1, kBlack);
  sixteen.Pixels = {0x0505FA, 0x78780A};  // red 250, green 5, blue 5; red 10, green 120, blue 120
  ReduceColours(sixteen, 4);
  EXPECT_EQ(sixteen.Pixels, (std::vector<Colour>{0x0000FF, 0x808000}));
}

TEST(ColourReductionTest, DitheringSpreadsAGradientInsteadOfBandingIt) {
  const Bitmap ramp = GreyRamp(64, 32);
  for (const int depth : {1, 4, 8}) {
    Bitmap nearest = ramp;
    ReduceColours(nearest, depth);
    Bitmap dithered = ramp;
    ReduceColours(dithered, depth, {.Dither = true});
    EXPECT_NE(dithered, nearest) << depth;
    // Only the table's colours, but areas keep their mean brightness far better.
    const std::vector<Colour>& table = ReductionTable(depth);
    for (const Colour colour : Colours(dithered)) {
      EXPECT_NE(std::find(table.begin(), table.end(), colour), table.end()) << depth;
    }
    EXPECT_LT(BlockMeanError(ramp, dithered, 8) * 2, BlockMeanError(ramp, nearest, 8)) << depth;
  }
  // Black and white dithering of mid grey is about half white.
  Bitmap grey(32, 32, MakeColour(128, 128, 128));
  ReduceColours(grey, 1, {.Dither = true});
  const auto white = std::count(grey.Pixels.begin(), grey.Pixels.end(), kWhite);
  EXPECT_NEAR(static_cast<double>(white) / 1024.0, 128.0 / 255.0, 0.03);
}

TEST(ColourReductionTest, MaskedPixelsStayAsTheyAreAndPassNoErrorOn) {
  // Left half transparent: it keeps its colours, and the right half dithers as a picture of
  // its own would.
  const Bitmap ramp = GreyRamp(32, 16);
  Bitmap mask(32, 16, kWhite);
  Bitmap right(16, 16, kBlack);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (x < 16) mask.At(x, y) = kBlack;
      else right.At(x - 16, y) = ramp.At(x, y);
    }
  }
  Bitmap reduced = ramp;
  ReduceColours(reduced, 4, {.Dither = true}, &mask);
  ReduceColours(right, 4, {.Dither = true});
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(reduced.At(x, y), x < 16 ? ramp.At(x, y) : right.At(x - 16, y)) << x << "," << y;
    }
  }
}

TEST(ColourReductionTest, APaletteFromThePictureKeepsFewColoursExactlyAndFitsManyBetter) {
  // 16 x 12 = 192 colours, none of them in the halftone table: all kept.
  const Bitmap few = ColourField(16, 12);
  Bitmap kept = few;
  ReduceColours(kept, 8, {.OwnPalette = true});
  EXPECT_EQ(kept, few);
  Bitmap halftone = few;
  ReduceColours(halftone, 8);
  EXPECT_NE(halftone, few);

  // 4096 colours: at most 256 afterwards, and nearer the picture than the fixed table.
  const Bitmap many = ColourField(64, 64);
  Bitmap own = many;
  ReduceColours(own, 8, {.OwnPalette = true});
  Bitmap fixed = many;
  ReduceColours(fixed, 8);
  EXPECT_LE(Colours(own).size(), 256u);
  EXPECT_GT(Colours(own).size(), 200u);
  EXPECT_LT(SquaredError(many, own), SquaredError(many, fixed));
  // Only 8 bits build a palette; 1 and 4 bits keep their tables.
  EXPECT_EQ(ReductionPalette(many, 4, {.OwnPalette = true}), ReductionTable(4));
}

TEST(PaletteBuildingTest, MedianCutSplitsWhereThePixelsAreAndWeighsTheirCounts) {
  EXPECT_TRUE(MedianCutPalette({}, 16).empty());
  const Colour redA = MakeColour(250, 0, 0), redB = MakeColour(254, 0, 0);
  const Colour blueA = MakeColour(0, 0, 200), blueB = MakeColour(0, 10, 220);
  // Three pixels of redA to one of redB: the red entry leans to redA.
  const std::vector<Colour> pixels{redA, redA, redA, redB, blueA, blueB};
  const std::vector<Colour> two = MedianCutPalette(pixels, 2);
  ASSERT_EQ(two.size(), 2u);
  const std::set<Colour> found(two.begin(), two.end());
  EXPECT_TRUE(found.count(MakeColour(251, 0, 0))) << two[0] << " " << two[1];
  EXPECT_TRUE(found.count(MakeColour(0, 5, 210))) << two[0] << " " << two[1];
  // Enough room: the colours themselves, in the order met.
  EXPECT_EQ(MedianCutPalette(pixels, 4), (std::vector<Colour>{redA, redB, blueA, blueB}));
  // Never more entries than asked for, however many colours.
  const Bitmap field = ColourField(64, 64);
  for (const std::size_t count : {1u, 2u, 16u, 256u}) EXPECT_EQ(MedianCutPalette(field.Pixels, count).size(), count);
}

}  // namespace
}  // namespace brixel
