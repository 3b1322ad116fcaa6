#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include "Clip.h"
#include "EditCommands.h"
#include "EditingFixture.h"
#include "GridEditor.h"

namespace brixel {
namespace {

using namespace test;

// Answers every modal dialog that opens with the button of that name, and counts them.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(const char* button) : button_(button) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog || dialog == last_) return;
      last_ = dialog;
      ++opened_;
      if (auto* answer = dialog->findChild<QPushButton*>(button_)) answer->click();
    });
    timer_.start();
  }
  int Opened() const { return opened_; }

 private:
  QString button_;
  QTimer timer_;
  QWidget* last_ = nullptr;
  int opened_ = 0;
};

TEST_F(EditingTest, TheEyeDropperLeavesTheHistoryAndTheChangedMarkAlone) {
  Open(16, 16, 24);
  Fill(kGreen);
  Give(kLeft, kToolFreehand, kRed);
  Click(kLeft, 2, 2);
  Document().Changed(false);
  const auto steps = Document().UndoCount();

  Give(kRight, kToolEyeDrop, kBlue);
  Stroke(kRight, {{2, 2}, {3, 3}, {2, 2}});
  EXPECT_EQ(window_->Colours().Swatch(kRight), kRed);
  EXPECT_FALSE(Document().Changed()) << "Close would ask to save an unchanged file";
  EXPECT_EQ(Document().UndoCount(), steps);

  // So the first Ctrl+Z after the pick takes back the stroke before it.
  QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Opaque(2, 2, kGreen));
}

TEST_F(EditingTest, ReturningToTheTextToolAfterAPickOpensNoDialog) {
  Open(16, 16, 24);
  window_->SetFont("DejaVu Sans", "11", "A");
  DialogAnswerer ok("cmdOK");
  window_->Tools().Choose(kLeft, kToolText);
  EXPECT_EQ(ok.Opened(), 1);
  window_->Tools().Choose(kLeft, kToolEyeDrop);
  for (int pick = 0; pick < 3; ++pick) {
    Click(kLeft, 1, 1);
    EXPECT_EQ(window_->Tools().ToolOf(kLeft), kToolText);
    window_->Tools().Choose(kLeft, kToolEyeDrop);
  }
  EXPECT_EQ(ok.Opened(), 1) << "the dialog opens when the user chooses Text";
}

TEST_F(EditingTest, CancellingTheTextDialogKeepsThePreviousTool) {
  Open(16, 16, 24);
  window_->Tools().Choose(kRight, kToolLine);
  DialogAnswerer cancel("cmdCancel");
  window_->Tools().Choose(kRight, kToolText);
  EXPECT_EQ(cancel.Opened(), 1);
  EXPECT_EQ(window_->Tools().ToolOf(kRight), kToolLine);
  EXPECT_TRUE(window_->Text().m_strText.isEmpty()) << "nothing stored";
}

TEST_F(EditingTest, ATallImageShowsAsItIsWithSquareCells) {
  Open(20, 40, 24);
  const GridView& view = View();
  EXPECT_EQ(view.Columns(), 20);
  EXPECT_EQ(view.Rows(), 40);
  EXPECT_NEAR(view.height(), 2 * view.width(), 1);
  Give(kLeft, kToolFreehand, kRed);
  Click(kLeft, 19, 39);
  EXPECT_TRUE(Opaque(19, 39, kRed)) << "the bottom-right cell is the bottom-right pixel";
  Click(kLeft, 10, 20);
  EXPECT_TRUE(Opaque(10, 20, kRed));
}

// The padding columns of a 1-bit row (20 to 31 here) are outside for every tool.
TEST_F(EditingTest, ToolsStayOutOfThePaddingColumnsOfOneBitImages) {
  cIco& document = Open(20, 40, 1);
  const Colour white = document.PaletteColor(0, 1);
  const auto padding = [&] {
    int written = 0;
    const IconImage& image = document.Image(0);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = image.Width; x < image.Pixels.Columns(); ++x) written += image.Pixels.At(x, y) != 0;
    }
    return written;
  };
  for (int tool : {kToolRect, kToolFilledRect, kToolLine, kToolFilledCircle}) {
    Give(kLeft, tool, white);
    window_->Colours().Sync(document, 0);
    Stroke(kLeft, {{5, 5}, {12, 9}, {35, 12}});  // dragged out past the right edge
    EXPECT_EQ(padding(), 0) << tool;
    EXPECT_EQ(document.XYColor(0, 19, 12), white) << tool;
  }

  window_->SetFont("DejaVu Sans", "18", "WWWWWW");
  DialogAnswerer ok("cmdOK");
  window_->Tools().Choose(kLeft, kToolText);
  Click(kLeft, 10, 20);
  EXPECT_EQ(padding(), 0) << "text";

  // Past the width the eye-dropper finds no colour, rather than a padding pixel's black.
  const Colour black = document.PaletteColor(0, 0);
  document.Image(0).Pixels.At(19, 39) = black;
  document.Image(0).Pixels.At(25, 39) = white;
  window_->Tools().Choose(kRight, kToolEyeDrop);
  Press(kRight, 19, 39);
  EXPECT_EQ(window_->Colours().Swatch(kRight), black);
  Drag(kRight, 25, 39);
  EXPECT_EQ(window_->Colours().Swatch(kRight), black);
  window_->Editor().Release(kRight, 25.5f, 39.5f);
  EXPECT_EQ(window_->Colours().Swatch(kRight), black);
}

TEST_F(EditingTest, PlacingAPasteThatChangesNoPixelLeavesTheDocumentUnchanged) {
  Open(16, 16, 24);
  Fill(kGreen);
  Document().XYColor(0, 4, 4, kRed);
  Give(kLeft, kToolSelect, kRed);
  Stroke(kLeft, {{3, 3}, {5, 5}});
  window_->Edits().CopySelection(false);
  Document().Changed(false);
  window_->Edits().Paste();
  Click(kLeft, 3, 3);  // where it came from
  EXPECT_FALSE(Document().Changed());
  window_->Edits().Paste();
  Click(kLeft, 6, 6);
  EXPECT_TRUE(Document().Changed());
  EXPECT_TRUE(Opaque(7, 7, kRed));
}

}  // namespace
}  // namespace brixel
