#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ErrorReport.h"
#include "FileDescriptor.h"

namespace brixel {
namespace {

[[noreturn]] void RaiseErrno(int err) { throw ErrorFromErrno(err); }

void WriteAll(int fd, const Bytes& bytes) {
  if (!WriteAllTo(fd, bytes)) RaiseErrno(errno);
}

}  // namespace

int ErrorNumberFromErrno(int err) {
  switch (err) {
    case ENOENT: return 53;
    case ENOTDIR: return 76;
    case EACCES:
    case EPERM:
    case EROFS: return 70;
    case ENAMETOOLONG: return 52;
    case ENOMEM: return 7;
    case EIO:
    case ENOSPC:
    case EDQUOT: return 57;
    default: return 75;
  }
}

// The classic number with the system's own words where the number stands for many causes
// (a full disk and a failing one are both "Device I/O error"), so that the user learns why.
bool WriteAllTo(int fd, ByteView bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return errno = EIO, false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

BackEndError ErrorFromErrno(int err) {
  const int number = ErrorNumberFromErrno(err);
  const bool specific = number != static_cast<int>(ErrorCode::DeviceIO) &&
                        number != static_cast<int>(ErrorCode::PathFileAccess) && err != EROFS;
  return BackEndError(number, specific ? ErrorDescription(number) : std::strerror(err));
}

Bytes ReadFileStart(const std::string& path, std::size_t count) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return {};
  Bytes start(count);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd.Get(), start.data() + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  start.resize(done);
  return start;
}

Bytes ReadWholeFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) RaiseErrno(errno);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) RaiseErrno(errno);
  if (S_ISDIR(st.st_mode)) Raise(ErrorCode::PathFileAccess);

  // Read straight into the buffer, sized by the file; a file that grows meanwhile is read on
  // through a chunk, which also finds the end without growing the buffer.
  Bytes bytes(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0);
  std::size_t done = 0;
  std::uint8_t chunk[4096];
  for (;;) {
    const bool full = done == bytes.size();
    const ssize_t n = full ? ::read(fd.Get(), chunk, sizeof chunk)
                           : ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseErrno(errno);
    }
    if (n == 0) break;
    if (full) {
      bytes.resize(done + static_cast<std::size_t>(n));
      std::memcpy(bytes.data() + done, chunk, static_cast<std::size_t>(n));
    }
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

std::string FollowLinks(const std::string& path) {
  std::string current = path;
  // As many links as the kernel itself follows in one path; a loop ends in ELOOP.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0) RaiseErrno(errno);
    target.resize(static_cast<std::size_t>(n));
    if (target.empty() || target.front() != '/') {
      const std::size_t slash = current.rfind('/');
      if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
    }
    current = std::move(target);
  }
  RaiseErrno(ELOOP);
}

namespace {

// The process's file mode mask. umask can only be read by setting it; done once, since two
// threads each setting and restoring it could leave it at 0 for good (world-writable files).
mode_t ProcessUmask() {
  static const mode_t mask = [] {
    const mode_t current = ::umask(0);
    ::umask(current);
    return current;
  }();
  return mask;
}

// Writes the bytes to a new temporary file beside the file that path names (through its
// links, which stay links) with the mode the target will have; flushes it to the disk when
// asked and it replaces a file.
PendingReplace WriteTemporary(const std::string& givenPath, const Bytes& bytes,
                              bool flushWhenReplacing) {
  if (givenPath.empty()) Raise(ErrorCode::BadFileName);
  const std::string path = FollowLinks(givenPath);

  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) Raise(ErrorCode::PathFileAccess);

  std::string temp = path + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.Get() < 0) RaiseErrno(errno);

  try {
    WriteAll(fd.Get(), bytes);
    if (exists) {
      if (::fchmod(fd.Get(), old.st_mode & 07777) != 0) RaiseErrno(errno);
    } else {
      // mkstemp creates the file 0600; a new document gets the usual mode for new files.
      if (::fchmod(fd.Get(), 0666 & ~ProcessUmask()) != 0) RaiseErrno(errno);
    }
    // Only an existing file has content to lose if the new bytes were not on the disk when
    // the rename is.
    if (exists && flushWhenReplacing && ::fsync(fd.Get()) != 0) RaiseErrno(errno);
    if (fd.Close() != 0) RaiseErrno(errno);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  return PendingReplace(path, std::move(temp), exists);
}

}  // namespace

void WriteFileReplacing(const std::string& path, const Bytes& bytes) {
  WriteTemporary(path, bytes, true).Commit();
}

PendingReplace PrepareReplacing(const std::string& path, const Bytes& bytes) {
  return WriteTemporary(path, bytes, false);
}

PendingReplace::PendingReplace(PendingReplace&& other) noexcept
    : path_(std::move(other.path_)),
      temp_(std::exchange(other.temp_, std::string())),
      replacesFile_(other.replacesFile_) {}

PendingReplace::~PendingReplace() {
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void PendingReplace::Commit() {
  if (temp_.empty()) return;
  if (::rename(temp_.c_str(), path_.c_str()) != 0) RaiseErrno(errno);
  temp_.clear();
}

void FlushFileSystem(const std::string& folder) {
  FileDescriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() < 0) RaiseErrno(errno);
  if (::syncfs(fd.Get()) != 0) RaiseErrno(errno);
}

}  // namespace brixel
