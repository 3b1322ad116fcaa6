#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FileIO.h"
#include "IconImage.h"
#include "PictureImport.h"

namespace brixel {

// macOS application icons (.icns): a header ("icns", the file's length) and entries of a
// four-letter type, their length and data, all numbers 32-bit big-endian.

// Whether the bytes start like an .icns file.
bool IsIcnsData(ByteView bytes);

// True when path ends in ".icns" (letter case ignored).
bool IsIcnsPath(const std::string& path);

// The square sizes an .icns file holds images of.
inline constexpr int kIcnsSizes[] = {16, 32, 48, 64, 128, 256, 512, 1024};
bool IsIcnsSize(int width, int height);

// An entry of an .icns file as it stands: its type and data. The entries that hold no picture
// read here are kept so: the file's information list ("info"), version ("icnV") and name, the
// icons for dark mode or for a selected state (.icns files of their own), pictures of sizes not
// read (the sidebar's). They are written back as they were read, in the same order, after the
// images.
struct IcnsEntry {
  std::uint32_t type = 0;
  Bytes data;
  friend bool operator==(const IcnsEntry&, const IcnsEntry&) = default;
};

// A type as text for messages: its four characters, any that cannot be printed as '?'.
std::string IcnsTypeName(std::uint32_t type);

// Reads the images of an .icns file, one for each size, from the best entry of that size: PNG
// (or JPEG 2000) entries, then the run-length RGB ones with their masks, the @2x PNG ones, the
// ARGB ones, and last the old 1-, 4- and 8-bit ones with the system palettes. JPEG 2000 data
// is decoded by jpeg2000 (when given). An entry that cannot be decoded (JPEG 2000 without a
// decoder that reads it, a damaged PNG, data of an unknown kind) becomes a kept entry
// (KeptEntry with its icnsType) written back unchanged, and another entry of its size may
// still give the image. The entries of types no image is read from go to others (when given),
// but the table of contents, which a write makes anew; more than 4096 of them fail the file. A
// header or entry whose length runs past the end of the file, or an entry shorter than its own
// header, raises "Invalid picture" with the reason; PNG entries within kPngPixelBudget pixels
// in all. With onlySide, only the entries of images whose longer side it is are read.
void ReadIcnsEntries(ByteView file, std::vector<IconImage>& images, const PictureDecoder& jpeg2000,
                     std::vector<IcnsEntry>* others = nullptr, int onlySide = 0);

// The longer sides of the images the file's entries would give, by their types, smallest first,
// each once; nothing is decoded. Nothing when a PNG entry's picture is not of its type's size
// (only a whole read then tells the sizes); a JPEG 2000 entry is taken to be. Raises as
// ReadIcnsEntries for a file whose entries run past its end.
std::optional<std::vector<int>> IcnsImageSides(ByteView file);

// ReadIcnsEntries for a file that must show an image: false (with a message) when none of
// its entries gives one.
bool ReadIcnsImages(ByteView file, std::vector<IconImage>& images, const PictureDecoder& jpeg2000,
                    std::vector<IcnsEntry>* others = nullptr);

// Whether .icns writes also carry run-length RGB entries with masks for 16 and 32 pixels (is32,
// il32) for old readers; off unless asked for. 48 pixels are always written so, having no
// PNG entry.
bool IcnsRunLengthEntries();
void IcnsRunLengthEntries(bool on);

// The .icns file of the images: a table of contents, then each square image of a size in
// kIcnsSizes as PNG under the type for its size, and its @2x type where the size also serves
// half its size (32 as 16@2x, 64, 256, 512; 1024 is 512@2x), an image still as its PNG entry
// read it written as those bytes; 48 as run-length RGB and mask. Kept entries of an .icns file
// go back under their own type, before any image of that type; an image whose PNG types they
// all hold is written as run-length RGB and mask where its size has such an entry (16, 32,
// 128). What cannot be written (an image of another size, a second image of one size, an
// image whose every type a kept entry holds, an entry kept from an icon file) is left out and
// named in leftOut ("24x24", ...). The other entries follow the images. Raises "Invalid procedure
// call" with a message when no image is left to write.
Bytes BuildIcnsFile(const std::vector<IconImage>& images, std::vector<std::string>& leftOut,
                    const std::vector<IcnsEntry>& others = {});

// An .icns file of these entries as they are, after a table of contents of them: for keeping
// entries where no image goes with them. Raises "Overflow" past 4 GB.
Bytes IcnsFileOf(const std::vector<IcnsEntry>& entries);

// The entries of the images kept as they were read from an .icns file, and then others: all
// that only an .icns file holds.
std::vector<IcnsEntry> MacIconOnlyEntries(const std::vector<IconImage>& images, const std::vector<IcnsEntry>& others);

// What BuildIcnsFile left out, for a message: each once, with how many there are when more
// than one ("24x24 (3 of them), 32x32 (a second image of its size; 2 of them)").
std::string IcnsLeftOutText(const std::vector<std::string>& leftOut);

// The types of the entries, each once and with how many there are when more than one: "'info',
// 'name' (3)". The first few types only: a file may hold thousands of entries.
std::string IcnsEntryTypesText(const std::vector<IcnsEntry>& entries);

// What of MacIconOnlyEntries a user would miss, in words: "the 128x128 image that cannot be
// shown (damaged PNG), 'info', 'name' (2)"; empty when there is nothing.
std::string MacIconOnlyEntriesText(const std::vector<IconImage>& images, const std::vector<IcnsEntry>& others);

// Whether the image is an .icns entry kept as it is (it could not be shown): only a macOS icon
// holds it, and an icon file has no place for it.
inline bool IsIcnsKeptEntry(const IconImage& image) { return image.IsKept() && image.Kept.entry->icnsType != 0; }

// Whether any image is such an entry, and the images without them.
bool HasIcnsKeptEntries(const std::vector<IconImage>& images);
std::vector<IconImage> WithoutIcnsKeptEntries(const std::vector<IconImage>& images);

}  // namespace brixel
