// brixel-cli with macOS icons (.icns), compared with other readers: Pillow reads every size of
// the files we write and of the .icns files in Debian packages as we do, icns2png extracts the
// old paletted entries and the run-length ones as we read them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "FileIO.h"
#include "IcnsTestFiles.h"
#include "PngCodec.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// A picture as 8-bit RGBA rows from the top.
struct Rgba {
  int width = 0;
  int height = 0;
  Bytes pixels;
};

// Images by their width and height.
using Pictures = std::map<std::pair<int, int>, Rgba>;

// A PAM file of brixel-cli dump: its header, then RGBA.
Rgba ReadPam(const fs::path& path) {
  const Bytes data = ReadWholeFile(path.string());
  const std::string text(data.begin(), data.end());
  const std::size_t end = text.find("ENDHDR\n");
  EXPECT_NE(end, std::string::npos);
  Rgba picture;
  std::sscanf(text.c_str(), "P7\nWIDTH %d\nHEIGHT %d", &picture.width, &picture.height);
  picture.pixels.assign(data.begin() + static_cast<std::ptrdiff_t>(end + 7), data.end());
  return picture;
}

bool HavePillow() { return test::RunCommand("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0; }
bool HaveIcns2Png() { return test::RunCommand("command -v icns2png >/dev/null 2>&1") == 0; }

// Same alpha everywhere, same colour wherever a pixel shows; the first difference named.
std::string Difference(const Rgba& ours, const Rgba& theirs) {
  if (ours.width != theirs.width || ours.height != theirs.height || ours.pixels.size() != theirs.pixels.size()) {
    return "sizes differ";
  }
  for (std::size_t i = 0; i < ours.pixels.size(); i += 4) {
    const bool alpha = ours.pixels[i + 3] != theirs.pixels[i + 3];
    const bool colour = theirs.pixels[i + 3] != 0 && !std::equal(ours.pixels.begin() + static_cast<std::ptrdiff_t>(i),
                                                                ours.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3),
                                                                theirs.pixels.begin() + static_cast<std::ptrdiff_t>(i));
    if (alpha || colour) {
      const std::size_t pixel = i / 4;
      return "pixel " + std::to_string(pixel % static_cast<std::size_t>(ours.width)) + "," +
             std::to_string(pixel / static_cast<std::size_t>(ours.width)) + " differs";
    }
  }
  return {};
}

class IcnsCliTest : public ::testing::Test {
 protected:
  test::ProcessResult Cli(const std::vector<std::string>& args) {
    return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path());
  }

  std::string Python(const std::string& args) {
    return "/usr/bin/python3 " + test::ShellQuote(BRIXEL_PIL_ICNS) + " " + args;
  }

  // Every image of file as brixel-cli dump gives it, alpha as the image keeps it.
  Pictures Ours(const fs::path& file) {
    const fs::path out = dir_ / ("ours-" + std::to_string(++runs_));
    const test::ProcessResult result = Cli({"dump", file.string(), out.string(), "--alpha"});
    EXPECT_EQ(result.status, 0) << result.err;
    Pictures pictures;
    for (const auto& entry : fs::directory_iterator(out)) {
      Rgba picture = ReadPam(entry.path());
      pictures[{picture.width, picture.height}] = std::move(picture);
    }
    return pictures;
  }

  // Every size Pillow reads from file, by its pixels.
  Pictures Pillows(const fs::path& file) {
    const fs::path out = dir_ / ("pillow-" + std::to_string(++runs_));
    fs::create_directories(out);
    const fs::path listing = out / "sizes.txt";
    EXPECT_EQ(test::RunCommand(Python("read " + test::ShellQuote(file.string()) + " " +
                                      test::ShellQuote(out.string()) + " > " + test::ShellQuote(listing.string()))),
              0)
        << "Pillow could not read " << file;
    Pictures pictures;
    std::ifstream lines(listing);
    for (int side = 0; lines >> side;) {
      pictures[{side, side}] = {side, side, ReadWholeFile((out / (std::to_string(side) + ".rgba")).string())};
    }
    return pictures;
  }

  // Every entry icns2png extracts from file, by width, height and depth.
  std::map<std::tuple<int, int, int>, Rgba> Icns2Png(const fs::path& file) {
    const fs::path out = dir_ / ("icns2png-" + std::to_string(++runs_));
    fs::create_directories(out);
    test::RunCommand("icns2png -x -o " + test::ShellQuote(out.string()) + " " + test::ShellQuote(file.string()) +
                     " >/dev/null 2>&1");
    std::map<std::tuple<int, int, int>, Rgba> pictures;
    for (const auto& entry : fs::directory_iterator(out)) {
      const std::string name = entry.path().stem().string();
      int width = 0, height = 0, depth = 0;
      const std::size_t at = name.rfind('_');
      if (std::sscanf(name.c_str() + at + 1, "%dx%dx%d", &width, &height, &depth) != 3) continue;
      const PngPicture png = DecodePng(ReadWholeFile(entry.path().string()), [](const PngHeader&) {});
      pictures[{width, height, depth}] = {png.width, png.height, Bytes(png.rgba.begin(), png.rgba.end())};
    }
    return pictures;
  }

  test::TempDir dir_;
  int runs_ = 0;
};

TEST_F(IcnsCliTest, WrittenFilesReadByPillowWithTheSamePixelsAndAlpha) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  const fs::path picture = dir_ / "picture.png";
  ASSERT_EQ(test::RunCommand(Python("picture " + test::ShellQuote(picture.string()) + " 1024")), 0);
  const fs::path icns = dir_ / "app.icns";
  const test::ProcessResult made =
      Cli({"--icns-rle", "iconset", icns.string(), picture.string(), "--sizes", "16,32,48,64,128,256,512,1024"});
  ASSERT_EQ(made.status, 0) << made.err;

  const Pictures ours = Ours(icns);
  const Pictures pillow = Pillows(icns);
  std::set<int> sides;
  for (const auto& [size, picture] : pillow) sides.insert(size.first);
  EXPECT_EQ(sides, (std::set<int>{16, 32, 48, 64, 128, 256, 512, 1024}));
  for (const auto& [size, theirs] : pillow) {
    ASSERT_TRUE(ours.count(size)) << size.first;
    EXPECT_EQ(Difference(ours.at(size), theirs), "") << size.first;
  }
  // The soft rim reaches the file: some pixels are neither clear nor opaque.
  const Bytes& large = pillow.at({256, 256}).pixels;
  bool partial = false;
  for (std::size_t i = 3; i < large.size(); i += 4) partial = partial || (large[i] > 0 && large[i] < 255);
  EXPECT_TRUE(partial);

  // The run-length entries as icns2png reads them.
  if (!HaveIcns2Png()) return;
  const auto extracted = Icns2Png(icns);
  for (const int side : {16, 32, 48}) {
    ASSERT_TRUE(extracted.count({side, side, 32})) << side;
    EXPECT_EQ(Difference(ours.at({side, side}), extracted.at({side, side, 32})), "") << side;
  }
}

TEST_F(IcnsCliTest, DebianFilesReadAsPillowReadsThemEverySize) {
  const fs::path samples = test::SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no sample files";
  if (!HavePillow()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(samples)) {
    if (entry.path().extension() != ".icns") continue;
    ++files;
    const Pictures ours = Ours(entry.path());
    const Pictures pillow = Pillows(entry.path());
    EXPECT_FALSE(pillow.empty()) << entry.path();
    for (const auto& [size, theirs] : pillow) {
      ASSERT_TRUE(ours.count(size)) << entry.path() << " " << size.first;
      EXPECT_EQ(Difference(ours.at(size), theirs), "") << entry.path() << " " << size.first;
    }
    // The old paletted entries we read where no 32-bit one has their size, as icns2png does.
    if (!HaveIcns2Png()) continue;
    const auto extracted = Icns2Png(entry.path());
    for (const auto& [size, picture] : ours) {
      if (pillow.count(size)) continue;
      for (const int depth : {8, 4, 1}) {
        if (!extracted.count({size.first, size.second, depth})) continue;
        EXPECT_EQ(Difference(picture, extracted.at({size.first, size.second, depth})), "")
            << entry.path() << " " << size.first << "x" << size.second << "x" << depth;
        break;
      }
    }
  }
  if (files == 0) GTEST_SKIP() << "no .icns among the samples";
}

TEST_F(IcnsCliTest, Jpeg2000EntriesDecodeAsPillowDecodesThem) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  const fs::path icns = dir_ / "jpeg2000.icns";
  ASSERT_EQ(test::RunCommand(Python("jp2 " + test::ShellQuote(icns.string()))), 0);
  const Pictures ours = Ours(icns);
  const Pictures pillow = Pillows(icns);
  ASSERT_EQ(pillow.size(), 3u);
  for (const auto& [size, theirs] : pillow) {
    ASSERT_TRUE(ours.count(size)) << size.first;
    EXPECT_EQ(Difference(ours.at(size), theirs), "") << size.first;
  }
  // Converted to an icon and back, every size is still there.
  const fs::path ico = dir_ / "jpeg2000.ico";
  const fs::path back = dir_ / "back.icns";
  ASSERT_EQ(Cli({"convert", icns.string(), ico.string()}).status, 0);
  ASSERT_EQ(Cli({"convert", ico.string(), back.string()}).status, 0);
  const Pictures again = Pillows(back);
  for (const auto& [size, theirs] : pillow) {
    ASSERT_TRUE(again.count(size)) << size.first;
    EXPECT_EQ(Difference(again.at(size), theirs), "") << size.first;
  }
}

// An entry that cannot be shown, and one that holds no image, go back into a macOS icon as they
// are, and are said to be left out of an icon file, which cannot hold them.
TEST_F(IcnsCliTest, EntriesNotShownAreKeptOnlyInAMacIcon) {
  const Bytes png = EncodePng(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 200));
  Bytes damaged = EncodePng(128, 128, std::vector<std::uint8_t>(128 * 128 * 4, 90));
  damaged.resize(damaged.size() / 2);
  const Bytes info = {'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xD1, 0x01, 0x02};
  const fs::path icns = dir_ / "kept.icns";
  test::WriteBytes(icns, test::IcnsOf({{"icp5", png}, {"ic07", damaged}, {"info", info}, {"name", {'a'}},
                                       {"name", {'b'}}}));
  const test::ProcessResult toIco = Cli({"convert", icns.string(), (dir_ / "kept.ico").string()});
  EXPECT_EQ(toIco.status, 0) << toIco.err;
  // Said once, by the save, which says the same in the editor.
  EXPECT_NE(toIco.err.find(", as only a macOS icon holds them: the 128x128 image that cannot be shown (damaged PNG), "
                           "'info', 'name' (2)\n"),
            std::string::npos)
      << toIco.err;
  EXPECT_EQ(toIco.err.find("left out"), std::string::npos) << toIco.err;
  // A batch writes its files itself, and says it.
  const fs::path batch = dir_ / "batch";
  fs::create_directory(batch);
  const test::ProcessResult toFolder = Cli({"convert", "--to", batch.string(), icns.string()});
  EXPECT_EQ(toFolder.status, 0) << toFolder.err;
  EXPECT_NE(toFolder.err.find("its 'info', 'name' (2) entries are left out"), std::string::npos) << toFolder.err;
  const test::ProcessResult toXcursor = Cli({"convert", icns.string(), (dir_ / "kept.xcursor").string()});
  EXPECT_EQ(toXcursor.status, 0) << toXcursor.err;
  EXPECT_NE(toXcursor.err.find("its 'info', 'name' (2) entries are left out"), std::string::npos) << toXcursor.err;
  // An animated cursor's frames are icon files: the entry that cannot be shown makes none.
  const fs::path ani = dir_ / "kept.ani";
  const test::ProcessResult toAni = Cli({"convert", icns.string(), ani.string()});
  EXPECT_EQ(toAni.status, 0) << toAni.err;
  EXPECT_NE(toAni.err.find("(128x128) cannot be shown (damaged PNG): left out"), std::string::npos) << toAni.err;
  EXPECT_NE(Cli({"info", ani.string()}).out.find("1 image in 1 frame"), std::string::npos);
  const fs::path again = dir_ / "again.icns";
  const test::ProcessResult toIcns = Cli({"convert", icns.string(), again.string()});
  EXPECT_EQ(toIcns.status, 0) << toIcns.err;
  EXPECT_NE(toIcns.err.find("(128x128) cannot be shown (damaged PNG): written back unchanged"), std::string::npos)
      << toIcns.err;
  EXPECT_EQ(toIcns.err.find("'info'"), std::string::npos) << toIcns.err;
  const Bytes written = ReadWholeFile(again.string());
  const Bytes entry = test::IcnsOf({{"info", info}});
  EXPECT_NE(std::search(written.begin(), written.end(), entry.begin() + 8, entry.end()), written.end());
}

TEST_F(IcnsCliTest, SizesAnIcnsCannotHoldAreNamedAndLeftOut) {
  const fs::path picture = dir_ / "picture.png";
  // A PNG of our own: 40 x 40, opaque.
  test::WriteBytes(picture, EncodePng(40, 40, std::vector<std::uint8_t>(40 * 40 * 4, 255)));
  const fs::path ico = dir_ / "app.ico";
  ASSERT_EQ(Cli({"iconset", ico.string(), picture.string(), "--sizes", "16,24,32"}).status, 0);
  const fs::path icns = dir_ / "app.icns";
  const test::ProcessResult converted = Cli({"convert", ico.string(), icns.string()});
  EXPECT_EQ(converted.status, 0) << converted.err;
  EXPECT_NE(converted.err.find("24x24"), std::string::npos) << converted.err;
  test::KeepFuzzSeed("icns", "converted-16-32.icns", ReadWholeFile(icns.string()));
  const test::ProcessResult info = Cli({"info", icns.string()});
  EXPECT_NE(info.out.find("macOS icon, 2 images"), std::string::npos) << info.out;

  // Nothing it could hold: no file, and why.
  const fs::path only24 = dir_ / "only24.ico";
  ASSERT_EQ(Cli({"iconset", only24.string(), picture.string(), "--sizes", "24"}).status, 0);
  const test::ProcessResult refused = Cli({"convert", only24.string(), (dir_ / "none.icns").string()});
  EXPECT_NE(refused.status, 0);
  EXPECT_FALSE(fs::exists(dir_ / "none.icns"));
  EXPECT_NE(refused.err.find("16, 32, 48"), std::string::npos) << refused.err;
  // iconset refuses such sizes before it reads the picture.
  EXPECT_EQ(Cli({"iconset", icns.string(), picture.string(), "--sizes", "16,20"}).status, 2);
  // A file of another name is still read by what it holds; a thumbnail is drawn from it.
  const fs::path renamed = dir_ / "app-icon";
  fs::copy_file(icns, renamed);
  const test::ProcessResult thumbnail = Cli({"thumbnail", renamed.string(), (dir_ / "thumb.png").string(), "24"});
  EXPECT_EQ(thumbnail.status, 0) << thumbnail.err;
  EXPECT_EQ(DecodePng(ReadWholeFile((dir_ / "thumb.png").string()), [](const PngHeader&) {}).width, 24);
}

}  // namespace
}  // namespace brixel

namespace brixel {
namespace {

TEST_F(IcnsCliTest, DamagedJpeg2000EntryIsKeptAndWrittenBackUnchanged) {
  // JPEG 2000 that the decoder program refuses, beside a PNG entry.
  Bytes jp2 = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  for (int i = 0; i < 200; ++i) jp2.push_back(static_cast<std::uint8_t>(i * 7));
  const Bytes png = EncodePng(16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 200));
  const Bytes file = test::IcnsOf({{"ic09", jp2}, {"icp4", png}});
  const fs::path in = dir_ / "damaged.icns";
  test::WriteBytes(in, file);

  const test::ProcessResult info = Cli({"info", in.string()});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("512x512, kept as it is: JPEG 2000"), std::string::npos) << info.out;
  const fs::path out = dir_ / "again.icns";
  const test::ProcessResult converted = Cli({"convert", in.string(), out.string()});
  EXPECT_EQ(converted.status, 0) << converted.err;
  const Bytes written = ReadWholeFile(out.string());
  EXPECT_NE(std::search(written.begin(), written.end(), file.begin() + 8, file.begin() + 16 + static_cast<std::ptrdiff_t>(jp2.size())),
            written.end());
}

}  // namespace
}  // namespace brixel
