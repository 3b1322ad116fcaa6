// Renders the shipped SVG pictures ahead of time, so that a start of the editor copies pixels
// instead of parsing and painting every toolbar picture and the logo.
//
// Usage: brixel_render_pictures OUT_DIR [--size N] SVG...
// Each SVG is drawn at N x N pixels (its own size without --size) into OUT_DIR/NAME.rgba, or
// OUT_DIR/NAME-N.rgba with --size: width and height as 32-bit little-endian numbers, then the
// premultiplied RGBA bytes row by row.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray LittleEndian32(quint32 value) {
  QByteArray bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
  return bytes;
}

bool Render(const QString& svg, int size, const QString& out) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return false;
  const QSize shown = size > 0 ? QSize(size, size) : renderer.defaultSize();
  if (shown.isEmpty()) return false;
  QImage image(shown, QImage::Format_RGBA8888_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    renderer.render(&painter);
  }
  QFile file(out);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QByteArray bytes = LittleEndian32(static_cast<quint32>(image.width())) +
                     LittleEndian32(static_cast<quint32>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
  }
  return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts and the painter want an application; no display is needed to paint into images.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: brixel_render_pictures OUT_DIR [--size N] SVG...\n");
    return 2;
  }
  const QString outDir = args[1];
  int size = 0;
  for (int i = 2; i < args.size(); ++i) {
    if (args[i] == "--size" && i + 1 < args.size()) {
      size = args[++i].toInt();
      continue;
    }
    const QString name = QFileInfo(args[i]).completeBaseName();
    const QString out = outDir + "/" + name + (size > 0 ? "-" + QString::number(size) : QString()) + ".rgba";
    if (!Render(args[i], size, out)) {
      std::fprintf(stderr, "brixel_render_pictures: cannot render %s\n", qPrintable(args[i]));
      return 1;
    }
  }
  return 0;
}
