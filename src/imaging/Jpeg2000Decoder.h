#pragma once

#include <string>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel {

// Decodes a JPEG 2000 picture (a JP2 file or a bare code stream, IsJpeg2000Data) with
// OpenJPEG: grey, grey and alpha, RGB or RGBA (YCC turned to RGB), samples of any precision
// taken to 8 bits. Pictures larger than kMaxPictureSide on a side are refused before their
// pixels are decoded. False, with the reason in message, when the data cannot be read.
bool DecodeJpeg2000(const Bytes& data, LoadedPicture& picture, std::string& message);

}  // namespace brixel
