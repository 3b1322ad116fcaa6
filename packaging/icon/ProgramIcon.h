#pragma once

#include "cIco.h"

namespace brixel {

// The sizes of the program's icon, each a multiple of the 16-cell design.
inline constexpr int kProgramIconSizes[] = {16, 32, 48, 64, 128};

// Adds the program's icon to the document, one 24-bit image per size, smallest first: a dark
// tile with rounded corners carrying a pixel-art arrow pointer and four colour swatches, all
// drawn on a 16 x 16 grid of cells. From 64 pixels on the cells are parted by thin gaps.
void DrawProgramIcon(cIco& document);

}  // namespace brixel
