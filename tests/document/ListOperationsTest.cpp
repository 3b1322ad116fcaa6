#include <gtest/gtest.h>

#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

// Colours of row y, left to right, with their masks.
std::vector<std::pair<Colour, std::int32_t>> Row(const IconImage& image, int y) {
  std::vector<std::pair<Colour, std::int32_t>> row;
  for (int x = 0; x < image.Width; ++x) row.emplace_back(image.Pixels.At(x, y), image.Mask.At(x, y));
  return row;
}

class ListOperationsTest : public ::testing::Test {
 protected:
  // A w x h 24-bit image whose pixel (x, y) is opaque with colour 1 + x + 10 y.
  void AddNumbered(int w, int h) {
    doc_.AddImage(static_cast<std::int16_t>(w), static_cast<std::int16_t>(h), 24, -1);
    const auto i = static_cast<std::int16_t>(doc_.IconCount() - 1);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        doc_.XYColor(i, static_cast<float>(x), static_cast<float>(y), 1 + x + 10 * y);
        doc_.XYMask(i, static_cast<float>(x), static_cast<float>(y), MaskOpaque);
      }
    }
  }
  Colour At(int x, int y) { return doc_.XYColor(0, static_cast<float>(x), static_cast<float>(y)); }

  test::BackEndFixture backEnd_;
  cIco doc_;
};

TEST_F(ListOperationsTest, ShiftMovesColourAndMaskAndClearsTheVacatedLine) {
  AddNumbered(3, 1);
  doc_.PicShift(0, 0);
  EXPECT_EQ(Row(doc_.Image(0), 0),
            (std::vector<std::pair<Colour, std::int32_t>>{{2, 0}, {3, 0}, {0, MaskTransparent}}));
  doc_.PicShift(0, 1);
  EXPECT_EQ(Row(doc_.Image(0), 0),
            (std::vector<std::pair<Colour, std::int32_t>>{{0, MaskTransparent}, {2, 0}, {3, 0}}));

  cIco tall;
  tall.AddImage(1, 3, 24, -1);
  tall.XYColor(0, 0, 0, 5);
  tall.XYColor(0, 0, 1, 6);
  tall.XYColor(0, 0, 2, 7);
  tall.PicShift(0, 2);
  EXPECT_EQ(tall.XYColor(0, 0, 0), 6);
  EXPECT_EQ(tall.XYColor(0, 0, 1), 7);
  EXPECT_EQ(tall.XYColor(0, 0, 2), 0);
  tall.PicShift(0, 3);
  EXPECT_EQ(tall.XYColor(0, 0, 0), 0);
  EXPECT_EQ(tall.XYColor(0, 0, 1), 6);
  const IconImage before = tall.Image(0);
  tall.PicShift(0, 9);
  tall.RotatePicture(0, -1);
  EXPECT_EQ(tall.Image(0), before);
}

TEST_F(ListOperationsTest, QuarterTurnsAndMirrors) {
  AddNumbered(2, 2);  // P Q / R S = 1 2 / 11 12
  doc_.RotatePicture(0, 0);
  EXPECT_EQ(std::vector<Colour>({At(0, 0), At(1, 0), At(0, 1), At(1, 1)}),
            std::vector<Colour>({2, 12, 1, 11}));
  doc_.RotatePicture(0, 1);  // back
  doc_.RotatePicture(0, 1);
  EXPECT_EQ(std::vector<Colour>({At(0, 0), At(1, 0), At(0, 1), At(1, 1)}),
            std::vector<Colour>({11, 1, 12, 2}));

  cIco square;
  square.AddImage(3, 3, 24, -1);
  for (int i = 0; i < 9; ++i) square.XYColor(0, static_cast<float>(i % 3), static_cast<float>(i / 3), i);
  const IconImage original = square.Image(0);
  square.RotatePicture(0, 2);
  EXPECT_EQ(square.XYColor(0, 0, 0), 2);
  square.RotatePicture(0, 2);
  EXPECT_EQ(square.Image(0), original);
  square.RotatePicture(0, 3);
  EXPECT_EQ(square.XYColor(0, 0, 0), 6);
  square.RotatePicture(0, 3);
  for (int turn = 0; turn < 4; ++turn) square.RotatePicture(0, 1);
  EXPECT_EQ(square.Image(0), original);
}

TEST_F(ListOperationsTest, QuarterTurnOfANonSquareImageKeepsItsSize) {
  AddNumbered(3, 2);
  doc_.RotatePicture(0, 1);
  EXPECT_EQ(doc_.Width(0), 3);
  EXPECT_EQ(doc_.Height(0), 4);
  // Destination k = x * H + y takes source row H - 1 - k / W, column k mod W.
  EXPECT_EQ(At(0, 0), 11);  // k 0: row 1, column 0
  EXPECT_EQ(At(0, 1), 12);  // k 1: row 1, column 1
  EXPECT_EQ(At(1, 0), 13);  // k 2: row 1, column 2
  EXPECT_EQ(At(2, 1), 3);   // k 5: row 0, column 2
}

TEST_F(ListOperationsTest, AddAtPositionZeroStartsAfreshAndDeleteMovesImagesDown) {
  AddNumbered(1, 1);
  AddNumbered(2, 2);
  AddNumbered(3, 3);
  doc_.DeleteImage(0);
  ASSERT_EQ(doc_.IconCount(), 2);
  EXPECT_EQ(doc_.Width(0), 2);
  EXPECT_EQ(doc_.Width(1), 3);
  EXPECT_THROW(doc_.DeleteImage(2), BackEndError);
  doc_.AddImage(16, 16, 8, 0);
  ASSERT_EQ(doc_.IconCount(), 1);
  EXPECT_EQ(doc_.Width(0), 16);
}

TEST_F(ListOperationsTest, UndoKeepsNineStepsThenRepeatsTheOldest) {
  AddNumbered(1, 1);
  EXPECT_EQ(doc_.GetUndo(), -1);  // nothing taken yet: unchanged
  EXPECT_EQ(At(0, 0), 1);
  for (int k = 1; k <= 10; ++k) {
    doc_.XYColor(0, 0, 0, k);
    doc_.ResetUndo(0);
  }
  EXPECT_EQ(doc_.UndoCount(), 9);
  for (int k = 10; k >= 2; --k) {
    EXPECT_EQ(doc_.GetUndo(), 0);
    EXPECT_EQ(At(0, 0), k);
  }
  doc_.XYColor(0, 0, 0, 99);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(At(0, 0), 2);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(At(0, 0), 2);
}

TEST_F(ListOperationsTest, UndoRestoresEachSnapshotIntoTheImageItCameFrom) {
  AddNumbered(2, 2);
  AddNumbered(4, 4);
  const IconImage a = doc_.Image(0), b = doc_.Image(1);
  doc_.ResetUndo(0);
  doc_.PicShift(0, 0);
  doc_.ResetUndo(1);
  doc_.RotatePicture(1, 1);
  doc_.PicShift(0, 2);
  EXPECT_EQ(doc_.GetUndo(), 1);
  EXPECT_EQ(doc_.Image(1), b);
  EXPECT_NE(doc_.Image(0), a);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), a);
  EXPECT_EQ(doc_.Image(1), b);
  // Exhausted: the oldest snapshot, of image 0, comes back into image 0 again.
  doc_.PicShift(0, 1);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), a);
}

TEST_F(ListOperationsTest, DeletingAnImageDropsItsSnapshotsAndRenumbersLaterOnes) {
  AddNumbered(1, 1);
  AddNumbered(2, 2);
  AddNumbered(3, 3);
  const IconImage first = doc_.Image(0), third = doc_.Image(2);
  doc_.ResetUndo(2);
  doc_.ResetUndo(1);
  doc_.ResetUndo(0);
  doc_.ResetUndo(1);
  doc_.PicShift(0, 0);
  doc_.PicShift(2, 0);
  doc_.DeleteImage(1);
  EXPECT_EQ(doc_.UndoCount(), 2);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), first);
  EXPECT_EQ(doc_.GetUndo(), 1);  // the former image 2
  EXPECT_EQ(doc_.Image(1), third);

  // The oldest snapshot, kept for the exhausted store, follows its image and goes with it.
  doc_.DeleteImage(0);
  doc_.PicShift(0, 1);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), third);
  doc_.AddImage(2, 2, 24, -1);
  doc_.DeleteImage(0);
  EXPECT_EQ(doc_.GetUndo(), -1);
}

TEST_F(ListOperationsTest, StartingTheListAfreshEmptiesTheUndoStore) {
  AddNumbered(2, 2);
  doc_.ResetUndo(0);
  doc_.AddImage(3, 3, 24, -1);  // appending keeps the store
  EXPECT_EQ(doc_.UndoCount(), 1);
  doc_.AddImage(5, 5, 24, 0);
  EXPECT_EQ(doc_.UndoCount(), 0);
  const IconImage fresh = doc_.Image(0);
  EXPECT_EQ(doc_.GetUndo(), -1);
  EXPECT_EQ(doc_.Image(0), fresh);
}

}  // namespace
}  // namespace brixel
