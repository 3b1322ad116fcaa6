#include "cIco.h"

#include <sys/stat.h>

#include "IcoFile.h"
#include "Prompter.h"
#include "TrapErrors.h"
#include "cFileInfo.h"

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
  bool result = false;
  Trap(kSaveLabel, [&] {
    const Bytes file = BuildIconFile(images_, FileTypeForPath(path));

    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      cFileInfo info;
      info.File_Path(path);
      if (info.Properties(cFileInfo::ReadOnly)) {
        if (!AskYesNo("Read Only File", "The file is read only, Overwrite anyway?")) return;
        info.Properties(cFileInfo::ReadOnly, false);
      }
    }
    WriteFileReplacing(path, file);
    IconPath(path);
    result = true;
  });
  return result;
}

}  // namespace brixel
