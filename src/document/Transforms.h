#pragma once

#include "IconImage.h"

namespace brixel {

// One-pixel moves: 0 left, 1 right, 2 up, 3 down. The vacated line becomes transparent
// black; any other direction does nothing.
void ShiftImage(IconImage& image, int direction);

// 0 quarter turn anticlockwise, 1 clockwise, 2 mirror left to right, 3 mirror top to bottom.
// Quarter turns keep width and height; any other direction does nothing.
void RotateImage(IconImage& image, int direction);

}  // namespace brixel
