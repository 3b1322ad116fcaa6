#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "FrmText.h"
#include "PictureBox.h"
#include "TestSupport.h"
#include "TextTool.h"
#include "TransferShape.h"
#include "cIco.h"

namespace brixel {
namespace {

constexpr Colour kInk = MakeColour(200, 30, 90);

TEST(TextPointsFrom, TakesOnlyFiniteSizesFromOneTo500) {
  EXPECT_EQ(TextPointsFrom(" 6.5 "), 6.5f);
  EXPECT_EQ(TextPointsFrom("500"), 500.0f);
  for (const char* bad : {"", "abc", "11pt", "0", "0.5", "500.5", "inf", "nan", "1e9"}) {
    EXPECT_EQ(TextPointsFrom(bad), std::nullopt) << bad;
  }
}

class FrmTextTest : public ::testing::Test {
 protected:
  void Open() {
    dialog_ = std::make_unique<FrmText>(settings_);
    font_ = dialog_->findChild<QComboBox*>("cboFont");
    size_ = dialog_->findChild<QComboBox*>("cboSize");
    text_ = dialog_->findChild<QLineEdit*>("txtInsert");
    preview_ = dialog_->findChild<PictureBox*>("pctPrev");
    ASSERT_TRUE(font_ && size_ && text_ && preview_);
    dialog_->show();
  }
  const QtPictureSurface& Preview() const { return preview_->Surface(); }

  test::BackEndFixture backEnd_;
  TextSettings settings_;
  std::unique_ptr<FrmText> dialog_;
  QComboBox* font_ = nullptr;
  QComboBox* size_ = nullptr;
  QLineEdit* text_ = nullptr;
  PictureBox* preview_ = nullptr;
};

TEST_F(FrmTextTest, FirstOpeningShowsElevenAndTheSecondFontAndUnusableSizesKeepThePrevious) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(dialog_->windowTitle(), "Select text for entry");
  EXPECT_EQ(size_->count(), 10);
  EXPECT_EQ(size_->currentText(), "11");
  ASSERT_GE(QFontDatabase::families().size(), 2);
  EXPECT_EQ(font_->count(), QFontDatabase::families().size());
  EXPECT_EQ(font_->currentText(), QFontDatabase::families().at(1));
  EXPECT_FLOAT_EQ(Preview().FontSize(), 11);

  font_->setCurrentText("DejaVu Sans");
  QTest::keyClicks(text_, "Hg");
  size_->setCurrentText("18");
  const Bitmap atEighteen = Preview().Image();
  EXPECT_NE(atEighteen, Bitmap(64, 64, kWhite));
  // The text starts at (5, 5): nothing above or left of it.
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(atEighteen.At(k, 4), kWhite);
    EXPECT_EQ(atEighteen.At(4, k), kWhite);
  }

  for (const char* unusable : {"abc", "inf", "1e9", "0"}) {
    size_->setCurrentText(unusable);
    EXPECT_FLOAT_EQ(Preview().FontSize(), 18) << unusable;
    EXPECT_EQ(Preview().Image(), atEighteen) << unusable;
  }
  font_->setCurrentText("No Such Font Brixel");
  EXPECT_EQ(Preview().FontName(), "DejaVu Sans");
}

TEST_F(FrmTextTest, OkStoresTheChoiceForTheNextOpeningAndOtherClosingStoresNothing) {
  ASSERT_NO_FATAL_FAILURE(Open());
  font_->setCurrentText("DejaVu Serif");
  size_->setCurrentText("13");  // typed, not in the list
  text_->setText("Ab");
  QTest::mouseClick(dialog_->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);

  for (int reopening = 0; reopening < 2; ++reopening) {
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(font_->currentText(), "DejaVu Serif");
    EXPECT_EQ(size_->currentText(), "13");
    EXPECT_EQ(text_->text(), "Ab");
    EXPECT_EQ(Preview().FontName(), "DejaVu Serif");
    EXPECT_FLOAT_EQ(Preview().FontSize(), 13);
    size_->setCurrentIndex(0);
    text_->setText("Changed");
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  }
}

// Text printed on a 32 x 32 scratch surface and taken over into a transparent 24-bit image
// of that width that has one opaque pixel of another colour at (10, 10).
class TextDrawingTest : public ::testing::Test {
 protected:
  void Draw(int height, const TextSettings& text, float x, float y) {
    document_.AddImage(32, static_cast<std::int16_t>(height), 24, 0);
    document_.XYColor(0, 10, 10, kInk + 1);
    document_.XYMask(0, 10, 10, MaskOpaque);
    before_ = document_.Image(0);
    PrepareScratch(scratch_, kInk);
    DrawTextAt(scratch_, text, kInk, x, y);
    TransferShape(scratch_, document_, 0, PaintColour{kInk});
  }

  // Counts the changed pixels, which must all be opaque in kInk and lie inside bounds.
  int Changed(const QRect& bounds) const {
    const IconImage& now = document_.Image(0);
    int changed = 0;
    for (int y = 0; y < now.Pixels.Rows(); ++y) {
      for (int x = 0; x < now.Pixels.Columns(); ++x) {
        const bool same = now.Pixels.At(x, y) == before_.Pixels.At(x, y) &&
                          now.Mask.At(x, y) == before_.Mask.At(x, y);
        if (same) continue;
        ++changed;
        EXPECT_EQ(now.Pixels.At(x, y), kInk) << x << "," << y;
        EXPECT_EQ(now.Mask.At(x, y), MaskOpaque) << x << "," << y;
        EXPECT_TRUE(bounds.contains(x, y)) << x << "," << y;
      }
    }
    return changed;
  }

  test::BackEndFixture backEnd_;
  cIco document_;
  IconImage before_;
  QtPictureSurface scratch_{32, 32};
  TextSettings text_;
};

TEST_F(TextDrawingTest, TextBecomesSolidStrokesOfTheColourAndUnusableSettingsChangeNothing) {
  text_.SetFont("DejaVu Sans", "11", "H");
  Draw(32, text_, 4, 6);
  EXPECT_GT(Changed(QRect(4, 6, 14, 16)), 15);
  // The H's stems: solid vertical runs a cap height long, not scattered pixels.
  int longest = 0;
  for (int x = 0; x < 32; ++x) {
    for (int y = 0, run = 0; y < 32; ++y) {
      run = document_.XYColor(0, x, y) == kInk ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  EXPECT_GE(longest, 8);
  EXPECT_EQ(document_.XYColor(0, 10, 10), kInk + 1);

  // A missing font and a size in letters keep the scratch surface's; empty text prints nothing.
  text_.SetFont("No Such Font Brixel", "abc", "");
  Draw(32, text_, 4, 6);
  EXPECT_EQ(document_.Image(0), before_);
  EXPECT_EQ(scratch_.FontName(), "DejaVu Sans");
  EXPECT_FLOAT_EQ(scratch_.FontSize(), 11);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(TextDrawingTest, TextPastTheEdgeWritesOnlyInsideTheScratchSurface) {
  text_.SetFont("DejaVu Sans", "18", "WWWW");
  Draw(48, text_, 20, 22);  // an image taller than the square scratch surface
  EXPECT_GT(Changed(QRect(20, 22, 12, 10)), 0);
  bool reachesRight = false;
  bool reachesBottom = false;
  for (int k = 0; k < 32; ++k) {
    reachesRight |= document_.XYColor(0, 31, k) == kInk;
    reachesBottom |= document_.XYColor(0, k, 31) == kInk;
  }
  EXPECT_TRUE(reachesRight && reachesBottom);
  // "No colour" would match every read below the scratch surface.
  const IconImage drawn = document_.Image(0);
  TransferShape(scratch_, document_, 0, PaintColour{kNoColour});
  EXPECT_EQ(document_.Image(0), drawn);
}

}  // namespace
}  // namespace brixel
