#pragma once

#include <string_view>
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

// The answer to a drawing rendered at several sides starts with the drawing's own width and
// height (32 bits each, little-endian, at most kMaxPictureSide); the pictures follow.
void AppendDrawingSize(int width, int height, Bytes& out);
bool ReadDrawingAnswer(ByteView bytes, int& width, int& height, std::vector<LoadedPicture>& pictures);

// The program's own warnings in its log (its standard error, shared with the libraries' notes)
// are the lines that start with this.
inline constexpr std::string_view kDecoderWarning = "warning: ";

// The program's exit status for a picture that needs more memory than it may use.
inline constexpr int kDecoderOutOfMemory = 3;

}  // namespace brixel
