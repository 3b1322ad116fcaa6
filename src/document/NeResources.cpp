// The resource table of a 16-bit NE file (icon libraries among them): an alignment shift, then
// for each type its number or name, a count and that many 12-byte entries, up to a type 0.

#include <algorithm>

#include "ResourceTables.h"
#include "Windows1252.h"

namespace brixel::resources {
namespace {

constexpr std::size_t kResourceTablePointer = 0x24;
constexpr std::size_t kTypeHeaderSize = 8;
constexpr std::size_t kNameInfoSize = 12;
constexpr std::uint16_t kNumbered = 0x8000;
// Offsets and lengths shifted further would lie past any file's end.
constexpr std::uint16_t kLargestShift = 24;

// A type or name field: a number with the high bit set, else where its name lies in the table
// (a length byte, then the characters in the Windows code page).
ResourceId IdOf(ByteView file, std::size_t table, std::uint16_t field, ResourceBudget& budget) {
  ResourceId id;
  if ((field & kNumbered) != 0) {
    id.number = static_cast<std::uint16_t>(field & ~kNumbered);
    budget.Charge(0);
    return id;
  }
  const std::size_t at = table + field;
  if (!Inside(at, 1, file.size())) Refuse("a resource name lies outside the file");
  const std::size_t length = file[at];
  if (!Inside(at + 1, length, file.size())) Refuse("a resource name lies outside the file");
  budget.Charge(length * 3);
  id.named = true;
  id.name = Windows1252ToUtf8(std::string(file.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                          file.begin() + static_cast<std::ptrdiff_t>(at + 1 + length)));
  return id;
}

}  // namespace

ProgramResources ReadNeResources(ByteView file, std::size_t headerOffset) {
  ProgramResources result;
  result.format = "NE";
  const std::size_t table = headerOffset + Word(file, headerOffset + kResourceTablePointer, "the NE header");
  // A table that starts where the next one does is empty.
  if (table == headerOffset + Word(file, headerOffset + kResourceTablePointer + 2, "the NE header")) return result;
  const std::uint16_t shift = Word(file, table, "the resource table");
  if (shift > kLargestShift) Refuse("the resource table's alignment is out of range");
  ResourceBudget budget(file.size());
  std::size_t at = table + 2;
  // Each type takes at least its header, so the walk ends at the file's end at the latest.
  for (;;) {
    const std::uint16_t typeField = Word(file, at, "the resource table");
    if (typeField == 0) break;
    const std::size_t count = Word(file, at + 2, "the resource table");
    const std::size_t entries = at + kTypeHeaderSize;
    if (!Inside(entries, count * kNameInfoSize, file.size())) Refuse("the resource table runs past the end of the file");
    at = entries + count * kNameInfoSize;
    if ((typeField & kNumbered) == 0 || !IsIconResourceType(static_cast<std::uint16_t>(typeField & ~kNumbered))) continue;
    const ResourceId type = IdOf(file, table, typeField, budget);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t entry = entries + i * kNameInfoSize;
      const std::size_t offset = std::size_t{Word(file, entry, "the resource table")} << shift;
      const std::size_t length = std::size_t{Word(file, entry + 2, "the resource table")} << shift;
      const ResourceId name = IdOf(file, table, Word(file, entry + 6, "the resource table"), budget);
      // The last resource's length may count alignment past the end of the file; one that starts
      // past it is left out, and a group that needs it says so.
      if (offset >= file.size()) continue;
      result.resources.push_back({type, name, 0, offset, std::min(length, file.size() - offset)});
    }
  }
  return result;
}

}  // namespace brixel::resources
