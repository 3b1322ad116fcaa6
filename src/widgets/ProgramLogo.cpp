#include "ProgramLogo.h"

#include <QGuiApplication>
#include <QImage>

#include "DrawnAhead.h"
#include "SvgRendering.h"

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
  return QPixmap::fromImage(DrawSvg(QStringLiteral(":/about/Logo.svg"), QSize(size, size), ratio));
}

}  // namespace brixel
