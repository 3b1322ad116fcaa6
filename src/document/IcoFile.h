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

// Translates a single-image buffer into image. A PNG-compressed block or an unsupported depth
// is shown to the user (imageNumber counts from 1) and left out. Failures inside are reported
// and propagate as ReportedFailure.
BlockResult TranslateIcon(ByteView buffer, IconImage& image, int imageNumber);

// Reads every image of an icon or cursor file held in memory. Returns false for a file of no
// images (or none that could be kept); failures are reported and propagate as ReportedFailure
// or BackEndError.
bool ReadIconImages(ByteView file, std::vector<IconImage>& images);

// The whole file for these images. Raises "Overflow" for more than 255 images or a hot spot
// above 255, before anything is written.
Bytes BuildIconFile(const std::vector<IconImage>& images, int fileType);

}  // namespace brixel
