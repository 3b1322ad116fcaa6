#pragma once

#include <string>
#include <vector>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel {

// Pictures that are not icons are decoded by the picture decoder program, a process of its
// own that carries Qt and the metafile libraries: a picture library that crashes, hangs or
// runs out of memory on a hostile file ends that process, and the caller reports a picture
// that cannot be read. Each call runs it once with the data on its standard input, within a
// wall-clock time, a processor time and a memory limit (for tests, BRIXEL_DECODER_SECONDS,
// BRIXEL_DECODER_CPU_SECONDS and BRIXEL_DECODER_MEGABYTES set lower ones). Its log is read: its
// warnings come back with the pictures, the libraries' notes go no further.

// The program that decodes: the one UsePictureDecoderProgram named, else the one beside this
// program, else where an installation puts it (../lib/brixel from this program's folder);
// empty when there is none.
std::string PictureDecoderProgramPath();

// Runs path instead of looking for the program; empty to look again.
void UsePictureDecoderProgram(std::string path);

// Reads a picture file for import, as the import dialog and brixel-cli do: icons and cursors
// through our own reader, every other kind through the program. Raises as ReadPicture does.
LoadedPicture LoadPictureFile(const std::string& path);

// A PictureDecoder: the picture the program reads from data (path for its extension); false
// with the reason in message when it cannot read it, is missing, or stops unexpectedly.
bool DecodeInDecoderProgram(const Bytes& data, const std::string& path, LoadedPicture& picture,
                            std::string& message);

struct RenderedDrawing {
  int Width = 0;  // its own size
  int Height = 0;
  std::vector<LoadedPicture> Pictures;  // one for each side asked for
  std::vector<std::string> Warnings;
};

// An SVG drawing rendered at each side (0: its own size), in one run of the program; false
// with the reason in message.
bool RenderDrawingInDecoderProgram(const Bytes& data, const std::vector<int>& sides, RenderedDrawing& drawing,
                                   std::string& message);

// The top-left side x side of an SVG drawing at its own size (less where the drawing is
// smaller), rendered alone; false with the reason in message.
bool RenderDrawingCornerInDecoderProgram(const Bytes& data, int side, RenderedDrawing& drawing,
                                         std::string& message);

}  // namespace brixel
