// Animated cursors in the window: their rates in the strip, the animation dialog with its
// preview, Add on a cursor, and Save writing an animated cursor again.

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

#include "AnimatedCursors.h"
#include "FrmAnimation.h"
#include "MainWindowFixture.h"
#include "QtColour.h"
#include "XcursorFile.h"
#include "cAni.h"

// Last: Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xcursor/Xcursor.h>

namespace brixel {
namespace {

using namespace test;

class AnimationTest : public MainWindowTest {
 protected:
  void SetUp() override {
    WriteBytes(path_, Riff("ACON", {Anih(2, 2, 6), List("fram", {Icon({frames_[0]}), Icon({frames_[1]})})}));
    HandOverFile(path_);
    ASSERT_NE(AnimationOf(&IconDocuments.CurrentDocument()), nullptr);
  }

  static void Fill(QDialog& dialog, const QString& name, int rate, const QString& rates, const QString& sequence) {
    dialog.findChild<QLineEdit*>("TxtName")->setText(name);
    dialog.findChild<QSpinBox*>("SpnRate")->setValue(rate);
    dialog.findChild<QLineEdit*>("TxtRates")->setText(rates);
    dialog.findChild<QLineEdit*>("TxtSequence")->setText(sequence);
  }

  const std::filesystem::path path_ = dir_ / "walk.ani";
  const std::vector<IconImage> frames_ = {FrameImage(32, 8, PaletteColour(8, 2), 4, 5), FrameImage(32, 24, kWhite, 4, 5)};
};

TEST_F(AnimationTest, RatesAndSequenceSetInTheDialogAreSavedAsTheCursorsChunks) {
  // The dialog is modal: it is filled in and accepted once it shows.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<FrmAnimation*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    Fill(*dialog, "Walk", 10, "10 20 10", "0 1 0");
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  Trigger("MnuIconAnimation");
  EXPECT_TRUE(IconDocuments.CurrentDocument().Changed());
  EXPECT_EQ(Text("LblIco1"), "32x32 true color\n20 jiffies, 333 ms");

  Trigger("MnuFileSave");
  EXPECT_FALSE(IconDocuments.CurrentDocument().Changed());
  EXPECT_EQ(ReadWholeFile(path_.string()),
            Riff("ACON", {Anih(2, 3, 10, kIconFlag | kSequenceFlag),
                          List("INFO", {Chunk("INAM", test::Text(std::string_view("Walk\0", 5)))}),
                          Steps("rate", {10, 20, 10}), Steps("seq ", {0, 1, 0}),
                          List("fram", {Icon({frames_[0]}), Icon({frames_[1]})})}));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// Real files carry a default rate of 0, which players take as their shortest delay: it stays
// 0 when only something else is changed, and 0 can be given to a step.
TEST_F(AnimationTest, ARateOfZeroIsKept) {
  WriteBytes(path_, Riff("ACON", {Anih(2, 2, 0), List("fram", {Icon({frames_[0]}), Icon({frames_[1]})})}));
  Trigger("MnuFileClose");
  HandOverFile(path_);
  cAni& cursor = *AnimationOf(&IconDocuments.CurrentDocument());
  ASSERT_EQ(cursor.Header().DisplayRate, 0);
  FrmAnimation dialog(cursor, window_.get());
  dialog.findChild<QLineEdit*>("TxtName")->setText("Zero");
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(cursor.Header().DisplayRate, 0);
  dialog.findChild<QLineEdit*>("TxtRates")->setText("0 7");
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(cursor.Rates(), (std::vector<std::int32_t>{0, 7}));
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(AnimationTest, ThePreviewPlaysTheStepsAndBadListsAreRefused) {
  cAni& cursor = *AnimationOf(&IconDocuments.CurrentDocument());
  FrmAnimation dialog(cursor, window_.get());
  EXPECT_TRUE(dialog.Playing());
  EXPECT_EQ(dialog.findChild<QLabel*>("LblStep")->text(), "Step 1 of 2: frame 0, 6 jiffies (100 ms)");
  // The 32-pixel frame enlarged four times, as its thumbnail would be.
  const QImage shown = dialog.findChild<QLabel*>("LblPreview")->pixmap().toImage();
  ASSERT_EQ(shown.size(), QSize(128, 128));
  EXPECT_EQ(shown.pixelColor(127, 127), QColor::fromRgb(RgbFromColour(PaletteColour(8, 2))));

  Fill(dialog, "", 6, "3", "1 1 0");  // one rate for every step
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(cursor.Steps(), (std::vector<AniStep>{{1, 3}, {1, 3}, {0, 3}}));
  EXPECT_EQ(dialog.findChild<QLabel*>("LblSequence")->text(), "Steps: 1 1 0");
  dialog.NextStep();
  dialog.NextStep();
  EXPECT_EQ(dialog.StepShown(), 2u);
  EXPECT_EQ(dialog.findChild<QLabel*>("LblStep")->text(), "Step 3 of 3: frame 0, 3 jiffies (50 ms)");
  dialog.NextStep();
  EXPECT_EQ(dialog.StepShown(), 0u);
  dialog.findChild<QPushButton*>("CmdPlay")->click();
  EXPECT_FALSE(dialog.Playing());
  EXPECT_EQ(dialog.findChild<QPushButton*>("CmdPlay")->text(), "Play");

  for (const auto& [rates, sequence] : {std::pair<QString, QString>{"", "0 2"}, {"", "0 -1"}, {"", "x"},
                                        {"1 2", "0 1 0"}, {"-1", ""}}) {
    SCOPED_TRACE((rates + " / " + sequence).toStdString());
    backEnd_.prompter.shown.clear();
    Fill(dialog, "", 6, rates, sequence);
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(backEnd_.prompter.shown.size(), 1u);
    EXPECT_EQ(cursor.Steps(), (std::vector<AniStep>{{1, 3}, {1, 3}, {0, 3}}));
  }
}

// The name and artist are Windows-1252 in the file: shown as such, written back byte for byte
// when not edited, and a character that set lacks is refused.
TEST_F(AnimationTest, TheTextsAreWindows1252BothWays) {
  const auto path = dir_ / "cafe.ani";
  WriteBytes(path, Riff("ACON", {Anih(1, 1, 6), List("INFO", {Chunk("INAM", test::Text("Caf\xE9 \x80")),
                                                                Chunk("IART", test::Text("Ann"))}),
                                 List("fram", {Icon({frames_[0]})})}));
  HandOverFile(path);
  cAni& cursor = *AnimationOf(&IconDocuments.CurrentDocument());
  FrmAnimation dialog(cursor, window_.get());
  auto* name = dialog.findChild<QLineEdit*>("TxtName");
  auto* artist = dialog.findChild<QLineEdit*>("TxtArtist");
  EXPECT_EQ(name->text(), QString::fromUtf8("Caf\u00E9 \u20AC"));
  // A rate changed alone leaves the texts' bytes as they were.
  dialog.findChild<QSpinBox*>("SpnRate")->setValue(9);
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(cursor.CursorName(), "Caf\xE9 \x80");
  EXPECT_EQ(cursor.Header().DisplayRate, 9);

  name->setText(QString::fromUtf8("\u0152uvre \u2013 \u20AC5"));
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(cursor.CursorName(), "\x8Cuvre \x96 \x80" "5");

  artist->setText(QString::fromUtf8("Zo\u00EB \u0165"));
  EXPECT_FALSE(dialog.Apply());
  EXPECT_EQ(PromptTexts().back(),
            "The artist cannot hold \u201C\u0165\u201D (U+0165): animated cursors keep their texts in the "
            "Windows-1252 character set");
  EXPECT_EQ(cursor.CursorArtist(), "Ann");
}

TEST_F(AnimationTest, AddOnACursorAddsAFrameOfItsSizeAndSaveAsIconEndsTheLink) {
  Trigger("MnuIconAdd");
  cIco& document = IconDocuments.CurrentDocument();
  ASSERT_EQ(document.IconCount(), 3);
  const IconImage& added = document.Image(2);
  EXPECT_EQ((std::array<int, 5>{added.Width, added.Height(), added.BitDepth, added.xHotSpot, added.yHotSpot}),
            (std::array<int, 5>{32, 32, 8, 4, 5}));
  EXPECT_EQ(Text("LblIco2"), "32x32 256 color\n6 jiffies, 100 ms");

  const auto icon = dir_ / "walk.ico";
  AnswerFileDialog(icon);
  Trigger("MnuFileSaveAs");
  EXPECT_EQ(document.IconPath(), icon.string());
  EXPECT_EQ(AnimationOf(&document), nullptr);
  cIco reread;
  ASSERT_TRUE(reread.OpenIcon(icon.string()));
  EXPECT_EQ(reread.IconCount(), 3);
  EXPECT_EQ(AniDocuments.Count(), 0) << "no document shows the cursor any more";
  Trigger("MnuFileClose");
  EXPECT_EQ(IconDocuments.Count(), 0);
}

// Save As to another animated cursor keeps the cursor's own rates, and the one cursor follows
// the document to its new name.
TEST_F(AnimationTest, SaveAsAnotherAnimatedCursorKeepsItsRates) {
  cIco& document = IconDocuments.CurrentDocument();
  const auto other = dir_ / "run.ani";
  AnswerFileDialog(other);
  Trigger("MnuFileSaveAs");
  EXPECT_EQ(document.IconPath(), other.string());
  ASSERT_NE(AnimationOf(&document), nullptr);
  EXPECT_EQ(AnimationOf(&document)->Header().DisplayRate, 6);
  EXPECT_EQ(AniDocuments.Count(), 1);
  EXPECT_EQ(Text("LblIco1"), "32x32 true color\n6 jiffies, 100 ms");
  EXPECT_EQ(ReadWholeFile(other.string()), ReadWholeFile(path_.string()));
}

TEST_F(AnimationTest, ExportWritesTheWholeCursorAsAnXcursorFile) {
  const auto out = dir_ / "walk.xcursor";
  AnswerFileDialog(out);
  Trigger("MnuIconExport");
  XcursorImages* read = XcursorFilenameLoadImages(out.c_str(), 32);
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->nimage, 2);
  for (int i = 0; i < 2; ++i) {
    const XcursorImage& image = *read->images[i];
    EXPECT_EQ((std::array<unsigned, 4>{image.xhot, image.yhot, image.delay, image.pixels[33]}),
              (std::array<unsigned, 4>{4, 5, 100, XcursorArgb(frames_[static_cast<std::size_t>(i)], 1, 1)}));
  }
  XcursorImagesDestroy(read);
  EXPECT_EQ(PromptTexts().back(), "Image exported as " + out.string());
}

}  // namespace
}  // namespace brixel
