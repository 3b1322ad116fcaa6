#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FileIO.h"

namespace brixel {

// One image chunk of an Xcursor file as the file holds it.
struct XcursorImageData {
  std::uint32_t NominalSize = 0;  // the size the image is chosen for; may differ from Width
  int Width = 0;
  int Height = 0;
  int xHot = 0;  // 0 .. Width
  int yHot = 0;  // 0 .. Height
  std::uint32_t Delay = 0;  // milliseconds before the next step of the animation
  std::vector<std::uint32_t> Pixels;  // ARGB, colour premultiplied by alpha, rows from the top

  friend bool operator==(const XcursorImageData&, const XcursorImageData&) = default;
};

// True when the bytes start with the Xcursor magic "Xcur".
bool IsXcursorFile(ByteView file);

// True when the file at path starts with the Xcursor magic; false when it cannot be read.
bool IsXcursorFileAt(const std::string& path);

// Every image chunk of an Xcursor file, in the order of its table (comments and chunks of
// other types are passed over). Checked as libXcursor checks it, and bounded: at most 65536
// table entries, each image chunk inside the file and matching its table entry, sides of 1 to
// 32767 pixels, hot spots inside the image (its width and height included), and no more
// pixels over all images than the file has bytes for, so that entries sharing one chunk cannot
// make more than the file holds. Raises "Input past end of file" for a table or chunk cut
// short and "Invalid picture" for any other fault, its description saying which, and for a
// file without images.
std::vector<XcursorImageData> ReadXcursorFile(ByteView file);

}  // namespace brixel
