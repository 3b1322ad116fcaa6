#pragma once

// Xcursor files written field by field, so that tests can give them any value.

#include <cstdint>
#include <vector>

#include "AniTestFiles.h"
#include "FileIO.h"

namespace brixel::test {

struct RawXcursorImage {
  std::uint32_t size = 0;  // nominal size
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t xhot = 0;
  std::uint32_t yhot = 0;
  std::uint32_t delay = 0;
  std::vector<std::uint32_t> pixels;  // width x height premultiplied ARGB
};

// A width x height image whose pixels differ from each other and from other seeds', with
// alphas from opaque to clear and colours no larger than their alpha.
inline RawXcursorImage PatternXcursorImage(std::uint32_t size, std::uint32_t width, std::uint32_t height,
                                           std::uint32_t seed, std::uint32_t delay = 0) {
  RawXcursorImage image{size, width, height, width / 2, height / 3, delay, {}};
  for (std::uint32_t i = 0; i < width * height; ++i) {
    const std::uint32_t alpha = (i * 37 + seed * 11) % 256;
    const auto part = [&](std::uint32_t k) { return alpha == 0 ? 0 : (i * k + seed) % (alpha + 1); };
    image.pixels.push_back(alpha << 24 | part(3) << 16 | part(5) << 8 | part(7));
  }
  return image;
}

// The file of these images, in table order, with a comment chunk's entry first when asked
// (libXcursor's readers pass it over).
inline Bytes RawXcursorFile(const std::vector<RawXcursorImage>& images, bool comment = false) {
  const std::uint32_t entries = static_cast<std::uint32_t>(images.size()) + (comment ? 1 : 0);
  Bytes file;
  for (std::uint32_t value : {0x72756358u, 16u, 0x10000u, entries}) Put32(file, value);
  std::uint32_t position = 16 + 12 * entries;
  Bytes chunks;
  if (comment) {
    for (std::uint32_t value : {0xFFFE0001u, 1u, position}) Put32(file, value);
    for (std::uint32_t value : {20u, 0xFFFE0001u, 1u, 1u, 2u}) Put32(chunks, value);
    chunks.insert(chunks.end(), {'h', 'i'});
    position += 22;
  }
  for (const RawXcursorImage& image : images) {
    for (std::uint32_t value : {0xFFFD0002u, image.size, position}) Put32(file, value);
    for (std::uint32_t value : {36u, 0xFFFD0002u, image.size, 1u, image.width, image.height, image.xhot, image.yhot,
                                image.delay}) {
      Put32(chunks, value);
    }
    for (std::uint32_t pixel : image.pixels) Put32(chunks, pixel);
    position += 36 + 4 * static_cast<std::uint32_t>(image.pixels.size());
  }
  file.insert(file.end(), chunks.begin(), chunks.end());
  return file;
}

}  // namespace brixel::test
