#pragma once

#include <optional>
#include <vector>

#include "Colour.h"
#include "FileIO.h"
#include "IconImage.h"

namespace brixel {

// The 16 colours of the old 4-bit entries of .icns files (icl4, ics4, ...), the system's own.
const std::vector<Colour>& ClassicPalette16();
// The 256 colours of the old 8-bit entries (icl8, ics8, ...): the 6 x 6 x 6 cube without
// black, ramps of ten reds, greens, blues and greys, and black last.
const std::vector<Colour>& ClassicPalette256();

// An old 1-, 4- or 8-bit entry of width x height pixels, rows from the top, the most
// significant bits first: a paletted image of that depth (1 bits black). maskEntry is the
// 1-bit entry of that size (ICN#, ics#, ...), its image followed by its mask (1 bits opaque);
// without one, or one too short, every pixel is opaque. Nothing when data is too short.
std::optional<IconImage> ReadClassicEntry(ByteView data, int width, int height, int bitDepth,
                                          std::optional<ByteView> maskEntry);

}  // namespace brixel
