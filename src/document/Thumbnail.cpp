#include "Thumbnail.h"

#include <algorithm>
#include <iterator>

#include "IcnsFile.h"
#include "PictureDecoderProcess.h"
#include "AniFile.h"
#include "IcoFile.h"
#include "PictureImport.h"
#include "ProgramIcons.h"
#include "Resampling.h"

namespace brixel {
namespace {

// The images that can be shown, moved out of images.
std::vector<IconImage> ShownOnly(std::vector<IconImage>& images, std::size_t first, std::size_t last) {
  std::vector<IconImage> shown;
  for (std::size_t i = first; i < last; ++i) {
    if (!images[i].IsKept()) shown.push_back(std::move(images[i]));
  }
  return shown;
}

// The images of the frame the animation shows first, as the editor plays it (AniSteps): of
// its first step whose frame has an image that can be shown (else of the first such frame).
std::vector<IconImage> FirstStepImages(ByteView file) {
  std::vector<IconImage> images;
  const AniInfo info = ReadAniFile(file, images);
  if (images.empty()) return images;
  const std::vector<AniStep> steps = AniSteps(info, images.size());
  const std::vector<std::size_t> starts = AniFrameStarts(info, images.size());
  std::vector<std::size_t> frames;
  for (const AniStep& step : steps) frames.push_back(static_cast<std::size_t>(step.Frame));
  for (std::size_t frame = 0; frame + 1 < starts.size(); ++frame) frames.push_back(frame);
  for (const std::size_t frame : frames) {
    std::vector<IconImage> shown = ShownOnly(images, starts[frame], starts[frame + 1]);
    if (!shown.empty()) return shown;
  }
  return {};
}

// A program shows the images of its first icon group (ProgramIcons::FirstIconGroup).
std::vector<IconImage> ProgramImages(ByteView file) {
  const ProgramIcons program(Bytes(file.begin(), file.end()));
  const std::optional<std::size_t> group = program.FirstIconGroup();
  if (!group) return {};
  return ShownImages(program.Rebuild(*group).file);
}

int LongerSide(const IconImage& image) { return std::max<int>(image.Width, image.Height()); }

}  // namespace

std::vector<IconImage> ShownImages(ByteView file) {
  if (IsAnimatedCursorFile(file)) return FirstStepImages(file);
  if (StartsAsExecutable(file)) return ProgramImages(file);
  std::vector<IconImage> images;
  if (IsIcnsData(file)) {
    ReadIcnsImages(file, images, DecodeInDecoderProgram);
    return ShownOnly(images, 0, images.size());
  }
  if (!IsIconFileData(file)) {
    throw BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                       ErrorDescription(static_cast<int>(ErrorCode::InvalidPicture)) +
                           ": not an icon, cursor or animated cursor");
  }
  ReadIconImages(file, images);
  return ShownOnly(images, 0, images.size());
}

std::vector<IconImage> ThumbnailImages(ByteView file, int size, const PictureDecoder& jpeg2000) {
  if (!IsIcnsData(file)) return ShownImages(file);
  const auto wholeRead = [&] {
    std::vector<IconImage> images;
    ReadIcnsImages(file, images, jpeg2000);
    return ShownOnly(images, 0, images.size());
  };
  std::optional<std::vector<int>> sides = IcnsImageSides(file);
  if (!sides) return wholeRead();
  // The sides in the order ThumbnailImageIndex prefers them: the smallest at least size
  // upwards, then the largest below it downwards.
  const auto atLeast = std::lower_bound(sides->begin(), sides->end(), size);
  std::reverse(sides->begin(), atLeast);
  std::rotate(sides->begin(), atLeast, sides->end());
  for (const int side : *sides) {
    std::vector<IconImage> images;
    ReadIcnsEntries(file, images, jpeg2000, nullptr, side);
    std::vector<IconImage> shown = ShownOnly(images, 0, images.size());
    if (shown.empty()) continue;
    // A picture not of its type's size (a JPEG 2000 one, known only once decoded) leaves the
    // choice to the whole read.
    const bool asTyped = std::all_of(shown.begin(), shown.end(), [&](const IconImage& image) { return LongerSide(image) == side; });
    return asTyped ? shown : wholeRead();
  }
  // No entry gives an image: the whole read says why.
  return wholeRead();
}

std::size_t ThumbnailImageIndex(const std::vector<IconImage>& images, int size) {
  // The side to show: the smallest at least size, else the largest there is.
  int side = 0;
  int largest = 0;
  for (const IconImage& image : images) {
    if (image.IsKept()) continue;
    const int longer = LongerSide(image);
    largest = std::max(largest, longer);
    if (longer >= size && (side == 0 || longer < side)) side = longer;
  }
  if (side == 0) side = largest;
  std::size_t chosen = images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (images[i].IsKept() || LongerSide(images[i]) != side) continue;
    if (chosen == images.size() || images[i].BitDepth > images[chosen].BitDepth) chosen = i;
  }
  return chosen;
}

RgbaPicture MakeThumbnail(const IconImage& image, int size) {
  if (size < 1 || image.IsKept() || image.Width < 1 || image.Height() < 1) Raise(ErrorCode::InvalidArgument);
  const RgbaPicture shown = RgbaFromImage(image);
  const int longer = std::max(shown.Width, shown.Height);
  if (longer > size) {
    const ScaledExtent fitted = ScaledSize(shown.Width, shown.Height, size);
    return ScaleByArea(shown, fitted.Width, fitted.Height);
  }
  const int factor = size / longer;
  return factor > 1 ? EnlargeByPixels(shown, factor) : shown;
}

}  // namespace brixel
