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
  QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
  QMessageBox box(BoxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::NoButton, owner);
  box.setObjectName("MessageBox");
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return Answer::Ok;
}

}  // namespace brixel
