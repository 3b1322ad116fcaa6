#pragma once

#include <string>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel {

// Reads a picture that is not an icon file: BMP, JPEG, GIF, PNG and the other kinds Qt's
// image readers know (by content, the name's extension as a hint), SVG drawings at their own
// size (RenderDrawing), Windows metafiles through libwmf and enhanced metafiles through
// libemf2svg, both rendered at 96 pixels per inch with Qt SVG onto white. Pictures whose readers report transparency keep it as alpha. A picture
// whose header or metafile frame declares more than kMaxPictureSide pixels on a side is
// refused before it is decoded. False, with the reason in message, when the data cannot be
// read.
bool DecodePicture(const Bytes& data, const std::string& path, LoadedPicture& picture,
                   std::string& message);

// Renders an SVG drawing (compressed or not) with its transparency as alpha: fitted into
// side x side with its aspect kept, or at its own size when side is 0. False, with the reason
// in message, when it cannot be rendered or its own size is larger than kMaxPictureSide.
bool RenderDrawing(const Bytes& data, int side, LoadedPicture& picture, std::string& message);

// Whether the data is a Windows or an enhanced metafile, whose rendering may draw text (and
// so needs a GUI application object for its fonts).
bool IsMetafileData(const Bytes& data);

}  // namespace brixel
