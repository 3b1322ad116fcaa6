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

// Four big-endian bytes at p as a 32-bit value (PNG and .icns numbers); the caller has made
// sure all four are there.
inline std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Appends a 32-bit value as four big-endian bytes.
inline void AppendBigEndian(Bytes& bytes, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A four-character code (a PNG chunk type, an .icns entry type) as the 32-bit big-endian
// number a file holds it as.
constexpr std::uint32_t FourCharacterCode(const char (&name)[5]) {
  return std::uint32_t{static_cast<std::uint8_t>(name[0])} << 24 | std::uint32_t{static_cast<std::uint8_t>(name[1])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(name[2])} << 8 | static_cast<std::uint8_t>(name[3]);
}

// Appends a 32-bit value as four little-endian bytes.
inline void AppendLength(Bytes& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace brixel
