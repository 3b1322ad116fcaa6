#pragma once

#include <string>

namespace brixel {

// Rebuilds a path given on the command line as the file system lists it: a relative path is
// made absolute against currentFolder, and every component after the root is replaced by the
// entry its folder lists under that name (the exact name, else one that differs only in letter
// case, else the name as given). An empty path stays empty.
std::string MakeLongPath(const std::string& commandLine, const std::string& currentFolder);

}  // namespace brixel
