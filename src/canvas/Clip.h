#pragma once

#include <cstdint>

#include "ClipTransfer.h"
#include "PictureSurface.h"

class QImage;
class QWidget;

namespace brixel {

class ImageDocument;
class PictureBox;

// The editor's own clip: a rectangle of pixels copied from an image exactly as they were
// (colour, transparency, inverting, alpha), shown on the hidden surface PctClip. Copies also
// go to the desktop clipboard as an image with alpha, and when the own clip is empty a picture
// on the desktop clipboard can be pasted instead.
class Clip {
 public:
  explicit Clip(QWidget& parent);

  bool ClipAvailable() const { return available_; }
  const ClipRegion& Pixels() const { return pixels_; }

  // Copies the rectangle between two corner pixels (clamped into the image); false when the
  // rectangle holds no pixel of the image, and the clip is then left as it was.
  bool Copy(const ImageDocument& document, std::int16_t image, int x1, int y1, int x2, int y2);
  // Empties the clip, and the desktop clipboard while it still holds this clip.
  void Clear();

  // What a paste armed now would place: the own clip, else a picture on the desktop clipboard
  // with its alpha; false when there is neither.
  bool ArmPaste();
  // The pixels the armed paste would place now.
  const ClipRegion& Armed() const { return pasteFromDesktop_ ? desktopPaste_ : pixels_; }
  // Places the armed paste with its top-left at pixel (x, y). Reads the own clip now, so a
  // clip cleared after arming places nothing. True when a pixel changed.
  bool Place(ImageDocument& document, std::int16_t image, int x, int y) const;

 private:
  void Show();

  PictureBox* surface_;
  ClipRegion pixels_;
  ClipRegion desktopPaste_;
  bool available_ = false;
  bool pasteFromDesktop_ = false;
};

// The clip as a picture for other programs: transparent and inverting pixels fully
// transparent, the others with their alpha.
QImage ClipImage(const ClipRegion& clip);
// A picture from another program as clip pixels: fully transparent pixels transparent, the
// others opaque with their alpha.
ClipRegion ClipFromImage(const QImage& image);

}  // namespace brixel
