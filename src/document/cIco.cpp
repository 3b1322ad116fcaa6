#include "cIco.h"

#include <algorithm>
#include <utility>

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
    // Each once, with how often: an animated cursor's frames give hundreds of the same.
    std::vector<std::pair<std::string, std::size_t>> counted;
    for (const std::string& size : leftOut) {
      const auto found = std::find_if(counted.begin(), counted.end(), [&](const auto& c) { return c.first == size; });
      if (found != counted.end()) ++found->second;
      else counted.emplace_back(size, 1);
    }
    std::string sizes;
    for (const auto& [size, count] : counted) {
      std::string named = size;
      // "24x24 (3 of them)", "32x32 (a second image of its size; 299 of them)"
      if (count > 1) {
        const std::string many = std::to_string(count) + " of them";
        named = named.back() == ')' ? named.insert(named.size() - 1, "; " + many) : named + " (" + many + ")";
      }
      sizes += (sizes.empty() ? "" : ", ") + named;
    }
    ShowMessage(kApplicationTitle, "These images are not in " + path +
                                       ", which holds square images of 16, 32, 48, 64, 128, 256, 512 "
                                       "and 1024 pixels: " + sizes);
  }
  return saved;
}

}  // namespace brixel
