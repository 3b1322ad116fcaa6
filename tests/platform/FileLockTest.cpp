#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "FileLock.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

TEST(FileLock, OneHolderAtATimeAndNothingLeftBehind) {
  test::TempDir dir;
  const std::string path = (dir.Path() / "x.lock").string();
  FileLock first;
  ASSERT_TRUE(first.Take(path, milliseconds(0)));
  EXPECT_TRUE(fs::exists(path));

  // A second opening of the same file conflicts, as another process's would.
  FileLock second;
  EXPECT_FALSE(second.Take(path, milliseconds(30)));
  EXPECT_EQ(errno, EWOULDBLOCK);
  EXPECT_FALSE(second.IsHeld());

  first.Release();
  EXPECT_FALSE(fs::exists(path));
  ASSERT_TRUE(second.Take(path, milliseconds(0)));
  second.Release();
  EXPECT_FALSE(fs::exists(path));
}

TEST(FileLock, AWaiterTakesTheLockItsHolderLetsGo) {
  test::TempDir dir;
  const std::string path = (dir.Path() / "x.lock").string();
  auto holder = std::make_unique<FileLock>();
  ASSERT_TRUE(holder->Take(path, milliseconds(0)));

  // The holder removes its file as it goes; the waiter ends up holding a file that is there.
  std::thread releaser([&] {
    std::this_thread::sleep_for(milliseconds(40));
    holder.reset();
  });
  FileLock waiter;
  const bool taken = waiter.Take(path, milliseconds(5000));
  releaser.join();
  ASSERT_TRUE(taken);
  EXPECT_TRUE(fs::exists(path));
  FileLock third;
  EXPECT_FALSE(third.Take(path, milliseconds(0)));
}

TEST(FileLock, AFileRemovedOrReplacedSinceItWasOpenedIsNotTheLockedOne) {
  test::TempDir dir;
  const std::string path = (dir.Path() / "x.lock").string();
  std::ofstream(path) << "";
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(fd.IsOpen());
  EXPECT_TRUE(NamesOpenFile(path, fd.Get()));
  fs::remove(path);
  EXPECT_FALSE(NamesOpenFile(path, fd.Get()));
  std::ofstream(path) << "";
  EXPECT_FALSE(NamesOpenFile(path, fd.Get()));
}

TEST(FileLock, RefusesALinkInItsPlace) {
  test::TempDir dir;
  const fs::path target = dir.Path() / "target";
  std::ofstream(target) << "kept";
  const fs::path link = dir.Path() / "x.lock";
  fs::create_symlink(target, link);
  FileLock lock;
  EXPECT_FALSE(lock.Take(link.string(), milliseconds(0)));
  EXPECT_TRUE(fs::is_symlink(link));
  std::string content;
  std::ifstream(target) >> content;
  EXPECT_EQ(content, "kept");
}

}  // namespace
}  // namespace brixel
