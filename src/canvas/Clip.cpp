#include "Clip.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "AlphaChannel.h"
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

namespace {

// Marks the desktop clipboard's content as a clip of this editor's, with the process and
// the clip as the value: another running editor's clip is not ours to clear.
constexpr const char* kClipMarker = "application/x-brixel-clip";

QByteArray ClipToken(const Clip* clip) {
  return QByteArray::number(QCoreApplication::applicationPid()) + ":" +
         QByteArray::number(reinterpret_cast<quintptr>(clip));
}

}  // namespace

bool Clip::Copy(const ImageDocument& document, std::int16_t image, int x1, int y1, int x2,
                int y2) {
  ClipRegion copied = CopyRegion(document, image, x1, y1, x2, y2);
  if (copied.Empty()) return false;
  pixels_ = std::move(copied);
  available_ = true;
  Show();
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    auto* data = new QMimeData;
    data->setImageData(ClipImage(pixels_));
    data->setData(kClipMarker, ClipToken(this));
    clipboard->setMimeData(data);  // which takes it over
  }
  return true;
}

void Clip::Clear() {
  pixels_ = ClipRegion();
  desktopPaste_ = ClipRegion();
  available_ = false;
  Show();
  // What other programs put on the clipboard since is theirs and stays.
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    const QMimeData* data = clipboard->mimeData();
    if (data && data->data(kClipMarker) == ClipToken(this)) clipboard->clear();
  }
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

bool Clip::Place(ImageDocument& document, std::int16_t image, int x, int y) const {
  const ClipRegion& source = pasteFromDesktop_ ? desktopPaste_ : pixels_;
  return !source.Empty() && PasteRegion(document, image, source, x, y);
}

void Clip::Show() {
  QtPictureSurface& surface = surface_->Surface();
  surface.Resize(pixels_.Width(), pixels_.Height());
  surface.Cls();
  for (int y = 0; y < pixels_.Height(); ++y) {
    for (int x = 0; x < pixels_.Width(); ++x) {
      const std::int32_t colour = pixels_.Colours.At(x, y);
      if (colour != kNoColour) surface.PSet(static_cast<float>(x), static_cast<float>(y), colour);
    }
  }
}

QImage ClipImage(const ClipRegion& clip) {
  QImage image(clip.Width(), clip.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < clip.Height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < clip.Width(); ++x) {
      const std::int32_t colour = clip.Colours.At(x, y);
      if (colour < 0 || clip.IsTransparent(x, y)) {
        row[x] = qRgba(0, 0, 0, 0);
        continue;
      }
      const QRgb rgb = RgbFromColour(colour);
      row[x] = qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), WrittenAlpha(clip.Alpha[clip.Index(x, y)], true));
    }
  }
  return image;
}

ClipRegion ClipFromImage(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  ClipRegion clip(argb.width(), argb.height());
  for (int y = 0; y < clip.Height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < clip.Width(); ++x) {
      const int alpha = qAlpha(row[x]);
      if (alpha == 0) clip.Set(x, y, kBlack, MaskTransparent, 0);
      else clip.Set(x, y, ColourFromRgb(row[x]), MaskOpaque, static_cast<std::uint8_t>(alpha));
    }
  }
  return clip;
}

}  // namespace brixel
