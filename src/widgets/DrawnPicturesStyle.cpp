#include "DrawnPicturesStyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

namespace brixel {
namespace {

// A double chevron pointing right (or down), size pixels square, in the button text colour.
QPixmap DoubleChevron(int size, bool down, const QColor& colour) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (down) {
    painter.translate(size, 0);
    painter.rotate(90);
  }
  const qreal unit = size / 16.0;
  for (const qreal left : {4.0, 9.0}) {
    QPainterPath chevron;
    chevron.moveTo(left * unit, 4 * unit);
    chevron.lineTo((left + 3) * unit, 8 * unit);
    chevron.lineTo(left * unit, 12 * unit);
    painter.drawPath(chevron);
  }
  return pixmap;
}

// The room above a group box's frame that its title takes, as the default style leaves it.
constexpr int kGroupBoxTopMargin = 3;

}  // namespace

void DrawnPicturesStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                       QPainter* painter, const QWidget* widget) const {
  if (element != PE_FrameGroupBox) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  const auto* box = qobject_cast<const QGroupBox*>(widget);
  const bool bare = box && !box->isCheckable() && box->title().isEmpty();
  const int top = kGroupBoxTopMargin +
                  (bare ? 0 : std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()));
  // A faint panel with a darker edge whose corner pixels are left out, as the default style's
  // frame picture shows; plain fills, which cost far less than an antialiased path.
  const QRect frame = option->rect.adjusted(0, top, 0, 0);
  if (frame.width() < 3 || frame.height() < 3) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->fillRect(frame.adjusted(1, 1, -1, -1), QColor(0, 0, 0, 10));
  const QColor edge(0, 0, 0, 56);
  painter->fillRect(QRect(frame.left() + 1, frame.top(), frame.width() - 2, 1), edge);
  painter->fillRect(QRect(frame.left() + 1, frame.bottom(), frame.width() - 2, 1), edge);
  painter->fillRect(QRect(frame.left(), frame.top() + 1, 1, frame.height() - 2), edge);
  painter->fillRect(QRect(frame.right(), frame.top() + 1, 1, frame.height() - 2), edge);
  painter->restore();
}

QIcon DrawnPicturesStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                        const QWidget* widget) const {
  if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton) {
    return QProxyStyle::standardIcon(which, option, widget);
  }
  const QColor colour = (widget ? widget->palette() : QApplication::palette()).color(QPalette::ButtonText);
  const bool down = which == SP_ToolBarVerticalExtensionButton;
  QIcon icon;
  for (const int size : {16, 32}) icon.addPixmap(DoubleChevron(size, down, colour));
  return icon;
}

}  // namespace brixel
