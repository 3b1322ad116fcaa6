#pragma once

#include <cstddef>
#include <cstdint>

#include "FileIO.h"
#include "IconImage.h"

namespace brixel {

// Byte offset of the image's data block inside a single-image buffer (6-byte header plus one
// 16-byte directory entry).
inline constexpr std::size_t kSingleImageBlockOffset = 22;
inline constexpr std::size_t kBitmapHeaderSize = 40;

// Bytes in one stored XOR row (padded to four bytes) and in one AND row.
std::size_t XorRowBytes(int width, int bitDepth);
std::size_t AndRowBytes(int width);

// Bytes of colour table for a depth: 8, 64, 1024 or none.
std::size_t ColourTableBytes(int bitDepth);

// --- Reading a single-image buffer ---

// Reads the colour table (or gives true-colour images the default swatches) and returns the
// buffer offset of the first XOR row.
std::size_t SetPalette(ByteView buffer, IconImage& image);

// Unpacks the XOR rows starting at position into Pixels.
void UnpackXorRows(ByteView buffer, std::size_t position, IconImage& image);

// Unpacks the AND rows starting at position into Mask.
void DrawMask(ByteView buffer, std::size_t position, IconImage& image);

// For a 32-bit image stored without AND rows: pixels whose alpha byte is below 128 become
// transparent, keeping their colour; the others are opaque.
void MaskFromAlpha(ByteView buffer, std::size_t xorPosition, IconImage& image);

// --- Writing one image's data block ---

void CreateIconSubHeader(const IconImage& image, Bytes& bytes);
void TranslatePalette(const IconImage& image, Bytes& bytes);
void TranslatePicArr(const IconImage& image, Bytes& bytes);
void TranslateMaskArr(const IconImage& image, Bytes& bytes);

// Header, colour table, XOR rows and AND rows of one image, as a file stores them.
Bytes BuildImageData(const IconImage& image);

}  // namespace brixel
