#pragma once

#include <QByteArray>
#include <cstddef>
#include <string>
#include <vector>

#include "FileIO.h"

namespace brixel {

// The most an SVG drawing may take as text, compressed (.svgz) or not: far beyond any real
// drawing, and small enough that inflating a hostile one costs little.
inline constexpr std::size_t kLargestDrawingBytes = std::size_t{32} << 20;

// An SVG drawing as it may be rendered: its text inflated when it is compressed, and with
// every reference to anything outside it left out, so that rendering it reads no file, device
// or address (only "data:" URLs and references to its own elements stay). LeftOut says, for
// each reference left out, what it was.
struct SafeDrawing {
  QByteArray Svg;
  std::vector<std::string> LeftOut;
};

// False with the reason in message when the drawing is larger than kLargestDrawingBytes,
// does not inflate, or is not well-formed XML.
bool MakeSafeDrawing(const QByteArray& data, SafeDrawing& drawing, std::string& message);

}  // namespace brixel
