#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "RegistryStore.h"

namespace brixel {

// Registry access for the rest of the program. The current-user root is a per-user INI store
// under <config home>/Tessarine; the classes root holds the shell associations and publishes
// them as freedesktop file-type registration after every change. Every operation reads the
// store, does its one job and writes it back; nothing stays open between calls.

using RegistryRoot = std::uint32_t;
inline constexpr RegistryRoot HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr RegistryRoot HKEY_CURRENT_USER = 0x80000001u;

// Value types.
inline constexpr int REG_SZ = 1;
inline constexpr int REG_DWORD = 4;

// The file that holds a root, empty for a root the program does not keep.
std::filesystem::path RegistryFile(RegistryRoot root);

// Creates root\path with all missing levels; "Error: Creating Key!" on failure.
void CreateKey(RegistryRoot root, const std::string& path);

// When root\path exists, deletes its sub key with everything below it (an empty sub key names
// root\path itself); "Error: Deleteing Key!" when that fails.
void DeleteKey(RegistryRoot root, const std::string& path, const std::string& subKey);

// The whole root as stored, to read many values from one reading of the file (QueryValue reads
// it for each value); nothing when it is unreadable.
std::optional<RegistryStore> LoadRoot(RegistryRoot root);

// The value, or nothing when the key or the value is missing or the store unreadable.
std::optional<RegistryData> QueryValue(RegistryRoot root, const std::string& path,
                                       const std::string& valueName);

// Writes a value into the existing key root\path (it is not created). Messages on failure:
// "Error: Opening Registry Key!", "Error Setting String Value!",
// "Error Setting Long (DWORD) Value!". A type other than REG_SZ or REG_DWORD writes nothing.
void SetKeyValue(RegistryRoot root, const std::string& path, const std::string& valueName,
                 int type, const RegistryData& value);

// CreateKey without any message.
void CreateClassKey(const std::string& path, RegistryRoot root);

// Writes a value into the existing key path under the classes root, without any message.
void SetClassValue(const std::string& path, const std::string& valueName,
                   const RegistryData& value, int type);

}  // namespace brixel
