#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "FileIO.h"
#include "IcoFile.h"
#include "IconImage.h"

namespace brixel {

inline constexpr std::int32_t kAniHeaderSize = 36;
inline constexpr std::int32_t kAniIconFlag = 1;      // frames are icon files, not raw bitmaps
inline constexpr std::int32_t kAniSequenceFlag = 2;  // the "seq " chunk orders the steps
inline constexpr std::int32_t kDefaultAniRate = 10;  // jiffies for a cursor made from images

// A rate in jiffies (1/60 s) in whole milliseconds, rounded; 0 for a rate below 1.
inline constexpr std::int64_t JiffiesToMilliseconds(std::int32_t jiffies) {
  return jiffies <= 0 ? 0 : (std::int64_t{jiffies} * 1000 + 30) / 60;
}

// The values of the "anih" chunk, in file order (Values gives all nine, the flags last).
struct AniHeader {
  std::int32_t HeaderSize = 0;
  std::int32_t FrameCount = 0;
  std::int32_t StepCount = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t BitCount = 0;
  std::int32_t Planes = 0;
  std::int32_t DisplayRate = 0;
  std::int32_t Flags = 0;

  std::array<std::int32_t, 9> Values() const;
  friend bool operator==(const AniHeader&, const AniHeader&) = default;
};

// Where the recognised top-level chunks start in the file (0 when absent), and the RIFF size.
// A third or later LIST chunk takes the second list's place.
struct AniChunkPositions {
  std::uint32_t FirstList = 0;
  std::uint32_t SecondList = 0;
  std::uint32_t Anih = 0;
  std::uint32_t Rate = 0;
  std::uint32_t Seq = 0;
  std::uint32_t RiffSize = 0;
  friend bool operator==(const AniChunkPositions&, const AniChunkPositions&) = default;
};

// What an animated cursor holds beside its frame images.
struct AniInfo {
  AniChunkPositions Positions;
  AniHeader Header;
  std::vector<std::int32_t> Rates;     // display rate of each step
  std::vector<std::int32_t> Sequence;  // frame index of each step
  std::string Name;                    // "INAM"
  std::string Artist;                  // "IART"
  std::string Copyright;               // "ICOP"
  // How many images each "icon" chunk gave, in file order (0 for a frame left out whole).
  std::vector<std::int32_t> FrameImages;
};

// One step of the animation: the frame shown (counting kept frames only) and its rate in
// jiffies (1/60 s).
struct AniStep {
  std::int32_t Frame = 0;
  std::int32_t Rate = 0;
  friend bool operator==(const AniStep&, const AniStep&) = default;
};

// How imageCount images fall into frames: the file's grouping (frames that gave no image left
// out) when it accounts for exactly these images, otherwise one image per frame.
std::vector<std::size_t> AniFrameSizes(const AniInfo& info, std::size_t imageCount);

// Where each frame's images start (AniFrameSizes summed up), with imageCount after the last:
// frame f holds the images from entry f up to entry f + 1.
std::vector<std::size_t> AniFrameStarts(const AniInfo& info, std::size_t imageCount);

// The steps the animation plays, as the file says: the sequence only when the header's
// sequence flag is set, each step's rate from the rate list or else the default rate. Steps
// that name a frame that is not there (or one that gave no image) are left out; when no step
// is left, each frame is shown once in order.
std::vector<AniStep> AniSteps(const AniInfo& info, std::size_t imageCount);

// Builds a RIFF "ACON" file for these images and values: "anih", an INFO list when a text is
// set, "rate" and "seq " only when the steps differ from each frame once at the default rate,
// and a "fram" list with one cursor file (type 2) per frame. Raises "Invalid argument" for no
// images and "Overflow" as the icon writer does, or for a file past 4 GB.
Bytes BuildAniFile(const std::vector<IconImage>& images, const AniInfo& info);

// True when the bytes start as a RIFF file of form type "ACON" (letter case ignored).
bool IsAnimatedCursorFile(ByteView file);

// Reads an animated cursor held in memory (it must pass IsAnimatedCursorFile), appending the
// images of its frames to images. Every size in the file is checked against the bytes that
// hold it: a chunk that runs past the end of the file (unless a recognised chunk starts a few
// bytes from where it was expected, as when a writer got a size slightly wrong), or a
// sub-chunk past the end of its list, raises "Input past end of file". The rate and sequence
// lists take one value per step as far as their chunks hold them. More than 32767 images
// raise "Overflow". In the frame list, a frame a few bytes from where the previous one's size
// says (an odd size without its pad byte) is found as at the top level; a list that ends
// early otherwise (a chunk that is not a frame, or one cut short) shows a message saying how
// many frames were read. Frame images that cannot be shown are kept entries (TranslateIcon).
AniInfo ReadAniFile(ByteView file, std::vector<IconImage>& images);

// Appends the images of one frame, an icon file embedded in the cursor: every one of them, at
// any depth (the 1-bit image of a frame of several too, so that a save keeps it), those that
// cannot be shown as kept entries. The frames of one animated cursor share one budget, so
// that together they cannot make grids much larger than the file. Raises as reading an icon
// file does, and "Overflow" past 32767 images.
void AppendFrameImages(ByteView frame, std::vector<IconImage>& images, ReadBudget& budget);

}  // namespace brixel
