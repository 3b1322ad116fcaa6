#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

#include "LinePixels.h"

namespace brixel {
namespace {

using Pixels = std::vector<std::pair<int, int>>;

Pixels Line(int x0, int y0, int x1, int y1, int width = 64, int height = 64) {
  Pixels pixels;
  ForEachLinePixel(x0, y0, x1, y1, width, height, [&](int x, int y) { pixels.emplace_back(x, y); });
  return pixels;
}

// Every line is unbroken (each pixel touches the one before), starts and ends at its ends, and
// takes one pixel per step along its longer axis.
TEST(LinePixels, LinesAreUnbrokenFromEndToEnd) {
  const std::pair<int, int> ends[] = {{0, 0}, {63, 0}, {63, 63}, {0, 63}, {31, 7}, {5, 50}, {40, 41}};
  for (const auto& [x0, y0] : ends) {
    for (const auto& [x1, y1] : ends) {
      const Pixels pixels = Line(x0, y0, x1, y1);
      ASSERT_FALSE(pixels.empty());
      EXPECT_EQ(pixels.front(), std::make_pair(x0, y0));
      EXPECT_EQ(pixels.back(), std::make_pair(x1, y1));
      EXPECT_EQ(pixels.size(), static_cast<std::size_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1));
      for (std::size_t i = 1; i < pixels.size(); ++i) {
        EXPECT_LE(std::abs(pixels[i].first - pixels[i - 1].first), 1);
        EXPECT_LE(std::abs(pixels[i].second - pixels[i - 1].second), 1);
      }
    }
  }
  EXPECT_EQ(Line(3, 4, 3, 4), (Pixels{{3, 4}}));
  EXPECT_EQ(Line(0, 0, 4, 2), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));  // halves up
}

// Only the part inside the area is given, and far-off ends cost no more than the area.
TEST(LinePixels, OnlyThePartInsideIsWalked) {
  EXPECT_EQ(Line(-5, 2, 3, 2, 4, 4), (Pixels{{0, 2}, {1, 2}, {2, 2}, {3, 2}}));
  EXPECT_TRUE(Line(-10, -10, -1, -3, 4, 4).empty());
  const Pixels far = Line(INT_MIN, 5, INT_MAX, 5, 16, 16);
  EXPECT_EQ(far.size(), 16u);
  const Pixels steep = Line(2, INT_MIN, 2, INT_MAX, 16, 16);
  ASSERT_EQ(steep.size(), 16u);
  EXPECT_EQ(steep.front(), std::make_pair(2, 0));
  const Pixels diagonal = Line(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 8, 8);
  EXPECT_LE(diagonal.size(), 8u);
}

}  // namespace
}  // namespace brixel
