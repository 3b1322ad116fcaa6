#pragma once

#include <string>

namespace brixel {

// Opens a file into the icon documents, which the main window shows, and makes nothing else
// current. An icon or cursor file becomes an unchanged document. An animated cursor is read
// only: its frames are copied into a new icon document, marked changed so that keeping them
// asks for a file name, and the animated cursor itself is closed again. Failures have been
// reported by the reader; the lists are then as they were.
bool OpenForEditing(const std::string& path);

}  // namespace brixel
