#include "FrmPaintColour.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CurrentDocument.h"
#include "ImageDocument.h"
#include "MouseColours.h"
#include "QtPaintColour.h"

namespace brixel {

FrmPaintColour::FrmPaintColour(PaintColour paint, bool paintsOver, bool withOpacity, QWidget* owner)
    : QDialog(owner), withOpacity_(withOpacity) {
  setObjectName("frmPaintColour");
  setWindowTitle("Drawing Color");
  setModal(true);

  // Qt's chooser as a part of this dialog, without buttons of its own.
  chooser_ = new QColorDialog(this);
  chooser_->setObjectName("ChooseColour");
  chooser_->setWindowFlags(Qt::Widget);
  QColorDialog::ColorDialogOptions options = QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog;
  if (withOpacity) options |= QColorDialog::ShowAlphaChannel;
  chooser_->setOptions(options);
  if (!withOpacity) paint.opacity = kOpaque;
  chooser_->setCurrentColor(QColorFromPaint(paint));

  txtHex_ = new QLineEdit(this);
  txtHex_->setObjectName("txtHex");
  txtHex_->setPlaceholderText(withOpacity ? "#RRGGBBAA" : "#RRGGBB");
  chkPaintOver_ = new QCheckBox("Paint over", this);
  chkPaintOver_->setObjectName("chkPaintOver");
  chkPaintOver_->setToolTip("Blend the colour over the pixels below instead of replacing them");
  chkPaintOver_->setChecked(paintsOver && withOpacity);
  chkPaintOver_->setVisible(withOpacity);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("cmdOK");
  ok->setText("OK");
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName("cmdCancel");
  cancel->setText("Cancel");
  connect(ok, &QPushButton::clicked, this, [this] {
    ReadHex();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow("Hex", txtHex_);
  form->addRow(QString(), chkPaintOver_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser_);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(chooser_, &QColorDialog::currentColorChanged, this, [this] {
    if (!txtHex_->hasFocus()) ShowHex();
  });
  connect(txtHex_, &QLineEdit::editingFinished, this, &FrmPaintColour::ReadHex);
  connect(txtHex_, &QLineEdit::textEdited, this, [this] {
    // A complete value shows in the chooser at once; anything else waits for the user.
    if (const auto read = PaintFromHex(txtHex_->text().toStdString())) {
      PaintColour paint = *read;
      if (!withOpacity_) paint.opacity = kOpaque;
      chooser_->setCurrentColor(QColorFromPaint(paint));
    }
  });
  ShowHex();
}

void FrmPaintColour::ShowHex() {
  txtHex_->setText(QString::fromStdString(HexOf(Chosen(), withOpacity_)));
}

// The hex field's value, when it reads as one, goes to the chooser; otherwise the field shows
// the chooser's colour again.
void FrmPaintColour::ReadHex() {
  if (const auto read = PaintFromHex(txtHex_->text().toStdString())) {
    PaintColour paint = *read;
    if (!withOpacity_) paint.opacity = kOpaque;
    chooser_->setCurrentColor(QColorFromPaint(paint));
  }
  ShowHex();
}

PaintColour FrmPaintColour::Chosen() const {
  PaintColour paint = PaintFromQColor(chooser_->currentColor());
  if (!withOpacity_) paint.opacity = kOpaque;
  return paint;
}

bool FrmPaintColour::PaintsOver() const { return withOpacity_ && chkPaintOver_->isChecked(); }

bool ChooseButtonColour(MouseColours& colours, int buttonCode, const ImageDocument* document,
                        std::int16_t image, QWidget* owner) {
  if (!HasImage(document, image)) return false;
  const bool withOpacity = TakesOpacity(document->Image(image));
  const int code = ButtonOrLeft(buttonCode);
  FrmPaintColour dialog({colours.Swatch(code), colours.Opacity(code)}, colours.PaintsOver(code),
                        withOpacity, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  const PaintColour chosen = dialog.Chosen();
  colours.Swatch(code, chosen.colour);
  if (withOpacity) {
    colours.Opacity(code, chosen.opacity);
    colours.PaintsOver(code, dialog.PaintsOver());
  }
  // The chooser runs its own event loop: the image may have gone meanwhile.
  if (HasImage(document, image) && document == CurrentIconDocument()) {
    colours.EyeDropped(*document, image, code);
  }
  return true;
}

}  // namespace brixel
