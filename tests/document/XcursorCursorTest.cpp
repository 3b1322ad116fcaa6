// Xcursor files as Windows cursors: frames from the steps of every size, delays in jiffies,
// premultiplied colours taken back exactly, and what a Windows cursor cannot keep.

#include <gtest/gtest.h>

#include "AniFile.h"
#include "ErrorReport.h"
#include "IcoFile.h"
#include "TestSupport.h"
#include "XcursorCursor.h"
#include "XcursorFile.h"
#include "XcursorTestFiles.h"

namespace brixel {
namespace {

using test::PatternXcursorImage;
using test::RawXcursorFile;
using test::RawXcursorImage;
using Pair16 = std::pair<std::int16_t, std::int16_t>;

XcursorAsCursor Convert(const std::vector<RawXcursorImage>& images) {
  return CursorFromXcursor(ReadXcursorFile(RawXcursorFile(images)));
}

// The Xcursor pixels an image gives when it is written as one.
std::vector<std::uint32_t> WrittenPixels(const IconImage& image) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width; ++x) pixels.push_back(XcursorArgb(image, x, y));
  }
  return pixels;
}

TEST(XcursorCursor, DelaysBecomeTheNearestJiffyAndAtLeastOne) {
  const std::vector<std::pair<std::uint32_t, std::int32_t>> cases = {
      {0, 1}, {8, 1}, {16, 1}, {24, 1}, {25, 2}, {30, 2}, {50, 3}, {100, 6}, {1000, 60}, {4294967295u, 257698038}};
  for (const auto& [milliseconds, jiffies] : cases) EXPECT_EQ(DelayToJiffies(milliseconds), jiffies) << milliseconds;
}

// Every premultiplied value a pixel can hold (each colour part no larger than the alpha) comes
// back exactly when the image is written as an Xcursor file again.
TEST(XcursorCursor, PremultipliedColoursComeBackExactly) {
  XcursorImageData data{32, 256, 129, 256, 3, 0, {}};
  for (std::uint32_t alpha = 0; alpha < 256; ++alpha) {
    for (std::uint32_t part = 0; part <= alpha; ++part) {
      data.Pixels.push_back(alpha << 24 | part << 16 | (alpha - part) << 8 | part / 2);
    }
  }
  data.Pixels.resize(256 * 129, 0);
  const IconImage image = IconImageFromXcursor(data);
  EXPECT_EQ(image.BitDepth, 32);
  EXPECT_TRUE(image.CarriesAlpha());
  EXPECT_EQ(std::make_pair(image.xHotSpot, image.yHotSpot), Pair16(256, 3));
  EXPECT_EQ(WrittenPixels(image), data.Pixels);
}

// Steps of every size make the frames (the sizes in the order the file gives them), the
// first size's delays the rates; written as an animated cursor and back as an Xcursor file,
// each size keeps its steps, hot spots and delays (to the jiffy).
TEST(XcursorCursor, StepsOfEverySizeMakeTheFramesAndComeBack) {
  std::vector<RawXcursorImage> images;
  const std::vector<std::uint32_t> delays = {30, 50, 30};
  for (std::uint32_t step = 0; step < 3; ++step) {
    images.push_back(PatternXcursorImage(32, 32, 32, 10 + step, delays[step]));
    images.push_back(PatternXcursorImage(16, 16, 16, 20 + step, delays[step]));
  }
  test::KeepFuzzSeed("xcursor", "three-steps", RawXcursorFile(images));
  const XcursorAsCursor cursor = Convert(images);
  EXPECT_TRUE(cursor.Notes.empty());
  ASSERT_TRUE(cursor.Animated());
  ASSERT_EQ(cursor.Frames.size(), 3u);
  EXPECT_EQ(cursor.Rates, (std::vector<std::int32_t>{2, 3, 2}));
  for (const auto& frame : cursor.Frames) {
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(std::make_pair(frame[0].Width, frame[1].Width), Pair16(32, 16));
  }

  const std::unique_ptr<cAni> document = AnimatedCursorDocument(cursor);
  const Bytes ani = BuildAniFile(document->Images(), document->Info());
  cAni reread;
  ASSERT_TRUE(reread.ReadAniData(ani));
  EXPECT_EQ(reread.FrameSizes(), (std::vector<std::size_t>{2, 2, 2}));
  EXPECT_EQ(reread.Steps(), (std::vector<AniStep>{{0, 2}, {1, 3}, {2, 2}}));

  const std::vector<XcursorImageData> back = ReadXcursorFile(BuildXcursorFile(reread.Images(), &reread.Info()));
  ASSERT_EQ(back.size(), images.size());
  // 2, 3 and 2 jiffies of a sixtieth of a second, in milliseconds, for each size.
  const std::vector<std::uint32_t> delaysBack = {33, 33, 50, 50, 33, 33};
  for (std::size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back[i].NominalSize, images[i].size);
    EXPECT_EQ(std::make_pair(back[i].xHot, back[i].yHot), std::make_pair(static_cast<int>(images[i].xhot), static_cast<int>(images[i].yhot)));
    EXPECT_EQ(back[i].Delay, delaysBack[i]);
    EXPECT_EQ(back[i].Pixels, images[i].pixels);
  }
}

TEST(XcursorCursor, OneStepOfEachSizeIsACursorOfItsSizes) {
  const XcursorAsCursor cursor = Convert({PatternXcursorImage(24, 24, 24, 1, 50), PatternXcursorImage(48, 48, 48, 2, 50)});
  EXPECT_FALSE(cursor.Animated());
  EXPECT_TRUE(cursor.Rates.empty());
  const std::unique_ptr<cIco> document = StillCursorDocument(cursor);
  ASSERT_EQ(document->IconCount(), 2);
  EXPECT_EQ(std::make_pair(document->Image(1).xHotSpot, document->Image(1).yHotSpot),
            Pair16(24, 16));
  cIco reread;
  ASSERT_TRUE(reread.ReadIconData(BuildIconFile(document->Images(), 2)));
  EXPECT_EQ(reread.Images(), document->Images());
}

// Sizes with fewer steps, delays that differ between sizes and an image of another size than
// its nominal one: each is said, and the pixels are kept.
TEST(XcursorCursor, SaysWhatAWindowsCursorCannotKeep) {
  const XcursorAsCursor cursor = Convert({PatternXcursorImage(24, 24, 24, 1, 30), PatternXcursorImage(24, 24, 24, 2, 30),
                                          PatternXcursorImage(24, 24, 24, 3, 30), PatternXcursorImage(32, 40, 40, 4, 60),
                                          PatternXcursorImage(32, 40, 40, 5, 30)});
  ASSERT_EQ(cursor.Frames.size(), 3u);
  EXPECT_EQ(cursor.Frames[2].size(), 1u);
  EXPECT_EQ(cursor.Frames[0][1].Width, 40);
  EXPECT_EQ(cursor.Rates, (std::vector<std::int32_t>{2, 2, 2}));
  ASSERT_EQ(cursor.Notes.size(), 3u);
  EXPECT_NE(cursor.Notes[0].find("different delays"), std::string::npos) << cursor.Notes[0];
  EXPECT_NE(cursor.Notes[1].find("nominal size 32 has 2 of the 3 steps"), std::string::npos) << cursor.Notes[1];
  EXPECT_NE(cursor.Notes[2].find("nominal size 32 holds a 40 x 40 image"), std::string::npos) << cursor.Notes[2];
}

TEST(XcursorCursor, MoreImagesThanAnAnimatedCursorHoldsOverflow) {
  const std::vector<XcursorImageData> images(32768, XcursorImageData{1, 1, 1, 0, 0, 0, {0}});
  try {
    CursorFromXcursor(images);
    ADD_FAILURE() << "converted";
  } catch (const BackEndError& error) {
    EXPECT_EQ(error.Number(), static_cast<int>(ErrorCode::Overflow));
  }
}

TEST(XcursorCursor, ProposedWindowsNameFollowsTheKind) {
  EXPECT_EQ(WindowsCursorPath("/t/cursors/watch", true), "/t/cursors/watch.ani");
  EXPECT_EQ(WindowsCursorPath("/t/cursors/left_ptr", false), "/t/cursors/left_ptr.cur");
  EXPECT_EQ(WindowsCursorPath("/t/hand.XCursor", false), "/t/hand.cur");
}

}  // namespace
}  // namespace brixel
