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
#include "PictureBox.h"
#include "QtColour.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);
constexpr Colour kYellow = MakeColour(255, 255, 0);
constexpr float kUnitsPerPixelInRepaint = 10;
constexpr int kWheelStep = 120;

// The grid's scroll area: the wheel with Ctrl held zooms instead of scrolling.
class GridScrollArea final : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  // steps > 0 zooms in, < 0 out; at is the pointer on the viewport.
  std::function<void(int steps, const QPoint& at)> zoomByWheel;

 protected:
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
      view_(new PictureBox(kViewSize, kViewSize)),
      scratch_(new PictureBox(kDefaultGridCells, kDefaultGridCells, &parent)),
      location_(location),
      options_(options) {
  scroller_->setObjectName("GridScroll");
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setFixedSize(kViewSize, kViewSize);
  scroller_->setWidget(view_);
  static_cast<GridScrollArea*>(scroller_)->zoomByWheel = [this](int steps, const QPoint& at) {
    int zoom = zoom_;
    for (; steps > 0; --steps) zoom = ZoomedIn(Cells(), zoom);
    for (; steps < 0; ++steps) zoom = ZoomedOut(Cells(), zoom);
    SetZoom(zoom, at);
  };
  view_->setObjectName("PctGrid");
  QtPictureSurface& surface = view_->Surface();
  surface.BackColor(RoleColour(QPalette::Base));
  surface.ForeColor(RoleColour(QPalette::Text));
  surface.Cls();
  surface.Scale(kDefaultGridCells, kDefaultGridCells);

  scratch_->setObjectName("pctExport");
  scratch_->hide();

  QObject::connect(view_, &PictureBox::MouseMove, view_,
                   [this](int, int, float x, float y) { PointerMoved(x, y); });
}

int EditGrid::Cells() const {
  const cIco* document = CurrentIconDocument();
  if (!HasImage(document, currentImage_)) return kDefaultGridCells;
  const int cells = std::max<int>(document->Width(currentImage_), document->Height(currentImage_) / 2);
  return cells > 0 ? cells : kDefaultGridCells;
}

void EditGrid::PaintCell(float x, float y, Colour colour, int mode) {
  QtPictureSurface& surface = view_->Surface();
  const auto fill = [&] {
    surface.Line(x, y, x + 1, y + 1, colour, PictureSurface::LineKind::FilledBox);
  };
  switch (mode) {
    case CellInverted:
      fill();
      surface.Line(x, y + 1, x + 1, y, kRed);
      break;
    case CellTransparent:
      fill();
      surface.Line(x, y, x + 1, y + 1, kBlue);
      break;
    case CellOpaque:
      fill();
      break;
    default:
      return;
  }
  if (gridReady_) DrawGridLinesAround(x, y);
}

void EditGrid::DrawGridLines() {
  const auto cells = static_cast<float>(Cells());
  DrawOverlay(1, cells, 1, cells);
}

// The same picture as DrawGridLines after one cell was painted, for a fraction of the lines:
// the cell's four edges again, then the markers that every line is drawn under.
void EditGrid::DrawGridLinesAround(float x, float y) { DrawOverlay(y, y + 1, x, x + 1); }

void EditGrid::DrawOverlay(float firstRow, float lastRow, float firstColumn, float lastColumn) {
  const int cells = Cells();
  QtPictureSurface& surface = view_->Surface();
  surface.Scale(static_cast<float>(cells), static_cast<float>(cells));
  if (!options_.Grid) return;

  const float width = surface.ScaleWidth();
  const float height = surface.ScaleHeight();
  const auto last = static_cast<float>(cells);
  const Colour buttonFace = RoleColour(QPalette::Button);
  for (float at = std::max(1.0f, firstRow); at <= std::min(last, lastRow); ++at) {
    surface.Line(0, at, width, at, buttonFace);
  }
  for (float at = std::max(1.0f, firstColumn); at <= std::min(last, lastColumn); ++at) {
    surface.Line(at, 0, at, height, buttonFace);
  }
  DrawMarkers();
}

void EditGrid::DrawMarkers() {
  QtPictureSurface& surface = view_->Surface();
  const float width = surface.ScaleWidth();
  const float height = surface.ScaleHeight();
  const int cells = Cells();
  const auto mid = static_cast<float>(CentreLine(cells));
  surface.Line(0, mid, width, mid, kRed);
  surface.Line(mid, 0, mid, height, kRed);

  const cIco* document = CurrentIconDocument();
  // Only a cursor has a hot spot: an icon's images hold their planes and bit count there.
  if (options_.HotSpot && HasImage(document, currentImage_) && IsCursorDocument(document)) {
    const auto x = static_cast<float>(document->xHotSpot(currentImage_));
    const auto y = static_cast<float>(document->yHotSpot(currentImage_));
    surface.Line(x, y, x + 1, y + 1, kYellow, PictureSurface::LineKind::Box);
  }
}

void EditGrid::DrawMainIcon() {
  const int cells = Cells();
  const auto extent = static_cast<float>(cells);
  const cIco* document = CurrentIconDocument();
  const bool shown = HasImage(document, currentImage_);
  QtPictureSurface& surface = view_->Surface();
  const int side = shown ? ViewSide(cells, zoom_) : kViewSize;
  surface.Resize(side, side);
  surface.Scale(extent * kUnitsPerPixelInRepaint, extent * kUnitsPerPixelInRepaint);
  scratch_->Surface().Resize(cells, cells);
  scratch_->Surface().ScalePixels();

  gridReady_ = false;
  if (shown) {
    document->DrawMainIcon(currentImage_, surface);
    gridReady_ = true;
    DrawGridLines();
  } else {
    surface.Scale(extent, extent);
  }
}

void EditGrid::Clear() { view_->Surface().Cls(); }

double EditGrid::CellPixels() const {
  return static_cast<double>(view_->Surface().PixelWidth()) / Cells();
}

void EditGrid::SetZoom(int zoom) { SetZoom(zoom, scroller_->viewport()->rect().center()); }

void EditGrid::SetZoom(int zoom, const QPoint& anchor) {
  // A step past the largest or smallest zoom shows what is shown: nothing to draw again.
  if (ShownZoom(Cells(), zoom) == ShownZoom(Cells(), zoom_)) {
    zoom_ = zoom;
    return;
  }
  // The image point under the anchor, in cells, before and after.
  const QPoint onView = view_->mapFrom(scroller_->viewport(), anchor);
  const double before = CellPixels();
  const double cellX = onView.x() / before;
  const double cellY = onView.y() / before;
  zoom_ = zoom;
  DrawMainIcon();
  const double after = CellPixels();
  scroller_->horizontalScrollBar()->setValue(static_cast<int>(std::lround(cellX * after - anchor.x())));
  scroller_->verticalScrollBar()->setValue(static_cast<int>(std::lround(cellY * after - anchor.y())));
}

void EditGrid::ZoomIn() { SetZoom(ZoomedIn(Cells(), zoom_)); }

void EditGrid::ZoomOut() { SetZoom(ZoomedOut(Cells(), zoom_)); }

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
  return view_->MousePointer() == PictureBox::kPointerArrowQuestion;
}

}  // namespace brixel
