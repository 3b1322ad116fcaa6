#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "FileIO.h"

namespace brixel {

// Whether the bytes start with the PNG signature.
bool IsPng(ByteView bytes);

// What a PNG's header says, read before any pixel is decompressed.
struct PngHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // Bytes its rows take decompressed, one filter byte a row included.
  std::uint64_t rawBytes = 0;
};

// The fewest bytes a PNG's compressed rows can take (deflate makes at best one byte of 1032):
// a header that claims more rows than its data could hold is refused before any is read.
inline std::uint64_t FewestCompressedBytes(const PngHeader& header) {
  constexpr std::uint64_t kDeflateRatio = 1032;
  return (header.rawBytes + kDeflateRatio - 1) / kDeflateRatio;
}

// The width and height a PNG's header gives, without decoding it; nothing when the bytes are
// too few to hold the header.
std::optional<std::pair<std::uint32_t, std::uint32_t>> PngSize(ByteView png);

// A decoded picture: 8-bit red, green, blue and alpha per pixel, rows from the top.
struct PngPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// Decodes a PNG of any colour type and depth (palette, grey, 16 bits, with alpha or a
// transparent colour or neither) to 8-bit RGBA: 16-bit samples keep their high byte, and no
// gamma or colour profile is applied. accept sees the header before any pixel is decompressed
// and raises to refuse it. A damaged or truncated PNG raises "Invalid picture" with the reason.
PngPicture DecodePng(ByteView png, const std::function<void(const PngHeader&)>& accept);

// An 8-bit RGBA picture (width x height x 4 bytes, rows from the top) as a PNG.
Bytes EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace brixel
