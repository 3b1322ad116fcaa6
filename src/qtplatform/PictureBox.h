#pragma once

#include <QWidget>

#include "QtPictureSurface.h"

namespace brixel {

// A widget that reports the pointer in logical units of its own. Button codes: 1 left, 2
// right, 4 middle (moves report every held button added together); shift codes: 1 Shift,
// 2 Ctrl, 4 Alt.
class PointerBox : public QWidget {
  Q_OBJECT

 public:
  // Pointer shapes by their classic numbers.
  static constexpr int kPointerDefault = 0;
  static constexpr int kPointerHourglass = 11;
  static constexpr int kPointerArrowQuestion = 14;

  explicit PointerBox(QWidget* parent = nullptr);

  int MousePointer() const { return mousePointer_; }
  void MousePointer(int pointer);

 signals:
  void MouseDown(int button, int shift, float x, float y);
  void MouseMove(int button, int shift, float x, float y);
  void MouseUp(int button, int shift, float x, float y);
  void DblClick();

 protected:
  // The logical position of a position on the widget.
  virtual QPointF ToLogical(const QPointF& pixel) const = 0;

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int mousePointer_ = kPointerDefault;
};

// A widget that shows a picture surface at one screen pixel per surface pixel and reports
// the pointer in the surface's logical units.
class PictureBox : public PointerBox {
  Q_OBJECT

 public:
  explicit PictureBox(int width = 1, int height = 1, QWidget* parent = nullptr);
  ~PictureBox() override;

  QtPictureSurface& Surface() { return surface_; }
  const QtPictureSurface& Surface() const { return surface_; }

 protected:
  QPointF ToLogical(const QPointF& pixel) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void SurfaceChanged(bool immediate);

  QtPictureSurface surface_;
  bool updatePending_ = false;
};

}  // namespace brixel
