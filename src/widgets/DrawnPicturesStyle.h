#pragma once

#include <QProxyStyle>

namespace brixel {

// The application's style with what the default style reads from picture files drawn in code
// instead: the arrows of the toolbar and menu bar extension buttons and the frames of group
// boxes. The first picture Qt reads loads every image-format plugin, and a start that shows no
// picture file should not pay for that before its window is up.
class DrawnPicturesStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace brixel
