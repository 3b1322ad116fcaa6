#include "ImagePicture.h"

#include <QPainter>

#include "IconImage.h"
#include "QtColour.h"

namespace brixel {
namespace {

const QColor kCheckerLight(255, 255, 255);
const QColor kCheckerDark(204, 204, 204);

QRgb Premultiplied(Colour colour, int alpha) {
  const QRgb rgb = RgbFromColour(colour);
  return qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), alpha));
}

QBrush CheckerBrush(int square) {
  QImage tile(2 * square, 2 * square, QImage::Format_RGB32);
  tile.fill(kCheckerLight);
  QPainter painter(&tile);
  painter.fillRect(square, 0, square, square, kCheckerDark);
  painter.fillRect(0, square, square, square, kCheckerDark);
  return QBrush(tile);
}

}  // namespace

ImagePicture::ImagePicture(const IconImage& image)
    : colours_(image.Width, image.Height(), QImage::Format_ARGB32_Premultiplied),
      looks_(static_cast<std::size_t>(std::max(image.Width, std::int16_t{0})) *
             static_cast<std::size_t>(std::max(image.Height(), 0))) {
  if (colours_.isNull()) return;
  const bool alpha = image.CarriesAlpha();
  hasAlpha_ = alpha;
  for (int y = 0; y < Height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(colours_.scanLine(y));
    for (int x = 0; x < Width(); ++x) {
      const Colour colour = image.Pixels.At(x, y);
      const int shown = alpha ? AlphaAt(image, x, y) : (image.Mask.At(x, y) == MaskOpaque ? 255 : 0);
      PixelLook look = PixelLook::Coloured;
      if (colour == kNoColour || (shown == 0 && colour != kBlack && !alpha)) {
        look = PixelLook::Inverting;
      } else if (shown == 0) {
        look = PixelLook::Transparent;
      }
      if (look == PixelLook::Inverting) ++inverting_;
      looks_[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
             static_cast<std::size_t>(x)] = look;
      row[x] = look == PixelLook::Coloured ? Premultiplied(colour, shown) : 0;
    }
  }
}

void ImagePicture::Set(int x, int y, Colour colour, PixelLook look) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  PixelLook& old = looks_[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
                          static_cast<std::size_t>(x)];
  inverting_ += (look == PixelLook::Inverting) - (old == PixelLook::Inverting);
  old = look;
  colours_.setPixel(x, y, look == PixelLook::Coloured ? Premultiplied(colour, 255) : 0);
}

QImage ImagePicture::OverCheckerboard(int scale) const {
  QImage shown(Width() * scale, Height() * scale, QImage::Format_RGB32);
  if (shown.isNull()) return shown;
  QPainter painter(&shown);
  PaintCheckerboard(painter, shown.rect());
  painter.drawImage(shown.rect(), colours_);
  if (HasInverting()) {
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width(); ++x) {
        if (Look(x, y) == PixelLook::Inverting) PaintInverted(painter, QRect(x * scale, y * scale, scale, scale));
      }
    }
  }
  return shown;
}

void PaintCheckerboard(QPainter& painter, const QRect& area, int square) {
  static const QBrush small = CheckerBrush(kSmallCheckerSquare);
  static const QBrush large = CheckerBrush(kCheckerSquare);
  painter.fillRect(area, square == kSmallCheckerSquare ? small : large);
}

void PaintInverted(QPainter& painter, const QRect& area) {
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.fillRect(area, Qt::white);
  painter.setCompositionMode(mode);
}

}  // namespace brixel
