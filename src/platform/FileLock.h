#pragma once

#include <chrono>
#include <string>

#include "FileDescriptor.h"

namespace brixel {

// A lock file held with flock(2) for the life of this object. The kernel lets the lock go when
// the process dies, so a crash leaves nothing to clean up or judge stale, and nothing is written
// to the file. The holder removes the file before letting the lock go; one who locked a file
// that was removed meanwhile finds it gone (NamesOpenFile) and tries again.
// A QLockFile on the same path also holds a flock there, so the two take turns, but for two
// moments of a QLockFile's own (after it creates its file and before it locks it; after it
// closes the file and before it removes it) in which a FileLock may take the lock beside it.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock at path, waiting at most timeout while another process holds it. False when
  // it is still held then, or when the file cannot be made (errno tells why).
  bool Take(const std::string& path, std::chrono::milliseconds timeout);
  bool IsHeld() const { return fd_.IsOpen(); }
  void Release();

 private:
  std::string path_;
  FileDescriptor fd_;
};

// Whether path names the file open as fd: a lock taken on a file removed or replaced meanwhile
// guards nothing.
bool NamesOpenFile(const std::string& path, int fd);

}  // namespace brixel
