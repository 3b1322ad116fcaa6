#pragma once

#include <cstdint>

#include "BitmapPixels.h"
#include "QtPictureSurface.h"

namespace brixel {

// The bitmap pixel operations over picture surfaces. A surface holds true colour, 32 bits per
// pixel, so no palette ever needs matching; the device formats' conversions still apply to
// whatever format a surface's image has. Errors are raised as BitmapPixelError for the caller.

// The surface's drawing as pixels, and the bits per pixel of its image (8, 15, 16, 24, 32).
void GetBitmapPixels(const QtPictureSurface& picture, PixelArray& pixels,
                     std::int16_t& bitsPerPixel);

// Writes pixels (of their own size) as the surface's picture, through the rows of the given
// format (clamping the 16-bit layouts' parts in pixels), and shows it.
void SetBitmapPixels(QtPictureSurface& picture, std::int16_t bitsPerPixel, PixelArray& pixels);

// Nothing to match: surfaces have no palette.
void MatchColorPalette(QtPictureSurface& picture);

// Reduces the source's drawing to the fixed table of depth 1, 4 or 8 (24 copies it as it is)
// and makes the result the picture of destination, or of source without one. Any other depth
// changes nothing.
void ChangeColorDepth(QtPictureSurface& source, std::int32_t depth,
                      QtPictureSurface* destination = nullptr);

// Bilinear resampling of the source area onto the target area (ResampleBilinear), read and
// written once through the pixel operations; the result becomes the target's picture.
void ResamplePicture(const QtPictureSurface& source, QtPictureSurface& target, float x0, float y0,
                     float w, float h, float x1, float y1, float tw, float th);

}  // namespace brixel
