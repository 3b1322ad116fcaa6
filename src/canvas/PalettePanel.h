#pragma once

#include <QGroupBox>
#include <cstdint>

namespace brixel {

class ImageDocument;
class PictureBox;

// The "Palette" frame (FmePalette): the current image's palette as swatches on Pctpal.
class PalettePanel : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr int kSwatchesWidth = 200;
  static constexpr int kSwatchesHeight = 192;

  explicit PalettePanel(QWidget* parent = nullptr);

  PictureBox& Swatches() { return *swatches_; }

  // Shows the palette of the document's image, or an empty panel when there is no such image.
  void Show(const ImageDocument* document, std::int16_t imageIndex);

 private:
  PictureBox* swatches_;
};

}  // namespace brixel
