#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brixel::cli {

// info FILE [--json] for a program or library: its format and, per icon or cursor group, its
// kind, name or number, language, the file extract writes it to, and its images' sizes and
// bit counts as the group's directory gives them. Returns the exit status.
int ProgramInfo(const std::string& path, bool json, std::ostream& out, std::ostream& err);

// extract FILE DIR [--type icon|cursor|all] [--name N]: each group of the program or library
// FILE (of that kind, with that name or number) rebuilt as the file it came from and written as
// DIR/NAME.ico, .cur or .ani (GroupFileNames). A group that cannot be rebuilt is reported and
// the others are written; returns the exit status.
int Extract(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brixel::cli
