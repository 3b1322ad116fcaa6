#include "GridView.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "GridGeometry.h"

namespace brixel {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);
constexpr int kBandWidth = 5;

}  // namespace

GridView::GridView(QWidget* parent) : PointerBox(parent) {
  setObjectName("PctGrid");
  setFocusPolicy(Qt::ClickFocus);
  Layout(kDefaultGridCells, kDefaultGridCells, kFitViewPixels);
}

void GridView::Layout(int columns, int rows, int side) {
  columns_ = std::max(columns, 1);
  rows_ = std::max(rows, 1);
  cellPixels_ = static_cast<double>(side) / std::max(columns_, rows_);
  const QSize size(Edge(columns_), Edge(rows_));
  if (this->size() != size) setFixedSize(size);
  update();
}

void GridView::Show(ImagePicture picture) {
  picture_ = std::move(picture);
  band_ = Band();
  update();
  emit PictureShown();
}

void GridView::SetCell(int x, int y, Colour colour, PixelLook look) {
  picture_.Set(x, y, colour, look);
  update(CellArea(x, y));
  emit CellChanged(x, y);
}

void GridView::SetCellFrom(const IconImage& image, int x, int y) {
  picture_.SetFrom(image, x, y);
  update(CellArea(x, y));
  emit CellChanged(x, y);
}

void GridView::SetMarks(Marks marks) {
  marks_ = marks;
  update();
}

void GridView::SetBand(Band band) {
  update(BandArea(band_));
  band_ = band;
  update(BandArea(band_));
}

void GridView::SetFrame(std::optional<QRect> corners) {
  frame_ = corners;
  update();
}

// --- Geometry: cell edges fall on whole pixels, halves to the even one ---

int GridView::Edge(int cell) const {
  return static_cast<int>(std::nearbyint(cell * CellPixels()));
}

QRect GridView::CellRect(int x, int y) const {
  return QRect(QPoint(Edge(x), Edge(y)), QPoint(Edge(x + 1) - 1, Edge(y + 1) - 1));
}

QRect GridView::CellArea(int x, int y) const { return CellRect(x, y).adjusted(-1, -1, 1, 1); }

QPointF GridView::CellCentre(const QPoint& cell) const {
  const double cellPixels = CellPixels();
  return {std::nearbyint((cell.x() + 0.5) * cellPixels) + 0.5,
          std::nearbyint((cell.y() + 0.5) * cellPixels) + 0.5};
}

QRect GridView::BandArea(const Band& band) const {
  if (band.shape == ToolShape::None) return {};
  const QPointF from = CellCentre(band.from);
  const QPointF to = CellCentre(band.to);
  QRectF bounds = QRectF(from, to).normalized();
  if (band.shape == ToolShape::Circle || band.shape == ToolShape::FilledCircle) {
    const double radius = std::hypot(to.x() - from.x(), to.y() - from.y());
    bounds = QRectF(from - QPointF(radius, radius), from + QPointF(radius, radius));
  }
  return bounds.toAlignedRect().adjusted(-kBandWidth, -kBandWidth, kBandWidth, kBandWidth);
}

QRect GridView::FloatingArea() const {
  if (floating_.isNull()) return {};
  const QPoint to = floatingAt_ + QPoint(floating_.width(), floating_.height());
  return QRect(QPoint(Edge(floatingAt_.x()), Edge(floatingAt_.y())), QPoint(Edge(to.x()), Edge(to.y())))
      .adjusted(-2, -2, 2, 2);
}

void GridView::SetFloating(QImage picture, QPoint topLeft) {
  update(FloatingArea());
  floating_ = std::move(picture);
  floatingAt_ = topLeft;
  update(FloatingArea());
}

QPointF GridView::ToLogical(const QPointF& pixel) const {
  const double cellPixels = CellPixels();
  return cellPixels > 0 ? pixel / cellPixels : QPointF();
}

// --- Painting ---

QImage GridView::Rendered(const QRect& area) const {
  QImage image(area.size(), QImage::Format_RGB32);
  if (image.isNull()) return image;
  QPainter painter(&image);
  painter.translate(-area.topLeft());
  Paint(painter, area);
  return image;
}

void GridView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  Paint(painter, event->rect());
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void GridView::keyPressEvent(QKeyEvent* event) {
  if (keyHandler && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && keyHandler(event->key())) {
    event->accept();
    return;
  }
  PointerBox::keyPressEvent(event);
}

void GridView::Paint(QPainter& painter, const QRect& area) const {
  painter.save();
  painter.setClipRect(area);
  // Cells too small for the marks, and images with alpha of their own, show their holes as a
  // checkerboard and inverting pixels as the checkerboard inverted; the others show the
  // background with the cells' diagonals.
  const double cellPixels = CellPixels();
  const bool checkered =
      !picture_.Empty() && (picture_.HasAlpha() || cellPixels < kSmallestMarkedCell);
  if (checkered) {
    // Squares smaller than the cells, so that the checkerboard is not taken for pixels.
    PaintCheckerboard(painter, area,
                      cellPixels >= 2 * kSmallCheckerSquare ? kSmallCheckerSquare : kCheckerSquare);
  } else {
    painter.fillRect(area, palette().color(QPalette::Base));
  }
  if (!picture_.Empty()) PaintCells(painter, area, checkered);
  PaintFloating(painter, false);
  PaintMarks(painter, area);
  PaintFloating(painter, true);  // its frame over the grid lines
  PaintBand(painter);
  painter.restore();
}

void GridView::PaintCells(QPainter& painter, const QRect& area, bool checkered) const {
  const double cellPixels = CellPixels();
  const int firstX = std::max(0, static_cast<int>(area.left() / cellPixels) - 1);
  const int firstY = std::max(0, static_cast<int>(area.top() / cellPixels) - 1);
  const int lastX =
      std::min(picture_.Width() - 1, static_cast<int>(area.right() / cellPixels) + 1);
  const int lastY =
      std::min(picture_.Height() - 1, static_cast<int>(area.bottom() / cellPixels) + 1);
  if (lastX < firstX || lastY < firstY) return;

  // One blit for the pixels, without smoothing.
  const QRect target(QPoint(Edge(firstX), Edge(firstY)),
                     QPoint(Edge(lastX + 1) - 1, Edge(lastY + 1) - 1));
  painter.drawImage(target, picture_.Colours(),
                    QRect(firstX, firstY, lastX - firstX + 1, lastY - firstY + 1));

  // Holes are marked only on the background; inverting pixels on cells large enough, and on
  // the checkerboard by inverting it.
  const bool marked = cellPixels >= kSmallestMarkedCell;
  const bool markHoles = marked && !checkered;
  const bool markInverting = picture_.HasInverting() && (marked || checkered);
  if (!markHoles && !markInverting) return;
  std::vector<int> left(static_cast<std::size_t>(lastX - firstX + 2));
  std::vector<int> top(static_cast<std::size_t>(lastY - firstY + 2));
  for (std::size_t i = 0; i < left.size(); ++i) left[i] = Edge(firstX + static_cast<int>(i));
  for (std::size_t i = 0; i < top.size(); ++i) top[i] = Edge(firstY + static_cast<int>(i));
  // Cells of a whole number of pixels repeat exactly: a row of holes is one tiled copy of a
  // hole's look rather than a line a cell.
  const int wholeCell = static_cast<int>(cellPixels);
  const bool tiledHoles = markHoles && wholeCell == cellPixels;
  if (tiledHoles && holeTile_.width() != wholeCell) holeTile_ = HoleTile(wholeCell);
  std::vector<QLine> falling;
  std::vector<QLine> rising;
  for (int y = firstY; y <= lastY; ++y) {
    const auto row = static_cast<std::size_t>(y - firstY);
    for (int x = firstX; x <= lastX; ++x) {
      const PixelLook look = picture_.Look(x, y);
      if (look == PixelLook::Coloured || (look == PixelLook::Transparent && !markHoles)) continue;
      const auto column = static_cast<std::size_t>(x - firstX);
      if (look == PixelLook::Transparent && tiledHoles) {
        int end = x;
        while (end < lastX && picture_.Look(end + 1, y) == PixelLook::Transparent) ++end;
        const QRect run(left[column], top[row], (end - x + 1) * wholeCell, wholeCell);
        painter.drawTiledPixmap(run, holeTile_);
        x = end;
        continue;
      }
      const QRect cell(QPoint(left[column], top[row]), QPoint(left[column + 1] - 1, top[row + 1] - 1));
      if (look == PixelLook::Transparent) {
        falling.emplace_back(cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1);
        continue;
      }
      if (checkered) PaintInverted(painter, cell);
      if (marked) rising.emplace_back(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.top());
    }
  }
  painter.setPen(QPen(kBlue, 0));
  painter.drawLines(falling.data(), static_cast<int>(falling.size()));
  painter.setPen(QPen(kRed, 0));
  painter.drawLines(rising.data(), static_cast<int>(rising.size()));
}

QPixmap GridView::HoleTile(int side) const {
  QPixmap tile(side, side);
  tile.fill(palette().color(QPalette::Base));
  QPainter painter(&tile);
  painter.setPen(QPen(kBlue, 0));
  painter.drawLine(0, 0, side, side);
  return tile;
}

void GridView::PaintMarks(QPainter& painter, const QRect& area) const {
  if (!marks_.lines) return;
  if (CellPixels() >= kSmallestMarkedCell) {
    const QColor face = palette().color(QPalette::Button);
    const double cellPixels = CellPixels();
    const int first = std::max(1, static_cast<int>(std::min(area.left(), area.top()) / cellPixels));
    const int farthest = std::max(area.right(), area.bottom());
    const int last = std::min(std::max(columns_, rows_), static_cast<int>(farthest / cellPixels) + 1);
    for (int i = first; i <= last; ++i) {
      const int at = Edge(i);
      if (i <= rows_ && at >= area.top() && at <= area.bottom()) painter.fillRect(area.left(), at, area.width(), 1, face);
      if (i <= columns_ && at >= area.left() && at <= area.right()) painter.fillRect(at, area.top(), 1, area.height(), face);
    }
  }
  painter.fillRect(0, Edge(CentreLine(rows_)), width(), 1, kRed);
  painter.fillRect(Edge(CentreLine(columns_)), 0, 1, height(), kRed);
  if (marks_.hotSpot) {
    const QPoint from(Edge(marks_.hotSpot->x()), Edge(marks_.hotSpot->y()));
    const QPoint to(Edge(marks_.hotSpot->x() + 1), Edge(marks_.hotSpot->y() + 1));
    painter.setPen(QPen(kYellow, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(from, QSize(to.x() - from.x(), to.y() - from.y())));
  }
}

void GridView::PaintFloating(QPainter& painter, bool frame) const {
  if (floating_.isNull()) return;
  const QPoint to = floatingAt_ + QPoint(floating_.width(), floating_.height());
  const QRect target(QPoint(Edge(floatingAt_.x()), Edge(floatingAt_.y())),
                     QPoint(Edge(to.x()) - 1, Edge(to.y()) - 1));
  if (!frame) {
    painter.drawImage(target, floating_);
    return;
  }
  // Marching-ants look: dark dashes on a light line, seen on any colour.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 0));
  painter.drawRect(target);
  painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
  painter.drawRect(target);
}

void GridView::PaintBand(QPainter& painter) const {
  if (frame_) {
    const QPointF from = CellCentre(frame_->topLeft()) - QPointF(0.5, 0.5);
    const QPointF to = CellCentre(frame_->bottomRight()) - QPointF(0.5, 0.5);
    const QRect box = QRect(from.toPoint(), to.toPoint()).normalized();
    painter.setPen(QPen(palette().color(QPalette::Text), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  }
  if (band_.shape == ToolShape::None) return;
  // Inverted, so that the figure shows on every colour.
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.setBrush(Qt::NoBrush);
  const QPointF from = CellCentre(band_.from);
  const QPointF to = CellCentre(band_.to);
  switch (band_.shape) {
    case ToolShape::Circle:
    case ToolShape::FilledCircle: {
      painter.setPen(QPen(Qt::white, kBandWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      const double radius = std::hypot(to.x() - from.x(), to.y() - from.y());
      painter.drawEllipse(from, radius, radius);
      break;
    }
    case ToolShape::Box:
    case ToolShape::FilledBox:
    case ToolShape::Selection:
      painter.setPen(QPen(Qt::white, kBandWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      painter.drawRect(QRectF(from, to).normalized());
      break;
    case ToolShape::Line:
      painter.setPen(QPen(Qt::white, kBandWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter.drawLine(from, to);
      break;
    case ToolShape::None:
      break;
  }
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace brixel
