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

}  // namespace
}  // namespace brixel
