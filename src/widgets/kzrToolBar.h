#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <vector>

#include "ToolBarEdge.h"
#include "ToolBarPicture.h"

namespace brixel {

class PropertyBag;

// A row of picture buttons that wraps into as many rows as its width asks for. Each button
// is a cell of ButtonSize + 4 pixels with a 3-D edge; the cells start 2 pixels from the top
// left corner with a 1-pixel gap. A button shows pressed while the mouse goes down on it and
// hot while the pointer is over it, and a click is a release on the button where the press
// was; the second press of a double-click is no press, so a double-click is one click. Keys
// identify buttons to the form; captions and tool tips are only stored.
class kzrToolBar : public QWidget {
  Q_OBJECT

 public:
  explicit kzrToolBar(QWidget* parent = nullptr);

  qint16 ButtonSize() const { return buttonSize_; }
  void SetButtonSize(qint16 size);
  qint32 ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(qint32 style);
  qint32 Style() const { return style_; }
  void SetStyle(qint32 style);
  qint16 ButtonCount() const { return static_cast<qint16>(buttons_.size()); }

  // Index arguments count from 0; reads of a bad index give an empty value and writes to one
  // are ignored.
  QString ButtonKey(int index) const;
  void SetButtonKey(int index, const QString& key);
  ToolBarPicture ButtonPicture(int index) const;
  void SetButtonPicture(int index, const ToolBarPicture& picture);  // redraws that button
  ToolBarPicture Picture(int index) const { return ButtonPicture(index); }
  void SetPicture(int index, const ToolBarPicture& picture);  // lays out and redraws all
  QString ButtonCaption(int index) const;
  QString ButtonToolTip(int index) const;

  void AddButton(const QString& key, const QString& caption, const ToolBarPicture& picture,
                 const QString& toolTip);
  void DeleteButton();  // removes the last button; nothing on an empty toolbar
  void Refresh();       // back to the normal state, lays out and redraws all

  // The button's cell (right and bottom exclusive), an empty rectangle for a bad index.
  QRect ButtonCell(int index) const;
  // The first button whose cell holds the point, -1 for none.
  int HitTest(QPoint point) const;

  // The stored form of the toolbar: "ButtonCount", "Style", "ButtonStyle", "ButtonSize" and
  // "Key"/"Caption"/"Picture"/"ToolTip" + index, defaults left out. Reading replaces every
  // button; a bad value raises its error and leaves the toolbar as it was.
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  // The size the form gave the control when it was stored; the size hint from then on.
  void SetStoredExtent(QSize size);
  QSize sizeHint() const override;

 signals:
  // Mouse button codes: 1 left, 2 right, 4 middle; shift state: 1 Shift, 2 Ctrl, 4 Alt.
  void Click(qint16 button, qint16 index, const QString& key);
  void MouseMove(qint16 button, qint16 shift, float x, float y);
  void MouseEnter(qint16 index);
  // A stored property was changed through its setter ("ButtonSize", "Key3", "ButtonCount"...).
  void PropertyChanged(const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct Button {
    QString key;
    QString caption;
    ToolBarPicture picture;
    QString toolTip;
    QRect cell;
    ButtonDrawState shown = ButtonDrawState::Normal;  // the state it was last drawn in
  };

  bool ValidIndex(int index) const { return index >= 0 && index < ButtonCount(); }
  void LayOut();                // places every button and redraws all in the current state
  void DrawButton(int index);  // redraws one button in the current state
  void PointerMoved(qint16 button, qint16 shift, QPointF position);

  std::vector<Button> buttons_;
  qint16 buttonSize_ = 32;
  qint32 buttonStyle_ = 0;
  qint32 style_ = 2;
  ButtonDrawState drawState_ = ButtonDrawState::Normal;
  qint16 pressedIndex_ = -1;
  qint16 hotIndex_ = -1;
  // Whether the control follows the pointer: taken on the first move over it, given up when
  // the pointer is seen outside. Qt's own grab only lasts while a mouse button is down.
  bool holdsPointer_ = false;
  QSize storedExtent_;
};

}  // namespace brixel
