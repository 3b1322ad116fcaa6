#include "cIco.h"

#include "IcnsFile.h"
#include "IcoFile.h"
#include "PictureDecoderProcess.h"
#include "Prompter.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kOpenLabel = "PrjBackEnd.cIco.OpenIcon";
constexpr const char* kSaveLabel = "PrjBackEnd.cIco.SaveIcon";

}  // namespace

bool cIco::ReadIconData(const Bytes& file) {
  bool result = false;
  Trap(kOpenLabel, [&] {
    std::vector<IconImage> images;
    std::vector<IcnsEntry> others;
    result = IsIcnsData(file) ? ReadIcnsImages(file, images, DecodeInDecoderProgram, &others)
                              : ReadIconImages(file, images);
    if (result) {
      images_ = std::move(images);
      icnsOthers_ = std::move(others);
    }
  });
  return result;
}

bool cIco::OpenIcon(const std::string& path) {
  Bytes file;
  if (!Trap(kOpenLabel, [&] { file = ReadWholeFile(path); })) return false;
  if (!ReadIconData(file)) return false;
  IconPath(path);
  NewIcon(false);
  return true;
}

bool cIco::SaveIcon(const std::string& path) {
  if (IsIcnsPath(path)) return SaveIcns(path);
  const bool saved =
      WriteDocumentFile(kSaveLabel, path, [&] { return BuildIconFile(images_, FileTypeForPath(path)); });
  if (saved) TellMacIconOnlyLeftOut(path);
  return saved;
}

void cIco::TellMacIconOnlyLeftOut(const std::string& path) {
  const std::string leftOut = MacIconOnlyEntriesText(images_, icnsOthers_);
  if (leftOut.empty() || path == macIconOnlyToldFor_) return;
  macIconOnlyToldFor_ = path;
  ShowMessage(kApplicationTitle, "These entries are not in " + path + ", as only a macOS icon holds them: " + leftOut);
}

bool cIco::SaveIcns(const std::string& path) {
  std::vector<std::string> leftOut;
  const bool saved = WriteDocumentFile(kSaveLabel, path, [&] { return BuildIcnsFile(images_, leftOut, icnsOthers_); });
  if (saved && !leftOut.empty()) {
    ShowMessage(kApplicationTitle, "These images are not in " + path +
                                       ", which holds square images of 16, 32, 48, 64, 128, 256, 512 "
                                       "and 1024 pixels: " + IcnsLeftOutText(leftOut));
  }
  return saved;
}

}  // namespace brixel
