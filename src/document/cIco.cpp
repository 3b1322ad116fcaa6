#include "cIco.h"

#include "IcoFile.h"
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
    result = ReadIconImages(file, images);
    if (result) images_ = std::move(images);
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
  return WriteDocumentFile(kSaveLabel, path,
                           [&] { return BuildIconFile(images_, FileTypeForPath(path)); });
}

}  // namespace brixel
