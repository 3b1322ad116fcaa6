#include "ActualSizePanel.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "GridView.h"

namespace brixel {
namespace {

constexpr int kGap = 8;
constexpr int kShownHeight = 40;

// The two pictures, side by side when the panel is wide enough, else one under the other;
// painted from the grid's picture for the part that shows.
class ActualSizeView final : public QWidget {
 public:
  ActualSizeView(const GridView& grid, QScrollArea& scroller)
      : grid_(grid), scroller_(scroller) {
    setObjectName("PctActualSize");
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&grid, &GridView::PictureShown, this, [this] { LayOut(); });
    scroller.viewport()->installEventFilter(this);
    connect(&grid, &GridView::CellChanged, this, [this](int x, int y) {
      update(Place(1).x() + x, Place(1).y() + y, 1, 1);
      update(Place(2).x() + 2 * x, Place(2).y() + 2 * y, 2, 2);
    });
  }

  void LayOut() {
    const QImage& colours = grid_.Picture().Colours();
    const QPoint second = Place(2);
    const QSize size = colours.isNull()
                           ? QSize(1, 1)
                           : QSize(second.x() + 2 * colours.width(), second.y() + 2 * colours.height());
    if (this->size() != size) setFixedSize(size);
    update();
  }

 protected:
  // A viewport of another width may put the pictures side by side or one under the other.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) LayOut();
    return QWidget::eventFilter(watched, event);
  }

  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const ImagePicture& picture = grid_.Picture();
    if (picture.Empty()) return;
    painter.setClipRect(event->rect());
    for (const int scale : {1, 2}) {
      picture.PaintOverCheckerboard(painter, Place(scale), scale, kSmallCheckerSquare);
    }
  }

 private:
  // Where the picture at a scale has its top-left corner.
  QPoint Place(int scale) const {
    if (scale == 1) return {0, 0};
    const QSize one = grid_.Picture().Colours().size();
    const int room = scroller_.viewport()->width();
    const bool sideBySide = one.width() + kGap + 2 * one.width() <= room;
    return sideBySide ? QPoint(one.width() + kGap, 0) : QPoint(0, one.height() + kGap);
  }

  const GridView& grid_;
  QScrollArea& scroller_;
};

}  // namespace

ActualSizePanel::ActualSizePanel(const GridView& grid, QWidget* parent)
    : QGroupBox("Actual Size", parent) {
  setObjectName("FmeActualSize");
  auto* scroller = new QScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setMinimumHeight(kShownHeight);
  auto* view = new ActualSizeView(grid, *scroller);
  scroller->setWidget(view);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroller);
  view->LayOut();
}

}  // namespace brixel
