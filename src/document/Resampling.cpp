#include "Resampling.h"

#include <cmath>

namespace brixel {

ScaledExtent ScaledSize(int width, int height, int size) {
  ScaledExtent extent{size, size};
  if (width <= 0 || height <= 0) return extent;
  if (height < width) {
    const float ratio = static_cast<float>(height) / static_cast<float>(width);
    extent.Height = static_cast<int>(std::nearbyint(static_cast<float>(size) * ratio));
  } else {
    const float ratio = static_cast<float>(width) / static_cast<float>(height);
    extent.Width = static_cast<int>(std::nearbyint(static_cast<float>(size) * ratio));
  }
  extent.Width = std::max(extent.Width, 1);
  extent.Height = std::max(extent.Height, 1);
  return extent;
}

namespace resampling {

std::vector<Sample> Samples(float sourceStart, float sourceSize, float targetStart,
                            float targetSize, int sourcePixels, int targetPixels) {
  std::vector<Sample> samples(static_cast<std::size_t>(std::max(targetPixels, 0)));
  const float divisor = sourceSize - 1.0f;
  for (int target = 0; target < targetPixels; ++target) {
    Sample& sample = samples[static_cast<std::size_t>(target)];
    const double offset = static_cast<double>(target) - static_cast<double>(targetStart);
    // Just beyond the target area a position can round to inside the source (8 / (8 / 15) is
    // 14.999999 in single precision): the area itself bounds the picture.
    if (offset < 0 || offset >= static_cast<double>(targetSize)) continue;
    if (divisor == 0.0f) {
      // A single source column: every target column of the area takes it, unblended.
      const double column = std::floor(static_cast<double>(sourceStart));
      if (column < 0 || column >= sourcePixels) continue;
      sample.inside = true;
      sample.first = sample.second = static_cast<int>(column);
      continue;
    }
    const float scale = targetSize / divisor;
    const float position =
        static_cast<float>(offset / static_cast<double>(scale) + static_cast<double>(sourceStart));
    if (!std::isfinite(position)) continue;
    const double first = std::floor(static_cast<double>(position));
    // The last source column is reached only as a neighbour to the right.
    if (first < 0 || first > sourcePixels - 2) continue;
    sample.inside = true;
    sample.first = static_cast<int>(first);
    sample.second = sample.first + 1;
    sample.fraction = position - static_cast<float>(sample.first);
  }
  return samples;
}

std::uint8_t Blend(std::uint8_t a00, std::uint8_t a01, std::uint8_t a10, std::uint8_t a11,
                   float fx, float fy) {
  const float gx = 1.0f - fx;
  const float gy = 1.0f - fy;
  const float value = static_cast<float>(a00) * gx * gy + static_cast<float>(a01) * gx * fy +
                      static_cast<float>(a10) * fx * gy + static_cast<float>(a11) * fx * fy;
  return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0f, 255.0f));
}

}  // namespace resampling
}  // namespace brixel
