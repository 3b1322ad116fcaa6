#pragma once

#include "ColourReduction.h"

class QCheckBox;
class QWidget;

namespace brixel {

// The "Dither" and "Palette from picture" boxes of the dialogs that reduce colours (named
// ChkDither and ChkPalette), and the reduction they choose.
QCheckBox* DitherCheck(QWidget* parent);
QCheckBox* OwnPaletteCheck(QWidget* parent);
// The choice the two boxes make for an image of bitDepth bits (a palette of the picture's own
// only for 256 colours).
ReductionChoice ChosenReduction(const QCheckBox& dither, const QCheckBox& ownPalette, int bitDepth);

}  // namespace brixel
