#include <gtest/gtest.h>

#include <filesystem>

#include "RecoveryFolder.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::vector<fs::path>& files) {
  std::vector<std::string> names;
  for (const fs::path& file : files) names.push_back(file.filename().string());
  return names;
}

// Each RecoveryFolder stands for one running editor: its lock is held as long as it lives.
TEST(RecoveryFolder, OnlyFilesOfEditorsNoLongerRunningAreClaimedAndByOneEditorOnly) {
  test::TempDir dir;
  const fs::path folder = dir / "state" / "recovery";
  auto crashed = std::make_unique<RecoveryFolder>(folder);
  crashed->Write(1, {1, 2});
  crashed->Write(2, {3});
  test::WriteBytes(crashed->FileFor(3).string() + ".Xy12Zq", {7});  // killed while writing copy 3
  const std::vector<std::string> crashedFiles = {crashed->FileFor(1).filename().string(),
                                                 crashed->FileFor(2).filename().string()};
  const std::string crashed3Temporary = crashed->FileFor(3).string() + ".Xy12Zq";
  RecoveryFolder running(folder);
  running.Write(7, {9});

  // While both run, neither takes the other's files.
  RecoveryFolder starting(folder);
  EXPECT_TRUE(starting.ClaimOrphans().empty());
  starting.ReleaseClaimed();

  crashed.reset();  // ends with files left: its lock file stays, unlocked
  RecoveryFolder first(folder);
  RecoveryFolder second(folder);
  EXPECT_EQ(Names(first.ClaimOrphans()), crashedFiles);
  EXPECT_TRUE(second.ClaimOrphans().empty()) << "claimed by the first";
  EXPECT_EQ(ReadWholeFile(first.ClaimOrphans().front().string()), (Bytes{1, 2}));

  for (const fs::path& file : first.ClaimOrphans()) fs::remove(file);
  first.ReleaseClaimed();
  EXPECT_FALSE(fs::exists(crashed3Temporary)) << "the half-written copy goes with its session";
  EXPECT_TRUE(second.ClaimOrphans().empty());
  EXPECT_EQ(ReadWholeFile(running.FileFor(7).string()), Bytes{9});
}

TEST(RecoveryFolder, RemovedFilesAndCleanEndsLeaveNothingBehind) {
  test::TempDir dir;
  {
    RecoveryFolder folder(dir.Path());
    folder.Write(3, {1});
    folder.Remove(3);
    folder.Remove(4);  // never written: nothing to do
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));

  // A lock left by an editor killed with nothing to keep goes at the next look; a running
  // editor's stays.
  test::WriteBytes(dir / "1_2.lock", {});
  RecoveryFolder running(dir.Path());
  RecoveryFolder next(dir.Path());
  EXPECT_TRUE(next.ClaimOrphans().empty());
  EXPECT_FALSE(fs::exists(dir / "1_2.lock"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

TEST(RecoveryFolder, AFileSetAsideIsNeitherOfferedAgainNorLost) {
  test::TempDir dir;
  auto crashed = std::make_unique<RecoveryFolder>(dir.Path());
  crashed->Write(1, {5});
  const fs::path file = crashed->FileFor(1);
  crashed.reset();
  RecoveryFolder next(dir.Path());
  ASSERT_EQ(next.ClaimOrphans().size(), 1u);
  const fs::path aside = RecoveryFolder::SetAside(file);
  EXPECT_EQ(ReadWholeFile(aside.string()), Bytes{5});
  next.ReleaseClaimed();
  EXPECT_TRUE(fs::exists(aside)) << "a copy set aside is never removed";
  RecoveryFolder later(dir.Path());
  EXPECT_TRUE(later.ClaimOrphans().empty());
}

}  // namespace
}  // namespace brixel
