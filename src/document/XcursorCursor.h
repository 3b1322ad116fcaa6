#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FileIO.h"
#include "IconImage.h"
#include "XcursorReader.h"
#include "cAni.h"
#include "cIco.h"

namespace brixel {

// An Xcursor file as a Windows cursor. Each nominal size has its own steps; step i of every
// size makes frame i (the sizes in the order the file first gives them), as the cursor file
// of an animated cursor's frame holds the sizes of one picture. A size with fewer steps than
// the others is in its first frames only. Each step's rate is its delay in jiffies, taken
// from the first size that has the step.
struct XcursorAsCursor {
  std::vector<std::vector<IconImage>> Frames;  // one for a cursor that does not move
  std::vector<std::int32_t> Rates;             // jiffies, one per frame; empty for one frame
  std::vector<std::string> Notes;              // what a Windows cursor cannot keep, a line each

  bool Animated() const { return Frames.size() > 1; }
};

// A delay in milliseconds as the nearest whole number of jiffies (1/60 s), at least 1.
std::int32_t DelayToJiffies(std::uint32_t milliseconds);

// The image as a 32-bit image that keeps its alpha: colours taken back from premultiplied
// ARGB so that writing it as an Xcursor file again (XcursorArgb) gives the same pixels, the
// hot spot as the file gives it.
IconImage IconImageFromXcursor(const XcursorImageData& image);

// The images of an Xcursor file (ReadXcursorFile) as frames and rates. Raises "Overflow"
// for more than 32767 images, more than an animated cursor holds.
XcursorAsCursor CursorFromXcursor(const std::vector<XcursorImageData>& images);

// The cursor as the documents hold it: an animated cursor of its frames and rates (the first
// rate the default, a rate list only when they differ), or a cursor of its sizes.
std::unique_ptr<cAni> AnimatedCursorDocument(const XcursorAsCursor& cursor);
std::unique_ptr<cIco> StillCursorDocument(const XcursorAsCursor& cursor);

// The name a cursor read from the Xcursor file at path is proposed to be saved under: the path
// with ".ani" (animated) or ".cur" in place of an ".xcursor" extension, else after it.
std::string WindowsCursorPath(const std::string& path, bool animated);

}  // namespace brixel
