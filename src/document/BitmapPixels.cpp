#include "BitmapPixels.h"

#include <algorithm>

#include "Palette.h"

namespace brixel {
namespace {

int BytesPerPixel(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: RaiseInvalidBitsPerPixel(bitsPerPixel);
  }
}

}  // namespace

Bitmap BitmapFromPixels(const PixelArray& pixels) {
  if (pixels.Empty()) return Bitmap();
  Bitmap bitmap(pixels.Width(), pixels.Height(), kBlack);
  for (int y = 0; y < pixels.Height(); ++y) {
    for (int x = 0; x < pixels.Width(); ++x) bitmap.At(x, y) = ColourFromPixel(pixels.At(x, y));
  }
  return bitmap;
}

void RaiseInvalidBitsPerPixel(int bitsPerPixel) {
  throw BitmapPixelError(kInvalidBitsPerPixelError,
                         "Invalid number of bits per pixel: " + std::to_string(bitsPerPixel),
                         kGetBitmapPixelsSource);
}

std::size_t PixelRowBytes(int width, int bitsPerPixel) {
  const std::size_t bytes =
      static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(BytesPerPixel(bitsPerPixel));
  return bytes + (bytes % 2);
}

PixelArray DecodePixelRows(ByteView raw, int width, int height, std::size_t bytesPerRow,
                           int bitsPerPixel, const std::vector<Colour>& palette) {
  const std::size_t pixelBytes = static_cast<std::size_t>(BytesPerPixel(bitsPerPixel));
  if (width <= 0 || height <= 0) return PixelArray();
  if (bytesPerRow < pixelBytes * static_cast<std::size_t>(width) ||
      raw.size() / bytesPerRow < static_cast<std::size_t>(height)) {
    Raise(ErrorCode::InputPastEnd);
  }
  PixelArray pixels(width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * bytesPerRow;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = row + static_cast<std::size_t>(x) * pixelBytes;
      PixelBGR& out = pixels.At(x, y);
      switch (bitsPerPixel) {
        case 8: {
          const Colour colour = p[0] < palette.size() ? palette[p[0]] : kBlack;
          out = PixelFromColour(colour);
          break;
        }
        case 15: {
          unsigned v = p[0] + 256u * p[1];
          out.Blue = static_cast<std::uint8_t>(v % 32);
          v /= 32;
          out.Green = static_cast<std::uint8_t>(v % 32);
          // Bit 15 carries no colour.
          out.Red = static_cast<std::uint8_t>((v / 32) % 32);
          break;
        }
        case 16: {
          unsigned v = p[0] + 256u * p[1];
          out.Blue = static_cast<std::uint8_t>(v % 32);
          v /= 32;
          out.Green = static_cast<std::uint8_t>(v % 64);
          out.Red = static_cast<std::uint8_t>(v / 64);
          break;
        }
        default:  // 24 and 32: blue, green, red; a fourth byte carries no colour
          out = {p[0], p[1], p[2]};
          break;
      }
    }
  }
  return pixels;
}

Bytes EncodePixelRows(PixelArray& pixels, int bitsPerPixel, const std::vector<Colour>& palette) {
  const std::size_t rowBytes = PixelRowBytes(pixels.Width(), bitsPerPixel);
  if (pixels.Empty()) return Bytes();
  Bytes raw(rowBytes * static_cast<std::size_t>(pixels.Height()), 0);
  for (int y = 0; y < pixels.Height(); ++y) {
    std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < pixels.Width(); ++x) {
      PixelBGR& in = pixels.At(x, y);
      switch (bitsPerPixel) {
        case 8: {
          const std::int32_t entry = NearestPaletteEntry(palette, ColourFromPixel(in));
          row[x] = static_cast<std::uint8_t>(entry < 0 ? 0 : entry);
          break;
        }
        case 15:
        case 16: {
          const std::uint8_t greenTop = bitsPerPixel == 15 ? 31 : 63;
          in.Red = std::min<std::uint8_t>(in.Red, 31);
          in.Green = std::min(in.Green, greenTop);
          in.Blue = std::min<std::uint8_t>(in.Blue, 31);
          const unsigned v = (in.Red * (greenTop + 1u) + in.Green) * 32u + in.Blue;
          row[2 * x] = static_cast<std::uint8_t>(v % 256);
          row[2 * x + 1] = static_cast<std::uint8_t>((v / 256) % 256);
          break;
        }
        case 24: {
          std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
          p[0] = in.Blue;
          p[1] = in.Green;
          p[2] = in.Red;
          break;
        }
        default: {  // 32
          std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
          p[0] = in.Blue;
          p[1] = in.Green;
          p[2] = in.Red;
          break;
        }
      }
    }
  }
  return raw;
}

}  // namespace brixel
