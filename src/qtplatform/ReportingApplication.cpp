#include "ReportingApplication.h"

#include <QPointer>
#include <QThread>
#include <QWidget>

#include "TrapErrors.h"

namespace brixel {
namespace {

QString NameOf(const QObject* object) {
  return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                        : object->objectName();
}

// "PrjBrixel.Window.Receiver": the receiver, and the window it belongs to when it has one.
std::string EdgeLabel(const QObject* receiver) {
  if (!receiver) return "PrjBrixel.Application.notify";
  QString label = "PrjBrixel.";
  const QObject* owner = receiver;
  while (owner && !owner->isWidgetType()) owner = owner->parent();
  if (owner) {
    // A menu or list that pops up is a window of its own: name the one it belongs to.
    const QWidget* window = static_cast<const QWidget*>(owner)->window();
    while (window->windowType() == Qt::Popup && window->parentWidget()) window = window->parentWidget()->window();
    if (window != receiver) label += NameOf(window) + ".";
  }
  return (label + NameOf(receiver)).toStdString();
}

}  // namespace

ReportingApplication::ReportingApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ReportingApplication::notify(QObject* receiver, QEvent* event) {
  // The receiver may be gone by the time the handler fails.
  const QPointer<QObject> watched(receiver);
  try {
    return QApplication::notify(receiver, event);
  } catch (const ReportedFailure&) {
  } catch (const std::exception&) {
    const std::string text = CurrentExceptionText(EdgeLabel(watched.data()));
    // The error form is a window: a failure on another thread is shown from this one.
    if (QThread::currentThread() == thread()) {
      ShowError(text);
    } else {
      QMetaObject::invokeMethod(this, [text] { ShowError(text); }, Qt::QueuedConnection);
    }
  }
  return false;
}

}  // namespace brixel
