#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FileIO.h"

namespace brixel {

// A resource type or name: a number, or a name the file spells out (kept as UTF-8).
struct ResourceId {
  bool named = false;
  std::uint16_t number = 0;
  std::string name;

  // The name, or the number in decimal.
  std::string Text() const { return named ? name : std::to_string(number); }
  friend bool operator==(const ResourceId&, const ResourceId&) = default;
};

// Resource types that hold icons and cursors.
inline constexpr std::uint16_t kResourceCursor = 1;
inline constexpr std::uint16_t kResourceIcon = 3;
inline constexpr std::uint16_t kResourceGroupCursor = 12;
inline constexpr std::uint16_t kResourceGroupIcon = 14;
inline constexpr std::uint16_t kResourceAnimatedCursor = 21;
inline constexpr std::uint16_t kResourceAnimatedIcon = 22;

// Whether resources of this numbered type take part in icons and cursors; the others
// (strings, dialogs, menus, ...) are passed over without reading their names.
constexpr bool IsIconResourceType(std::uint16_t number) {
  return number == kResourceCursor || number == kResourceIcon || number == kResourceGroupCursor ||
         number == kResourceGroupIcon || number == kResourceAnimatedCursor || number == kResourceAnimatedIcon;
}

// One resource of a program file: its type, name and language, and where its bytes lie in the
// file (checked to lie inside it).
struct ProgramResource {
  ResourceId type;
  ResourceId name;
  std::uint16_t language = 0;
  std::size_t offset = 0;
  std::size_t size = 0;
};

// The resources of a Windows program or library: "PE32", "PE32+" or "NE" (16-bit, as icon
// libraries are), and its resources in the order of its resource directory.
struct ProgramResources {
  std::string format;
  std::vector<ProgramResource> resources;
};

// Whether the bytes start as a Windows program: "MZ" and a PE or NE header where the MS-DOS
// header says.
bool IsProgramFile(ByteView file);

// Whether the bytes start as an MS-DOS executable ("MZ"), which a Windows program is.
bool StartsAsExecutable(ByteView file);

// Whether the file at path starts so, whatever its name; false for a file that cannot be read.
bool IsExecutableFile(const std::string& path);

// Reads the resource directory of a PE32, PE32+ or NE file held in memory. Every offset and
// size is checked against the file; a directory reached twice (a loop), names and entries that
// would take more memory than the file's size allows, or anything outside the file raise
// BackEndError ("Invalid picture") with a description that says what is wrong. A program with
// no resources gives an empty list.
ProgramResources ReadProgramResources(ByteView file);

}  // namespace brixel
