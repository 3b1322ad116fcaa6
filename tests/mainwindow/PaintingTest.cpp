// Painting with opacity through the window, the colour chooser, and selections that move.

#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "AlphaChannel.h"
#include "Clip.h"
#include "EditCommands.h"
#include "EditingFixture.h"
#include "GridEditor.h"
#include "MouseFunctionsPanel.h"
#include "PaintColour.h"
#include "PictureBox.h"

namespace brixel {
namespace {

using namespace test;

class PaintingTest : public EditingTest {
 protected:
  PaintColour PaintAt(int x, int y) { return PixelPaint(Document().Image(0), x, y); }
  void GiveWithOpacity(int code, int tool, Colour colour, int opacity, bool over) {
    Give(code, tool, colour);
    window_->Colours().Opacity(code, opacity);
    window_->Colours().PaintsOver(code, over);
  }
  // Runs the colour chooser of a button's swatch, doing what answer does in it.
  void ChooseOnSwatch(int code, const std::function<void(QDialog&)>& answer) {
    QTimer::singleShot(0, [answer] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) answer(*dialog);
    });
    emit window_->findChild<MouseFunctionsPanel*>("Frame1")->Swatch(code)->DblClick();
  }
};

TEST_F(PaintingTest, EveryToolWritesTheColourAndOpacityOrBlendsIt) {
  Open(16, 16, 32);
  const PaintColour red{kRed, 128};
  GiveWithOpacity(kLeft, kToolFreehand, kRed, 128, false);
  Stroke(kLeft, {{1, 1}, {6, 1}});
  for (int x = 1; x <= 6; ++x) EXPECT_EQ(PaintAt(x, 1), red) << x;
  Stroke(kLeft, {{1, 1}, {3, 1}});
  EXPECT_EQ(PaintAt(2, 1), red) << "replacing sets exactly, however often";

  GiveWithOpacity(kRight, kToolFreehand, kBlue, 100, true);
  Stroke(kRight, {{1, 1}, {2, 1}});
  const PaintColour over = BlendedOver({kBlue, 100}, red);
  EXPECT_EQ(PaintAt(1, 1), over);
  EXPECT_EQ(PaintAt(2, 1), over) << "each pixel of a stroke blended once";
  EXPECT_EQ(PaintAt(3, 1), red);

  GiveWithOpacity(kLeft, kToolFilledRect, kGreen, 60, false);
  Stroke(kLeft, {{0, 4}, {3, 6}});
  EXPECT_EQ(PaintAt(0, 4), (PaintColour{kGreen, 60}));
  EXPECT_EQ(PaintAt(3, 6), (PaintColour{kGreen, 60}));
  GiveWithOpacity(kLeft, kToolLine, kBlue, 200, false);
  Stroke(kLeft, {{0, 10}, {10, 10}});
  EXPECT_EQ(PaintAt(10, 10), (PaintColour{kBlue, 200}));

  // The fill takes the region of one colour and opacity: the transparent background here.
  GiveWithOpacity(kMiddle, kToolFloodFill, kGreen, 30, false);
  Click(kMiddle, 15, 15);
  EXPECT_EQ(PaintAt(15, 15), (PaintColour{kGreen, 30}));
  EXPECT_EQ(PaintAt(9, 1), (PaintColour{kGreen, 30}));
  EXPECT_EQ(PaintAt(4, 1), red) << "another opacity is another region";
  EXPECT_EQ(PaintAt(1, 5), (PaintColour{kGreen, 60}));

  // Opacity 0 paints holes.
  GiveWithOpacity(kLeft, kToolFreehand, kRed, 0, false);
  Click(kLeft, 15, 15);
  EXPECT_EQ(MaskAt(15, 15), MaskTransparent);

  // The eye-dropper takes colour and opacity.
  window_->Tools().Choose(kRight, kToolEyeDrop);
  Click(kRight, 1, 1);
  EXPECT_EQ(window_->Colours().Swatch(kRight), over.colour);
  EXPECT_EQ(window_->Colours().Opacity(kRight), over.opacity);

  // Saved and read back with exactly these alphas.
  const auto path = dir_ / "soft.ico";
  ASSERT_TRUE(Document().SaveIcon(path.string()));
  cIco back;
  ASSERT_TRUE(back.OpenIcon(path.string()));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      ASSERT_EQ(PixelPaint(back.Image(0), x, y), PaintAt(x, y)) << x << "," << y;
    }
  }
}

TEST_F(PaintingTest, ImagesWithoutAlphaPaintOpaqueAsBefore) {
  Open(16, 16, 24);
  GiveWithOpacity(kLeft, kToolFreehand, kRed, 40, true);
  Click(kLeft, 2, 2);
  EXPECT_TRUE(Opaque(2, 2, kRed));
  EXPECT_FALSE(Document().Image(0).CarriesAlpha());
  EXPECT_FALSE(window_->Colours().OpacityShown());

  window_->Options().KeepAlpha = false;
  KeepAlpha(false);
  Open(16, 16, 32);
  Click(kLeft, 3, 3);
  EXPECT_TRUE(Opaque(3, 3, kRed));
  EXPECT_FALSE(Document().Image(0).CarriesAlpha());
  KeepAlpha(true);
}

TEST_F(PaintingTest, TheChooserOffersOpacityAndAHexFieldWhereTheImageTakesThem) {
  Open(16, 16, 32);
  ChooseOnSwatch(kLeft, [](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Drawing Color");
    auto* chooser = dialog.findChild<QColorDialog*>("ChooseColour");
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->testOption(QColorDialog::ShowAlphaChannel));
    auto* hex = dialog.findChild<QLineEdit*>("txtHex");
    hex->setText("#11223344");
    emit hex->editingFinished();
    EXPECT_EQ(hex->text(), "#11223344");
    dialog.findChild<QCheckBox*>("chkPaintOver")->setChecked(true);
    dialog.findChild<QPushButton*>("cmdOK")->click();
  });
  EXPECT_EQ(window_->Colours().Swatch(kLeft), MakeColour(0x11, 0x22, 0x33));
  EXPECT_EQ(window_->Colours().Opacity(kLeft), 0x44);
  EXPECT_TRUE(window_->Colours().PaintsOver(kLeft));
  // The swatch shows it over a checkerboard: its squares differ.
  const QtPictureSurface& swatch =
      window_->findChild<MouseFunctionsPanel*>("Frame1")->Swatch(kLeft)->Surface();
  EXPECT_NE(swatch.Point(2, 2), swatch.Point(12, 2));

  // Cancel changes nothing; a hex value that does not read is not taken.
  ChooseOnSwatch(kLeft, [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("txtHex")->setText("#12");
    dialog.findChild<QPushButton*>("cmdOK")->click();
  });
  EXPECT_EQ(window_->Colours().Opacity(kLeft), 0x44);
  EXPECT_EQ(window_->Colours().Swatch(kLeft), MakeColour(0x11, 0x22, 0x33));
  ChooseOnSwatch(kLeft, [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("txtHex")->setText("#FFFFFFFF");
    dialog.findChild<QPushButton*>("cmdCancel")->click();
  });
  EXPECT_EQ(window_->Colours().Opacity(kLeft), 0x44);

  // Without alpha: no opacity, no "Paint over", a six-digit hex.
  Open(16, 16, 24);
  ChooseOnSwatch(kRight, [](QDialog& dialog) {
    EXPECT_FALSE(dialog.findChild<QColorDialog*>("ChooseColour")->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("chkPaintOver")->isVisibleTo(&dialog));
    auto* hex = dialog.findChild<QLineEdit*>("txtHex");
    EXPECT_EQ(hex->text().size(), 7);
    hex->setText("#102030");
    dialog.findChild<QPushButton*>("cmdOK")->click();
  });
  EXPECT_EQ(window_->Colours().Swatch(kRight), MakeColour(0x10, 0x20, 0x30));
  EXPECT_EQ(window_->Colours().Opacity(kRight), 255);
}

// Dragging inside the frame lifts the pixels and moves them; one undo puts them back.
TEST_F(PaintingTest, DraggingASelectionMovesItsPixels) {
  Open(16, 16, 24);
  Fill(kGreen);
  Document().XYColor(0, 2, 2, kRed);
  Document().XYColor(0, 3, 3, kBlue);
  const IconImage before = Document().Image(0);
  Give(kLeft, kToolSelect, kRed);
  Stroke(kLeft, {{2, 2}, {3, 3}});
  Document().Changed(false);

  Press(kLeft, 3, 2);
  EXPECT_TRUE(View().Floating());
  EXPECT_TRUE(Transparent(2, 2)) << "the place they leave";
  Drag(kLeft, 6, 8);
  EXPECT_EQ(View().FloatingAt(), QPoint(5, 8));
  Release(kLeft, 6, 8);
  EXPECT_FALSE(View().Floating());
  EXPECT_TRUE(Opaque(5, 8, kRed));
  EXPECT_TRUE(Opaque(6, 9, kBlue));
  EXPECT_TRUE(Opaque(6, 8, kGreen));
  EXPECT_TRUE(Transparent(3, 3));
  EXPECT_TRUE(Document().Changed());
  EXPECT_EQ(window_->Grid().Selection(), QRect(5, 8, 2, 2)) << "the frame goes along";
  EXPECT_EQ(Document().UndoCount(), 1u);

  // The arrows nudge the selected pixels, a step each.
  QTest::keyClick(&View(), Qt::Key_Right);
  EXPECT_TRUE(Opaque(6, 8, kRed));
  EXPECT_TRUE(Transparent(5, 8));
  EXPECT_EQ(Document().UndoCount(), 2u);

  window_->Edits().Undo();
  window_->Edits().Undo();
  EXPECT_EQ(Document().Image(0), before);
  window_->Edits().Redo();
  EXPECT_TRUE(Opaque(5, 8, kRed));

  // Esc during a move puts the pixels back where they were.
  window_->Edits().Undo();
  Stroke(kLeft, {{2, 2}, {3, 3}});
  Press(kLeft, 2, 2);
  Drag(kLeft, 10, 10);
  QTest::keyClick(&View(), Qt::Key_Escape);
  Release(kLeft, 10, 10);
  EXPECT_EQ(Document().Image(0), before);
  EXPECT_EQ(window_->Grid().Selection(), QRect(2, 2, 2, 2));

  // A press outside the frame starts a new selection; Deselect and Select all.
  Stroke(kLeft, {{9, 9}, {12, 10}});
  EXPECT_EQ(window_->Grid().Selection(), QRect(9, 9, 4, 2));
  Trigger("MnuClipDeselect");
  EXPECT_FALSE(window_->Grid().Selection());
  Trigger("MnuClipSelectAll");
  EXPECT_EQ(window_->Grid().Selection(), QRect(0, 0, 16, 16));
  window_->Edits().CopySelection(false);
  EXPECT_EQ(window_->TheClip().Pixels().Width(), 16);
}

TEST_F(PaintingTest, APasteFloatsUnderThePointerUntilItIsPlaced) {
  Open(16, 16, 24);
  Fill(kGreen);
  Document().XYColor(0, 1, 1, kRed);
  Give(kLeft, kToolSelect, kRed);
  Stroke(kLeft, {{1, 1}, {2, 2}});
  window_->Edits().CopySelection(false);
  const IconImage before = Document().Image(0);

  window_->Edits().Paste();
  EXPECT_TRUE(View().Floating());
  Hover(7, 4);
  EXPECT_EQ(View().FloatingAt(), QPoint(7, 4));
  EXPECT_EQ(Document().Image(0), before) << "only a preview";
  QTest::keyClick(&View(), Qt::Key_Escape);
  EXPECT_FALSE(View().Floating());
  EXPECT_EQ(View().MousePointer(), PictureBox::kPointerDefault);
  Click(kLeft, 7, 4);
  EXPECT_EQ(Document().Image(0), before) << "a cancelled paste places nothing";

  window_->Edits().Paste();
  Hover(7, 4);
  QTest::keyClick(&View(), Qt::Key_Right);
  QTest::keyClick(&View(), Qt::Key_Down);
  EXPECT_EQ(View().FloatingAt(), QPoint(8, 5));
  QTest::keyClick(&View(), Qt::Key_Return);
  EXPECT_FALSE(View().Floating());
  EXPECT_TRUE(Opaque(8, 5, kRed));
  window_->Edits().Undo();
  EXPECT_EQ(Document().Image(0), before);

  window_->Edits().Paste();
  Hover(12, 3);
  Click(kLeft, 12, 3);
  EXPECT_TRUE(Opaque(12, 3, kRed));
  EXPECT_FALSE(View().Floating());
}

TEST_F(PaintingTest, TheClipboardMenuHoldsTheHistoryAndSelectionItems) {
  const auto shortcuts = [&](const char* name) {
    QStringList keys;
    for (const QKeySequence& key : Find<QAction>(name)->shortcuts()) keys << key.toString();
    return keys;
  };
  EXPECT_EQ(shortcuts("MnuClipUndo"), QStringList{"Ctrl+Z"});
  EXPECT_EQ(shortcuts("MnuClipRedo"), (QStringList{"Ctrl+Y", "Ctrl+Shift+Z"}));
  EXPECT_EQ(shortcuts("MnuIconAdd"), QStringList{"Ctrl+A"});
  EXPECT_FALSE(shortcuts("MnuClipSelectAll").contains("Ctrl+A"));
  EXPECT_FALSE(shortcuts("MnuClipDeselect").isEmpty());
  EXPECT_EQ(Find<QAction>("MnuClipRedo")->text(), "&Redo");
}

}  // namespace
}  // namespace brixel
