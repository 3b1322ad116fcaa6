// Opening a Windows program or library: the group chooser and the new untitled document it
// gives, the program file never written.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "AniFile.h"
#include "AnimatedCursors.h"
#include "FrmProgramGroups.h"
#include "MainWindowFixture.h"
#include "ProgramFileBuilder.h"

namespace brixel {
namespace {

using test::BuiltId;
using test::BuiltResource;

class ProgramGroupsTest : public test::MainWindowTest {
 protected:
  ProgramGroupsTest() {
    std::vector<BuiltResource> resources = test::ResourcesOfIconFile(icon_, BuiltId(u"APP"), 1, 1033);
    const std::vector<BuiltResource> cursor = test::ResourcesOfIconFile(cursor_, BuiltId(32512), 10);
    resources.insert(resources.end(), cursor.begin(), cursor.end());
    AniInfo info;
    info.Header.DisplayRate = 6;
    animated_ = BuildAniFile({test::FrameImage(32, 8, kBlack), test::FrameImage(32, 8, kWhite)}, info);
    resources.push_back({BuiltId(21), BuiltId(u"BUSY"), 0, animated_});
    program_ = (dir_ / "library.dll").string();
    test::WriteBytes(program_, test::BuildPeFile(resources, false));
    original_ = ReadWholeFile(program_);
  }

  // Opens the program through File > Open; once the chooser shows, act runs on it.
  void OpenProgram(std::function<void(FrmProgramGroups&)> act) {
    QTimer::singleShot(0, [act] {
      auto* dialog = qobject_cast<FrmProgramGroups*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      act(*dialog);
    });
    AnswerFileDialog(program_);
    Trigger("MnuFileOpen");
  }

  static void Pick(FrmProgramGroups& dialog, const QString& name) {
    auto* list = dialog.findChild<QTreeWidget*>("LstGroups");
    const QList<QTreeWidgetItem*> rows = list->findItems(name, Qt::MatchExactly, 0);
    ASSERT_EQ(rows.size(), 1);
    list->setCurrentItem(rows[0]);
  }

  const Bytes icon_ = BuildIconFile({test::FrameImage(16, 4, kWhite), test::FrameImage(32, 24, kBlack)}, 1);
  const Bytes cursor_ = BuildIconFile({test::FrameImage(32, 1, kBlack, 5, 6)}, 2);
  Bytes animated_;
  std::string program_;
  Bytes original_;
};

TEST_F(ProgramGroupsTest, TheChooserListsEveryGroupAndPreviewsTheSelectedOne) {
  std::vector<QStringList> rows;
  bool previewShown = false;
  bool cursorShown = false;
  OpenProgram([&](FrmProgramGroups& dialog) {
    auto* list = dialog.findChild<QTreeWidget*>("LstGroups");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QStringList row;
      for (int column = 0; column < 4; ++column) row << list->topLevelItem(i)->text(column);
      rows.push_back(row);
    }
    // The program's own icon comes selected, and shows its two images side by side.
    auto* preview = dialog.findChild<QLabel*>("PicPreview");
    previewShown = list->currentItem()->text(0) == "APP" && preview->pixmap().width() == 16 + 8 + 32 &&
                   preview->pixmap().height() == 32;
    Pick(dialog, "32512");
    cursorShown = preview->pixmap().width() == 32;
    dialog.findChild<QPushButton*>("CmdCancel")->click();
  });
  EXPECT_EQ(rows, (std::vector<QStringList>{{"32512", "0", "cursor", "32x32 1 bit"},
                                            {"APP", "1033", "icon", "16x16 4 bit, 32x32 24 bit"},
                                            {"BUSY", "0", "animated cursor", ""}}));
  EXPECT_TRUE(previewShown);
  EXPECT_TRUE(cursorShown);
  // Cancel opens nothing and says nothing.
  EXPECT_EQ(IconDocuments.Count(), 0);
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(ProgramGroupsTest, TheChosenGroupOpensAsANewDocumentThatSaveAsksANameFor) {
  const std::string proposed = (dir_ / "library-32512.cur").string();
  OpenProgram([](FrmProgramGroups& dialog) {
    Pick(dialog, "32512");
    dialog.findChild<QPushButton*>("CmdOK")->click();
  });
  ASSERT_EQ(IconDocuments.Count(), 1);
  cIco& document = IconDocuments.CurrentDocument();
  EXPECT_EQ(document.IconPath(), proposed);
  EXPECT_FALSE(document.Changed());
  cIco expected;
  ASSERT_TRUE(expected.ReadIconData(cursor_));
  EXPECT_EQ(document.Images(), expected.Images());
  EXPECT_EQ(Text("LblCount"), "1 of 1");

  // Save asks for a name, starting from the one proposed; the program stays as it was.
  const auto saved = dir_ / "pointer.cur";
  AnswerFileDialog(saved);
  Trigger("MnuFileSave");
  ASSERT_EQ(dialogs_.fileRequests.size(), 2u);
  EXPECT_TRUE(dialogs_.fileRequests[1].save);
  EXPECT_EQ(dialogs_.fileRequests[1].fileName.toStdString(), proposed);
  EXPECT_FALSE(std::filesystem::exists(proposed));
  EXPECT_EQ(ReadWholeFile(saved.string()), cursor_);
  EXPECT_EQ(ReadWholeFile(program_), original_);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ProgramGroupsTest, AnAnimatedCursorOpensWithItsTimelineAndADoubleClickTakesIt) {
  OpenProgram([](FrmProgramGroups& dialog) {
    auto* list = dialog.findChild<QTreeWidget*>("LstGroups");
    Pick(dialog, "BUSY");
    emit list->itemDoubleClicked(list->currentItem(), 0);
  });
  ASSERT_EQ(IconDocuments.Count(), 1);
  ASSERT_EQ(AniDocuments.Count(), 1);
  const cAni* cursor = AnimationOf(&IconDocuments.CurrentDocument());
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->IconPath(), (dir_ / "library-BUSY.ani").string());
  EXPECT_EQ(cursor->Header().DisplayRate, 6);
  EXPECT_EQ(IconDocuments.CurrentDocument().IconCount(), 2);

  const auto saved = dir_ / "busy.ani";
  AnswerFileDialog(saved);
  Trigger("MnuFileSave");
  EXPECT_EQ(ReadWholeFile(saved.string()), animated_);
  EXPECT_EQ(ReadWholeFile(program_), original_);
}

TEST_F(ProgramGroupsTest, AProgramThatCannotBeReadOrHoldsNoGroupIsToldByName) {
  Bytes file = original_;
  test::builder::SetWord(file, test::kBuiltSectionOffset + 14, 0xfff0);
  test::WriteBytes(program_, file);
  AnswerFileDialog(program_);
  Trigger("MnuFileOpen");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{program_ + " could not be opened: a resource directory runs "
                                                                "past the end of the file."}));

  test::WriteBytes(program_, test::BuildPeFile({{BuiltId(6), BuiltId(1), 0, Bytes(8, 0)}}, true));
  AnswerFileDialog(program_);
  Trigger("MnuFileOpen");
  ASSERT_EQ(PromptTexts().size(), 2u);
  EXPECT_EQ(PromptTexts()[1], program_ + " holds no icons or cursors.");
  EXPECT_EQ(IconDocuments.Count(), 0);
}

}  // namespace
}  // namespace brixel
