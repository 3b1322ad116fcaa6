// The zoomable grid: which cell sizes are shown, and the tools working in image pixels on a
// zoomed, scrolled view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include "Clip.h"
#include "CurrentDocument.h"
#include "Documents.h"
#include "DrawingTool.h"
#include "EditGrid.h"
#include "GridEditor.h"
#include "GridGeometry.h"
#include "MouseColours.h"
#include "MouseFunctionsPanel.h"
#include "GridView.h"
#include "PictureBox.h"
#include "QtColour.h"
#include "TestSupport.h"
#include "TextTool.h"
#include "ToolChoice.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

constexpr Colour kGreen = MakeColour(0, 160, 0);

TEST(ZoomSteps, FitUpToSixtyFourCellsEightPixelsAboveAndStepsThatFit) {
  EXPECT_EQ(ShownZoom(16, kZoomDefault), kZoomFit);
  EXPECT_EQ(ShownZoom(64, kZoomDefault), kZoomFit);
  EXPECT_EQ(ShownZoom(65, kZoomDefault), 8);
  EXPECT_EQ(ViewSide(256, kZoomDefault), 2048);
  // A cell size no larger than the fit view's, or a view too large, shows the fit view.
  EXPECT_EQ(ViewSide(16, 24), kFitViewPixels);
  EXPECT_EQ(ShownZoom(256, 24), kZoomFit);

  EXPECT_EQ(ZoomedIn(16, kZoomFit), 32);  // the first step above 30 pixels
  EXPECT_EQ(ZoomedIn(16, 64), 64);        // the largest step
  EXPECT_EQ(ZoomedIn(256, kZoomFit), 2);
  EXPECT_EQ(ZoomedIn(256, 16), 16);       // 24 would make a view of 6144 pixels
  EXPECT_EQ(ZoomedOut(256, 8), 6);
  EXPECT_EQ(ZoomedOut(256, 2), kZoomFit);
  EXPECT_EQ(ZoomedOut(16, 32), kZoomFit);
  EXPECT_EQ(ZoomedOut(16, kZoomFit), kZoomFit);
  // Up to 1024 cells, 8-pixel cells are always there.
  EXPECT_EQ(ViewSide(1024, 8), 8192);
  EXPECT_EQ(ZoomedIn(2048, 4), 4);
}

// The grid and the editor of one window, wired as the main window wires them.
class ZoomTest : public ::testing::Test {
 protected:
  ZoomTest()
      : grid_(window_, location_, options_),
        toolbar_(new kzrToolBar(&window_)),
        panel_(new MouseFunctionsPanel(&window_)),
        tools_(options_, *toolbar_, *panel_, {}, {}),
        colours_(*panel_),
        clip_(window_),
        editor_(grid_, tools_, colours_, clip_, text_, options_,
                [this](std::int16_t index, bool) {
                  grid_.CurrentImage(index);
                  grid_.DrawMainIcon();
                }) {
    IconDocuments.Clear();
    GridView& view = grid_.View();
    QObject::connect(&view, &PointerBox::MouseDown, [this](int b, int, float x, float y) { editor_.Press(b, x, y); });
    QObject::connect(&view, &PointerBox::MouseMove, [this](int b, int, float x, float y) { editor_.Drag(b, x, y); });
    QObject::connect(&view, &PointerBox::MouseUp, [this](int b, int, float x, float y) { editor_.Release(b, x, y); });
    window_.resize(700, 600);
    window_.show();
  }
  ~ZoomTest() override { IconDocuments.Clear(); }

  cIco& Open(int size) {
    NewDocument();
    cIco& document = IconDocuments.CurrentDocument();
    document.AddImage(static_cast<std::int16_t>(size), static_cast<std::int16_t>(size), 32, 0);
    grid_.CurrentImage(0);
    grid_.DrawMainIcon();
    return document;
  }

  // The middle of a pixel's cell on the view.
  QPointF CellCentre(int x, int y) const {
    const double cell = grid_.CellPixels();
    return {(x + 0.5) * cell, (y + 0.5) * cell};
  }
  void Mouse(QEvent::Type type, Qt::MouseButtons held, int x, int y) {
    const QPointF at = CellCentre(x, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, grid_.View().mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&grid_.View(), &event);
  }
  // The image point under a position of the scroll area's viewport.
  QPointF CellUnder(QPoint onViewport) {
    const QPoint onView = grid_.View().mapFrom(grid_.Scroller().viewport(), onViewport);
    return {onView.x() / grid_.CellPixels(), onView.y() / grid_.CellPixels()};
  }

  test::BackEndFixture backEnd_;
  QWidget window_;
  QLabel location_{"0-0"};
  Settings options_;
  TextSettings text_;
  EditGrid grid_;
  kzrToolBar* toolbar_;
  MouseFunctionsPanel* panel_;
  ToolChoice tools_;
  MouseColours colours_;
  Clip clip_;
  GridEditor editor_;
};

TEST_F(ZoomTest, A256PixelImageIsEditedInImagePixelsOnEightPixelCells) {
  cIco& document = Open(256);
  EXPECT_DOUBLE_EQ(grid_.CellPixels(), 8);
  EXPECT_EQ(grid_.View().width(), 2048);
  QScrollBar* across = grid_.Scroller().horizontalScrollBar();
  QScrollBar* down = grid_.Scroller().verticalScrollBar();
  ASSERT_GT(across->maximum(), 1500);
  across->setValue(200 * 8 - 100);
  down->setValue(150 * 8 - 100);

  colours_.Swatch(1, kGreen);
  Mouse(QEvent::MouseMove, Qt::NoButton, 200, 150);
  EXPECT_EQ(location_.text(), "200-150");
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 200, 150);
  Mouse(QEvent::MouseButtonRelease, Qt::NoButton, 200, 150);
  EXPECT_EQ(document.XYColor(0, 200, 150), kGreen);
  EXPECT_EQ(document.XYMask(0, 200, 150), MaskOpaque);
  EXPECT_EQ(document.XYMask(0, 201, 150), MaskTransparent);
  EXPECT_EQ(document.XYMask(0, 200, 151), MaskTransparent);
  // The cell shows it, eight pixels on the view.
  const QPoint centre = CellCentre(200, 150).toPoint();
  EXPECT_EQ(ColourFromRgb(grid_.View().Rendered(QRect(centre, QSize(1, 1))).pixel(0, 0)), kGreen);

  // A rubber-band line, made on the scratch surface, lands on image pixels too.
  options_.ButtonTool[0] = kToolLine;
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 190, 160);
  Mouse(QEvent::MouseMove, Qt::LeftButton, 192, 160);
  Mouse(QEvent::MouseMove, Qt::LeftButton, 194, 160);
  Mouse(QEvent::MouseButtonRelease, Qt::NoButton, 194, 160);
  for (int x = 189; x <= 195; ++x) {
    EXPECT_EQ(document.XYMask(0, static_cast<float>(x), 160), x >= 190 && x <= 194 ? MaskOpaque : MaskTransparent) << x;
  }
  EXPECT_EQ(document.XYMask(0, 192, 159), MaskTransparent);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ZoomTest, ZoomStepsAndTheWheelKeepTheImagePointInPlace) {
  Open(16);
  EXPECT_DOUBLE_EQ(grid_.CellPixels(), 30);
  EXPECT_EQ(grid_.Scroller().size(), QSize(EditGrid::kViewSize, EditGrid::kViewSize));
  grid_.ZoomIn();
  EXPECT_DOUBLE_EQ(grid_.CellPixels(), 32);
  grid_.ZoomIn();
  EXPECT_DOUBLE_EQ(grid_.CellPixels(), 48);
  // The middle of the viewport stays on the same image point.
  const QPoint middle = grid_.Scroller().viewport()->rect().center();
  const QPointF before = CellUnder(middle);
  grid_.ZoomIn();
  EXPECT_DOUBLE_EQ(grid_.CellPixels(), 64);
  EXPECT_NEAR(CellUnder(middle).x(), before.x(), 0.05);
  EXPECT_NEAR(CellUnder(middle).y(), before.y(), 0.05);

  // Ctrl and the wheel over the grid: out one step, about the pointer. (The wheel reaches the
  // viewport from the view on its own only when it comes from the window system.)
  const QPoint pointer(100, 60);
  const QPointF under = CellUnder(pointer);
  QWidget* viewport = grid_.Scroller().viewport();
  QWheelEvent wheel(pointer, viewport->mapToGlobal(pointer), {}, QPoint(0, -120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(viewport, &wheel);
  EXPECT_DOUBLE_EQ(grid_.CellPixels(), 48);
  EXPECT_NEAR(CellUnder(pointer).x(), under.x(), 0.05);
  EXPECT_NEAR(CellUnder(pointer).y(), under.y(), 0.05);

  // Fit gives back the 480-pixel view; the logical units stay the image's pixels throughout.
  grid_.ZoomFit();
  EXPECT_EQ(grid_.View().width(), EditGrid::kViewSize);
  EXPECT_EQ(grid_.Cells(), 16);
  EXPECT_FALSE(grid_.Scroller().horizontalScrollBar()->isVisible());
  grid_.ZoomOut();
  EXPECT_EQ(grid_.Zoom(), kZoomFit);
}

}  // namespace
}  // namespace brixel
