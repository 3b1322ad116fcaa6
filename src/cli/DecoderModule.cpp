#include "DecoderModule.h"

#include <dlfcn.h>

#include <filesystem>

namespace brixel::cli {
namespace {

namespace fs = std::filesystem;

void* LoadedModule(std::string& failure) {
  static void* module = nullptr;
  static std::string reason;
  static bool tried = false;
  if (!tried) {
    tried = true;
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& candidate :
         {folder / kPictureDecoderModule, folder / ".." / "lib" / "brixel" / kPictureDecoderModule}) {
      if (!fs::exists(candidate, error)) continue;
      // Never unloaded: Qt, once started inside it, stays for the rest of the run.
      module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
      if (!module) {
        const char* why = dlerror();
        reason = why ? why : candidate.string() + " cannot be loaded";
      }
      break;
    }
    if (!module && reason.empty()) {
      reason = std::string(kPictureDecoderModule) + " is not installed beside brixel-cli";
    }
  }
  failure = reason;
  return module;
}

}  // namespace

void* DecoderModuleEntry(const char* name, std::string& failure) {
  void* module = LoadedModule(failure);
  if (!module) return nullptr;
  void* entry = dlsym(module, name);
  if (!entry) failure = std::string(kPictureDecoderModule) + " has no entry " + name;
  return entry;
}

bool DecodeThroughModule(const Bytes& data, const std::string& path, LoadedPicture& picture,
                         std::string& message) {
  std::string failure;
  const auto entry = DecoderModuleFunction<PictureDecoderEntry>(kPictureDecoderEntry, failure);
  if (!entry) {
    message = "only icons and cursors can be read without the picture decoders (" + failure + ")";
    return false;
  }
  return entry(data, path, picture, message);
}

}  // namespace brixel::cli
