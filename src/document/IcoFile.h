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
// holds it (none of a block that starts past its end); an entry past the end of the file is
// the end-of-input error.
Bytes BuildSingleImageBuffer(ByteView file, std::size_t index);

// What became of one image block: read into an image, or kept as the file holds it.
enum class BlockResult { Loaded, Kept };

// PNG entries of one file together may decompress to this many pixels at most.
inline constexpr std::size_t kPngPixelBudget = std::size_t{1} << 22;

// What the images of one file may still take before their grids are made: bytes of the file
// that their rows stand for (a PNG's rows stand for at least 1/1032 of their size, the best
// deflate can do; a kept entry for its bytes), and pixels that PNG entries may decompress to.
// Entries that share a block are charged each time, so a few hundred of them cannot make grids
// far larger than the file.
struct ReadBudget {
  std::size_t bytes = 0;
  std::size_t pngPixels = kPngPixelBudget;
};

// Translates a single-image buffer into image: a bitmap block with a header of 40, 108 or 124
// bytes, or a PNG-compressed block (a 32-bit image). A block that cannot be shown (a damaged
// PNG, an unsupported header size or depth, compressed rows, rows cut short or missing, no
// pixels or too many for an image) becomes a kept entry (KeptEntry): its bytes and directory
// values with the reason, nothing shown to the user. A 32-bit image whose file carries alpha
// keeps it while KeepAlpha is on, and none of its pixels reads as inverting; in it, and with
// the option off too, a pixel of alpha 0 reads as transparent with colour 0. Without a budget
// the buffer is the bound. What depends on the file as a whole is its failure, not the
// entry's: a file too small for what its images take (the budget's bytes) raises "Input past
// end of file", PNG entries beyond the pixel budget "Invalid picture".
BlockResult TranslateIcon(ByteView buffer, IconImage& image, int imageNumber,
                          ReadBudget* budget = nullptr);

// Reads every entry of an icon or cursor file held in memory, in directory order: an image
// for each, kept entries among them. Raises for a file whose header or directory is cut short
// and as TranslateIcon does. budget: what the images may still take when the file is one of
// several read together (the frames of an animated cursor); without one the file's size
// bounds them.
void ReadIconEntries(ByteView file, std::vector<IconImage>& images, ReadBudget* budget = nullptr);

// Whether any of the images can be shown (is not a kept entry).
bool HasShownImage(const std::vector<IconImage>& images);

// What reading the kept entries failed with, as reading them failed before entries were kept:
// the message of each that has one is shown, and the first error is reported (under the
// translating procedure's label) and propagates as ReportedFailure.
void ReplayKeptFailures(const std::vector<IconImage>& images);

// ReadIconEntries, for a file that must show an image: false for a file of no images; a file
// whose entries are all kept fails as they do (ReplayKeptFailures) and gives no image.
bool ReadIconImages(ByteView file, std::vector<IconImage>& images, ReadBudget* budget = nullptr);

// The most images an icon or cursor file holds: its count is one byte.
inline constexpr std::size_t kMostIconFileImages = 255;

// The whole file for these images, with alpha as KeepAlpha says (BuildImageData); a kept entry
// is written back with its own directory values and bytes at its place, a macOS icon's kept
// entry left out. Raises "Overflow" for more than kMostIconFileImages images or a hot spot
// above 255, before anything is written.
Bytes BuildIconFile(const std::vector<IconImage>& images, int fileType);

}  // namespace brixel
