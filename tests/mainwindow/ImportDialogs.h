#pragma once

#include <QApplication>
#include <QDialog>
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

}  // namespace brixel::test
