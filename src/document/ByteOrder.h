#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "FileIO.h"

namespace brixel {

// Four little-endian bytes at offset as a 32-bit value; raises "Input past end of file"
// when they are not all there.
std::uint32_t GetLength(ByteView bytes, std::size_t offset);

// A non-negative 32-bit value as four little-endian bytes.
std::array<std::uint8_t, 4> ConvertMarker(std::int64_t value);

// Writes the four bytes of ConvertMarker at offset, which must lie inside bytes.
void PutMarker(Bytes& bytes, std::size_t offset, std::int64_t value);

// Appends a 32-bit value as four little-endian bytes.
inline void AppendLength(Bytes& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace brixel
