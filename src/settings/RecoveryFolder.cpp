#include "RecoveryFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <string_view>
#include <system_error>

#include "XdgPaths.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLockSuffix = ".lock";
constexpr const char* kFileSuffix = ".recovery";

// The lock file of a session, opened and locked without waiting; fd -1 when another process
// holds it.
int TryLock(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The session a recovery file belongs to: its name up to the last '-'.
std::string SessionOf(const fs::path& file) {
  const std::string stem = file.stem().string();
  const std::size_t dash = stem.rfind('-');
  return dash == std::string::npos ? std::string() : stem.substr(0, dash);
}

}  // namespace

fs::path RecoveryHome() {
  const char* state = std::getenv("XDG_STATE_HOME");
  const fs::path home = state && state[0] == '/' ? fs::path(state) : HomeFolder() / ".local" / "state";
  return home / "brixel" / "recovery";
}

RecoveryFolder::RecoveryFolder(fs::path folder) : folder_(std::move(folder)) {
  std::error_code error;
  fs::create_directories(folder_, error);
  if (error) throw ErrorFromErrno(error.value());
  // The process id names the session for people; the start time keeps a later process with
  // the same id from taking an old session for its own.
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  session_ = std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) +
             "_" + std::to_string(::getpid());
  own_.path = folder_ / (session_ + kLockSuffix);
  own_.fd = TryLock(own_.path);
  if (own_.fd < 0) throw ErrorFromErrno(errno ? errno : EAGAIN);
}

RecoveryFolder::~RecoveryFolder() {
  ReleaseClaimed();
  // Files still here belong to documents the user kept unsaved without closing them; they
  // stay for the next start, and the lock file with them until that start claims them.
  bool filesLeft = false;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder_, error)) {
    if (entry.path().extension() == kFileSuffix && SessionOf(entry.path()) == session_) filesLeft = true;
  }
  if (!filesLeft) ::unlink(own_.path.c_str());
  ::close(own_.fd);
}

fs::path RecoveryFolder::FileFor(std::uint64_t document) const {
  return folder_ / (session_ + "-" + std::to_string(document) + kFileSuffix);
}

void RecoveryFolder::Write(std::uint64_t document, const Bytes& bytes) const {
  WriteFileReplacing(FileFor(document).string(), bytes);
}

void RecoveryFolder::Remove(std::uint64_t document) const {
  if (::unlink(FileFor(document).c_str()) != 0 && errno != ENOENT) throw ErrorFromErrno(errno);
}

std::vector<fs::path> RecoveryFolder::ClaimOrphans() {
  std::map<std::string, std::vector<fs::path>> bySession;
  std::vector<fs::path> locks;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder_, error)) {
    if (entry.path().extension() == kLockSuffix && entry.path() != own_.path) locks.push_back(entry.path());
    if (entry.path().extension() != kFileSuffix) continue;
    const std::string session = SessionOf(entry.path());
    if (!session.empty() && session != session_) bySession[session].push_back(entry.path());
  }
  // The lock of an editor that was killed with no copy to keep has nothing to guard.
  for (const fs::path& lock : locks) {
    if (bySession.count(lock.stem().string()) != 0) continue;
    const int fd = TryLock(lock);
    if (fd < 0) continue;
    ::unlink(lock.c_str());
    ::close(fd);
  }
  std::vector<fs::path> orphans;
  // Session names start with their start time, so the map's order is oldest first.
  for (auto& [session, files] : bySession) {
    const fs::path lock = folder_ / (session + kLockSuffix);
    const bool alreadyClaimed = std::any_of(claimed_.begin(), claimed_.end(),
                                            [&](const Lock& held) { return held.path == lock; });
    if (!alreadyClaimed) {
      const int fd = TryLock(lock);
      if (fd < 0) continue;  // its editor is still running, or another start took it
      claimed_.push_back({lock, fd});
    }
    // Another start may have recovered them between the listing and the lock.
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      if (fs::exists(file, error)) orphans.push_back(file);
    }
  }
  return orphans;
}

void RecoveryFolder::ReleaseClaimed(bool filesGone) {
  if (filesGone) {
    // An editor killed while it wrote a copy leaves that copy's temporary file behind.
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
      const std::string name = entry.path().filename().string();
      // WriteFileReplacing's temporary names: the copy's name and six characters.
      const std::size_t copyEnd = name.find(std::string(kFileSuffix) + ".");
      const bool temporary = copyEnd != std::string::npos &&
                             name.size() == copyEnd + std::string_view(kFileSuffix).size() + 7;
      for (const Lock& lock : claimed_) {
        if (temporary && name.starts_with(lock.path.stem().string() + "-")) fs::remove(entry.path(), error);
      }
    }
  }
  for (const Lock& lock : claimed_) {
    if (filesGone) ::unlink(lock.path.c_str());
    ::close(lock.fd);
  }
  claimed_.clear();
}

fs::path RecoveryFolder::SetAside(const fs::path& file) {
  fs::path aside = file;
  aside += ".unreadable";
  std::error_code error;
  fs::rename(file, aside, error);
  return error ? file : aside;
}

}  // namespace brixel
