#include "FrmError.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ContactAddress.h"
#include "ErrorReport.h"

namespace brixel {

FrmError::FrmError(QWidget* owner) : QDialog(owner) {
  setObjectName("FrmError");
  setWindowTitle("Error");
  setModal(true);

  heading_ = new QLabel(
      QString::fromStdString("An unexpected error has occured in " +
                             CurrentProgramIdentity().fileName),
      this);
  heading_->setObjectName("LblHeading");

  report_ = new QPlainTextEdit(this);
  report_->setObjectName("TxtErr");
  report_->setReadOnly(true);
  report_->setLineWrapMode(QPlainTextEdit::NoWrap);
  report_->setMinimumSize(420, 180);

  const QString address = QString::fromLatin1(kContactAddress);
  contact_ = new QLabel(QString("<a href=\"mailto:%1\">%1</a>").arg(address.toHtmlEscaped()), this);
  contact_->setObjectName("LblContact");
  contact_->setTextFormat(Qt::RichText);
  contact_->setOpenExternalLinks(false);
  connect(contact_, &QLabel::linkActivated, this, [address] {
    QDesktopServices::openUrl(QUrl("mailto:" + address));
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("CmdOK");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(report_, 1);
  layout->addWidget(contact_);
  layout->addWidget(buttons);
}

void FrmError::SetReport(const std::string& report) {
  QString text = QString::fromStdString(report);
  text.replace("\r\n", "\n");
  report_->setPlainText(text);
}

void FrmError::ShowReport(const std::string& report) {
  SetReport(report);
  exec();
}

}  // namespace brixel
