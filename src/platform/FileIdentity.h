#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

namespace brixel {

// What tells one file from another: its device and inode, and its kind (socket, regular file,
// ...), so that an inode number used again for a file of another kind is not taken for the
// first. A path may come to name another file (the first removed or replaced); an open
// descriptor keeps its own.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  mode_t kind = 0;  // the S_IFMT bits
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;

  static FileIdentity Of(const struct stat& file) {
    return {file.st_dev, file.st_ino, static_cast<mode_t>(file.st_mode & S_IFMT)};
  }
};

// The file path names itself (a link, not what it leads to); nothing when there is none.
inline std::optional<FileIdentity> IdentityOfName(const std::string& path) {
  struct stat file {};
  if (::lstat(path.c_str(), &file) != 0) return std::nullopt;
  return FileIdentity::Of(file);
}

// The file open as fd; nothing when fd is no open descriptor.
inline std::optional<FileIdentity> IdentityOfOpen(int fd) {
  struct stat file {};
  if (::fstat(fd, &file) != 0) return std::nullopt;
  return FileIdentity::Of(file);
}

}  // namespace brixel
