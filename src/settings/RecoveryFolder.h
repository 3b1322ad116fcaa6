#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FileIO.h"

namespace brixel {

// $XDG_STATE_HOME/brixel/recovery when XDG_STATE_HOME is absolute, else under ~/.local/state.
std::filesystem::path RecoveryHome();

// The folder of recovery files, shared by every running editor of the user. Each running
// editor is a session: a lock file it holds locked (flock) for as long as it runs, and its
// recovery files named after it. Files whose session nobody holds are left from an editor
// that ended without closing its documents; a later editor claims such a session by taking
// its lock, so that two editors never take the same files.
class RecoveryFolder {
 public:
  // Creates the folder and this session's lock. Raises BackEndError when the folder cannot
  // be made or locked.
  explicit RecoveryFolder(std::filesystem::path folder);
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }

  // This session's file for a document, by a number that stays the document's own.
  std::filesystem::path FileFor(std::uint64_t document) const;
  // Writes a document's file safely (temporary file, flush, rename); removes it. Raise
  // BackEndError. Safe to call from one thread other than the one that claims.
  void Write(std::uint64_t document, const Bytes& bytes) const;
  void Remove(std::uint64_t document) const;

  // The recovery files of sessions that no running editor holds, oldest session first; this
  // session holds their locks from now until ReleaseClaimed.
  std::vector<std::filesystem::path> ClaimOrphans();
  // Lets the claimed sessions go, their lock files with them (their files have been read,
  // set aside or removed by then).
  // With filesGone false the sessions' files stay, and their lock files with them, for a later
  // start to claim again.
  void ReleaseClaimed(bool filesGone = true);
  // Renames a file that does not read so that it is neither offered again nor lost; returns
  // its new name.
  static std::filesystem::path SetAside(const std::filesystem::path& file);

 private:
  struct Lock {
    std::filesystem::path path;
    int fd = -1;
  };

  std::filesystem::path folder_;
  std::string session_;
  Lock own_;
  std::vector<Lock> claimed_;
};

}  // namespace brixel
