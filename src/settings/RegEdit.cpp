#include "RegEdit.h"

#include <utility>

#include "AsciiText.h"
#include "ErrorReport.h"
#include "FileAssociations.h"
#include "Prompter.h"
#include "XdgPaths.h"

namespace brixel {
namespace {

void Complain(const char* text) { ShowMessage(kApplicationTitle, text); }

// Writes a changed store back. The classes root is published to the desktop first, and kept
// only when that succeeded, so the two agree as far as the files allow.
bool Commit(RegistryRoot root, const RegistryStore& store) {
  try {
    if (root == HKEY_CLASSES_ROOT && !PublishAssociations(store)) return false;
    SaveRegistryFile(RegistryFile(root), store);
    return true;
  } catch (const BackEndError&) {
    return false;
  }
}

// The value converted to the type asked for; nothing when it cannot be.
std::optional<RegistryData> Convert(const RegistryData& value, int type) {
  if (type == REG_SZ) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
    return value;
  }
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
  const std::optional<int> number = WholeNumber(std::get<std::string>(value));
  if (!number) return std::nullopt;
  return *number;
}

bool CreateKeyIn(RegistryRoot root, const std::string& path) {
  if (!RegistryStore::ValidPath(path)) return false;
  std::optional<RegistryStore> store = LoadRoot(root);
  if (!store) return false;
  if (store->HasKey(path)) return true;
  store->CreateKey(path);
  return Commit(root, *store);
}

enum class SetResult { Written, NoKey, Failed, Ignored };

SetResult SetValueIn(RegistryRoot root, const std::string& path, const std::string& valueName,
                     int type, const RegistryData& value) {
  std::optional<RegistryStore> store = LoadRoot(root);
  if (!store || !store->HasKey(path)) return SetResult::NoKey;
  if (type != REG_SZ && type != REG_DWORD) return SetResult::Ignored;
  std::optional<RegistryData> converted = Convert(value, type);
  if (!converted) return SetResult::Failed;
  store->SetValue(path, valueName, std::move(*converted));
  return Commit(root, *store) ? SetResult::Written : SetResult::Failed;
}

}  // namespace

std::filesystem::path RegistryFile(RegistryRoot root) {
  switch (root) {
    case HKEY_CURRENT_USER: return SettingsFolder() / "registry.ini";
    case HKEY_CLASSES_ROOT: return SettingsFolder() / "classes.ini";
    default: return {};
  }
}

void CreateKey(RegistryRoot root, const std::string& path) {
  if (!CreateKeyIn(root, path)) Complain("Error: Creating Key!");
}

void DeleteKey(RegistryRoot root, const std::string& path, const std::string& subKey) {
  std::optional<RegistryStore> store = LoadRoot(root);
  if (!store || !RegistryStore::ValidPath(path) || !store->HasKey(path)) return;
  const std::string target = subKey.empty() ? path : path.empty() ? subKey : path + "\\" + subKey;
  const bool deleted = RegistryStore::ValidPath(target) && store->DeleteKey(target) &&
                       Commit(root, *store);
  if (!deleted) Complain("Error: Deleteing Key!");
}

std::optional<RegistryStore> LoadRoot(RegistryRoot root) {
  const std::filesystem::path file = RegistryFile(root);
  if (file.empty()) return std::nullopt;
  return LoadRegistryFile(file);
}

std::optional<RegistryData> QueryValue(RegistryRoot root, const std::string& path,
                                       const std::string& valueName) {
  std::optional<RegistryStore> store = LoadRoot(root);
  if (!store) return std::nullopt;
  return store->Value(path, valueName);
}

void SetKeyValue(RegistryRoot root, const std::string& path, const std::string& valueName,
                 int type, const RegistryData& value) {
  switch (SetValueIn(root, path, valueName, type, value)) {
    case SetResult::NoKey: Complain("Error: Opening Registry Key!"); break;
    case SetResult::Failed:
      Complain(type == REG_SZ ? "Error Setting String Value!" : "Error Setting Long (DWORD) Value!");
      break;
    case SetResult::Written:
    case SetResult::Ignored: break;
  }
}

void CreateClassKey(const std::string& path, RegistryRoot root) { CreateKeyIn(root, path); }

void SetClassValue(const std::string& path, const std::string& valueName,
                   const RegistryData& value, int type) {
  SetValueIn(HKEY_CLASSES_ROOT, path, valueName, type, value);
}

}  // namespace brixel
