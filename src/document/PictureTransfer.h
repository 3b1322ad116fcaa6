#pragma once

#include <vector>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel {

// Decoded pictures as the picture decoder program hands them to brixel-cli through a pipe.
// Each: width and height (32 bits, little-endian), a byte that is 1 when alpha follows, the
// colours (32 bits each, row by row), then with alpha one byte a pixel.
void AppendPicture(const LoadedPicture& picture, Bytes& out);

// The pictures back from those bytes; false when they are not whole pictures of 1 to
// kMaxPictureSide pixels a side.
bool ReadPictures(ByteView bytes, std::vector<LoadedPicture>& pictures);

}  // namespace brixel
