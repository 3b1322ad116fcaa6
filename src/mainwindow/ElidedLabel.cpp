#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace brixel {

void ElidedLabel::SetFullText(const QString& text) {
  setText(text);
  setToolTip(text);
}

QSize ElidedLabel::minimumSizeHint() const { return {1, QLabel::minimumSizeHint().height()}; }

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect();
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
  style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                        shown, foregroundRole());
}

}  // namespace brixel
