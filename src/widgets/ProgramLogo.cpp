#include "ProgramLogo.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "DrawnAhead.h"

// Qt's resource initialisers live in the global namespace.
static void InitAboutResources() { Q_INIT_RESOURCE(about); }

namespace brixel {

QPixmap ProgramLogo(int size) {
  static const bool registered = (InitAboutResources(), true);
  (void)registered;
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  if (ratio == 1.0) {
    const QImage drawn = DrawnAheadPicture("Logo-" + QString::number(size));
    if (!drawn.isNull()) return QPixmap::fromImage(drawn);
  }
  QSvgRenderer renderer(QStringLiteral(":/about/Logo.svg"));
  QImage image(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  if (renderer.isValid()) {
    QPainter painter(&image);
    renderer.render(&painter);
  }
  image.setDevicePixelRatio(ratio);
  return QPixmap::fromImage(image);
}

}  // namespace brixel
