#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace brixel {

class ProgramIcons;

// Asks which group of the program at path to open; nothing when the user declines. The editor
// installs its dialog (FrmProgramGroups); tests install a script.
using GroupChooser = std::function<std::optional<std::size_t>(const std::string& path, const ProgramIcons& program)>;
void InstallGroupChooser(GroupChooser chooser);

enum class ProgramOpened { Opened, Declined, Failed };

// Reads the program or library at path, lets the chooser pick one of its icon and cursor groups,
// and opens that group as a new document (an animated one with its cursor adopted, as an opened
// .ani is), unchanged, under a proposed name beside the program ("user32-32512.cur") that Save
// asks to confirm (ProposeName): the program is never written. A
// file that cannot be read, holds no group or whose group cannot be rebuilt or read is told in a
// message naming the file (Failed); images the group names that are not in the file are told
// in a message, and the rest opens.
ProgramOpened OpenFromProgram(const std::string& path);

}  // namespace brixel
