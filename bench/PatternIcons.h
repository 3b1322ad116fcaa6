#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Colour.h"
#include "cIco.h"

namespace brixel::bench {

// The size and depth of one image of a generated icon.
struct ImageSpec {
  int size;  // width and height in pixels
  int depth;
};

// Appends a size x size image of depth to icon and paints it with a fixed pattern: colours
// of paletted images come from the image's own palette, so every pixel encodes exactly, and
// about one pixel in five is transparent.
inline void AddPatternImage(cIco& icon, ImageSpec spec) {
  icon.AddImage(static_cast<std::int16_t>(spec.size), static_cast<std::int16_t>(spec.size),
                static_cast<std::int16_t>(spec.depth), -1);
  const auto index = static_cast<std::int16_t>(icon.IconCount() - 1);
  const std::vector<Colour> palette = icon.Image(index).Palette;
  for (int y = 0; y < spec.size; ++y) {
    for (int x = 0; x < spec.size; ++x) {
      const auto v = static_cast<unsigned>(x * 7 + y * 13 + (x ^ y));
      const bool transparent = (x + 2 * y) % 5 == 0;
      Colour colour = spec.depth <= 8
                          ? palette[v % palette.size()]
                          : MakeColour(x * 255 / spec.size, y * 255 / spec.size, v & 0xFF);
      // White under the mask reads back as an inverting pixel, so write it as one.
      if (transparent && colour == kWhite) colour = kNoColour;
      icon.XYColor(index, static_cast<float>(x), static_cast<float>(y), colour);
      icon.XYMask(index, static_cast<float>(x), static_cast<float>(y),
                  transparent ? MaskTransparent : MaskOpaque);
    }
  }
}

inline void AddPatternImages(cIco& icon, const std::vector<ImageSpec>& specs) {
  for (const ImageSpec& spec : specs) AddPatternImage(icon, spec);
}

}  // namespace brixel::bench
