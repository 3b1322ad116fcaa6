#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "AlphaChannel.h"
#include "Clip.h"
#include "DrawingTool.h"
#include "EditCommands.h"
#include "EditGrid.h"
#include "GridView.h"
#include "GridEditor.h"
#include "EditingFixture.h"
#include "MouseColours.h"
#include "PictureBox.h"
#include "QtColour.h"
#include "ToolChoice.h"
#include "cIco.h"

namespace brixel {
namespace {

using namespace test;

TEST_F(EditingTest, EachButtonPaintsWithItsOwnToolAndColour) {
  Open(16, 16, 24);
  Fill(kGreen);
  Give(kLeft, kToolFreehand, kRed);
  Give(kRight, kToolErase, kBlue);
  Give(kMiddle, kToolInvert, kBlue);

  Stroke(kLeft, {{1, 1}, {2, 1}, {4, 1}});
  EXPECT_TRUE(Opaque(1, 1, kRed));
  EXPECT_TRUE(Opaque(2, 1, kRed));
  EXPECT_TRUE(Opaque(3, 1, kRed)) << "the stroke joins the reported positions";
  EXPECT_TRUE(Opaque(4, 1, kRed));

  Stroke(kRight, {{5, 5}, {5, 6}});
  EXPECT_TRUE(Transparent(5, 5));
  EXPECT_TRUE(Transparent(5, 6));
  Click(kMiddle, 7, 7);
  EXPECT_EQ(ColourAt(7, 7), kNoColour);
  EXPECT_EQ(MaskAt(7, 7), MaskTransparent);
  EXPECT_TRUE(Document().Changed());

  Fill(kGreen);
  Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 3, 3);
  Send(QEvent::MouseButtonPress, Qt::BackButton, Qt::BackButton, 3, 3);
  Send(QEvent::MouseButtonRelease, Qt::BackButton, Qt::NoButton, 3, 3);
  EXPECT_TRUE(Opaque(3, 3, kGreen)) << "side buttons are ignored";
  EXPECT_EQ(Document().UndoCount(), 3u) << "and take no snapshot";
}

// Every pixel set by a stroke touches the one before it, whatever the pointer skipped, and the
// stroke is the line tool's line from position to position.
TEST_F(EditingTest, AFastDragLeavesAConnectedLine) {
  Open(32, 32, 24);
  const std::vector<std::pair<int, int>> reported = {{1, 1}, {30, 4}, {30, 30}, {2, 20}, {17, 9}};
  for (int tool : {kToolFreehand, kToolErase, kToolInvert}) {
    Fill(kGreen);
    Give(kLeft, tool, kRed);
    Press(kLeft, reported[0].first, reported[0].second);
    for (std::size_t i = 1; i < reported.size(); ++i) Drag(kLeft, reported[i].first, reported[i].second);
    Release(kLeft, reported.back().first, reported.back().second);
    const auto set = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < 32 && y < 32 && !Opaque(x, y, kGreen);
    };
    for (std::size_t i = 1; i < reported.size(); ++i) {
      auto [x, y] = reported[i - 1];
      const auto [toX, toY] = reported[i];
      // Walk from one reported pixel to the next through set pixels only, one step at a time.
      while (x != toX || y != toY) {
        const int stepX = (toX > x) - (toX < x);
        const int stepY = (toY > y) - (toY < y);
        int nextX = x, nextY = y;
        for (auto [mx, my] : {std::pair{stepX, stepY}, std::pair{stepX, 0}, std::pair{0, stepY}}) {
          if ((mx || my) && set(x + mx, y + my)) {
            nextX = x + mx;
            nextY = y + my;
            break;
          }
        }
        ASSERT_TRUE(nextX != x || nextY != y) << "gap after " << x << "," << y << " tool " << tool;
        x = nextX;
        y = nextY;
      }
    }
  }

  // The stroke from (1, 1) to (30, 4) sets the pixels the line tool sets.
  const auto drawnWith = [this](int tool) {
    Fill(kGreen);
    Give(kLeft, tool, kRed);
    Stroke(kLeft, {{1, 1}, {30, 4}});
    std::vector<Colour> pixels;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) pixels.push_back(ColourAt(x, y));
    return pixels;
  };
  EXPECT_EQ(drawnWith(kToolFreehand), drawnWith(kToolLine));
  EXPECT_EQ(Count(kRed), 30);
}

// Leaving the image and coming back: the part of the joining line inside is set, the pixel a
// position outside truncates to is not.
TEST_F(EditingTest, AStrokeThatLeavesTheImageJoinsWhereItComesBack) {
  Open(16, 16, 24);
  Fill(kGreen);
  Give(kLeft, kToolFreehand, kRed);
  Press(kLeft, 2, 8);
  Drag(kLeft, 25, 8);
  Drag(kLeft, 25, 12);
  Drag(kLeft, 10, 12);
  Release(kLeft, 10, 12);
  for (int x = 2; x < 16; ++x) EXPECT_TRUE(Opaque(x, 8, kRed)) << x;
  for (int x = 10; x < 16; ++x) EXPECT_TRUE(Opaque(x, 12, kRed)) << x;
  EXPECT_EQ(Count(kRed), 14 + 6);
  EXPECT_EQ(Document().UndoCount(), 1u) << "one step for the whole stroke";
}

TEST_F(EditingTest, ShapesOfOnePixelAndAcrossTheImage) {
  Open(16, 16, 24);
  for (int tool : {kToolLine, kToolRect, kToolFilledRect}) {
    Fill(kGreen);
    Give(kLeft, tool, kRed);
    Click(kLeft, 6, 9);
    EXPECT_EQ(Count(kRed), 1) << tool;
    EXPECT_TRUE(Opaque(6, 9, kRed)) << tool;
  }
  for (int tool : {kToolCircle, kToolFilledCircle}) {
    Fill(kGreen);
    Give(kLeft, tool, kRed);
    Click(kLeft, 6, 9);
    // A circle of radius 0 is the surface's degenerate circle: that one pixel, nothing else.
    EXPECT_EQ(Count(kRed), 1) << tool;
    EXPECT_TRUE(Opaque(6, 9, kRed)) << tool;
  }

  Fill(kGreen);
  Give(kLeft, kToolLine, kRed);
  Stroke(kLeft, {{1, 2}, {4, 2}, {8, 2}});
  EXPECT_EQ(Count(kRed), 8);
  for (int x = 1; x <= 8; ++x) EXPECT_TRUE(Opaque(x, 2, kRed)) << x;

  Fill(kGreen);
  Give(kLeft, kToolRect, kBlue);
  Stroke(kLeft, {{10, 10}, {2, 4}});  // dragged up and to the left
  EXPECT_EQ(Count(kBlue), 2 * 9 + 2 * 5);
  EXPECT_TRUE(Opaque(2, 4, kBlue));
  EXPECT_TRUE(Opaque(10, 10, kBlue));
  EXPECT_TRUE(Opaque(5, 7, kGreen));

  Fill(kGreen);
  Give(kLeft, kToolFilledRect, kBlue);
  Stroke(kLeft, {{2, 4}, {10, 10}});
  EXPECT_EQ(Count(kBlue), 9 * 7);

  Fill(kGreen);
  Give(kLeft, kToolFilledCircle, kBlue);
  Stroke(kLeft, {{8, 8}, {8, 11}});
  EXPECT_TRUE(Opaque(8, 8, kBlue));
  EXPECT_TRUE(Opaque(6, 8, kBlue));
  EXPECT_TRUE(Opaque(0, 0, kGreen));
  Fill(kGreen);
  Give(kLeft, kToolCircle, kBlue);
  Stroke(kLeft, {{8, 8}, {8, 11}});
  EXPECT_TRUE(Opaque(8, 8, kGreen)) << "an outline leaves the centre";
  EXPECT_GT(Count(kBlue), 8);
}

// The band shows the figure from the press to the pointer's cell, however the pointer moves
// inside a cell, and the grid shows only the image once the button is released.
TEST_F(EditingTest, TheRubberBandFollowsThePointerByCellsAndGoesOnRelease) {
  Open(16, 16, 24);
  Fill(kGreen);
  Give(kLeft, kToolRect, kBlue);
  const QImage plain = View().Rendered();
  Press(kLeft, 2, 2);
  Drag(kLeft, 8, 8);
  const QImage oneBand = View().Rendered();
  EXPECT_NE(oneBand, plain);
  // Within the cell, to the next cell and back.
  const QPointF inCell = At(8, 8) + QPointF(2, -3);
  QMouseEvent nudge(QEvent::MouseMove, inCell, View().mapToGlobal(inCell), Qt::NoButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&View(), &nudge);
  EXPECT_EQ(View().Rendered(), oneBand);
  Drag(kLeft, 9, 9);
  EXPECT_NE(View().Rendered(), oneBand);
  Drag(kLeft, 8, 8);
  EXPECT_EQ(View().Rendered(), oneBand);

  Release(kLeft, 8, 8);
  const QImage released = View().Rendered();
  window_->Grid().DrawMainIcon();
  EXPECT_EQ(released, View().Rendered()) << "the grid shows the image and no band";
  EXPECT_EQ(Count(kBlue), 4 * 6);
}

// Whatever repaints the grid while a band is dragged (showing the image again, a zoom step, a
// cut, a clear of the clip), the cells show the image, and the band's release leaves the
// picture a fresh repaint gives. Undo waits for the release: the figure's step is still open.
TEST_F(EditingTest, RepaintsDuringABandShowTheCellsAsTheyAre) {
  Open(16, 16, 24);
  Fill(kGreen);
  Give(kLeft, kToolRect, kBlue);
  Press(kLeft, 2, 2);
  Drag(kLeft, 6, 6);
  const auto cellShown = [&](int x, int y) {
    const QPoint centre = At(x, y).toPoint();
    return ColourFromRgb(View().Rendered(QRect(centre, QSize(1, 1))).pixel(0, 0));
  };
  window_->Edits().Undo();
  EXPECT_TRUE(window_->Editor().MouseIsDown());
  window_->SelectImage(0, false);
  EXPECT_EQ(cellShown(12, 12), kGreen);
  Drag(kLeft, 7, 7);
  window_->Grid().ZoomIn();
  EXPECT_EQ(cellShown(12, 12), kGreen);
  window_->Grid().ZoomFit();
  Trigger("MnuClipCut");
  Drag(kLeft, 8, 8);
  EXPECT_EQ(cellShown(12, 12), kGreen);
  Trigger("MnuClipDelete");
  Drag(kLeft, 9, 9);
  Drag(kLeft, 8, 8);
  EXPECT_EQ(cellShown(12, 12), kGreen);
  Release(kLeft, 8, 8);
  const QImage released = View().Rendered();
  window_->Grid().DrawMainIcon();
  EXPECT_EQ(released, View().Rendered());
  EXPECT_TRUE(Opaque(8, 8, kBlue));
}

// The second press of a quick double click is a press: it takes its snapshot and its release
// acts, here moving the hot spot again.
TEST_F(EditingTest, TheSecondPressOfADoubleClickActs) {
  Open(16, 16, 24);
  Give(kLeft, kToolHotSpot, kRed);
  Click(kLeft, 2, 3);
  EXPECT_EQ(Document().xHotSpot(0), 2);
  Send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, 5, 6);
  EXPECT_TRUE(window_->Editor().MouseIsDown());
  Release(kLeft, 5, 6);
  EXPECT_EQ(Document().xHotSpot(0), 5);
  EXPECT_EQ(Document().yHotSpot(0), 6);
}

// "Show grid lines" in the Tools menu is the drawing grid option.
TEST_F(EditingTest, TheToolsMenuShowsAndHidesTheGridLines) {
  Open(16, 16, 24);
  Fill(kGreen);
  window_->DrawMainIcon();
  auto* toggle = Find<QAction>("MnuToolGridLines");
  EXPECT_EQ(toggle->text(), "Show grid lines");
  EXPECT_TRUE(toggle->isChecked());
  const int line = static_cast<int>(std::nearbyint(window_->Grid().CellPixels()));  // cells 0 and 1
  const auto shownAtLine = [&] { return ColourFromRgb(View().Rendered(QRect(line, int(At(0, 3).y()), 1, 1)).pixel(0, 0)); };
  EXPECT_EQ(shownAtLine(), RoleColour(QPalette::Button));
  toggle->trigger();
  EXPECT_FALSE(window_->Options().Grid);
  EXPECT_EQ(shownAtLine(), kGreen);
  toggle->trigger();
  EXPECT_TRUE(window_->Options().Grid);
  EXPECT_EQ(shownAtLine(), RoleColour(QPalette::Button));
}

TEST_F(EditingTest, FillsFollowTheDiagonalOptionAndLeaveWhiteAndColourZeroAlone) {
  Open(8, 8, 24);
  const auto checkerboard = [&] {
    Fill(kGreen);
    for (int y = 0; y < 8; ++y)
      for (int x = (y % 2); x < 8; x += 2) Document().XYColor(0, float(x), float(y), kBlue);
  };
  Give(kLeft, kToolFloodFill, kRed);
  checkerboard();
  window_->Options().FloodFill = false;
  Click(kLeft, 0, 0);
  EXPECT_EQ(Count(kRed), 1);
  checkerboard();
  window_->Options().FloodFill = true;
  Click(kLeft, 0, 0);
  EXPECT_EQ(Count(kRed), 32);

  // Transparent and opaque black are one region, and the fill makes it opaque.
  Fill(kGreen);
  for (int x = 0; x < 8; ++x) {
    Document().XYColor(0, float(x), 3, 0);
    Document().XYMask(0, float(x), 3, x % 2 ? MaskTransparent : MaskOpaque);
  }
  Click(kLeft, 0, 3);
  for (int x = 0; x < 8; ++x) EXPECT_TRUE(Opaque(x, 3, kRed)) << x;

  Give(kLeft, kToolFloodErase, kRed);
  Fill(kWhite);
  Click(kLeft, 2, 2);
  EXPECT_EQ(Count(kWhite), 64) << "erasing white does nothing";
  Fill(kGreen);
  Click(kLeft, 2, 2);
  EXPECT_TRUE(Transparent(0, 0));
  EXPECT_TRUE(Transparent(7, 7));
}

TEST_F(EditingTest, EyeDropperTakesTheColourAndReturnsToTheToolBefore) {
  Open(16, 16, 24);
  Fill(kGreen);
  Document().XYColor(0, 4, 4, kBlue);
  Give(kRight, kToolRect, kRed);
  window_->Tools().Choose(kRight, kToolEyeDrop);
  window_->Tools().Choose(kRight, kToolEyeDrop);  // twice keeps the first return tool
  Click(kRight, 4, 4);
  EXPECT_EQ(window_->Colours().Swatch(kRight), kBlue);
  EXPECT_EQ(window_->Options().ButtonTool[kRightButtonTool], kToolRect);

  // Linked buttons: a tool chosen with any button goes to all three, with no return tool.
  window_->Options().LinkMouse = true;
  window_->Tools().Choose(kRight, kToolEyeDrop);
  for (int entry : {kLeftButtonTool, kRightButtonTool, kMiddleButtonTool}) {
    EXPECT_EQ(window_->Options().ButtonTool[entry], kToolEyeDrop);
  }
  Click(kLeft, 0, 0);
  EXPECT_EQ(window_->Colours().Swatch(kLeft), kGreen);
  EXPECT_EQ(window_->Options().ButtonTool[kLeftButtonTool], kToolEyeDrop);
}

TEST_F(EditingTest, HotSpotFollowsThePointer) {
  Open(32, 32, 24);
  Give(kLeft, kToolHotSpot, kRed);
  Stroke(kLeft, {{3, 3}, {9, 12}});
  EXPECT_EQ(Document().xHotSpot(0), 9);
  EXPECT_EQ(Document().yHotSpot(0), 12);
}

TEST_F(EditingTest, UndoRestoresTheImageItsSnapshotCameFrom) {
  cIco& document = Open(16, 16, 24);
  document.AddImage(16, 16, 24, -1);
  window_->ShowCount();
  Give(kLeft, kToolFreehand, kRed);
  Click(kLeft, 1, 1);  // image 0
  window_->SelectImage(1, true);
  Give(kLeft, kToolFreehand, kBlue);
  Click(kLeft, 2, 2);  // image 1
  window_->SelectImage(0, true);
  document.Changed(false);

  const PictureBox* stripPicture = Find<PictureBox>("PctIco1");
  EXPECT_EQ(stripPicture->Surface().Point(2, 2), kBlue);
  window_->Edits().Undo();  // the stroke on image 1
  EXPECT_EQ(window_->CurrentImage(), 1);
  EXPECT_TRUE(document.XYMask(1, 2, 2) == MaskTransparent);
  EXPECT_NE(stripPicture->Surface().Point(2, 2), kBlue) << "the strip shows the undone image";
  EXPECT_EQ(document.XYColor(0, 1, 1), kRed) << "the other image is untouched";
  EXPECT_TRUE(document.Changed());
  window_->Edits().Undo();
  EXPECT_EQ(window_->CurrentImage(), 0);
  EXPECT_EQ(document.XYMask(0, 1, 1), MaskTransparent);

  // Presses that change nothing (a selection) leave no step.
  Give(kLeft, kToolSelect, kRed);
  for (int i = 0; i < 10; ++i) Click(kLeft, i, 0);
  EXPECT_EQ(document.UndoCount(), 0u);
}

// A hundred strokes over two images, undone with Ctrl+Z and redone with Ctrl+Y and
// Ctrl+Shift+Z, each in the image it was made in, which is shown.
TEST_F(EditingTest, AHundredStepsUndoAndRedoAcrossTwoImages) {
  cIco& document = Open(16, 16, 24);
  document.AddImage(16, 16, 24, -1);
  window_->ShowCount();
  Give(kLeft, kToolFreehand, kRed);
  for (int step = 0; step < 100; ++step) {
    const auto image = static_cast<std::int16_t>(step % 2);
    if (window_->CurrentImage() != image) window_->SelectImage(image, false);
    window_->Colours().Swatch(kLeft, MakeColour(step + 1, 0, 0));
    Click(kLeft, (step / 2) % 16, (step / 2) / 16);
  }
  EXPECT_EQ(document.UndoCount(), 100u);
  const std::vector<IconImage> done = document.Images();
  for (int step = 99; step >= 0; --step) {
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    const auto image = static_cast<std::int16_t>(step % 2);
    ASSERT_EQ(window_->CurrentImage(), image) << step;
    EXPECT_EQ(document.XYMask(image, float((step / 2) % 16), float((step / 2) / 16)), MaskTransparent);
  }
  EXPECT_EQ(document.UndoCount(), 0u);
  for (int step = 0; step < 100; ++step) {
    if (step % 2) QTest::keyClick(window_.get(), Qt::Key_Y, Qt::ControlModifier);
    else QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    const auto image = static_cast<std::int16_t>(step % 2);
    ASSERT_EQ(window_->CurrentImage(), image) << step;
    EXPECT_EQ(document.XYColor(image, float((step / 2) % 16), float((step / 2) / 16)), MakeColour(step + 1, 0, 0));
  }
  EXPECT_EQ(document.Images(), done);

  // The menu holds both, and a new stroke after Undo drops what could be redone.
  Trigger("MnuClipUndo");
  EXPECT_EQ(document.RedoCount(), 1u);
  window_->Colours().Swatch(kLeft, MakeColour(100, 0, 0));
  Click(kLeft, 15, 15);
  EXPECT_EQ(document.RedoCount(), 0u);
  Trigger("MnuClipRedo");
  EXPECT_EQ(document.XYMask(1, 1, 3), MaskTransparent) << "nothing is left to redo";
  EXPECT_EQ(document.XYColor(1, 15, 15), MakeColour(100, 0, 0));
}

TEST_F(EditingTest, TransformsTakeASnapshotAndRefuseQuarterTurnsOfTallImages) {
  cIco& document = Open(16, 16, 24);
  document.XYColor(0, 0, 0, kRed);
  document.XYMask(0, 0, 0, MaskOpaque);
  window_->Edits().Transform(2);  // mirror left to right
  EXPECT_EQ(document.XYColor(0, 15, 0), kRed);
  EXPECT_TRUE(document.Changed());
  window_->Edits().Undo();
  EXPECT_EQ(document.XYColor(0, 0, 0), kRed);

  Open(8, 16, 24);
  Document().XYColor(0, 0, 15, kRed);
  EXPECT_EQ(window_->Grid().Cells(), 16) << "a tall image shows whole";
  window_->Edits().Transform(1);
  EXPECT_EQ(Document().XYColor(0, 0, 15), kRed);
  ASSERT_FALSE(backEnd_.prompter.shown.empty());
  EXPECT_EQ(backEnd_.prompter.shown.back().title, "Rotate");
  window_->Edits().Transform(7);  // shifts still work
  EXPECT_EQ(Document().XYColor(0, 0, 15), 0);
}

TEST_F(EditingTest, CopyPasteAndCut) {
  Open(16, 16, 24);
  Fill(kGreen);
  Document().XYColor(0, 1, 1, kRed);
  Document().XYColor(0, 2, 1, kWhite);
  Document().XYColor(0, 1, 2, 0);
  Document().XYMask(0, 1, 2, MaskTransparent);
  Give(kLeft, kToolSelect, kRed);
  Stroke(kLeft, {{2, 2}, {1, 1}});
  window_->Edits().CopySelection(false);
  ASSERT_TRUE(window_->TheClip().ClipAvailable());
  EXPECT_EQ(window_->TheClip().Pixels().Width(), 2);
  const QImage desktop = QApplication::clipboard()->image();
  ASSERT_FALSE(desktop.isNull()) << "other programs get it too";
  EXPECT_EQ(qAlpha(desktop.pixel(0, 1)), 0) << "with the transparent pixel transparent";

  Document().Changed(false);
  window_->Edits().Paste();
  EXPECT_EQ(View().MousePointer(), PictureBox::kPointerArrowQuestion);
  Click(kLeft, 14, 14);  // only the top-left 2 x 2 lands inside
  EXPECT_EQ(View().MousePointer(), PictureBox::kPointerDefault);
  EXPECT_TRUE(Opaque(14, 14, kRed));
  EXPECT_TRUE(Opaque(15, 14, kWhite));
  EXPECT_TRUE(Transparent(14, 15));
  EXPECT_TRUE(Document().Changed());
  window_->Edits().Undo();
  EXPECT_TRUE(Opaque(14, 14, kGreen));

  // Cut clears what it copied; Undo brings it back.
  Stroke(kLeft, {{1, 1}, {1, 1}});
  window_->Edits().CopySelection(true);
  EXPECT_TRUE(Transparent(1, 1));
  window_->Edits().Undo();
  EXPECT_TRUE(Opaque(1, 1, kRed));

  // After Deselect, Cut takes nothing: no pixel is cleared that is not shown as selected.
  Stroke(kLeft, {{5, 5}, {6, 6}});
  window_->Edits().Deselect();
  window_->Edits().CopySelection(true);
  EXPECT_TRUE(Opaque(5, 5, kGreen));
  EXPECT_TRUE(Opaque(6, 6, kGreen));

  // A selection left from a larger image is clamped into this one.
  Open(64, 64, 24);
  Click(kLeft, 50, 40);
  Open(16, 8, 24);
  window_->Edits().CopySelection(false);
  EXPECT_EQ(window_->TheClip().Pixels().Width(), 1);
  EXPECT_EQ(window_->TheClip().Pixels().Height(), 1);

  // Clear takes the clip off the desktop clipboard too, so that Paste brings nothing back.
  window_->Edits().ClearClip();
  EXPECT_FALSE(window_->TheClip().ClipAvailable());
  EXPECT_TRUE(QApplication::clipboard()->image().isNull());
  window_->Edits().Paste();
  EXPECT_EQ(View().MousePointer(), PictureBox::kPointerDefault);
}

TEST_F(EditingTest, ClearLeavesWhatAnotherProgramPutOnTheClipboard) {
  Open(16, 16, 24);
  Give(kLeft, kToolSelect, kRed);
  Stroke(kLeft, {{0, 0}, {1, 1}});
  window_->Edits().CopySelection(false);
  QImage theirs(2, 2, QImage::Format_ARGB32);
  theirs.fill(qRgba(0, 0, 255, 255));
  QApplication::clipboard()->setImage(theirs);
  window_->Edits().ClearClip();
  EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

TEST_F(EditingTest, ADesktopPictureKeepsItsAlphaInAnImageThatKeepsAlpha) {
  Open(16, 16, 32);
  AddAlphaFromMask(Document().Image(0));
  QImage picture(2, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgba(255, 0, 0, 100));
  picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
  QApplication::clipboard()->setImage(picture);
  window_->Edits().ClearClip();  // the own clip is empty; the picture is another program's
  window_->Edits().Paste();
  Click(kLeft, 3, 3);
  EXPECT_TRUE(Opaque(3, 3, kRed));
  EXPECT_EQ(Document().Image(0).Alpha.At(3, 3), 100);
  EXPECT_TRUE(Transparent(4, 3));
}

TEST_F(EditingTest, PasteIntoAPaletteImageUsesItsEntries) {
  Open(16, 16, 4);
  const Colour nearRed = MakeColour(250, 10, 5);
  ClipRegion clip(1, 1);
  clip.Set(0, 0, nearRed, MaskOpaque, 255);
  QApplication::clipboard()->setImage(ClipImage(clip));
  window_->Edits().ClearClip();
  window_->Edits().Paste();
  Click(kLeft, 3, 3);
  const Colour pasted = ColourAt(3, 3);
  const auto& palette = Document().Image(0).Palette;
  EXPECT_NE(std::find(palette.begin(), palette.end(), pasted), palette.end());
  EXPECT_EQ(MaskAt(3, 3), MaskOpaque);
}

TEST_F(EditingTest, TextIsPrintedInExactlyTheColourAtThePressedPixel) {
  Open(32, 32, 24);
  Fill(kGreen);
  window_->SetFont("DejaVu Sans", "11", "Hi");
  // Picking the tool shows the text dialog first; confirm it as it stands.
  QTimer::singleShot(0, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      dialog->findChild<QPushButton*>("cmdOK")->click();
    }
  });
  Give(kRight, kToolText, kRed);
  EXPECT_EQ(window_->Text().m_strText, "Hi");
  Click(kRight, 4, 6);
  const int red = Count(kRed);
  EXPECT_GT(red, 10);
  EXPECT_EQ(red + Count(kGreen), 32 * 32) << "no smoothed edge pixels of other colours";
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (ColourAt(x, y) == kRed) {
        EXPECT_GE(x, 4);
        EXPECT_GE(y, 6);
      }
    }
  }
}

TEST_F(EditingTest, ControlZUndoesTheLastStroke) {
  Open(16, 16, 24);
  Give(kLeft, kToolFreehand, kRed);
  Click(kLeft, 3, 3);
  const PictureBox* stripPicture = Find<PictureBox>("PctIco0");
  EXPECT_EQ(stripPicture->Surface().Point(3, 3), kRed);
  QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Transparent(3, 3));
  // The strip picture follows a moment later.
  EXPECT_TRUE(QTest::qWaitFor([&] { return stripPicture->Surface().Point(3, 3) != kRed; }, 2000));
  // Only the cells of the step are shown again; the grid looks as a full repaint makes it.
  const QImage shown = View().Rendered();
  window_->DrawMainIcon();
  EXPECT_EQ(shown, View().Rendered());
  QTest::keyClick(window_.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(Opaque(3, 3, kRed));
  const QImage redone = View().Rendered();
  window_->DrawMainIcon();
  EXPECT_EQ(redone, View().Rendered());
}

TEST_F(EditingTest, CommandsWithoutAnImageDoNothing) {
  window_->Edits().CopySelection(false);
  window_->Edits().CopySelection(true);
  window_->Edits().Transform(0);
  window_->Edits().Undo();
  Click(kLeft, 1, 1);
  EXPECT_FALSE(window_->TheClip().ClipAvailable());
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

}  // namespace
}  // namespace brixel
