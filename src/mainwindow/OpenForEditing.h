#pragma once

#include <string>

namespace brixel {

// Opens a file into the icon documents, which the main window shows, and makes nothing else
// current. An icon or cursor file becomes an unchanged document. An animated cursor stays open
// beside an unchanged icon document of its frames under its path (AdoptAnimatedCursor), so
// that Save writes it as an animated cursor again. Failures have been reported by the reader;
// the lists are then as they were.
bool OpenForEditing(const std::string& path);

enum class OpenOutcome { Opened, NotOpened, ImportAccepted };
enum class OpenFailureOffer { None, Import };

// OpenForEditing with its failure told in plain words naming the file, the reader's reports
// kept as the message's details; a Windows program or library (by its content) opens the group
// the user picks as a new document instead (OpenFromProgram). A file that cannot be read says
// why; any other is no icon, cursor or animated cursor file, and with OpenFailureOffer::Import
// the message asks whether to import it as a picture (ImportAccepted when the user agrees).
OpenOutcome OpenOrExplain(const std::string& path, OpenFailureOffer offer);

}  // namespace brixel
