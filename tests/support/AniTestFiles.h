#pragma once

// Animated cursors written byte by byte for the tests. The frames inside them are icon files
// of our own writer; the RIFF structure around them is put together here, so each test can
// get a size, an order or a pad byte wrong on purpose.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "FileIO.h"
#include "IcoFile.h"
#include "IconImage.h"

namespace brixel::test {

inline void Put32(Bytes& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A chunk with the size of its data, and the pad byte after data of odd size.
inline Bytes Chunk(std::string_view id, const Bytes& data) {
  Bytes chunk = Text(id);
  Put32(chunk, static_cast<std::uint32_t>(data.size()));
  chunk.insert(chunk.end(), data.begin(), data.end());
  if (data.size() % 2 == 1) chunk.push_back(0);
  return chunk;
}

// A chunk head whose size says whatever the test wants, followed by data.
inline Bytes ChunkClaiming(std::string_view id, std::uint32_t size, const Bytes& data) {
  Bytes chunk = Text(id);
  Put32(chunk, size);
  chunk.insert(chunk.end(), data.begin(), data.end());
  return chunk;
}

inline Bytes List(std::string_view type, std::initializer_list<Bytes> chunks) {
  return Chunk("LIST", Joined({Text(type), Joined(chunks)}));
}

// A RIFF file of form type form holding chunks, with the RIFF size they give.
inline Bytes Riff(std::string_view form, std::initializer_list<Bytes> chunks) {
  const Bytes body = Joined({Text(form), Joined(chunks)});
  Bytes file = Text("RIFF");
  Put32(file, static_cast<std::uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// Flags of the "anih" chunk: the frames are icon files; a "seq " chunk is present.
inline constexpr std::uint32_t kIconFlag = 1;
inline constexpr std::uint32_t kSequenceFlag = 2;

// The 36-byte "anih" chunk: the eight header values and the flags.
inline Bytes Anih(std::uint32_t frames, std::uint32_t steps, std::uint32_t displayRate,
                  std::uint32_t flags = kIconFlag) {
  Bytes data;
  for (std::uint32_t v : {36u, frames, steps, 0u, 0u, 0u, 0u, displayRate, flags}) Put32(data, v);
  return Chunk("anih", data);
}

inline Bytes Steps(std::string_view id, std::initializer_list<std::uint32_t> values) {
  Bytes data;
  for (std::uint32_t v : values) Put32(data, v);
  return Chunk(id, data);
}

// Entry index of the palette a new image of this depth gets.
inline Colour PaletteColour(int depth, int index) {
  return MakeNewImage(1, 1, depth).Palette.at(static_cast<std::size_t>(index));
}

// A width x height image of one colour, every pixel opaque.
inline IconImage SolidImage(int width, int height, int depth, Colour colour) {
  IconImage image = MakeNewImage(width, height, depth);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.Pixels.At(x, y) = colour;
      image.Mask.At(x, y) = MaskOpaque;
    }
  }
  return image;
}

// An image of one colour with a transparent top-left pixel and the given hot spot.
inline IconImage FrameImage(int size, int depth, Colour colour, int xHot = 0, int yHot = 0) {
  IconImage image = SolidImage(size, size, depth, colour);
  image.Pixels.At(0, 0) = kBlack;
  image.Mask.At(0, 0) = MaskTransparent;
  image.xHotSpot = static_cast<std::int16_t>(xHot);
  image.yHotSpot = static_cast<std::int16_t>(yHot);
  return image;
}

// One frame: a cursor file of these images.
inline Bytes Icon(const std::vector<IconImage>& images) {
  return Chunk("icon", BuildIconFile(images, 2));
}

}  // namespace brixel::test
