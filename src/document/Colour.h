#pragma once

#include <cstdint>

namespace brixel {

// A colour is red + 256 x green + 65536 x blue; -1 marks an inverting pixel.
using Colour = std::int32_t;

inline constexpr Colour kBlack = 0;
inline constexpr Colour kWhite = 16777215;
inline constexpr Colour kNoColour = -1;

// Mask values of a pixel. Any non-zero value counts as not opaque.
inline constexpr std::int32_t MaskOpaque = 0;
inline constexpr std::int32_t MaskTransparent = 16777215;
inline constexpr std::int32_t MaskComplement = 1;

inline constexpr int RedOf(Colour c) { return c & 0xFF; }
inline constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
inline constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }
inline constexpr Colour MakeColour(int red, int green, int blue) {
  return red + 256 * green + 65536 * blue;
}

// The complement of a colour; a negative value is first made positive, so -1 gives 16777214.
inline constexpr Colour InvertColor(Colour c) {
  const std::int64_t positive = c < 0 ? -static_cast<std::int64_t>(c) : c;
  return kWhite - static_cast<Colour>(positive & kWhite);
}

}  // namespace brixel
