#include "XdgPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace brixel {
namespace {

// An environment folder counts only when it is absolute; relative ones are to be ignored.
std::filesystem::path AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return std::filesystem::path(value);
}

}  // namespace

std::filesystem::path HomeFolder() {
  std::filesystem::path home = AbsoluteFromEnvironment("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return std::filesystem::path(entry->pw_dir);
  }
  return std::filesystem::path("/");
}

std::filesystem::path ConfigHome() {
  std::filesystem::path folder = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
  return folder.empty() ? HomeFolder() / ".config" : folder;
}

std::filesystem::path DataHome() {
  std::filesystem::path folder = AbsoluteFromEnvironment("XDG_DATA_HOME");
  return folder.empty() ? HomeFolder() / ".local" / "share" : folder;
}

std::filesystem::path SettingsFolder() { return ConfigHome() / "Tessarine"; }

}  // namespace brixel
