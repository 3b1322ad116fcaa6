#include "DrawnAhead.h"

#include <QResource>

// Qt's resource initialisers live in the global namespace.
static void InitRenderedResources() { Q_INIT_RESOURCE(rendered); }

namespace brixel {
namespace {

quint32 LittleEndian32(const uchar* bytes) {
  return quint32(bytes[0]) | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16 | quint32(bytes[3]) << 24;
}

}  // namespace

QImage DrawnAheadPicture(const QString& name) {
  static const bool registered = (InitRenderedResources(), true);
  (void)registered;
  const QResource resource(":/rendered/" + name + ".rgba");
  // Stored uncompressed, so the pixels can be used where they lie.
  if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) return {};
  const qint64 size = resource.size();
  if (size < 8) return {};
  const uchar* bytes = resource.data();
  const quint32 width = LittleEndian32(bytes);
  const quint32 height = LittleEndian32(bytes + 4);
  if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
      qint64(width) * height * 4 != size - 8) {
    return {};
  }
  return QImage(bytes + 8, int(width), int(height), int(width) * 4, QImage::Format_RGBA8888_Premultiplied);
}

}  // namespace brixel
