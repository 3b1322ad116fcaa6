#pragma once

#include <QImage>
#include <QPalette>
#include <QRgb>
#include <cstdint>

#include "PictureSurface.h"

namespace brixel {

// The one place where the program's colour values (red + 256 x green + 65536 x blue) meet
// Qt's 0xAARRGGBB. Only the low 24 bits of a colour value count, so -1 draws as white.
inline QRgb RgbFromColour(std::int32_t colour) {
  const auto bits = static_cast<std::uint32_t>(colour);
  return qRgb(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
              static_cast<int>((bits >> 16) & 0xFFu));
}

inline std::int32_t ColourFromRgb(QRgb rgb) {
  return qRed(rgb) + 256 * qGreen(rgb) + 65536 * qBlue(rgb);
}

// The application palette's colour of a role, as a colour value.
std::int32_t RoleColour(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active);

// A bitmap as an image in Format_RGB32, and back (alpha is ignored).
QImage ImageFromBitmap(const Bitmap& bitmap);
Bitmap BitmapFromImage(const QImage& image);

}  // namespace brixel
