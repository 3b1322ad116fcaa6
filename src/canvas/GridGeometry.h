#pragma once

#include <QString>

namespace brixel {

// The edit grid shows this many cells a side when no image is shown.
inline constexpr int kDefaultGridCells = 16;

// --- Zoom: how many screen pixels a cell side takes ---

// The fit view: the whole image in a square of the space the window gives the grid, never less
// than this many pixels a side (fitSide below), whatever the image's size.
inline constexpr int kFitViewPixels = 480;
inline constexpr int kZoomFit = 0;
// No zoom chosen yet: the fit view for images up to kLargestFitCells a side, cells of
// kFirstLargeZoom pixels for larger ones.
inline constexpr int kZoomDefault = -1;
inline constexpr int kLargestFitCells = 64;
inline constexpr int kFirstLargeZoom = 8;

// The largest side in pixels a zoomed view may take: enough for 8-pixel cells up to 1024
// cells, and never more than 8192 pixels (a view of 256 MB).
int LargestViewSide(int cells);
// The zoom shown for a chosen one: a cell side in pixels, or kZoomFit when the choice is the
// fit view, would not give larger cells than the fit view does, or would make the view larger
// than LargestViewSide.
int ShownZoom(int cells, int zoom, int fitSide = kFitViewPixels);
// The side in pixels of the view at a chosen zoom.
int ViewSide(int cells, int zoom, int fitSide = kFitViewPixels);
// The next zoom after the shown one from 2, 3, 4, 6, 8, 12, 16, 24, 32, 48 and 64 pixels a
// cell: the next larger that fits (the shown one when none does), and the next smaller that is
// still larger than the fit view's cells (else the fit view).
int ZoomedIn(int cells, int zoom, int fitSide = kFitViewPixels);
int ZoomedOut(int cells, int zoom, int fitSide = kFitViewPixels);

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
