#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

namespace brixel {

// What tells one file from another: its device and inode. A path may come to name another file
// (the first removed or replaced); an open descriptor keeps its own.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The file path names itself (a link, not what it leads to); nothing when there is none.
inline std::optional<FileIdentity> IdentityOfName(const std::string& path) {
  struct stat file {};
  if (::lstat(path.c_str(), &file) != 0) return std::nullopt;
  return FileIdentity{file.st_dev, file.st_ino};
}

// The file open as fd; nothing when fd is no open descriptor.
inline std::optional<FileIdentity> IdentityOfOpen(int fd) {
  struct stat file {};
  if (::fstat(fd, &file) != 0) return std::nullopt;
  return FileIdentity{file.st_dev, file.st_ino};
}

}  // namespace brixel
