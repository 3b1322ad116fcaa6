#include "Transforms.h"

namespace brixel {
namespace {

// Whether the image keeps an alpha for each pixel of its picture.
bool HasAlphaGrid(const IconImage& image) {
  return image.CarriesAlpha() && image.Alpha.Columns() >= image.Width &&
         image.Alpha.Rows() >= image.Height();
}

// Pixels move with their alpha, where the image keeps one.
void MovePixel(IconImage& image, int fromX, int fromY, int toX, int toY) {
  image.Pixels.At(toX, toY) = image.Pixels.At(fromX, fromY);
  image.Mask.At(toX, toY) = image.Mask.At(fromX, fromY);
  if (HasAlphaGrid(image)) image.Alpha.At(toX, toY) = image.Alpha.At(fromX, fromY);
}

void ClearPixel(IconImage& image, int x, int y) {
  image.Pixels.At(x, y) = kBlack;
  SetMask(image, x, y, MaskTransparent);
}

}  // namespace

void ShiftImage(IconImage& image, int direction) {
  const int w = image.Width;
  const int h = image.Height();
  switch (direction) {
    case 0:
      for (int y = 0; y < h; ++y) {
        for (int x = 1; x < w; ++x) MovePixel(image, x, y, x - 1, y);
        ClearPixel(image, w - 1, y);
      }
      break;
    case 1:
      for (int y = 0; y < h; ++y) {
        for (int x = w - 2; x >= 0; --x) MovePixel(image, x, y, x + 1, y);
        ClearPixel(image, 0, y);
      }
      break;
    case 2:
      for (int x = 0; x < w; ++x) {
        for (int y = 1; y < h; ++y) MovePixel(image, x, y, x, y - 1);
        ClearPixel(image, x, h - 1);
      }
      break;
    case 3:
      for (int x = 0; x < w; ++x) {
        for (int y = h - 2; y >= 0; --y) MovePixel(image, x, y, x, y + 1);
        ClearPixel(image, x, 0);
      }
      break;
    default:
      break;
  }
}

void RotateImage(IconImage& image, int direction) {
  if (direction < 0 || direction > 3) return;
  const int w = image.Width;
  const int h = image.Height();
  const Grid pixels = image.Pixels;
  const Grid mask = image.Mask;
  const Grid alpha = image.Alpha;
  const bool withAlpha = HasAlphaGrid(image);
  auto take = [&](int x, int y, int sx, int sy) {
    image.Pixels.At(x, y) = pixels.At(sx, sy);
    image.Mask.At(x, y) = mask.At(sx, sy);
    if (withAlpha) image.Alpha.At(x, y) = alpha.At(sx, sy);
  };
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) {
      // Quarter turns walk the destination column by column; the k-th pixel takes the
      // source chosen by k, which for square images is the usual turn.
      const int k = x * h + y;
      switch (direction) {
        case 0: take(x, y, w - 1 - k % w, k / w); break;
        case 1: take(x, y, k % w, h - 1 - k / w); break;
        case 2: take(x, y, w - 1 - x, y); break;
        case 3: take(x, y, x, h - 1 - y); break;
      }
    }
  }
}

}  // namespace brixel
