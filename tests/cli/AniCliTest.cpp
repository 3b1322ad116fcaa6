// brixel-cli on animated cursors: info, dump and convert.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "AniTestFiles.h"
#include "FileIO.h"
#include "TestSupport.h"
#include "XcursorFile.h"
#include "cAni.h"
#include "cIco.h"

// Last: Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xcursor/Xcursor.h>

namespace brixel {
namespace {

namespace fs = std::filesystem;

using Result = test::ProcessResult;

class AniCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(cursor_, test::Riff("ACON", {test::Anih(3, 4, 7, test::kIconFlag | test::kSequenceFlag),
                                                  test::Steps("rate", {1, 2, 3, 4}), test::Steps("seq ", {0, 1, 2, 1}),
                                                  test::List("INFO", {test::Chunk("INAM", test::Text("Spin \"x\"")),
                                                                      test::Chunk("IART", test::Text("Ann"))}),
                                                  test::List("fram", {test::Icon({frames_[0]}), test::Icon({frames_[1]}),
                                                                      test::Icon({frames_[2]})})}));
  }

  Result Run(const std::vector<std::string>& args) { return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path()); }

  test::TempDir dir_;
  const fs::path cursor_ = dir_ / "spin.ani";
  const std::vector<IconImage> frames_ = {test::FrameImage(16, 24, MakeColour(200, 10, 20), 3, 4),
                                          test::FrameImage(32, 8, test::PaletteColour(8, 60), 5, 6),
                                          test::FrameImage(24, 4, test::PaletteColour(4, 9))};
};

TEST_F(AniCliTest, InfoListsTheFramesAndInJsonTheCursorsOwnValues) {
  const Result text = Run({"info", cursor_.string()});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out.substr(0, text.out.find('\n')), cursor_.string() + ": animated cursor, 3 images in 3 frames");
  EXPECT_NE(text.out.find("  32x32, 8 bit, hot spot 5,6, palette 256\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  16x16, 24 bit, hot spot 3,4\n"), std::string::npos) << text.out;
  // Its own values follow the images, without --json too.
  EXPECT_NE(text.out.find("\n  name \"Spin \\\"x\\\"\"\n  artist \"Ann\"\n  default rate 7 jiffies (117 ms)\n"
                          "  rates 1 2 3 4\n  sequence 0 1 2 1\n"),
            std::string::npos)
      << text.out;

  const Result json = Run({"info", cursor_.string(), "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"type\": \"animated cursor\", \"name\": \"Spin \\\"x\\\"\", \"artist\": \"Ann\", "
                          "\"copyright\": \"\", \"header\": [36, 3, 4, 0, 0, 0, 0, 7, 3], \"rates\": [1, 2, 3, 4], "
                          "\"sequence\": [0, 1, 2, 1], \"images\": [{\"width\": 16, "),
            std::string::npos)
      << json.out;
  // And it is JSON that a strict parser takes.
  const fs::path out = dir_ / "info.json";
  test::WriteBytes(out, Bytes(json.out.begin(), json.out.end()));
  EXPECT_EQ(test::RunCommand("/usr/bin/python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
                             "sys.exit(0 if len(d[\"images\"]) == 3 and d[\"sequence\"] == [0, 1, 2, 1] else 1)' " +
                             test::ShellQuote(out.string())),
            0);
}

// The texts are Windows-1252 in the file; info writes them as UTF-8.
TEST_F(AniCliTest, InfoWritesTheTextsAsUtf8) {
  const fs::path cafe = dir_ / "cafe.ani";
  test::WriteBytes(cafe, test::Riff("ACON", {test::Anih(1, 1, 6), test::List("INFO", {test::Chunk("INAM", test::Text("Caf\xE9 \x80"))}),
                                             test::List("fram", {test::Icon({frames_[0]})})}));
  EXPECT_NE(Run({"info", cafe.string(), "--json"}).out.find("\"name\": \"Caf\u00E9 \u20AC\""), std::string::npos);
  EXPECT_NE(Run({"info", cafe.string()}).out.find("  name \"Caf\u00E9 \u20AC\"\n"), std::string::npos);
}

TEST_F(AniCliTest, DumpWritesEveryFrame) {
  const fs::path dir = dir_ / "frames";
  ASSERT_EQ(Run({"dump", cursor_.string(), dir.string()}).status, 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(fs::exists(dir / (std::to_string(i) + ".pam"))) << i;
  EXPECT_FALSE(fs::exists(dir / "3.pam"));
  // The second frame, 32 pixels wide: its pixel (1, 0) in the palette colour, opaque.
  const Bytes pam = ReadWholeFile((dir / "1.pam").string());
  const std::string text(pam.begin(), pam.end());
  const std::size_t pixels = text.find("ENDHDR\n") + 7;
  ASSERT_NE(text.find("WIDTH 32"), std::string::npos);
  const Colour c = test::PaletteColour(8, 60);
  EXPECT_EQ((std::array<int, 4>{pam.at(pixels + 4), pam[pixels + 5], pam[pixels + 6], pam[pixels + 7]}),
            (std::array<int, 4>{RedOf(c), GreenOf(c), BlueOf(c), 255}));
  EXPECT_EQ(pam[pixels + 3], 0);  // pixel (0, 0) is transparent
}

TEST_F(AniCliTest, ConvertWritesTheFramesAsOneIconFile) {
  const fs::path icon = dir_ / "frames.ico";
  const Result r = Run({"convert", cursor_.string(), icon.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  cIco doc;
  ASSERT_TRUE(doc.OpenIcon(icon.string()));
  EXPECT_EQ(doc.Images(), frames_);
  if (test::RunCommand("command -v icotool >/dev/null") == 0) {
    // icotool lists one line per image.
    EXPECT_EQ(test::RunCommand("test \"$(icotool -l " + test::ShellQuote(icon.string()) + " | wc -l)\" = 3"), 0);
  }
}

// An icon or cursor file counts its images in a byte: more frames are refused with why, alone
// and in a batch, and nothing is written.
TEST_F(AniCliTest, ConvertSaysWhenTheFramesAreMoreThanAnIconFileHolds) {
  Bytes icons;
  const Bytes icon = test::Icon({frames_[0]});
  for (int i = 0; i < 256; ++i) icons.insert(icons.end(), icon.begin(), icon.end());
  const fs::path many = dir_ / "many.ani";
  test::WriteBytes(many, test::Riff("ACON", {test::Anih(256, 256, 7), test::Chunk("LIST", test::Joined({test::Text("fram"), icons}))}));
  const Result alone = Run({"convert", many.string(), (dir_ / "many.cur").string()});
  EXPECT_NE(alone.status, 0);
  EXPECT_NE(alone.err.find("its 256 images are more than an icon or cursor file holds (255)"), std::string::npos) << alone.err;
  EXPECT_FALSE(fs::exists(dir_ / "many.cur"));
  fs::create_directory(dir_ / "out");
  const Result batch = Run({"convert", "--to", (dir_ / "out").string(), many.string()});
  EXPECT_NE(batch.status, 0);
  EXPECT_NE(batch.err.find("its 256 images are more than"), std::string::npos) << batch.err;
  EXPECT_TRUE(fs::is_empty(dir_ / "out"));
}

TEST_F(AniCliTest, ConvertWritesAnimatedCursorsAgainAndBuildsThemFromCursors) {
  const fs::path copy = dir_ / "copy.ani", again = dir_ / "again.ani";
  const Result toAni = Run({"convert", cursor_.string(), copy.string()});
  ASSERT_EQ(toAni.status, 0) << toAni.err;
  cAni original, written;
  ASSERT_TRUE(original.OpenAni(cursor_.string()));
  ASSERT_TRUE(written.OpenAni(copy.string()));
  EXPECT_EQ(written.Images(), original.Images());
  EXPECT_EQ(written.Steps(), original.Steps());
  EXPECT_EQ(written.CursorName(), "Spin \"x\"");
  ASSERT_EQ(Run({"convert", copy.string(), again.string()}).status, 0);
  EXPECT_EQ(ReadWholeFile(again.string()), ReadWholeFile(copy.string()));

  // Frames from cursors, the second of two images: one frame per file.
  const fs::path one = dir_ / "one.cur", two = dir_ / "two.cur", built = dir_ / "built.ani";
  test::WriteBytes(one, BuildIconFile({frames_[0]}, 2));
  test::WriteBytes(two, BuildIconFile({frames_[1], frames_[2]}, 2));
  const Result build = Run({"convert", "--ani", built.string(), "--rate", "12", one.string(), two.string()});
  ASSERT_EQ(build.status, 0) << build.err;
  cAni made;
  ASSERT_TRUE(made.OpenAni(built.string()));
  EXPECT_EQ(made.Images(), frames_);
  EXPECT_EQ(made.FrameSizes(), (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(made.Steps(), (std::vector<AniStep>{{0, 12}, {1, 12}}));

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"convert", "--ani", built.string(), "--rate", "0", one.string()},
        {"convert", "--ani", built.string(), "--rate", "7x", one.string()},
        {"convert", "--ani", (dir_ / "built.cur").string(), one.string()},
        {"convert", "--ani", built.string()}}) {
    SCOPED_TRACE(bad.back());
    EXPECT_EQ(Run(bad).status, 2);
  }
  const Result notFrame = Run({"convert", "--ani", (dir_ / "x.ani").string(), cursor_.string()});
  EXPECT_EQ(notFrame.status, 1);
  EXPECT_FALSE(fs::exists(dir_ / "x.ani"));
}

TEST_F(AniCliTest, ConvertRefusesWhatItDoesNotWriteAndNonCursorsNamedAni) {
  for (const char* name : {"b.png", "b", "b.ani.txt"}) {
    SCOPED_TRACE(name);
    const Result r = Run({"convert", cursor_.string(), (dir_ / name).string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("convert writes .ico, .cur, .ani, .icns or .xcursor files"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir_ / name));
  }

  const fs::path wave = dir_ / "sound.ani";
  test::WriteBytes(wave, test::Riff("WAVE", {test::Chunk("data", Bytes(8, 0))}));
  const Result notAni = Run({"info", wave.string()});
  EXPECT_EQ(notAni.status, 1);
  EXPECT_NE(notAni.err.find("File format not recognized"), std::string::npos) << notAni.err;
  EXPECT_TRUE(notAni.out.empty());
  EXPECT_EQ(Run({"convert", wave.string(), (dir_ / "out.ani").string()}).status, 1);
  EXPECT_FALSE(fs::exists(dir_ / "out.ani"));
}

// Each image of an Xcursor file, read with libXcursor at one nominal size, against the
// images and delays expected.
void ExpectXcursor(const fs::path& file, int size, const std::vector<const IconImage*>& images,
                   const std::vector<unsigned>& delays) {
  XcursorImages* read = XcursorFilenameLoadImages(file.c_str(), size);
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(static_cast<std::size_t>(read->nimage), images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const XcursorImage& got = *read->images[i];
    const IconImage& want = *images[i];
    ASSERT_EQ(std::make_pair(got.width, got.height),
              std::make_pair(static_cast<unsigned>(want.Width), static_cast<unsigned>(want.Height())));
    EXPECT_EQ(std::make_pair(got.xhot, got.yhot),
              std::make_pair(static_cast<unsigned>(std::clamp<int>(want.xHotSpot, 0, want.Width - 1)),
                             static_cast<unsigned>(std::clamp<int>(want.yHotSpot, 0, want.Height() - 1))));
    EXPECT_EQ(got.delay, delays[i]);
    int mismatched = 0;
    for (int y = 0; y < want.Height(); ++y) {
      for (int x = 0; x < want.Width; ++x) mismatched += got.pixels[y * want.Width + x] != XcursorArgb(want, x, y);
    }
    EXPECT_EQ(mismatched, 0);
  }
  XcursorImagesDestroy(read);
}

// The same images written by libXcursor's own writer, into memory.
Bytes WrittenByLibXcursor(const std::vector<IconImage>& images) {
  struct Memory {
    Bytes bytes;
    std::size_t at = 0;
  } memory;
  const auto write = [](XcursorFile* file, unsigned char* data, int length) {
    auto* m = static_cast<Memory*>(file->closure);
    if (m->bytes.size() < m->at + static_cast<std::size_t>(length)) m->bytes.resize(m->at + static_cast<std::size_t>(length));
    std::copy(data, data + length, m->bytes.begin() + static_cast<std::ptrdiff_t>(m->at));
    m->at += static_cast<std::size_t>(length);
    return length;
  };
  const auto seek = [](XcursorFile* file, long offset, int whence) {
    auto* m = static_cast<Memory*>(file->closure);
    m->at = static_cast<std::size_t>((whence == SEEK_CUR ? static_cast<long>(m->at) : 0) + offset);
    return static_cast<int>(m->at);
  };
  XcursorImages* all = XcursorImagesCreate(static_cast<int>(images.size()));
  for (const IconImage& image : images) {
    XcursorImage* shown = XcursorImageCreate(image.Width, image.Height());
    all->images[all->nimage++] = shown;
    shown->size = static_cast<XcursorDim>(image.Width);
    shown->xhot = static_cast<XcursorDim>(std::clamp<int>(image.xHotSpot, 0, image.Width - 1));
    shown->yhot = static_cast<XcursorDim>(std::clamp<int>(image.yHotSpot, 0, image.Height() - 1));
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) shown->pixels[y * image.Width + x] = XcursorArgb(image, x, y);
    }
  }
  XcursorComments* comments = XcursorCommentsCreate(0);
  XcursorFile file{&memory, [](XcursorFile*, unsigned char*, int) { return -1; }, write, seek};
  EXPECT_TRUE(XcursorXcFileSave(&file, comments, all));
  XcursorCommentsDestroy(comments);
  XcursorImagesDestroy(all);
  return memory.bytes;
}

TEST(XcursorWriting, FilesAreByteForByteWhatLibXcursorWrites) {
  IconImage soft = test::FrameImage(24, 24, MakeColour(200, 100, 50), 40, 3);  // hot spot outside
  soft.Alpha = soft.Pixels;
  for (int x = 0; x < 24; ++x) soft.Alpha.At(x, 5) = 10 * x;
  const std::vector<IconImage> images = {test::FrameImage(32, 24, MakeColour(9, 99, 199), 3, 30), soft,
                                         test::FrameImage(16, 4, kWhite, 2, 2)};
  EXPECT_EQ(BuildXcursorFile(images, nullptr), WrittenByLibXcursor(images));
  EXPECT_EQ(BuildXcursorFile({images[2]}, nullptr), WrittenByLibXcursor({images[2]}));
}

TEST_F(AniCliTest, XcursorFilesAndThemesReadBackWithLibXcursor) {
  // A pixel of known colour and alpha, premultiplied as Xcursor keeps it.
  IconImage soft = test::FrameImage(2, 32, MakeColour(200, 100, 50));
  soft.Alpha = soft.Pixels;
  soft.Alpha.At(1, 1) = 128;
  EXPECT_EQ(XcursorArgb(soft, 1, 1), 0x80643219u);
  EXPECT_EQ(XcursorArgb(soft, 0, 0), 0u);  // transparent
  // A soft edge below the mask's threshold keeps its alpha; an inverting pixel is clear.
  soft.Alpha.At(1, 1) = 100;
  soft.Mask.At(1, 1) = MaskTransparent;
  EXPECT_EQ(XcursorArgb(soft, 1, 1), 0x644E2713u);
  soft.Pixels.At(1, 1) = kNoColour;
  EXPECT_EQ(XcursorArgb(soft, 1, 1), 0u);

  const std::vector<IconImage> frames = {test::FrameImage(32, 24, MakeColour(9, 99, 199), 3, 30),
                                         test::FrameImage(32, 8, test::PaletteColour(8, 70), 31, 0)};
  const fs::path walk = dir_ / "watch.ani", still = dir_ / "left_ptr.cur";
  test::WriteBytes(walk, test::Riff("ACON", {test::Anih(2, 3, 6, test::kIconFlag | test::kSequenceFlag),
                                             test::Steps("rate", {6, 12, 30}), test::Steps("seq ", {1, 0, 1}),
                                             test::List("fram", {test::Icon({frames[0]}), test::Icon({frames[1]})})}));
  test::WriteBytes(still, BuildIconFile({frames[1], test::FrameImage(16, 4, kWhite, 2, 2)}, 2));

  const fs::path out = dir_ / "watch.xcursor";
  const Result r = Run({"convert", walk.string(), out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectXcursor(out, 32, {&frames[1], &frames[0], &frames[1]}, {100, 200, 500});

  const fs::path theme = dir_ / "theme";
  const Result t = Run({"convert", "--theme", theme.string(), "Bright Ones", still.string(), walk.string()});
  ASSERT_EQ(t.status, 0) << t.err;
  EXPECT_EQ(ReadWholeFile((theme / "index.theme").string()), test::Text("[Icon Theme]\nName=Bright Ones\n"));
  ExpectXcursor(theme / "cursors" / "watch", 32, {&frames[1], &frames[0], &frames[1]}, {100, 200, 500});
  // A cursor of two sizes: libXcursor gives the one asked for.
  IconImage small = test::FrameImage(16, 4, kWhite, 2, 2);
  ExpectXcursor(theme / "cursors" / "left_ptr", 16, {&small}, {0});
  EXPECT_EQ(Run({"convert", "--theme", theme.string(), "Only A Name"}).status, 2);

  // Animated cursors of other programs whose frames are one image of one size.
  const fs::path samples = test::SamplesDir();
  if (samples.empty()) return;
  for (const auto& entry : fs::directory_iterator(samples)) {
    if (entry.path().extension() != ".ani") continue;
    cAni cursor;
    if (!cursor.OpenAni(entry.path().string()) || cursor.FrameSizes() != std::vector<std::size_t>(cursor.Images().size(), 1)) {
      continue;
    }
    const int size = cursor.Images()[0].Width;
    bool oneSize = true;
    for (const IconImage& image : cursor.Images()) oneSize = oneSize && image.Width == size && image.Height() == size;
    if (!oneSize) continue;
    SCOPED_TRACE(entry.path().string());
    const fs::path converted = dir_ / (entry.path().stem().string() + ".xcursor");
    ASSERT_EQ(Run({"convert", entry.path().string(), converted.string()}).status, 0);
    std::vector<const IconImage*> shown;
    std::vector<unsigned> delays;
    for (const AniStep& step : cursor.Steps()) {
      shown.push_back(&cursor.Images()[static_cast<std::size_t>(step.Frame)]);
      delays.push_back(step.Rate <= 0 ? 0u : static_cast<unsigned>((step.Rate * 1000 + 30) / 60));
    }
    ExpectXcursor(converted, size, shown, delays);
  }
}

}  // namespace
}  // namespace brixel
