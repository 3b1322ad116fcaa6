#include <gtest/gtest.h>

#include <random>

#include "Palette.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

class PixelModelTest : public ::testing::Test {
 protected:
  test::BackEndFixture backEnd_;
  cIco doc_;
};

TEST_F(PixelModelTest, NewImageIsTransparentBlackWithItsDefaultPalette) {
  doc_.AddImage(20, 10, 1, -1);
  doc_.AddImage(20, 10, 4, -1);
  doc_.AddImage(20, 10, 32, -1);
  const IconImage& oneBit = doc_.Image(0);
  EXPECT_EQ(oneBit.Pixels.Columns(), 32);  // 1-bit grids run to the next multiple of 32
  EXPECT_EQ(oneBit.Pixels.Rows(), 10);
  EXPECT_EQ(oneBit.Palette, (std::vector<Colour>{kBlack, kWhite}));
  EXPECT_EQ(doc_.Image(1).Pixels.Columns(), 20);
  EXPECT_EQ(doc_.Image(1).Mask.Columns(), 32);
  EXPECT_EQ(doc_.Image(1).Palette.size(), 16u);
  EXPECT_EQ(doc_.Image(1).Palette[0], kWhite);
  EXPECT_EQ(doc_.Image(1).Palette[15], kBlack);
  EXPECT_EQ(doc_.Image(2).Palette.size(), 256u);
  for (int i = 0; i < 3; ++i) {
    const IconImage& image = doc_.Image(static_cast<std::int16_t>(i));
    EXPECT_EQ(image.DibHeight, 20);
    EXPECT_EQ(image.xHotSpot, 0);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 32; ++x) {
        EXPECT_EQ(image.Mask.At(x, y), x < 20 ? MaskTransparent : MaskOpaque) << x << "," << y;
        if (x < 20) {
          EXPECT_EQ(image.Pixels.At(x, y), kBlack);
        }
      }
    }
  }
  EXPECT_EQ(doc_.Height(0), 20);  // twice the height
}

TEST_F(PixelModelTest, PixelAccessOutsideTheGridIsIgnoredSilently) {
  doc_.AddImage(20, 20, 1, -1);
  const IconImage before = doc_.Image(0);
  doc_.XYColor(0, -1, 0, kWhite);
  doc_.XYColor(0, 20 + 40, 0, kWhite);
  doc_.XYColor(5, 0, 0, kWhite);
  doc_.XYMask(0, 0, -3, 1);
  doc_.XYColor(0, 1e30f, 0, kWhite);
  EXPECT_EQ(doc_.Image(0), before);
  EXPECT_EQ(doc_.XYColor(0, -1, 0), -1);
  EXPECT_EQ(doc_.XYColor(3, 0, 0), -1);
  EXPECT_EQ(doc_.XYColor(0, std::numeric_limits<float>::quiet_NaN(), 0), -1);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_TRUE(backEnd_.prompter.shown.empty());

  // A 1-bit image accepts its padding columns.
  doc_.XYColor(0, 31, 0, kWhite);
  EXPECT_EQ(doc_.XYColor(0, 31, 0), kWhite);
  doc_.XYColor(0, 32, 0, kWhite);
  EXPECT_EQ(doc_.XYColor(0, 32, 0), -1);

  // Mask reads outside the grid are the caller's error.
  EXPECT_THROW(doc_.XYMask(0, 32, 0), BackEndError);
}

TEST_F(PixelModelTest, CoordinatesRoundHalfToEven) {
  doc_.AddImage(8, 8, 24, -1);
  doc_.XYColor(0, 2.5f, 0.5f, 111);  // goes to (2, 0)
  doc_.XYColor(0, 3.5f, 1.5f, 222);  // goes to (4, 2)
  EXPECT_EQ(doc_.Image(0).Pixels.At(2, 0), 111);
  EXPECT_EQ(doc_.Image(0).Pixels.At(4, 2), 222);
  doc_.XYMask(0, 0.4f, 0.6f, MaskOpaque);
  EXPECT_EQ(doc_.XYMask(0, 0, 1), MaskOpaque);
}

TEST_F(PixelModelTest, HotSpotIsBoundedToTheImage) {
  doc_.AddImage(32, 16, 4, -1);
  doc_.xHotSpot(0, 40);
  doc_.yHotSpot(0, 40);
  EXPECT_EQ(doc_.xHotSpot(0), 32);
  EXPECT_EQ(doc_.yHotSpot(0), 16);
  doc_.xHotSpot(0, -5);
  doc_.yHotSpot(0, 0);
  EXPECT_EQ(doc_.xHotSpot(0), 0);
  EXPECT_EQ(doc_.yHotSpot(0), 0);
  doc_.xHotSpot(0, 7);
  EXPECT_EQ(doc_.xHotSpot(0), 7);
}

TEST_F(PixelModelTest, PaletteColorRecoloursPalettedAndThirtyTwoBitImagesOnly) {
  doc_.AddImage(4, 4, 8, -1);
  doc_.AddImage(4, 4, 24, -1);
  doc_.AddImage(4, 4, 32, -1);
  for (std::int16_t i = 0; i < 3; ++i) {
    const Colour old = doc_.PaletteColor(i, 3);
    doc_.XYColor(i, 1, 1, old);  // has entry 3's colour by chance or design
    doc_.XYMask(i, 1, 1, MaskOpaque);
    doc_.XYColor(i, 2, 2, 12345);
    doc_.PaletteColor(i, 3, 777);
    EXPECT_EQ(doc_.PaletteColor(i, 3), 777);
    EXPECT_EQ(doc_.XYColor(i, 1, 1), i == 1 ? old : 777) << "image " << i;
    EXPECT_EQ(doc_.XYColor(i, 2, 2), 12345);
  }
}

TEST_F(PixelModelTest, FlagsAndName) {
  EXPECT_TRUE(doc_.NewIcon());
  EXPECT_FALSE(doc_.Changed());
  EXPECT_EQ(doc_.IconName(), "NewIcon");
  doc_.NewIcon(false);
  doc_.Changed(true);
  EXPECT_TRUE(doc_.NewIcon());
  doc_.NewIcon(false);
  EXPECT_TRUE(doc_.Changed());
  doc_.IconPath("/home/u/icons/a.ico");
  EXPECT_EQ(doc_.IconName(), "a.ico");
  doc_.IconPath("a.cur");
  EXPECT_EQ(doc_.IconName(), "a.cur");
  doc_.IconPath("/home/u/icons/");
  EXPECT_EQ(doc_.IconName(), "NewIcon");
}

TEST_F(PixelModelTest, AddImageRefusesSizesThatDoNotFit) {
  EXPECT_THROW(doc_.AddImage(0, 16, 8, -1), BackEndError);
  EXPECT_THROW(doc_.AddImage(16, 16, 16, -1), BackEndError);
  try {
    doc_.AddImage(16, 20000, 8, -1);
    FAIL() << "no error raised";
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Number(), 6);  // twice the height does not fit 16 bits
  }
  EXPECT_EQ(doc_.IconCount(), 0);
}

TEST(Palettes, DefaultTableAndLookups) {
  const auto& table = DefaultPalette();
  EXPECT_EQ(table[0], 0xFFFFFF);
  EXPECT_EQ(table[1], 0xFFFF00);
  EXPECT_EQ(table[150], MakeColour(38, 113, 255));
  EXPECT_EQ(table[255], 0x181818);
  // A few cells from the middle of the table, to catch a shifted row.
  EXPECT_EQ(table[16], 0xD8ECFF);
  EXPECT_EQ(table[103], 0xC0BC38);
  EXPECT_EQ(table[239], 0x102830);

  test::BackEndFixture backEnd;
  cIco doc;
  doc.AddImage(4, 4, 4, -1);
  doc.AddImage(4, 4, 8, -1);
  EXPECT_EQ(GetPaletteNum(kWhite, doc.Image(0)), 0);
  EXPECT_EQ(GetPaletteNum(kWhite, doc.Image(1)), 0);
  EXPECT_EQ(GetPaletteNum(0xFFFF00, doc.Image(1)), 1);  // first of the equal entries 1 and 119
  EXPECT_EQ(GetPaletteNum(0x123456, doc.Image(1)), 0);
  const PaletteLookup lookup(doc.Image(1));
  EXPECT_EQ(lookup.Find(0xFFFF00), 1);
  EXPECT_EQ(lookup.Find(0x808080), 7);  // 7 and 247
  EXPECT_EQ(lookup.Find(0x123456), 0);
  EXPECT_EQ(doc.GetPaletteClick(1, 0xFFFF00), 119);   // last of them
  EXPECT_EQ(doc.GetPaletteClick(1, 0x123456), -1);
}

// The lookup used for writing finds what the first-match scan finds, for palettes of every
// size with many repeated colours and with colours whose hashes collide in a small table.
TEST(Palettes, LookupAgreesWithTheScanOnRepeatedColours) {
  std::mt19937 random(7);
  for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{16}, std::size_t{256}, std::size_t{300}}) {
    for (int round = 0; round < 20; ++round) {
      IconImage image;
      const int distinct = 1 + static_cast<int>(random() % (size + 1));
      for (std::size_t i = 0; i < size; ++i) {
        image.Palette.push_back(round % 2 ? static_cast<Colour>(random() % distinct) * 4096
                                          : static_cast<Colour>(random() % distinct) - 1);
      }
      const PaletteLookup lookup(image);
      for (const Colour c : image.Palette) ASSERT_EQ(lookup.Find(c), GetPaletteNum(c, image)) << c;
      for (int probe = 0; probe < 50; ++probe) {
        const auto c = static_cast<Colour>(random() % 0x1000000) - 1;
        ASSERT_EQ(lookup.Find(c), GetPaletteNum(c, image)) << c;
      }
    }
  }
  EXPECT_EQ(PaletteLookup(std::vector<Colour>{}).Find(kWhite), 0);
}

}  // namespace
}  // namespace brixel
