#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <memory>
#include <set>

#include "ActualSizePanel.h"
#include "CurrentDocument.h"
#include "Documents.h"
#include "EditGrid.h"
#include "GridGeometry.h"
#include "IconImage.h"
#include "GridView.h"
#include "QtColour.h"
#include "TestSupport.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);
constexpr Colour kYellow = MakeColour(255, 255, 0);
constexpr Colour kGreen = MakeColour(0, 160, 0);

Colour ButtonFace() { return RoleColour(QPalette::Button); }
Colour Background() { return RoleColour(QPalette::Base); }

TEST(GridGeometry, CentreLinesPixelsAndTheOutsideTest) {
  EXPECT_EQ(CentreLine(16), 8);
  EXPECT_EQ(CentreLine(33), 16);  // 16.5 goes to the even neighbour
  EXPECT_EQ(CentreLine(35), 18);  // 17.5 likewise
  EXPECT_EQ(PixelOf(-0.4f), 0);
  EXPECT_EQ(PixelOf(-1.2f), -1);
  EXPECT_EQ(PixelOf(1e20f), std::numeric_limits<int>::max());
  EXPECT_EQ(LocationText(-1.5f, 3.2f), "-1-3");
  // The raw position counts: -0.4 truncates to pixel 0 but lies outside.
  EXPECT_TRUE(OutsideImage(-0.4f, 1, 16, 16));
  EXPECT_FALSE(OutsideImage(15.9f, 15.9f, 16, 16));
  EXPECT_TRUE(OutsideImage(3, 8, 32, 8));
}

class EditGridTest : public ::testing::Test {
 protected:
  EditGridTest() : grid_(parent_, location_, options_) {
    IconDocuments.Clear();
    parent_.show();
  }
  ~EditGridTest() override { IconDocuments.Clear(); }

  // A document whose one image is transparent but for a green pixel at (3, 4).
  cIco& OpenDocument(int width, int height) {
    NewDocument();
    cIco& document = IconDocuments.CurrentDocument();
    document.AddImage(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height), 24, 0);
    document.XYColor(0, 3, 4, kGreen);
    document.XYMask(0, 3, 4, MaskOpaque);
    grid_.CurrentImage(0);
    return document;
  }

  // The colour shown at a pixel of the 480 x 480 view.
  Colour Shown(int px, int py) const {
    return ColourFromRgb(grid_.View().Rendered(QRect(px, py, 1, 1)).pixel(0, 0));
  }

  test::BackEndFixture backEnd_;
  QWidget parent_;
  QLabel location_{"0-0"};
  Settings options_{.Grid = true, .HotSpot = false};
  EditGrid grid_;
};

TEST_F(EditGridTest, FullRepaintShowsThePixelsWithGridAndCentreLines) {
  OpenDocument(16, 16);
  grid_.DrawMainIcon();

  EXPECT_TRUE(grid_.GridReady());
  // Cells are 30 pixels: pixel (3, 4) covers x 90..120, y 120..150.
  EXPECT_EQ(Shown(105, 135), kGreen);
  // A transparent cell: the background with the blue falling diagonal.
  EXPECT_EQ(Shown(10, 20), Background());
  EXPECT_EQ(Shown(15, 15), kBlue);
  // Grid lines between the cells, the red centre lines at 8 cells on top of them.
  EXPECT_EQ(Shown(30, 50), ButtonFace());
  EXPECT_EQ(Shown(240, 50), kRed);
  EXPECT_EQ(Shown(50, 240), kRed);
  EXPECT_EQ(Shown(210, 50), ButtonFace());
}

TEST_F(EditGridTest, GridAndHotSpotOptions) {
  cIco& document = OpenDocument(16, 16);
  document.xHotSpot(0, 5);
  document.yHotSpot(0, 2);
  options_.HotSpot = true;
  // An icon has no hot spot: its entry's planes and bit count are where a cursor keeps one.
  document.IconPath("/somewhere/icon.ico");
  grid_.DrawMainIcon();
  for (const auto& [x, y] : {std::pair{150, 75}, {180, 75}, {165, 60}, {165, 90}}) EXPECT_NE(Shown(x, y), kYellow);
  document.IconPath("/somewhere/pointer.cur");
  grid_.DrawMainIcon();
  // The yellow box lies on the edges of cell (5, 2), over the grid lines.
  for (const auto& [x, y] : {std::pair{150, 75}, {180, 75}, {165, 60}, {165, 90}}) EXPECT_EQ(Shown(x, y), kYellow);

  // Without the grid there are no lines, no centre lines and no hot-spot box.
  options_.Grid = false;
  grid_.DrawMainIcon();
  EXPECT_EQ(Shown(150, 75), Background());
  EXPECT_EQ(Shown(240, 50), Background());
  EXPECT_EQ(Shown(30, 50), Background());
  EXPECT_EQ(Shown(105, 135), kGreen);
}

TEST_F(EditGridTest, PaintCellLooksAndTheOverlayOnlyOnceTheGridIsReady) {
  OpenDocument(16, 16);
  // Before the first full repaint the grid is not ready: no lines are drawn after a cell.
  grid_.PaintCell(0, 0, kGreen, EditGrid::CellOpaque);
  EXPECT_FALSE(grid_.GridReady());
  EXPECT_EQ(Shown(29, 10), kGreen);
  EXPECT_EQ(Shown(30, 10), Background());  // no line at the next edge

  grid_.DrawMainIcon();
  grid_.PaintCell(2, 0, kGreen, EditGrid::CellOpaque);
  EXPECT_EQ(Shown(75, 15), kGreen);
  EXPECT_EQ(Shown(90, 15), ButtonFace());  // the line was drawn again over the fill

  grid_.PaintCell(4, 0, kWhite, EditGrid::CellTransparent);
  EXPECT_EQ(Shown(135, 15), kBlue);   // falling diagonal through the middle
  EXPECT_EQ(Shown(140, 5), kWhite);
  grid_.PaintCell(6, 0, kWhite, EditGrid::CellInverted);
  EXPECT_EQ(Shown(195, 15), kRed);    // rising diagonal through the middle
  EXPECT_EQ(Shown(185, 25), kRed);
  EXPECT_EQ(Shown(185, 5), kWhite);

  const Colour before = Shown(255, 15);
  grid_.PaintCell(8, 0, kGreen, 7);
  EXPECT_EQ(Shown(255, 15), before);
}

TEST_F(EditGridTest, APaintedCellLooksAsAfterAFullOverlay) {
  // Cells at the centre lines, at the hot spot, at the edges and on a large grid: redrawing
  // only the lines around the cell must leave the picture a full overlay gives.
  for (const int size : {16, 33, 64}) {
    cIco& document = OpenDocument(size, size);
    document.IconPath("/somewhere/pointer.cur");
    document.xHotSpot(0, 7);
    document.yHotSpot(0, 8);
    options_.HotSpot = true;
    grid_.DrawMainIcon();
    const int mid = CentreLine(size);
    for (const auto& [x, y] : {std::pair{mid, mid}, {mid - 1, 3}, {7, 8}, {8, 8}, {0, 0},
                               {size - 1, size - 1}, {6, 7}}) {
      grid_.PaintCell(float(x), float(y), kGreen, EditGrid::CellInverted);
      const QImage painted = grid_.View().Rendered();
      grid_.DrawGridLines();
      EXPECT_EQ(painted, grid_.View().Rendered()) << size << ": " << x << "," << y;
    }
  }
}

TEST_F(EditGridTest, PointerMovesShowThePixelAndTellWhetherItIsOutside) {
  // Without an image the grid only takes its default scale and shows nothing.
  grid_.CurrentImage(-1);
  grid_.DrawMainIcon();
  EXPECT_FALSE(grid_.GridReady());
  EXPECT_EQ(grid_.Cells(), 16);
  QTest::mouseMove(&grid_.View(), QPoint(100, 100));
  EXPECT_EQ(location_.text(), "0-0");

  OpenDocument(32, 16);
  grid_.DrawMainIcon();
  QTest::mouseMove(&grid_.View(), QPoint(5 * 15 + 3, 12 * 15 + 14));
  EXPECT_EQ(location_.text(), "5-12");
  EXPECT_FALSE(grid_.PointerOutside());  // row 12 of 16
  // A wide image shows as it is: the view ends below its last row.
  EXPECT_EQ(grid_.View().size(), QSize(32 * 15, 16 * 15));
  grid_.MarkIfOutside(2.5f, 16.1f);
  EXPECT_TRUE(grid_.PointerOutside());  // below the image
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// The colours shown in an area of the view.
std::set<Colour> ColoursIn(const QImage& shown) {
  std::set<Colour> colours;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) colours.insert(ColourFromRgb(shown.pixel(x, y)));
  }
  return colours;
}

constexpr Colour kCheckerLight = MakeColour(255, 255, 255);
constexpr Colour kCheckerDark = MakeColour(204, 204, 204);

TEST_F(EditGridTest, AlphaImagesShowTheCheckerboardBlendedAndInvertingPixels) {
  cIco& document = OpenDocument(16, 16);
  IconImage& image = document.Image(0);
  AddAlphaFromMask(image);
  image.Pixels.At(5, 4) = kRed;  // half transparent
  image.Alpha.At(5, 4) = 128;
  image.Pixels.At(7, 4) = kNoColour;  // inverting
  grid_.DrawMainIcon();
  const auto cell = [&](int x, int y) { return grid_.View().Rendered(QRect(x * 30 + 1, y * 30 + 1, 28, 28)); };

  // A transparent cell: the checkerboard, no diagonal.
  EXPECT_EQ(ColoursIn(cell(0, 0)), (std::set<Colour>{kCheckerLight, kCheckerDark}));
  EXPECT_EQ(ColoursIn(cell(3, 4)), std::set<Colour>{kGreen});
  // Half-transparent red over the checkerboard: two shades of light red.
  const std::set<Colour> blended = ColoursIn(cell(5, 4));
  EXPECT_EQ(blended.size(), 2u);
  for (const Colour colour : blended) {
    const QRgb rgb = RgbFromColour(colour);
    EXPECT_GT(qRed(rgb), 225);
    EXPECT_LT(qGreen(rgb), 140);
  }
  // An inverting pixel: the checkerboard inverted, crossed by the red rising diagonal.
  EXPECT_EQ(ColoursIn(cell(7, 4)), (std::set<Colour>{kBlack, MakeColour(51, 51, 51), kRed}));
  EXPECT_EQ(Shown(7 * 30 + 15, 4 * 30 + 15), kRed);
}

TEST_F(EditGridTest, CellsUnderFourPixelsShowNeitherGridLinesNorDiagonals) {
  OpenDocument(256, 256);  // no alpha
  grid_.DrawMainIcon();
  grid_.ZoomFit();
  ASSERT_LT(grid_.CellPixels(), 4);
  const std::set<Colour> fit = ColoursIn(grid_.View().Rendered());
  EXPECT_FALSE(fit.count(ButtonFace()));
  EXPECT_FALSE(fit.count(kBlue));
  EXPECT_TRUE(fit.count(kCheckerDark)) << "holes show the checkerboard";
  EXPECT_TRUE(fit.count(kRed)) << "the centre lines stay";
  EXPECT_TRUE(fit.count(kGreen));

  // At 8-pixel cells an image without alpha has the looks of the small images again.
  grid_.SetZoom(8);
  const std::set<Colour> zoomed = ColoursIn(grid_.View().Rendered(QRect(0, 0, 64, 64)));
  EXPECT_EQ(zoomed, (std::set<Colour>{ButtonFace(), kBlue, Background(), kGreen}));
}

TEST_F(EditGridTest, TheActualSizePanelShowsTheImageOnceAndTwiceAndFollowsPainting) {
  OpenDocument(16, 16);
  ActualSizePanel panel(grid_.View(), &parent_);
  panel.resize(300, 200);
  panel.show();
  grid_.DrawMainIcon();
  auto* view = panel.findChild<QWidget*>("PctActualSize");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->size(), QSize(16 + 8 + 32, 32));
  const auto shown = [&](int x, int y) { return ColourFromRgb(view->grab().toImage().pixel(x, y)); };
  EXPECT_EQ(shown(3, 4), kGreen);
  EXPECT_EQ(shown(24 + 7, 9), kGreen);
  EXPECT_NE(shown(24 + 9, 9), kGreen);
  EXPECT_EQ(shown(4, 0), kCheckerDark) << "a hole shows the checkerboard";

  grid_.PaintCell(10, 2, kRed, EditGrid::CellOpaque);
  EXPECT_EQ(shown(10, 2), kRed);
  EXPECT_EQ(shown(24 + 21, 5), kRed);
}

}  // namespace
}  // namespace brixel
