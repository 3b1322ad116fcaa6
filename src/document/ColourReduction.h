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

}  // namespace brixel
