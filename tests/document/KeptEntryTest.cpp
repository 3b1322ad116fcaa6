// Entries the reader cannot show are kept: the document holds their bytes and directory
// values, shows nothing for them, and a save writes them back unchanged at their place.

#include <gtest/gtest.h>

#include <algorithm>

#include "AlphaChannel.h"
#include "AniTestFiles.h"
#include "ByteOrder.h"
#include "IcoFile.h"
#include "KeptEntryFiles.h"
#include "TestSupport.h"
#include "Thumbnail.h"
#include "cAni.h"
#include "cIco.h"

namespace brixel {
namespace {

using test::Put32;

// A bitmap header of headerSize bytes with these fields (the rest 0).
Bytes Header(std::uint32_t headerSize, std::int32_t width, std::int32_t dibHeight, int bitCount,
             std::uint32_t compression = 0) {
  Bytes h;
  Put32(h, headerSize);
  Put32(h, static_cast<std::uint32_t>(width));
  Put32(h, static_cast<std::uint32_t>(dibHeight));
  h.insert(h.end(), {1, 0, static_cast<std::uint8_t>(bitCount), static_cast<std::uint8_t>(bitCount >> 8)});
  Put32(h, compression);
  h.resize(headerSize, 0);
  return h;
}

Bytes WithData(Bytes block, std::size_t bytes, std::uint8_t value = 0x5A) {
  block.insert(block.end(), bytes, value);
  return block;
}

const std::vector<std::uint8_t> kIconDirectory = {8, 8, 0, 0, 1, 0, 24, 0};

class KeptEntryTest : public ::testing::Test {
 protected:
  bool Open(cIco& doc, const Bytes& file, const std::string& name = "in.ico") {
    test::WriteBytes(dir_ / name, file);
    return doc.OpenIcon((dir_ / name).string());
  }
  Bytes Save(cIco& doc, const std::string& name) {
    EXPECT_TRUE(doc.SaveIcon((dir_ / name).string()));
    return ReadWholeFile((dir_ / name).string());
  }
  // Entry i of an icon file: its directory bytes 0 .. 7 and its block.
  static std::pair<Bytes, Bytes> EntryIn(const Bytes& file, std::size_t i) {
    const std::size_t at = 6 + 16 * i;
    const std::uint32_t size = GetLength(file, at + 8), offset = GetLength(file, at + 12);
    return {Bytes(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + 8)),
            Bytes(file.begin() + offset, file.begin() + offset + size)};
  }

  test::BackEndFixture backEnd_;
  test::TempDir dir_;
};

TEST_F(KeptEntryTest, AnIconWithADamagedPngAmongEighteenOpensWithItsSeventeenImagesAndSavesItBack) {
  const Bytes damaged = test::DamagedPng();
  ASSERT_FALSE(damaged.empty());
  const Bytes file = test::IconWithDamagedPng();
  test::KeepFuzzSeed("ico", "damaged-png-among-18.ico", file);
  const std::vector<IconImage> good = test::SeventeenImages();
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "keeping alpha" : "dropping alpha");
    KeepAlpha(keep);
    cIco doc;
    ASSERT_TRUE(Open(doc, file));
    ASSERT_EQ(doc.IconCount(), 18);
    for (std::size_t i = 0, g = 0; i < 18; ++i) {
      if (i == test::kDamagedEntry) continue;
      IconImage expected = good[g++];
      // An icon's entries carry their planes and bit count where a cursor has its hot spot.
      expected.xHotSpot = 1;
      expected.yHotSpot = expected.BitDepth;
      EXPECT_EQ(doc.Images()[i], expected) << i;
    }
    const IconImage& kept = doc.Images()[test::kDamagedEntry];
    ASSERT_TRUE(kept.IsKept());
    EXPECT_EQ(kept.Kept.entry->reason, "damaged PNG");
    EXPECT_EQ(std::make_pair(kept.Kept.entry->width, kept.Kept.entry->height), std::make_pair(256, 256));
    EXPECT_EQ(kept.Kept.entry->block, damaged);
    EXPECT_EQ(kept.Width, 0);  // nothing to draw or edit
    EXPECT_TRUE(backEnd_.reporter.reports.empty());
    EXPECT_TRUE(backEnd_.prompter.shown.empty());

    // Saved, the damaged entry is written back unchanged at its place in the directory.
    const Bytes saved = Save(doc, "saved.ico");
    EXPECT_EQ(saved[4], 18);
    const auto [directory, block] = EntryIn(saved, test::kDamagedEntry);
    EXPECT_EQ(directory, Bytes(test::kDamagedDirectory.begin(), test::kDamagedDirectory.end()));
    EXPECT_EQ(block, damaged);
    cIco back;
    ASSERT_TRUE(Open(back, saved, "saved.ico"));
    EXPECT_EQ(back.Images(), doc.Images());
    EXPECT_EQ(Save(back, "again.ico"), saved);

    // Its thumbnail is drawn from the others: the largest, 96 x 96, for a 256 thumbnail.
    const std::vector<IconImage> shown = ShownImages(file);
    ASSERT_EQ(shown.size(), 17u);
    EXPECT_EQ(shown[ThumbnailImageIndex(shown, 256)].Width, 96);
    EXPECT_NE(ThumbnailImageIndex(doc.Images(), 256), test::kDamagedEntry);
    EXPECT_EQ(MakeThumbnail(shown[ThumbnailImageIndex(shown, 256)], 256).Width, 192);
  }
  KeepAlpha(true);
}

// A damaged PNG is charged to the file's budget as its bytes only, not also for the rows its
// header promised before the damage showed: a file whose entries are packed without a spare
// byte (as a save writes them) must read again.
TEST_F(KeptEntryTest, ADamagedPngBesideOneSmallImageInATightFileReadsAgainAfterASave) {
  const std::vector<IconImage> good = test::SeventeenImages();
  const auto small = std::min_element(good.begin(), good.end(), [](const IconImage& a, const IconImage& b) {
    return BuildImageData(a).size() < BuildImageData(b).size();
  });
  const Bytes file = test::HandIconFile({test::EntryOf(*small), {test::DamagedPng(), test::kDamagedDirectory}});
  cIco doc;
  ASSERT_TRUE(Open(doc, file));
  ASSERT_EQ(doc.IconCount(), 2);
  EXPECT_TRUE(doc.Images()[1].IsKept());
  const Bytes saved = Save(doc, "saved.ico");
  cIco back;
  ASSERT_TRUE(Open(back, saved, "saved.ico"));
  EXPECT_EQ(back.Images(), doc.Images());
}

TEST_F(KeptEntryTest, EveryKindOfEntryThatCannotBeShownIsKeptWithItsReason) {
  Bytes palette8(1024, 0);
  const struct {
    const char* reason;  // nullptr: read as an image
    Bytes block;
  } kinds[] = {
      {nullptr, WithData(Header(40, 1, 2, 24), 8)},
      {"16-bit colour", WithData(Header(40, 8, 16, 16), 8 * 16 + 4 * 8)},
      {"2-bit colour", WithData(Header(40, 8, 16, 2), 16 + 4 * 8 + 4 * 8)},
      {"unknown header", WithData(Header(12, 8, 16, 24), 200)},
      {"compressed bitmap", WithData(Header(40, 8, 16, 8, 1), 1024 + 40)},  // RLE8
      {"compressed bitmap", WithData(Header(40, 8, 16, 32, 3), 12 + 8 * 32 + 8 * 4)},  // masks after the header
      {"compressed bitmap", WithData(Header(40, 8, 16, 0, 4), 64)},  // a JPEG inside
      {"data cut short", WithData(Header(40, 8, 16, 24), 50)},
      {"invalid size", WithData(Header(40, 0, 16, 24), 100)},
      {"damaged PNG", test::DamagedPng(32)},
      {"no data", Bytes()},
  };
  std::vector<test::HandEntry> entries;
  for (const auto& kind : kinds) entries.push_back({kind.block, kIconDirectory});
  Bytes file = test::HandIconFile(entries);
  // The last entry's block starts past the end of the file.
  const std::size_t last = 6 + 16 * (std::size(kinds) - 1);
  file[last + 12] = 0xF0, file[last + 13] = 0xFF, file[last + 14] = 0xFF;
  test::KeepFuzzSeed("ico", "every-kept-kind.ico", file);

  cIco doc;
  ASSERT_TRUE(Open(doc, file));
  ASSERT_EQ(doc.IconCount(), static_cast<std::int16_t>(std::size(kinds)));
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    SCOPED_TRACE(i);
    const IconImage& image = doc.Images()[i];
    if (!kinds[i].reason) {
      EXPECT_FALSE(image.IsKept());
      continue;
    }
    ASSERT_TRUE(image.IsKept());
    EXPECT_EQ(image.Kept.entry->reason, kinds[i].reason);
    EXPECT_EQ(image.Kept.entry->block, kinds[i].block);
    EXPECT_EQ(Bytes(image.Kept.entry->directory.begin(), image.Kept.entry->directory.end()), Bytes(kIconDirectory.begin(), kIconDirectory.end()));
  }
  // The placeholder's size comes from the header where it has one, else from the directory.
  EXPECT_EQ(std::make_pair(doc.Images()[1].Kept.entry->width, doc.Images()[1].Kept.entry->height), std::make_pair(8, 8));
  EXPECT_EQ(std::make_pair(doc.Images()[9].Kept.entry->width, doc.Images()[9].Kept.entry->bitCount), std::make_pair(32, 32));
  EXPECT_EQ(doc.Images()[1].Kept.entry->bitCount, 16);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_TRUE(backEnd_.prompter.shown.empty());

  const Bytes saved = Save(doc, "kept.ico");
  for (std::size_t i = 1; i < std::size(kinds); ++i) {
    SCOPED_TRACE(i);
    const auto [directory, block] = EntryIn(saved, i);
    EXPECT_EQ(directory, Bytes(kIconDirectory.begin(), kIconDirectory.end()));
    EXPECT_EQ(block, kinds[i].block);
  }
  cIco back;
  ASSERT_TRUE(Open(back, saved, "kept.ico"));
  EXPECT_EQ(back.Images(), doc.Images());
  EXPECT_EQ(Save(back, "again.ico"), saved);
}

TEST_F(KeptEntryTest, BitFieldsOfTheUsualMasksInAV4HeaderAreReadAsPlainRows) {
  Bytes header = Header(108, 1, 2, 32, 3);
  for (const auto& [at, mask] : {std::pair{40, 0x00FF0000u}, {44, 0x0000FF00u}, {48, 0x000000FFu}, {52, 0xFF000000u}}) {
    for (int i = 0; i < 4; ++i) header[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(mask >> (8 * i));
  }
  header.insert(header.end(), {30, 20, 10, 255, 0, 0, 0, 0});  // one pixel, then its AND row
  cIco doc;
  ASSERT_TRUE(Open(doc, test::HandIconFile({{header, kIconDirectory}})));
  ASSERT_FALSE(doc.Image(0).IsKept());
  EXPECT_EQ(doc.Image(0).Pixels.At(0, 0), MakeColour(10, 20, 30));
}

TEST_F(KeptEntryTest, AFileWhoseEntriesAllFailStillFailsAsTheFirstOneDoes) {
  cIco doc;
  EXPECT_FALSE(Open(doc, test::HandIconFile({{test::DamagedPng(16), kIconDirectory}, {Bytes(), kIconDirectory}})));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("invalid literal/lengths set"), std::string::npos);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.mTranslate.TranslateIcon"), std::string::npos);
  EXPECT_EQ(doc.IconCount(), 0);
  EXPECT_TRUE(doc.NewIcon());
}

// Animated cursors keep the entries of their frames the same way, and a frame of nothing but
// kept entries stays a frame of its own with its steps.
TEST_F(KeptEntryTest, FramesOfAnAnimatedCursorKeepTheirEntriesThatCannotBeShown) {
  using namespace test;
  const IconImage a = FrameImage(32, 8, PaletteColour(8, 3), 2, 3), b = FrameImage(32, 24, MakeColour(200, 10, 20), 2, 3);
  ASSERT_FALSE(DamagedPng(32).empty());
  const Bytes damagedFrame = HandIconFile({{DamagedPng(32), {32, 32, 0, 0, 2, 0, 3, 0}}}, 2);
  const Bytes mixedFrame = HandIconFile({{BuildImageData(b), {32, 32, 0, 0, 2, 0, 3, 0}},
                                         {DamagedPng(48), {48, 48, 0, 0, 2, 0, 3, 0}}}, 2);
  const Bytes file = Riff("ACON", {Anih(3, 4, 6, kIconFlag | kSequenceFlag), Steps("rate", {6, 7, 8, 9}),
                                   Steps("seq ", {0, 1, 2, 1}),
                                   List("fram", {Icon({a}), Chunk("icon", damagedFrame), Chunk("icon", mixedFrame)})});
  KeepFuzzSeed("ani", "kept-frames.ani", file);
  cAni cursor;
  ASSERT_TRUE(cursor.ReadAniData(file));
  ASSERT_EQ(cursor.IconCount(), 4);
  EXPECT_EQ(cursor.FrameSizes(), (std::vector<std::size_t>{1, 1, 2}));
  EXPECT_EQ(cursor.Steps(), (std::vector<AniStep>{{0, 6}, {1, 7}, {2, 8}, {1, 9}}));
  EXPECT_TRUE(cursor.Image(1).IsKept());
  EXPECT_TRUE(cursor.Image(3).IsKept());
  EXPECT_EQ(cursor.Image(2), b);
  EXPECT_TRUE(backEnd_.prompter.shown.empty());

  const Bytes saved = BuildAniFile(cursor.Images(), cursor.Info());
  cAni back;
  ASSERT_TRUE(back.ReadAniData(saved));
  EXPECT_EQ(back.Images(), cursor.Images());
  EXPECT_EQ(back.Steps(), cursor.Steps());
  EXPECT_EQ(back.Image(1).Kept.entry->block, DamagedPng(32));
  // The thumbnail shows the frame of the first step.
  EXPECT_EQ(ShownImages(saved).front(), a);

  // A cursor of kept frames only fails as they do.
  cAni none;
  EXPECT_FALSE(none.ReadAniData(Riff("ACON", {Anih(1, 1, 6), List("fram", {Chunk("icon", damagedFrame)})})));
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_EQ(none.IconCount(), 0);
}

}  // namespace
}  // namespace brixel
