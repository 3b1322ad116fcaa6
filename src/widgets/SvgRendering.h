#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace brixel {

// An SVG drawn at size (its own size when size is empty) times the pixel ratio, through Qt's
// SVG image reader, which is loaded only when a picture is drawn this way: the editor does not
// link the SVG library, so starting it loads one library less. A null image when the file
// cannot be read as an SVG.
QImage DrawSvg(const QString& path, QSize size, qreal ratio);

}  // namespace brixel
