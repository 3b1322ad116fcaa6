// brixel-picture-decoder: decodes one picture that is not an icon for the editor and for
// brixel-cli, which run it for each such picture. A crash in a picture library on a hostile
// file ends this process, not the editor with its documents or the command.
//
//   brixel-picture-decoder decode NAME    the picture's bytes on standard input, NAME for its
//                                         extension
//   brixel-picture-decoder render SIDE... an SVG drawing on standard input, rendered at each
//                                         side (0: its own size)
//   brixel-picture-decoder corner SIDE    the top-left SIDE x SIDE of a drawing at its own size
//
// Exit status 0: the pictures on standard output (AppendPicture; for render and corner,
// after the drawing's own size). 1: the reason on standard output. 2: a usage error.
// kDecoderOutOfMemory: the picture needs more memory than the caller allows. Standard error is
// the caller's log: Qt's and the libraries' notes, and our warnings (kDecoderWarning).
#include <QGuiApplication>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "AsciiText.h"
#include "FileIO.h"
#include "PictureDecoders.h"
#include "PictureTransfer.h"
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
// application object; made only then, on the offscreen platform unless one is asked for.
std::unique_ptr<QGuiApplication> ApplicationForFonts(int& argc, char** argv) {
  qInstallMessageHandler(PassOnErrorsOnly);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return std::make_unique<QGuiApplication>(argc, argv);
}

brixel::Bytes ReadStandardInput() {
  brixel::Bytes data;
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return data;
    data.insert(data.end(), chunk, chunk + n);
  }
}

bool WriteStandardOutput(const brixel::Bytes& bytes) { return brixel::WriteAllTo(STDOUT_FILENO, bytes); }

int Fail(const std::string& message) {
  WriteStandardOutput(brixel::Bytes(message.begin(), message.end()));
  return 1;
}

// The pictures asked for on standard output.
int Decode(int& argc, char** argv, const std::vector<std::string>& args, const std::vector<int>& sides) {
  const bool decode = args[0] == "decode";
  const brixel::Bytes data = ReadStandardInput();
  std::unique_ptr<QGuiApplication> application;
  if (!decode || brixel::IsMetafileData(data) || brixel::IsSvgDrawing(data, args[1])) {
    application = ApplicationForFonts(argc, argv);
  }
  brixel::Bytes out;
  brixel::LoadedPicture picture;
  std::string message;
  if (decode) {
    if (!brixel::DecodePicture(data, args[1], picture, message)) return Fail(message);
    brixel::AppendPicture(picture, out);
    return WriteStandardOutput(out) ? 0 : 1;
  }
  brixel::DrawingRenderer drawing;
  QSize own;
  if (!drawing.Load(data, message) || !drawing.OwnSize(own, message)) return Fail(message);
  brixel::AppendDrawingSize(own.width(), own.height(), out);
  for (const int side : sides) {
    const bool rendered = args[0] == "corner" ? drawing.RenderCorner(side, picture, message)
                                              : drawing.Render(side, picture, message);
    if (!rendered) return Fail(message);
    brixel::AppendPicture(picture, out);
  }
  return WriteStandardOutput(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool decode = args.size() == 2 && args[0] == "decode";
  const bool render = (args.size() >= 2 && args[0] == "render") || (args.size() == 2 && args[0] == "corner");
  std::vector<int> sides;
  for (std::size_t i = 1; render && i < args.size(); ++i) {
    const std::optional<int> side = brixel::WholeNumber(args[i]);
    if (!side || *side < 0) return 2;
    sides.push_back(*side);
  }
  if (!decode && !render) {
    std::fprintf(stderr, "usage: brixel-picture-decoder decode NAME | render SIDE... | corner SIDE (data on standard input)\n");
    return 2;
  }

  // The caller caps this process's memory: a picture that needs more is a failed load, on
  // this thread or on one of Qt's.
  std::set_terminate([] {
    try {
      if (std::current_exception()) std::rethrow_exception(std::current_exception());
    } catch (const std::bad_alloc&) {
      ::_exit(brixel::kDecoderOutOfMemory);
    } catch (...) {
    }
    std::abort();
  });
  try {
    return Decode(argc, argv, args, sides);
  } catch (const std::bad_alloc&) {
    return brixel::kDecoderOutOfMemory;
  }
}
