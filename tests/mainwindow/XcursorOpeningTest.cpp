// Linux cursors (Xcursor files) opened in the window: an animated one as an animated cursor,
// a still one as a cursor of its sizes; Save asks for the Windows file's name and never
// writes the Linux cursor.

#include "AnimatedCursors.h"
#include "CurrentDocument.h"
#include "MainWindowFixture.h"
#include "XcursorTestFiles.h"
#include "cAni.h"

namespace brixel {
namespace {

using namespace test;

class XcursorOpeningTest : public MainWindowTest {
 protected:
  // The next file dialog picks path; the names it offered are kept.
  void AnswerSaveDialog(const std::filesystem::path& path) {
    dialogs_.file = [this, path](const FileDialogRequest& request, FileDialogAnswer& answer) {
      offered_.push_back(request.fileName.toStdString());
      answer.files = {QString::fromStdString(path.string())};
      answer.selectedFilter = 0;
      return DialogResult::Accepted();
    };
  }

  std::vector<std::string> offered_;
};

TEST_F(XcursorOpeningTest, AnAnimatedLinuxCursorOpensAsAnAnimatedCursorAndSaveAsksForAName) {
  std::vector<RawXcursorImage> steps;
  for (std::uint32_t step = 0; step < 4; ++step) {
    steps.push_back(PatternXcursorImage(32, 32, 32, step, 50));
    steps.push_back(PatternXcursorImage(24, 24, 24, 9 + step, 50));
  }
  const auto linux = dir_ / "watch";
  const Bytes file = RawXcursorFile(steps);
  WriteBytes(linux, file);
  HandOverFile(linux);
  ASSERT_TRUE(backEnd_.reporter.reports.empty());
  ASSERT_EQ(IconDocuments.Count(), 1);
  cIco& document = IconDocuments.CurrentDocument();
  EXPECT_EQ(document.IconPath(), (dir_ / "watch.ani").string());
  EXPECT_TRUE(IsCursorDocument(&document));
  EXPECT_FALSE(document.Changed());
  ASSERT_NE(AnimationOf(&document), nullptr);
  EXPECT_EQ(AnimationOf(&document)->FrameSizes(), (std::vector<std::size_t>{2, 2, 2, 2}));
  EXPECT_EQ(Text("LblFileName"), "watch.ani");

  const auto saved = dir_ / "mine.ani";
  AnswerSaveDialog(saved);
  Trigger("MnuFileSave");
  ASSERT_EQ(offered_.size(), 1u);
  EXPECT_NE(offered_[0].find("watch.ani"), std::string::npos) << offered_[0];
  EXPECT_EQ(ReadWholeFile(linux.string()), file);
  cAni written;
  ASSERT_TRUE(written.ReadAniData(ReadWholeFile(saved.string())));
  EXPECT_EQ(written.Steps(), (std::vector<AniStep>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(written.Images(), document.Images());

  // Saved once, the document's file is its own.
  Trigger("MnuFileSave");
  EXPECT_EQ(offered_.size(), 1u);
}

TEST_F(XcursorOpeningTest, AStillLinuxCursorOpensAsACursorOfItsSizes) {
  const auto linux = dir_ / "left_ptr";
  WriteBytes(linux, RawXcursorFile({PatternXcursorImage(32, 32, 32, 1), PatternXcursorImage(48, 48, 48, 2)}));
  HandOverFile(linux);
  ASSERT_EQ(IconDocuments.Count(), 1);
  cIco& document = IconDocuments.CurrentDocument();
  EXPECT_EQ(document.IconPath(), (dir_ / "left_ptr.cur").string());
  EXPECT_EQ(AnimationOf(&document), nullptr);
  ASSERT_EQ(document.IconCount(), 2);
  EXPECT_EQ(document.Image(1).Width, 48);
  EXPECT_EQ(document.Image(1).xHotSpot, 24);

  document.Changed(true);
  AnswerSaveDialog(dir_ / "arrow.cur");
  Trigger("MnuFileSave");
  EXPECT_EQ(offered_.size(), 1u);
  cIco written;
  ASSERT_TRUE(written.ReadIconData(ReadWholeFile((dir_ / "arrow.cur").string())));
  EXPECT_EQ(written.Images(), document.Images());
}

TEST_F(XcursorOpeningTest, ADamagedLinuxCursorIsRefusedSayingWhy) {
  Bytes file = RawXcursorFile({PatternXcursorImage(32, 32, 32, 1)});
  file.resize(file.size() - 4);
  const auto linux = dir_ / "cut";
  WriteBytes(linux, file);
  HandOverFile(linux);
  EXPECT_EQ(IconDocuments.Count(), 0);
  EXPECT_EQ(AniDocuments.Count(), 0);
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Unable to open file");
  EXPECT_NE(backEnd_.prompter.shown[0].details.find("its pixels run past the end of the file"), std::string::npos)
      << backEnd_.prompter.shown[0].details;
}

}  // namespace
}  // namespace brixel
