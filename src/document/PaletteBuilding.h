#pragma once

#include <cstddef>
#include <vector>

#include "Colour.h"

namespace brixel {

// A palette of at most count colours for the given pixels by median cut: the colour space the
// pixels fill is split, box by box, at the median of the box's widest side until there are
// count boxes; each box gives the mean of its pixels. When the pixels hold no more than count
// distinct colours, those colours are the palette, exactly, in the order first met.
std::vector<Colour> MedianCutPalette(const std::vector<Colour>& pixels, std::size_t count);

}  // namespace brixel
