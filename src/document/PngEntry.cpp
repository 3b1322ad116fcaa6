#include "PngEntry.h"

namespace brixel {

void FillFromRgba(IconImage& image, const std::uint8_t* rgba, bool keepAlpha) {
  const int width = image.Width;
  const int height = image.Height();
  if (keepAlpha) image.Alpha = Grid(width, height, 0);
  for (int y = 0; y < height; ++y) {
    std::int32_t* pixels = image.Pixels.Row(y);
    std::int32_t* mask = image.Mask.Row(y);
    std::int32_t* alphas = keepAlpha ? image.Alpha.Row(y) : nullptr;
    for (int x = 0; x < width; ++x, rgba += 4) {
      const PngPixel read = ReadPngPixel(rgba, keepAlpha);
      pixels[x] = read.colour;
      mask[x] = read.mask;
      if (alphas) alphas[x] = rgba[3];
    }
  }
}

bool UnchangedSincePngRead(const IconImage& image) {
  const PngEntrySource* source = image.ReadFrom.source.get();
  if (!source || !image.CarriesAlpha()) return false;
  const int width = image.Width;
  const int height = image.Height();
  if (source->width != width || source->height != height || image.Alpha.Columns() != width ||
      image.Alpha.Rows() != height || image.Pixels.Columns() != width || image.Pixels.Rows() != height ||
      image.Mask.Columns() < width || image.Mask.Rows() != height) {
    return false;
  }
  const std::uint8_t* p = source->rgba.data();
  for (int y = 0; y < height; ++y) {
    const std::int32_t* pixels = image.Pixels.Row(y);
    const std::int32_t* mask = image.Mask.Row(y);
    const std::int32_t* alpha = image.Alpha.Row(y);
    for (int x = 0; x < width; ++x, p += 4) {
      const PngPixel read = ReadPngPixel(p, true);
      if (pixels[x] != read.colour || mask[x] != read.mask || alpha[x] != p[3]) return false;
    }
  }
  return true;
}

}  // namespace brixel
