#include "ImagePicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "IconImage.h"
#include "QtColour.h"

namespace brixel {
namespace {

const QColor kCheckerLight(255, 255, 255);
const QColor kCheckerDark(204, 204, 204);

QRgb Premultiplied(Colour colour, int alpha) {
  const QRgb rgb = RgbFromColour(colour);
  if (alpha == 255) return rgb | 0xFF000000u;
  return qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), alpha));
}

// A block of the checkerboard, copied onto an area piece by piece: plain copies of pixels are
// far cheaper than filling with a patterned brush.
constexpr int kCheckerBlock = 256;

QImage CheckerBlock(int square) {
  QImage block(kCheckerBlock + 2 * square, kCheckerBlock + 2 * square, QImage::Format_RGB32);
  // Two rows make the whole block: every row is a copy of the one its band starts with.
  std::vector<QRgb> bands[2];
  for (int band = 0; band < 2; ++band) {
    bands[band].resize(static_cast<std::size_t>(block.width()));
    for (int x = 0; x < block.width(); ++x) {
      const bool dark = ((x / square) + band) % 2 == 1;
      bands[band][static_cast<std::size_t>(x)] = dark ? kCheckerDark.rgb() : kCheckerLight.rgb();
    }
  }
  const auto rowBytes = static_cast<std::size_t>(block.width()) * sizeof(QRgb);
  for (int y = 0; y < block.height(); ++y) {
    std::memcpy(block.scanLine(y), bands[(y / square) % 2].data(), rowBytes);
  }
  return block;
}

// Each block is made the first time it is needed: a start that shows no small squares pays
// for none.
const QImage& SmallCheckerBlock() {
  static const QImage block = CheckerBlock(kSmallCheckerSquare);
  return block;
}

const QImage& LargeCheckerBlock() {
  static const QImage block = CheckerBlock(kCheckerSquare);
  return block;
}

}  // namespace

ImagePicture::ImagePicture(const IconImage& image)
    : colours_(image.Width, image.Height(), QImage::Format_ARGB32_Premultiplied),
      looks_(static_cast<std::size_t>(std::max(image.Width, std::int16_t{0})) *
             static_cast<std::size_t>(std::max(image.Height(), 0))) {
  if (colours_.isNull()) return;
  const bool alpha = image.CarriesAlpha() && image.Alpha.Columns() >= Width() &&
                     image.Alpha.Rows() >= Height();
  hasAlpha_ = alpha;
  // Width and height are read once: QImage's accessors are calls the loop cannot hoist.
  const int width = Width();
  const int height = Height();
  PixelLook* looks = looks_.data();
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(colours_.scanLine(y));
    const std::int32_t* pixels = image.Pixels.Row(y);
    const std::int32_t* mask = image.Mask.Row(y);
    const std::int32_t* alphas = alpha ? image.Alpha.Row(y) : nullptr;
    for (int x = 0; x < width; ++x, ++looks) {
      const Colour colour = pixels[x];
      const int shown = alphas ? alphas[x] : (mask[x] == MaskOpaque ? 255 : 0);
      PixelLook look = PixelLook::Coloured;
      if (colour == kNoColour || (shown == 0 && colour != kBlack && !alpha)) {
        look = PixelLook::Inverting;
        ++inverting_;
      } else if (shown == 0) {
        look = PixelLook::Transparent;
      }
      *looks = look;
      row[x] = look == PixelLook::Coloured ? Premultiplied(colour, shown) : 0;
    }
  }
}

void ImagePicture::Set(int x, int y, Colour colour, PixelLook look) { Put(x, y, colour, look, 255); }

void ImagePicture::SetFrom(const IconImage& image, int x, int y) {
  if (!image.Pixels.Contains(x, y) || !image.Mask.Contains(x, y)) return;
  const Colour colour = image.Pixels.At(x, y);
  const bool alpha = image.Alpha.Contains(x, y);
  const int shown = AlphaAt(image, x, y);
  PixelLook look = PixelLook::Coloured;
  if (colour == kNoColour || (shown == 0 && colour != kBlack && !alpha)) {
    look = PixelLook::Inverting;
  } else if (shown == 0) {
    look = PixelLook::Transparent;
  }
  Put(x, y, colour, look, shown);
}

void ImagePicture::Put(int x, int y, Colour colour, PixelLook look, int alpha) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  PixelLook& old = looks_[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
                          static_cast<std::size_t>(x)];
  inverting_ += (look == PixelLook::Inverting) - (old == PixelLook::Inverting);
  old = look;
  if (look == PixelLook::Coloured && alpha < 255) hasAlpha_ = true;
  colours_.setPixel(x, y, look == PixelLook::Coloured ? Premultiplied(colour, alpha) : 0);
}

QImage ImagePicture::OverCheckerboard(int scale) const {
  QImage shown(Width() * scale, Height() * scale, QImage::Format_RGB32);
  if (shown.isNull()) return shown;
  QPainter painter(&shown);
  PaintOverCheckerboard(painter, QPoint(0, 0), scale, kCheckerSquare);
  return shown;
}

QImage ImagePicture::FittedOverCheckerboard(int width) const {
  if (Empty() || width >= Width()) return OverCheckerboard();
  width = std::max(1, width);
  const int height = std::max(1, static_cast<int>(std::lround(double(Height()) * width / Width())));
  QImage shown(width, height, QImage::Format_RGB32);
  if (shown.isNull()) return shown;
  QPainter painter(&shown);
  PaintCheckerboard(painter, shown.rect(), kCheckerSquare);
  painter.drawImage(0, 0, colours_.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  if (HasInverting()) {
    // Each image pixel covers the screen pixels from its scaled start to the next one's; those
    // spans tile the picture, so no screen pixel is inverted twice.
    for (int y = 0; y < Height(); ++y) {
      const int top = y * height / Height();
      const int bottom = (y + 1) * height / Height();
      if (bottom == top) continue;
      for (int x = 0; x < Width(); ++x) {
        if (Look(x, y) != PixelLook::Inverting) continue;
        const int left = x * width / Width();
        const int right = (x + 1) * width / Width();
        if (right > left) PaintInverted(painter, QRect(left, top, right - left, bottom - top));
      }
    }
  }
  return shown;
}

void ImagePicture::PaintOverCheckerboard(QPainter& painter, QPoint origin, int scale, int square) const {
  if (Empty()) return;
  painter.save();
  painter.translate(origin);
  const QRect shown(0, 0, Width() * scale, Height() * scale);
  PaintCheckerboard(painter, shown, square);
  painter.drawImage(shown, colours_);
  if (HasInverting()) {
    // One fill for each run of inverting pixels in a row.
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width();) {
        if (Look(x, y) != PixelLook::Inverting) {
          ++x;
          continue;
        }
        const int start = x;
        while (x < Width() && Look(x, y) == PixelLook::Inverting) ++x;
        PaintInverted(painter, QRect(start * scale, y * scale, (x - start) * scale, scale));
      }
    }
  }
  painter.restore();
}

void PaintCheckerboard(QPainter& painter, const QRect& area, int square) {
  const QImage& block = square == kSmallCheckerSquare ? SmallCheckerBlock() : LargeCheckerBlock();
  const int period = 2 * (square == kSmallCheckerSquare ? kSmallCheckerSquare : kCheckerSquare);
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (int y = area.top(); y <= area.bottom(); y += kCheckerBlock) {
    for (int x = area.left(); x <= area.right(); x += kCheckerBlock) {
      // The block starts on a square's corner; the part copied starts where x and y fall.
      const int offsetX = ((x % period) + period) % period;
      const int offsetY = ((y % period) + period) % period;
      const int width = std::min(kCheckerBlock, area.right() + 1 - x);
      const int height = std::min(kCheckerBlock, area.bottom() + 1 - y);
      painter.drawImage(QPoint(x, y), block, QRect(offsetX, offsetY, width, height));
    }
  }
  painter.setCompositionMode(mode);
}

void PaintInverted(QPainter& painter, const QRect& area) {
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.fillRect(area, Qt::white);
  painter.setCompositionMode(mode);
}

}  // namespace brixel
