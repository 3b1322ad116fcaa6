#pragma once

#include <cstddef>
#include <cstdint>

#include "ByteOrder.h"

namespace brixel {

// An .icns entry type from its four characters.
constexpr std::uint32_t IcnsType(const char (&name)[5]) { return FourCharacterCode(name); }

inline constexpr std::uint32_t kIcnsMagic = IcnsType("icns");
inline constexpr std::uint32_t kIcnsTableOfContents = IcnsType("TOC ");
// The file's header and each entry's: four characters and a 32-bit big-endian length.
inline constexpr std::size_t kIcnsHeaderBytes = 8;

}  // namespace brixel
