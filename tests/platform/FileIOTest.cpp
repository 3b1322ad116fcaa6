#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "FileIO.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

TEST(FileIO, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const fs::path target = dir / "x.ico";
  test::WriteBytes(target, {1, 2, 3});
  ::chmod(target.c_str(), 0640);
  WriteFileReplacing(target.string(), {9, 8, 7, 6});
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{9, 8, 7, 6}));
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(FileIO, FailedWriteLeavesNothingBehind) {
  test::TempDir dir;
  try {
    WriteFileReplacing((dir / "no-such-folder" / "x.ico").string(), {1});
    FAIL() << "no error raised";
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
  // A folder in the way of the target is refused without touching it.
  fs::create_directory(dir / "folder.ico");
  EXPECT_THROW(WriteFileReplacing((dir / "folder.ico").string(), {1}), BackEndError);
  EXPECT_TRUE(fs::is_directory(dir / "folder.ico"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

// Files are read whole whatever their size says: exactly as large as the buffer, past a
// buffer's worth, and files of the kernel that claim a size of 0.
TEST(FileIO, ReadsEveryByteOfFilesOfAnySize) {
  test::TempDir dir;
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{70001}}) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    test::WriteBytes(dir / "f", bytes);
    EXPECT_EQ(ReadWholeFile((dir / "f").string()), bytes) << size;
  }
  const Bytes status = ReadWholeFile("/proc/self/status");
  EXPECT_EQ(std::string(status.begin(), status.begin() + 5), "Name:");
}

// A file's first bytes: as many as asked, fewer from a shorter file, none from one that cannot
// be read.
TEST(FileIO, ReadsTheStartOfAFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "f", {1, 2, 3, 4, 5});
  EXPECT_EQ(ReadFileStart((dir / "f").string(), 2), (Bytes{1, 2}));
  EXPECT_EQ(ReadFileStart((dir / "f").string(), 8), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_TRUE(ReadFileStart((dir / "missing").string(), 4).empty());
  EXPECT_TRUE(ReadFileStart(dir.Path().string(), 4).empty()) << "a folder";
}

TEST(FileIO, PendingReplacementsKnowWhetherTheyReplaceAFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.ico", {1});
  PendingReplace replacing = PrepareReplacing((dir / "old.ico").string(), {2});
  PendingReplace fresh = PrepareReplacing((dir / "new.ico").string(), {3});
  EXPECT_TRUE(replacing.ReplacesFile());
  EXPECT_FALSE(fresh.ReplacesFile());
  fresh.Commit();
  EXPECT_EQ(ReadWholeFile((dir / "new.ico").string()), Bytes{3});
  EXPECT_EQ(ReadWholeFile((dir / "old.ico").string()), Bytes{1});  // not committed yet
}

TEST(FileIO, ReadingMissingFileIsFileNotFound) {
  test::TempDir dir;
  try {
    ReadWholeFile((dir / "missing.ico").string());
    FAIL() << "no error raised";
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(e.Description(), "File not found");
  }
}

// Dotfiles folders keep settings and icons as links: a save goes through the link to its file,
// the temporary file beside that file, and the link stays a link.
TEST(FileIO, ReplacingThroughLinksWritesTheFileTheyNameAndKeepsThem) {
  test::TempDir dir;
  fs::create_directories(dir / "dotfiles");
  const fs::path real = dir / "dotfiles" / "icon.ico";
  test::WriteBytes(real, {1});
  fs::create_symlink("dotfiles/icon.ico", dir / "relative.ico");  // relative to the link's folder
  fs::create_symlink(dir / "relative.ico", dir / "chain.ico");     // a link to a link
  WriteFileReplacing((dir / "chain.ico").string(), {2, 3});
  EXPECT_TRUE(fs::is_symlink(dir / "chain.ico"));
  EXPECT_TRUE(fs::is_symlink(dir / "relative.ico"));
  EXPECT_EQ(ReadWholeFile(real.string()), (Bytes{2, 3}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "dotfiles"), fs::directory_iterator()), 1);

  // A link to a file not there yet makes that file.
  fs::create_symlink("dotfiles/new.ico", dir / "dangling.ico");
  WriteFileReplacing((dir / "dangling.ico").string(), {4});
  EXPECT_EQ(ReadWholeFile((dir / "dotfiles" / "new.ico").string()), Bytes{4});
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.ico"));

  // A loop of links is an error, not a hang, and writes nothing.
  fs::create_symlink("b.ico", dir / "a.ico");
  fs::create_symlink("a.ico", dir / "b.ico");
  EXPECT_THROW(WriteFileReplacing((dir / "a.ico").string(), {5}), BackEndError);
}

TEST(FileIO, FailuresOfManyCausesSayWhichInTheSystemsWords) {
  EXPECT_EQ(ErrorFromErrno(ENOSPC).Number(), 57);
  EXPECT_EQ(ErrorFromErrno(ENOSPC).Description(), "No space left on device");
  EXPECT_EQ(ErrorFromErrno(EROFS).Description(), "Read-only file system");
  EXPECT_EQ(ErrorFromErrno(EACCES).Description(), "Permission denied");
  EXPECT_EQ(ErrorFromErrno(ENOENT).Description(), "File not found");
}

}  // namespace
}  // namespace brixel
