#pragma once

#include <cstddef>
#include <cstdint>

namespace brixel {

// An .icns entry type from its four characters.
constexpr std::uint32_t IcnsType(const char (&name)[5]) {
  return std::uint32_t{static_cast<std::uint8_t>(name[0])} << 24 |
         std::uint32_t{static_cast<std::uint8_t>(name[1])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(name[2])} << 8 | static_cast<std::uint8_t>(name[3]);
}

inline constexpr std::uint32_t kIcnsMagic = IcnsType("icns");
inline constexpr std::uint32_t kIcnsTableOfContents = IcnsType("TOC ");
// The file's header and each entry's: four characters and a 32-bit big-endian length.
inline constexpr std::size_t kIcnsHeaderBytes = 8;

}  // namespace brixel
