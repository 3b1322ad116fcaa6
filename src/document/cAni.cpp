#include "cAni.h"

#include <cstdint>
#include <iterator>

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
    if (images.empty()) return;
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

void cAni::AppendFrame(std::vector<IconImage> images) {
  if (images.empty()) return;
  if (images_.size() + images.size() > static_cast<std::size_t>(INT16_MAX)) Raise(ErrorCode::Overflow);
  // The grouping stays the file's only while it still accounts for every image.
  std::vector<std::size_t> sizes = FrameSizes();
  info_.FrameImages.assign(sizes.begin(), sizes.end());
  info_.FrameImages.push_back(static_cast<std::int32_t>(images.size()));
  images_.insert(images_.end(), std::make_move_iterator(images.begin()),
                 std::make_move_iterator(images.end()));
}

bool cAni::SaveAni(const std::string& path) {
  return WriteDocumentFile(kSaveLabel, path, [&] { return BuildAniFile(images_, info_); });
}

}  // namespace brixel
