#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Colour.h"
#include "ErrorReport.h"
#include "FileIO.h"
#include "PictureSurface.h"

namespace brixel {

// One pixel as the bitmap pixel operations read and write it. For 8, 24 and 32 bits per
// pixel each part runs 0 .. 255; the 16-bit layouts keep their own ranges (5-5-5: 0 .. 31
// each; 5-6-5: green 0 .. 63).
struct PixelBGR {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;

  friend bool operator==(const PixelBGR&, const PixelBGR&) = default;
};

// Width x height pixels addressed (x, y), row 0 at the top.
class PixelArray {
 public:
  PixelArray() = default;
  PixelArray(int width, int height, PixelBGR fill = {})
      : width_(width), height_(height),
        pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  PixelBGR& At(int x, int y) { return pixels_[Index(x, y)]; }
  const PixelBGR& At(int x, int y) const { return pixels_[Index(x, y)]; }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<PixelBGR> pixels_;
};

inline constexpr PixelBGR PixelFromColour(Colour colour) {
  return {static_cast<std::uint8_t>(BlueOf(colour)), static_cast<std::uint8_t>(GreenOf(colour)),
          static_cast<std::uint8_t>(RedOf(colour))};
}
inline constexpr Colour ColourFromPixel(PixelBGR pixel) {
  return MakeColour(pixel.Red, pixel.Green, pixel.Blue);
}

Bitmap BitmapFromPixels(const PixelArray& pixels);

// The errors the pixel operations raise for their callers, who report them under Source().
inline constexpr int kInvalidBitsPerPixelError = static_cast<int>(0x800403E9u);
inline constexpr std::string_view kGetBitmapPixelsSource = "DDBHelper.GetBitmapPixels";

class BitmapPixelError : public BackEndError {
 public:
  BitmapPixelError(int number, std::string description, std::string_view source)
      : BackEndError(number, std::move(description)), source_(source) {}
  std::string_view Source() const { return source_; }

 private:
  std::string_view source_;
};

// "Invalid number of bits per pixel: " and the number, from "DDBHelper.GetBitmapPixels".
[[noreturn]] void RaiseInvalidBitsPerPixel(int bitsPerPixel);

// Bytes a row of pixels takes at the depth: 1, 2, 3 or 4 per pixel, raised to an even count.
// Raises the invalid bits error for depths other than 8, 15, 16, 24 and 32.
std::size_t PixelRowBytes(int width, int bitsPerPixel);

// Raw device rows (top row first, bytesPerRow each, multi-byte pixels little-endian) to
// pixels. For 8 bits each byte is an index into palette (missing entries read as black).
PixelArray DecodePixelRows(ByteView raw, int width, int height, std::size_t bytesPerRow,
                           int bitsPerPixel, const std::vector<Colour>& palette = {});

// Pixels to raw rows of PixelRowBytes, zero-filled. The 16-bit layouts first clamp the parts
// to their ranges in pixels itself; 8 bits stores the index of the palette entry nearest to
// each pixel's colour.
Bytes EncodePixelRows(PixelArray& pixels, int bitsPerPixel,
                      const std::vector<Colour>& palette = {});

}  // namespace brixel
