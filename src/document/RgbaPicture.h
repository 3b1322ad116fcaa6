#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "IconImage.h"

namespace brixel {

struct LoadedPicture;

// Width x height pixels of 8-bit red, green, blue and alpha (straight, not premultiplied),
// rows from the top: what thumbnails are written from and icon sets are made of.
struct RgbaPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgba;

  RgbaPicture() = default;
  // All transparent black.
  RgbaPicture(int width, int height)
      : Width(width), Height(height),
        Rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0) {}

  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::uint8_t* At(int x, int y) { return Rgba.data() + Offset(x, y); }
  const std::uint8_t* At(int x, int y) const { return Rgba.data() + Offset(x, y); }

  friend bool operator==(const RgbaPicture&, const RgbaPicture&) = default;

 private:
  std::size_t Offset(int x, int y) const {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
            static_cast<std::size_t>(x)) * 4;
  }
};

// The picture resized to width x height by area averaging: each target pixel is the mean of
// the source area it covers, partial pixels weighted by the part covered. Colours are
// averaged weighted by their alpha, so fully transparent pixels lend no colour to their
// neighbours. Raises "Invalid procedure call" for a size below 1 or an empty source.
RgbaPicture ScaleByArea(const RgbaPicture& source, int width, int height);

// Every pixel repeated factor x factor times (factor at least 1).
RgbaPicture EnlargeByPixels(const RgbaPicture& source, int factor);

// The source drawn unchanged at (left, top) onto a size x size transparent square; what falls
// outside the square is left out.
RgbaPicture PlacedOnSquare(const RgbaPicture& source, int size, int left, int top);

// How the image shows: its colours with its alpha (its own, or 255 where the mask is opaque
// and 0 elsewhere); fully transparent pixels are transparent black. Inverting pixels show
// black, as they do over a white background.
RgbaPicture RgbaFromImage(const IconImage& image);
// The same with the alpha a writer gives it now (WrittenAlphaAt): for files written from it.
RgbaPicture RgbaForWriting(const IconImage& image);

// A picture read for import, its alpha kept (255 throughout without one).
RgbaPicture RgbaFromPicture(const LoadedPicture& picture);
// The other way: a picture to import with the picture's colours and alpha.
LoadedPicture PictureFromRgba(const RgbaPicture& rgba);

}  // namespace brixel
