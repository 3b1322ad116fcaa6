#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "FileIO.h"
#include "IconImage.h"

namespace brixel {

inline constexpr std::size_t kFileHeaderSize = 6;
inline constexpr std::size_t kDirectoryEntrySize = 16;

// The type word of a file: 1 for a path ending in "ico" in any case, 2 otherwise.
int FileTypeForPath(const std::string& path);

// The upper-cased last three characters of a name: "ICO", "CUR", "ANI", ...
std::string DocumentType(const std::string& path);

// Builds the single-image buffer of directory entry index of an icon file: a one-image
// header and entry whose block follows at offset 22. The block is taken as far as the file
// holds it; an entry or a block start past the end of the file is the end-of-input error.
Bytes BuildSingleImageBuffer(ByteView file, std::size_t index);

// What became of one image block.
enum class BlockResult { Loaded, LeftOut };

// PNG entries of one file together may decompress to this many pixels at most.
inline constexpr std::size_t kPngPixelBudget = std::size_t{1} << 22;

// What the images of one file may still take before their grids are made: bytes of the file
// that their rows stand for (a PNG's rows stand for at least 1/1032 of their size, the best
// deflate can do), and pixels that PNG entries may decompress to. Entries that share a block
// are charged each time, so a few hundred of them cannot make grids far larger than the file.
struct ReadBudget {
  std::size_t bytes = 0;
  std::size_t pngPixels = kPngPixelBudget;
};

// Translates a single-image buffer into image: a bitmap block with a header of 40, 108 or 124
// bytes, or a PNG-compressed block (a 32-bit image). An unsupported header size or depth is
// shown to the user (imageNumber counts from 1) and left out. A 32-bit image whose file
// carries alpha keeps it while KeepAlpha is on, and none of its pixels reads as inverting;
// in it, and with the option off too, a pixel of alpha 0 reads as transparent with colour 0.
// Without a budget the buffer is the bound.
// Failures inside are reported and propagate as ReportedFailure.
BlockResult TranslateIcon(ByteView buffer, IconImage& image, int imageNumber,
                          ReadBudget* budget = nullptr);

// Reads every image of an icon or cursor file held in memory. Returns false for a file of no
// images (or none that could be kept); failures are reported and propagate as ReportedFailure
// or BackEndError. budget: what the images may still take when the file is one of several
// read together (the frames of an animated cursor); without one the file's size bounds them.
bool ReadIconImages(ByteView file, std::vector<IconImage>& images, ReadBudget* budget = nullptr);

// The whole file for these images, with alpha as KeepAlpha says (BuildImageData). Raises
// "Overflow" for more than 255 images or a hot spot above 255, before anything is written.
Bytes BuildIconFile(const std::vector<IconImage>& images, int fileType);

}  // namespace brixel
