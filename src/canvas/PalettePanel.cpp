#include "PalettePanel.h"

#include <QApplication>
#include <QVBoxLayout>

#include "CurrentDocument.h"
#include "ImageDocument.h"
#include "PictureBox.h"
#include "QtColour.h"

namespace brixel {

PalettePanel::PalettePanel(QWidget* parent)
    : QGroupBox("Palette", parent), swatches_(new PictureBox(kSwatchesWidth, kSwatchesHeight, this)) {
  setObjectName("FmePalette");
  swatches_->setObjectName("Pctpal");
  QtPictureSurface& surface = swatches_->Surface();
  surface.BackColor(RoleColour(QPalette::Window));
  surface.Cls();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(swatches_, 0, Qt::AlignHCenter);
}

void PalettePanel::Show(const ImageDocument* document, std::int16_t imageIndex) {
  if (HasImage(document, imageIndex)) {
    document->ShowPalette(imageIndex, swatches_->Surface());
  } else {
    swatches_->Surface().Cls();
  }
}

}  // namespace brixel
