// The entry procedure: rebuild the command-line path, hand it to a running instance when
// "Open in same window" is on, otherwise show the splash screen and the main window and open
// the file there.

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "AlphaChannel.h"
#include "DrawnPicturesStyle.h"
#include "ErrorReport.h"
#include "FontConfigWarmUp.h"
#include "FrmMain.h"
#include "FrmSplash.h"
#include "LongPath.h"
#include "Prompter.h"
#include "QtErrorReporter.h"
#include "QtPrompter.h"
#include "ReadAhead.h"
#include "ReportingApplication.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "StartupProbe.h"
#include "TrapErrors.h"
#include "Version.h"

int main(int argc, char** argv) {
  brixel::FontConfigWarmUp fonts;
  brixel::ReportingApplication app(argc, argv);
  QApplication::setStyle(new brixel::DrawnPicturesStyle);
  QApplication::setApplicationName(QStringLiteral("Brixel"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(brixel::kVersionMajor)
                                          .arg(brixel::kVersionMinor)
                                          .arg(brixel::kVersionRevision));
  // Lets the desktop match the window to its desktop entry (and so to its icon).
  QGuiApplication::setDesktopFileName(QString::fromLatin1(brixel::kAppId));
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

  // A start with a file reads the options once, for the hand-over and for the read-ahead.
  brixel::Settings stored;
  if (!startPath.empty()) brixel::LoadSettings(stored);

  brixel::SingleInstance channel(brixel::SingleInstance::DefaultServerName());
  // A start without a file has nothing to hand over and opens its own window.
  if (!startPath.empty() && stored.SameWindow && channel.HandOver(QString::fromStdString(startPath))) {
    // Nothing of this start needs closing; ending at once spares it the wait for the font
    // configuration still loading on its thread, which ends with the process.
    std::quick_exit(0);
  }

  // Take hand-overs from here on (or as soon as the instance that takes them now goes away),
  // before anything can show a message: a start meanwhile hands its file to this window rather
  // than opening one of its own. Files that come before the window exists wait for it.
  brixel::FrmMain* receiver = nullptr;
  std::vector<QString> early;
  QObject::connect(&channel, &brixel::SingleInstance::PathReceived, [&](const QString& path) {
    if (receiver) receiver->HandOver(path);
    else early.push_back(path);
  });
  channel.Serve();

  // The file is read on another core while the windows are made, with the alpha option the
  // window will set; OpenDocument takes what was read when nothing changed meanwhile.
  if (!startPath.empty()) {
    brixel::KeepAlpha(stored.KeepAlpha);
    brixel::StartReadAhead(startPath);
  }

  fonts.Wait();
  brixel::FrmSplash splash;
  splash.ShowAndPaint();

  brixel::FrmMain window;
  reporter.SetOwner(&window);
  prompter.SetOwner(&window);
  // The splash covers the loading of the window; the files open fast, and a splash left up
  // while they do costs the window a frame of its first paint.
  splash.close();

  // The event loop's edge reports what fails in its handlers; these run outside it.
  const auto handOver = [&window](const QString& path) {
    brixel::TrapEverything("PrjBrixel.FrmMain.Command1", [&] { window.HandOver(path); });
  };
  // A start file read ahead without a word opens before the window shows, so that the window's
  // first paint shows it. Any other start file, and the files handed over meanwhile, open once
  // the window is up: what opening them says or asks (a damaged file, say) then shows over the
  // window rather than alone on the desktop.
  const bool openBeforeShow = !startPath.empty() && brixel::ReadAheadHolds(startPath);
  if (openBeforeShow) handOver(QString::fromStdString(startPath));
  QApplication::processEvents();
  brixel::StartupProbe::Watch(window);
  window.show();
  QTimer::singleShot(0, &window, [&] {
    if (!openBeforeShow && !startPath.empty()) handOver(QString::fromStdString(startPath));
    // In the order they came; a message shown meanwhile may let more come.
    while (!early.empty()) {
      for (const QString& path : std::exchange(early, {})) handOver(path);
    }
    receiver = &window;
    // Last, so that the question comes after what the files had to say.
    window.OfferRecovery();
  });

  const int status = QApplication::exec();
  receiver = nullptr;
  brixel::InstallErrorReporter(nullptr);
  brixel::InstallPrompter(nullptr);
  return status;
}
