#pragma once

// What the PE and NE readers share: checked little-endian reads, the failure they raise, and the
// budget that bounds what one file can make them keep.

#include <cstddef>
#include <cstdint>
#include <string>

#include "ProgramResources.h"

namespace brixel::resources {

// Raises "Invalid picture" with why as its description.
[[noreturn]] void Refuse(const std::string& why);

// Whether size bytes from offset lie inside a buffer of length bytes, without overflow.
inline bool Inside(std::size_t offset, std::size_t size, std::size_t length) {
  return offset <= length && size <= length - offset;
}

// Little-endian reads that refuse, naming what, when the bytes are not all there.
std::uint16_t Word(ByteView bytes, std::size_t offset, const char* what);
std::uint32_t Long(ByteView bytes, std::size_t offset, const char* what);

// What the entries and names of one file may take: a few times the file's size, so that
// entries that share one long name, or directories that repeat, cannot make the list large.
class ResourceBudget {
 public:
  explicit ResourceBudget(std::size_t fileSize) : left_(fileSize * 4 + 4096) {}
  // Charges an entry and its name's characters; refuses once the budget is spent.
  void Charge(std::size_t nameLength);

 private:
  std::size_t left_;
};

ProgramResources ReadPeResources(ByteView file, std::size_t headerOffset);
ProgramResources ReadNeResources(ByteView file, std::size_t headerOffset);

}  // namespace brixel::resources
