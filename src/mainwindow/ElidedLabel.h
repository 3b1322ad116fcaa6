#pragma once

#include <QLabel>

namespace brixel {

// A label whose text, when wider than the label, is drawn shortened in the middle ("deb-to…
// add.ico") and shown whole in its tool tip. text() stays the whole text.
class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;

  void SetFullText(const QString& text);
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace brixel
