#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Colour.h"
#include "Grid.h"

namespace brixel {

// The PNG-compressed entry an image was read from, and the picture it decoded to: 8-bit RGBA,
// rows from the top.
struct PngEntrySource {
  std::vector<std::uint8_t> png;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// Where an image came from is not part of its value: images with equal grids are equal.
struct PngOrigin {
  std::shared_ptr<const PngEntrySource> source;
  friend bool operator==(const PngOrigin&, const PngOrigin&) { return true; }
};

// An entry of a file that the reader cannot show (a damaged PNG, a depth or a bitmap header the
// editor does not support, a compressed bitmap, data cut short, ...): its bytes and directory
// values, kept so that a save writes them back unchanged at the entry's place.
struct KeptEntry {
  std::vector<std::uint8_t> block;           // the entry's data block as the file holds it
  std::array<std::uint8_t, 8> directory{};   // bytes 0 .. 7 of its directory entry
  int width = 0;                             // its size as far as the entry tells, for its
  int height = 0;                            // placeholder (at least 1 x 1)
  int bitCount = 0;                          // the bit count of its header; 0 when unknown
  std::uint32_t icnsType = 0;                // an .icns file's entry: its type; 0 otherwise
  std::string reason;                        // why it is kept: "damaged PNG", "16-bit colour", ...
  // What reading it failed with, for a file whose entries all fail, which fails as a whole:
  // an error number and description, or number 0 and the message shown for it.
  int errorNumber = 0;
  std::string errorText;
};

// Kept entries are equal when they would be written back alike: same block, same directory.
struct KeptOrigin {
  std::shared_ptr<const KeptEntry> entry;
  friend bool operator==(const KeptOrigin& a, const KeptOrigin& b) {
    if (!a.entry || !b.entry) return !a.entry && !b.entry;
    return a.entry->block == b.entry->block && a.entry->directory == b.entry->directory;
  }
};

// One image of a document. A value: copying copies the grids and the palette.
struct IconImage {
  Grid Pixels;                  // colours; 1-bit images carry W32 columns, others Width
  Grid Mask;                    // mask values, always W32 columns
  std::vector<Colour> Palette;  // 2, 16 or 256 entries
  std::int16_t Width = 0;
  std::int16_t DibHeight = 0;   // twice the height: XOR rows plus AND rows
  std::int16_t BitDepth = 0;
  std::int16_t xHotSpot = 0;
  std::int16_t yHotSpot = 0;
  // Per-pixel alpha (0 .. 255) of an image whose file carried alpha, Width columns; empty
  // (no rows) for every other image, which is then written with a fourth byte of 0.
  Grid Alpha;
  // The image came from a PNG-compressed entry and is written back as one while it keeps
  // its alpha.
  bool StoredAsPng = false;
  // While such an image still holds exactly what the entry read as, it is written back as
  // the entry's own bytes: compressing again costs far more than comparing, and the file
  // keeps what its author chose (bit depth, chunks, compression).
  PngOrigin ReadFrom;
  // An entry kept as the file holds it (KeptEntry). Such an image has no pixels: its width,
  // height, depth and hot spot are 0 and its grids and palette empty, so that nothing can
  // draw or edit it; the entry says its size and why it is kept.
  KeptOrigin Kept;

  int Height() const { return DibHeight / 2; }
  bool IsKept() const { return Kept.entry != nullptr; }
  bool CarriesAlpha() const { return Alpha.Rows() > 0; }

  friend bool operator==(const IconImage&, const IconImage&) = default;
};

// The width rounded up to a multiple of 32.
inline constexpr int W32(int width) { return ((width - 1) / 32) * 32 + 32; }

// Depths the files and the editor support.
inline constexpr bool IsSupportedDepth(int bitDepth) {
  return bitDepth == 1 || bitDepth == 4 || bitDepth == 8 || bitDepth == 24 || bitDepth == 32;
}

// Palette entries an image of this depth carries.
inline constexpr int PaletteSizeFor(int bitDepth) {
  return bitDepth == 1 ? 2 : bitDepth == 4 ? 16 : 256;
}

// A fully transparent black image with the default palette of its depth. Raises
// "Invalid procedure call" for a size below 1 or an unsupported depth and "Overflow" when
// twice the height does not fit 16 bits.
IconImage MakeNewImage(int width, int height, int bitDepth);

// Sizes the grids for width and DibHeight already set on the image.
void SizeGrids(IconImage& image);

// Gives the image a per-pixel alpha that follows its mask: 255 where a pixel is opaque, 0
// elsewhere. Grids must already have their size.
void AddAlphaFromMask(IconImage& image);

// Writes a pixel's mask value. In an image that carries alpha the pixel's alpha follows:
// 255 for MaskOpaque, 0 for any other value. The caller keeps (x, y) inside the mask grid.
void SetMask(IconImage& image, int x, int y, std::int32_t value);

// Whether the grids hold every pixel of the picture (Width x Height): the colours, the mask,
// and the alpha where the image carries one. Procedures that address pixels directly check it
// once before they start.
inline bool GridsCoverPicture(const IconImage& image) {
  const int width = image.Width;
  const int height = image.Height();
  return image.Pixels.Columns() >= width && image.Pixels.Rows() >= height &&
         image.Mask.Columns() >= width && image.Mask.Rows() >= height &&
         (!image.CarriesAlpha() || (image.Alpha.Columns() >= width && image.Alpha.Rows() >= height));
}

// The alpha a pixel of the picture is shown and written with: its own where the image carries
// alpha, else 255 for an opaque pixel and 0 for the others.
int AlphaAt(const IconImage& image, int x, int y);

}  // namespace brixel
