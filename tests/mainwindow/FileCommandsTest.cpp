#include <QCloseEvent>
#include <QDialog>
#include <QImage>
#include <QScrollBar>
#include <QStatusBar>

#include "EditGrid.h"
#include "IcnsTestFiles.h"
#include "PngCodec.h"
#include "GridView.h"
#include "ImportDialogs.h"
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "QtColour.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);

using FileCommandsTest = test::MainWindowTest;
using Answer = Prompter::Answer;

std::string UnsavedText(const std::string& name) {
  return name + " has been changed, would you like to save it?";
}

Colour SavedPixel(const std::filesystem::path& path, float x, float y) {
  cIco reread;
  EXPECT_TRUE(reread.OpenIcon(path.string()));
  return reread.IconCount() > 0 ? reread.XYColor(0, x, y) : -1;
}

TEST_F(FileCommandsTest, SaveWritesAnOpenedDocumentToItsPathWithoutADialog) {
  const auto path = WriteIcon(dir_ / "plain.ico", {test::FrameImage(16, 24, kWhite)});
  HandOverFile(path);
  cIco& document = IconDocuments.CurrentDocument();
  document.XYColor(0, 2, 3, kRed);
  document.Changed(true);

  Trigger("MnuFileSave");
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{"Icon Saved as " + path.string()}));
  EXPECT_FALSE(document.Changed());
  EXPECT_EQ(SavedPixel(path, 2, 3), kRed);

  // Save As always asks, starting from the document's name; a cancelled dialog saves nothing.
  Trigger("MnuFileSaveAs");
  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs_.fileRequests[0].save);
  EXPECT_EQ(dialogs_.fileRequests[0].fileName.toStdString(), path.string());
  EXPECT_EQ(backEnd_.prompter.shown.size(), 1u);

  // With "Confirm saves with a message" off, the status bar tells instead.
  window_->Options().ConfirmSaves = false;
  document.Changed(true);
  Trigger("MnuFileSave");
  EXPECT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(window_->statusBar()->currentMessage().toStdString(), "Icon Saved as " + path.string());
  EXPECT_FALSE(document.Changed());
}

TEST_F(FileCommandsTest, SavingANewDocumentAsksForTheNameAndTheExtensionPicksTheType) {
  Trigger("MnuFileNew");
  const auto path = dir_ / "pointer.cur";
  AnswerFileDialog(path);
  Trigger("MnuFileSave");
  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_EQ(ReadWholeFile(path.string()).at(2), 2);  // a cursor file
  EXPECT_EQ(Text("LblFileName"), "pointer.cur");

  // Saved under an extension that is no icon's, it still closes.
  Trigger("MnuFileNew");
  AnswerFileDialog(dir_ / "picture.png");
  Trigger("MnuFileSave");
  ASSERT_EQ(IconDocuments.CurrentDocument().IconPath(), (dir_ / "picture.png").string());
  Trigger("MnuFileClose");
  EXPECT_EQ(IconDocuments.Count(), 1);
  EXPECT_EQ(Text("LblCount"), "1 of 1");
}

// Save As an icon file of a macOS icon tells what that file cannot hold; the document keeps
// it, so a save as a macOS icon again writes it back.
TEST_F(FileCommandsTest, SaveAsAnIconFileOfAMacIconSaysWhatItLeavesOut) {
  const auto icns = dir_ / "app.icns";
  test::WriteBytes(icns, test::IcnsOf({{"icp5", EncodePng(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 200))},
                                       {"info", {'b', 'p'}}}));
  HandOverFile(icns);
  const auto ico = dir_ / "app.ico";
  AnswerFileDialog(ico);
  Trigger("MnuFileSaveAs");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{
                               "These entries are not in " + ico.string() + ", as only a macOS icon holds them: 'info'",
                               "Icon Saved as " + ico.string()}));
  const auto again = dir_ / "again.icns";
  AnswerFileDialog(again);
  Trigger("MnuFileSaveAs");
  cIco reread;
  ASSERT_TRUE(reread.ReadIconData(ReadWholeFile(again.string())));
  EXPECT_EQ(reread.IcnsOthers().size(), 1u);
}

TEST_F(FileCommandsTest, ClosingAChangedDocumentAsksAndClosesWhateverTheAnswer) {
  Trigger("MnuFileNew");
  Trigger("MnuFileClose");  // unchanged: no question
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_EQ(Text("LblCount"), "0 of 0");

  Trigger("MnuFileNew");
  IconDocuments.CurrentDocument().Changed(true);
  backEnd_.prompter.answers = {Answer::No};
  Trigger("MnuFileClose");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{UnsavedText("NewIcon")}));
  EXPECT_EQ(Text("LblCount"), "0 of 0");
  EXPECT_EQ(Text("LblFileName"), "No Icon");
  EXPECT_FALSE(Find<QWidget>("PctIco0")->isVisible());
  // The grid is cleared to its background.
  const QImage grid = window_->Grid().View().Rendered();
  EXPECT_EQ(grid.pixel(240, 240), grid.pixel(5, 5));

  // Yes on a document never saved asks for a name; cancelling that dialog keeps the
  // document, as does Cancel (or Esc) on the question itself.
  Trigger("MnuFileNew");
  IconDocuments.CurrentDocument().Changed(true);
  backEnd_.prompter.answers = {Answer::Yes, Answer::Cancel};
  Trigger("MnuFileClose");
  EXPECT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_EQ(IconDocuments.Count(), 1);
  Trigger("MnuFileClose");
  EXPECT_EQ(backEnd_.prompter.shown.back().buttons, Prompter::Buttons::YesNoCancel);
  EXPECT_EQ(IconDocuments.Count(), 1);
  EXPECT_TRUE(IconDocuments.CurrentDocument().Changed());
}

TEST_F(FileCommandsTest, CancelOnTheQuestionStopsTheExitWithEveryDocumentOpen) {
  for (const char* name : {"first.ico", "second.ico"}) {
    HandOverFile(WriteIcon(dir_ / name, {test::FrameImage(16, 24, kWhite)}));
    IconDocuments.CurrentDocument().Changed(true);
  }
  backEnd_.prompter.answers = {Answer::Cancel};
  Trigger("MnuFileExit");
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{UnsavedText("second.ico")}));
  EXPECT_EQ(IconDocuments.Count(), 2);
  EXPECT_EQ(Text("LblFileName"), "second.ico");
}

TEST_F(FileCommandsTest, SavingKeepsTheImageBeingEditedAndTheStripWhereItWas) {
  std::vector<IconImage> images;
  for (int i = 0; i < 8; ++i) images.push_back(test::FrameImage(32, 24, kWhite));
  const auto path = WriteIcon(dir_ / "many.ico", images);
  HandOverFile(path);
  window_->SelectImage(6, true);
  auto* bar = Find<QScrollBar>("scrIcon");
  bar->setValue(bar->maximum());
  const int scrolled = bar->value();
  IconDocuments.CurrentDocument().Changed(true);

  Trigger("MnuFileSave");
  EXPECT_FALSE(IconDocuments.CurrentDocument().Changed());
  EXPECT_EQ(window_->CurrentImage(), 6);
  EXPECT_EQ(bar->value(), scrolled);
  EXPECT_GT(scrolled, 0);

  AnswerFileDialog(dir_ / "renamed.cur");
  Trigger("MnuFileSaveAs");
  EXPECT_EQ(window_->CurrentImage(), 6);
  EXPECT_EQ(Text("LblFileName"), "renamed.cur");
}

TEST_F(FileCommandsTest, AFailedSaveSaysWhyAndNamesTheFile) {
  Trigger("MnuFileNew");
  IconDocuments.CurrentDocument().Changed(true);
  const auto path = dir_ / "no such folder" / "lost.ico";
  AnswerFileDialog(path);
  Trigger("MnuFileSave");
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Unable to save file");
  EXPECT_EQ(backEnd_.prompter.shown[0].text, path.string() + " could not be saved: File not found.");
  EXPECT_NE(backEnd_.prompter.shown[0].details.find("Error Number: 53"), std::string::npos);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_TRUE(IconDocuments.CurrentDocument().Changed());
}

TEST_F(FileCommandsTest, YesOnCloseSavesToTheDocumentsOwnFolder) {
  std::filesystem::create_directory(dir_ / "elsewhere");
  const auto path = WriteIcon(dir_ / "elsewhere" / "far.ico", {test::FrameImage(16, 24, kWhite)});
  ASSERT_FALSE(std::filesystem::exists("far.ico"));  // not in the current folder
  HandOverFile(path);
  IconDocuments.CurrentDocument().XYColor(0, 1, 1, kRed);
  IconDocuments.CurrentDocument().Changed(true);

  backEnd_.prompter.answers = {Answer::Yes};
  Trigger("MnuFileClose");
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{UnsavedText("far.ico"),
                                                     "Icon Saved as " + path.string()}));
  EXPECT_EQ(SavedPixel(path, 1, 1), kRed);
  EXPECT_EQ(IconDocuments.Count(), 0);
}

TEST_F(FileCommandsTest, ClosingTheWindowAsksForEveryChangedDocumentLastFirst) {
  for (const char* name : {"first.ico", "second.ico"}) {
    HandOverFile(WriteIcon(dir_ / name, {test::FrameImage(16, 24, kWhite)}));
    IconDocuments.CurrentDocument().Changed(true);
  }
  Trigger("MnuFileNew");  // unchanged, closed without a question
  window_->Options().Grid = false;
  backEnd_.prompter.answers = {Answer::No, Answer::No};

  Trigger("MnuFileExit");
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(PromptTexts(),
            (std::vector<std::string>{UnsavedText("second.ico"), UnsavedText("first.ico")}));
  EXPECT_EQ(IconDocuments.Count(), 0);

  // The options were saved on the way out.
  Settings stored;
  LoadSettings(stored);
  EXPECT_FALSE(stored.Grid);
}

TEST_F(FileCommandsTest, AFileThatDoesNotOpenIsOfferedForImport) {
  const auto path = dir_ / "photo.bmp";
  QImage photo(8, 8, QImage::Format_RGB32);
  photo.fill(Qt::red);
  ASSERT_TRUE(photo.save(QString::fromStdString(path.string())));
  AnswerFileDialog(path);
  const std::string offer = path.string() +
                            " is not an icon, cursor or animated cursor file.\r\n"
                            "Do you want to try importing it?";

  backEnd_.prompter.answers = {Answer::No};
  Trigger("MnuFileOpen");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{offer}));
  EXPECT_EQ(IconDocuments.Count(), 0);

  // Yes: a new document, and the import dialog showing the picture already loaded; closing
  // that dialog without importing leaves no empty document behind.
  backEnd_.prompter.answers = {Answer::Yes};
  bool loaded = false;
  int documentsMeanwhile = 0;
  test::OnNextDialog([&](QDialog& dialog) {
    loaded = dialog.findChild<QWidget*>("PctImport")->isVisible();
    documentsMeanwhile = IconDocuments.Count();
  });
  Trigger("MnuFileOpen");
  EXPECT_TRUE(loaded);
  EXPECT_EQ(documentsMeanwhile, 1);
  EXPECT_EQ(backEnd_.prompter.shown.size(), 2u);
  EXPECT_EQ(IconDocuments.Count(), 0);
  EXPECT_EQ(Text("LblCount"), "0 of 0");

  // A cancelled dialog does nothing at all.
  dialogs_.file = nullptr;
  Trigger("MnuFileOpen");
  EXPECT_EQ(backEnd_.prompter.shown.size(), 2u);
  EXPECT_EQ(IconDocuments.Count(), 0);
}

// What is no icon is said in one plain message naming the file; the reader's report is
// behind its Details button instead of in the error form.
TEST_F(FileCommandsTest, FilesThatAreNoIconsAreToldInPlainWords) {
  QImage png(4, 4, QImage::Format_ARGB32);
  png.fill(Qt::blue);
  const auto renamed = dir_ / "renamed.ico";
  ASSERT_TRUE(png.save(QString::fromStdString(renamed.string()), "PNG"));
  test::WriteBytes(dir_ / "empty.ico", {});
  const std::string text = "just some words\n";
  test::WriteBytes(dir_ / "text.cur", Bytes(text.begin(), text.end()));

  for (const auto& path : {renamed, dir_ / "empty.ico", dir_ / "text.cur"}) {
    backEnd_.prompter.shown.clear();
    backEnd_.prompter.answers = {Answer::No};
    AnswerFileDialog(path);
    Trigger("MnuFileOpen");
    ASSERT_EQ(backEnd_.prompter.shown.size(), 1u) << path;
    EXPECT_EQ(backEnd_.prompter.shown[0].title, "Unable to open file");
    EXPECT_EQ(backEnd_.prompter.shown[0].text.rfind(path.string() +
                                                    " is not an icon, cursor or animated cursor file.", 0),
              0u)
        << backEnd_.prompter.shown[0].text;
    EXPECT_TRUE(backEnd_.reporter.reports.empty()) << path;
  }
  EXPECT_EQ(IconDocuments.Count(), 0);

  // A macOS icon or a Linux cursor cut short is damaged, not of another kind: the reason shows.
  const Bytes icnsHeader = {'i', 'c', 'n', 's', 0, 0, 0x90, 0x8A, 'i', 'c', 'p', '4'};
  const Bytes xcursorStart = {'X', 'c', 'u', 'r', 16, 0, 0, 0, 0, 0, 1, 0, 200, 0, 0, 0};
  for (const auto& [name, bytes] : {std::pair<std::string, Bytes>{"cut.icns", icnsHeader}, {"cut", xcursorStart}}) {
    backEnd_.prompter.shown.clear();
    test::WriteBytes(dir_ / name, bytes);
    AnswerFileDialog(dir_ / name);
    Trigger("MnuFileOpen");
    ASSERT_EQ(backEnd_.prompter.shown.size(), 1u) << name;
    EXPECT_EQ(backEnd_.prompter.shown[0].text.rfind((dir_ / name).string() + " could not be opened: ", 0), 0u)
        << backEnd_.prompter.shown[0].text;
    EXPECT_EQ(IconDocuments.Count(), 0);
  }
}

}  // namespace
}  // namespace brixel
