#pragma once

// Picture files for the import tests, written byte by byte: metafiles no program on this
// system writes, pictures of a known layout, and hostile drawings.
#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "Colour.h"
#include "FileIO.h"

namespace brixel::test {

inline void Le16(Bytes& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
inline void Le32(Bytes& out, std::int64_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

// A Windows metafile with a placeable header at 96 units per inch: a width x height picture
// whose left half is filled with left and right half with right, drawn without outlines.
// declared overrides the size the placeable header gives.
inline Bytes TwoColourWmf(int width, int height, Colour left, Colour right, int declared = 0) {
  std::vector<Bytes> records;
  const auto record = [&records](int function, std::initializer_list<int> words, std::int64_t colour = -1) {
    Bytes r;
    const std::size_t size = 3 + words.size() + (colour >= 0 ? 2 : 0);
    Le32(r, static_cast<std::int64_t>(size));
    Le16(r, function);
    for (const int w : words) Le16(r, w);
    if (colour >= 0) Le32(r, colour);
    records.push_back(r);
  };
  const auto brush = [&](Colour colour) {
    Bytes r;
    Le32(r, 7);
    Le16(r, 0x02FC);  // CREATEBRUSHINDIRECT: solid
    Le16(r, 0);
    Le32(r, colour);
    Le16(r, 0);
    records.push_back(r);
  };
  record(0x020B, {0, 0});            // SETWINDOWORG (y, x)
  record(0x020C, {height, width});   // SETWINDOWEXT (y, x)
  {
    Bytes pen;                        // CREATEPENINDIRECT: no outline
    Le32(pen, 8);
    Le16(pen, 0x02FA);
    Le16(pen, 5);
    Le16(pen, 0);
    Le16(pen, 0);
    Le32(pen, 0);
    records.push_back(pen);
  }
  record(0x012D, {0});                // SELECTOBJECT pen
  brush(left);
  record(0x012D, {1});
  record(0x041B, {height, width / 2, 0, 0});  // RECTANGLE (bottom, right, top, left)
  record(0x01F0, {1});                // DELETEOBJECT
  brush(right);
  record(0x012D, {1});
  record(0x041B, {height, width, 0, width / 2});
  record(0x0000, {});                 // EOF
  Bytes body;
  std::size_t largest = 0;
  for (const Bytes& r : records) {
    body.insert(body.end(), r.begin(), r.end());
    largest = std::max(largest, r.size() / 2);
  }
  const int side = declared ? declared : 0;
  Bytes file;
  const int boxRight = declared ? side : width;
  const int boxBottom = declared ? side : height;
  const std::vector<int> placeable = {0xCDD7, 0x9AC6, 0, 0, 0, boxRight, boxBottom, 96, 0, 0};
  int checksum = 0;
  for (const int word : placeable) checksum ^= word;
  for (const int word : placeable) Le16(file, word);
  Le16(file, checksum);
  Le16(file, 1);  // in memory
  Le16(file, 9);
  Le16(file, 0x0300);
  Le32(file, static_cast<std::int64_t>((18 + body.size()) / 2));
  Le16(file, 2);
  Le32(file, static_cast<std::int64_t>(largest));
  Le16(file, 0);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// An enhanced metafile of the same picture: width x height device pixels with a frame of the
// same size at 96 pixels per inch (frameWidth overrides the frame's width in pixels).
inline Bytes TwoColourEmf(int width, int height, Colour left, Colour right, int frameWidth = 0) {
  std::vector<Bytes> records;
  const auto record = [&records](int type, std::initializer_list<std::int64_t> values) {
    Bytes r;
    Le32(r, type);
    Le32(r, static_cast<std::int64_t>(8 + 4 * values.size()));
    for (const std::int64_t v : values) Le32(r, v);
    records.push_back(r);
  };
  constexpr std::int64_t kNullPen = 0x80000008;
  record(39, {1, 0, left, 0});        // CREATEBRUSHINDIRECT
  record(37, {1});                    // SELECTOBJECT
  record(37, {kNullPen});
  record(43, {0, 0, width / 2, height});      // RECTANGLE
  record(39, {2, 0, right, 0});
  record(37, {2});
  record(43, {width / 2, 0, width, height});
  record(14, {0, 16, 20});            // EOF
  Bytes body;
  for (const Bytes& r : records) body.insert(body.end(), r.begin(), r.end());
  const auto hundredths = [](int pixels) { return static_cast<std::int64_t>(pixels * 2540.0 / 96 + 0.5); };
  Bytes file;
  Le32(file, 1);
  Le32(file, 88);
  for (const std::int64_t v : {0, 0, width - 1, height - 1}) Le32(file, v);  // bounds
  for (const std::int64_t v : {std::int64_t{0}, std::int64_t{0}, hundredths(frameWidth ? frameWidth : width), hundredths(height)}) {
    Le32(file, v);  // frame
  }
  Le32(file, 0x464D4520);  // " EMF"
  Le32(file, 0x10000);
  Le32(file, static_cast<std::int64_t>(88 + body.size()));
  Le32(file, static_cast<std::int64_t>(records.size() + 1));
  Le16(file, 3);
  Le16(file, 0);
  for (const std::int64_t v : {0, 0, 0, 1024, 768, 271, 203}) Le32(file, v);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// text compressed as gzip does (.svgz).
inline Bytes Gzip(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&stream, static_cast<uLong>(text.size())));
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

inline std::string SvgStart(int width, int height) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
         std::to_string(width) + "\" height=\"" + std::to_string(height) + "\">";
}

// A drawing that fills itself with the picture at href.
inline std::string DrawingOfImage(const std::string& href, int side = 16) {
  return SvgStart(side, side) + "<image xlink:href=\"" + href + "\" width=\"" + std::to_string(side) +
         "\" height=\"" + std::to_string(side) + "\"/></svg>";
}

// One gradient of many stops filling the drawing: minutes of work for Qt SVG at 200000.
inline std::string GradientOfManyStops(int stops) {
  std::string svg = SvgStart(64, 64) + "<defs><linearGradient id=\"g\">";
  for (int i = 0; i < stops; ++i) {
    svg += "<stop offset=\"" + std::to_string(static_cast<double>(i) / stops) + "\" stop-color=\"#" +
           (i % 2 ? "ff0000" : "0000ff") + "\"/>";
  }
  return svg + "</linearGradient></defs><rect width=\"64\" height=\"64\" fill=\"url(#g)\"/></svg>";
}

// side x side covered by count translucent circles, each as large as the drawing.
inline std::string TranslucentCircles(int side, int count) {
  std::string svg = SvgStart(side, side);
  for (int i = 0; i < count; ++i) {
    svg += "<circle cx=\"" + std::to_string(side / 2 + i % 7) + "\" cy=\"" + std::to_string(side / 2) + "\" r=\"" +
           std::to_string(side / 2) + "\" fill=\"#00ff00\" fill-opacity=\"0.3\"/>";
  }
  return svg + "</svg>";
}

}  // namespace brixel::test
