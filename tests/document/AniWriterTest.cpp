// Writing animated cursors: the chunks written, the steps as the file says them, and what
// survives a save and a second reading.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "AniTestFiles.h"
#include "TestSupport.h"
#include "Windows1252.h"
#include "cAni.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using namespace test;

const Colour kRed = MakeColour(200, 10, 20);

class AniWriterTest : public ::testing::Test {
 protected:
  // Saves doc, reads the file back, and saves that again: the same bytes both times.
  cAni SaveAndReread(cAni& doc, const std::string& name) {
    const fs::path first = dir_ / (name + ".ani"), second = dir_ / (name + "-again.ani");
    EXPECT_TRUE(doc.SaveAni(first.string()));
    cAni reread;
    EXPECT_TRUE(reread.OpenAni(first.string()));
    EXPECT_TRUE(reread.SaveAni(second.string()));
    EXPECT_EQ(ReadWholeFile(second.string()), ReadWholeFile(first.string()));
    KeepFuzzSeed("ani", name + ".ani", ReadWholeFile(first.string()));
    return reread;
  }

  cAni Read(const Bytes& file) {
    cAni doc;
    EXPECT_TRUE(doc.ReadAniData(file));
    return doc;
  }

  BackEndFixture backEnd_;
  TempDir dir_;
  const std::vector<IconImage> frames_ = {FrameImage(32, 24, kRed, 3, 4), FrameImage(32, 8, PaletteColour(8, 5), 30, 2),
                                          FrameImage(16, 4, PaletteColour(4, 9), 1, 2)};
};

TEST_F(AniWriterTest, ACursorWithRatesSequenceAndTextsWritesEachChunkPadded) {
  cAni doc;
  doc.AppendFrame({frames_[0]});
  doc.AppendFrame({frames_[1]});
  doc.DisplayRate(10);
  doc.Sequence({0, 1, 0});
  doc.Rates({10, 20, 10});
  doc.CursorName("Spin");  // five bytes with its zero: a pad byte follows
  doc.CursorArtist("Ann");
  const fs::path path = dir_ / "spin.ani";
  ASSERT_TRUE(doc.SaveAni(path.string()));
  EXPECT_EQ(ReadWholeFile(path.string()),
            Riff("ACON", {Anih(2, 3, 10, kIconFlag | kSequenceFlag),
                          List("INFO", {Chunk("INAM", Text(std::string_view("Spin\0", 5))),
                                        Chunk("IART", Text(std::string_view("Ann\0", 4)))}),
                          Steps("rate", {10, 20, 10}), Steps("seq ", {0, 1, 0}),
                          List("fram", {Icon({frames_[0]}), Icon({frames_[1]})})}));
  EXPECT_EQ(doc.IconPath(), path.string());

  // Each frame once at the default rate needs neither list, nor the sequence flag.
  doc.Sequence({0, 1});
  doc.Rates({10, 10});
  doc.CursorName("");
  doc.CursorArtist("");
  ASSERT_TRUE(doc.SaveAni(path.string()));
  EXPECT_EQ(ReadWholeFile(path.string()),
            Riff("ACON", {Anih(2, 2, 10), List("fram", {Icon({frames_[0]}), Icon({frames_[1]})})}));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AniWriterTest, StepsFollowTheFileAsItSaysThem) {
  const Bytes frames = List("fram", {Icon({frames_[0]}), Icon({frames_[1]}), Icon({frames_[2]})});
  // A sequence without its flag is not played; a missing rate is the default one.
  cAni unflagged = Read(Riff("ACON", {Anih(3, 3, 7), Steps("rate", {1, 2}), Steps("seq ", {2, 2, 2}), frames}));
  EXPECT_EQ(unflagged.Steps(), (std::vector<AniStep>{{0, 1}, {1, 2}, {2, 7}}));
  // Steps naming a frame that is not there are left out with their rates.
  cAni stray = Read(Riff("ACON", {Anih(3, 4, 7, kIconFlag | kSequenceFlag), Steps("rate", {1, 2, 3, 4}),
                                  Steps("seq ", {2, 9, 0xFFFFFFFF, 1}), frames}));
  EXPECT_EQ(stray.Steps(), (std::vector<AniStep>{{2, 1}, {1, 4}}));
  cAni written = SaveAndReread(stray, "stray");
  EXPECT_EQ(written.Steps(), stray.Steps());
  EXPECT_EQ(written.Sequence(), (std::vector<std::int32_t>{2, 1}));
  // No step left: each frame once.
  cAni none = Read(Riff("ACON", {Anih(3, 1, 7, kIconFlag | kSequenceFlag), Steps("seq ", {5}), frames}));
  EXPECT_EQ(none.Steps(), (std::vector<AniStep>{{0, 7}, {1, 7}, {2, 7}}));
}

TEST_F(AniWriterTest, FramesOfSeveralImagesAndFramesOfKeptEntriesKeepTheAnimation) {
  IconImage unsupported = frames_[0];
  Bytes badFrame = BuildIconFile({unsupported}, 2);
  badFrame[22 + 14] = 7;  // a bit depth nobody reads: the frame's entry is kept as it is
  const Bytes file = Riff("ACON", {Anih(3, 3, 7, kIconFlag | kSequenceFlag), Steps("rate", {5, 6, 8}),
                                   Steps("seq ", {2, 1, 0}),
                                   List("fram", {Icon({frames_[0], frames_[1]}), Chunk("icon", badFrame),
                                                 Icon({frames_[2]})})});
  cAni doc = Read(file);
  ASSERT_EQ(doc.IconCount(), 4);
  EXPECT_TRUE(doc.Image(2).IsKept());
  EXPECT_EQ(doc.FrameSizes(), (std::vector<std::size_t>{2, 1, 1}));
  // The frame of the kept entry is a frame as any other, with its step.
  EXPECT_EQ(doc.Steps(), (std::vector<AniStep>{{2, 5}, {1, 6}, {0, 8}}));
  cAni written = SaveAndReread(doc, "grouped");
  EXPECT_EQ(written.Images(), doc.Images());
  EXPECT_EQ(written.Image(2).Kept.entry->block, Bytes(badFrame.begin() + 22, badFrame.end()));
  EXPECT_EQ(written.FrameSizes(), doc.FrameSizes());
  EXPECT_EQ(written.Steps(), doc.Steps());
  EXPECT_EQ(written.Header().FrameCount, 3);
}

// A frame added to a cursor is a frame of its own at the default rate, with a step of its own;
// removing a frame's last image removes its steps and renumbers the frames after it.
TEST_F(AniWriterTest, AddingAndRemovingFramesKeepsTheTimeline) {
  const Bytes file = Riff("ACON", {Anih(3, 6, 10, kIconFlag | kSequenceFlag), Steps("rate", {6, 6, 6, 6, 6, 30}),
                                   Steps("seq ", {0, 1, 2, 1, 0, 0}),
                                   List("fram", {Icon({frames_[0]}), Icon({frames_[1], frames_[2]}), Icon({frames_[2]})})});
  cAni doc = Read(file);
  doc.AppendFrame({frames_[1], frames_[0]});
  EXPECT_EQ(doc.FrameSizes(), (std::vector<std::size_t>{1, 2, 1, 2}));
  EXPECT_EQ(doc.Steps(), (std::vector<AniStep>{{0, 6}, {1, 6}, {2, 6}, {1, 6}, {0, 6}, {0, 30}, {3, 10}}));

  doc.RemoveImage(2);  // one image of frame 1: the frame stays
  EXPECT_EQ(doc.FrameSizes(), (std::vector<std::size_t>{1, 1, 1, 2}));
  EXPECT_EQ(doc.Steps().size(), 7u);
  doc.RemoveImage(0);  // frame 0 goes with its three steps; the others move down
  EXPECT_EQ(doc.FrameSizes(), (std::vector<std::size_t>{1, 1, 2}));
  EXPECT_EQ(doc.Steps(), (std::vector<AniStep>{{0, 6}, {1, 6}, {0, 6}, {2, 10}}));
  cAni written = SaveAndReread(doc, "edited");
  EXPECT_EQ(written.Steps(), doc.Steps());
  EXPECT_EQ(written.FrameSizes(), doc.FrameSizes());

  // Without a sequence, each frame's own rate stays with it and a new frame gets the default.
  cAni rated = Read(Riff("ACON", {Anih(3, 3, 4), Steps("rate", {24, 4, 8}),
                                  List("fram", {Icon({frames_[0]}), Icon({frames_[1]}), Icon({frames_[2]})})}));
  rated.RemoveImage(0);
  EXPECT_EQ(rated.Steps(), (std::vector<AniStep>{{0, 4}, {1, 8}}));
  EXPECT_TRUE(rated.Sequence().empty());
  rated.AppendFrame({frames_[0]});
  EXPECT_EQ(rated.Steps(), (std::vector<AniStep>{{0, 4}, {1, 8}, {2, 4}}));
  EXPECT_EQ(rated.Rates(), (std::vector<std::int32_t>{4, 8, 4}));
  EXPECT_TRUE(rated.Sequence().empty());
  // A cursor whose every step showed the frame removed plays each frame once.
  cAni single = Read(Riff("ACON", {Anih(2, 2, 5, kIconFlag | kSequenceFlag), Steps("seq ", {1, 1}),
                                   List("fram", {Icon({frames_[0]}), Icon({frames_[1]})})}));
  single.RemoveImage(1);
  EXPECT_EQ(single.Steps(), (std::vector<AniStep>{{0, 5}}));
}

// The texts' character set: every byte reads as a character and writes back as itself.
TEST(Windows1252, EveryByteReadsAndWritesBackAsItselfAndOtherCharactersAreRefused) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
  EXPECT_EQ(Windows1252ToUtf8("\x80\x8A\x9F\xE9"), "\u20AC\u0160\u0178\u00E9");
  char32_t refused = 0;
  EXPECT_EQ(Utf8ToWindows1252("ok \u0165", &refused), std::nullopt);
  EXPECT_EQ(refused, U'\u0165');
  EXPECT_EQ(Utf8ToWindows1252("\xC3", &refused), std::nullopt);  // not UTF-8
  EXPECT_EQ(refused, U'\uFFFD');
  EXPECT_EQ(DescribeCharacter(U'\u0165'), "\u201C\u0165\u201D (U+0165)");
}

TEST_F(AniWriterTest, ASaveThatCannotBeDoneLeavesTheFileAlone) {
  const fs::path path = dir_ / "kept.ani";
  WriteBytes(path, Text("old"));
  cAni empty;
  EXPECT_FALSE(empty.SaveAni(path.string()));
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_EQ(ReadWholeFile(path.string()), Text("old"));

  cAni doc;
  doc.AppendFrame({frames_[0]});
  ::chmod(path.c_str(), 0444);
  backEnd_.prompter.answers = {Prompter::Answer::No};
  EXPECT_FALSE(doc.SaveAni(path.string()));
  EXPECT_EQ(ReadWholeFile(path.string()), Text("old"));
  backEnd_.prompter.answers = {Prompter::Answer::Yes};
  EXPECT_TRUE(doc.SaveAni(path.string()));
  EXPECT_EQ(Read(ReadWholeFile(path.string())).Images(), doc.Images());
}

}  // namespace
}  // namespace brixel
