#include "PalettePanel.h"

#include <QApplication>
#include <QVBoxLayout>

#include "CurrentDocument.h"
#include "ImageDocument.h"
#include "PictureBox.h"
#include "QtColour.h"

namespace brixel {

PalettePanel::PalettePanel(QWidget* parent)
    : QGroupBox("Palette", parent),
      swatches_(new PictureBox(kSwatchesWidth, kSwatchesHeight, this)),
      float_(new PictureBox(kFloatWidth, kFloatHeight, this)) {
  setObjectName("FmePalette");
  swatches_->setObjectName("Pctpal");
  float_->setObjectName("PctFloat");
  const std::int32_t background = RoleColour(QPalette::Window);
  for (PictureBox* box : {swatches_, float_}) {
    box->Surface().BackColor(background);
    box->Surface().Cls();
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(swatches_, 0, Qt::AlignHCenter);
  layout->addWidget(float_, 0, Qt::AlignHCenter);

  connect(swatches_, &PictureBox::MouseMove, this,
          [this](int, int, float x, float y) { PointerMoved(x, y); });
}

Colour PalettePanel::FloatColour() const { return float_->Surface().BackColor(); }

void PalettePanel::PointerMoved(float x, float y) {
  const Colour colour = swatches_->Surface().Point(x, y);
  if (colour == kNoColour || colour == FloatColour()) return;
  float_->Surface().BackColor(colour);
  float_->Surface().Cls();
}

void PalettePanel::Show(const ImageDocument* document, std::int16_t imageIndex) {
  if (HasImage(document, imageIndex)) {
    document->ShowPalette(imageIndex, swatches_->Surface());
  } else {
    swatches_->Surface().Cls();
  }
}

}  // namespace brixel
