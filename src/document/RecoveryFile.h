#pragma once

#include <optional>
#include <string>
#include <vector>

#include "AniFile.h"
#include "FileIO.h"
#include "IcnsFile.h"
#include "IconImage.h"

namespace brixel {

class cAni;
class cIco;

// What a recovery file holds of one open document with unsaved changes: enough to show it
// again as the user left it. The images travel as the file the document would be saved as.
struct RecoveryRecord {
  enum class Kind { Icon, AnimatedCursor };
  Kind kind = Kind::Icon;
  std::string path;      // where the user means to save it; empty for a document never saved
  int currentImage = 0;  // the image the user was working on
  Bytes file;            // an icon or cursor file, or an animated cursor file
  // What only a macOS icon holds, which the icon file cannot (MacIconOnlyEntries), as an .icns
  // file of its own; empty when there is none.
  Bytes macIconEntries;
};

// A copy of what a record is made from, taken while the document may be read (a copy of
// its images is cheap next to compressing them) and made into a record on any thread.
struct RecoverySnapshot {
  std::vector<IconImage> images;
  std::optional<AniInfo> cursor;  // the rates and texts of the animated cursor it edits
  std::string path;
  int currentImage = 0;
  std::vector<IcnsEntry> icnsOthers;  // the document's (cIco::IcnsOthers)
};

// The snapshot of an icon document, or of the animated cursor it edits when cursor is given
// (its frames from document, its rates and texts from cursor).
RecoverySnapshot TakeRecoverySnapshot(const cIco& document, const cAni* cursor, int currentImage);
// The record: the images as the file they would be saved as. Raises BackEndError as the
// writers do.
RecoveryRecord MakeRecoveryRecord(const RecoverySnapshot& snapshot);

// Reads a record's icon document into document as cIco::ReadIconData does, with the entries
// only a macOS icon holds put back. False, with the reader's reports, when its file does not
// read; when only those entries do not read, they are left out and a message says so.
bool ReadRecordedIcon(const RecoveryRecord& record, cIco& document);

// The bytes of a recovery file, and back. DecodeRecovery raises BackEndError ("Invalid
// picture") for bytes that are not a whole recovery file.
Bytes EncodeRecovery(const RecoveryRecord& record);
RecoveryRecord DecodeRecovery(ByteView bytes);

}  // namespace brixel
