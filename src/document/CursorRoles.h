#pragma once

#include <string_view>
#include <vector>

namespace brixel {

// A cursor role of Windows (the pointer, the busy cursor, ...) and the names a Linux cursor
// theme gives the same cursor, the one that fits best first: the X cursor font's, the CSS
// name, and the hashes some programs ask for.
struct CursorRole {
  std::string_view WindowsName;  // its file's base name in a Windows cursor set
  std::vector<std::string_view> XcursorNames;
};

// Every role, in the order of the Windows mouse settings.
const std::vector<CursorRole>& CursorRoles();

// The role whose Windows name is name, or nullptr.
const CursorRole* RoleOfWindowsName(std::string_view name);

}  // namespace brixel
