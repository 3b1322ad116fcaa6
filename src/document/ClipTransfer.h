#pragma once

#include <cstdint>
#include <vector>

#include "ImageDocument.h"
#include "PictureSurface.h"

namespace brixel {

// Moving rectangles of pixels between an image and the editor's clip. The rectangle is given
// by two corner pixels in either order and is cut back to the image (0 .. width - 1 and
// 0 .. height - 1). Failures, an image index outside the list among them, are reported under
// each function's label.

// The alpha of a clip's pixels, row by row like its colours; empty when the image the clip
// came from keeps no alpha.
using ClipAlpha = std::vector<std::uint8_t>;

// The colour values of the rectangle, masks left behind: a transparent pixel comes as black,
// an inverting one as -1. Empty when the rectangle lies wholly outside the image. When alpha
// is given it receives the pixels' alpha if the image keeps one, and is emptied otherwise.
Bitmap CopyRegion(const ImageDocument& document, std::int16_t image, int x1, int y1, int x2,
                  int y2, ClipAlpha* alpha = nullptr);

// Writes the clip with its top-left pixel at (x, y). White clip pixels are left out; -1 is
// written as an inverting pixel; any other colour opaque, in an image of fewer than 24 bits
// per pixel as its palette entry (NearestPaletteEntry). Pixels landing outside are dropped.
// In an image that keeps alpha an opaque pixel takes the clip's alpha (from alpha, when it
// holds one for every clip pixel), 255 where that is 0 or there is none.
void PasteRegion(ImageDocument& document, std::int16_t image, const Bitmap& clip, int x, int y,
                 const ClipAlpha* alpha = nullptr);

// Makes the rectangle transparent.
void ClearRegion(ImageDocument& document, std::int16_t image, int x1, int y1, int x2, int y2);

}  // namespace brixel
