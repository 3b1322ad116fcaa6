#include "ShellAssociations.h"

#include <algorithm>
#include <system_error>

#include "AsciiText.h"
#include "FileAssociations.h"
#include "RegEdit.h"

namespace brixel {
namespace {

std::string ClassText(const std::string& path) {
  return RegistryText(QueryValue(HKEY_CLASSES_ROOT, path, ""));
}

}  // namespace

std::filesystem::path ProgramPath() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : InstalledProgramPath(program.string());
}

std::filesystem::path InstalledProgramPath(const std::string& linkText) {
  // The kernel marks a program file replaced while it runs (a package upgrade): the new file
  // at the same path is the program to register.
  constexpr std::string_view kDeleted = " (deleted)";
  if (linkText.ends_with(kDeleted)) {
    std::error_code ec;
    if (!std::filesystem::exists(linkText, ec)) {
      return std::filesystem::path(linkText.substr(0, linkText.size() - kDeleted.size()));
    }
  }
  return std::filesystem::path(linkText);
}

std::string DefaultOpenCommand(const std::filesystem::path& program) {
  std::string folder = program.parent_path().string();
  if (!folder.ends_with('/')) folder += '/';
  return folder + program.filename().string() + " %1";
}

std::string GetAssociatedExe(const std::string& fileClass) {
  const std::string registeredClass = StripNulls(ClassText(fileClass));
  if (registeredClass.empty()) return {};
  std::string command = ClassText(registeredClass + "\\shell\\open\\command");
  std::replace(command.begin(), command.end(), '\0', ' ');
  const std::string program = ProgramOfCommand(command);
  return program.substr(program.find_last_of('/') + 1);
}

bool IsAssociatedWith(const std::string& fileClass, const std::filesystem::path& program) {
  const std::string registered = GetAssociatedExe(fileClass);
  return !registered.empty() && AsciiUpper(registered) == AsciiUpper(program.filename().string());
}

void AssociateFileType(const std::string& extension, const std::string& fileClass,
                       std::string command, const std::filesystem::path& program) {
  // Without a program there is no command worth registering.
  if (command.empty() && program.empty()) return;
  CreateClassKey(extension, HKEY_CLASSES_ROOT);
  SetClassValue(extension, "", fileClass, REG_SZ);
  const std::string commandKey = fileClass + "\\shell\\open\\command";
  CreateClassKey(commandKey, HKEY_CLASSES_ROOT);
  SetClassValue(fileClass, "", fileClass, REG_SZ);
  if (command.empty()) command = DefaultOpenCommand(program);
  SetClassValue(commandKey, "", command, REG_SZ);
  const std::string iconKey = fileClass + "\\DefaultIcon";
  CreateClassKey(iconKey, HKEY_CLASSES_ROOT);
  SetClassValue(iconKey, "", std::string("%1"), REG_SZ);
}

}  // namespace brixel
