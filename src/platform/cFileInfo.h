#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <variant>

namespace brixel {

// One file on disk: its attribute bits, dates, size, names, and copy, move and delete.
// Members other than Delete_File raise BackEndError on failure for their caller to report.
class cFileInfo {
 public:
  // Attribute kinds, the index of Properties.
  enum PropType { Archive = 0, System = 1, Hidden = 2, ReadOnly = 3 };
  // Attribute bits as the attribute word holds them.
  static constexpr int kReadOnlyBit = 1;
  static constexpr int kHiddenBit = 2;
  static constexpr int kSystemBit = 4;
  static constexpr int kArchiveBit = 32;

  using Value = std::variant<std::int64_t, std::string, std::chrono::system_clock::time_point>;

  // Points the object at a file; raises "File not found" when there is none.
  void File_Path(const std::string& path);

  bool Properties(int propType) const;
  void Properties(int propType, bool switchOn);

  // The whole attribute word (read-only from the write-permission bits, hidden from a
  // leading dot or the stored bit, archive and system from the file's extended attributes).
  int Attributes() const;

  // 0 created, 1 last accessed, 2 last modified (time points), 3 size in bytes, 4 size as
  // text, 5 type description, anything else "Unknown".
  Value Information(int infor) const;

  // 0 drive, 1 full path, 2 short path, 3 short name, 4 name, 5 parent folder.
  std::string Location(int qpath) const;

  void Copy_File(const std::string& newName, bool overwrite) const;
  void Move_File(const std::string& newName);

  // Deletes the file; a read-only file is deleted only after the user agrees (or with force).
  // Failures are shown to the user, never raised.
  void Delete_File(bool force);

 private:
  void SetAttributes(int attributes);

  std::string path_;
};

// "1 byte", "1,023 bytes", "1.50 KB (1,536 bytes)", ...
std::string FormatSizeText(std::int64_t size);

// Whether path is a regular file whose read-only attribute is set (no write permission bit),
// in one look at the file: for callers that ask it of many files.
bool IsReadOnlyFile(const std::string& path);

// Before a file at path is replaced: a read-only file is replaced only when the user agrees
// to "The file is read only, Overwrite anyway?", and is then made writable. False when the
// user declines; true for a writable file or none. Raises BackEndError.
bool AgreeToReplace(const std::string& path);

}  // namespace brixel
