#include "kzrToolBar.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <limits>

#include "ErrorReport.h"
#include "MouseCodes.h"
#include "PropertyBag.h"

namespace brixel {
namespace {

constexpr qint16 kDefaultButtonSize = 32;
constexpr int kMargin = 2;  // from the control's edge to the first cell, and cell edge to picture
constexpr int kGap = 1;     // between cells

QPoint PixelOf(QPointF position) {
  return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

}  // namespace

kzrToolBar::kzrToolBar(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setBackgroundRole(QPalette::Button);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  SetButtonSize(kDefaultButtonSize);
}

void kzrToolBar::SetButtonSize(qint16 size) {
  buttonSize_ = size;
  emit PropertyChanged("ButtonSize");
  LayOut();
}

void kzrToolBar::SetButtonStyle(qint32 style) {
  buttonStyle_ = style;
  emit PropertyChanged("ButtonStyle");
  LayOut();
}

void kzrToolBar::SetStyle(qint32 style) {
  style_ = style;
  emit PropertyChanged("Style");
  LayOut();
}

QString kzrToolBar::ButtonKey(int index) const {
  return ValidIndex(index) ? buttons_[index].key : QString();
}

void kzrToolBar::SetButtonKey(int index, const QString& key) {
  if (!ValidIndex(index)) return;
  buttons_[index].key = key;
  emit PropertyChanged("Key" + QString::number(index));
}

ToolBarPicture kzrToolBar::ButtonPicture(int index) const {
  return ValidIndex(index) ? buttons_[index].picture : ToolBarPicture{};
}

void kzrToolBar::SetButtonPicture(int index, const ToolBarPicture& picture) {
  if (!ValidIndex(index)) return;
  buttons_[index].picture = picture;
  emit PropertyChanged("Picture" + QString::number(index));
  DrawButton(index);
}

void kzrToolBar::SetPicture(int index, const ToolBarPicture& picture) {
  if (!ValidIndex(index)) return;
  buttons_[index].picture = picture;
  emit PropertyChanged("Button");
  LayOut();
}

QString kzrToolBar::ButtonCaption(int index) const {
  return ValidIndex(index) ? buttons_[index].caption : QString();
}

QString kzrToolBar::ButtonToolTip(int index) const {
  return ValidIndex(index) ? buttons_[index].toolTip : QString();
}

void kzrToolBar::AddButton(const QString& key, const QString& caption,
                           const ToolBarPicture& picture, const QString& toolTip) {
  // The count is a 16-bit value; one more button than it holds is refused, not wrapped.
  if (buttons_.size() >= static_cast<size_t>(std::numeric_limits<qint16>::max())) {
    ReportError(BackEndError(ErrorCode::Overflow), "PrjBrixel.kzrToolBar.AddButton");
    return;
  }
  buttons_.push_back(Button{key, caption, picture, toolTip, {}, drawState_});
  emit PropertyChanged("ButtonCount");
  LayOut();
}

void kzrToolBar::DeleteButton() {
  if (buttons_.empty()) return;
  buttons_.pop_back();
  // Indices that pointed at the removed button point at nothing now.
  if (pressedIndex_ >= ButtonCount()) pressedIndex_ = -1;
  if (hotIndex_ >= ButtonCount()) hotIndex_ = -1;
  LayOut();
  emit PropertyChanged("ButtonCount");
}

void kzrToolBar::Refresh() {
  drawState_ = ButtonDrawState::Normal;
  LayOut();
}

QRect kzrToolBar::ButtonCell(int index) const {
  return ValidIndex(index) ? buttons_[index].cell : QRect();
}

int kzrToolBar::HitTest(QPoint point) const {
  for (int i = 0; i < ButtonCount(); ++i) {
    const QRect& c = buttons_[i].cell;
    // Written out rather than QRect::contains, so that a cell of no size holds nothing.
    if (c.left() <= point.x() && point.x() < c.left() + c.width() && c.top() <= point.y() &&
        point.y() < c.top() + c.height())
      return i;
  }
  return -1;
}

void kzrToolBar::LayOut() {
  const int cellSize = buttonSize_ + 4;
  int x = kMargin;
  int y = kMargin;
  for (Button& b : buttons_) {
    b.cell = QRect(x, y, cellSize, cellSize);
    b.shown = drawState_;
    x += cellSize + kGap;
    // The row break is decided for the button that follows.
    if (x + cellSize > width()) {
      x = kMargin;
      y += cellSize + kGap;
    }
  }
  update();
}

void kzrToolBar::DrawButton(int index) {
  if (!ValidIndex(index)) return;
  buttons_[index].shown = drawState_;
  update(buttons_[index].cell);
}

void kzrToolBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& pal = palette();
  const QColor background = pal.color(backgroundRole());
  painter.fillRect(rect(), background);
  if (buttons_.empty()) return;
  for (const Button& b : buttons_) {
    painter.fillRect(b.cell, background);
    if (!b.picture.IsEmpty()) {
      const int offset = b.shown == ButtonDrawState::Pressed ? kMargin + 1
                         : b.shown == ButtonDrawState::Hot   ? kMargin - 1
                                                             : kMargin;
      painter.drawPixmap(b.cell.topLeft() + QPoint(offset, offset), b.picture.pixmap);
    }
    DrawEdge(painter, b.cell, EdgeForStyle(buttonStyle_, b.shown), pal);
  }
  DrawEdge(painter, rect(), EdgeForStyle(style_, ButtonDrawState::Normal), pal);
}

void kzrToolBar::resizeEvent(QResizeEvent*) { LayOut(); }

void kzrToolBar::mousePressEvent(QMouseEvent* event) {
  pressedIndex_ = static_cast<qint16>(HitTest(PixelOf(event->position())));
  if (pressedIndex_ >= 0) {
    drawState_ = ButtonDrawState::Pressed;
    DrawButton(pressedIndex_);
    drawState_ = ButtonDrawState::Normal;
  }
}

void kzrToolBar::mouseReleaseEvent(QMouseEvent* event) {
  const int index = HitTest(PixelOf(event->position()));
  if (index < 0 || index != pressedIndex_) return;
  pressedIndex_ = -1;
  // The button is not redrawn here; the next move over the control does that.
  emit Click(ButtonCode(event->button()), static_cast<qint16>(index), buttons_[index].key);
}

// Qt hands the second press of a double-click to mousePressEvent unless told otherwise, and
// the release after it would click the button a second time. Leaving the pressed index alone
// means that release clicks nothing, as the first release already cleared it.
void kzrToolBar::mouseDoubleClickEvent(QMouseEvent*) {}

void kzrToolBar::mouseMoveEvent(QMouseEvent* event) {
  PointerMoved(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), event->position());
}

void kzrToolBar::leaveEvent(QEvent*) {
  if (!holdsPointer_) return;
  // Qt tells of the pointer leaving but sends no move outside; give the control the move it
  // would have seen, at a point outside it.
  QPointF position = mapFromGlobal(QCursor::pos());
  if (rect().contains(position.toPoint())) position = QPointF(-1, -1);
  PointerMoved(ButtonCode(QGuiApplication::mouseButtons()),
               ShiftCode(QGuiApplication::keyboardModifiers()), position);
}

void kzrToolBar::PointerMoved(qint16 button, qint16 shift, QPointF position) {
  const bool outside = position.x() < 0 || position.x() > width() || position.y() < 0 ||
                       position.y() > height();
  // Without holding the pointer the control does not hear of moves outside itself (Qt's
  // grab still delivers them while a mouse button is down).
  if (outside && !holdsPointer_) return;

  if (hotIndex_ >= 0) {
    drawState_ = ButtonDrawState::Normal;
    DrawButton(hotIndex_);
  }
  const int index = HitTest(PixelOf(position));
  if (index >= 0) {
    drawState_ = button != 0 ? ButtonDrawState::Pressed : ButtonDrawState::Hot;
    DrawButton(index);
    emit MouseEnter(static_cast<qint16>(index));
  }
  hotIndex_ = static_cast<qint16>(index);

  if (!holdsPointer_) {
    holdsPointer_ = true;
    drawState_ = ButtonDrawState::Hot;
    DrawButton(hotIndex_);
  } else if (outside) {
    drawState_ = ButtonDrawState::Normal;
    holdsPointer_ = false;
    DrawButton(hotIndex_);
  }
  emit MouseMove(button, shift, static_cast<float>(position.x()),
                 static_cast<float>(position.y()));
}

void kzrToolBar::ReadProperties(const PropertyBag& bag) {
  constexpr qint32 kInt16Min = std::numeric_limits<qint16>::min();
  constexpr qint32 kInt16Max = std::numeric_limits<qint16>::max();
  constexpr qint32 kInt32Min = std::numeric_limits<qint32>::min();
  constexpr qint32 kInt32Max = std::numeric_limits<qint32>::max();
  const auto count = static_cast<qint16>(bag.ReadInteger("ButtonCount", 0, kInt16Min, kInt16Max));
  const qint32 style = bag.ReadInteger("Style", 0, kInt32Min, kInt32Max);
  const qint32 buttonStyle = bag.ReadInteger("ButtonStyle", 0, kInt32Min, kInt32Max);
  const auto size =
      static_cast<qint16>(bag.ReadInteger("ButtonSize", kDefaultButtonSize, kInt16Min, kInt16Max));
  std::vector<Button> buttons;
  for (int i = 0; i < count; ++i) {
    const QString n = QString::number(i);
    buttons.push_back(Button{bag.ReadText("Key" + n), bag.ReadText("Caption" + n),
                             LoadToolBarPicture(bag.ReadText("Picture" + n)),
                             bag.ReadText("ToolTip" + n), {}, ButtonDrawState::Normal});
  }
  buttons_ = std::move(buttons);
  style_ = style;
  buttonStyle_ = buttonStyle;
  buttonSize_ = size;
  pressedIndex_ = -1;
  hotIndex_ = -1;
  LayOut();
}

void kzrToolBar::WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("ButtonCount", int(ButtonCount()), 0);
  bag.WriteProperty("Style", style_, 0);
  bag.WriteProperty("ButtonStyle", buttonStyle_, 0);
  bag.WriteProperty("ButtonSize", int(buttonSize_), int(kDefaultButtonSize));
  for (int i = 0; i < ButtonCount(); ++i) {
    const Button& b = buttons_[i];
    const QString n = QString::number(i);
    bag.WriteProperty("Key" + n, b.key, QString());
    bag.WriteProperty("Caption" + n, b.caption, QString());
    bag.WriteProperty("Picture" + n, ToolBarPictureReference(b.picture), QString());
    bag.WriteProperty("ToolTip" + n, b.toolTip, QString());
  }
}

void kzrToolBar::SetStoredExtent(QSize size) {
  storedExtent_ = size;
  updateGeometry();
  resize(size);
  LayOut();  // a hidden widget hears of its new size only when it is shown
}

QSize kzrToolBar::sizeHint() const {
  return storedExtent_.isValid() ? storedExtent_ : QSize(kMargin * 2 + buttonSize_ + 4,
                                                         kMargin * 2 + buttonSize_ + 4);
}

}  // namespace brixel
