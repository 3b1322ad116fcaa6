#pragma once

#include <QFrame>
#include <cstdint>
#include <vector>

class QLabel;
class QScrollBar;

namespace brixel {

class ImageDocument;
class PictureBox;
struct KeptEntry;

// The vertical strip of the current document's images, each over the checkerboard at its real
// size or, when wider than the strip, scaled down into its width, under a caption of its real
// width, height and depth ("32x32 256 color"). The pictures (PctIco0, PctIco1, ...) and
// captions (LblIco0, ...) sit on PctScroll, which the viewport PctContainer clips and the
// scroll bars scrIcon (down) and scrIconAcross move. Element 0 always exists; it is hidden
// while the strip is empty. The selected image is framed and its caption coloured. An entry
// kept as its file holds it shows as a placeholder of its size (KeptCaption).
class ImageStrip : public QFrame {
  Q_OBJECT

 public:
  explicit ImageStrip(QWidget* parent = nullptr);

  // Rebuilds the strip for the document's images (empty for nullptr), letting the window
  // paint after each picture so that the strip fills in picture by picture. Returns false
  // when a newer build, started while the window painted, took over.
  bool Build(const ImageDocument* document);
  // Frames the selected image and colours its caption (255, 100, 100), every other caption in
  // the button-text colour.
  void MarkSelected(int index);
  // Draws the image again into its picture, so that an edited image's thumbnail follows.
  void RedrawImage(const ImageDocument& document, std::int16_t index);

  int Count() const { return count_; }

  // The caption of an image: width, "x", height and the depth's text.
  static QString Caption(int width, int height, int bitDepth);
  // The caption of an entry kept as its file holds it: its size and why it is kept, and a
  // second line "(kept as it is)".
  static QString KeptCaption(const KeptEntry& kept);

 signals:
  // A mouse button (1 left, 2 right, 4 middle) went down on an image or its caption.
  void ImagePressed(int index, int button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddElement();
  void RemoveElementsAboveZero();
  void UpdateScrollRange();
  // Draws image index into its picture, sized to fit the strip.
  void DrawImage(const ImageDocument& document, std::int16_t index);
  // The widest a picture may be: the viewport less the margins.
  int PictureRoom() const;
  void PlaceFrame();
  // Draws every picture again for a new width, each under its caption.
  void Restack(const ImageDocument& document);

  QWidget* container_;
  QWidget* scroll_;
  QScrollBar* scrollBar_;
  QScrollBar* acrossBar_;
  QWidget* frame_;
  int selected_ = -1;
  int drawnRoom_ = 0;  // the room the pictures were drawn for
  bool narrowLater_ = false;  // a picture waits for the strip's first resize to be drawn
  std::vector<PictureBox*> pictures_;
  std::vector<QLabel*> captions_;
  int count_ = 0;  // images shown
  unsigned builds_ = 0;  // builds started, so that an outdated one stops
};

}  // namespace brixel
