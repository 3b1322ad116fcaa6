#pragma once

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <vector>

#include "Colour.h"

class QPainter;
class QRect;

namespace brixel {

struct IconImage;

// How a pixel shows: with its colour (and alpha), as a hole, or inverting what lies behind it.
enum class PixelLook : std::int8_t { Inverting = -1, Transparent = 0, Coloured = 1 };

// An image as it shows, one pixel per image pixel: the colours premultiplied with their alpha
// (nothing where a pixel is transparent or inverting) and the look of every pixel. What the
// grid, the strip and the actual-size view draw from.
class ImagePicture {
 public:
  ImagePicture() = default;
  // Half-transparent pixels of an image that carries alpha keep their alpha; every other pixel
  // not opaque is transparent when black, inverting otherwise.
  explicit ImagePicture(const IconImage& image);

  bool Empty() const { return colours_.isNull(); }
  int Width() const { return colours_.width(); }
  int Height() const { return colours_.height(); }
  // Whether the image carries alpha of its own, rather than only its mask.
  bool HasAlpha() const { return hasAlpha_; }
  const QImage& Colours() const { return colours_; }
  PixelLook Look(int x, int y) const {
    return looks_[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
                  static_cast<std::size_t>(x)];
  }
  bool HasInverting() const { return inverting_ > 0; }

  // One pixel made opaque in a colour, transparent or inverting.
  void Set(int x, int y, Colour colour, PixelLook look);
  // One pixel shown again as the image holds it now.
  void SetFrom(const IconImage& image, int x, int y);

  // The picture over the checkerboard, each pixel scale x scale screen pixels, inverting pixels
  // showing the checkerboard inverted.
  QImage OverCheckerboard(int scale = 1) const;
  // The picture fitted into width screen pixels (never enlarged, proportions kept) over the
  // checkerboard. The colours are scaled smoothly before they are blended, so a large image
  // costs only the pixels shown.
  QImage FittedOverCheckerboard(int width) const;
  // The same painted with its top-left corner at origin, squares of the checkerboard square
  // pixels a side; the painter's clip limits the work.
  void PaintOverCheckerboard(QPainter& painter, QPoint origin, int scale, int square) const;

 private:
  void Put(int x, int y, Colour colour, PixelLook look, int alpha);

  QImage colours_;
  std::vector<PixelLook> looks_;
  int inverting_ = 0;
  bool hasAlpha_ = false;
};

// The light and dark squares that show transparency, square pixels a side (4 or 8) from the
// painter's origin.
inline constexpr int kCheckerSquare = 8;
inline constexpr int kSmallCheckerSquare = 4;
void PaintCheckerboard(QPainter& painter, const QRect& area, int square = kCheckerSquare);
// Inverts what is painted in area: how inverting pixels show.
void PaintInverted(QPainter& painter, const QRect& area);

}  // namespace brixel
