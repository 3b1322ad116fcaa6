#pragma once

#include <cstdint>

#include "Colour.h"
#include "IconImage.h"

namespace brixel {

// What one 8-bit RGBA pixel of a PNG-compressed entry reads as. Its mask is transparent where
// alpha is below 128. With alpha kept, a pixel of alpha 0 has colour 0; without, every pixel
// that is not opaque has.
struct PngPixel {
  Colour colour;
  std::int32_t mask;
};

inline PngPixel ReadPngPixel(const std::uint8_t* rgba, bool keepAlpha) {
  const int alpha = rgba[3];
  const bool transparent = alpha < 128;
  const bool colourless = keepAlpha ? alpha == 0 : transparent;
  return {colourless ? kBlack : MakeColour(rgba[0], rgba[1], rgba[2]),
          transparent ? MaskTransparent : MaskOpaque};
}

// Fills the image's pixels and mask from 8-bit RGBA rows, each pixel as ReadPngPixel reads it,
// and with keepAlpha its alpha (made here). The image already has its size and grids.
void FillFromRgba(IconImage& image, const std::uint8_t* rgba, bool keepAlpha);

// Whether an image read from a PNG-compressed entry (with alpha kept) still holds exactly
// what the entry's picture reads as; false for any other image.
bool UnchangedSincePngRead(const IconImage& image);

}  // namespace brixel
