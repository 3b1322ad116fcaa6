#include "FrmAbout.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ContactAddress.h"
#include "ProgramLogo.h"
#include "Prompter.h"
#include "VersionText.h"

namespace brixel {

FrmAbout::FrmAbout(QWidget* owner) : QDialog(owner) {
  setObjectName("FrmAbout");
  setWindowTitle(QString("About %1").arg(kApplicationTitle));
  setModal(true);

  auto* logo = new QLabel(this);
  logo->setObjectName("PctLogo");
  logo->setPixmap(ProgramLogo(96));
  logo->setAlignment(Qt::AlignTop);

  auto* title = new QLabel(QString::fromLatin1(kApplicationTitle), this);
  title->setObjectName("LblTitle");
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  titleFont.setBold(true);
  title->setFont(titleFont);

  version_ = new QLabel(ProgramVersionText(), this);
  version_->setObjectName("LblVersion");

  auto* description = new QLabel(
      "An editor for Windows icon (.ico) and cursor (.cur) files.\n"
      "Reads animated cursors (.ani) and imports pictures.",
      this);
  description->setObjectName("LblDescription");

  auto* contactCaption = new QLabel("Contact:", this);
  contactCaption->setObjectName("LblContactCaption");
  contact_ = new QLabel(QString::fromLatin1(kContactAddress), this);
  contact_->setObjectName("LblContact");
  contact_->setCursor(Qt::PointingHandCursor);
  contact_->setToolTip("Write an e-mail");
  QFont linkFont = contact_->font();
  linkFont.setUnderline(true);
  contact_->setFont(linkFont);
  QPalette linkPalette = contact_->palette();
  linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
  contact_->setPalette(linkPalette);
  contact_->installEventFilter(this);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QDialogButtonBox::Ok);
  ok_->setObjectName("CmdOK");
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  auto* contactRow = new QHBoxLayout;
  contactRow->addWidget(contactCaption);
  contactRow->addWidget(contact_);
  contactRow->addStretch(1);

  auto* text = new QVBoxLayout;
  text->addWidget(title);
  text->addWidget(version_);
  text->addSpacing(10);
  text->addWidget(description);
  text->addSpacing(10);
  text->addLayout(contactRow);
  text->addStretch(1);

  auto* body = new QHBoxLayout;
  body->setSpacing(18);
  body->addWidget(logo);
  body->addLayout(text, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 14);
  layout->addLayout(body);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == contact_ && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && contact_->rect().contains(mouse->position().toPoint())) {
      QDesktopServices::openUrl(QUrl("mailto:" + contact_->text()));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace brixel
