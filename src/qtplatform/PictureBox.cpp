#include "PictureBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "MouseCodes.h"

namespace brixel {

PointerBox::PointerBox(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox::PictureBox(int width, int height, QWidget* parent)
    : PointerBox(parent), surface_(width, height) {
  setFixedSize(surface_.PixelWidth(), surface_.PixelHeight());
  surface_.SetChangeListener([this](bool immediate) { SurfaceChanged(immediate); });
}

PictureBox::~PictureBox() { surface_.SetChangeListener(nullptr); }

void PictureBox::SurfaceChanged(bool immediate) {
  const QSize size(surface_.PixelWidth(), surface_.PixelHeight());
  if (this->size() != size) setFixedSize(size);
  if (immediate) {
    repaint();
  } else if (!updatePending_) {
    // Asking once is enough: drawing an image pixel by pixel would ask for every pixel.
    updatePending_ = true;
    update();
  }
}

QPointF PictureBox::ToLogical(const QPointF& pixel) const {
  return {surface_.ToLogicalX(pixel.x()), surface_.ToLogicalY(pixel.y())};
}

void PointerBox::MousePointer(int pointer) {
  mousePointer_ = pointer;
  switch (pointer) {
    case kPointerHourglass: setCursor(Qt::WaitCursor); break;
    case kPointerArrowQuestion: setCursor(Qt::WhatsThisCursor); break;
    default: unsetCursor(); break;
  }
}

void PictureBox::paintEvent(QPaintEvent* event) {
  updatePending_ = false;
  QPainter painter(this);
  painter.drawImage(event->rect(), surface_.Canvas(), event->rect());
}

void PointerBox::mousePressEvent(QMouseEvent* event) {
  const QPointF at = ToLogical(event->position());
  emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                 static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void PointerBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = ToLogical(event->position());
  emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()),
                 static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void PointerBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF at = ToLogical(event->position());
  emit MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()),
               static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void PointerBox::mouseDoubleClickEvent(QMouseEvent*) { emit DblClick(); }

}  // namespace brixel
