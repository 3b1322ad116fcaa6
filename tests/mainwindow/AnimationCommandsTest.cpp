// Add, Delete, Copy and Import on animated cursors keep their timeline: the saved cursor plays
// the frames it played before, at the same rates, plus or minus the frame edited. gdk-pixbuf
// plays the cursors saved before and after each command, as a reader of its own.

#include <QComboBox>
#include <QImage>
#include <cmath>
#include <optional>

#include "AnimatedCursors.h"
#include "ByteOrder.h"
#include "ImportDialogs.h"
#include "MainWindowFixture.h"
#include "cAni.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// One step as gdk-pixbuf shows it: the picture's size, its delay and its RGBA pixels.
struct GdkStep {
  int width = 0, height = 0, delay = 0;
  Bytes pixels;
  friend bool operator==(const GdkStep&, const GdkStep&) = default;
};

// The first count steps gdk-pixbuf plays; nullopt when it is not installed, empty when it
// cannot read the file.
std::optional<std::vector<GdkStep>> GdkSteps(const fs::path& file, std::size_t count, const fs::path& out) {
  const int status = test::RunCommand("/usr/bin/python3 " + test::ShellQuote(BRIXEL_ANI_ORACLE) + " " +
                                      test::ShellQuote(file.string()) + " " + std::to_string(count) + " " +
                                      test::ShellQuote(out.string()) + " 2>/dev/null");
  if (status == 2) return std::nullopt;
  std::vector<GdkStep> steps;
  if (status != 0) return steps;
  const Bytes bytes = ReadWholeFile(out.string());
  for (std::size_t at = 0; at + 12 <= bytes.size();) {
    GdkStep step{static_cast<int>(GetLength(bytes, at)), static_cast<int>(GetLength(bytes, at + 4)),
                 static_cast<int>(GetLength(bytes, at + 8)), {}};
    at += 12;
    const std::size_t size = 4 * static_cast<std::size_t>(step.width) * static_cast<std::size_t>(step.height);
    step.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
    steps.push_back(std::move(step));
  }
  return steps;
}

enum class Command { Add, Delete, Copy, Import };

class AnimationCommandsTest : public test::MainWindowTest {
 protected:
  // Opens the sample, saves it unedited as before.ani, runs the command and saves after.ani;
  // false when the samples are not there.
  bool Edit(const char* sample, Command command) {
    const fs::path samples = test::SamplesDir();
    if (samples.empty() || !fs::exists(samples / sample)) return false;
    const fs::path copy = dir_ / sample;
    test::WriteBytes(copy, ReadWholeFile((samples / sample).string()));
    HandOverFile(copy);
    cIco& document = IconDocuments.CurrentDocument();
    EXPECT_NE(AnimationOf(&document), nullptr);
    SaveAs(before_);
    const cAni& cursor = *AnimationOf(&document);
    steps_ = cursor.Steps();
    sizes_ = cursor.FrameSizes();
    rate_ = cursor.Header().DisplayRate;
    switch (command) {
      case Command::Add:
        Trigger("MnuIconAdd");
        break;
      case Command::Delete:
        window_->SelectImage(0, true);
        backEnd_.prompter.answers = {Prompter::Answer::Yes};
        Trigger("MnuIconDelete");
        break;
      case Command::Copy:
        window_->SelectImage(0, true);
        test::OnNextDialog([](QDialog& dialog) {
          dialog.findChild<QComboBox*>("cboSize")->setCurrentIndex(3);  // 48 x 48
          dialog.findChild<QPushButton*>("CmdOK")->click();
        });
        Trigger("MnuIconCopy");
        break;
      case Command::Import: {
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(qRgb(20, 200, 40));
        const fs::path path = dir_ / "picture.png";
        EXPECT_TRUE(picture.save(QString::fromStdString(path.string())));
        AnswerFileDialog(path);
        test::OnNextDialog([](QDialog& dialog) {
          auto* toolbar = dialog.findChild<kzrToolBar*>("TBImport");
          for (const QString key : {"Open", "Import"}) {
            for (int i = 0; i < toolbar->ButtonCount(); ++i) {
              if (toolbar->ButtonKey(i) == key) QTest::mouseClick(toolbar, Qt::LeftButton, {}, toolbar->ButtonCell(i).center());
            }
          }
        });
        Trigger("MnuToolsImport");
        break;
      }
    }
    SaveAs(after_);
    EXPECT_TRUE(backEnd_.reporter.reports.empty()) << backEnd_.reporter.reports.front();
    return true;
  }

  void SaveAs(const fs::path& path) {
    AnswerFileDialog(path);
    Trigger("MnuFileSaveAs");
    ASSERT_EQ(IconDocuments.CurrentDocument().IconPath(), path.string());
  }

  cAni Reread(const fs::path& path) {
    cAni cursor;
    EXPECT_TRUE(cursor.ReadAniData(ReadWholeFile(path.string())));
    return cursor;
  }

  // With a frame added: the steps of before, then one of the new frame at the default rate.
  void ExpectAFrameOfItsOwnAdded(std::size_t imagesInNewFrame) {
    const cAni after = Reread(after_);
    std::vector<std::size_t> sizes = sizes_;
    sizes.push_back(imagesInNewFrame);
    EXPECT_EQ(after.FrameSizes(), sizes);
    std::vector<AniStep> steps = steps_;
    steps.push_back({static_cast<std::int32_t>(sizes_.size()), rate_});
    EXPECT_EQ(after.Steps(), steps);

    const auto [played, now] = Played(steps.size());
    if (played.empty()) GTEST_SKIP() << "gdk-pixbuf for Python is not installed";
    EXPECT_TRUE(std::equal(played.begin(), played.end(), now.begin()));
    EXPECT_NEAR(now.back().delay, rate_ * 1000.0 / 60.0, 1.0);
  }

  // The steps gdk-pixbuf plays of the cursor before the command and after it (stepsAfter of
  // them); both empty when gdk-pixbuf is not installed.
  std::pair<std::vector<GdkStep>, std::vector<GdkStep>> Played(std::size_t stepsAfter) {
    const auto played = GdkSteps(before_, steps_.size(), dir_ / "before.steps");
    if (!played) return {};
    EXPECT_EQ(played->size(), steps_.size());
    const auto now = GdkSteps(after_, stepsAfter, dir_ / "after.steps");
    EXPECT_TRUE(now && now->size() == stepsAfter);
    if (!now || now->size() != stepsAfter || played->size() != steps_.size()) ADD_FAILURE() << "gdk-pixbuf cannot play them";
    return {*played, now ? *now : std::vector<GdkStep>(stepsAfter)};
  }

  const fs::path before_ = dir_ / "before.ani", after_ = dir_ / "after.ani";
  std::vector<AniStep> steps_;
  std::vector<std::size_t> sizes_;
  std::int32_t rate_ = 0;
};

// The samples: a sequence (0 1 2 1 0 0) with a rate for each step; a rate for each frame and
// no sequence; four frames of a 32 and a 48 pixel image each.
constexpr const char* kSequenced = "generated__handmade__seq_and_rate.ani";
constexpr const char* kRated = "deb-wx3.2-examples__hourglass.ani";
constexpr const char* kSeveralSizes = "generated__handmade__multi_image_frames.ani";

TEST_F(AnimationCommandsTest, DeletingAFrameRemovesItsStepsAndRatesAndRenumbersTheRest) {
  for (const char* sample : {kSequenced, kRated, kSeveralSizes}) {
    SCOPED_TRACE(sample);
    if (!Edit(sample, Command::Delete)) GTEST_SKIP() << "no samples";
    const cAni after = Reread(after_);
    std::vector<std::size_t> sizes(sizes_.begin() + 1, sizes_.end());
    EXPECT_EQ(after.FrameSizes(), sizes);
    std::vector<AniStep> steps;
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < steps_.size(); ++i) {
      if (steps_[i].Frame == 0) continue;
      steps.push_back({steps_[i].Frame - 1, steps_[i].Rate});
      kept.push_back(i);
    }
    EXPECT_EQ(after.Steps(), steps);

    const auto [played, now] = Played(steps.size());
    if (played.empty()) GTEST_SKIP() << "gdk-pixbuf for Python is not installed";
    for (std::size_t i = 0; i < kept.size() && kept[i] < played.size(); ++i) EXPECT_TRUE(now[i] == played[kept[i]]) << i;
  }
}

TEST_F(AnimationCommandsTest, AnAddedFrameIsAFrameOfItsOwnAtTheDefaultRateWithEachSizeOfTheFrames) {
  for (const auto& [sample, images] : {std::pair{kSequenced, 1}, {kRated, 1}, {kSeveralSizes, 2}}) {
    SCOPED_TRACE(sample);
    if (!Edit(sample, Command::Add)) GTEST_SKIP() << "no samples";
    ExpectAFrameOfItsOwnAdded(static_cast<std::size_t>(images));
  }
  // The sizes, depths and hot spots of the first frame.
  const cAni after = Reread(after_);
  const IconImage& first = after.Images()[0];
  const IconImage& added = after.Images()[after.Images().size() - 2];
  EXPECT_EQ((std::array<int, 4>{added.Width, added.BitDepth, added.xHotSpot, added.yHotSpot}),
            (std::array<int, 4>{first.Width, first.BitDepth, first.xHotSpot, first.yHotSpot}));
  EXPECT_EQ(after.Images().back().Width, after.Images()[1].Width);
}

TEST_F(AnimationCommandsTest, ACopiedOrImportedImageIsAFrameOfItsOwnWithEachSizeOfTheFrames) {
  for (const Command command : {Command::Copy, Command::Import}) {
    for (const auto& [sample, images] : {std::pair{kSequenced, 1}, {kSeveralSizes, 2}}) {
      SCOPED_TRACE(sample);
      if (!Edit(sample, command)) GTEST_SKIP() << "no samples";
      // A copy at 48 pixels is the frame's 48-pixel image, and a 32-pixel one is made beside it;
      // the 40-pixel picture imported at 16 pixels is a size of its own beside the frame's.
      const std::size_t imported = command == Command::Import && images > 1 ? 1 : 0;
      ExpectAFrameOfItsOwnAdded(static_cast<std::size_t>(images) + imported);
      const cAni after = Reread(after_);
      const IconImage& made = after.Images()[after.Images().size() - static_cast<std::size_t>(images) - imported];
      // The hot spot is that of the first frame's image of its size, or the first image's
      // carried to its size.
      const auto same = std::find_if(after.Images().begin(), after.Images().begin() + static_cast<std::ptrdiff_t>(sizes_[0]),
                                     [&](const IconImage& image) { return image.Width == made.Width; });
      const IconImage& first = after.Images()[0];
      EXPECT_EQ(made.xHotSpot, same != after.Images().begin() + static_cast<std::ptrdiff_t>(sizes_[0])
                                   ? same->xHotSpot
                                   : first.xHotSpot * made.Width / first.Width);
    }
  }
}

}  // namespace
}  // namespace brixel
