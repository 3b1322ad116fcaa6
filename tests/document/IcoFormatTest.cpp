#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "AlphaChannel.h"
#include "AniTestFiles.h"
#include "ByteOrder.h"
#include "IcoFile.h"
#include "RowTranslation.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using test::Put32;

struct HandBlock {
  Bytes data;               // bitmap header onward
  std::uint8_t entry4 = 0;  // planes / hot-spot x byte
  std::uint8_t entry6 = 0;  // bit count / hot-spot y byte
};

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

// A 1 x 1 true-colour block.
Bytes GoodBlock() {
  Bytes good = BitmapHeader(1, 2, 24);
  good.insert(good.end(), {9, 9, 9, 0, 0, 0, 0, 0});
  return good;
}

std::uint32_t U32(const Bytes& b, std::size_t at) { return GetLength(b, at); }

class IcoFormatTest : public ::testing::Test {
 protected:
  Bytes SaveAndRead(cIco& doc, const std::string& name) {
    EXPECT_TRUE(doc.SaveIcon((dir_ / name).string()));
    return ReadWholeFile((dir_ / name).string());
  }
  bool OpenBytes(cIco& doc, const Bytes& file) {
    test::WriteBytes(dir_ / "in.ico", file);
    return doc.OpenIcon((dir_ / "in.ico").string());
  }
  int ReportNumber(std::size_t i = 0) {
    const std::string& r = backEnd_.reporter.reports.at(i);
    return std::stoi(r.substr(r.find("Error Number: ") + 14));
  }

  test::BackEndFixture backEnd_;
  test::TempDir dir_;
};

TEST_F(IcoFormatTest, WritesHeaderDirectoryAndBlocksByteForByte) {
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
  EXPECT_EQ(Bytes(f.begin() + 6, f.begin() + 14), (Bytes{1, 1, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(f.begin() + 22, f.begin() + 26), (Bytes{32, 32, 0, 0}));
  EXPECT_EQ(f[38 + 2], 0);
  EXPECT_EQ(Bytes(f.begin() + 110, f.begin() + 126),
            (Bytes{40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 8, 0}));
  EXPECT_TRUE(std::all_of(f.begin() + 126, f.begin() + 150, [](std::uint8_t b) { return b == 0; }));

  // The type word follows the extension; 10 pixels wide: 8-byte 4-bit rows, 4-byte AND rows.
  cIco narrow;
  narrow.AddImage(10, 3, 4, -1);
  narrow.AddImage(10, 3, 24, -1);
  EXPECT_EQ(SaveAndRead(narrow, "a.cur")[2], 2);
  EXPECT_EQ(SaveAndRead(narrow, "a.bmp")[2], 2);
  const Bytes n = SaveAndRead(narrow, "narrow.ICO");
  EXPECT_EQ(n[2], 1);
  EXPECT_EQ(n[6 + 2], 16);
  EXPECT_EQ(U32(n, 6 + 8), 40u + 64u + 3u * 8u + 3u * 4u);
  EXPECT_EQ(U32(n, 22 + 8), 40u + 3u * 32u + 3u * 4u);

  // 256 pixels do not fit the size bytes: written as 0, read back as 256.
  cIco big;
  big.AddImage(256, 256, 32, -1);
  const Bytes b = SaveAndRead(big, "big.ico");
  EXPECT_EQ(b[6], 0);
  EXPECT_EQ(b[7], 0);
  EXPECT_EQ(U32(b, 22 + 8), 512u);
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "big.ico").string()));
  EXPECT_EQ(back.Width(0), 256);
  EXPECT_EQ(back.Height(0), 512);
}

TEST_F(IcoFormatTest, ReadsEveryDepthBottomRowFirst) {
  // 1 bit, 3 x 2: palette red / blue; top row bits 1 0 1, bottom row 0 1 0.
  Bytes one = BitmapHeader(3, 4, 1);
  one.insert(one.end(), {0, 0, 255, 0, 255, 0, 0, 0});
  one.insert(one.end(), {0x40, 0, 0, 0, 0xA0, 0, 0, 0});  // XOR, bottom row first
  one.insert(one.end(), {0x80, 0, 0, 0, 0x00, 0, 0, 1});  // AND: bottom-left transparent; a padding bit
  Bytes four = BitmapHeader(3, 2, 4);  // nibbles 1, 2, 15
  for (int k = 0; k < 16; ++k) four.insert(four.end(), {static_cast<std::uint8_t>(k), 0, 0, 0});
  four.insert(four.end(), {0x12, 0xF0, 0, 0, 0, 0, 0, 0});
  Bytes eight = BitmapHeader(2, 2, 8);  // entries 200 and 7
  for (int k = 0; k < 256; ++k) eight.insert(eight.end(), {0, static_cast<std::uint8_t>(k), 0, 0});
  eight.insert(eight.end(), {200, 7, 0, 0, 0x40, 0, 0, 0});
  Bytes rgb = BitmapHeader(1, 2, 24);
  rgb.insert(rgb.end(), {1, 2, 3, 0, 0, 0, 0, 0});
  Bytes rgba = BitmapHeader(1, 2, 32);
  rgba.insert(rgba.end(), {4, 5, 6, 128, 0, 0, 0, 0});
  Bytes alphaOnly = BitmapHeader(2, 2, 32);  // no AND rows: the alpha makes the mask, and what
                                              // it hides is plain transparent
  alphaOnly.insert(alphaOnly.end(), {1, 1, 1, 255, 2, 2, 2, 0});

  cIco doc;
  ASSERT_TRUE(OpenBytes(doc, HandFile(1, {{one, 1, 1}, {four, 1, 4}, {eight}, {rgb}, {rgba, 5, 9}, {alphaOnly}})));
  ASSERT_EQ(doc.IconCount(), 6);
  EXPECT_FALSE(doc.NewIcon());
  const Colour red = MakeColour(255, 0, 0), blue = MakeColour(0, 0, 255);
  constexpr std::int32_t O = MaskOpaque, T = MaskTransparent;
  const struct {
    std::int16_t image;
    int x, y;
    Colour colour;
    std::int32_t mask;
  } pixels[] = {
      {0, 0, 0, blue, O}, {0, 1, 0, red, O}, {0, 2, 0, blue, O}, {0, 0, 1, red, T}, {0, 1, 1, blue, O},
      {1, 0, 0, MakeColour(0, 0, 1), O}, {1, 1, 0, MakeColour(0, 0, 2), O}, {1, 2, 0, MakeColour(0, 0, 15), O},
      {2, 0, 0, MakeColour(0, 200, 0), O}, {2, 1, 0, MakeColour(0, 7, 0), T}, {3, 0, 0, MakeColour(3, 2, 1), O},
      {4, 0, 0, MakeColour(6, 5, 4), O}, {5, 0, 0, MakeColour(1, 1, 1), O}, {5, 1, 0, kBlack, T}};
  for (const auto& p : pixels) {
    EXPECT_EQ(doc.XYColor(p.image, p.x, p.y), p.colour) << p.image << ": " << p.x << "," << p.y;
    EXPECT_EQ(doc.XYMask(p.image, p.x, p.y), p.mask) << p.image << ": " << p.x << "," << p.y;
  }
  EXPECT_EQ(doc.XYMask(0, 31, 0), MaskTransparent);  // padding bits are kept
  EXPECT_EQ(doc.Image(0).Palette, (std::vector<Colour>{red, blue}));
  EXPECT_EQ(doc.xHotSpot(4), 5);
  EXPECT_EQ(doc.yHotSpot(4), 9);
  EXPECT_EQ(doc.xHotSpot(1), 1);  // an icon's planes and bit count bytes come in as hot spot
  EXPECT_EQ(doc.yHotSpot(1), 4);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());

  // Saved again: the hot spot bytes go back in place, and the alpha byte is kept, or with the
  // option off dropped.
  const Bytes saved = SaveAndRead(doc, "out.cur");
  EXPECT_EQ(saved[6 + 16 * 4 + 4], 5);
  EXPECT_EQ(saved[6 + 16 * 4 + 6], 9);
  const std::uint32_t rgbaBlock = U32(saved, 6 + 16 * 4 + 12);
  EXPECT_EQ(Bytes(saved.begin() + rgbaBlock + 40, saved.begin() + rgbaBlock + 44), (Bytes{4, 5, 6, 128}));
  KeepAlpha(false);
  const Bytes dropped = SaveAndRead(doc, "dropped.cur");
  EXPECT_EQ(Bytes(dropped.begin() + rgbaBlock + 40, dropped.begin() + rgbaBlock + 44), (Bytes{4, 5, 6, 0}));
}

TEST_F(IcoFormatTest, PalettedPixelsAreWrittenByExactLookup) {
  cIco doc;
  doc.AddImage(4, 1, 4, -1);
  doc.PaletteColor(0, 5, kWhite);  // entries 0 and 5 both white
  doc.XYColor(0, 0, 0, kWhite);
  doc.XYColor(0, 1, 0, MakeColour(1, 2, 3));  // not in the palette
  doc.XYMask(0, 1, 0, MaskOpaque);  // (transparent, its entry 0 white would read as inverting)
  doc.XYColor(0, 2, 0, doc.PaletteColor(0, 9));
  const Bytes f = SaveAndRead(doc, "p.ico");
  const std::size_t rows = 22 + 40 + 64;
  EXPECT_EQ(f[rows], 0x00);      // white -> 0, missing colour -> 0
  EXPECT_EQ(f[rows + 1], 0x9F);  // entry 9, then the untouched black pixel: entry 15
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "p.ico").string()));
  EXPECT_EQ(back.XYColor(0, 1, 0), kWhite);
}

TEST_F(IcoFormatTest, ComplementAndInvertingPixels) {
  // Pixel 0: white under MaskComplement; pixel 1: inverting (-1 under MaskTransparent), which
  // is written over XOR white.
  const std::vector<std::pair<int, Bytes>> cases = {
      {1, {0xC0}},   // no complement at 1 bit: white is entry 1, and so is the inverting pixel
      {4, {0xF0}},   // complement of white is black = entry 15; white is entry 0
      {8, {15, 0}},
      {24, {0, 0, 0, 255, 255, 255}},
      {32, {0, 0, 0, 0, 255, 255, 255, 0}}};
  for (const auto& [depth, xorBytes] : cases) {
    SCOPED_TRACE(depth);
    cIco doc;
    doc.AddImage(2, 1, static_cast<std::int16_t>(depth), -1);
    doc.XYColor(0, 0, 0, kWhite);
    doc.XYMask(0, 0, 0, MaskComplement);
    doc.XYColor(0, 1, 0, kNoColour);
    const Bytes f = SaveAndRead(doc, "c.ico");
    const std::size_t xor0 = 22 + 40 + (depth == 1 ? 8 : depth == 4 ? 64 : depth == 8 ? 1024 : 0);
    EXPECT_EQ(Bytes(f.begin() + xor0, f.begin() + xor0 + xorBytes.size()), xorBytes);
    EXPECT_EQ(f[xor0 + XorRowBytes(2, depth)], 0xC0);  // AND row: both not opaque
    cIco back;
    ASSERT_TRUE(back.OpenIcon((dir_ / "c.ico").string()));
    EXPECT_EQ(back.XYMask(0, 0, 0), MaskTransparent);
    EXPECT_EQ(back.XYColor(0, 0, 0), depth == 1 ? kNoColour : kBlack);
    EXPECT_EQ(back.XYMask(0, 1, 0), MaskTransparent);
    EXPECT_EQ(back.XYColor(0, 1, 0), kNoColour);
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
      IconImage& image = doc.Image(i);
      if (depth <= 8) {
        for (Colour& c : image.Palette) c = static_cast<Colour>(rng() & 0xFFFFFF);
      }
      for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Pixels.Columns(); ++x) {
          image.Pixels.At(x, y) = depth <= 8 ? image.Palette[rng() % image.Palette.size()]
                                             : static_cast<Colour>(rng() & 0xFFFFFF);
        }
        for (int x = 0; x < image.Mask.Columns(); ++x) {
          image.Mask.At(x, y) = rng() % 3 == 0 ? MaskTransparent : MaskOpaque;
        }
      }
      doc.xHotSpot(i, static_cast<std::int16_t>(size[0] / 2));
      doc.yHotSpot(i, static_cast<std::int16_t>(size[1] / 3));
    }
  }
  const Bytes first = SaveAndRead(doc, "all.cur");
  test::KeepFuzzSeed("ico", "all-depths.cur", first);
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "all.cur").string()));
  ASSERT_EQ(back.IconCount(), doc.IconCount());
  for (std::int16_t i = 0; i < doc.IconCount(); ++i) EXPECT_EQ(back.Image(i), doc.Image(i)) << i;
  EXPECT_EQ(SaveAndRead(back, "again.cur"), first);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// Entries the reader cannot show are kept (KeptEntryTest); a file of nothing else still fails,
// with the message each of them used to give.
TEST_F(IcoFormatTest, AFileOfSixteenBitImagesAndUnknownHeadersOnlyFailsWithTheirMessages) {
  Bytes sixteen = BitmapHeader(2, 4, 16);
  sixteen.resize(sixteen.size() + 8 + 8, 0);
  Bytes core = GoodBlock();  // the 12-byte header of old bitmaps
  core[0] = 12;
  cIco doc;
  EXPECT_FALSE(OpenBytes(doc, HandFile(1, {{sixteen}, {core}})));
  EXPECT_EQ(doc.IconCount(), 0);
  ASSERT_EQ(backEnd_.prompter.shown.size(), 2u);
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "16 bit icons are not currently supported");
  EXPECT_EQ(backEnd_.prompter.shown[1].text,
            "Image 2 has a bitmap header of 12 bytes; only headers of 40, 108 and 124 bytes are supported");
  EXPECT_TRUE(backEnd_.reporter.reports.empty());

  // With one image that can be shown the file opens, quietly, the other two kept.
  backEnd_.prompter.shown.clear();
  ASSERT_TRUE(OpenBytes(doc, HandFile(1, {{GoodBlock()}, {sixteen}, {core}})));
  EXPECT_EQ(doc.IconCount(), 3);
  EXPECT_FALSE(doc.Image(0).IsKept());
  EXPECT_TRUE(doc.Image(1).IsKept() && doc.Image(2).IsKept());
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(IcoFormatTest, HostileFilesFailWithAReport) {
  const Bytes valid = HandFile(1, {{GoodBlock()}});
  const auto edited = [&](auto edit) {
    Bytes f = valid;
    edit(f);
    return f;
  };
  const auto sized = [](Bytes f, std::size_t size) {
    f.resize(size, 0);
    return f;
  };
  Bytes many = {0, 0, 1, 0, 255, 0};
  many.resize(50, 0xFF);
  // Every entry points at one block: read 255 times, it would stand for far more than the
  // file holds.
  Bytes shared = {0, 0, 1, 0, 255, 0};
  const Bytes sharedBlock = sized(BitmapHeader(32, 64, 1), 40 + 8 + 2 * 4 * 32);
  for (int i = 0; i < 255; ++i) {
    shared.insert(shared.end(), {32, 32, 2, 0, 1, 0, 1, 0});
    Put32(shared, static_cast<std::uint32_t>(sharedBlock.size()));
    Put32(shared, 6 + 16 * 255);
  }
  shared.insert(shared.end(), sharedBlock.begin(), sharedBlock.end());

  const struct {
    const char* name;
    Bytes file;
    int number;
  } cases[] = {
      {"truncated header", Bytes{0, 0, 1}, 62},
      {"255 images in 50 bytes", many, 62},
      {"block past the end", edited([](Bytes& f) { f[6 + 12] = 0xF0; }), 62},
      {"wrapping offset", edited([](Bytes& f) { std::fill(f.begin() + 14, f.begin() + 22, 0xFF); }), 62},
      {"30000 x 30000 in 200 bytes", sized(HandFile(1, {{BitmapHeader(30000, 60000, 1)}}), 200), 6},
      {"3000 x 3000 in 200 bytes", sized(HandFile(1, {{BitmapHeader(3000, 6000, 32)}}), 200), 62},
      {"zero width", HandFile(1, {{BitmapHeader(0, 2, 24)}}), 5},
      {"negative height", sized(HandFile(1, {{BitmapHeader(1, -2, 24)}}), 6 + 16 + 48), 5},
      {"rows cut short", edited([](Bytes& f) {
         f.resize(f.size() - 6);
         f[6 + 8] = static_cast<std::uint8_t>(f[6 + 8] - 6);
       }), 62},
      {"255 entries sharing one block", shared, 62},
  };
  int seed = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    backEnd_.reporter.reports.clear();
    cIco doc;
    EXPECT_FALSE(OpenBytes(doc, c.file));
    ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
    EXPECT_EQ(ReportNumber(), c.number);
    EXPECT_TRUE(doc.NewIcon());
    EXPECT_EQ(doc.IconPath(), "");
    test::KeepFuzzSeed("ico", "hostile-" + std::to_string(seed++), c.file);
  }
}

TEST_F(IcoFormatTest, NoImagesIsFalseWithoutAReportAndAMissingFileReports) {
  cIco doc;
  EXPECT_FALSE(OpenBytes(doc, Bytes{0, 0, 1, 0, 0, 1}));  // the count's low byte is 0
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_FALSE(doc.OpenIcon((dir_ / "missing.ico").string()));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_EQ(ReportNumber(), 53);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.cIco.OpenIcon"), std::string::npos);
}

TEST_F(IcoFormatTest, FailedSavesReportAndLeaveTheFileAndThePathAlone) {
  const fs::path target = dir_ / "keep.ico";
  test::WriteBytes(target, {1, 2, 3});
  cIco many;
  for (int i = 0; i < 256; ++i) many.AddImage(1, 1, 1, -1);
  EXPECT_FALSE(many.SaveIcon(target.string()));
  cIco hot;
  hot.AddImage(300, 2, 24, -1);
  hot.xHotSpot(0, 280);
  hot.IconPath("/original.ico");
  EXPECT_FALSE(hot.SaveIcon(target.string()));
  cIco plain;
  plain.AddImage(16, 16, 8, -1);
  plain.IconPath("/original.ico");
  EXPECT_FALSE(plain.SaveIcon((dir_ / "missing-folder" / "x.ico").string()));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 3u);
  EXPECT_EQ(ReportNumber(0), 6);
  EXPECT_EQ(ReportNumber(1), 6);
  for (const std::string& report : backEnd_.reporter.reports) {
    EXPECT_NE(report.find("PrjBackEnd.cIco.SaveIcon"), std::string::npos);
  }
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{1, 2, 3}));
  EXPECT_EQ(hot.IconPath(), "/original.ico");
  EXPECT_EQ(plain.IconPath(), "/original.ico");
}

TEST_F(IcoFormatTest, ReadOnlyTargetIsReplacedOnlyWhenTheUserAgrees) {
  const fs::path target = dir_ / "ro.ico";
  test::WriteBytes(target, {1, 2, 3});
  ::chmod(target.c_str(), 0444);
  cIco doc;
  doc.AddImage(16, 16, 8, -1);

  EXPECT_FALSE(doc.SaveIcon(target.string()));  // scripted answer: No
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "The file is read only, Overwrite anyway?");
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{1, 2, 3}));

  backEnd_.prompter.answers = {Prompter::Answer::Yes};
  EXPECT_TRUE(doc.SaveIcon(target.string()));
  EXPECT_EQ(ReadWholeFile(target.string()).size(), 22u + 40u + 1024u + 16u * 16u + 16u * 4u);
  EXPECT_EQ(doc.IconPath(), target.string());
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
}

}  // namespace
}  // namespace brixel
