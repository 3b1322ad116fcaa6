// How a kept alpha goes along with the edits: writing a mask sets it, and pixels that are only
// moved, copied or restored keep theirs.

#include <gtest/gtest.h>

#include "AlphaChannel.h"
#include "ClipTransfer.h"
#include "FloodFill.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

constexpr std::int32_t O = MaskOpaque;
constexpr std::int32_t T = MaskTransparent;

class AlphaEditingTest : public ::testing::Test {
 protected:
  // A 4 x 4 32-bit image keeping alpha: pixel (x, y) opaque, colour 1 + x + 10 y, alpha
  // 10 + x + 16 y.
  void SetUp() override {
    doc_.AddImage(4, 4, 32, -1);
    IconImage& image = doc_.Image(0);
    AddAlphaFromMask(image);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        image.Pixels.At(x, y) = 1 + x + 10 * y;
        image.Mask.At(x, y) = O;
        image.Alpha.At(x, y) = 10 + x + 16 * y;
      }
    }
  }
  int Alpha(int x, int y) const { return doc_.Image(0).Alpha.At(x, y); }

  test::BackEndFixture backEnd_;
  cIco doc_;
};

TEST_F(AlphaEditingTest, WritingAMaskSetsTheAlphaAndFillsAndClearsDoToo) {
  doc_.XYMask(0, 1, 1, T);
  doc_.XYMask(0, 2, 1, O);
  doc_.XYMask(0, 3, 1, MaskComplement);
  EXPECT_EQ(Alpha(1, 1), 0);
  EXPECT_EQ(Alpha(2, 1), 255);
  EXPECT_EQ(Alpha(3, 1), 0);
  EXPECT_EQ(Alpha(0, 1), 26);  // untouched
  doc_.XYColor(0, 0, 1, 99);   // a colour alone leaves the alpha
  EXPECT_EQ(Alpha(0, 1), 26);

  FillRegion(doc_, 0, 0, 0, 7, false, false);  // a region of one pixel
  EXPECT_EQ(Alpha(0, 0), 255);
  FillRegion(doc_, 0, 1, 0, kWhite, true, false);  // erase
  EXPECT_EQ(Alpha(1, 0), 0);
  ClearRegion(doc_, 0, 2, 3, 3, 3);
  EXPECT_EQ(Alpha(2, 3), 0);
  EXPECT_EQ(Alpha(3, 3), 0);
  EXPECT_EQ(Alpha(1, 3), 59);

  // An image without alpha does not gain one.
  cIco plain;
  plain.AddImage(2, 2, 32, -1);
  plain.XYMask(0, 0, 0, O);
  EXPECT_FALSE(plain.Image(0).CarriesAlpha());
}

TEST_F(AlphaEditingTest, TransformsAndUndoCarryTheAlpha) {
  doc_.ResetUndo(0);
  doc_.RotatePicture(0, 2);  // mirror left to right
  EXPECT_EQ(Alpha(0, 0), 13);
  EXPECT_EQ(Alpha(3, 2), 42);
  doc_.RotatePicture(0, 1);  // quarter turn
  doc_.PicShift(0, 0);       // left: the last column becomes transparent
  for (int y = 0; y < 4; ++y) EXPECT_EQ(Alpha(3, y), 0);
  const IconImage& image = doc_.Image(0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) {
      // Whatever moved where, each pixel kept its own alpha: 10 + x + 16 y of its colour.
      const int colour = image.Pixels.At(x, y);
      EXPECT_EQ(Alpha(x, y), 10 + (colour - 1) % 10 + 16 * ((colour - 1) / 10)) << x << "," << y;
    }
  }
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(Alpha(3, 2), 45);
  EXPECT_EQ(Alpha(0, 0), 10);
}

TEST_F(AlphaEditingTest, TheClipCarriesAlphaIntoImagesThatKeepIt) {
  const ClipRegion clip = CopyRegion(doc_, 0, 1, 1, 2, 2);
  EXPECT_EQ(clip.Alpha, (std::vector<std::uint8_t>{27, 28, 43, 44}));
  PasteRegion(doc_, 0, clip, 2, 2);
  EXPECT_EQ(Alpha(2, 2), 27);
  EXPECT_EQ(Alpha(3, 3), 44);

  // An image that keeps no alpha takes pixels shown at least half opaque as opaque, the
  // others as transparent.
  cIco plain;
  plain.AddImage(4, 4, 32, -1);
  ClipRegion soft(2, 1);
  soft.Set(0, 0, 12, O, 127);
  soft.Set(1, 0, 13, O, 128);
  PasteRegion(plain, 0, soft, 0, 0);
  EXPECT_FALSE(plain.Image(0).CarriesAlpha());
  EXPECT_EQ(plain.XYMask(0, 0, 0), T);
  EXPECT_EQ(plain.XYMask(0, 1, 0), O);
  EXPECT_EQ(plain.XYColor(0, 1, 0), 13);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AlphaEditingTest, EditedAlphaIsSavedAndReadBack) {
  doc_.XYMask(0, 1, 1, T);
  doc_.XYColor(0, 1, 1, 0);
  doc_.PicShift(0, 3);
  test::TempDir dir;
  const std::string path = (dir / "edited.ico").string();
  ASSERT_TRUE(doc_.SaveIcon(path));
  cIco back;
  ASSERT_TRUE(back.OpenIcon(path));
  EXPECT_EQ(back.Image(0), doc_.Image(0));
  test::KeepFuzzSeed("ico", "alpha-edited.ico", ReadWholeFile(path));
}

TEST(AlphaBlend, ColoursOverTheBackground) {
  EXPECT_EQ(BlendOver(MakeColour(200, 100, 0), 255, kWhite), MakeColour(200, 100, 0));
  EXPECT_EQ(BlendOver(MakeColour(200, 100, 0), 0, 0x123456), 0x123456);
  EXPECT_EQ(BlendOver(MakeColour(255, 0, 0), 128, MakeColour(0, 0, 255)), MakeColour(128, 0, 127));
  EXPECT_EQ(BlendOver(kNoColour, 200, kWhite), kWhite);  // an inverting pixel shows nothing
}

}  // namespace
}  // namespace brixel
