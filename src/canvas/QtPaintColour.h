#pragma once

#include <QColor>

#include "PaintColour.h"
#include "QtColour.h"

namespace brixel {

// A colour with opacity (PaintColour) as Qt's colour with alpha, and back: the one place where
// opacity meets QColor (the colour itself goes through RgbFromColour and ColourFromRgb).
inline QColor QColorFromPaint(PaintColour paint) {
  QColor colour(RgbFromColour(paint.colour));
  colour.setAlpha(paint.opacity < 0 ? 0 : paint.opacity > kOpaque ? kOpaque : paint.opacity);
  return colour;
}

inline PaintColour PaintFromQColor(const QColor& colour) {
  return {ColourFromRgb(colour.rgb()), colour.alpha()};
}

}  // namespace brixel
