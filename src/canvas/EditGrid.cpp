#include "EditGrid.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "CurrentDocument.h"
#include "GridGeometry.h"
#include "GridView.h"
#include "PictureBox.h"

namespace brixel {
namespace {

constexpr int kWheelStep = 120;
constexpr int kSmallestRoom = 160;

// The grid's scroll area: the wheel with Ctrl held zooms instead of scrolling, and a new size
// lays the view out again.
class GridScrollArea final : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  // steps > 0 zooms in, < 0 out; at is the pointer on the viewport.
  std::function<void(int steps, const QPoint& at)> zoomByWheel;
  std::function<void()> resized;

  // The fit view's smallest square, which the window starts with.
  QSize sizeHint() const override { return {kFitViewPixels, kFitViewPixels}; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QScrollArea::resizeEvent(event);
    if (resized) resized();
  }

  void wheelEvent(QWheelEvent* event) override {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
      QScrollArea::wheelEvent(event);
      return;
    }
    // Fine-grained wheels send parts of a step; whole steps zoom.
    pending_ += event->angleDelta().y();
    const int steps = pending_ / kWheelStep;
    pending_ %= kWheelStep;
    if (steps != 0 && zoomByWheel) zoomByWheel(steps, event->position().toPoint());
    event->accept();
  }

 private:
  int pending_ = 0;
};

}  // namespace

EditGrid::EditGrid(QWidget& parent, QLabel& location, const Settings& options)
    : scroller_(new GridScrollArea(&parent)),
      view_(new GridView),
      scratch_(new PictureBox(kDefaultGridCells, kDefaultGridCells, &parent)),
      location_(location),
      options_(options) {
  auto* scroller = static_cast<GridScrollArea*>(scroller_);
  scroller->setObjectName("GridScroll");
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setAlignment(Qt::AlignCenter);
  scroller->resize(kViewSize, kViewSize);
  // Less room than the fit view needs scrolls it.
  scroller->setMinimumSize(kSmallestRoom, kSmallestRoom);
  scroller->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  scroller->setWidget(view_);
  scroller->zoomByWheel = [this](int steps, const QPoint& at) {
    int zoom = zoom_;
    for (; steps > 0; --steps) zoom = ZoomedIn(Cells(), zoom, FitSide());
    for (; steps < 0; ++steps) zoom = ZoomedOut(Cells(), zoom, FitSide());
    SetZoom(zoom, at);
  };
  scroller->resized = [this] { LayOut(); };

  scratch_->setObjectName("pctExport");
  scratch_->hide();

  QObject::connect(view_, &PointerBox::MouseMove, view_,
                   [this](int, int, float x, float y) { PointerMoved(x, y); });
}

int EditGrid::Cells() const {
  const cIco* document = CurrentIconDocument();
  if (!HasImage(document, currentImage_)) return kDefaultGridCells;
  const int cells = std::max<int>(document->Width(currentImage_), document->Height(currentImage_) / 2);
  return cells > 0 ? cells : kDefaultGridCells;
}

void EditGrid::PaintCell(float x, float y, Colour colour, int mode) {
  if (mode != CellInverted && mode != CellTransparent && mode != CellOpaque) return;
  if (view_->Picture().Empty()) {
    // Nothing shown yet: the cell goes onto the image as it is.
    const cIco* document = CurrentIconDocument();
    if (HasImage(document, currentImage_)) view_->Show(ImagePicture(document->Image(currentImage_)));
  }
  view_->SetCell(PixelOf(x), PixelOf(y), colour, static_cast<PixelLook>(mode));
}

void EditGrid::ShowPixel(int x, int y) {
  const cIco* document = CurrentIconDocument();
  if (!HasImage(document, currentImage_)) return;
  const IconImage& image = document->Image(currentImage_);
  if (view_->Picture().Empty()) view_->Show(ImagePicture(image));
  view_->SetCellFrom(image, x, y);
}

void EditGrid::DrawGridLines() {
  GridView::Marks marks;
  const cIco* document = CurrentIconDocument();
  marks.lines = gridReady_ && options_.Grid;
  // Only a cursor has a hot spot: an icon's images hold their planes and bit count there.
  if (marks.lines && options_.HotSpot && HasImage(document, currentImage_) && IsCursorDocument(document)) {
    marks.hotSpot = QPoint(document->xHotSpot(currentImage_), document->yHotSpot(currentImage_));
  }
  view_->SetMarks(marks);
}

void EditGrid::DrawMainIcon() {
  const int cells = Cells();
  const cIco* document = CurrentIconDocument();
  const bool shown = HasImage(document, currentImage_);
  LayOut();
  scratch_->Surface().Resize(cells, cells);
  scratch_->Surface().ScalePixels();

  gridReady_ = false;
  if (frameDocument_ != document || frameImage_ != currentImage_) HideFrame();
  if (shown) {
    view_->Show(ImagePicture(document->Image(currentImage_)));
    gridReady_ = true;
  } else {
    view_->SetBand({});
    view_->SetFrame(std::nullopt);
  }
  DrawGridLines();
}

void EditGrid::Clear() {
  gridReady_ = false;
  view_->Show(ImagePicture());
  DrawGridLines();
}

void EditGrid::ShowBand(ToolShape shape, int anchorX, int anchorY, int endX, int endY) {
  view_->SetBand({shape, QPoint(anchorX, anchorY), QPoint(endX, endY)});
}

void EditGrid::HideBand() { view_->SetBand({}); }

void EditGrid::ShowFrame(int anchorX, int anchorY, int endX, int endY) {
  frameDocument_ = CurrentIconDocument();
  frameImage_ = currentImage_;
  view_->SetFrame(QRect(QPoint(anchorX, anchorY), QPoint(endX, endY)));
}

void EditGrid::HideFrame() {
  frameDocument_ = nullptr;
  frameImage_ = -1;
  view_->SetFrame(std::nullopt);
}

std::optional<QRect> EditGrid::Selection() const {
  const std::optional<QRect>& frame = view_->Frame();
  if (!frame) return std::nullopt;
  return frame->normalized();
}

int EditGrid::FitSide() const {
  const QSize room = scroller_->maximumViewportSize();
  return std::max(kViewSize, std::min(room.width(), room.height()));
}

void EditGrid::LayOut() {
  const int cells = Cells();
  const cIco* document = CurrentIconDocument();
  if (!HasImage(document, currentImage_)) {
    view_->Layout(cells, cells, FitSide());
    return;
  }
  // A tall or wide image shows as it is, not on a square with empty cells beside it.
  view_->Layout(document->Width(currentImage_), document->Height(currentImage_) / 2,
                ViewSide(cells, zoom_, FitSide()));
}

double EditGrid::CellPixels() const { return view_->CellPixels(); }

void EditGrid::SetZoom(int zoom) { SetZoom(zoom, scroller_->viewport()->rect().center()); }

void EditGrid::SetZoom(int zoom, const QPoint& anchor) {
  // A step past the largest or smallest zoom shows what is shown: nothing to draw again.
  if (ShownZoom(Cells(), zoom, FitSide()) == ShownZoom(Cells(), zoom_, FitSide())) {
    zoom_ = zoom;
    return;
  }
  // The image point under the anchor, in cells, before and after.
  const QPoint onView = view_->mapFrom(scroller_->viewport(), anchor);
  const double before = CellPixels();
  const double cellX = onView.x() / before;
  const double cellY = onView.y() / before;
  zoom_ = zoom;
  LayOut();
  const double after = CellPixels();
  scroller_->horizontalScrollBar()->setValue(static_cast<int>(std::lround(cellX * after - anchor.x())));
  scroller_->verticalScrollBar()->setValue(static_cast<int>(std::lround(cellY * after - anchor.y())));
}

void EditGrid::ZoomIn() { SetZoom(ZoomedIn(Cells(), zoom_, FitSide())); }

void EditGrid::ZoomOut() { SetZoom(ZoomedOut(Cells(), zoom_, FitSide())); }

void EditGrid::ZoomFit() { SetZoom(kZoomFit); }

std::optional<bool> EditGrid::Outside(float x, float y) const {
  const cIco* document = CurrentIconDocument();
  if (!HasImage(document, currentImage_) || PastePending()) return std::nullopt;
  return OutsideImage(x, y, document->Width(currentImage_), document->Height(currentImage_) / 2);
}

void EditGrid::PointerMoved(float x, float y) {
  if (!CurrentIconDocument() || currentImage_ == -1) return;
  location_.setText(LocationText(x, y));
  if (const std::optional<bool> outside = Outside(x, y)) pointerOutside_ = *outside;
}

void EditGrid::MarkIfOutside(float x, float y) {
  if (Outside(x, y).value_or(false)) pointerOutside_ = true;
}

bool EditGrid::PastePending() const {
  return view_->MousePointer() == PointerBox::kPointerArrowQuestion;
}

}  // namespace brixel
