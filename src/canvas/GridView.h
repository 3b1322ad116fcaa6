#pragma once

#include <QImage>
#include <functional>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <optional>

#include "DrawingTool.h"
#include "ImagePicture.h"
#include "PictureBox.h"

namespace brixel {

// The edit grid's view (PctGrid): the image enlarged, one square cell a pixel, painted for
// the part that shows: the picture scaled once without smoothing, the transparency and
// inverting marks of the cells, the grid lines, the red centre lines, the hot-spot box and
// what the tools show while the pointer drags. Pointer positions are reported in cells.
class GridView final : public PointerBox {
  Q_OBJECT

 public:
  // Cells narrower than this many pixels show no grid lines and no diagonals: they would
  // cover the picture.
  static constexpr double kSmallestMarkedCell = 4;

  // What is drawn over the cells.
  struct Marks {
    bool lines = false;            // grid lines (on cells large enough) and the centre lines
    std::optional<QPoint> hotSpot; // the cell the yellow box goes round
  };
  // A tool's figure from the centre of one cell to the centre of another, shown inverted.
  struct Band {
    ToolShape shape = ToolShape::None;
    QPoint from;
    QPoint to;
  };

  explicit GridView(QWidget* parent = nullptr);

  // columns x rows square cells, the longer side taking side pixels.
  void Layout(int columns, int rows, int side);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  double CellPixels() const { return cellPixels_; }

  // The picture shown; an empty one shows the background alone.
  void Show(ImagePicture picture);
  const ImagePicture& Picture() const { return picture_; }
  // One cell shown in a new look; the picture keeps it.
  void SetCell(int x, int y, Colour colour, PixelLook look);
  // One cell shown as the image holds its pixel now.
  void SetCellFrom(const IconImage& image, int x, int y);
  void SetMarks(Marks marks);
  // The band (ToolShape::None for none) and the selection frame between two cells' centres.
  // A new picture takes the band away; the frame stays until it is set again.
  void SetBand(Band band);
  void SetFrame(std::optional<QRect> corners);
  const std::optional<QRect>& Frame() const { return frame_; }
  // Pixels floating over the cells with their top-left on a cell (a paste waiting for its
  // place, a selection being moved), with a dashed frame; a null picture for none.
  void SetFloating(QImage picture, QPoint topLeft);
  bool Floating() const { return !floating_.isNull(); }
  QPoint FloatingAt() const { return floatingAt_; }

  // Keys pressed while the view has the focus (it takes it when clicked) go here first; true
  // when handled.
  std::function<bool(int key)> keyHandler;

  // What the view shows in an area of it.
  QImage Rendered(const QRect& area) const;
  QImage Rendered() const { return Rendered(rect()); }

 signals:
  // A new picture is shown, or one cell of it changed.
  void PictureShown();
  void CellChanged(int x, int y);

 protected:
  QPointF ToLogical(const QPointF& pixel) const override;
  void paintEvent(QPaintEvent* event) override;
  // The second press of a quick double click presses as the first did.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int Edge(int cell) const;
  QPointF CellCentre(const QPoint& cell) const;
  QRect CellRect(int x, int y) const;
  // The area a cell's look and the lines around it take on the view.
  QRect CellArea(int x, int y) const;
  QRect BandArea(const Band& band) const;
  QRect FloatingArea() const;
  // The floating pixels, or their frame.
  void PaintFloating(QPainter& painter, bool frame) const;
  void Paint(QPainter& painter, const QRect& area) const;
  void PaintCells(QPainter& painter, const QRect& area, bool checkered) const;
  void PaintMarks(QPainter& painter, const QRect& area) const;
  void PaintBand(QPainter& painter) const;
  // How a hole looks on a cell of side pixels: the background crossed by the blue diagonal.
  QPixmap HoleTile(int side) const;

  int columns_ = 16;
  int rows_ = 16;
  double cellPixels_ = 30;
  ImagePicture picture_;
  Marks marks_;
  Band band_;
  std::optional<QRect> frame_;
  QImage floating_;
  QPoint floatingAt_;
  mutable QPixmap holeTile_;
};

}  // namespace brixel
