#include "ToolBarEdge.h"

#include <QPainter>
#include <array>

namespace brixel {
namespace {

// Colour of one side of one ring, picked by the edge value's four bits.
enum Shade : signed char { X = -1, Highlight, Light, Shadow, DarkShadow };
using ShadeTable = std::array<Shade, 16>;

constexpr ShadeTable kOuterTopLeft = {X, Highlight, DarkShadow, X, Light, Highlight, DarkShadow, X,
                                      Shadow, Highlight, DarkShadow, X, X, Highlight, DarkShadow, X};
constexpr ShadeTable kInnerTopLeft = {X, X, X, X, X, Light, Light, X,
                                      X, Shadow, Shadow, X, X, X, X, X};
constexpr ShadeTable kInnerBottomRight = {X, X, X, X, X, Shadow, Shadow, X,
                                          X, Light, Light, X, X, X, X, X};
constexpr ShadeTable kOuterBottomRight = {X, DarkShadow, Highlight, X, Shadow, DarkShadow, Highlight, X,
                                          Light, DarkShadow, Highlight, X, X, DarkShadow, Highlight, X};

QColor ShadeColour(Shade shade, const QPalette& palette) {
  switch (shade) {
    case Highlight: return palette.color(QPalette::Light);
    case Light: return palette.color(QPalette::Midlight);
    case Shadow: return palette.color(QPalette::Dark);
    case DarkShadow: return palette.color(QPalette::Shadow);
    case X: break;
  }
  return {};
}

// One-pixel lines as filled rectangles, so that every end pixel is exactly where it belongs.
void HorizontalLine(QPainter& p, int x1, int x2, int y, Shade shade, const QPalette& palette) {
  if (shade != X && x2 >= x1) p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), ShadeColour(shade, palette));
}

void VerticalLine(QPainter& p, int x, int y1, int y2, Shade shade, const QPalette& palette) {
  if (shade != X && y2 >= y1) p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), ShadeColour(shade, palette));
}

}  // namespace

int EdgeForStyle(int style, ButtonDrawState state) {
  using namespace edge;
  constexpr int kNone = 0;
  constexpr int kStyle1 = kSunkenOuter | kSunkenInner;
  constexpr int kStyle2 = kRaisedOuter | kRaisedInner;
  constexpr int kStyle3 = kRaisedOuter | kSunkenInner;
  constexpr int kStyle4 = kSunkenOuter | kRaisedInner;
  switch (state) {
    case ButtonDrawState::Normal:
      switch (style) {
        case 1: return kStyle1;
        case 2: return kStyle2;
        case 3: return kStyle3;
        case 4: return kStyle4;
        default: return kNone;
      }
    case ButtonDrawState::Pressed:
      return style == 1 ? kStyle4 : kStyle1;
    case ButtonDrawState::Hot:
      if (style == 2) return kStyle4;
      if (style == 4) return kStyle3;
      return kStyle2;
  }
  return kNone;
}

void DrawEdge(QPainter& painter, const QRect& rect, int edgeValue, const QPalette& palette) {
  const int v = edgeValue & 0xF;
  const int l = rect.left();
  const int t = rect.top();
  const int r = rect.left() + rect.width();  // exclusive
  const int b = rect.top() + rect.height();  // exclusive
  // Outer ring: bottom and right are drawn last and take the bottom-left and top-right corners.
  HorizontalLine(painter, l, r - 1, t, kOuterTopLeft[v], palette);
  VerticalLine(painter, l, t, b - 1, kOuterTopLeft[v], palette);
  HorizontalLine(painter, l, r - 1, b - 1, kOuterBottomRight[v], palette);
  VerticalLine(painter, r - 1, t, b - 1, kOuterBottomRight[v], palette);
  // Inner ring, one pixel in, likewise.
  HorizontalLine(painter, l + 1, r - 2, t + 1, kInnerTopLeft[v], palette);
  VerticalLine(painter, l + 1, t + 1, b - 2, kInnerTopLeft[v], palette);
  HorizontalLine(painter, l + 1, r - 2, b - 2, kInnerBottomRight[v], palette);
  VerticalLine(painter, r - 2, t + 1, b - 2, kInnerBottomRight[v], palette);
}

}  // namespace brixel
