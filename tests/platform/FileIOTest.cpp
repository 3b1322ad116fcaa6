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
