#include "cAni.h"

#include <cstdint>
#include <iterator>

#include "IcnsFile.h"
#include "Prompter.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kOpenLabel = "PrjKorvane.cAni.OpenAniCur";
constexpr const char* kSaveLabel = "PrjKorvane.cAni.SaveAni";

}  // namespace

bool cAni::OpenAni(const std::string& path) {
  IconPath(path);
  images_.clear();
  if (!OpenAniCur(path)) return false;
  NewIcon(false);
  return true;
}

bool cAni::OpenAniCur(const std::string& path) {
  Bytes file;
  if (!Trap(kOpenLabel, [&] { file = ReadWholeFile(path); })) return false;
  return ReadAniData(file);
}

bool cAni::ReadAniData(ByteView file) {
  if (!IsAnimatedCursorFile(file)) {
    ShowMessage("Invalid File", "File format not recognized");
    return false;
  }
  bool result = false;
  Trap(kOpenLabel, [&] {
    // Everything is read aside first, so a file that fails part-way changes nothing.
    std::vector<IconImage> images;
    AniInfo info = ReadAniFile(file, images);
    // A cursor none of whose images can be shown fails as they do.
    if (!HasShownImage(images)) {
      ReplayKeptFailures(images);
      return;
    }
    images_.insert(images_.end(), std::make_move_iterator(images.begin()),
                   std::make_move_iterator(images.end()));
    info_ = std::move(info);
    result = true;
  });
  return result;
}

void cAni::ChangeIconData(ByteView file, std::size_t position, std::size_t length) {
  if (position > file.size() || file.size() - position < length) Raise(ErrorCode::InputPastEnd);
  ReadBudget budget{length, kPngPixelBudget};
  AppendFrameImages(file.subspan(position, length), images_, budget);
}

void cAni::Sequence(std::vector<std::int32_t> frames) {
  info_.Sequence = std::move(frames);
  if (info_.Sequence.empty()) info_.Header.Flags &= ~kAniSequenceFlag;
  else info_.Header.Flags |= kAniSequenceFlag;
}

void cAni::SetTimeline(const std::vector<std::size_t>& sizes, const std::vector<AniStep>& steps) {
  info_.FrameImages.assign(sizes.begin(), sizes.end());
  bool inOrder = steps.size() == sizes.size();
  bool defaultRates = true;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    inOrder = inOrder && steps[i].Frame == static_cast<std::int32_t>(i);
    defaultRates = defaultRates && steps[i].Rate == info_.Header.DisplayRate;
  }
  // No step left: each frame is shown once, at the default rate.
  if (steps.empty()) inOrder = defaultRates = true;
  info_.Sequence.clear();
  info_.Rates.clear();
  for (const AniStep& step : steps) {
    if (!inOrder) info_.Sequence.push_back(step.Frame);
    if (!defaultRates) info_.Rates.push_back(step.Rate);
  }
  if (inOrder) info_.Header.Flags &= ~kAniSequenceFlag;
  else info_.Header.Flags |= kAniSequenceFlag;
  info_.Header.FrameCount = static_cast<std::int32_t>(sizes.size());
  info_.Header.StepCount = static_cast<std::int32_t>(steps.empty() ? sizes.size() : steps.size());
}

void cAni::AppendFrame(std::vector<IconImage> images) {
  if (images.empty()) return;
  if (images_.size() + images.size() > static_cast<std::size_t>(INT16_MAX)) Raise(ErrorCode::Overflow);
  // The timeline as it plays now, with the file's grouping while it accounts for every image.
  std::vector<std::size_t> sizes = FrameSizes();
  std::vector<AniStep> steps = Steps();
  steps.push_back({static_cast<std::int32_t>(sizes.size()), info_.Header.DisplayRate});
  sizes.push_back(images.size());
  images_.insert(images_.end(), std::make_move_iterator(images.begin()),
                 std::make_move_iterator(images.end()));
  SetTimeline(sizes, steps);
}

void cAni::AppendFramesOf(const std::vector<IconImage>& images) {
  for (const IconImage& image : images) {
    if (!IsIcnsKeptEntry(image)) AppendFrame({image});
  }
  DisplayRate(kDefaultAniRate);
}

void cAni::RemoveImage(std::size_t imageIndex) {
  if (imageIndex >= images_.size()) Raise(ErrorCode::SubscriptOutOfRange);
  std::vector<std::size_t> sizes = FrameSizes();
  std::vector<AniStep> steps = Steps();
  std::size_t frame = 0;
  for (std::size_t first = 0; first + sizes[frame] <= imageIndex; first += sizes[frame]) ++frame;
  ForgetHistoryOf(static_cast<std::int16_t>(imageIndex));
  images_.erase(images_.begin() + static_cast<std::ptrdiff_t>(imageIndex));
  if (--sizes[frame] == 0) {
    sizes.erase(sizes.begin() + static_cast<std::ptrdiff_t>(frame));
    const auto gone = static_cast<std::int32_t>(frame);
    std::erase_if(steps, [gone](const AniStep& step) { return step.Frame == gone; });
    for (AniStep& step : steps) {
      if (step.Frame > gone) --step.Frame;
    }
  }
  SetTimeline(sizes, steps);
}

bool cAni::SaveAni(const std::string& path) {
  return WriteDocumentFile(kSaveLabel, path, [&] { return BuildAniFile(images_, info_); });
}

}  // namespace brixel
