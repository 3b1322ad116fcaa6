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

// A rectangle of pixels as they stood in an image: each pixel's colour (-1 for an inverting
// one), its mask value and the alpha it is shown with, row by row.
struct ClipRegion {
  Bitmap Colours;
  std::vector<std::int32_t> Masks;
  std::vector<std::uint8_t> Alpha;

  ClipRegion() = default;
  // Opaque black pixels, to be set one by one.
  ClipRegion(int width, int height);
  int Width() const { return Colours.Width; }
  int Height() const { return Colours.Height; }
  bool Empty() const { return Colours.Empty(); }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) + static_cast<std::size_t>(x);
  }
  void Set(int x, int y, Colour colour, std::int32_t mask, std::uint8_t alpha);
  bool IsTransparent(int x, int y) const { return Masks[Index(x, y)] != MaskOpaque; }
  friend bool operator==(const ClipRegion&, const ClipRegion&) = default;
};

// The pixels of the rectangle; empty when it lies wholly outside the image.
ClipRegion CopyRegion(const ImageDocument& document, std::int16_t image, int x1, int y1, int x2,
                      int y2);

// Writes the clip with its top-left pixel at (x, y), every pixel as it was: colour, mask and,
// in an image that keeps alpha, alpha. In an image that keeps none, a pixel shown less than
// half opaque becomes transparent. An opaque colour goes into an image of fewer than 24 bits
// per pixel as its nearest palette entry (NearestPaletteEntry). Pixels landing outside are
// dropped. True when a pixel of the image changed.
bool PasteRegion(ImageDocument& document, std::int16_t image, const ClipRegion& clip, int x,
                 int y);

// Makes the rectangle transparent.
void ClearRegion(ImageDocument& document, std::int16_t image, int x1, int y1, int x2, int y2);

}  // namespace brixel
