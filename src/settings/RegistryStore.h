#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brixel {

// A stored value: a string or a 32-bit number.
using RegistryData = std::variant<std::string, std::int32_t>;

// The text up to its first NUL character.
std::string StripNulls(const std::string& text);

// A value as text: strings as stored, numbers in decimal, no value as empty text.
std::string RegistryText(const std::optional<RegistryData>& value);

// One root of the per-user key store held in memory: keys named by paths of names joined by
// backslashes ("Software\Tessarine", "" for the root itself), each with named values ("" is
// the key's default value). Key and value names compare without regard to ASCII case.
//
// On disk it is an INI file in the style of registry exports:
//   [Software\Tessarine]
//   "Grid"="False"
//   @="default value"
//   "Count"=dword:00000005
class RegistryStore {
 public:
  // A path the store can hold: names without control characters, at most 255 bytes each,
  // no empty name between backslashes.
  static bool ValidPath(std::string_view path);

  bool HasKey(std::string_view path) const;
  // Creates the key with every missing level above it. The path must be valid.
  void CreateKey(std::string_view path);
  // Removes the key and everything below it; false when it does not exist or is the root.
  bool DeleteKey(std::string_view path);
  // The names of the keys directly below path, as they were created.
  std::vector<std::string> SubKeys(std::string_view path) const;

  std::optional<RegistryData> Value(std::string_view path, std::string_view name) const;
  // False when the key does not exist.
  bool SetValue(std::string_view path, std::string_view name, RegistryData data);

  std::string Serialise() const;
  // Reads the text leniently: lines it does not understand are skipped.
  static RegistryStore Parse(std::string_view text);

  friend bool operator==(const RegistryStore&, const RegistryStore&) = default;

 private:
  struct NamedValue {
    std::string name;
    RegistryData data;
    friend bool operator==(const NamedValue&, const NamedValue&) = default;
  };
  struct Key {
    std::string path;
    std::map<std::string, NamedValue> values;  // by folded name
    friend bool operator==(const Key&, const Key&) = default;
  };

  std::map<std::string, Key> keys_;  // by folded path; the root "" is implied
};

// Reads a store file. A missing file is an empty store; nullopt when the file exists but
// cannot be read, so that a write never replaces what could not be read.
std::optional<RegistryStore> LoadRegistryFile(const std::filesystem::path& file);

// Writes the store, creating the folder and replacing the file safely. Raises BackEndError.
void SaveRegistryFile(const std::filesystem::path& file, const RegistryStore& store);

}  // namespace brixel
