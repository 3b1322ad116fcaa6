#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "FileIO.h"
#include "IconImage.h"

namespace brixel {

// The values of the "anih" chunk, in file order. The flags that follow them are not read.
struct AniHeader {
  std::int32_t HeaderSize = 0;
  std::int32_t FrameCount = 0;
  std::int32_t StepCount = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t BitCount = 0;
  std::int32_t Planes = 0;
  std::int32_t DisplayRate = 0;

  std::array<std::int32_t, 8> Values() const;
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
};

// True when the bytes start as a RIFF file of form type "ACON" (letter case ignored).
bool IsAnimatedCursorFile(ByteView file);

// Reads an animated cursor held in memory (it must pass IsAnimatedCursorFile), appending the
// images of its frames to images. Every size in the file is checked against the bytes that
// hold it: a chunk that runs past the end of the file (unless a recognised chunk starts a few
// bytes from where it was expected, as when a writer got a size slightly wrong), or a
// sub-chunk past the end of its list, raises "Input past end of file". The rate and sequence
// lists take one value per step as far as their chunks hold them. More than 32767 images
// raise "Overflow". Failures inside a frame image are reported and propagate as
// ReportedFailure.
AniInfo ReadAniFile(ByteView file, std::vector<IconImage>& images);

// Appends the images of one frame, an icon file embedded in the cursor. A frame of one image
// keeps it at any depth; a frame of several keeps only those that are not 1-bit. Images of an
// unsupported depth or PNG-compressed ones are shown to the user and left out. Raises as
// reading an icon file does, and "Overflow" past 32767 images.
void AppendFrameImages(ByteView frame, std::vector<IconImage>& images);

}  // namespace brixel
