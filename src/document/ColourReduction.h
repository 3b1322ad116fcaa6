#pragma once

#include <vector>

#include "Colour.h"
#include "PictureSurface.h"

namespace brixel {

// The fixed table a picture is reduced to at a depth: 1 bit black and white; 4 bits the 16
// standard VGA colours; 8 bits a 256-colour halftone table (the VGA colours, the rest of the
// 6 x 6 x 6 colour cube, and 32 greys). Empty for any other depth.
const std::vector<Colour>& ReductionTable(int bitDepth);

// Replaces every pixel by the nearest colour of the depth's table (smallest squared RGB
// distance, the first entry on ties), so that a 1-, 4- or 8-bit picture shows at most 2, 16 or
// 256 colours. Any other depth leaves the picture as it is.
void ReduceColours(Bitmap& picture, int bitDepth);

// How a reduction picks its colours. The default is the nearest colour of the fixed table.
struct ReductionChoice {
  // Floyd-Steinberg error diffusion: what a pixel's colour misses is passed on to the pixels
  // right of and below it, so that gradients dither instead of banding.
  bool Dither = false;
  // For 8 bits: a palette of the picture's own colours (median cut) instead of the halftone
  // table; a picture of at most 256 colours keeps all of them exactly.
  bool OwnPalette = false;

  friend bool operator==(const ReductionChoice&, const ReductionChoice&) = default;
};

// The colours a reduction maps to: the depth's table, or the picture's own palette when
// asked for at 8 bits. Only pixels that mask shows opaque (white) count, when one is given.
std::vector<Colour> ReductionPalette(const Bitmap& picture, int bitDepth, const ReductionChoice& choice,
                                     const Bitmap* mask = nullptr);

// ReduceColours with the choice. With a mask (of the picture's size), pixels it shows
// transparent (black) are left as they are and take no part in the error diffusion.
void ReduceColours(Bitmap& picture, int bitDepth, const ReductionChoice& choice, const Bitmap* mask = nullptr);

}  // namespace brixel
