#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace brixel {

// For measuring start-up from outside: when the environment variable BRIXEL_EXIT_AFTER_PAINT
// is set, the program quits as soon as the window has painted itself once, so that the time
// from starting the process to its exit is the time to the first painted window.
class StartupProbe : public QObject {
 public:
  static void Watch(QWidget& window) {
    if (qEnvironmentVariableIsSet("BRIXEL_EXIT_AFTER_PAINT")) {
      window.installEventFilter(new StartupProbe(&window));
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !quitting_) {
      quitting_ = true;
      QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  using QObject::QObject;
  bool quitting_ = false;
};

}  // namespace brixel
