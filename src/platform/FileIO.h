#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ErrorReport.h"

namespace brixel {

using Bytes = std::vector<std::uint8_t>;
// Read-only bytes: a whole file or a part of one, without copying.
using ByteView = std::span<const std::uint8_t>;

// Writes every byte to the descriptor, going on after interruptions; false (errno set) when a
// write fails.
bool WriteAllTo(int fd, ByteView bytes);

// Reads the whole file. Raises BackEndError with the classic number of the failure
// (53 file not found, 70 permission denied, 75 access error, ...).
Bytes ReadWholeFile(const std::string& path);

// Up to count bytes from the start of the file, fewer when it is shorter; nothing when it
// cannot be read. For knowing a file by its first bytes without reading it all.
Bytes ReadFileStart(const std::string& path, std::size_t count);

// The file a path names once its symbolic links are followed (the path itself when it is no
// link); a link to a file not there yet names where that file goes. Raises BackEndError
// for a loop of links.
std::string FollowLinks(const std::string& path);

// Replaces the file with bytes without ever destroying the old content first: the bytes go
// to a temporary file in the folder of the file path names (a symbolic link is followed and
// kept), which is flushed to the disk when it replaces an
// existing file, and then renamed over the target. An existing file's permission bits are
// kept. On failure the target is untouched, the temporary file is removed, and BackEndError is
// raised.
void WriteFileReplacing(const std::string& path, const Bytes& bytes);

// A replacement whose bytes are in their temporary file, not yet renamed over the target: for
// writing many files with one flush of the file system (FlushFileSystem) before the renames.
// Removes its temporary file unless committed.
class PendingReplace {
 public:
  PendingReplace(std::string path, std::string temp, bool replacesFile)
      : path_(std::move(path)), temp_(std::move(temp)), replacesFile_(replacesFile) {}
  PendingReplace(PendingReplace&& other) noexcept;
  PendingReplace& operator=(PendingReplace&&) = delete;
  ~PendingReplace();

  const std::string& Path() const { return path_; }
  // Whether a file was at the target when the bytes were written: only then is there
  // something a crash before the flush could lose.
  bool ReplacesFile() const { return replacesFile_; }
  // Renames the temporary file over the target. Raises BackEndError.
  void Commit();

 private:
  std::string path_;
  std::string temp_;
  bool replacesFile_;
};

// The first half of WriteFileReplacing, without the flush. Raises BackEndError.
PendingReplace PrepareReplacing(const std::string& path, const Bytes& bytes);

// Flushes the file system that holds the folder to the disk. Raises BackEndError.
void FlushFileSystem(const std::string& folder);

// The classic error number for an errno value.
int ErrorNumberFromErrno(int err);

// The failure an errno value stands for: its classic number, described in the system's words
// where that number covers several causes ("No space left on device" rather than "Device I/O
// error").
BackEndError ErrorFromErrno(int err);

}  // namespace brixel
