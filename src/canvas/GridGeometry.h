#pragma once

#include <QString>

namespace brixel {

// The edit grid shows this many cells a side when no image is shown.
inline constexpr int kDefaultGridCells = 16;

// Where the red centre lines of a grid of the given cell count lie: half the count, halves
// to the even neighbour (8 for 16 cells, 16 for 33).
int CentreLine(int cells);

// The pixel a logical pointer coordinate falls on: truncated toward zero, so -0.4 gives 0.
// Values beyond the int range are held at its ends; NaN gives 0.
int PixelOf(float logical);

// The position label's text: both pixels as plain decimals joined by a hyphen ("5-12", "-1-3").
QString LocationText(float x, float y);

// Whether a raw pointer position lies outside an image of width by height pixels.
bool OutsideImage(float x, float y, int width, int height);

}  // namespace brixel
