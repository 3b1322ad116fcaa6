#pragma once

#include <QImage>
#include <QString>

namespace brixel {

// A shipped SVG picture as the build drew it ahead of time: name is the SVG's base name, with
// "-N" for the sizes drawn N pixels square ("Logo-96"). A null image when the build drew no
// such picture. Valid for a pixel ratio of 1 only; other ratios draw the SVG.
QImage DrawnAheadPicture(const QString& name);

}  // namespace brixel
