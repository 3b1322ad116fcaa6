#include "FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <optional>
#include <thread>

#include "FileIdentity.h"

namespace brixel {
namespace {

constexpr std::chrono::milliseconds kRetryPause{5};

}  // namespace

bool NamesOpenFile(const std::string& path, int fd) {
  const std::optional<FileIdentity> named = IdentityOfName(path);
  return named && named == IdentityOfOpen(fd);
}

bool FileLock::Take(const std::string& path, std::chrono::milliseconds timeout) {
  Release();
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    // Never through a link: the folder may be one anybody can write to.
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.IsOpen()) {
      if (errno == EINTR) continue;
      return false;
    }
    bool removed = false;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
      if (NamesOpenFile(path, fd.Get())) {
        path_ = path;
        fd_ = std::move(fd);
        return true;
      }
      removed = true;  // by its holder, between the opening and the lock: the next one is free
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      return false;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      errno = EWOULDBLOCK;
      return false;
    }
    if (!removed) std::this_thread::sleep_for(kRetryPause);
  }
}

void FileLock::Release() {
  if (!fd_.IsOpen()) return;
  ::unlink(path_.c_str());
  fd_.Close();
  path_.clear();
}

}  // namespace brixel
