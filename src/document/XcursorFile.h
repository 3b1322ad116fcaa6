#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AniFile.h"
#include "FileIO.h"
#include "IconImage.h"

namespace brixel {

// A pixel as an Xcursor image holds it: ARGB with the colour premultiplied by the alpha it is
// shown with (AlphaAt: the image's own where it keeps one, so soft edges stay); inverting
// pixels, which Xcursor cannot show, are clear.
std::uint32_t XcursorArgb(const IconImage& image, int x, int y);

// An Xcursor file of a cursor: every image at the nominal size of its width, with its hot
// spot (moved to the nearest pixel of the image when outside it, as in icon frames). For an
// animated cursor (animation set), each step in order gives the images of its frame, with the
// step's rate in milliseconds as their delay; otherwise images is one frame shown without
// delay. Kept entries (IconImage::IsKept) have no pixels and are left out. Raises "Invalid
// argument" when no image is left to write.
Bytes BuildXcursorFile(const std::vector<IconImage>& images, const AniInfo* animation);

// True when path ends in ".xcursor" (letter case ignored).
bool IsXcursorPath(const std::string& path);

}  // namespace brixel
