#pragma once

#include <string>

namespace brixel {

// Opens the Xcursor file (a Linux cursor) at path for editing: an animated cursor adopted as
// the icon document of its frames (AdoptAnimatedCursor) when it has several steps, else an
// icon document of its sizes; unchanged, under the name proposed for its Windows file
// (WindowsCursorPath), which Save asks to confirm (ProposeName). A file that cannot be read is
// reported under the reading procedure's label and gives false; the lists are as they were.
bool OpenXcursorForEditing(const std::string& path);

}  // namespace brixel
