#pragma once

#include <string>

namespace brixel {

// Opens a file into the icon documents, which the main window shows, and makes nothing else
// current. An icon or cursor file becomes an unchanged document. An animated cursor stays open
// beside an unchanged icon document of its frames under its path (AdoptAnimatedCursor), so
// that Save writes it as an animated cursor again. Failures have been reported by the reader;
// the lists are then as they were.
bool OpenForEditing(const std::string& path);

}  // namespace brixel
