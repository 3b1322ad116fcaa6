// brixel-cli iconset: one icon or cursor with every standard size made from one picture, read
// back with Pillow and with our own reader.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "FileIO.h"
#include "PictureFixtures.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

using Rgba = std::array<int, 4>;

// An entry as Pillow reads it.
struct PillowEntry {
  std::string format;  // PNG or DIB
  int bpp = 0;
  std::string mode;
  Bytes rgba;
  int size = 0;
  Rgba At(int x, int y) const {
    const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)) * 4;
    return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
  }
};

class IconSetCliTest : public ::testing::Test {
 protected:
  test::ProcessResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"iconset"};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(BRIXEL_CLI_PATH, all, dir_.Path());
  }

  // The entries by size; fails the test when Pillow cannot read the file.
  std::map<int, PillowEntry> ReadWithPillow(const fs::path& file) {
    const fs::path frames = dir_ / "pillow";
    fs::create_directories(frames);
    const fs::path listing = frames / "entries.txt";
    const int status = test::RunCommand("/usr/bin/python3 " + test::ShellQuote(BRIXEL_PIL_ICONSET) + " " +
                                        test::ShellQuote(file.string()) + " " + test::ShellQuote(frames.string()) +
                                        " > " + test::ShellQuote(listing.string()));
    EXPECT_EQ(status, 0) << "Pillow could not read " << file;
    std::map<int, PillowEntry> entries;
    std::ifstream lines(listing);
    std::string size;
    for (int i = 0; lines >> size; ++i) {
      PillowEntry entry;
      lines >> entry.format >> entry.bpp >> entry.mode;
      entry.size = std::stoi(size);
      EXPECT_EQ(size, std::to_string(entry.size) + "x" + std::to_string(entry.size));
      entry.rgba = ReadWholeFile((frames / (std::to_string(i) + ".rgba")).string());
      entries[entry.size] = std::move(entry);
    }
    return entries;
  }

  static bool PillowPresent() { return test::RunCommand("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0; }

  test::TempDir dir_;
};

// 200 x 100: opaque red on the left, half transparent blue on the right, a clear margin.
std::string WidePicture(const fs::path& path) {
  QImage image(200, 100, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.fillRect(0, 0, 100, 100, QColor(255, 0, 0));
  painter.fillRect(100, 0, 100, 100, QColor(0, 0, 255, 128));
  painter.end();
  EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
  return path.string();
}

TEST_F(IconSetCliTest, APngWithTransparencyMakesEveryStandardSize) {
  if (!PillowPresent()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  const std::string picture = WidePicture(dir_ / "wide.png");
  const fs::path icon = dir_ / "app.ico";
  const test::ProcessResult result = Run({icon.string(), picture});
  ASSERT_EQ(result.status, 0) << result.err;

  const std::map<int, PillowEntry> entries = ReadWithPillow(icon);
  std::vector<int> sizes;
  for (const auto& [size, entry] : entries) sizes.push_back(size);
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 256}));
  cIco read;
  ASSERT_TRUE(read.OpenIcon(icon.string()));
  ASSERT_EQ(read.IconCount(), 6);
  for (std::int16_t i = 0; i < read.IconCount(); ++i) {
    const IconImage& image = read.Image(i);
    const int n = image.Width;
    const PillowEntry& entry = entries.at(n);
    EXPECT_EQ(entry.format, n == 256 ? "PNG" : "DIB") << n;
    EXPECT_EQ(entry.bpp, 32) << n;
    EXPECT_EQ(entry.mode, "RGBA") << n;
    // The picture lies in rows n/4 .. 3n/4, red on the left, blue at half alpha on the right.
    EXPECT_EQ(entry.At(n / 4, n / 2), (Rgba{255, 0, 0, 255})) << n;
    EXPECT_EQ(entry.At(3 * n / 4, n / 2), (Rgba{0, 0, 255, 128})) << n;
    EXPECT_EQ(entry.At(n / 2, 1)[3], 0) << n;
    EXPECT_EQ(entry.At(n / 2, n - 2)[3], 0) << n;
    // Our reader: the same alpha, and the AND mask clear only where alpha is below half.
    EXPECT_EQ(image.StoredAsPng, n == 256);
    EXPECT_EQ(AlphaAt(image, 3 * n / 4, n / 2), 128);
    EXPECT_EQ(image.Mask.At(3 * n / 4, n / 2), MaskOpaque);
    EXPECT_EQ(image.Mask.At(n / 2, 1), MaskTransparent);
  }
}

TEST_F(IconSetCliTest, AnSvgDrawingIsRenderedAtEachSize) {
  if (!PillowPresent()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  const fs::path svg = dir_ / "disc.svg";
  const std::string text =
      "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
      "<circle cx=\"50\" cy=\"50\" r=\"40\" fill=\"#ff0000\"/>"
      "<rect width=\"10\" height=\"10\" fill=\"#0000ff\" fill-opacity=\"0.5\"/></svg>\n";
  test::WriteBytes(svg, Bytes(text.begin(), text.end()));
  const fs::path icon = dir_ / "disc.ico";
  const test::ProcessResult result = Run({icon.string(), svg.string(), "--sizes", "256,16,32"});
  ASSERT_EQ(result.status, 0) << result.err;

  const std::map<int, PillowEntry> entries = ReadWithPillow(icon);
  ASSERT_EQ(entries.size(), 3u);
  for (const auto& [n, entry] : entries) {
    EXPECT_EQ(entry.format, n == 256 ? "PNG" : "DIB") << n;
    EXPECT_EQ(entry.At(n / 2, n / 2), (Rgba{255, 0, 0, 255})) << n;
    EXPECT_EQ(entry.At(n - 1, n - 1)[3], 0) << n;
    const Rgba corner = entry.At(0, 0);
    EXPECT_GE(corner[2], 250) << n;
    EXPECT_NEAR(corner[3], 128, 2) << n;
  }
}

TEST_F(IconSetCliTest, ACursorCarriesItsHotSpotIntoEachSize) {
  const std::string picture = WidePicture(dir_ / "wide.png");
  const fs::path cursor = dir_ / "pointer.cur";
  ASSERT_EQ(Run({cursor.string(), picture, "--sizes", "16,32", "--cursor", "150,50"}).status, 0);
  cIco read;
  ASSERT_TRUE(read.OpenIcon(cursor.string()));
  ASSERT_EQ(read.IconCount(), 2);
  EXPECT_EQ(ReadWholeFile(cursor.string())[2], 2);
  EXPECT_EQ(read.Image(0).xHotSpot, 12);
  EXPECT_EQ(read.Image(0).yHotSpot, 8);
  EXPECT_EQ(read.Image(1).xHotSpot, 24);
  EXPECT_EQ(read.Image(1).yHotSpot, 16);
}

TEST_F(IconSetCliTest, RefusalsWriteNothing) {
  const std::string picture = WidePicture(dir_ / "wide.png");
  const fs::path out = dir_ / "out.cur";
  const std::string icon = (dir_ / "out.ico").string();
  const std::string notAPicture = (dir_ / "notes.png").string();
  test::WriteBytes(notAPicture, Bytes{'n', 'o', 't', 'e', 's'});
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{out.string(), notAPicture}, 1},
      {{out.string(), picture, "--cursor", "200,0"}, 2},  // outside the picture
      {{icon, picture, "--cursor", "3,3"}, 2},            // an icon has no hot spot
      {{out.string(), picture, "--sizes", "16,257"}, 2},
  };
  for (const auto& [args, status] : cases) {
    const test::ProcessResult result = Run(args);
    EXPECT_EQ(result.status, status) << args[1] << " " << result.err;
    EXPECT_FALSE(fs::exists(out)) << args[1];
    EXPECT_FALSE(fs::exists(icon)) << args[1];
  }
}

// Drawings downloaded from anywhere: each ends within the limits, set low here, with one line
// that says why, and leaves what is there as it was.
class HostileIconSetTest : public IconSetCliTest {
 protected:
  ~HostileIconSetTest() override {
    for (const char* name : {"BRIXEL_DECODER_CPU_SECONDS", "BRIXEL_DECODER_MEGABYTES"}) unsetenv(name);
  }
  std::string Drawing(const char* name, const std::string& text) {
    test::WriteBytes(dir_ / name, Bytes(text.begin(), text.end()));
    return (dir_ / name).string();
  }
};

TEST_F(HostileIconSetTest, ALargeDrawingIsRenderedOnlyAtTheSizesWritten) {
  // Its own size alone would take 256 MB for the pixels.
  setenv("BRIXEL_DECODER_MEGABYTES", "150", 1);
  setenv("BRIXEL_DECODER_CPU_SECONDS", "5", 1);
  const std::string svg = Drawing("large.svg", test::TranslucentCircles(8192, 200));
  const fs::path icon = dir_ / "large.ico";
  const test::ProcessResult result = Run({icon.string(), svg, "--sizes", "16,256"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  cIco read;
  ASSERT_TRUE(read.OpenIcon(icon.string()));
  ASSERT_EQ(read.IconCount(), 2);
  EXPECT_EQ(read.Image(1).Width, 256);
  EXPECT_EQ(GreenOf(read.Image(1).Pixels.At(128, 128)), 255);
}

TEST_F(HostileIconSetTest, EndlessWorkFailsInOneLineAndLeavesTheOutputAlone) {
  const fs::path icon = dir_ / "kept.ico";
  ASSERT_EQ(Run({icon.string(), WidePicture(dir_ / "wide.png"), "--sizes", "16"}).status, 0);
  const Bytes before = ReadWholeFile(icon.string());

  setenv("BRIXEL_DECODER_CPU_SECONDS", "1", 1);
  const std::string stops = Drawing("stops.svg", test::GradientOfManyStops(200000));
  test::WriteBytes(dir_ / "bomb.svgz", test::Gzip(test::SvgStart(16, 16) + "<!--" + std::string(std::size_t{64} << 20, ' ') + "-->"));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {stops, "the picture took too long to decode"},
      {(dir_ / "bomb.svgz").string(), "the compressed drawing inflates to more than 32 MB"},
  };
  for (const auto& [picture, reason] : cases) {
    const test::ProcessResult result = Run({icon.string(), picture});
    EXPECT_EQ(result.status, 1) << picture;
    EXPECT_EQ(result.err, "brixel-cli: " + picture + ": Invalid picture: " + reason + "\n");
    EXPECT_EQ(ReadWholeFile(icon.string()), before) << picture;
  }
}

TEST_F(HostileIconSetTest, DrawingsThatReadThemselvesAreDrawnWithoutIt) {
  for (const char* self : {"/proc/self/fd/0", "/proc/self/fd/1", "/proc/self/exe"}) {
    const std::string svg = Drawing("self.svg", test::DrawingOfImage(self));
    const fs::path icon = dir_ / "self.ico";
    const test::ProcessResult result = Run({icon.string(), svg, "--sizes", "16"});
    EXPECT_EQ(result.status, 0) << self << " " << result.err;
    EXPECT_EQ(result.err, "brixel-cli: " + svg + ": a reference to \"" + self + "\" in <image> was left out\n");
  }
}

TEST_F(HostileIconSetTest, NoDecoderOutlivesTheCommand) {
  const std::string stops = Drawing("stops.svg", test::GradientOfManyStops(200000));
  const std::string icon = (dir_ / "stops.ico").string();
  const pid_t cli = ::fork();
  ASSERT_GE(cli, 0);
  if (cli == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDERR_FILENO);
    ::execl(BRIXEL_CLI_PATH, "brixel-cli", "iconset", icon.c_str(), stops.c_str(), nullptr);
    ::_exit(127);
  }
  // Its decoder, once started.
  pid_t decoder = 0;
  const std::string children = "/proc/" + std::to_string(cli) + "/task/" + std::to_string(cli) + "/children";
  for (int i = 0; i < 1000 && decoder == 0; ++i) {
    std::ifstream(children) >> decoder;
    if (decoder == 0) ::usleep(10000);
  }
  ::kill(cli, SIGKILL);
  ::waitpid(cli, nullptr, 0);
  ASSERT_GT(decoder, 0);
  // Gone with it, or at most waiting to be reaped.
  const auto running = [&] {
    std::ifstream stat("/proc/" + std::to_string(decoder) + "/stat");
    std::string pid, name, state;
    return stat >> pid >> name >> state && state != "Z";
  };
  for (int i = 0; i < 500 && running(); ++i) ::usleep(10000);
  EXPECT_FALSE(running());
}

}  // namespace
}  // namespace brixel
