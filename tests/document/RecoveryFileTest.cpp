#include <gtest/gtest.h>

#include <algorithm>

#include "AniTestFiles.h"
#include "IcnsTestFiles.h"
#include "PngCodec.h"
#include "RecoveryFile.h"
#include "TestSupport.h"
#include "cAni.h"
#include "cIco.h"

namespace brixel {
namespace {

// The bytes of a recovery file of the document, as the editor writes them.
Bytes CopyOf(const cIco& document, const cAni* cursor, int currentImage) {
  return EncodeRecovery(MakeRecoveryRecord(TakeRecoverySnapshot(document, cursor, currentImage)));
}

constexpr Colour kRed = MakeColour(255, 0, 0);

class RecoveryFileTest : public ::testing::Test {
 protected:
  test::BackEndFixture backEnd_;
};

TEST_F(RecoveryFileTest, AnIconComesBackWithItsPathCurrentImageAndHotSpots) {
  cIco document;
  document.AppendImage(test::FrameImage(16, 8, kRed, 3, 4));
  document.AppendImage(test::FrameImage(32, 24, kRed, 7, 9));
  // Any byte but NUL may stand in a path, line ends too.
  const std::string path = "/home/u/odd\nname ico.cur";
  document.IconPath(path);

  const RecoveryRecord record = DecodeRecovery(CopyOf(document, nullptr, 1));
  EXPECT_EQ(record.kind, RecoveryRecord::Kind::Icon);
  EXPECT_EQ(record.path, path);
  EXPECT_EQ(record.currentImage, 1);
  cIco back;
  ASSERT_TRUE(back.ReadIconData(record.file));
  EXPECT_EQ(back.Images(), document.Images());

  // A document never saved keeps its hot spots too.
  document.IconPath("");
  const RecoveryRecord unsaved = DecodeRecovery(CopyOf(document, nullptr, 0));
  EXPECT_TRUE(unsaved.path.empty());
  cIco again;
  ASSERT_TRUE(again.ReadIconData(unsaved.file));
  EXPECT_EQ(again.Images()[1].xHotSpot, 7);
  EXPECT_EQ(again.Images()[1].yHotSpot, 9);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(RecoveryFileTest, AnAnimatedCursorKeepsItsRatesAndTexts) {
  cAni cursor;
  cursor.AppendFrame({test::FrameImage(32, 8, kRed)});
  cursor.AppendFrame({test::FrameImage(32, 8, kWhite)});
  cursor.Rates({5, 30});
  cursor.CursorName("Spinner");
  cIco edited;  // the frames as the window edits them
  for (const IconImage& frame : cursor.Images()) edited.AppendImage(frame);
  edited.XYColor(1, 3, 3, kBlack);

  const RecoveryRecord record = DecodeRecovery(CopyOf(edited, &cursor, 1));
  EXPECT_EQ(record.kind, RecoveryRecord::Kind::AnimatedCursor);
  cAni back;
  ASSERT_TRUE(back.ReadAniData(record.file));
  EXPECT_EQ(back.Images(), edited.Images());
  EXPECT_EQ(back.Rates(), (std::vector<std::int32_t>{5, 30}));
  EXPECT_EQ(back.CursorName(), "Spinner");
}

// A macOS icon's entries an icon file cannot hold (one that could not be shown, its information
// list) come back with its images, and go into the .icns file saved afterwards.
TEST_F(RecoveryFileTest, AMacIconKeepsWhatOnlyAMacIconHolds) {
  Bytes damaged = EncodePng(128, 128, std::vector<std::uint8_t>(128 * 128 * 4, 90));
  damaged.resize(damaged.size() / 2);
  const Bytes info = {'b', 'p', 'l', 'i', 's', 't', '0', '0', 7};
  const Bytes file = test::IcnsOf({{"icp5", EncodePng(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 200))},
                                   {"ic07", damaged}, {"info", info}});
  cIco document;
  ASSERT_TRUE(document.ReadIconData(file));
  document.IconPath("/icons/app.icns");
  document.XYColor(0, 2, 2, kRed);  // an unsaved change to the 32-pixel image
  cIco back;
  ASSERT_TRUE(ReadRecordedIcon(DecodeRecovery(CopyOf(document, nullptr, 0)), back));
  ASSERT_EQ(back.IconCount(), 2);
  EXPECT_EQ(back.IcnsOthers(), document.IcnsOthers());
  const auto keptCount = [](const cIco& icon) {
    return std::count_if(icon.Images().begin(), icon.Images().end(), [](const IconImage& i) { return i.IsKept(); });
  };
  EXPECT_EQ(keptCount(back), 1);
  EXPECT_EQ(back.XYColor(0, 2, 2), kRed);
  test::TempDir dir;
  const std::string saved = (dir / "again.icns").string();
  ASSERT_TRUE(back.SaveIcon(saved));
  const Bytes written = ReadWholeFile(saved);
  for (const Bytes& expected : {damaged, info}) {
    EXPECT_NE(std::search(written.begin(), written.end(), expected.begin(), expected.end()), written.end());
  }
  EXPECT_TRUE(backEnd_.prompter.shown.empty());

  // A record whose macOS part is damaged gives the images back and says what it could not.
  RecoveryRecord record = DecodeRecovery(CopyOf(document, nullptr, 0));
  record.macIconEntries.resize(record.macIconEntries.size() / 2);
  cIco partly;
  ASSERT_TRUE(ReadRecordedIcon(record, partly));
  EXPECT_EQ(partly.IconCount(), 1);
  EXPECT_EQ(partly.XYColor(0, 2, 2), kRed);
  EXPECT_TRUE(partly.IcnsOthers().empty());
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_NE(backEnd_.prompter.shown[0].text.find("The unsaved copy of /icons/app.icns is back, but not"), std::string::npos);
}

TEST_F(RecoveryFileTest, AnythingButAWholeRecordIsRefused) {
  cIco document;
  document.AppendImage(test::FrameImage(16, 8, kRed));
  document.IconPath("/a.ico");
  const Bytes whole = CopyOf(document, nullptr, 0);
  // Cut inside the header or the path, a changed magic or kind, a number that is no number.
  for (const std::size_t length : {std::size_t{0}, std::size_t{5}, std::size_t{20}, std::size_t{40}}) {
    EXPECT_THROW(DecodeRecovery(ByteView(whole).first(length)), BackEndError) << length;
  }
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"recovery 1", "recovery 2"}, {"kind icon", "kind bmpx"}, {"current 0", "current x"},
           {"path 6", "path 9"}}) {
    std::string text(whole.begin(), whole.end());
    text.replace(text.find(from), from.size(), to);
    EXPECT_THROW(DecodeRecovery(Bytes(text.begin(), text.end())), BackEndError) << to;
  }
}

}  // namespace
}  // namespace brixel
