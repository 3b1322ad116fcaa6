#include "Clip.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "ClipTransfer.h"
#include "Colour.h"
#include "PictureBox.h"
#include "QtColour.h"

namespace brixel {
Clip::Clip(QWidget& parent) : surface_(new PictureBox(1, 1, &parent)) {
  surface_->setObjectName("PctClip");
  surface_->hide();
  surface_->Surface().Resize(0, 0);
}

bool Clip::Copy(const ImageDocument& document, std::int16_t image, int x1, int y1, int x2,
                int y2) {
  ClipAlpha alpha;
  Bitmap copied = CopyRegion(document, image, x1, y1, x2, y2, &alpha);
  if (copied.Empty()) return false;
  pixels_ = std::move(copied);
  alpha_ = std::move(alpha);
  available_ = true;
  Show();
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    clipboard->setImage(ClipImage(pixels_, alpha_));
  }
  return true;
}

void Clip::Clear() {
  pixels_ = Bitmap();
  alpha_.clear();
  desktopPaste_ = Bitmap();
  available_ = false;
  Show();
}

bool Clip::ArmPaste() {
  pasteFromDesktop_ = false;
  if (available_) return true;
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  const QImage picture = clipboard->image();
  if (picture.isNull()) return false;
  desktopPaste_ = ClipFromImage(picture);
  pasteFromDesktop_ = !desktopPaste_.Empty();
  return pasteFromDesktop_;
}

void Clip::Place(ImageDocument& document, std::int16_t image, int x, int y) const {
  const Bitmap& source = pasteFromDesktop_ ? desktopPaste_ : pixels_;
  if (!source.Empty()) PasteRegion(document, image, source, x, y, pasteFromDesktop_ ? nullptr : &alpha_);
}

void Clip::Show() {
  QtPictureSurface& surface = surface_->Surface();
  surface.Resize(pixels_.Width, pixels_.Height);
  surface.Cls();
  for (int y = 0; y < pixels_.Height; ++y) {
    for (int x = 0; x < pixels_.Width; ++x) {
      const std::int32_t colour = pixels_.At(x, y);
      if (colour != kNoColour) surface.PSet(static_cast<float>(x), static_cast<float>(y), colour);
    }
  }
}

QImage ClipImage(const Bitmap& clip, const ClipAlpha& alpha) {
  QImage image(clip.Width, clip.Height, QImage::Format_ARGB32);
  const bool withAlpha = alpha.size() == clip.Pixels.size();
  for (int y = 0; y < clip.Height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < clip.Width; ++x) {
      const std::int32_t colour = clip.At(x, y);
      if (colour < 0) {
        row[x] = qRgba(0, 0, 0, 0);
        continue;
      }
      const QRgb rgb = RgbFromColour(colour);
      const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(clip.Width) +
                      static_cast<std::size_t>(x);
      row[x] = qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), withAlpha ? alpha[at] : 255);
    }
  }
  return image;
}

Bitmap ClipFromImage(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  Bitmap clip(argb.width(), argb.height(), kWhite);
  for (int y = 0; y < clip.Height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < clip.Width; ++x) {
      if (qAlpha(row[x]) >= 128) clip.At(x, y) = ColourFromRgb(row[x]);
    }
  }
  return clip;
}

}  // namespace brixel
