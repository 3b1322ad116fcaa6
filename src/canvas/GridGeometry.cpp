#include "GridGeometry.h"

#include <cmath>
#include <limits>

namespace brixel {

int CentreLine(int cells) {
  return static_cast<int>(std::nearbyint(static_cast<double>(cells) / 2.0));
}

int PixelOf(float logical) {
  if (std::isnan(logical)) return 0;
  const double truncated = std::trunc(static_cast<double>(logical));
  constexpr double kLowest = std::numeric_limits<int>::min();
  constexpr double kHighest = std::numeric_limits<int>::max();
  if (truncated <= kLowest) return std::numeric_limits<int>::min();
  if (truncated >= kHighest) return std::numeric_limits<int>::max();
  return static_cast<int>(truncated);
}

QString LocationText(float x, float y) {
  return QString::number(PixelOf(x)) + '-' + QString::number(PixelOf(y));
}

bool OutsideImage(float x, float y, int width, int height) {
  return x >= static_cast<float>(width) || y >= static_cast<float>(height) || y < 0 || x < 0;
}

}  // namespace brixel
