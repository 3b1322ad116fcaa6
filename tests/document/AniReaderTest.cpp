#include <gtest/gtest.h>

#include <filesystem>

#include "AniTestFiles.h"
#include "ByteOrder.h"
#include "Documents.h"
#include "PngCodec.h"
#include "TestSupport.h"
#include "cAni.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using namespace test;

const Colour kRed = MakeColour(200, 10, 20);
const Colour kGreen = MakeColour(10, 180, 40);

// A cursor of one 8 x 8 true-colour frame.
Bytes OneFrame(std::uint32_t displayRate = 5) {
  return Riff("ACON", {Anih(1, 1, displayRate), List("fram", {Icon({FrameImage(8, 24, kRed)})})});
}

class AniReaderTest : public ::testing::Test {
 protected:
  // Opens the bytes from a file as the editor does, keeping them as a fuzzing seed.
  bool Open(cAni& doc, const Bytes& file, const std::string& name) {
    KeepFuzzSeed("ani", name + ".ani", file);
    WriteBytes(dir_ / (name + ".ani"), file);
    return doc.OpenAni((dir_ / (name + ".ani")).string());
  }

  BackEndFixture backEnd_;
  TempDir dir_;
};

TEST_F(AniReaderTest, OneImageFramesOpenInFrameOrderWithHeaderRatesAndSequence) {
  const std::vector<IconImage> frames = {FrameImage(32, 24, kRed, 3, 4), FrameImage(32, 8, PaletteColour(8, 5), 3, 4),
                                         FrameImage(16, 4, PaletteColour(4, 9), 1, 2)};
  const Bytes file = Riff("ACON", {Anih(3, 4, 7, kIconFlag | kSequenceFlag), Steps("rate", {1, 2, 3, 4}),
                                   Steps("seq ", {0, 1, 2, 1}),
                                   List("fram", {Icon({frames[0]}), Icon({frames[1]}), Icon({frames[2]})})});
  cAni doc;
  ASSERT_TRUE(Open(doc, file, "three-frames"));
  ASSERT_EQ(doc.IconCount(), 3);
  for (std::int16_t i = 0; i < 3; ++i) EXPECT_EQ(doc.Image(i), frames[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(doc.Header().Values(), (std::array<std::int32_t, 9>{36, 3, 4, 0, 0, 0, 0, 7, 3}));
  EXPECT_EQ(doc.Rates(), (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(doc.Sequence(), (std::vector<std::int32_t>{0, 1, 2, 1}));
  // anih (8 + 36) at 12, rate (8 + 16) at 56, seq at 80, the frame list at 104.
  const AniChunkPositions& at = doc.ChunkPositions();
  EXPECT_EQ((std::array<std::size_t, 5>{at.Anih, at.Rate, at.Seq, at.FirstList, at.SecondList}),
            (std::array<std::size_t, 5>{12, 56, 80, 104, 0}));
  EXPECT_EQ(at.RiffSize, file.size() - 8);
  EXPECT_EQ(doc.IconName(), "three-frames.ani");
  EXPECT_FALSE(doc.NewIcon());
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

// A frame's 1-bit image used to be left out when the frame held several; now that cursors
// are saved, that would lose it on every save: every image is kept.
TEST_F(AniReaderTest, SeveralImageFramesKeepEveryImageAndUnsupportedDepthsAreKeptAsTheyAre) {
  const IconImage mono = FrameImage(32, 1, kWhite, 5, 6);
  const IconImage colour = FrameImage(32, 8, PaletteColour(8, 40), 5, 6);
  const IconImage monoAlone = FrameImage(16, 1, kWhite);
  Bytes sixteenBit = BuildIconFile({FrameImage(8, 24, kRed)}, 2);
  sixteenBit[22 + 14] = 16;  // the bit count of its bitmap header
  // No "seq " or "rate" chunk either.
  const Bytes file = Riff("ACON", {Anih(3, 3, 9), List("fram", {Icon({mono, colour}), Chunk("icon", sixteenBit),
                                                                Icon({monoAlone})})});
  cAni doc;
  ASSERT_TRUE(Open(doc, file, "mono-and-colour"));
  ASSERT_EQ(doc.IconCount(), 4);
  EXPECT_EQ(doc.Image(0), mono);
  EXPECT_EQ(doc.Image(1), colour);
  ASSERT_TRUE(doc.Image(2).IsKept());
  EXPECT_EQ(doc.Image(2).Kept.entry->reason, "16-bit colour");
  EXPECT_EQ(doc.Image(3), monoAlone);
  EXPECT_EQ(doc.FrameSizes(), (std::vector<std::size_t>{2, 1, 1}));
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_TRUE(doc.Rates().empty());
  EXPECT_TRUE(doc.Sequence().empty());
  EXPECT_EQ(doc.ChunkPositions().Rate, 0u);
  EXPECT_EQ(doc.ChunkPositions().Seq, 0u);
  EXPECT_EQ(doc.Header().DisplayRate, 9);

  // Saved and read again, the 1-bit image and the kept entry are still there.
  const Bytes saved = BuildAniFile(doc.Images(), doc.Info());
  cAni back;
  ASSERT_TRUE(back.ReadAniData(saved));
  EXPECT_EQ(back.Images(), doc.Images());
  EXPECT_EQ(back.FrameSizes(), doc.FrameSizes());
}

// A writer that leaves out the pad byte after an odd-sized frame puts the next frame one byte
// early: found as the top-level walk finds such chunks. A list that ends early otherwise keeps
// the frames before and says how many.
TEST_F(AniReaderTest, TheFrameListResynchronisesOnAFrameWithoutItsPadByteAndSaysWhenItEndsEarly) {
  const std::vector<IconImage> frames = {FrameImage(8, 24, kRed), FrameImage(8, 8, PaletteColour(8, 7)),
                                         FrameImage(8, 4, PaletteColour(4, 3))};
  Bytes odd = BuildIconFile({frames[0]}, 2);
  odd.push_back(0x77);  // a byte more than the file: an odd size
  const Bytes unpadded = ChunkClaiming("icon", static_cast<std::uint32_t>(odd.size()), odd);
  const Bytes file = Riff("ACON", {Anih(3, 3, 5), List("fram", {unpadded, Icon({frames[1]}), Icon({frames[2]})})});
  KeepFuzzSeed("ani", "unpadded-frame.ani", file);
  cAni doc;
  ASSERT_TRUE(Open(doc, file, "unpadded"));
  ASSERT_EQ(doc.IconCount(), 3);
  for (std::int16_t i = 0; i < 3; ++i) EXPECT_EQ(doc.Image(i), frames[static_cast<std::size_t>(i)]) << i;
  EXPECT_TRUE(backEnd_.prompter.shown.empty());

  const Bytes garbage(24, 0xA5);
  cAni cut;
  ASSERT_TRUE(Open(cut, Riff("ACON", {Anih(3, 3, 5), List("fram", {Icon({frames[0]}), Icon({frames[1]}),
                                                                   ChunkClaiming("icon", 0xFFFFFFF0u, garbage)})}),
                   "ends-early"));
  EXPECT_EQ(cut.IconCount(), 2);
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].text,
            "The frame list of this animated cursor ends early: 2 frames were read of the 3 its header gives");
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AniReaderTest, InfoTextsAreFoundAfterOddSizedAndUnknownEntries) {
  const Bytes file =
      Riff("ACON", {Anih(1, 1, 5), List("fram", {Icon({FrameImage(16, 24, kGreen)})}),
                    List("INFO", {Chunk("IART", Text("Ann")),  // odd size: a pad byte follows
                                  Chunk("ISFT", Text("some tool")), Chunk("inam", Text("not the name")),
                                  Chunk("INAM", Text(std::string_view("Spin\0ner\0", 9))),
                                  Chunk("ICOP", Text("(c) 2024"))})});
  cAni doc;
  ASSERT_TRUE(Open(doc, file, "info-texts"));
  EXPECT_EQ(doc.CursorArtist(), "Ann");
  EXPECT_EQ(doc.CursorName(), "Spinner");  // zero bytes are left out
  EXPECT_EQ(doc.CursorCopy(), "(c) 2024");
  EXPECT_NE(doc.ChunkPositions().SecondList, 0u);
  EXPECT_EQ(doc.IconCount(), 1);
}

TEST_F(AniReaderTest, IdentifiersAndFormTypeIgnoreLetterCase) {
  Bytes file = Riff("acon", {Chunk("ANIH", Bytes(36, 0)),
                             Chunk("list", Joined({Text("FRAM"), Chunk("ICON", BuildIconFile({FrameImage(8, 24, kRed)}, 1))}))});
  file[0] = 'r';
  cAni doc;
  ASSERT_TRUE(Open(doc, file, "letter-case"));
  EXPECT_EQ(doc.IconCount(), 1);
  EXPECT_EQ(doc.ChunkPositions().Anih, 12u);
}

TEST_F(AniReaderTest, FilesThatAreNotAnimatedCursorsAreNotRecognised) {
  const Bytes wave = Riff("WAVE", {Chunk("fmt ", Bytes(16, 1)), Chunk("data", Bytes(64, 0))});
  for (const Bytes& file : {wave, Bytes{'R', 'I', 'F', 'F', 4, 0}, BuildIconFile({FrameImage(8, 24, kRed)}, 1)}) {
    backEnd_.prompter.shown.clear();
    cAni doc;
    EXPECT_FALSE(Open(doc, file, "not-ani"));
    EXPECT_EQ(doc.IconCount(), 0);
    ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
    EXPECT_EQ(backEnd_.prompter.shown[0].title, "Invalid File");
    EXPECT_EQ(backEnd_.prompter.shown[0].text, "File format not recognized");
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AniReaderTest, OddSizedTopLevelChunksArePaddedAndMissingPadsAreTolerated) {
  const std::vector<IconImage> frames = {FrameImage(32, 24, kGreen), FrameImage(32, 24, kRed)};
  const Bytes info = List("INFO", {Chunk("INAM", Text("Pad"))});
  const Bytes frameList = List("fram", {Icon({frames[0]}), Icon({frames[1]})});
  // A standard writer pads the odd-sized chunk. Read from the pad byte on, the INFO list's
  // head would give a chunk that fits the file and hide the list.
  const Bytes padded = Riff("ACON", {Anih(2, 2, 5), Chunk("junk", Bytes(3, 0x4C)), info, frameList});
  const Bytes unpadded = Riff("ACON", {Anih(2, 2, 5), ChunkClaiming("junk", 3, Bytes(3, 0x4C)), info, frameList});
  for (const Bytes& file : {padded, unpadded}) {
    const std::string name = file.size() % 2 ? "unpadded" : "padded";
    SCOPED_TRACE(name);
    cAni doc;
    ASSERT_TRUE(Open(doc, file, name));
    EXPECT_EQ(doc.CursorName(), "Pad");
    ASSERT_EQ(doc.IconCount(), 2);
    EXPECT_EQ(doc.Image(1), frames[1]);
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AniReaderTest, SizesSlightlyOffOrBeyondTheFileStillFindTheChunks) {
  Bytes info = List("INFO", {Chunk("INAM", Text("Name"))});
  info[4] += 2;  // the size now reaches two bytes into the "anih" head that follows
  cAni listOff;
  ASSERT_TRUE(Open(listOff, Riff("ACON", {info, Anih(1, 1, 4), List("fram", {Icon({FrameImage(8, 24, kRed)})})}),
                   "info-size-off"));
  EXPECT_EQ(listOff.CursorName(), "Name");
  EXPECT_EQ(listOff.Header().DisplayRate, 4);
  EXPECT_EQ(listOff.IconCount(), 1);

  Bytes tooLarge = OneFrame();
  tooLarge[4] = 0xF0, tooLarge[5] = 0xFF, tooLarge[6] = 0xFF, tooLarge[7] = 0x7F;
  cAni large;
  ASSERT_TRUE(Open(large, tooLarge, "riff-size-too-large"));
  EXPECT_EQ(large.IconCount(), 1);
  EXPECT_EQ(large.ChunkPositions().RiffSize, 0x7FFFFFF0u);

  // A chunk behind the RIFF data is not the cursor's.
  cAni trailing;
  ASSERT_TRUE(Open(trailing, Joined({OneFrame(), Steps("seq ", {0})}), "chunk-after-riff"));
  EXPECT_EQ(trailing.ChunkPositions().Seq, 0u);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AniReaderTest, StepListsTakeNoMoreValuesThanTheirChunksHold) {
  struct Case {
    std::uint32_t steps;
    std::vector<std::int32_t> sequence, rates;
  };
  // 2^31 and 2^31 - 1 steps would be 8 GB of values if the count were believed.
  for (const Case& c : {Case{0x80000000u, {}, {}}, Case{0x7FFFFFFFu, {0, 0, 0}, {6, 7}}, Case{5, {0, 0, 0}, {6, 7}},
                        Case{2, {0, 0}, {6, 7}}}) {
    SCOPED_TRACE(c.steps);
    const Bytes file = Riff("ACON", {Anih(1, c.steps, 5), Steps("seq ", {0, 0, 0}), Steps("rate", {6, 7}),
                                     List("fram", {Icon({FrameImage(8, 24, kRed)})})});
    cAni doc;
    ASSERT_TRUE(Open(doc, file, "steps-" + std::to_string(c.steps)));
    EXPECT_EQ(doc.Header().StepCount, static_cast<std::int32_t>(c.steps));
    EXPECT_EQ(doc.Sequence(), c.sequence);
    EXPECT_EQ(doc.Rates(), c.rates);
  }
}

TEST_F(AniReaderTest, EmbeddedIconsAreReadFromTheirOffsetsAndWithinTheirBytes) {
  const IconImage image = FrameImage(16, 8, PaletteColour(8, 77), 2, 3);
  Bytes gapped = BuildIconFile({image}, 2);
  gapped.insert(gapped.begin() + 22, 10, 0xEE);  // a gap before the image block
  gapped[18] = 32;
  cAni doc;
  ASSERT_TRUE(Open(doc, Riff("ACON", {Anih(1, 1, 5), List("fram", {Chunk("icon", gapped)})}), "block-at-32"));
  ASSERT_EQ(doc.IconCount(), 1);
  EXPECT_EQ(doc.Image(0), image);

  const Bytes icon = BuildIconFile({image}, 2);
  const Bytes file = Joined({Bytes(10, 0xCC), icon, Bytes(6, 0xCC)});
  cAni embedded;
  embedded.ChangeIconData(file, 10, icon.size());
  ASSERT_EQ(embedded.IconCount(), 1);
  EXPECT_EQ(embedded.Image(0), image);
  EXPECT_THROW(embedded.ChangeIconData(file, 10, file.size()), BackEndError);
  EXPECT_EQ(embedded.IconCount(), 1);
}

TEST_F(AniReaderTest, AFileWithoutFrameImagesOpensNothing) {
  cAni doc;
  EXPECT_FALSE(Open(doc, Riff("ACON", {Anih(0, 0, 5), List("INFO", {Chunk("INAM", Text("empty"))})}), "no-frames"));
  EXPECT_EQ(doc.IconCount(), 0);
  EXPECT_EQ(doc.CursorName(), "");
}

TEST_F(AniReaderTest, ChunksRunningPastTheirContainerAreReportedAndChangeNothing) {
  const Bytes frame = Icon({FrameImage(8, 24, kRed)});
  const Bytes garbage(24, 0xA5);
  const std::vector<std::pair<std::string, Bytes>> cases = {
      // Read as 32 bits these sizes wrap the offset round to itself or send it backwards.
      {"size-fffffff8", Riff("ACON", {Anih(1, 1, 5), List("fram", {frame}), ChunkClaiming("junk", 0xFFFFFFF8u, garbage)})},
      {"size-negative", Riff("ACON", {Anih(1, 1, 5), ChunkClaiming("LIST", 0x80000000u, garbage), List("fram", {frame})})},
      {"info-entry-past-list", Riff("ACON", {List("INFO", {ChunkClaiming("INAM", 400, Text("name"))}), Anih(1, 1, 5),
                                             List("fram", {frame})})},
      // Two hundred entries sharing one block would make grids far larger than the file.
      {"entries-sharing-a-block", [&] {
         Bytes icon = BuildIconFile({FrameImage(32, 24, kRed)}, 2);
         const Bytes entry(icon.begin() + 6, icon.begin() + 22), block(icon.begin() + 22, icon.end());
         icon.resize(6);
         icon[4] = 200;
         for (int i = 0; i < 200; ++i) icon.insert(icon.end(), entry.begin(), entry.end());
         const std::uint32_t offset = static_cast<std::uint32_t>(icon.size());
         for (std::size_t i = 0; i < 200; ++i) PutMarker(icon, 6 + 16 * i + 12, offset);
         icon.insert(icon.end(), block.begin(), block.end());
         return Riff("ACON", {Anih(1, 1, 5), List("fram", {Chunk("icon", icon)})});
       }()},
      {"truncated", [&] {
         Bytes f = Riff("ACON", {Anih(1, 1, 5), List("fram", {frame, frame})});
         f.resize(f.size() - 30);
         return f;
       }()},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    backEnd_.reporter.reports.clear();
    cAni doc;
    ASSERT_TRUE(doc.ReadAniData(OneFrame(3)));
    const IconImage before = doc.Image(0);
    KeepFuzzSeed("ani", name + ".ani", file);
    EXPECT_FALSE(doc.ReadAniData(file));
    ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
    EXPECT_NE(backEnd_.reporter.reports[0].find("Error Number: 62"), std::string::npos);
    EXPECT_NE(backEnd_.reporter.reports[0].find("PrjKorvane.cAni.OpenAniCur"), std::string::npos);
    ASSERT_EQ(doc.IconCount(), 1);
    EXPECT_EQ(doc.Image(0), before);
    EXPECT_EQ(doc.Header().DisplayRate, 3);
  }
}

TEST_F(AniReaderTest, MoreImagesThanASixteenBitIndexIsAnOverflow) {
  Bytes frames = Text("fram");
  const Bytes frame = Icon({FrameImage(1, 1, kWhite)});
  for (int i = 0; i < 32768; ++i) frames.insert(frames.end(), frame.begin(), frame.end());
  cAni doc;
  EXPECT_FALSE(doc.ReadAniData(Riff("ACON", {Chunk("LIST", frames)})));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("Error Number: 6\r\n"), std::string::npos);
  EXPECT_EQ(doc.IconCount(), 0);
}

// Frames of well-compressed PNG entries: each alone is within what one file may decompress
// to, but the frames of one cursor share that bound, so that a small file cannot make grids
// without end.
TEST_F(AniReaderTest, PngFramesShareOneDecompressionBudget) {
  const Bytes png = EncodePng(1500, 1500, std::vector<std::uint8_t>(1500 * 1500 * 4, 0));
  Bytes frame = {0, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put32(frame, static_cast<std::uint32_t>(png.size()));
  Put32(frame, 22);
  frame.insert(frame.end(), png.begin(), png.end());
  cAni one;
  ASSERT_TRUE(one.ReadAniData(Riff("ACON", {List("fram", {Chunk("icon", frame)})})));
  EXPECT_EQ(one.IconCount(), 1);
  cAni two;
  EXPECT_FALSE(two.ReadAniData(Riff("ACON", {List("fram", {Chunk("icon", frame), Chunk("icon", frame)})})));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("pixels in one file"), std::string::npos) << backEnd_.reporter.reports[0];
  EXPECT_EQ(two.IconCount(), 0);
}

TEST_F(AniReaderTest, TheDispatchKeepsAnimatedCursorsInTheirOwnListAndSavesThemAsAnimatedCursors) {
  IconDocuments.Clear();
  AniDocuments.Clear();
  EXPECT_EQ(cAni().IconName(), "NewCursor");
  const fs::path path = dir_ / "Spin.ANI";
  WriteBytes(path, OneFrame());
  ASSERT_TRUE(OpenDocument(path.string()));
  EXPECT_EQ(AniDocuments.Count(), 1);
  EXPECT_EQ(IconDocuments.Count(), 0);
  EXPECT_EQ(AniDocuments.CurrentDocument().IconPath(), path.string());

  const fs::path wave = dir_ / "noise.ani";
  WriteBytes(wave, Riff("WAVE", {}));
  EXPECT_FALSE(OpenDocument(wave.string()));
  EXPECT_EQ(AniDocuments.Count(), 1);

  // Our own writing of the same cursor: header values, no rate or sequence, the one frame.
  const fs::path copy = dir_ / "copy.ani";
  ASSERT_TRUE(SaveDocument(copy.string()));
  EXPECT_EQ(ReadWholeFile(copy.string()), OneFrame());
  EXPECT_EQ(AniDocuments.CurrentDocument().IconPath(), copy.string());
  CloseDocument("", "ANI");
  EXPECT_EQ(AniDocuments.Count(), 0);

  // With no animated cursor open, an icon document is saved as one, each image a frame.
  EXPECT_FALSE(SaveDocument((dir_ / "nothing.ani").string()));
  EXPECT_FALSE(fs::exists(dir_ / "nothing.ani"));
  NewDocument();
  IconDocuments.CurrentDocument().AddImage(8, 8, 24, 0);
  IconDocuments.CurrentDocument().AddImage(16, 16, 8, -1);
  const fs::path made = dir_ / "made.ani";
  ASSERT_TRUE(SaveDocument(made.string()));
  cAni reread;
  ASSERT_TRUE(reread.OpenAni(made.string()));
  EXPECT_EQ(reread.Images(), IconDocuments.CurrentDocument().Images());
  EXPECT_EQ(reread.FrameSizes(), (std::vector<std::size_t>{1, 1}));
  EXPECT_EQ(reread.Header().DisplayRate, kDefaultAniRate);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  IconDocuments.Clear();
}

}  // namespace
}  // namespace brixel
