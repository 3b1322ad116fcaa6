#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "AniFile.h"
#include "FileIO.h"
#include "ImageDocument.h"

namespace brixel {

// An animated cursor (.ani) document. Its frames are images like an icon document's; the
// header values, the rate and sequence lists and the three texts are kept beside them.
class cAni : public ImageDocument {
 public:
  // --- The texts of the INFO list ---
  const std::string& CursorCopy() const { return info_.Copyright; }
  void CursorCopy(const std::string& text) { info_.Copyright = text; }
  const std::string& CursorArtist() const { return info_.Artist; }
  void CursorArtist(const std::string& text) { info_.Artist = text; }
  const std::string& CursorName() const { return info_.Name; }
  void CursorName(const std::string& text) { info_.Name = text; }

  // --- What the file said beside its frames ---
  const AniHeader& Header() const { return info_.Header; }
  const std::vector<std::int32_t>& Rates() const { return info_.Rates; }
  const std::vector<std::int32_t>& Sequence() const { return info_.Sequence; }
  const AniChunkPositions& ChunkPositions() const { return info_.Positions; }
  const AniInfo& Info() const { return info_; }
  // How the images fall into frames, and the steps played (see AniFrameSizes, AniSteps).
  std::vector<std::size_t> FrameSizes() const { return AniFrameSizes(info_, images_.size()); }
  std::vector<AniStep> Steps() const { return AniSteps(info_, images_.size()); }

  // --- Changing the animation ---
  void DisplayRate(std::int32_t jiffies) { info_.Header.DisplayRate = jiffies; }
  // The rate of each step, in the order of Steps().
  void Rates(std::vector<std::int32_t> rates) { info_.Rates = std::move(rates); }
  // Frame numbers of the steps; an empty list shows each frame once in order.
  void Sequence(std::vector<std::int32_t> frames);
  // Appends the images of one frame (a frame of several images holds the sizes of one cursor)
  // as a frame of its own, at the default rate (DisplayRate): a step of its own is appended
  // to the steps, so that a cursor with a sequence plays it last, and one with a rate for each
  // frame gives it the default rate.
  void AppendFrame(std::vector<IconImage> images);
  // Makes each image a frame of its own (AppendFrame), then takes the default rate: an icon
  // document become an animated cursor. A macOS icon's entry kept as it is makes no frame; a
  // frame is an icon file, which has no place for it.
  void AppendFramesOf(const std::vector<IconImage>& images);
  // Removes the image at imageIndex from its frame. A frame left without images goes, with its
  // steps and their rates; the frames after it move down a place in the sequence. A cursor
  // left without a step plays each frame once.
  void RemoveImage(std::size_t imageIndex);
  // The images edited elsewhere become this cursor's; the file's grouping into frames holds
  // while it still accounts for every image (AniFrameSizes).
  void ReplaceFrames(const std::vector<IconImage>& images) { images_ = images; }
  // How many images each frame holds, in order, from now on (the file's frames that gave no
  // image no longer count when a sequence is given in frames as they are).
  void FrameGrouping(const std::vector<std::size_t>& sizes) { info_.FrameImages.assign(sizes.begin(), sizes.end()); }

  // Opens path as this document: stores the path, starts with no image and reads the file.
  // On success NewIcon is false, as for an opened icon.
  bool OpenAni(const std::string& path);

  // Reads the file, appending its frames' images. A file that is not a RIFF "ACON" file is
  // shown as not recognised; other failures are reported. Either way it gives false and the
  // document is as it was. A file whose frames give no image opens nothing either.
  bool OpenAniCur(const std::string& path);

  // Reads an animated cursor held in memory, as OpenAniCur does.
  bool ReadAniData(ByteView file);

  // Appends the image or images of the icon file embedded at position in file, length bytes
  // long. Raises "Input past end of file" when those bytes are not all in file; failures
  // inside an image are reported and propagate as ReportedFailure.
  void ChangeIconData(ByteView file, std::size_t position, std::size_t length);

  // Writes the document to path as an animated cursor (BuildAniFile) without destroying the
  // old file first; a read-only file is overwritten only when the user agrees. Failures are
  // reported and give false.
  bool SaveAni(const std::string& path);

 protected:
  const char* UnnamedName() const override { return "NewCursor"; }

 private:
  // How many images each frame holds and the steps, written back as the file would say them:
  // no sequence while the steps show each frame once in order, no rate list while every step
  // has the default rate, and the header's frame and step counts.
  void SetTimeline(const std::vector<std::size_t>& sizes, const std::vector<AniStep>& steps);

  AniInfo info_;
};

}  // namespace brixel
