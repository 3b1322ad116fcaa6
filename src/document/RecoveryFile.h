#pragma once

#include <string>

#include "FileIO.h"

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
};

// The record of an icon document, or of the animated cursor it edits when cursor is given
// (its frames from document, its rates and texts from cursor). Raises BackEndError as the
// writers do.
RecoveryRecord MakeRecoveryRecord(const cIco& document, const cAni* cursor, int currentImage);

// The bytes of a recovery file, and back. DecodeRecovery raises BackEndError ("Invalid
// picture") for bytes that are not a whole recovery file.
Bytes EncodeRecovery(const RecoveryRecord& record);
RecoveryRecord DecodeRecovery(ByteView bytes);

}  // namespace brixel
