#include "ProgramLogo.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// Qt's resource initialisers live in the global namespace.
static void InitAboutResources() { Q_INIT_RESOURCE(about); }

namespace brixel {

QPixmap ProgramLogo(int size) {
  static const bool registered = (InitAboutResources(), true);
  (void)registered;
  QSvgRenderer renderer(QStringLiteral(":/about/Logo.svg"));
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
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
