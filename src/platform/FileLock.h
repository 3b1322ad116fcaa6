#pragma once

#include <chrono>
#include <string>

#include "FileDescriptor.h"

namespace brixel {

// A lock file held with flock(2) for the life of this object. The kernel lets the lock go when
// the process dies, so a crash leaves nothing to clean up or judge stale, and nothing is written
// to the file. The holder removes the file before letting the lock go; one who locked a file
// that was removed meanwhile finds it gone and tries again.
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

}  // namespace brixel
