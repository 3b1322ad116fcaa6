#include "QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace brixel {
namespace {

QMessageBox::Icon BoxIcon(Prompter::Icon icon) {
  switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Exclamation: return QMessageBox::Warning;
    case Prompter::Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Prompter::Answer QtPrompter::Ask(const std::string& title, const std::string& text, Icon icon,
                                 Buttons buttons) {
  return AskWithDetails(title, text, std::string(), icon, buttons);
}

Prompter::Answer QtPrompter::AskWithDetails(const std::string& title, const std::string& text,
                                            const std::string& details, Icon icon,
                                            Buttons buttons) {
  QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
  QMessageBox box(BoxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::NoButton, owner);
  box.setObjectName("MessageBox");
  if (!details.empty()) box.setDetailedText(QString::fromStdString(details));
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
  }
  if (buttons == Buttons::YesNoCancel) {
    // Esc and the window's close button answer Cancel, never No: No throws work away.
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::No: return Answer::No;
      default: return Answer::Cancel;
    }
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return Answer::Ok;
}

}  // namespace brixel
