#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "ByteOrder.h"
#include "IcoFile.h"
#include "RowTranslation.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// --- Files written by hand ---

struct HandBlock {
  Bytes data;              // bitmap header onward
  std::uint8_t entry4 = 0;  // planes / hot-spot x byte
  std::uint8_t entry6 = 0;  // bit count / hot-spot y byte
};

void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes BitmapHeader(std::int32_t width, std::int32_t dibHeight, int bitCount) {
  Bytes h;
  Put32(h, 40);
  Put32(h, static_cast<std::uint32_t>(width));
  Put32(h, static_cast<std::uint32_t>(dibHeight));
  h.insert(h.end(), {1, 0, static_cast<std::uint8_t>(bitCount), static_cast<std::uint8_t>(bitCount >> 8)});
  h.resize(40, 0);
  return h;
}

Bytes HandFile(int type, const std::vector<HandBlock>& blocks) {
  Bytes f = {0, 0, static_cast<std::uint8_t>(type), 0, static_cast<std::uint8_t>(blocks.size()), 0};
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * blocks.size());
  for (const HandBlock& b : blocks) {
    f.insert(f.end(), {7, 7, 0, 0, b.entry4, 0, b.entry6, 0});
    Put32(f, static_cast<std::uint32_t>(b.data.size()));
    Put32(f, offset);
    offset += static_cast<std::uint32_t>(b.data.size());
  }
  for (const HandBlock& b : blocks) f.insert(f.end(), b.data.begin(), b.data.end());
  return f;
}

std::uint32_t U32(const Bytes& b, std::size_t at) { return GetLength(b, at); }

class IcoFormatTest : public ::testing::Test {
 protected:
  Bytes SaveAndRead(cIco& doc, const std::string& name) {
    const fs::path path = dir_ / name;
    EXPECT_TRUE(doc.SaveIcon(path.string()));
    return ReadWholeFile(path.string());
  }
  bool OpenBytes(cIco& doc, const Bytes& file, const std::string& name = "in.ico") {
    const fs::path path = dir_ / name;
    test::WriteBytes(path, file);
    return doc.OpenIcon(path.string());
  }
  int ReportNumber(std::size_t i = 0) {
    const std::string& r = backEnd_.reporter.reports.at(i);
    const auto at = r.find("Error Number: ");
    return std::stoi(r.substr(at + 14));
  }

  test::BackEndFixture backEnd_;
  test::TempDir dir_;
};

// --- Writing, byte for byte ---

TEST_F(IcoFormatTest, WritesHeaderDirectoryAndBlockSizes) {
  cIco doc;
  doc.AddImage(1, 1, 1, -1);
  doc.AddImage(32, 32, 8, -1);
  doc.AddImage(32, 32, 32, -1);
  const Bytes f = SaveAndRead(doc, "three.ico");
  EXPECT_EQ(Bytes(f.begin(), f.begin() + 6), (Bytes{0, 0, 1, 0, 3, 0}));
  EXPECT_EQ(U32(f, 6 + 8), 56u);
  EXPECT_EQ(U32(f, 6 + 12), 54u);
  EXPECT_EQ(U32(f, 22 + 8), 2216u);
  EXPECT_EQ(U32(f, 22 + 12), 54u + 56u);
  EXPECT_EQ(U32(f, 38 + 8), 4264u);
  EXPECT_EQ(U32(f, 38 + 12), 54u + 56u + 2216u);
  EXPECT_EQ(f.size(), 54u + 56u + 2216u + 4264u);
  // Width, height, colour count, reserved, hot spot bytes of each entry.
  EXPECT_EQ(Bytes(f.begin() + 6, f.begin() + 14), (Bytes{1, 1, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(f.begin() + 22, f.begin() + 26), (Bytes{32, 32, 0, 0}));
  EXPECT_EQ(f[38 + 2], 0);
  // The bitmap header of the second block.
  EXPECT_EQ(Bytes(f.begin() + 110, f.begin() + 126),
            (Bytes{40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 8, 0}));
  EXPECT_TRUE(std::all_of(f.begin() + 126, f.begin() + 150, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(IcoFormatTest, TypeWordFollowsTheExtension) {
  cIco doc;
  doc.AddImage(16, 16, 4, -1);
  EXPECT_EQ(SaveAndRead(doc, "a.ICO")[2], 1);
  EXPECT_EQ(SaveAndRead(doc, "a.cur")[2], 2);
  EXPECT_EQ(SaveAndRead(doc, "a.bmp")[2], 2);
  // A 4-bit image has 16 colours; a 10-pixel-wide one 8-byte XOR rows and 4-byte AND rows.
  cIco narrow;
  narrow.AddImage(10, 3, 4, -1);
  narrow.AddImage(10, 3, 24, -1);
  const Bytes f = SaveAndRead(narrow, "narrow.ico");
  EXPECT_EQ(f[6 + 2], 16);
  EXPECT_EQ(U32(f, 6 + 8), 40u + 64u + 3u * 8u + 3u * 4u);
  EXPECT_EQ(U32(f, 22 + 8), 40u + 3u * 32u + 3u * 4u);
}

TEST_F(IcoFormatTest, LargeImagesWriteZeroSizeBytes) {
  cIco doc;
  doc.AddImage(256, 256, 32, -1);
  const Bytes f = SaveAndRead(doc, "big.ico");
  EXPECT_EQ(f[6], 0);
  EXPECT_EQ(f[7], 0);
  EXPECT_EQ(U32(f, 22 + 4), 256u);
  EXPECT_EQ(U32(f, 22 + 8), 512u);
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "big.ico").string()));
  EXPECT_EQ(back.Width(0), 256);
  EXPECT_EQ(back.Height(0), 512);
}

// --- Reading files written by hand ---

TEST_F(IcoFormatTest, ReadsEveryDepthBottomRowFirst) {
  // 1 bit, 3 x 2: palette red / blue; top row bits 1 0 1, bottom row 0 1 0.
  Bytes one = BitmapHeader(3, 4, 1);
  one.insert(one.end(), {0, 0, 255, 0, 255, 0, 0, 0});
  one.insert(one.end(), {0x40, 0, 0, 0, 0xA0, 0, 0, 0});  // XOR, bottom row first
  one.insert(one.end(), {0x80, 0, 0, 0, 0x00, 0, 0, 1});  // AND: bottom-left transparent; a padding bit
  // 4 bit, 3 x 1: nibbles 1, 2, 15.
  Bytes four = BitmapHeader(3, 2, 4);
  for (int k = 0; k < 16; ++k) four.insert(four.end(), {static_cast<std::uint8_t>(k), 0, 0, 0});
  four.insert(four.end(), {0x12, 0xF0, 0, 0, 0, 0, 0, 0});
  // 8 bit, 2 x 1: entries 200 and 7.
  Bytes eight = BitmapHeader(2, 2, 8);
  for (int k = 0; k < 256; ++k) eight.insert(eight.end(), {0, static_cast<std::uint8_t>(k), 0, 0});
  eight.insert(eight.end(), {200, 7, 0, 0, 0x40, 0, 0, 0});
  // 24 bit, 1 x 1, blue 1 green 2 red 3.
  Bytes rgb = BitmapHeader(1, 2, 24);
  rgb.insert(rgb.end(), {1, 2, 3, 0, 0, 0, 0, 0});
  // 32 bit, 1 x 1 with alpha 128.
  Bytes rgba = BitmapHeader(1, 2, 32);
  rgba.insert(rgba.end(), {4, 5, 6, 128, 0, 0, 0, 0});

  cIco doc;
  ASSERT_TRUE(OpenBytes(doc, HandFile(1, {{one, 1, 1}, {four, 1, 4}, {eight}, {rgb}, {rgba, 5, 9}})));
  ASSERT_EQ(doc.IconCount(), 5);
  EXPECT_FALSE(doc.NewIcon());
  const Colour red = MakeColour(255, 0, 0), blue = MakeColour(0, 0, 255);
  EXPECT_EQ(doc.XYColor(0, 0, 0), blue);
  EXPECT_EQ(doc.XYColor(0, 1, 0), red);
  EXPECT_EQ(doc.XYColor(0, 2, 0), blue);
  EXPECT_EQ(doc.XYColor(0, 1, 1), blue);
  EXPECT_EQ(doc.XYMask(0, 0, 1), MaskTransparent);
  EXPECT_EQ(doc.XYMask(0, 1, 1), MaskOpaque);
  EXPECT_EQ(doc.XYMask(0, 31, 0), MaskTransparent);  // padding bits are kept
  EXPECT_EQ(doc.Image(0).Palette, (std::vector<Colour>{red, blue}));
  EXPECT_EQ(doc.XYColor(1, 0, 0), MakeColour(0, 0, 1));
  EXPECT_EQ(doc.XYColor(1, 1, 0), MakeColour(0, 0, 2));
  EXPECT_EQ(doc.XYColor(1, 2, 0), MakeColour(0, 0, 15));
  EXPECT_EQ(doc.XYColor(2, 0, 0), MakeColour(0, 200, 0));
  EXPECT_EQ(doc.XYColor(2, 1, 0), MakeColour(0, 7, 0));
  EXPECT_EQ(doc.XYMask(2, 1, 0), MaskTransparent);
  EXPECT_EQ(doc.XYColor(3, 0, 0), MakeColour(3, 2, 1));
  EXPECT_EQ(doc.XYColor(4, 0, 0), MakeColour(6, 5, 4));
  EXPECT_EQ(doc.xHotSpot(4), 5);
  EXPECT_EQ(doc.yHotSpot(4), 9);
  EXPECT_EQ(doc.xHotSpot(1), 1);  // an icon's planes and bit count bytes come in as hot spot
  EXPECT_EQ(doc.yHotSpot(1), 4);
  EXPECT_EQ(doc.Image(3).Palette.size(), 256u);

  // Saved again: the hot spot bytes go back in place, and the alpha byte is dropped.
  const Bytes saved = SaveAndRead(doc, "out.cur");
  EXPECT_EQ(saved[6 + 16 * 4 + 4], 5);
  EXPECT_EQ(saved[6 + 16 * 4 + 6], 9);
  const std::uint32_t rgbaBlock = U32(saved, 6 + 16 * 4 + 12);
  EXPECT_EQ(Bytes(saved.begin() + rgbaBlock + 40, saved.begin() + rgbaBlock + 44), (Bytes{4, 5, 6, 0}));
}

TEST_F(IcoFormatTest, ThirtyTwoBitImageWithoutAndRowsTakesItsMaskFromAlpha) {
  Bytes block = BitmapHeader(2, 2, 32);
  block.insert(block.end(), {1, 1, 1, 255, 2, 2, 2, 0});  // no AND rows follow
  cIco doc;
  ASSERT_TRUE(OpenBytes(doc, HandFile(1, {{block}})));
  EXPECT_EQ(doc.XYMask(0, 0, 0), MaskOpaque);
  EXPECT_EQ(doc.XYMask(0, 1, 0), MaskTransparent);
  EXPECT_EQ(doc.XYColor(0, 1, 0), MakeColour(2, 2, 2));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// --- Colours and masks as they are written ---

TEST_F(IcoFormatTest, PalettedPixelsAreWrittenByExactLookup) {
  cIco doc;
  doc.AddImage(4, 1, 4, -1);
  doc.PaletteColor(0, 5, kWhite);                  // entries 0 and 5 both white
  doc.XYColor(0, 0, 0, kWhite);
  doc.XYColor(0, 1, 0, MakeColour(1, 2, 3));       // not in the palette
  doc.XYColor(0, 2, 0, doc.PaletteColor(0, 9));
  const Bytes f = SaveAndRead(doc, "p.ico");
  const std::size_t rows = 22 + 40 + 64;
  EXPECT_EQ(f[rows], 0x00);      // white -> 0, missing colour -> 0
  EXPECT_EQ(f[rows + 1], 0x9F);  // entry 9, then the untouched black pixel: entry 15
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "p.ico").string()));
  EXPECT_EQ(back.XYColor(0, 1, 0), kWhite);  // became entry 0's colour
}

TEST_F(IcoFormatTest, ComplementAndInvertingPixels) {
  for (int depth : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(depth);
    cIco doc;
    doc.AddImage(2, 1, static_cast<std::int16_t>(depth), -1);
    doc.XYColor(0, 0, 0, kWhite);
    doc.XYMask(0, 0, 0, MaskComplement);
    doc.XYColor(0, 1, 0, kNoColour);  // inverting pixel under MaskTransparent
    const Bytes f = SaveAndRead(doc, "c.ico");
    const std::size_t xor0 = 22 + 40 + (depth == 1 ? 8 : depth == 4 ? 64 : depth == 8 ? 1024 : 0);
    const std::size_t andRow = xor0 + XorRowBytes(2, depth);
    EXPECT_EQ(f[andRow], 0xC0);  // both not opaque
    cIco back;
    ASSERT_TRUE(back.OpenIcon((dir_ / "c.ico").string()));
    EXPECT_EQ(back.XYMask(0, 0, 0), MaskTransparent);
    switch (depth) {
      case 1:  // the plain colour rule: white is not entry 0 (black), nor is -1
        EXPECT_EQ(f[xor0], 0xC0);
        break;
      case 4:  // complement of white is black = entry 15; the inverting pixel takes entry 0
        EXPECT_EQ(f[xor0], 0xF0);
        break;
      case 8:
        EXPECT_EQ(f[xor0], 15);
        EXPECT_EQ(f[xor0 + 1], 0);
        break;
      default:
        EXPECT_TRUE(std::all_of(f.begin() + xor0, f.begin() + xor0 + 2 * depth / 8,
                                [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(back.XYColor(0, 0, 0), kBlack);
        EXPECT_EQ(back.XYColor(0, 1, 0), kBlack);
    }
  }
}

// --- Round trips ---

void FillRandomly(cIco& doc, std::int16_t index, std::mt19937& rng) {
  const IconImage& image = doc.Image(index);
  const bool paletted = image.BitDepth <= 8;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Pixels.Columns(); ++x) {
      const Colour c = paletted ? image.Palette[rng() % image.Palette.size()]
                                : static_cast<Colour>(rng() & 0xFFFFFF);
      doc.XYColor(index, static_cast<float>(x), static_cast<float>(y), c);
    }
    for (int x = 0; x < image.Mask.Columns(); ++x) {
      doc.XYMask(index, static_cast<float>(x), static_cast<float>(y),
                 rng() % 3 == 0 ? MaskTransparent : MaskOpaque);
    }
  }
}

TEST_F(IcoFormatTest, EveryDepthRoundTripsAndSavesIdentically) {
  std::mt19937 rng(1234);
  cIco doc;
  const int sizes[][2] = {{1, 1}, {16, 16}, {33, 7}, {48, 48}, {5, 40}};
  for (int depth : {1, 4, 8, 24, 32}) {
    for (const auto& size : sizes) {
      doc.AddImage(static_cast<std::int16_t>(size[0]), static_cast<std::int16_t>(size[1]),
                   static_cast<std::int16_t>(depth), -1);
      const auto i = static_cast<std::int16_t>(doc.IconCount() - 1);
      if (depth <= 8) {
        for (std::size_t k = 0; k < doc.Image(i).Palette.size(); ++k) {
          doc.Image(i).Palette[k] = static_cast<Colour>(rng() & 0xFFFFFF);
        }
      }
      FillRandomly(doc, i, rng);
      doc.xHotSpot(i, static_cast<std::int16_t>(size[0] / 2));
      doc.yHotSpot(i, static_cast<std::int16_t>(size[1] / 3));
    }
  }
  const Bytes first = SaveAndRead(doc, "all.cur");
  test::KeepFuzzSeed("ico", "all-depths.cur", first);
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "all.cur").string()));
  ASSERT_EQ(back.IconCount(), doc.IconCount());
  for (std::int16_t i = 0; i < doc.IconCount(); ++i) {
    EXPECT_EQ(back.Image(i), doc.Image(i)) << "image " << i;
  }
  EXPECT_EQ(SaveAndRead(back, "again.cur"), first);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// --- Depths and encodings that are not supported ---

TEST_F(IcoFormatTest, SixteenBitAndPngImagesAreLeftOutWithAMessage) {
  Bytes sixteen = BitmapHeader(2, 4, 16);
  sixteen.resize(sixteen.size() + 8 + 8, 0);
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
  png.resize(64, 0);
  Bytes good = BitmapHeader(1, 2, 24);
  good.insert(good.end(), {9, 9, 9, 0, 0, 0, 0, 0});
  cIco doc;
  ASSERT_TRUE(OpenBytes(doc, HandFile(1, {{good}, {sixteen}, {png}, {good}})));
  EXPECT_EQ(doc.IconCount(), 2);
  ASSERT_EQ(backEnd_.prompter.shown.size(), 2u);
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "16 bit icons are not currently supported");
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Brixel");
  EXPECT_EQ(backEnd_.prompter.shown[0].buttons, Prompter::Buttons::Ok);
  EXPECT_NE(backEnd_.prompter.shown[1].text.find("Image 3 is PNG-compressed"), std::string::npos);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());

  cIco onlyPng;
  EXPECT_FALSE(OpenBytes(onlyPng, HandFile(1, {{png}})));
}

// --- Hostile files ---

TEST_F(IcoFormatTest, HostileFilesFailWithAReport) {
  Bytes good = BitmapHeader(1, 2, 24);
  good.insert(good.end(), {9, 9, 9, 0, 0, 0, 0, 0});
  const Bytes valid = HandFile(1, {{good}});

  struct Case {
    const char* name;
    Bytes file;
    int number;
  };
  std::vector<Case> cases;
  cases.push_back({"truncated header", Bytes{0, 0, 1}, 62});
  Bytes many = {0, 0, 1, 0, 255, 0};
  many.resize(50, 0xFF);
  cases.push_back({"255 images in 50 bytes", many, 62});
  Bytes pastEnd = valid;
  pastEnd[6 + 12] = 0xF0;  // block offset far past the end
  cases.push_back({"block past the end", pastEnd, 62});
  Bytes wraps = valid;
  for (int k = 8; k < 16; ++k) wraps[6 + k] = 0xFF;  // size and offset 0xFFFFFFFF
  cases.push_back({"wrapping offset", wraps, 62});
  Bytes huge = HandFile(1, {{BitmapHeader(30000, 60000, 1)}});
  huge.resize(200, 0);
  cases.push_back({"30000 x 30000 in 200 bytes", huge, 6});
  Bytes large = HandFile(1, {{BitmapHeader(3000, 6000, 32)}});
  large.resize(200, 0);
  cases.push_back({"3000 x 3000 in 200 bytes", large, 62});
  Bytes zeroWidth = HandFile(1, {{BitmapHeader(0, 2, 24)}});
  cases.push_back({"zero width", zeroWidth, 5});
  Bytes topDown = HandFile(1, {{BitmapHeader(1, -2, 24)}});
  topDown.resize(topDown.size() + 8, 0);
  cases.push_back({"negative height", topDown, 5});
  Bytes truncatedRows = valid;
  truncatedRows.resize(valid.size() - 6);
  truncatedRows[6 + 8] = static_cast<std::uint8_t>(truncatedRows[6 + 8] - 6);
  cases.push_back({"rows cut short", truncatedRows, 62});
  // Every entry points at one block: read 255 times, it would stand for far more than the
  // file holds.
  Bytes sharedBlock = BitmapHeader(32, 64, 1);
  sharedBlock.resize(40 + 8 + 2 * 4 * 32, 0);
  Bytes shared = {0, 0, 1, 0, 255, 0};
  for (int i = 0; i < 255; ++i) {
    shared.insert(shared.end(), {32, 32, 2, 0, 1, 0, 1, 0});
    Put32(shared, static_cast<std::uint32_t>(sharedBlock.size()));
    Put32(shared, 6 + 16 * 255);
  }
  shared.insert(shared.end(), sharedBlock.begin(), sharedBlock.end());
  cases.push_back({"255 entries sharing one block", shared, 62});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    backEnd_.reporter.reports.clear();
    cIco doc;
    EXPECT_FALSE(OpenBytes(doc, c.file));
    ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
    EXPECT_EQ(ReportNumber(), c.number);
    EXPECT_TRUE(doc.NewIcon());
    EXPECT_EQ(doc.IconPath(), "");
    test::KeepFuzzSeed("ico", std::string("hostile-") + std::to_string(&c - cases.data()), c.file);
  }
}

TEST_F(IcoFormatTest, NoImagesIsFalseWithoutAReport) {
  cIco doc;
  EXPECT_FALSE(OpenBytes(doc, Bytes{0, 0, 1, 0, 0, 1}));  // the count's low byte is 0
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_FALSE(doc.OpenIcon((dir_ / "missing.ico").string()));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_EQ(ReportNumber(), 53);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.cIco.OpenIcon"), std::string::npos);
}

// --- Saving safely ---

TEST_F(IcoFormatTest, ValuesThatDoNotFitTheFileFailBeforeTheFileIsTouched) {
  const fs::path target = dir_ / "keep.ico";
  test::WriteBytes(target, {1, 2, 3});
  cIco many;
  for (int i = 0; i < 256; ++i) many.AddImage(1, 1, 1, -1);
  EXPECT_FALSE(many.SaveIcon(target.string()));
  cIco hot;
  hot.AddImage(300, 2, 24, -1);
  hot.xHotSpot(0, 280);
  EXPECT_FALSE(hot.SaveIcon(target.string()));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 2u);
  EXPECT_EQ(ReportNumber(0), 6);
  EXPECT_EQ(ReportNumber(1), 6);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.cIco.SaveIcon"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{1, 2, 3}));
  EXPECT_EQ(hot.IconPath(), "");
}

TEST_F(IcoFormatTest, ReadOnlyTargetIsReplacedOnlyWhenTheUserAgrees) {
  const fs::path target = dir_ / "ro.ico";
  test::WriteBytes(target, {1, 2, 3});
  ::chmod(target.c_str(), 0444);
  cIco doc;
  doc.AddImage(16, 16, 8, -1);

  EXPECT_FALSE(doc.SaveIcon(target.string()));  // scripted answer: No
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Read Only File");
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "The file is read only, Overwrite anyway?");
  EXPECT_EQ(backEnd_.prompter.shown[0].buttons, Prompter::Buttons::YesNo);
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{1, 2, 3}));

  backEnd_.prompter.answers = {Prompter::Answer::Yes};
  EXPECT_TRUE(doc.SaveIcon(target.string()));
  EXPECT_EQ(ReadWholeFile(target.string()).size(), 22u + 40u + 1024u + 16u * 16u + 16u * 4u);
  EXPECT_EQ(doc.IconPath(), target.string());
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(IcoFormatTest, FailedSaveReportsAndKeepsThePath) {
  cIco doc;
  doc.AddImage(16, 16, 8, -1);
  doc.IconPath("/original.ico");
  EXPECT_FALSE(doc.SaveIcon((dir_ / "missing-folder" / "x.ico").string()));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.cIco.SaveIcon"), std::string::npos);
  EXPECT_EQ(doc.IconPath(), "/original.ico");
}

}  // namespace
}  // namespace brixel
