#include "FrmNewFromPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <iterator>

#include "OkCancelButtons.h"
#include "Prompter.h"
#include "ReductionChecks.h"
#include "SizeDepthChecks.h"

namespace brixel {

FrmNewFromPicture::FrmNewFromPicture(const QString& name, int width, int height, QWidget* owner)
    : QDialog(owner) {
  setObjectName("FrmNewFromPicture");
  setWindowTitle("New Icon from Picture");
  setModal(true);

  auto* picture = new QLabel(QString("%1: %2 x %3 pixels").arg(name).arg(width).arg(height), this);
  picture->setObjectName("LblPicture");
  auto* instruction =
      new QLabel("Please tick the sizes and color depths of the new icon then click OK", this);
  instruction->setObjectName("Label1");

  checks_ = new SizeDepthChecks({std::begin(kSizes), std::end(kSizes)},
                                {{32, "32 Bit Color"}, {24, "True Color"}, {8, "256 Color"}, {4, "16 Color"}, {1, "2 Color"}},
                                this);
  checks_->setObjectName("ChkImages");
  checks_->SetChecked({std::begin(kWindowsIconSet), std::end(kWindowsIconSet)});

  chkDither_ = DitherCheck(this);
  chkOwnPalette_ = OwnPaletteCheck(this);

  cboType_ = new QComboBox(this);
  cboType_->setObjectName("CboType");
  cboType_->addItems({"Icon", "Cursor"});
  spnHotX_ = new QSpinBox(this);
  spnHotX_->setObjectName("SpnHotX");
  spnHotX_->setRange(0, std::max(width - 1, 0));
  spnHotY_ = new QSpinBox(this);
  spnHotY_->setObjectName("SpnHotY");
  spnHotY_->setRange(0, std::max(height - 1, 0));
  auto* hotSpot = new QHBoxLayout;
  hotSpot->addWidget(spnHotX_);
  hotSpot->addWidget(new QLabel(",", this));
  hotSpot->addWidget(spnHotY_);
  hotSpot->addStretch(1);
  auto* kind = new QFormLayout;
  kind->addRow("Make", cboType_);
  kind->addRow("Hot spot (picture pixels)", hotSpot);

  auto* colours = new QHBoxLayout;
  colours->addWidget(chkDither_);
  colours->addWidget(chkOwnPalette_);
  colours->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picture);
  layout->addWidget(instruction);
  layout->addWidget(checks_);
  layout->addLayout(colours);
  layout->addLayout(kind);
  layout->addWidget(OkCancelButtons(this, &FrmNewFromPicture::Confirm));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cboType_, &QComboBox::currentIndexChanged, this, &FrmNewFromPicture::TypeChanged);
  TypeChanged();
}

void FrmNewFromPicture::TypeChanged() {
  spnHotX_->setEnabled(Cursor());
  spnHotY_->setEnabled(Cursor());
}

std::vector<IconSetEntry> FrmNewFromPicture::Images() const { return checks_->Checked(); }

ReductionChoice FrmNewFromPicture::Reduction() const {
  // The palette box counts for the 256-colour images of the set.
  return ChosenReduction(*chkDither_, *chkOwnPalette_, 8);
}

bool FrmNewFromPicture::Cursor() const { return cboType_->currentIndex() == 1; }

SquarePoint FrmNewFromPicture::HotSpot() const { return {spnHotX_->value(), spnHotY_->value()}; }

void FrmNewFromPicture::Confirm() {
  if (Images().empty()) {
    ShowMessage("New Icon from Picture", "Please tick at least one size and color depth.");
    return;
  }
  accept();
}

}  // namespace brixel
