// The picture decoders as a module of their own, loaded by brixel-cli only when a command
// needs a picture that is not an icon, so that the command line program itself links no Qt.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "PictureDecoders.h"
#include "SvgDrawing.h"

namespace {

// Qt's notes about its environment (a missing runtime folder and the like) mean nothing to
// a command line user; only its errors are passed on.
void PassOnErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

// Rendering the text of a metafile or a drawing needs Qt's font database, which needs a GUI
// application object; a command line run has none, so one is made on the offscreen platform.
void EnsureApplicationForFonts() {
  if (QCoreApplication::instance()) return;
  qInstallMessageHandler(PassOnErrorsOnly);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "brixel-cli";
  static char* argv[] = {name, nullptr};
  // Kept for the rest of the process, as the program that loaded the module never unloads it.
  new QGuiApplication(argc, argv);
}

}  // namespace

extern "C" bool BrixelDecodePicture(const brixel::Bytes& data, const std::string& path,
                                    brixel::LoadedPicture& picture, std::string& message) {
  if (brixel::IsMetafileData(data) || brixel::IsSvgDrawing(data, path)) EnsureApplicationForFonts();
  return brixel::DecodePicture(data, path, picture, message);
}

// A DrawingRenderEntry: an SVG drawing rendered at the size asked for.
extern "C" bool BrixelRenderDrawing(const brixel::Bytes& data, int side,
                                    brixel::LoadedPicture& picture, std::string& message) {
  EnsureApplicationForFonts();
  return brixel::RenderDrawing(data, side, picture, message);
}
