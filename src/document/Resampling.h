#pragma once

#include <algorithm>
#include <vector>

#include "BitmapPixels.h"

namespace brixel {

struct ScaledExtent {
  int Width = 0;
  int Height = 0;
};

// A width x height picture fitted into an S x S square with its aspect kept: the longer side
// becomes S, the other S times the ratio (single precision, rounded half to even), and never
// less than 1 pixel.
ScaledExtent ScaledSize(int width, int height, int size);

namespace resampling {

// Where one target column (or row) samples the source along one side.
struct Sample {
  bool inside = false;
  int first = 0;   // the source column (row) at or before the position
  int second = 0;  // its neighbour after it (the same one on a one-pixel side)
  float fraction = 0;
};

// The samples of every target column (row) 0 .. targetPixels - 1.
std::vector<Sample> Samples(float sourceStart, float sourceSize, float targetStart,
                            float targetSize, int sourcePixels, int targetPixels);

std::uint8_t Blend(std::uint8_t a00, std::uint8_t a01, std::uint8_t a10, std::uint8_t a11,
                   float fx, float fy);

}  // namespace resampling

// Bilinear resampling of the source area (x0, y0, w, h) onto the target area (x1, y1, tw, th),
// written over every pixel of target. The scale is the target size over the source size
// minus 1 (single precision); a target pixel inside the target area whose source position has
// both interpolation neighbours inside the source is blended from them, every other pixel
// becomes white. A
// source area one pixel wide or high is stretched over the target area along that side.
// Source is anything with Width(), Height() and At(x, y) giving a PixelBGR.
template <class Source>
void ResampleBilinear(const Source& source, PixelArray& target, float x0, float y0, float w,
                      float h, float x1, float y1, float tw, float th) {
  using resampling::Blend;
  const auto xs = resampling::Samples(x0, w, x1, tw, source.Width(), target.Width());
  const auto ys = resampling::Samples(y0, h, y1, th, source.Height(), target.Height());
  for (int y = 0; y < target.Height(); ++y) {
    const resampling::Sample& sy = ys[static_cast<std::size_t>(y)];
    for (int x = 0; x < target.Width(); ++x) {
      const resampling::Sample& sx = xs[static_cast<std::size_t>(x)];
      PixelBGR& out = target.At(x, y);
      if (!sx.inside || !sy.inside) {
        out = {255, 255, 255};
        continue;
      }
      const PixelBGR a00 = source.At(sx.first, sy.first);
      const PixelBGR a01 = source.At(sx.first, sy.second);
      const PixelBGR a10 = source.At(sx.second, sy.first);
      const PixelBGR a11 = source.At(sx.second, sy.second);
      out.Red = Blend(a00.Red, a01.Red, a10.Red, a11.Red, sx.fraction, sy.fraction);
      out.Green = Blend(a00.Green, a01.Green, a10.Green, a11.Green, sx.fraction, sy.fraction);
      out.Blue = Blend(a00.Blue, a01.Blue, a10.Blue, a11.Blue, sx.fraction, sy.fraction);
    }
  }
}

}  // namespace brixel
