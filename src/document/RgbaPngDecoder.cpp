#include "RgbaPngDecoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

#include "ByteOrder.h"

namespace brixel {
namespace {

constexpr std::uint32_t kLargestSide = 32767;          // as the libpng reader is limited
constexpr std::uint32_t kLargestChunk = 0x7FFFFFFF;    // PNG's own limit
constexpr std::uint32_t kLargestOtherChunk = 1u << 20;  // what the libpng reader accepts
constexpr std::size_t kChunkOverhead = 12;              // length, type, check value

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Chunk {
  std::uint32_t type = 0;
  ByteView data;
};

constexpr std::uint32_t kIhdr = FourCharacterCode("IHDR");
constexpr std::uint32_t kIdat = FourCharacterCode("IDAT");

// The chunk at position, whole, of a valid type and with its check value right; nothing when
// it is not.
std::optional<Chunk> ChunkAt(ByteView png, std::size_t position) {
  if (png.size() - position < kChunkOverhead) return std::nullopt;
  const std::uint8_t* at = png.data() + position;
  const std::uint32_t length = BigEndian32(at);
  if (length > kLargestChunk || png.size() - position - kChunkOverhead < length) return std::nullopt;
  if (!std::all_of(at + 4, at + 8, IsLetter)) return std::nullopt;
  // The check value covers the type and the data.
  if (libdeflate_crc32(0, at + 4, length + 4) != BigEndian32(at + 8 + length)) return std::nullopt;
  return Chunk{BigEndian32(at + 4), png.subspan(position + 8, length)};
}

// The most data one IDAT chunk may carry before libpng calls it too large: the rows plus
// what deflate may add to them.
std::uint64_t PixelChunkLimit(std::uint32_t width, std::uint32_t height) {
  const std::uint64_t rowFactor = std::uint64_t{width} * 4 + 1;
  const std::uint64_t raw = rowFactor * height;
  const std::uint64_t limit = raw + 6 + 5 * (raw / std::min<std::uint64_t>(rowFactor, 32566) + 1);
  return std::max<std::uint64_t>(kLargestOtherChunk, std::min<std::uint64_t>(limit, kLargestChunk));
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Undoes one row's filter into out; prior is the row above, unfiltered (zeros above the first).
bool Unfilter(int filter, const std::uint8_t* in, const std::uint8_t* prior, std::uint8_t* out,
              std::size_t bytes) {
  constexpr std::size_t kPixel = 4;
  switch (filter) {
    case 0:
      std::copy(in, in + bytes, out);
      return true;
    case 1:
      for (std::size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<std::uint8_t>(in[i] + (i >= kPixel ? out[i - kPixel] : 0));
      }
      return true;
    case 2:
      for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(in[i] + prior[i]);
      return true;
    case 3:
      for (std::size_t i = 0; i < bytes; ++i) {
        const int left = i >= kPixel ? out[i - kPixel] : 0;
        out[i] = static_cast<std::uint8_t>(in[i] + ((left + prior[i]) >> 1));
      }
      return true;
    case 4:
      for (std::size_t i = 0; i < bytes; ++i) {
        const int left = i >= kPixel ? out[i - kPixel] : 0;
        const int aboveLeft = i >= kPixel ? prior[i - kPixel] : 0;
        out[i] = static_cast<std::uint8_t>(in[i] + Paeth(left, prior[i], aboveLeft));
      }
      return true;
    default:
      return false;
  }
}

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// One decompressor a thread, kept: making one costs more than decompressing a small icon.
libdeflate_decompressor& ThreadDecompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(
      libdeflate_alloc_decompressor());
  if (!decompressor) throw std::bad_alloc();
  return *decompressor;
}

}  // namespace

std::optional<PlainRgbaPng> FindPlainRgbaPng(ByteView png) {
  constexpr std::size_t kSignatureBytes = 8;
  if (!IsPng(png)) return std::nullopt;
  std::size_t position = kSignatureBytes;
  const std::optional<Chunk> header = ChunkAt(png, position);
  if (!header || header->type != kIhdr || header->data.size() != 13) return std::nullopt;
  const std::uint8_t* h = header->data.data();
  PlainRgbaPng plain;
  plain.width = BigEndian32(h);
  plain.height = BigEndian32(h + 4);
  // 8 bits, colour type 6 (RGBA), deflate, the only filter method, not interlaced.
  if (plain.width == 0 || plain.height == 0 || plain.width > kLargestSide || plain.height > kLargestSide ||
      h[8] != 8 || h[9] != 6 || h[10] != 0 || h[11] != 0 || h[12] != 0) {
    return std::nullopt;
  }
  position += kChunkOverhead + header->data.size();
  const std::uint64_t pixelChunkLimit = PixelChunkLimit(plain.width, plain.height);
  for (;;) {
    const std::optional<Chunk> chunk = ChunkAt(png, position);
    if (!chunk) return std::nullopt;
    position += kChunkOverhead + chunk->data.size();
    if (chunk->type == kIdat) {
      if (chunk->data.size() > pixelChunkLimit) return std::nullopt;
      plain.pixelData.push_back(chunk->data);
      continue;
    }
    // The first other chunk after the pixel data ends it.
    if (!plain.pixelData.empty()) return plain;
    // Before the pixels only chunks a reader may skip (lower-case first letter: colour
    // profiles, text, dates), none of which changes the pixels decoded here.
    if ((chunk->type >> 24 & 0x20) == 0 || chunk->data.size() > kLargestOtherChunk) return std::nullopt;
  }
}

bool DecodePlainRgbaPng(const PlainRgbaPng& png, PngPicture& picture) {
  // The deflate stream runs through the IDAT chunks; one chunk is read where it lies.
  std::vector<std::uint8_t> joined;
  ByteView stream = png.pixelData.front();
  if (png.pixelData.size() > 1) {
    for (const ByteView part : png.pixelData) joined.insert(joined.end(), part.begin(), part.end());
    stream = joined;
  }
  const auto stride = static_cast<std::size_t>(png.width) * 4;
  std::vector<std::uint8_t> filtered(static_cast<std::size_t>(png.RawBytes()));
  std::size_t used = 0;
  // Exactly the rows, and a stream that ends with the last IDAT chunk: anything else is
  // left to libpng, which knows what it tolerates.
  if (libdeflate_zlib_decompress_ex(&ThreadDecompressor(), stream.data(), stream.size(), filtered.data(),
                                    filtered.size(), &used, nullptr) != LIBDEFLATE_SUCCESS ||
      used != stream.size()) {
    return false;
  }
  picture.width = static_cast<int>(png.width);
  picture.height = static_cast<int>(png.height);
  picture.rgba.resize(stride * png.height);
  const std::vector<std::uint8_t> zeros(stride, 0);
  const std::uint8_t* prior = zeros.data();
  for (std::size_t y = 0; y < png.height; ++y) {
    const std::uint8_t* row = filtered.data() + y * (stride + 1);
    std::uint8_t* out = picture.rgba.data() + y * stride;
    if (!Unfilter(row[0], row + 1, prior, out, stride)) return false;
    prior = out;
  }
  return true;
}

}  // namespace brixel
