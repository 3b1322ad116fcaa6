#include "CursorRoles.h"

#include <algorithm>

namespace brixel {

const std::vector<CursorRole>& CursorRoles() {
  static const std::vector<CursorRole> roles = {
      {"arrow", {"left_ptr", "default", "arrow", "top_left_arrow"}},
      {"help",
       {"question_arrow", "help", "left_ptr_help", "whats_this", "5c6cd98b3f3ebcb1f9c7f1c204630408",
        "d9ce0ab605698f320427677b458ad60b"}},
      {"working",
       {"left_ptr_watch", "progress", "half-busy", "08e8e1c95fe2fc01f976f1e063a24ccd",
        "3ecb610c1bf2410f44200f48c40d3599"}},
      {"wait", {"watch", "wait"}},
      {"crosshair", {"crosshair", "cross", "tcross"}},
      {"text", {"xterm", "text", "ibeam"}},
      {"pen", {"pencil"}},
      {"unavailable", {"not-allowed", "crossed_circle", "forbidden", "03b6e0fcb3499374a867c041f52298f0"}},
      {"vertical",
       {"sb_v_double_arrow", "ns-resize", "v_double_arrow", "size_ver", "double_arrow", "row-resize",
        "00008160000006810000408080010102", "2870a09082c103050810ffdffffe0204"}},
      {"horizontal",
       {"sb_h_double_arrow", "ew-resize", "h_double_arrow", "size_hor", "col-resize",
        "028006030e0e7ebffc7f7070c0600140", "14fef782d02440884392942c11205230"}},
      {"diagonal1", {"bd_double_arrow", "nwse-resize", "size_fdiag", "c7088f0f3e6c8088236ef8e1e3e70000"}},
      {"diagonal2", {"fd_double_arrow", "nesw-resize", "size_bdiag", "fcf1c3c7cd4491d801f1e1c78f100000"}},
      // Not "move": themes give that name to the drag-and-drop cursor of a move.
      {"sizeall", {"fleur", "size_all", "all-scroll"}},
      {"alternate", {"center_ptr", "up-arrow"}},
      {"hand",
       {"hand2", "pointer", "hand", "pointing_hand", "e29285e634086352946a0e7090d73106",
        "9d800788f1b08800ae810202380a0822"}},
  };
  return roles;
}

const CursorRole* RoleOfWindowsName(std::string_view name) {
  const auto& roles = CursorRoles();
  const auto found = std::find_if(roles.begin(), roles.end(), [&](const CursorRole& role) { return role.WindowsName == name; });
  return found == roles.end() ? nullptr : &*found;
}

}  // namespace brixel
