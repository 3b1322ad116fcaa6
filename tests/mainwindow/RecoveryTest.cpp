#include <QScrollBar>
#include <filesystem>

#include "GridEditor.h"
#include "MainWindowFixture.h"
#include "RecoveryFile.h"
#include "RecoveryKeeper.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using Answer = Prompter::Answer;
using Clock = RecoveryKeeper::Clock;

// The bytes of a recovery file of the document, as the editor writes them.
Bytes CopyOf(const cIco& document, const cAni* cursor, int currentImage) {
  return EncodeRecovery(MakeRecoveryRecord(TakeRecoverySnapshot(document, cursor, currentImage)));
}

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);

class RecoveryTest : public test::MainWindowTest {
 protected:
  RecoveryKeeper& Keeper() { return window_->Recovery(); }
  // The keeper's checks as the seconds pass, without waiting for them.
  void CheckAt(double seconds) {
    Keeper().Update(start_ + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(seconds)));
    Keeper().WaitForWrites();
  }
  static std::vector<fs::path> Copies() {
    std::vector<fs::path> copies;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(RecoveryHome(), error)) {
      if (entry.path().extension() == ".recovery") copies.push_back(entry.path());
    }
    return copies;
  }
  static RecoveryRecord OnlyCopy() {
    const auto copies = Copies();
    EXPECT_EQ(copies.size(), 1u);
    return copies.empty() ? RecoveryRecord{} : DecodeRecovery(ReadWholeFile(copies[0].string()));
  }
  fs::path OpenChanged(const char* name) {
    const fs::path path = WriteIcon(dir_ / name, {test::FrameImage(16, 24, kBlue),
                                                  test::FrameImage(32, 24, kBlue)});
    HandOverFile(path);
    IconDocuments.CurrentDocument().XYColor(1, 5, 5, kRed);
    IconDocuments.CurrentDocument().Changed(true);
    return path;
  }
  // What an editor that was killed leaves behind: its copies, and its lock no longer held.
  static std::vector<fs::path> LeaveCopies(const std::vector<Bytes>& copies) {
    RecoveryFolder crashed(RecoveryHome());
    std::vector<fs::path> files;
    for (std::size_t i = 0; i < copies.size(); ++i) {
      crashed.Write(i + 1, copies[i]);
      files.push_back(crashed.FileFor(i + 1));
    }
    return files;
  }

  Clock::time_point start_ = Clock::now();
};

TEST_F(RecoveryTest, AChangedDocumentIsCopiedOnceItRestsAndNeverInTheMiddleOfAStroke) {
  const fs::path path = OpenChanged("kept.ico");
  window_->SelectImage(1, true);
  CheckAt(0);
  CheckAt(1);
  EXPECT_TRUE(Copies().empty()) << "too soon after the edit";
  CheckAt(2.5);
  RecoveryRecord record = OnlyCopy();
  EXPECT_EQ(record.path, path.string());
  EXPECT_EQ(record.currentImage, 1);
  cIco copy;
  ASSERT_TRUE(copy.ReadIconData(record.file));
  EXPECT_EQ(copy.XYColor(1, 5, 5), kRed);

  // A press on the grid starts an edit: nothing is written until its release.
  const std::vector<IconImage> beforeStroke = IconDocuments.CurrentDocument().Images();
  window_->Editor().Press(1, 2, 2);
  ASSERT_NE(IconDocuments.CurrentDocument().Images(), beforeStroke);
  CheckAt(5);
  CheckAt(9);
  cIco during;
  ASSERT_TRUE(during.ReadIconData(OnlyCopy().file));
  EXPECT_EQ(during.Images(), beforeStroke);
  window_->Editor().Release(1, 2, 2);
  CheckAt(10);
  CheckAt(12.5);
  cIco after;
  ASSERT_TRUE(after.ReadIconData(OnlyCopy().file));
  EXPECT_EQ(after.Images(), IconDocuments.CurrentDocument().Images());
}

TEST_F(RecoveryTest, SavingOrClosingWithoutSavingRemovesTheCopy) {
  OpenChanged("saved.ico");
  CheckAt(0);
  CheckAt(3);
  ASSERT_EQ(Copies().size(), 1u);
  Trigger("MnuFileSave");
  Keeper().WaitForWrites();
  EXPECT_TRUE(Copies().empty());

  OpenChanged("dropped.ico");
  CheckAt(4);
  CheckAt(7);
  ASSERT_EQ(Copies().size(), 1u);
  backEnd_.prompter.answers = {Answer::No};
  Trigger("MnuFileClose");
  Keeper().WaitForWrites();
  EXPECT_TRUE(Copies().empty());
}

TEST_F(RecoveryTest, DocumentsLeftByAKilledEditorComeBackChangedUnderTheirOwnPaths) {
  cIco left;
  left.AppendImage(test::FrameImage(16, 24, kBlue));
  left.AppendImage(test::FrameImage(32, 24, kBlue));
  left.XYColor(1, 4, 4, kRed);
  left.IconPath((dir_ / "mine.ico").string());
  cIco unsaved;
  unsaved.AppendImage(test::FrameImage(16, 8, kRed, 2, 3));
  const auto leftFiles = LeaveCopies({CopyOf(unsaved, nullptr, 0),
                                      CopyOf(left, nullptr, 1)});

  backEnd_.prompter.answers = {Answer::Yes};
  window_->OfferRecovery();
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].text,
            "Brixel did not close properly. Recover 2 unsaved documents?");
  ASSERT_EQ(IconDocuments.Count(), 2);
  const cIco& shown = IconDocuments.CurrentDocument();
  EXPECT_EQ(shown.IconPath(), (dir_ / "mine.ico").string());
  EXPECT_TRUE(shown.Changed());
  EXPECT_EQ(shown.Images(), left.Images());
  EXPECT_EQ(window_->CurrentImage(), 1);
  EXPECT_EQ(Text("LblFileName"), "mine.ico");
  EXPECT_TRUE(IconDocuments.Items[0]->IconPath().empty());
  EXPECT_TRUE(IconDocuments.Items[0]->Changed());

  // Now this editor's copies, and no others: a later start offers nothing more.
  EXPECT_EQ(Copies().size(), 2u);
  for (const fs::path& file : leftFiles) EXPECT_FALSE(fs::exists(file)) << file;
  backEnd_.prompter.shown.clear();
  window_->OfferRecovery();
  EXPECT_TRUE(backEnd_.prompter.shown.empty());

  // Saving writes where the user meant to.
  Trigger("MnuFileSave");
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  cIco saved;
  ASSERT_TRUE(saved.OpenIcon((dir_ / "mine.ico").string()));
  EXPECT_EQ(saved.XYColor(1, 4, 4), kRed);
}

TEST_F(RecoveryTest, ACopyThatDoesNotReadIsSetAsideAndADeclinedOneGoes) {
  cIco left;
  left.AppendImage(test::FrameImage(16, 24, kBlue));
  Bytes damaged = CopyOf(left, nullptr, 0);
  damaged.resize(damaged.size() - 200);  // the icon file cut short
  LeaveCopies({damaged, CopyOf(left, nullptr, 0)});

  backEnd_.prompter.answers = {Answer::Yes};
  window_->OfferRecovery();
  EXPECT_EQ(IconDocuments.Count(), 1);
  ASSERT_EQ(backEnd_.prompter.shown.size(), 2u);
  EXPECT_EQ(backEnd_.prompter.shown[1].text.rfind("A recovery file does not read. It is kept as ", 0), 0u);
  EXPECT_FALSE(backEnd_.prompter.shown[1].details.empty());
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  std::vector<fs::path> aside;
  for (const auto& entry : fs::directory_iterator(RecoveryHome())) {
    if (entry.path().extension() == ".unreadable") aside.push_back(entry.path());
  }
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadWholeFile(aside[0].string()), damaged);

  // Esc (Cancel) puts the question off: the copies stay and the next start asks again.
  IconDocuments.CurrentDocument().Changed(false);
  Keeper().Update();
  Keeper().WaitForWrites();
  const auto putOff = LeaveCopies({CopyOf(left, nullptr, 0)});
  backEnd_.prompter.answers = {Answer::Cancel};
  window_->OfferRecovery();
  EXPECT_EQ(backEnd_.prompter.shown.back().buttons, Prompter::Buttons::YesNoCancel);
  EXPECT_EQ(IconDocuments.Count(), 1);
  EXPECT_TRUE(fs::exists(putOff[0]));
  backEnd_.prompter.shown.clear();
  backEnd_.prompter.answers = {Answer::No};
  window_->OfferRecovery();
  EXPECT_EQ(backEnd_.prompter.shown.size(), 1u) << "asked again";
  EXPECT_FALSE(fs::exists(putOff[0]));

  // Declined, the copies go.
  IconDocuments.CurrentDocument().Changed(false);
  Keeper().Update();
  Keeper().WaitForWrites();
  LeaveCopies({CopyOf(left, nullptr, 0)});
  backEnd_.prompter.answers = {Answer::No};
  window_->OfferRecovery();
  EXPECT_EQ(IconDocuments.Count(), 1);
  EXPECT_TRUE(Copies().empty());
}

}  // namespace
}  // namespace brixel
