#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RegistryStore.h"

namespace brixel {

// The file types the program registers itself for: the extension's key under the classes
// root and the MIME type the desktop knows the files by.
struct AssociatedType {
  const char* extension;
  const char* mimeType;
};
inline constexpr AssociatedType kAssociatedTypes[] = {
    {".ico", "image/vnd.microsoft.icon"},
    {".cur", "image/x-win-bitmap"},
};

// The desktop entry written for a file class: "brixel-icofile.desktop".
std::string DesktopIdForClass(const std::string& fileClass);

// The program of an open command "<program> %1": a quoted program up to its closing quote,
// else the command without its trailing "%1" (quoted or not), so that an unquoted path may
// hold spaces. Empty when no program is left.
std::string ProgramOfCommand(std::string_view command);

// The Exec line of a desktop entry for an open command "<program> %1" (quotes around either
// part allowed; the program's path may hold spaces): the program quoted as desktop entries
// need it, then %f. Nothing for an empty command or one with control characters.
std::optional<std::string> ExecFromCommand(const std::string& command);

// The text of mimeapps.list with the program's default-application entries set: for each
// (MIME type, desktop id) our id goes first in the list of that type, or ours are removed
// when the id is empty. Other programs' entries and every other line stay.
std::string UpdateMimeApps(const std::string& text,
                           const std::vector<std::pair<std::string, std::string>>& defaults);

// The desktop entry that opens files of mimeType by default, found as the desktop finds it:
// the mimeapps.list files in their XDG order (for each config folder, then each applications
// folder of the data folders: the current desktops' own lists first), the first
// [Default Applications] entry of the type naming an installed desktop entry. Empty when none
// does.
std::string DefaultApplication(const std::string& mimeType);

// Whether the desktop opens files of mimeType with this program: the default is the
// installed program's own entry (installedId), or an entry this program wrote whose command
// runs a program of the same file name as program (ASCII case ignored).
bool IsDefaultApplication(const std::string& mimeType, const std::filesystem::path& program,
                          const std::string& installedId);

// Brings the desktop in line with the associations held under the classes root: an
// extension whose class has an open command gets a desktop entry for that class under
// <data home>/applications and the default-application entry of its MIME type in
// <config home>/mimeapps.list; entries of ours that nothing uses any more are removed.
// False when a file could not be read or written.
bool PublishAssociations(const RegistryStore& classes);

}  // namespace brixel
