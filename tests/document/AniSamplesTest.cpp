// Animated cursors written by other programs, and gdk-pixbuf's reading of animated cursors as
// an independent reference for ours.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <tuple>

#include "AniTestFiles.h"
#include "ByteOrder.h"
#include "TestSupport.h"
#include "cAni.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

struct ExpectedImage {
  int width = 0, height = 0, depth = 0;
  bool cursor = false;  // hot spots are only given for cursor frames
  int xHot = 0, yHot = 0;
};

// The images a sample's frames should give, from the description beside it in SOURCES.tsv:
// "f0[cur:32x32x32@15,15] f1[...]", a frame holding one or more "WxHxD[@X,Y]".
std::vector<ExpectedImage> ExpectedImages(const std::string& description) {
  static const std::regex frameRe(R"(f\d+\[(\w+):([^\]]*)\])");
  static const std::regex imageRe(R"((\d+)x(\d+)x(\d+)(?:@(\d+),(\d+))?)");
  std::vector<ExpectedImage> images;
  for (std::sregex_iterator f(description.begin(), description.end(), frameRe), end; f != end; ++f) {
    const std::string kind = (*f)[1], inner = (*f)[2];
    std::vector<ExpectedImage> frame;
    for (std::sregex_iterator i(inner.begin(), inner.end(), imageRe); i != end; ++i) {
      const std::smatch& m = *i;
      frame.push_back({std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), kind == "cur",
                       m[4].matched ? std::stoi(m[4]) : 0, m[5].matched ? std::stoi(m[5]) : 0});
    }
    for (const ExpectedImage& image : frame) {
      if (frame.size() == 1 || image.depth != 1) images.push_back(image);
    }
  }
  return images;
}

// name -> description of every animated cursor listed in the samples folder.
std::vector<std::pair<std::string, std::string>> ListedSamples(const fs::path& dir) {
  static const std::regex lineRe(R"(([^\t]*)\t[^\t]*\tani\t([^\t]*).*)");
  std::vector<std::pair<std::string, std::string>> samples;
  std::ifstream in(dir / "SOURCES.tsv");
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, m, lineRe)) samples.emplace_back(m[1], m[2]);
  }
  return samples;
}

enum class Oracle { Unavailable, CannotRead, Compared };

// Compares every step of the animation as gdk-pixbuf shows it with the frame image our
// reading gives for that step. Meant for cursors whose frames hold one image each.
Oracle CompareStepsWithGdkPixbuf(const fs::path& file, const cAni& doc, const fs::path& scratch) {
  const std::size_t steps = doc.Sequence().empty() ? doc.Images().size() : doc.Sequence().size();
  const fs::path out = scratch / (file.stem().string() + ".steps");
  const int status = test::RunCommand("/usr/bin/python3 " + test::ShellQuote(BRIXEL_ANI_ORACLE) + " " +
                                      test::ShellQuote(file.string()) + " " + std::to_string(steps) + " " +
                                      test::ShellQuote(out.string()) + " 2>/dev/null");
  if (status == 2) return Oracle::Unavailable;
  if (status != 0) return Oracle::CannotRead;  // refused, or gdk-pixbuf failed on it

  const Bytes bytes = ReadWholeFile(out.string());
  std::size_t at = 0;
  for (std::size_t step = 0; step < steps; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    const std::size_t frame = doc.Sequence().empty() ? step : static_cast<std::size_t>(doc.Sequence()[step]);
    EXPECT_LT(frame, doc.Images().size());
    if (frame >= doc.Images().size()) break;
    const IconImage& image = doc.Images()[frame];
    const int width = static_cast<int>(GetLength(bytes, at)), height = static_cast<int>(GetLength(bytes, at + 4));
    at += 12;  // and the delay
    if (width != image.Width || height != image.Height()) {
      ADD_FAILURE() << width << " x " << height << " against " << image.Width << " x " << image.Height();
      return Oracle::Compared;
    }
    int opaque = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x, at += 4) {
        const int alpha = bytes.at(at + 3);
        const bool ourOpaque = image.Mask.At(x, y) == MaskOpaque;
        if (alpha == 255) {
          ++opaque;
          EXPECT_TRUE(ourOpaque) << x << "," << y;
          EXPECT_EQ(image.Pixels.At(x, y), MakeColour(bytes[at], bytes[at + 1], bytes[at + 2])) << x << "," << y;
        } else if (alpha == 0) {
          EXPECT_FALSE(ourOpaque) << x << "," << y;
        }
        // Partly transparent pixels have no AND bit of their own to agree on.
      }
    }
    EXPECT_GT(opaque, 0);
  }
  return Oracle::Compared;
}

// The steps gdk-pixbuf plays (frame sizes, delays and pixels) as the oracle script writes
// them; empty when it cannot read the file, nullopt when it is not installed.
std::optional<Bytes> GdkSteps(const fs::path& file, std::size_t steps, const fs::path& out) {
  const int status = test::RunCommand("/usr/bin/python3 " + test::ShellQuote(BRIXEL_ANI_ORACLE) + " " +
                                      test::ShellQuote(file.string()) + " " + std::to_string(steps) + " " +
                                      test::ShellQuote(out.string()) + " 2>/dev/null");
  if (status == 2) return std::nullopt;
  return status == 0 ? ReadWholeFile(out.string()) : Bytes();
}

class AniSamplesTest : public ::testing::Test {
 protected:
  test::BackEndFixture backEnd_;
  test::TempDir dir_;
};

TEST_F(AniSamplesTest, CursorsOfOtherProgramsOpenWithTheirFrames) {
  const fs::path dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no samples folder";
  const auto samples = ListedSamples(dir);
  if (samples.empty()) GTEST_SKIP() << "no animated cursors listed in SOURCES.tsv";
  for (const auto& [name, description] : samples) {
    SCOPED_TRACE(name);
    const fs::path path = dir / name;
    cAni doc;
    ASSERT_TRUE(doc.OpenAni(path.string()));
    test::KeepFuzzSeed("ani", name, ReadWholeFile(path.string()));
    const std::vector<ExpectedImage> expected = ExpectedImages(description);
    ASSERT_FALSE(expected.empty()) << description;
    ASSERT_EQ(doc.Images().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const IconImage& image = doc.Images()[i];
      const ExpectedImage& e = expected[i];
      EXPECT_EQ((std::array<int, 3>{image.Width, image.Height(), image.BitDepth}),
                (std::array<int, 3>{e.width, e.height, e.depth})) << i;
      if (e.cursor) {
        EXPECT_EQ((std::pair<int, int>(image.xHotSpot, image.yHotSpot)), std::make_pair(e.xHot, e.yHot)) << i;
      }
    }
    // Every step names a frame there is.
    for (std::int32_t frame : doc.Sequence()) EXPECT_LT(static_cast<std::size_t>(frame), doc.Images().size());
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AniSamplesTest, FramesAndStepsAgreeWithGdkPixbuf) {
  // A cursor of our own making first, so that the comparison runs without the samples too.
  const std::vector<IconImage> frames = {
      test::FrameImage(32, 24, MakeColour(200, 10, 20)), test::FrameImage(32, 8, test::PaletteColour(8, 100)),
      test::FrameImage(32, 4, test::PaletteColour(4, 12))};
  const fs::path own = dir_ / "own.ani";
  test::WriteBytes(own, test::Riff("ACON", {test::Anih(3, 4, 6, test::kIconFlag | test::kSequenceFlag), test::Steps("rate", {6, 3, 6, 3}),
                                            test::Steps("seq ", {2, 0, 1, 0}),
                                            test::List("fram", {test::Icon({frames[0]}), test::Icon({frames[1]}),
                                                                test::Icon({frames[2]})})}));
  std::vector<fs::path> files = {own};
  if (const fs::path dir = test::SamplesDir(); !dir.empty()) {
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() == ".ani") files.push_back(entry.path());
    }
  }
  int compared = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    cAni doc;
    ASSERT_TRUE(doc.OpenAni(file.string()));
    // gdk-pixbuf shows one image per frame; a frame of several is not comparable.
    if (doc.Header().FrameCount != doc.IconCount()) continue;
    const Oracle result = CompareStepsWithGdkPixbuf(file, doc, dir_.Path());
    if (result == Oracle::Unavailable) GTEST_SKIP() << "gdk-pixbuf for Python is not installed";
    // gdk-pixbuf refuses some files (an INFO list before "anih", for one); ours must not be one.
    if (result == Oracle::CannotRead) {
      EXPECT_NE(file, own);
    }
    compared += result == Oracle::Compared;
  }
  EXPECT_GE(compared, 1);
}

TEST_F(AniSamplesTest, CursorsOfOtherProgramsSaveAndReopenAsTheyWere) {
  const fs::path dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no samples folder";
  int played = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".ani") continue;
    SCOPED_TRACE(entry.path().string());
    cAni original;
    if (!original.OpenAni(entry.path().string())) continue;  // only those that open today
    const fs::path saved = dir_ / entry.path().filename(), again = dir_ / ("again-" + entry.path().filename().string());
    ASSERT_TRUE(original.SaveAni(saved.string()));
    cAni reread;
    ASSERT_TRUE(reread.OpenAni(saved.string()));
    EXPECT_EQ(reread.Images(), original.Images());  // pixels, masks and hot spots
    EXPECT_EQ(reread.FrameSizes(), original.FrameSizes());
    EXPECT_EQ(reread.Steps(), original.Steps());
    EXPECT_EQ(reread.Header().DisplayRate, original.Header().DisplayRate);
    EXPECT_EQ(std::make_tuple(reread.CursorName(), reread.CursorArtist(), reread.CursorCopy()),
              std::make_tuple(original.CursorName(), original.CursorArtist(), original.CursorCopy()));
    ASSERT_TRUE(reread.SaveAni(again.string()));
    EXPECT_EQ(ReadWholeFile(again.string()), ReadWholeFile(saved.string()));

    const std::size_t steps = original.Steps().size();
    const std::optional<Bytes> before = GdkSteps(entry.path(), steps, dir_ / "before.steps");
    if (!before) GTEST_SKIP() << "gdk-pixbuf for Python is not installed";
    if (before->empty()) continue;  // gdk-pixbuf cannot play the original
    const std::optional<Bytes> after = GdkSteps(saved, steps, dir_ / "after.steps");
    ASSERT_TRUE(after && !after->empty());
    EXPECT_TRUE(*after == *before) << "gdk-pixbuf plays the saved cursor differently";
    ++played;
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  if (played == 0) GTEST_SKIP() << "gdk-pixbuf plays none of the samples";
}

}  // namespace
}  // namespace brixel
