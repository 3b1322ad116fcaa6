#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "FileIO.h"
#include "IconImage.h"

namespace brixel {

// Byte offset of the image's data block inside a single-image buffer (6-byte header plus one
// 16-byte directory entry).
inline constexpr std::size_t kSingleImageBlockOffset = 22;
inline constexpr std::size_t kBitmapHeaderSize = 40;
// The V4 and V5 bitmap headers, which some writers use; the colour table follows them.
inline constexpr std::size_t kBitmapV4HeaderSize = 108;
inline constexpr std::size_t kBitmapV5HeaderSize = 124;

// Bytes in one stored XOR row (padded to four bytes) and in one AND row.
std::size_t XorRowBytes(int width, int bitDepth);
std::size_t AndRowBytes(int width);

// Bytes of colour table for a depth: 8, 64, 1024 or none.
std::size_t ColourTableBytes(int bitDepth);

// --- Reading a single-image buffer ---

// Reads the colour table, which follows a bitmap header of headerSize bytes (or gives
// true-colour images the default swatches), and returns the buffer offset of the first XOR row.
std::size_t SetPalette(ByteView buffer, IconImage& image,
                       std::size_t headerSize = kBitmapHeaderSize);

// Unpacks the XOR rows starting at position into Pixels.
void UnpackXorRows(ByteView buffer, std::size_t position, IconImage& image);

// Unpacks the AND rows starting at position into Mask.
void DrawMask(ByteView buffer, std::size_t position, IconImage& image);

// For a 32-bit image stored without AND rows: pixels whose alpha byte is below 128 become
// transparent, the others opaque. The transparent ones get colour 0, except with
// keepColours those whose alpha is not 0 (their colour still shows through the alpha).
void MaskFromAlpha(ByteView buffer, std::size_t xorPosition, IconImage& image,
                   bool keepColours = false);

// A pixel that is not opaque and white in its XOR colour inverts the screen: inverting
// pixels read back as -1. Applied to the picture columns of an image read with its AND rows.
void MarkInvertingPixels(IconImage& image);

// --- Writing one image's data block ---

// The colour table a 1-, 4- or 8-bit image is written with: its own palette, except where its
// transparent pixels need a black entry (or its inverting pixels a white one) that the palette
// lacks; then an entry that no pixel is written with takes that colour, the last such entry
// first. Nothing when black is needed and no entry is free. Other depths: the palette as is.
// When indices is given and working the palette out took the index of every picture pixel of
// a 4- or 8-bit image under the palette returned, it receives them (Width x Height, rows from
// the top); otherwise it is left empty.
std::optional<std::vector<Colour>> WrittenPalette(const IconImage& image,
                                                  std::vector<std::uint8_t>* indices = nullptr);

void CreateIconSubHeader(const IconImage& image, Bytes& bytes);
// palette: the colour table to write and to index pixels by (WrittenPalette).
void TranslatePalette(const IconImage& image, const std::vector<Colour>& palette, Bytes& bytes);
// keepAlpha: a 32-bit image that carries alpha gets it as the fourth byte of each pixel;
// otherwise that byte is 0. indexed: the pixels' indices as WrittenPalette gave them, if it did.
void TranslatePicArr(const IconImage& image, const std::vector<Colour>& palette, Bytes& bytes,
                     bool keepAlpha = false, const std::vector<std::uint8_t>& indexed = {});
void TranslateMaskArr(const IconImage& image, Bytes& bytes);

// Header, colour table, XOR rows and AND rows of one image, as a file stores them (a kept
// entry's own bytes, unchanged). With
// keepAlpha, a 32-bit image that carries alpha is written with it, and one that came from a
// PNG-compressed entry is written as a PNG again. Raises "Invalid procedure call or argument"
// with a description of its own when the image's transparent pixels cannot be written as
// transparent (see WrittenPalette).
Bytes BuildImageData(const IconImage& image, bool keepAlpha = false);

}  // namespace brixel
