#include "PictureBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "MouseCodes.h"

namespace brixel {

PictureBox::PictureBox(int width, int height, QWidget* parent)
    : QWidget(parent), surface_(width, height) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(surface_.PixelWidth(), surface_.PixelHeight());
  surface_.SetChangeListener([this](bool immediate) { SurfaceChanged(immediate); });
}

PictureBox::~PictureBox() { surface_.SetChangeListener(nullptr); }

void PictureBox::SurfaceChanged(bool immediate) {
  const QSize size(surface_.PixelWidth(), surface_.PixelHeight());
  if (this->size() != size) setFixedSize(size);
  if (immediate) {
    repaint();
  } else {
    update();
  }
}

void PictureBox::MousePointer(int pointer) {
  mousePointer_ = pointer;
  switch (pointer) {
    case kPointerHourglass: setCursor(Qt::WaitCursor); break;
    case kPointerArrowQuestion: setCursor(Qt::WhatsThisCursor); break;
    default: unsetCursor(); break;
  }
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), surface_.Canvas(), event->rect());
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                 surface_.ToLogicalX(event->position().x()),
                 surface_.ToLogicalY(event->position().y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()),
                 surface_.ToLogicalX(event->position().x()),
                 surface_.ToLogicalY(event->position().y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()),
               surface_.ToLogicalX(event->position().x()),
               surface_.ToLogicalY(event->position().y()));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent*) { emit DblClick(); }

}  // namespace brixel
