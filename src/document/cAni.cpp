#include "cAni.h"

#include <iterator>

#include "Prompter.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kOpenLabel = "PrjKorvane.cAni.OpenAniCur";

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
  AppendFrameImages(file.subspan(position, length), images_);
}

bool cAni::SaveAni(const std::string&) {
  ShowMessage(kApplicationTitle, "ToDo Save animated cursors");
  return false;
}

}  // namespace brixel
