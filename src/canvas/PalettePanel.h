#pragma once

#include <QGroupBox>
#include <cstdint>

#include "Colour.h"

namespace brixel {

class ImageDocument;
class PictureBox;

// The "Palette" frame (FmePalette): the current image's palette as swatches on Pctpal, and
// under it the bar PctFloat, which takes the colour of the swatch last under the pointer.
class PalettePanel : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr int kSwatchesWidth = 200;
  static constexpr int kSwatchesHeight = 192;
  static constexpr int kFloatWidth = 201;
  static constexpr int kFloatHeight = 25;

  explicit PalettePanel(QWidget* parent = nullptr);

  PictureBox& Swatches() { return *swatches_; }
  PictureBox& Float() { return *float_; }
  // The colour PctFloat shows.
  Colour FloatColour() const;

  // Shows the palette of the document's image, or an empty panel when there is no such image.
  void Show(const ImageDocument* document, std::int16_t imageIndex);

 private:
  void PointerMoved(float x, float y);

  PictureBox* swatches_;
  PictureBox* float_;
};

}  // namespace brixel
