// The entry procedure: rebuild the command-line path, hand it to a running instance when
// "Open in same window" is on, otherwise show the splash screen and the main window and open
// the file there.

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <filesystem>

#include "ErrorReport.h"
#include "FrmMain.h"
#include "FrmSplash.h"
#include "LongPath.h"
#include "Prompter.h"
#include "QtErrorReporter.h"
#include "QtPrompter.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "Version.h"

namespace {

// Brings a window to the front, restoring it first when it is minimised.
void ActivateWindow(QWidget& window) {
  if (window.isMinimized()) window.showNormal();
  window.raise();
  window.activateWindow();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brixel"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(brixel::kVersionMajor)
                                          .arg(brixel::kVersionMinor)
                                          .arg(brixel::kVersionRevision));
  brixel::SetProgramIdentity({"brixel", brixel::kVersionMajor, brixel::kVersionMinor,
                              brixel::kVersionRevision});
  brixel::QtErrorReporter reporter;
  brixel::QtPrompter prompter;
  brixel::InstallErrorReporter(&reporter);
  brixel::InstallPrompter(&prompter);

  // One file path; a name that is not a file of ours is still handed on, and fails to open
  // with the usual message.
  const QStringList args = QApplication::arguments();
  const std::string startPath =
      args.size() > 1 ? brixel::MakeLongPath(args[1].toStdString(), QDir::currentPath().toStdString())
                      : std::string();

  brixel::SingleInstance channel(brixel::SingleInstance::DefaultServerName());
  // A start without a file has nothing to hand over and opens its own window.
  if (!startPath.empty() && brixel::ReadSameWindow() &&
      channel.HandOver(QString::fromStdString(startPath))) {
    return 0;
  }

  brixel::FrmSplash splash;
  splash.ShowAndPaint();

  brixel::FrmMain window;
  reporter.SetOwner(&window);
  prompter.SetOwner(&window);

  window.show();
  QApplication::processEvents();
  splash.close();
  if (!startPath.empty()) window.HandOver(QString::fromStdString(startPath));

  // Later starts hand their files to this window.
  QObject::connect(&channel, &brixel::SingleInstance::PathReceived, &window,
                   [&window](const QString& path) {
                     ActivateWindow(window);
                     window.HandOver(path);
                   });
  channel.Listen();

  const int status = QApplication::exec();
  brixel::InstallErrorReporter(nullptr);
  brixel::InstallPrompter(nullptr);
  return status;
}
