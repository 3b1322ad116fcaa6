#include "QtColour.h"

#include <QGuiApplication>

namespace brixel {

std::int32_t RoleColour(QPalette::ColorRole role, QPalette::ColorGroup group) {
  return ColourFromRgb(QGuiApplication::palette().color(group, role).rgb());
}

QImage ImageFromBitmap(const Bitmap& bitmap) {
  if (bitmap.Empty()) return QImage();
  QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB32);
  if (image.isNull()) return image;
  for (int y = 0; y < bitmap.Height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width; ++x) line[x] = RgbFromColour(bitmap.At(x, y));
  }
  return image;
}

Bitmap BitmapFromImage(const QImage& image) {
  if (image.isNull()) return Bitmap();
  const QImage rgb = image.format() == QImage::Format_RGB32
                         ? image
                         : image.convertToFormat(QImage::Format_RGB32);
  Bitmap bitmap(rgb.width(), rgb.height(), 0);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) bitmap.At(x, y) = ColourFromRgb(line[x]);
  }
  return bitmap;
}

}  // namespace brixel
