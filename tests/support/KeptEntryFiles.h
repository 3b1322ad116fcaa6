#pragma once

// Icon files with entries the reader cannot show, put together byte by byte for the tests of
// kept entries: a damaged PNG among 17 good images, as in an icon of a .NET imaging library's
// test files that Windows shows with its 17 other images, and blocks of kinds the editor does
// not read.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "FileIO.h"
#include "IconImage.h"
#include "PngCodec.h"
#include "RowTranslation.h"

namespace brixel::test {

// The CRC of a PNG chunk's type and data.
inline std::uint32_t PngChunkCrc(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

// A side x side PNG whose compressed data is damaged where zlib says "invalid literal/lengths
// set", with every chunk's CRC right, so that only the data is wrong. Empty if no such damage
// was found (the tests then fail on it).
inline Bytes DamagedPng(int side = 256) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 4);
  // A few values in a random order: deflate codes them with a dynamic Huffman table, whose code
  // lengths the damage then makes invalid.
  std::uint32_t state = 12345;
  for (std::uint8_t& value : rgba) {
    state = state * 1103515245u + 12345u;
    value = static_cast<std::uint8_t>(32 * ((state >> 16) % 8));
  }
  const Bytes good = EncodePng(side, side, rgba);
  std::size_t idat = 8;
  while (idat + 8 <= good.size() && std::string(good.begin() + idat + 4, good.begin() + idat + 8) != "IDAT") {
    const std::uint32_t length = std::uint32_t{good[idat]} << 24 | std::uint32_t{good[idat + 1]} << 16 |
                                 std::uint32_t{good[idat + 2]} << 8 | good[idat + 3];
    idat += 12 + length;
  }
  if (idat + 8 > good.size()) return {};
  const std::uint32_t length = std::uint32_t{good[idat]} << 24 | std::uint32_t{good[idat + 1]} << 16 |
                               std::uint32_t{good[idat + 2]} << 8 | good[idat + 3];
  // The first bytes of the deflate stream after the two-byte zlib header: its block header and
  // the start of its code lengths.
  for (std::size_t target = idat + 8 + 2; target < idat + 8 + std::min<std::uint32_t>(length, 24); ++target) {
    for (int value = 0; value < 256; ++value) {
      Bytes damaged = good;
      damaged[target] = static_cast<std::uint8_t>(value);
      const std::uint32_t crc = PngChunkCrc(&damaged[idat + 4], 4 + length);
      const std::size_t at = idat + 8 + length;
      damaged[at] = static_cast<std::uint8_t>(crc >> 24);
      damaged[at + 1] = static_cast<std::uint8_t>(crc >> 16);
      damaged[at + 2] = static_cast<std::uint8_t>(crc >> 8);
      damaged[at + 3] = static_cast<std::uint8_t>(crc);
      try {
        DecodePng(damaged, [](const PngHeader&) {});
      } catch (const BackEndError& e) {
        if (e.Description().find("invalid literal/lengths set") != std::string::npos) return damaged;
      }
    }
  }
  return {};
}

// An image whose pixels form a pattern of its own (so that thumbnails and comparisons see
// something), every pixel opaque but a transparent corner.
inline IconImage PatternImage(int side, int depth, int seed) {
  IconImage image = MakeNewImage(side, side, depth);
  const auto entries = static_cast<int>(image.Palette.size());
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const int k = (x / 2 + y / 3 + seed) % (depth == 1 ? 2 : 7);
      image.Pixels.At(x, y) = depth >= 24 ? MakeColour(40 * k, 255 - 30 * k, (seed * 37) % 256)
                                          : image.Palette[static_cast<std::size_t>((k * 3 + seed) % entries)];
      image.Mask.At(x, y) = x + y < 3 ? MaskTransparent : MaskOpaque;
      if (x + y < 3) image.Pixels.At(x, y) = kBlack;
    }
  }
  return image;
}

// An icon file whose entries are the blocks given, each with the directory bytes 0 .. 7
// given beside it, in that order.
struct HandEntry {
  Bytes block;
  std::vector<std::uint8_t> directory;  // 8 bytes
};

inline Bytes HandIconFile(const std::vector<HandEntry>& entries, int type = 1) {
  Bytes file = {0, 0, static_cast<std::uint8_t>(type), 0, static_cast<std::uint8_t>(entries.size()), 0};
  auto offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const HandEntry& e : entries) {
    file.insert(file.end(), e.directory.begin(), e.directory.end());
    for (const std::uint32_t value : {static_cast<std::uint32_t>(e.block.size()), offset}) {
      for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    offset += static_cast<std::uint32_t>(e.block.size());
  }
  for (const HandEntry& e : entries) file.insert(file.end(), e.block.begin(), e.block.end());
  return file;
}

// The entry of an image as an icon writes it: its block and its directory bytes (size, colour
// count, planes 1 and its bit count).
inline HandEntry EntryOf(const IconImage& image) {
  const auto byte = [](int side) { return static_cast<std::uint8_t>(side < 256 ? side : 0); };
  return {BuildImageData(image),
          {byte(image.Width), byte(image.Height()),
           static_cast<std::uint8_t>(image.BitDepth == 1 ? 2 : image.BitDepth == 4 ? 16 : 0), 0, 1, 0,
           static_cast<std::uint8_t>(image.BitDepth), 0}};
}

// The 17 good images of the icon with a damaged PNG.
inline std::vector<IconImage> SeventeenImages() {
  std::vector<IconImage> images;
  int seed = 0;
  for (const int side : {16, 24, 32, 48}) {
    for (const int depth : {4, 8, 32}) images.push_back(PatternImage(side, depth, seed++));
  }
  for (const auto& [side, depth] : std::vector<std::pair<int, int>>{{64, 32}, {20, 24}, {16, 1}, {40, 8}, {96, 32}}) {
    images.push_back(PatternImage(side, depth, seed++));
  }
  return images;
}

// Where the damaged PNG sits among the 18 entries, and its directory bytes.
inline constexpr std::size_t kDamagedEntry = 12;
inline const std::vector<std::uint8_t> kDamagedDirectory = {0, 0, 0, 0, 1, 0, 32, 0};

// 18 entries: SeventeenImages with a damaged 256 x 256 PNG at kDamagedEntry.
inline Bytes IconWithDamagedPng() {
  std::vector<HandEntry> entries;
  for (const IconImage& image : SeventeenImages()) entries.push_back(EntryOf(image));
  entries.insert(entries.begin() + kDamagedEntry, HandEntry{DamagedPng(), kDamagedDirectory});
  return HandIconFile(entries);
}

}  // namespace brixel::test
