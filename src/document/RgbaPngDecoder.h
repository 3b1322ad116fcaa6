#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "FileIO.h"
#include "PngCodec.h"

namespace brixel {

// The PNG that icons made today carry: 8-bit RGBA, not interlaced, every chunk up to the end
// of its pixel data whole and checked, nothing before the pixels that a reader must
// understand. Decoded here with libdeflate, a few times as fast as libpng with zlib; any other
// PNG, and one whose pixel data turns out damaged, is left to libpng.
struct PlainRgbaPng {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<ByteView> pixelData;  // the IDAT chunks' data, in order

  // Bytes the rows take decompressed, one filter byte a row included.
  std::uint64_t RawBytes() const { return (std::uint64_t{width} * 4 + 1) * height; }
};

// The picture's chunks when the PNG is such a plain one; nothing else is decompressed yet.
std::optional<PlainRgbaPng> FindPlainRgbaPng(ByteView png);

// Decompresses and unfilters the pixels. False when the data does not make exactly the rows
// the header promises (a damaged stream, a wrong check value, an unknown filter).
bool DecodePlainRgbaPng(const PlainRgbaPng& png, PngPicture& picture);

}  // namespace brixel
