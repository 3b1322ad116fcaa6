#pragma once

#include <QPalette>
#include <QRect>

class QPainter;

namespace brixel {

// The classic 3-D edge of a toolbar cell: an outer and an inner ring of one pixel each, every
// ring raised or sunken. An edge value combines one bit per ring.
namespace edge {
inline constexpr int kRaisedOuter = 0x1;
inline constexpr int kSunkenOuter = 0x2;
inline constexpr int kRaisedInner = 0x4;
inline constexpr int kSunkenInner = 0x8;
}  // namespace edge

// The states a toolbar button is drawn in.
enum class ButtonDrawState { Normal = 0, Pressed = 1, Hot = 2 };

// The edge value drawn for an edge style (0 none, 1 etched, 2 raised, 3 bump, 4 sunken; any
// other value draws nothing) in a drawing state.
int EdgeForStyle(int style, ButtonDrawState state);

// Draws an edge on all four sides of rect (right and bottom exclusive) with the soft look:
// the lightest colour outside on the top and left of a raised ring, the darkest outside on a
// sunken one. Colours come from the palette's Light, Midlight, Dark and Shadow roles.
void DrawEdge(QPainter& painter, const QRect& rect, int edgeValue, const QPalette& palette);

}  // namespace brixel
