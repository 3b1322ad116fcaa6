#pragma once

#include <filesystem>
#include <string>

namespace brixel {

// The shell associations the options dialog offers, kept under the classes root in the layout
// extension -> class, class (default value: its own name), class\shell\open\command and
// class\DefaultIcon ("%1"). Every write is published to the desktop (FileAssociations.h).

inline constexpr const char* kIconClass = "icofile";
inline constexpr const char* kCursorClass = "curfile";

// The running program's path, empty when the system does not tell.
std::filesystem::path ProgramPath();
// The program's path from what /proc/self/exe reads: without the " (deleted)" the kernel
// adds once the file was replaced, unless a file of that very name is there.
std::filesystem::path InstalledProgramPath(const std::string& linkText);

// The open command this program registers: its folder, a slash, its file name and " %1".
// Not quoted, so a folder with spaces stays as it is.
std::string DefaultOpenCommand(const std::filesystem::path& program);

// The file name of the program registered to open the class: the last part of the program
// path in the open command of the class named by the class's default value. Empty when the
// class, its command or a program in it is missing.
std::string GetAssociatedExe(const std::string& fileClass);

// Whether the class is registered to a program of the same file name as program (ASCII case
// ignored): the test that ticks an association box.
bool IsAssociatedWith(const std::string& fileClass, const std::filesystem::path& program);

// Writes the association layout of extension and class; an empty command means the default
// command of program. Failures are silent, as for every class write.
void AssociateFileType(const std::string& extension, const std::string& fileClass,
                       std::string command, const std::filesystem::path& program = ProgramPath());

}  // namespace brixel
