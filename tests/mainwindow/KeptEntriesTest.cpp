// Entries kept as their file holds them in the window: a placeholder in the strip, never the
// image being edited, deleted on request, written back by a save and left out of an export.

#include <QTest>

#include "ByteOrder.h"
#include "KeptEntryFiles.h"
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "QtColour.h"
#include "XcursorFile.h"

namespace brixel {
namespace {

class KeptEntriesTest : public test::MainWindowTest {
 protected:
  void SetUp() override {
    test::WriteBytes(path_, test::IconWithDamagedPng());
    HandOverFile(path_);
    ASSERT_EQ(IconDocuments.Count(), 1);
  }
  cIco& Document() { return IconDocuments.CurrentDocument(); }
  void Click(int index) {
    QTest::mouseClick(Find<PictureBox>(QString("PctIco%1").arg(index)), Qt::LeftButton, {}, QPoint(2, 2));
    QApplication::processEvents();  // the question comes once the press is over
  }
  // The block of entry index of the file at path.
  static Bytes Block(const std::filesystem::path& path, std::size_t index) {
    const Bytes file = ReadWholeFile(path.string());
    const std::size_t at = 6 + 16 * index;
    const std::uint32_t size = GetLength(file, at + 8), offset = GetLength(file, at + 12);
    return Bytes(file.begin() + offset, file.begin() + offset + size);
  }

  const std::filesystem::path path_ = dir_ / "eighteen.ico";
  const int kept_ = static_cast<int>(test::kDamagedEntry);
};

TEST_F(KeptEntriesTest, TheStripShowsAPlaceholderThatCannotBeEditedAndASaveWritesItBack) {
  ASSERT_EQ(Document().IconCount(), 18);
  EXPECT_EQ(Text(QString("LblIco%1").arg(kept_)), "256x256 damaged PNG\n(kept as it is)");
  PictureBox* placeholder = Find<PictureBox>(QString("PctIco%1").arg(kept_));
  // Scaled into the strip's width as every picture there is, square as its entry.
  EXPECT_LT(placeholder->Surface().PixelWidth(), 256);
  EXPECT_GT(placeholder->Surface().PixelWidth(), 100);
  EXPECT_EQ(placeholder->Surface().PixelHeight(), placeholder->Surface().PixelWidth());
  EXPECT_EQ(placeholder->Surface().Point(0, 0), MakeColour(128, 128, 128));
  EXPECT_EQ(Text("LblIco0"), "16x16 16 color");
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_TRUE(backEnd_.reporter.reports.empty());

  // Clicked, it says why it cannot be edited; No leaves everything as it was.
  window_->SelectImage(3, true);
  Click(kept_);
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Image kept as it is");
  EXPECT_NE(backEnd_.prompter.shown[0].text.find("cannot be shown or edited: damaged PNG"), std::string::npos);
  EXPECT_EQ(window_->CurrentImage(), 3);
  EXPECT_EQ(Document().IconCount(), 18);
  EXPECT_FALSE(Document().Changed());

  // A save writes it back unchanged at its place.
  Trigger("MnuFileSave");
  EXPECT_EQ(Block(path_, test::kDamagedEntry), test::DamagedPng());
  EXPECT_EQ(ReadWholeFile(path_.string())[4], 18);

  // Yes deletes it; the image being edited stays the same one.
  window_->SelectImage(14, true);
  backEnd_.prompter.answers = {Prompter::Answer::Yes};
  Click(kept_);
  ASSERT_EQ(Document().IconCount(), 17);
  EXPECT_TRUE(std::none_of(Document().Images().begin(), Document().Images().end(),
                           [](const IconImage& image) { return image.IsKept(); }));
  EXPECT_EQ(window_->CurrentImage(), 13);  // the same image, one place up
  EXPECT_TRUE(Document().Changed());
}

TEST_F(KeptEntriesTest, ListsStartAtAnImageThatCanBeShownAndTheLastOfThemIsNotDeleted) {
  // A file whose first entry is kept shows its second one.
  std::vector<test::HandEntry> entries = {{test::DamagedPng(32), {32, 32, 0, 0, 1, 0, 32, 0}},
                                          test::EntryOf(test::PatternImage(16, 8, 1))};
  const auto path = dir_ / "two.ico";
  test::WriteBytes(path, test::HandIconFile(entries));
  HandOverFile(path);
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(window_->CurrentImage(), 1);
  Trigger("MnuIconDelete");
  EXPECT_EQ(PromptTexts().back(), "This is the last image in the icon, you cannot delete it.");
  EXPECT_EQ(Document().IconCount(), 2);
}

TEST_F(KeptEntriesTest, ExportRefusesOtherEndingsAndAnXcursorFileLeavesTheKeptEntryOut) {
  const auto text = dir_ / "image.txt";
  AnswerFileDialog(text);
  Trigger("MnuIconExport");
  EXPECT_EQ(backEnd_.prompter.shown.back().title, "Unable to export");
  EXPECT_NE(backEnd_.prompter.shown.back().text.find(".bmp, .ico, .cur, .png or .xcursor"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(text));

  const auto xcursor = dir_ / "eighteen.xcursor";
  AnswerFileDialog(xcursor);
  Trigger("MnuIconExport");
  EXPECT_NE(PromptTexts().at(PromptTexts().size() - 2).find("1 image is kept as the file holds them"), std::string::npos);
  EXPECT_EQ(PromptTexts().back(), "Image exported as " + xcursor.string());
  EXPECT_EQ(GetLength(ReadWholeFile(xcursor.string()), 12), 17u);  // the Xcursor file's image count
}

}  // namespace
}  // namespace brixel
