#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace brixel::test {

// Points HOME and the XDG folders at a fresh temporary folder for one test, and restores
// them afterwards, so that no test reads or writes the real home folder.
class IsolatedHome {
 public:
  IsolatedHome() {
    Set("HOME", home_.Path());
    Set("XDG_CONFIG_HOME", home_.Path() / "config");
    Set("XDG_DATA_HOME", home_.Path() / "data");
    // The system's folders too: a default application set there must not reach the tests.
    Set("XDG_CONFIG_DIRS", home_.Path() / "etc");
    Set("XDG_DATA_DIRS", home_.Path() / "share");
    Set("XDG_CURRENT_DESKTOP", "");
  }
  ~IsolatedHome() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }
  IsolatedHome(const IsolatedHome&) = delete;
  IsolatedHome& operator=(const IsolatedHome&) = delete;

  std::filesystem::path Config() const { return home_.Path() / "config"; }
  std::filesystem::path Data() const { return home_.Path() / "data"; }
  std::filesystem::path Home() const { return home_.Path(); }
  std::filesystem::path SystemData() const { return home_.Path() / "share"; }

 private:
  void Set(const std::string& name, const std::filesystem::path& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(name.c_str(), value.c_str(), 1);
  }

  TempDir home_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

inline std::string ReadText(const std::filesystem::path& file) {
  const Bytes bytes = ReadWholeFile(file.string());
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace brixel::test
