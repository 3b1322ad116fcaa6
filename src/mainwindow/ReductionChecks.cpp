#include "ReductionChecks.h"

#include <QCheckBox>

namespace brixel {

QCheckBox* DitherCheck(QWidget* parent) {
  auto* box = new QCheckBox("Dither", parent);
  box->setObjectName("ChkDither");
  box->setToolTip("Spread what each pixel's color misses over its neighbours (error diffusion)");
  return box;
}

QCheckBox* OwnPaletteCheck(QWidget* parent) {
  auto* box = new QCheckBox("Palette from picture", parent);
  box->setObjectName("ChkPalette");
  box->setToolTip("256-color images take their colors from the picture instead of the fixed table");
  return box;
}

ReductionChoice ChosenReduction(const QCheckBox& dither, const QCheckBox& ownPalette, int bitDepth) {
  return {dither.isChecked(), ownPalette.isChecked() && bitDepth == 8};
}

}  // namespace brixel
