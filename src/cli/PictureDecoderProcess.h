#pragma once

#include <string>
#include <vector>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel::cli {

// Pictures that are not icons are decoded by the picture decoder program (beside brixel-cli,
// or in ../lib/brixel when installed), a process of its own that carries Qt and the metafile
// libraries. Each call runs it once with the data on its standard input.

// A PictureDecoder: the picture the program reads from data (path for its extension); false
// with the reason in message when it cannot read it, is missing, or stops unexpectedly.
bool DecodeInDecoderProgram(const Bytes& data, const std::string& path, LoadedPicture& picture,
                            std::string& message);

// An SVG drawing rendered at each side (0: its own size), in one run of the program; false
// with the reason in message.
bool RenderDrawingInDecoderProgram(const Bytes& data, const std::vector<int>& sides,
                                   std::vector<LoadedPicture>& pictures, std::string& message);

}  // namespace brixel::cli
