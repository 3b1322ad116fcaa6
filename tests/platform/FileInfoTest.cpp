#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestSupport.h"
#include "cFileInfo.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

bool HasWriteBits(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

TEST(FileSizeText, FollowsTheByteKilobyteMegabyteSteps) {
  EXPECT_EQ(FormatSizeText(0), "0 bytes");
  EXPECT_EQ(FormatSizeText(1), "1 byte");
  EXPECT_EQ(FormatSizeText(1023), "1,023 bytes");
  EXPECT_EQ(FormatSizeText(1024), "1.00 KB (1,024 bytes)");
  EXPECT_EQ(FormatSizeText(1536), "1.50 KB (1,536 bytes)");
  EXPECT_EQ(FormatSizeText(1152), "1.13 KB (1,152 bytes)");  // halves round up
  EXPECT_EQ(FormatSizeText(1088 * 1024), "1.06 MB (1,114,112 bytes)");
  EXPECT_EQ(FormatSizeText(20480), "20.0 KB (20,480 bytes)");
  EXPECT_EQ(FormatSizeText(500 * 1024), "500 KB (512,000 bytes)");
  EXPECT_EQ(FormatSizeText(5 * 1048576), "5.00 MB (5,242,880 bytes)");
  EXPECT_EQ(FormatSizeText(3LL * 1073741824), "3.00 GB (3,221,225,472 bytes)");
}

class FileInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = dir_ / "a.ico";
    test::WriteBytes(file_, Bytes(1536, 7));
    info_.File_Path(file_.string());
  }
  test::BackEndFixture backEnd_;
  test::TempDir dir_;
  fs::path file_;
  cFileInfo info_;
};

TEST_F(FileInfoTest, ReadOnlyMapsToTheWriteBits) {
  EXPECT_FALSE(info_.Properties(cFileInfo::ReadOnly));
  info_.Properties(cFileInfo::ReadOnly, true);
  EXPECT_FALSE(HasWriteBits(file_));
  EXPECT_TRUE(info_.Properties(cFileInfo::ReadOnly));
  info_.Properties(cFileInfo::ReadOnly, false);
  EXPECT_TRUE(HasWriteBits(file_));
  // Clearing it again changes nothing.
  info_.Properties(cFileInfo::ReadOnly, false);
  EXPECT_FALSE(info_.Properties(cFileInfo::ReadOnly));
}

TEST_F(FileInfoTest, AttributeWordCombinesTheKinds) {
  info_.Properties(cFileInfo::ReadOnly, true);
  ASSERT_EQ(info_.Attributes(), cFileInfo::kReadOnlyBit + cFileInfo::kArchiveBit);
  try {
    info_.Properties(cFileInfo::Hidden, true);
  } catch (const BackEndError&) {
    GTEST_SKIP() << "the temporary folder keeps no extended attributes";
  }
  EXPECT_EQ(info_.Attributes(), 1 + 2 + 32);
  info_.Properties(cFileInfo::Archive, false);
  EXPECT_EQ(info_.Attributes(), 1 + 2);
}

// Extended attributes need write access to the file, which root always has: the change runs
// as an ordinary user, in a child process when the tests run as root.
TEST_F(FileInfoTest, AnOrdinaryUserMarksAReadOnlyFileHiddenAndItStaysReadOnly) {
  info_.Properties(cFileInfo::ReadOnly, true);
  const bool root = ::geteuid() == 0;
  if (root && (::chown(dir_.Path().c_str(), 65534, 65534) != 0 || ::chown(file_.c_str(), 65534, 65534) != 0)) {
    GTEST_SKIP() << "no user to become";
  }
  const auto change = [&] {
    try {
      info_.Properties(cFileInfo::Hidden, true);
      return info_.Attributes() == 1 + 2 + 32 ? 0 : 1;
    } catch (const BackEndError& failure) {
      return failure.Number() == 75 ? 3 : 2;  // 75: no extended attributes here
    }
  };
  int result = 0;
  if (root) {
    const pid_t child = ::fork();
    if (child == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? change() : 4);
    int status = 0;
    ::waitpid(child, &status, 0);
    result = WIFEXITED(status) ? WEXITSTATUS(status) : 5;
  } else {
    result = change();
  }
  if (result == 3) GTEST_SKIP() << "the temporary folder keeps no extended attributes";
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(HasWriteBits(file_));
}

TEST_F(FileInfoTest, InformationAndLocation) {
  EXPECT_EQ(std::get<std::int64_t>(info_.Information(3)), 1536);
  EXPECT_EQ(std::get<std::string>(info_.Information(4)), "1.50 KB (1,536 bytes)");
  EXPECT_EQ(std::get<std::string>(info_.Information(5)), "ICO File");
  EXPECT_EQ(std::get<std::string>(info_.Information(9)), "Unknown");
  EXPECT_EQ(info_.Location(4), "a.ico");
  EXPECT_EQ(info_.Location(5), dir_.Path().string());
  EXPECT_EQ(info_.Location(1), file_.string());
}

TEST_F(FileInfoTest, MissingFileIsFileNotFound) {
  cFileInfo other;
  try {
    other.File_Path((dir_ / "missing.ico").string());
    FAIL() << "no error raised";
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
}

TEST_F(FileInfoTest, DeletingAReadOnlyFileAsksFirst) {
  info_.Properties(cFileInfo::ReadOnly, true);
  info_.Delete_File(false);  // the scripted answer is No
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Protected File");
  EXPECT_EQ(backEnd_.prompter.shown[0].text, "Filename is Read Only are you sure you want to delete it");
  EXPECT_TRUE(fs::exists(file_));

  backEnd_.prompter.answers = {Prompter::Answer::Yes};
  info_.Delete_File(false);
  EXPECT_FALSE(fs::exists(file_));

  info_.Delete_File(false);  // gone now: the other error path
  ASSERT_EQ(backEnd_.prompter.shown.size(), 3u);
  EXPECT_EQ(backEnd_.prompter.shown[2].title, "Error Deleting File");
  EXPECT_EQ(backEnd_.prompter.shown[2].text, "Unknown Error");
}

TEST_F(FileInfoTest, CopyAndMove) {
  info_.Copy_File((dir_ / "b.ico").string(), false);
  EXPECT_EQ(fs::file_size(dir_ / "b.ico"), 1536u);
  EXPECT_THROW(info_.Copy_File((dir_ / "b.ico").string(), false), BackEndError);
  info_.Move_File((dir_ / "c.ico").string());
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(info_.Location(4), "c.ico");
}

}  // namespace
}  // namespace brixel
