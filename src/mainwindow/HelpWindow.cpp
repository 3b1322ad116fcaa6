#include "HelpWindow.h"

#include <QApplication>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <cstdlib>

#include "FileAssociations.h"

namespace brixel {
namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 640;

}  // namespace

bool DesktopHasBrowser() {
  const char* browser = std::getenv("BROWSER");
  return (browser && *browser) || !DefaultApplication("text/html").empty();
}

void ShowHelpWindow(const QUrl& url) {
  static QPointer<QTextBrowser> window;
  if (!window) {
    window = new QTextBrowser;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName("FrmHelp");
    window->setWindowTitle("Brixel Help");
    window->setOpenExternalLinks(true);
    window->resize(kWidth, kHeight);
    // Closed with the program, as every other form of it.
    QObject::connect(qApp, &QApplication::aboutToQuit, window, &QWidget::close);
  }
  window->setSource(url);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace brixel
