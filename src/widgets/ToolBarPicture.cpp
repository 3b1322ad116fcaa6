#include "ToolBarPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "DrawnAhead.h"
#include "ErrorReport.h"
#include "SvgRendering.h"

// Qt's resource initialisers live in the global namespace.
static void InitToolBarResources() { Q_INIT_RESOURCE(toolbars); }

namespace brixel {
namespace {

constexpr const char* kPictureFolder = ":/toolbars/pictures/";
constexpr const char* kPngDataPrefix = "data:image/png;base64,";

QPixmap RenderSvg(const QString& path) {
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  if (ratio == 1.0 && path.startsWith(QLatin1String(kPictureFolder))) {
    const QImage drawn = DrawnAheadPicture(QFileInfo(path).completeBaseName());
    if (!drawn.isNull()) return QPixmap::fromImage(drawn);
  }
  return QPixmap::fromImage(DrawSvg(path, QSize(), ratio));
}

}  // namespace

void RegisterToolBarResources() {
  static const bool done = (InitToolBarResources(), true);
  (void)done;
}

QString ShippedPicturePath(const QString& name) {
  return QString::fromLatin1(kPictureFolder) + name + ".svg";
}

QStringList ShippedPictureNames() {
  RegisterToolBarResources();
  QStringList names;
  for (const QString& file : QDir(kPictureFolder).entryList({"*.svg"}, QDir::Files, QDir::Name))
    names << file.chopped(4);
  return names;
}

ToolBarPicture ShippedPicture(const QString& name) {
  RegisterToolBarResources();
  const QString path = ShippedPicturePath(name);
  QPixmap pixmap = RenderSvg(path);
  if (pixmap.isNull()) return {};
  return {pixmap, path};
}

ToolBarPicture LoadToolBarPicture(const QString& reference) {
  RegisterToolBarResources();
  if (reference.isEmpty()) return {};
  QPixmap pixmap;
  QString source;
  if (reference.startsWith(QLatin1String(kPngDataPrefix))) {
    const QByteArray data =
        QByteArray::fromBase64(reference.mid(int(qstrlen(kPngDataPrefix))).toLatin1());
    pixmap.loadFromData(data, "PNG");
  } else {
    source = reference;
    pixmap = reference.endsWith(".svg", Qt::CaseInsensitive) ? RenderSvg(reference)
                                                             : QPixmap(reference);
  }
  if (pixmap.isNull()) Raise(ErrorCode::InvalidPicture);
  return {pixmap, source};
}

QString ToolBarPictureReference(const ToolBarPicture& picture) {
  if (picture.IsEmpty()) return {};
  if (!picture.source.isEmpty()) return picture.source;
  // Stored at the picture's own size in pixels, whatever the screen it was drawn for.
  QImage image = picture.pixmap.toImage();
  if (image.devicePixelRatio() != 1.0) {
    image = image.scaledToWidth(qRound(picture.pixmap.deviceIndependentSize().width()),
                                Qt::SmoothTransformation);
    image.setDevicePixelRatio(1.0);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return QString::fromLatin1(kPngDataPrefix) + QString::fromLatin1(png.toBase64());
}

}  // namespace brixel
