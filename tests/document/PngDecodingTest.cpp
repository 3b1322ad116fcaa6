// 8-bit RGBA PNGs decoded by the quick path (libdeflate and our own unfiltering) against the
// pixels they were made from, and against libpng on the same data where the quick path
// gives up.

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "PngCodec.h"
#include "RgbaPngDecoder.h"
#include "TestSupport.h"

namespace brixel {
namespace {

void Put32Big(Bytes& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(Bytes& png, const std::string& type, const Bytes& data) {
  Put32Big(png, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type.begin(), type.end());
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32Big(png, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

int PaethOf(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The rows of an RGBA picture, each behind its filter byte and filtered with the PNG format's
// predictors (none, left, above, average, Paeth).
Bytes FilteredRows(int width, int height, const Bytes& rgba, const std::vector<int>& filters) {
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  Bytes out;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = rgba.data() + y * stride;
    const std::uint8_t* above = y > 0 ? row - stride : nullptr;
    const int filter = filters[static_cast<std::size_t>(y)];
    out.push_back(static_cast<std::uint8_t>(filter));
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= 4 ? row[i - 4] : 0;
      const int b = above ? above[i] : 0;
      const int c = above && i >= 4 ? above[i - 4] : 0;
      const int predicted = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : filter == 4 ? PaethOf(a, b, c) : 0;
      out.push_back(static_cast<std::uint8_t>(row[i] - predicted));
    }
  }
  return out;
}

struct PngParts {
  int width = 1;
  int height = 1;
  Bytes rgba;
  std::vector<int> filters;
  int pixelChunks = 1;      // the compressed stream split over this many IDAT chunks
  bool withPalette = false;  // a suggested palette: a critical chunk only libpng reads
  bool badCheckValue = false;  // the stream's own Adler-32 wrong, every chunk CRC right
  Bytes afterStream;           // bytes after the end of the deflate stream, inside the IDATs
  std::size_t cutStream = 0;   // bytes taken off the end of the stream
};

Bytes MakePng(const PngParts& parts) {
  Bytes raw = FilteredRows(parts.width, parts.height, parts.rgba, parts.filters);
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes stream(size);
  EXPECT_EQ(compress2(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6), Z_OK);
  stream.resize(size);
  if (parts.badCheckValue) stream.back() ^= 0x5A;
  stream.insert(stream.end(), parts.afterStream.begin(), parts.afterStream.end());
  stream.resize(stream.size() - parts.cutStream);

  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32Big(header, static_cast<std::uint32_t>(parts.width));
  Put32Big(header, static_cast<std::uint32_t>(parts.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "tEXt", Bytes{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'});
  if (parts.withPalette) AppendChunk(png, "PLTE", Bytes{0, 0, 0, 255, 255, 255});
  const std::size_t part = stream.size() / static_cast<std::size_t>(parts.pixelChunks) + 1;
  for (std::size_t at = 0; at < stream.size(); at += part) {
    AppendChunk(png, "IDAT", Bytes(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                   stream.begin() + static_cast<std::ptrdiff_t>(std::min(stream.size(), at + part))));
  }
  AppendChunk(png, "IEND", {});
  return png;
}

PngParts RandomPicture(int width, int height, std::mt19937& random) {
  PngParts parts;
  parts.width = width;
  parts.height = height;
  parts.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  // Smooth areas and noise, so that every predictor has something to predict.
  for (std::size_t i = 0; i < parts.rgba.size(); ++i) {
    parts.rgba[i] = static_cast<std::uint8_t>(i % 7 == 0 ? random() : i / 5);
  }
  for (int y = 0; y < height; ++y) parts.filters.push_back(static_cast<int>(random() % 5));
  return parts;
}

// What DecodePng makes of a PNG: its pixels, or the message it refuses it with; and how
// often it asked whether to accept the header.
struct Outcome {
  PngPicture picture;
  std::string refusal;
  int asked = 0;
};

Outcome Decode(const Bytes& png) {
  Outcome outcome;
  try {
    outcome.picture = DecodePng(png, [&](const PngHeader&) { ++outcome.asked; });
  } catch (const BackEndError& e) {
    outcome.refusal = e.Description();
  }
  return outcome;
}

TEST(PngDecoding, RgbaPicturesOfEveryFilterComeBackExactly) {
  std::mt19937 random(7);
  for (const auto& [width, height] : {std::pair{1, 1}, {2, 3}, {17, 5}, {64, 64}, {255, 9}}) {
    for (const int chunks : {1, 3}) {
      PngParts parts = RandomPicture(width, height, random);
      parts.pixelChunks = chunks;
      const Bytes png = MakePng(parts);
      const std::optional<PlainRgbaPng> plain = FindPlainRgbaPng(png);
      ASSERT_TRUE(plain.has_value()) << width << "x" << height;
      // The quick path itself reads it: a fall back to libpng would hide its faults.
      PngPicture quick;
      ASSERT_TRUE(DecodePlainRgbaPng(*plain, quick)) << width << "x" << height;
      EXPECT_EQ(quick.rgba, parts.rgba);
      if (width < 64) {
        test::KeepFuzzSeed("png", std::to_string(width) + "x" + std::to_string(height) + "-" + std::to_string(chunks) + ".png", png);
      }
      std::size_t asked = 0;
      PngHeader seen;
      const PngPicture picture = DecodePng(png, [&](const PngHeader& header) {
        ++asked;
        seen = header;
      });
      EXPECT_EQ(asked, 1u);
      EXPECT_EQ(seen.rawBytes, (4ull * static_cast<unsigned>(width) + 1) * static_cast<unsigned>(height));
      EXPECT_EQ(picture.width, width);
      EXPECT_EQ(picture.height, height);
      EXPECT_EQ(picture.rgba, parts.rgba) << width << "x" << height << " in " << chunks << " chunks";
    }
  }
}

// Where the quick path gives up, the answer is libpng's: the same PNG with a suggested
// palette, which only libpng reads, is the reference. The header is accepted once.
TEST(PngDecoding, DamagedOrUnusualPixelDataGetsLibpngsAnswer) {
  std::mt19937 random(11);
  const auto variants = std::vector<std::pair<std::string, std::function<void(PngParts&)>>>{
      {"an unknown filter", [](PngParts& p) { p.filters[3] = 5; }},
      {"a wrong check value", [](PngParts& p) { p.badCheckValue = true; }},
      {"a stream cut short", [](PngParts& p) { p.cutStream = 9; }},
      {"bytes after the stream", [](PngParts& p) { p.afterStream = {1, 2, 3}; }},
  };
  for (const auto& [name, change] : variants) {
    PngParts parts = RandomPicture(20, 12, random);
    change(parts);
    const Bytes png = MakePng(parts);
    const std::optional<PlainRgbaPng> plain = FindPlainRgbaPng(png);
    ASSERT_TRUE(plain.has_value()) << name;
    PngPicture ignored;
    EXPECT_FALSE(DecodePlainRgbaPng(*plain, ignored)) << name << ": left to libpng";
    const Outcome quick = Decode(png);
    parts.withPalette = true;
    const Bytes reference = MakePng(parts);
    ASSERT_FALSE(FindPlainRgbaPng(reference).has_value());
    const Outcome expected = Decode(reference);
    EXPECT_EQ(quick.refusal, expected.refusal) << name;
    EXPECT_EQ(quick.picture.rgba, expected.picture.rgba) << name;
    EXPECT_EQ(quick.asked, 1) << name;
  }
  // A chunk whose CRC is wrong is libpng's to refuse, before anything is accepted.
  PngParts parts = RandomPicture(8, 8, random);
  Bytes png = MakePng(parts);
  png[png.size() - 20] ^= 1;  // inside the last IDAT chunk's data
  EXPECT_FALSE(FindPlainRgbaPng(png).has_value());
  const Outcome damaged = Decode(png);
  EXPECT_NE(damaged.refusal.find("Invalid picture (PNG: "), std::string::npos) << damaged.refusal;
}

}  // namespace
}  // namespace brixel
