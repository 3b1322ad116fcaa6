#pragma once

#include <QApplication>

namespace brixel {

// The application object of the editor and of the GUI tests: the one edge for exceptions. A
// std::exception that leaves the handling of an event (a slot run by a click, a key, a timer
// or a queued call) is reported through ShowError under the name of the window and the
// object that received the event, the event counts as not handled, and the program goes on
// with its windows and documents. No exception may pass through Qt's own code.
class ReportingApplication : public QApplication {
  Q_OBJECT

 public:
  ReportingApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace brixel
