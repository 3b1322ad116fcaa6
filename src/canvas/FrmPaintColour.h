#pragma once

#include <QDialog>

#include "PaintColour.h"

class QCheckBox;
class QColorDialog;
class QLineEdit;

namespace brixel {

class ImageDocument;
class MouseColours;

// A mouse button's colour chooser (frmPaintColour, caption "Drawing Color"): the colour
// chooser itself (ChooseColour), its opacity where the image takes opacity, a hex field
// (txtHex) that reads "#RRGGBB" and, with opacity, "#RRGGBBAA", and "Paint over"
// (chkPaintOver), which blends the colour over the pixels below instead of setting them.
// OK (cmdOK) and Cancel (cmdCancel).
class FrmPaintColour : public QDialog {
  Q_OBJECT

 public:
  FrmPaintColour(PaintColour paint, bool paintsOver, bool withOpacity, QWidget* owner = nullptr);

  PaintColour Chosen() const;
  bool PaintsOver() const;

 private:
  void ShowHex();
  void ReadHex();

  bool withOpacity_;
  QColorDialog* chooser_;
  QLineEdit* txtHex_;
  QCheckBox* chkPaintOver_;
};

// Lets the user choose the colour of a button (1 left, 2 right, 4 middle) for the image shown:
// with opacity and "Paint over" where the image takes opacity. A palette image's button then
// draws with the chosen colour's entry, if the palette has it. False when cancelled.
bool ChooseButtonColour(MouseColours& colours, int buttonCode, const ImageDocument* document,
                        std::int16_t image, QWidget* owner);

}  // namespace brixel
