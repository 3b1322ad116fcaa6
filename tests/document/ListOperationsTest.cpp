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

// An edit between ResetUndo and the next close of the step; the step records what changed.
TEST_F(ListOperationsTest, UndoAndRedoWalkTheStepsBothWays) {
  AddNumbered(1, 1);
  EXPECT_EQ(doc_.GetUndo(), -1);  // nothing taken yet: unchanged
  EXPECT_EQ(doc_.GetRedo(), -1);
  EXPECT_EQ(At(0, 0), 1);
  for (int k = 2; k <= 150; ++k) {
    doc_.ResetUndo(0);
    doc_.XYColor(0, 0, 0, k);
    doc_.CloseUndoStep();
  }
  EXPECT_EQ(doc_.UndoCount(), 149u) << "far more than nine steps";
  for (int k = 149; k >= 1; --k) {
    EXPECT_EQ(doc_.GetUndo(), 0);
    EXPECT_EQ(At(0, 0), k);
  }
  EXPECT_EQ(doc_.GetUndo(), -1) << "an exhausted history does nothing";
  EXPECT_EQ(At(0, 0), 1);
  for (int k = 2; k <= 150; ++k) {
    EXPECT_EQ(doc_.GetRedo(), 0);
    EXPECT_EQ(At(0, 0), k);
  }
  EXPECT_EQ(doc_.GetRedo(), -1);

  // A new edit after an undo drops what could be redone.
  doc_.GetUndo();
  doc_.GetUndo();
  EXPECT_EQ(doc_.RedoCount(), 2u);
  doc_.ResetUndo(0);
  doc_.XYColor(0, 0, 0, 500);
  doc_.CloseUndoStep();
  EXPECT_EQ(doc_.RedoCount(), 0u);
  EXPECT_EQ(doc_.GetRedo(), -1);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(At(0, 0), 148);
}

TEST_F(ListOperationsTest, AStepThatChangedNothingLeavesNoTrace) {
  AddNumbered(4, 4);
  doc_.ResetUndo(0);
  doc_.CloseUndoStep();
  doc_.ResetUndo(0);
  doc_.XYColor(0, 1, 1, 77);
  doc_.XYColor(0, 1, 1, 12);  // back as it was
  doc_.ResetUndo(0);           // closes the one before
  doc_.CloseUndoStep();
  EXPECT_EQ(doc_.UndoCount(), 0u);
}

TEST_F(ListOperationsTest, UndoRestoresEachStepIntoTheImageItCameFrom) {
  AddNumbered(2, 2);
  AddNumbered(4, 4);
  const IconImage a = doc_.Image(0), b = doc_.Image(1);
  doc_.ResetUndo(0);
  doc_.PicShift(0, 0);
  const IconImage shifted = doc_.Image(0);
  doc_.ResetUndo(1);
  doc_.RotatePicture(1, 1);
  const IconImage turned = doc_.Image(1);
  EXPECT_EQ(doc_.GetUndo(), 1);
  EXPECT_EQ(doc_.Image(1), b);
  EXPECT_EQ(doc_.Image(0), shifted);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), a);
  EXPECT_EQ(doc_.GetRedo(), 0);
  EXPECT_EQ(doc_.Image(0), shifted);
  EXPECT_EQ(doc_.GetRedo(), 1);
  EXPECT_EQ(doc_.Image(1), turned);
}

// The hot spot, the palette and the size are undone as well as the pixels.
TEST_F(ListOperationsTest, StepsKeepMoreThanPixels) {
  AddNumbered(3, 3);
  const IconImage before = doc_.Image(0);
  doc_.ResetUndo(0);
  doc_.xHotSpot(0, 2);
  doc_.CloseUndoStep();
  doc_.ResetUndo(0);
  doc_.Image(0) = MakeNewImage(5, 2, 8);
  doc_.CloseUndoStep();
  const IconImage replaced = doc_.Image(0);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Width(0), 3);
  EXPECT_EQ(doc_.xHotSpot(0), 2);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), before);
  doc_.GetRedo();
  doc_.GetRedo();
  EXPECT_EQ(doc_.Image(0), replaced);
}

TEST_F(ListOperationsTest, DeletingAnImageDropsItsStepsAndRenumbersLaterOnes) {
  AddNumbered(1, 1);
  AddNumbered(2, 2);
  AddNumbered(3, 3);
  const IconImage first = doc_.Image(0), third = doc_.Image(2);
  for (std::int16_t i : {2, 1, 0}) {
    doc_.ResetUndo(i);
    doc_.PicShift(i, 0);
  }
  doc_.ResetUndo(1);  // left open: deleting its image ends it
  doc_.PicShift(1, 0);
  doc_.DeleteImage(1);
  EXPECT_EQ(doc_.UndoCount(), 2u);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(doc_.Image(0), first);
  EXPECT_EQ(doc_.GetUndo(), 1);  // the former image 2
  EXPECT_EQ(doc_.Image(1), third);
  EXPECT_EQ(doc_.GetUndo(), -1);
  EXPECT_EQ(doc_.RedoCount(), 2u);
  doc_.DeleteImage(0);
  EXPECT_EQ(doc_.RedoCount(), 1u) << "redo steps follow their images too";
  EXPECT_EQ(doc_.GetRedo(), 0);
}

TEST_F(ListOperationsTest, StartingTheListAfreshEmptiesTheHistory) {
  AddNumbered(2, 2);
  doc_.ResetUndo(0);
  doc_.PicShift(0, 0);
  doc_.AddImage(3, 3, 24, -1);  // appending keeps it
  doc_.CloseUndoStep();
  EXPECT_EQ(doc_.UndoCount(), 1u);
  doc_.AddImage(5, 5, 24, 0);
  EXPECT_EQ(doc_.UndoCount(), 0u);
  const IconImage fresh = doc_.Image(0);
  EXPECT_EQ(doc_.GetUndo(), -1);
  EXPECT_EQ(doc_.Image(0), fresh);
}

// A step keeps the rectangle that changed, not the image; whole-image steps past the memory
// limit push the oldest out, but the latest always stays.
TEST_F(ListOperationsTest, TheHistoryIsCompactAndBoundedByMemory) {
  doc_.AddImage(256, 256, 32, -1);
  IconImage& image = doc_.Image(0);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      image.Pixels.At(x, y) = x + 256 * y;
      image.Mask.At(x, y) = MaskOpaque;
    }
  }
  AddAlphaFromMask(image);
  doc_.ResetUndo(0);
  doc_.XYColor(0, 100, 200, 5);
  doc_.CloseUndoStep();
  EXPECT_LT(doc_.History().Memory(), 4096u) << "a one-pixel step";

  for (int k = 0; k < 80; ++k) {
    doc_.ResetUndo(0);
    doc_.PicShift(0, k % 4);  // every pixel may move: steps of the whole picture
    doc_.XYColor(0, 0, 0, k + 1);
    doc_.CloseUndoStep();
    EXPECT_LE(doc_.History().Memory(), EditHistory::kMemoryLimit);
  }
  EXPECT_GT(doc_.UndoCount(), 10u);
  EXPECT_LT(doc_.UndoCount(), 80u);
  EXPECT_EQ(doc_.GetUndo(), 0);
  EXPECT_EQ(At(0, 0), 79) << "the latest step is there";
}

}  // namespace
}  // namespace brixel
