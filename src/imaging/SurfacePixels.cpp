#include "SurfacePixels.h"

#include "ColourReduction.h"
#include "QtColour.h"
#include "Resampling.h"

namespace brixel {
namespace {

std::vector<Colour> ColourTable(const QImage& image) {
  std::vector<Colour> table;
  for (const QRgb rgb : image.colorTable()) table.push_back(ColourFromRgb(rgb));
  return table;
}

}  // namespace

void GetBitmapPixels(const QtPictureSurface& picture, PixelArray& pixels,
                     std::int16_t& bitsPerPixel) {
  const QImage& image = picture.Canvas();
  int bits = image.depth();
  if (image.format() == QImage::Format_RGB555) bits = 15;
  if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) {
    RaiseInvalidBitsPerPixel(bits);
  }
  bitsPerPixel = static_cast<std::int16_t>(bits);
  const ByteView raw(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
  pixels = DecodePixelRows(raw, image.width(), image.height(),
                           static_cast<std::size_t>(image.bytesPerLine()), bits, ColourTable(image));
}

void SetBitmapPixels(QtPictureSurface& picture, std::int16_t bitsPerPixel, PixelArray& pixels) {
  const Bytes raw = EncodePixelRows(pixels, bitsPerPixel, ColourTable(picture.Canvas()));
  const PixelArray written =
      DecodePixelRows(raw, pixels.Width(), pixels.Height(),
                      PixelRowBytes(pixels.Width(), bitsPerPixel), bitsPerPixel,
                      ColourTable(picture.Canvas()));
  picture.SetPicture(BitmapFromPixels(written));
  picture.Refresh();
}

void MatchColorPalette(QtPictureSurface&) {}

void ChangeColorDepth(QtPictureSurface& source, std::int32_t depth,
                      QtPictureSurface* destination) {
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return;
  Bitmap picture = source.Image();
  ReduceColours(picture, depth);
  QtPictureSurface& target = destination ? *destination : source;
  target.SetPicture(picture);
  target.Refresh();
}

void ResamplePicture(const QtPictureSurface& source, QtPictureSurface& target, float x0, float y0,
                     float w, float h, float x1, float y1, float tw, float th) {
  PixelArray from;
  PixelArray to;
  std::int16_t sourceBits = 0;
  std::int16_t targetBits = 0;
  GetBitmapPixels(source, from, sourceBits);
  GetBitmapPixels(target, to, targetBits);
  ResampleBilinear(from, to, x0, y0, w, h, x1, y1, tw, th);
  SetBitmapPixels(target, targetBits, to);
}

}  // namespace brixel
