// brixel-cli on Linux cursors: Xcursor files converted to Windows cursors and back, and whole
// cursor themes converted, read back with libXcursor itself.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "AniFile.h"
#include "CursorRoles.h"
#include "FileIO.h"
#include "TestSupport.h"
#include "XcursorCursor.h"
#include "XcursorTestFiles.h"
#include "cAni.h"

// Last: Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xcursor/Xcursor.h>

namespace brixel {
namespace {

namespace fs = std::filesystem;
using test::PatternXcursorImage;
using test::RawXcursorFile;
using test::RawXcursorImage;

class XcursorCliTest : public ::testing::Test {
 protected:
  test::ProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path());
  }

  test::TempDir dir_;
};

// What libXcursor reads of a file at one nominal size: (width, height, xhot, yhot, delay) and
// the pixels of each step.
struct Step {
  std::array<unsigned, 5> values;
  std::vector<std::uint32_t> pixels;
  friend bool operator==(const Step&, const Step&) = default;
};

std::vector<Step> LibXcursorSteps(const fs::path& file, int size, bool delaysInJiffies) {
  std::vector<Step> steps;
  XcursorImages* read = XcursorFilenameLoadImages(file.c_str(), size);
  if (!read) return steps;
  for (int i = 0; i < read->nimage; ++i) {
    const ::XcursorImage& image = *read->images[i];
    // A still cursor's delay means nothing: a Windows cursor keeps none.
    const unsigned delay = read->nimage == 1 ? 0
                           : delaysInJiffies ? static_cast<unsigned>(JiffiesToMilliseconds(DelayToJiffies(image.delay)))
                                             : image.delay;
    steps.push_back({{image.width, image.height, image.xhot, image.yhot, delay},
                     std::vector<std::uint32_t>(image.pixels, image.pixels + image.width * image.height)});
  }
  XcursorImagesDestroy(read);
  return steps;
}

// The nominal sizes libXcursor finds in a file.
std::set<int> NominalSizes(const fs::path& file) {
  std::set<int> sizes;
  XcursorImages* all = XcursorFilenameLoadAllImages(file.c_str());
  if (!all) return sizes;
  for (int i = 0; i < all->nimage; ++i) sizes.insert(static_cast<int>(all->images[i]->size));
  XcursorImagesDestroy(all);
  return sizes;
}

// The original and the one made from its Windows cursor give libXcursor the same steps at
// every size: images, hot spots, and delays to the jiffy.
void ExpectSameCursor(const fs::path& original, const fs::path& back) {
  const std::set<int> sizes = NominalSizes(original);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(NominalSizes(back), sizes);
  for (const int size : sizes) {
    const std::vector<Step> want = LibXcursorSteps(original, size, true);
    const std::vector<Step> got = LibXcursorSteps(back, size, false);
    ASSERT_EQ(got.size(), want.size()) << "size " << size;
    for (std::size_t i = 0; i < want.size(); ++i) {
      EXPECT_EQ(got[i].values, want[i].values) << "size " << size << " step " << i;
      EXPECT_TRUE(got[i].pixels == want[i].pixels) << "size " << size << " step " << i;
    }
  }
}

std::vector<RawXcursorImage> ThreeSteps() {
  std::vector<RawXcursorImage> images;
  for (std::uint32_t step = 0; step < 3; ++step) {
    images.push_back(PatternXcursorImage(24, 24, 24, step, 16 + 34 * step));
    images.push_back(PatternXcursorImage(48, 48, 48, 7 + step, 16 + 34 * step));
  }
  return images;
}

TEST_F(XcursorCliTest, AnAnimatedXcursorBecomesAnAnimatedCursorAndComesBack) {
  const fs::path linux = dir_ / "watch", ani = dir_ / "watch.ani", back = dir_ / "back.xcursor";
  test::WriteBytes(linux, RawXcursorFile(ThreeSteps()));
  const test::ProcessResult info = Run({"info", linux.string()});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out.substr(0, info.out.find('\n')), linux.string() + ": animated cursor, 6 images in 3 frames");
  EXPECT_NE(info.out.find("  rates 1 3 5\n"), std::string::npos) << info.out;

  ASSERT_EQ(Run({"convert", linux.string(), ani.string()}).status, 0);
  cAni cursor;
  ASSERT_TRUE(cursor.ReadAniData(ReadWholeFile(ani.string())));
  EXPECT_EQ(cursor.FrameSizes(), (std::vector<std::size_t>{2, 2, 2}));
  const test::ProcessResult converted = Run({"convert", ani.string(), back.string()});
  ASSERT_EQ(converted.status, 0) << converted.err;
  ExpectSameCursor(linux, back);
}

TEST_F(XcursorCliTest, AStillXcursorBecomesACursorOfItsSizes) {
  const fs::path linux = dir_ / "left_ptr", cur = dir_ / "left_ptr.cur", back = dir_ / "back.xcursor";
  test::WriteBytes(linux, RawXcursorFile({PatternXcursorImage(32, 32, 32, 1, 50), PatternXcursorImage(24, 24, 24, 2, 50)}));
  ASSERT_EQ(Run({"convert", linux.string(), cur.string()}).status, 0);
  const test::ProcessResult info = Run({"info", cur.string()});
  EXPECT_NE(info.out.find(": cursor, 2 images\n  32x32, 32 bit, alpha, hot spot 16,10\n  24x24, 32 bit, alpha, hot spot 12,8\n"),
            std::string::npos)
      << info.out;
  ASSERT_EQ(Run({"convert", cur.string(), back.string()}).status, 0);
  ExpectSameCursor(linux, back);
}

TEST_F(XcursorCliTest, ABatchMakesLinuxCursorsCursors) {
  const fs::path linux = dir_ / "left_ptr", out = dir_ / "out";
  test::WriteBytes(linux, RawXcursorFile({PatternXcursorImage(32, 32, 32, 1)}));
  fs::create_directory(out);
  const test::ProcessResult result = Run({"convert", "--to", out.string(), linux.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  const test::ProcessResult info = Run({"info", (out / "left_ptr.cur").string()});
  EXPECT_NE(info.out.find(": cursor, 1 image\n  32x32, 32 bit, alpha, hot spot 16,10\n"), std::string::npos) << info.out;
}

TEST_F(XcursorCliTest, ADamagedXcursorIsRefusedWithItsReason) {
  Bytes file = RawXcursorFile(ThreeSteps());
  file.resize(file.size() - 1);
  const fs::path linux = dir_ / "cut", out = dir_ / "cut.ani";
  test::WriteBytes(linux, file);
  const test::ProcessResult result = Run({"convert", linux.string(), out.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(linux.string() + ": Xcursor file: table entry 5: its pixels run past the end of the file"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(out));
}

// A theme's cursors under their Windows roles' names (through links too), the rest once under
// their own; a link to nothing and a damaged file are told, and the rest goes on.
TEST_F(XcursorCliTest, AThemeIsWrittenUnderTheWindowsNames) {
  const fs::path theme = dir_ / "Theme", cursors = theme / "cursors", out = dir_ / "windows";
  fs::create_directories(cursors);
  test::WriteBytes(cursors / "left_ptr", RawXcursorFile({PatternXcursorImage(24, 24, 24, 1)}));
  test::WriteBytes(cursors / "watch", RawXcursorFile(ThreeSteps()));
  test::WriteBytes(cursors / "pirate", RawXcursorFile({PatternXcursorImage(32, 32, 32, 3)}));
  test::WriteBytes(cursors / "broken", Bytes{'X', 'c', 'u', 'r', 16, 0, 0, 0});
  fs::create_symlink("watch", cursors / "wait");
  fs::create_symlink("left_ptr", cursors / "default");
  fs::create_symlink("pirate", cursors / "skull");
  fs::create_symlink("nowhere", cursors / "gone");

  const test::ProcessResult result = Run({"convert", "--from-theme", theme.string(), out.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find((cursors / "gone").string() + ": not a file: left out"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("broken: Xcursor file: its header is cut short"), std::string::npos) << result.err;
  std::set<std::string> written;
  for (const fs::directory_entry& entry : fs::directory_iterator(out)) written.insert(entry.path().filename().string());
  EXPECT_EQ(written, (std::set<std::string>{"arrow.cur", "wait.ani", "pirate.cur"}));
  for (const auto& [name, source] : {std::pair{"arrow.cur", "left_ptr"}, {"wait.ani", "watch"}, {"pirate.cur", "pirate"}}) {
    const fs::path back = dir_ / (std::string(source) + ".xcursor");
    ASSERT_EQ(Run({"convert", (out / name).string(), back.string()}).status, 0);
    ExpectSameCursor(cursors / source, back);
  }
}

// The file of the theme that out/name was made from: a role's first name the theme has, else
// the name itself.
fs::path SourceOf(const fs::path& cursors, const std::string& name) {
  if (const CursorRole* role = RoleOfWindowsName(name)) {
    for (const std::string_view x : role->XcursorNames) {
      if (fs::exists(cursors / x)) return fs::canonical(cursors / x);
    }
  }
  return fs::canonical(cursors / name);
}

// Every cursor of Debian's themes converted to Windows cursors and back gives libXcursor the
// same images, hot spots and delays (to the jiffy); every file of the theme is converted.
TEST_F(XcursorCliTest, DebianThemesComeBackFromWindowsCursors) {
  int themes = 0;
  for (const fs::path theme : {"/usr/share/icons/DMZ-White", "/usr/share/icons/Adwaita"}) {
    if (!fs::is_directory(theme / "cursors")) continue;
    ++themes;
    SCOPED_TRACE(theme.string());
    const fs::path out = dir_ / theme.filename();
    const test::ProcessResult result = Run({"convert", "--from-theme", theme.string(), out.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    std::set<fs::path> sources;
    for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
      const std::string name = entry.path().stem().string();
      SCOPED_TRACE(name);
      const fs::path source = SourceOf(theme / "cursors", name);
      sources.insert(source);
      const fs::path back = dir_ / "back.xcursor";
      ASSERT_EQ(Run({"convert", entry.path().string(), back.string()}).status, 0);
      EXPECT_EQ(entry.path().extension() == ".ani", LibXcursorSteps(source, 24, false).size() > 1);
      ExpectSameCursor(source, back);
    }
    std::set<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(theme / "cursors")) {
      if (!entry.is_symlink()) files.insert(fs::canonical(entry.path()));
    }
    EXPECT_EQ(sources, files);
  }
  if (themes == 0) GTEST_SKIP() << "no Debian cursor theme installed (dmz-cursor-theme, adwaita-icon-theme)";
}

}  // namespace
}  // namespace brixel
