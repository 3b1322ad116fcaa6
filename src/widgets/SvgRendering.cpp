#include "SvgRendering.h"

#include <QImageReader>

namespace brixel {

QImage DrawSvg(const QString& path, QSize size, qreal ratio) {
  QImageReader reader(path, "svg");
  const QSize shown = size.isEmpty() ? reader.size() : size;
  if (shown.isEmpty()) return {};
  reader.setScaledSize(shown * ratio);
  QImage image = reader.read();
  if (image.isNull()) return {};
  image.setDevicePixelRatio(ratio);
  return image;
}

}  // namespace brixel
