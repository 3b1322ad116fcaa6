// The Xcursor reader, checked against libXcursor's own reader, and what its files become as
// Windows cursors.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "AniFile.h"
#include "ErrorReport.h"
#include "TestSupport.h"
#include "XcursorFile.h"
#include "XcursorReader.h"
#include "XcursorTestFiles.h"

// Last: Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xcursor/Xcursor.h>

namespace brixel {
namespace {

namespace fs = std::filesystem;
using test::PatternXcursorImage;
using test::RawXcursorFile;
using test::RawXcursorImage;

void ExpectImage(const XcursorImageData& got, const RawXcursorImage& want) {
  EXPECT_EQ(got.NominalSize, want.size);
  EXPECT_EQ(std::make_pair(got.Width, got.Height), std::make_pair(static_cast<int>(want.width), static_cast<int>(want.height)));
  EXPECT_EQ(std::make_pair(got.xHot, got.yHot), std::make_pair(static_cast<int>(want.xhot), static_cast<int>(want.yhot)));
  EXPECT_EQ(got.Delay, want.delay);
  EXPECT_EQ(got.Pixels, want.pixels);
}

TEST(XcursorReader, ReadsEveryImageInTableOrderPassingOverOtherChunks) {
  const std::vector<RawXcursorImage> images = {PatternXcursorImage(24, 24, 24, 1, 30), PatternXcursorImage(32, 32, 32, 2, 30),
                                               PatternXcursorImage(24, 24, 24, 3, 45)};
  const Bytes file = RawXcursorFile(images, true);
  test::KeepFuzzSeed("xcursor", "two-sizes-comment", file);
  const std::vector<XcursorImageData> read = ReadXcursorFile(file);
  ASSERT_EQ(read.size(), images.size());
  for (std::size_t i = 0; i < images.size(); ++i) ExpectImage(read[i], images[i]);
}

TEST(XcursorReader, TakesWhatLibXcursorTakes) {
  // A hot spot on the far edge, an image larger than its nominal size, and a longer header
  // (the table follows it).
  RawXcursorImage edge = PatternXcursorImage(24, 32, 30, 4);
  edge.xhot = 32;
  edge.yhot = 30;
  Bytes file = RawXcursorFile({edge});
  file[4] = 20;
  file.insert(file.begin() + 16, 4, 0xEE);
  file[16 + 4 + 8] += 4;  // the image moved by the four bytes
  test::KeepFuzzSeed("xcursor", "edge-hot-spot", file);
  const std::vector<XcursorImageData> read = ReadXcursorFile(file);
  ASSERT_EQ(read.size(), 1u);
  ExpectImage(read[0], edge);
}

// What a hostile file is refused with: the error number and words of its description.
struct Hostile {
  const char* name;
  std::function<void(Bytes&)> change;
  ErrorCode code;
  const char* words;
};

void SetAt(Bytes& file, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(XcursorReader, RefusesHostileFilesSayingWhy) {
  // Two images, 16 x 16 then 8 x 8: the table at 16 (entries of 12 bytes), the first chunk at
  // 40 (width at 56, hot spot at 64), the second at 40 + 36 + 1024.
  const Bytes good = RawXcursorFile({PatternXcursorImage(16, 16, 16, 5), PatternXcursorImage(8, 8, 8, 6)});
  ASSERT_EQ(ReadXcursorFile(good).size(), 2u);
  const std::vector<Hostile> cases = {
      {"not an Xcursor file", [](Bytes& f) { f[0] = 'Y'; }, ErrorCode::InvalidPicture, "Xcur"},
      {"header cut short", [](Bytes& f) { f.resize(12); }, ErrorCode::InputPastEnd, "header"},
      {"header length below 16", [](Bytes& f) { SetAt(f, 4, 8); }, ErrorCode::InvalidPicture, "header"},
      {"huge entry count", [](Bytes& f) { SetAt(f, 12, 0x10001); }, ErrorCode::InvalidPicture, "65537 entries"},
      {"table past the end", [](Bytes& f) { SetAt(f, 12, 1000); }, ErrorCode::InputPastEnd, "table"},
      {"no image", [](Bytes& f) { SetAt(f, 12, 0); }, ErrorCode::InvalidPicture, "no image"},
      {"position past the end", [](Bytes& f) { SetAt(f, 24, 0xFFFFFFF0); }, ErrorCode::InputPastEnd, "table entry 0"},
      {"chunk of another size", [](Bytes& f) { SetAt(f, 48, 17); }, ErrorCode::InvalidPicture, "not the image"},
      {"chunk of another type", [](Bytes& f) { SetAt(f, 44, 0xFFFE0001); }, ErrorCode::InvalidPicture, "not the image"},
      {"no width", [](Bytes& f) { SetAt(f, 56, 0); }, ErrorCode::InvalidPicture, "0 x 16"},
      {"width past 32767", [](Bytes& f) { SetAt(f, 56, 0x8000); }, ErrorCode::InvalidPicture, "32768 x 16"},
      {"hot spot outside", [](Bytes& f) { SetAt(f, 64, 17); }, ErrorCode::InvalidPicture, "hot spot"},
      {"pixels past the end", [](Bytes& f) { SetAt(f, 40 + 36 + 1024 + 20, 4096); }, ErrorCode::InputPastEnd,
       "table entry 1: its pixels"},
      {"last byte missing", [](Bytes& f) { f.pop_back(); }, ErrorCode::InputPastEnd, "pixels"},
      {"entries sharing one chunk",
       [](Bytes& f) {
         // Twenty entries more, all pointing at the first image: more pixels than the file holds.
         Bytes table;
         for (int i = 0; i < 22; ++i) {
           for (std::uint32_t v : {0xFFFD0002u, 16u, 0u}) test::Put32(table, v);
         }
         Bytes shared(f.begin(), f.begin() + 16);
         SetAt(shared, 12, 22);
         const std::size_t chunk = shared.size() + table.size();
         shared.insert(shared.end(), table.begin(), table.end());
         shared.insert(shared.end(), f.begin() + 40, f.begin() + 40 + 36 + 1024);
         for (int i = 0; i < 22; ++i) SetAt(shared, 16 + 12 * static_cast<std::size_t>(i) + 8, static_cast<std::uint32_t>(chunk));
         f = shared;
       },
       ErrorCode::InvalidPicture, "more pixels than the file holds"},
  };
  for (const Hostile& hostile : cases) {
    SCOPED_TRACE(hostile.name);
    Bytes file = good;
    hostile.change(file);
    std::string seed = std::string("hostile-") + hostile.name;
    std::replace(seed.begin(), seed.end(), ' ', '-');
    test::KeepFuzzSeed("xcursor", seed, file);
    try {
      ReadXcursorFile(file);
      ADD_FAILURE() << "read";
    } catch (const BackEndError& error) {
      EXPECT_EQ(error.Number(), static_cast<int>(hostile.code));
      EXPECT_NE(error.Description().find(hostile.words), std::string::npos) << error.Description();
    }
  }
}

// The regular files of a theme's cursors folder (links lead to them).
std::vector<fs::path> ThemeFiles(const fs::path& theme) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(theme / "cursors", ec)) {
    if (!entry.is_symlink() && entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

const std::vector<fs::path> kThemes = {"/usr/share/icons/DMZ-White", "/usr/share/icons/DMZ-Black",
                                       "/usr/share/icons/Adwaita"};

// Every image of every size as libXcursor reads it: one call per nominal size, as a desktop
// asks for a size, and all images in one call.
TEST(XcursorReader, ReadsDebianCursorThemesAsLibXcursorDoes) {
  int files = 0;
  for (const fs::path& theme : kThemes) {
    for (const fs::path& path : ThemeFiles(theme)) {
      SCOPED_TRACE(path.string());
      ++files;
      const Bytes bytes = ReadWholeFile(path.string());
      if (path.filename() == "left_ptr") test::KeepFuzzSeed("xcursor", theme.filename().string() + "-left_ptr", bytes);
      std::vector<XcursorImageData> ours;
      ASSERT_NO_THROW(ours = ReadXcursorFile(bytes));
      std::map<std::uint32_t, std::vector<const XcursorImageData*>> bySize;
      for (const XcursorImageData& image : ours) bySize[image.NominalSize].push_back(&image);

      XcursorImages* all = XcursorFilenameLoadAllImages(path.c_str());
      ASSERT_NE(all, nullptr);
      EXPECT_EQ(static_cast<std::size_t>(all->nimage), ours.size());
      XcursorImagesDestroy(all);
      for (const auto& [size, steps] : bySize) {
        XcursorImages* theirs = XcursorFilenameLoadImages(path.c_str(), static_cast<int>(size));
        ASSERT_NE(theirs, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(theirs->nimage), steps.size()) << "size " << size;
        for (std::size_t i = 0; i < steps.size(); ++i) {
          const ::XcursorImage& want = *theirs->images[i];
          const XcursorImageData& got = *steps[i];
          EXPECT_EQ(got.NominalSize, want.size);
          ASSERT_EQ(std::make_pair(got.Width, got.Height), std::make_pair(static_cast<int>(want.width), static_cast<int>(want.height)));
          EXPECT_EQ(std::make_pair(got.xHot, got.yHot), std::make_pair(static_cast<int>(want.xhot), static_cast<int>(want.yhot)));
          EXPECT_EQ(got.Delay, want.delay);
          EXPECT_TRUE(std::equal(got.Pixels.begin(), got.Pixels.end(), want.pixels)) << "size " << size << " step " << i;
        }
        XcursorImagesDestroy(theirs);
      }
    }
  }
  if (files == 0) GTEST_SKIP() << "no Debian cursor theme installed (dmz-cursor-theme, adwaita-icon-theme)";
}

}  // namespace
}  // namespace brixel
