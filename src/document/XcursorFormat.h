#pragma once

#include <cstdint>

namespace brixel::xcursor {

// The layout of an Xcursor file, all numbers 32-bit little-endian: a header (magic "Xcur",
// header length, version, entry count), a table of (type, subtype, position) entries, then
// one chunk per entry. An image chunk holds its chunk header length, type, subtype (the
// nominal size), chunk version, width, height, hot spot x and y, delay in milliseconds, and
// the pixels row by row as ARGB with the colour premultiplied by the alpha.
inline constexpr std::uint32_t kMagic = 0x72756358;  // "Xcur"
inline constexpr std::uint32_t kFileHeaderBytes = 16;
inline constexpr std::uint32_t kFileVersion = 0x10000;
inline constexpr std::uint32_t kTocEntryBytes = 12;
inline constexpr std::uint32_t kImageType = 0xFFFD0002;
inline constexpr std::uint32_t kImageHeaderBytes = 36;
inline constexpr std::uint32_t kImageVersion = 1;
// The bounds libXcursor itself reads within.
inline constexpr std::uint32_t kMaxTocEntries = 0x10000;
inline constexpr std::uint32_t kMaxImageSide = 0x7FFF;

}  // namespace brixel::xcursor
