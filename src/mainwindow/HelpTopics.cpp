#include "HelpTopics.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QWidget>

#include "HelpWindow.h"
#include "Prompter.h"

// Where an installed program finds the guide, relative to its own folder.
#ifndef BRIXEL_INSTALLED_HELP_DIR
#define BRIXEL_INSTALLED_HELP_DIR "../share/brixel"
#endif

namespace brixel {

HelpTopics::HelpTopics(QWidget& window) : QObject(&window), window_(window) {
  window_.setProperty(kProperty, kWindowTopic);
  // Pointer moves are seen application-wide, so that moves over children that ignore the
  // pointer still count for the region around them.
  QCoreApplication::instance()->installEventFilter(this);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &window_);
  connect(f1, &QShortcut::activated, this, [this] { OpenHelp(Current()); });
}

HelpTopics::~HelpTopics() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void HelpTopics::Assign(QWidget& region, int topic) { region.setProperty(kProperty, topic); }

void HelpTopics::Assign(QMenu& menu, int topic) {
  menu.setProperty(kProperty, topic);
  menu.installEventFilter(this);
}

int HelpTopics::Current() const { return window_.property(kProperty).toInt(); }

int HelpTopics::TopicUnder(QWidget* widget) const {
  for (QWidget* w = widget; w && w != &window_; w = w->parentWidget()) {
    const QVariant topic = w->property(kProperty);
    if (topic.isValid()) return topic.toInt();
  }
  return kWindowTopic;
}

bool HelpTopics::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == &window_) {
      const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
      QWidget* under = window_.childAt(window_.mapFromGlobal(global));
      window_.setProperty(kProperty, TopicUnder(under));
    }
  } else if (event->type() == QEvent::KeyPress &&
             static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (auto* menu = qobject_cast<QMenu*>(watched); menu && menu->property(kProperty).isValid()) {
      OpenHelp(menu->property(kProperty).toInt());
      return true;
    }
  }
  return false;
}

QString HelpFilePath() {
  const QDir programFolder(QCoreApplication::applicationDirPath());
  const QString beside = programFolder.filePath("Tessarine.html");
  if (QFileInfo::exists(beside)) return beside;
  // Installed, the guide lives with the program's shared data rather than in bin/.
  const QString installed =
      QDir::cleanPath(programFolder.filePath(BRIXEL_INSTALLED_HELP_DIR "/Tessarine.html"));
  return QFileInfo::exists(installed) ? installed : beside;
}

QUrl HelpTopicUrl(int topic) {
  QUrl url = QUrl::fromLocalFile(HelpFilePath());
  url.setFragment(QString::number(topic));
  return url;
}

void OpenHelp(int topic) {
  if (!QFileInfo::exists(HelpFilePath())) {
    ShowMessage(kApplicationTitle,
                "The help file " + HelpFilePath().toStdString() + " was not found.",
                Prompter::Icon::Exclamation);
    return;
  }
  // Without a browser the desktop's opener fails with no more than a line on the terminal.
  if (DesktopHasBrowser() && QDesktopServices::openUrl(HelpTopicUrl(topic))) return;
  ShowHelpWindow(HelpTopicUrl(topic));
}

}  // namespace brixel
