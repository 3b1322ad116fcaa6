#pragma once

#include <cstdint>

#include "Colour.h"
#include "ImageDocument.h"
#include "PaintColour.h"

namespace brixel {

// Fills the region of the seed pixel's colour value that is 4-connected (or 8-connected with
// diagonal) to (x, y): opaque in fill, or transparent when erasing. Masks are not compared, so
// transparent and opaque black pixels are one region. Nothing happens on a seed outside the
// picture or on an inverting pixel, when the region already has the fill colour, or for a
// white fill (which is what an erase passes) of a colour-0 region. Padding columns of 1-bit
// images are outside. A failure is reported under the fill's label.
void FillRegion(ImageDocument& document, std::int16_t imageIndex, int x, int y, Colour fill,
                bool erase, bool diagonal);

// The same in colour and opacity: in an image that takes opacity (TakesOpacity) the region is
// the connected pixels of exactly the seed's colour and opacity (PixelPaint), and each becomes
// the fill (PaintPixel), or the fill blended over it. Elsewhere the fill above in the colour.
void FillRegion(ImageDocument& document, std::int16_t imageIndex, int x, int y, PaintColour fill,
                bool blend, bool diagonal);

}  // namespace brixel
