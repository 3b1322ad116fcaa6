#include "FrmText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "PictureBox.h"
#include "TextTool.h"

namespace brixel {
namespace {

const QStringList kSizes = {"6", "7", "8", "9", "10", "11", "12", "14", "16", "18"};
constexpr int kDefaultSizeIndex = 5;  // "11"
constexpr int kDefaultFontIndex = 1;
constexpr float kPreviewMargin = 5;

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

FrmText::FrmText(TextSettings& settings, QWidget* owner) : QDialog(owner), settings_(settings) {
  setObjectName("frmText");
  setWindowTitle("Select text for entry");
  setModal(true);

  cboFont_ = new QComboBox(this);
  cboFont_->setObjectName("cboFont");
  cboFont_->setEditable(true);
  cboFont_->setInsertPolicy(QComboBox::NoInsert);

  cboSize_ = new QComboBox(this);
  cboSize_->setObjectName("cboSize");
  cboSize_->setEditable(true);
  cboSize_->setInsertPolicy(QComboBox::NoInsert);

  txtInsert_ = new QLineEdit(this);
  txtInsert_->setObjectName("txtInsert");

  pctPrev_ = new PictureBox(kPreviewSize, kPreviewSize, this);
  pctPrev_->setObjectName("pctPrev");

  auto* buttons = new QDialogButtonBox(this);
  cmdOK_ = buttons->addButton(QDialogButtonBox::Ok);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setText("OK");
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, &FrmText::Confirm);
  cmdCancel_ = buttons->addButton(QDialogButtonBox::Cancel);
  cmdCancel_->setObjectName("cmdCancel");
  cmdCancel_->setText("Cancel");
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(Caption("Select Font", cboFont_, this), cboFont_);
  form->addRow(Caption("Select Font Size", cboSize_, this), cboSize_);
  form->addRow(Caption("Please enter text to insert", txtInsert_, this), txtInsert_);
  form->addRow(Caption("Preview for a 64x64 icon", pctPrev_, this), pctPrev_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Connected before filling, so that every step of the opening previews as well.
  connect(cboFont_, &QComboBox::currentTextChanged, this, &FrmText::PreviewText);
  connect(cboSize_, &QComboBox::currentTextChanged, this, &FrmText::PreviewText);
  connect(txtInsert_, &QLineEdit::textChanged, this, &FrmText::PreviewText);

  cboSize_->addItems(kSizes);
  cboSize_->setCurrentIndex(kDefaultSizeIndex);

  cboFont_->addItems(QFontDatabase::families());
  // A machine may offer a single font or none; the box then shows what there is.
  cboFont_->setCurrentIndex(cboFont_->count() > kDefaultFontIndex ? kDefaultFontIndex
                            : cboFont_->count() > 0               ? 0
                                                                  : -1);

  if (!settings_.m_strFont.isEmpty()) cboFont_->setCurrentText(settings_.m_strFont);
  if (!settings_.m_strSize.isEmpty()) cboSize_->setCurrentText(settings_.m_strSize);
  if (!settings_.m_strText.isEmpty()) txtInsert_->setText(settings_.m_strText);
  PreviewText();
}

void FrmText::PreviewText() {
  QtPictureSurface& preview = pctPrev_->Surface();
  preview.Cls();
  DrawTextAt(preview, {cboFont_->currentText(), cboSize_->currentText(), txtInsert_->text()},
             preview.ForeColor(), kPreviewMargin, kPreviewMargin);
}

void FrmText::Confirm() {
  settings_.SetFont(cboFont_->currentText(), cboSize_->currentText(), txtInsert_->text());
  accept();
}

}  // namespace brixel
