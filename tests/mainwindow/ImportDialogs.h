#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace brixel::test {

// Acts on the next modal dialog as soon as it is open, then closes it if the action left it
// open. Polls, because the commands let pending events run before they open their dialogs.
inline void OnNextDialog(std::function<void(QDialog&)> act) {
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) {
      if (++*waited > 1000) {  // ten seconds: give up rather than hang
        ADD_FAILURE() << "no dialog opened";
        timer->deleteLater();
        timer->stop();
      }
      return;
    }
    timer->stop();
    timer->deleteLater();
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  timer->start(10);
}

// A control of a dialog by its name; fails the test when there is none.
template <class T>
T* ControlIn(QDialog& dialog, const char* name) {
  T* found = dialog.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// The texts of a drop-down list, in order.
inline QStringList ListTexts(QDialog& dialog, const char* name) {
  QStringList texts;
  if (auto* list = ControlIn<QComboBox>(dialog, name)) {
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
  }
  return texts;
}

inline void ChooseIn(QDialog& dialog, const char* list, const QString& text) {
  auto* box = ControlIn<QComboBox>(dialog, list);
  ASSERT_NE(box, nullptr);
  const int index = box->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  box->setCurrentIndex(index);
}

inline void TickIn(QDialog& dialog, const char* name, bool ticked = true) {
  if (auto* box = ControlIn<QCheckBox>(dialog, name)) box->setChecked(ticked);
}

inline void PressIn(QDialog& dialog, const char* button) {
  if (auto* pressed = ControlIn<QPushButton>(dialog, button)) pressed->click();
}

}  // namespace brixel::test
