#include "RegistryStore.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "ErrorReport.h"
#include "FileIO.h"
#include "TrimBlanks.h"

namespace brixel {
namespace {

constexpr std::size_t kLongestName = 255;

std::string Fold(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return folded;
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

std::string Quote(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') {
      quoted += '\\';
      quoted += c;
    } else if (IsControl(c)) {
      const auto byte = static_cast<unsigned char>(c);
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0xF];
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text starting at pos (on the opening quote); pos ends after the closing one.
std::optional<std::string> Unquote(std::string_view line, std::size_t& pos) {
  if (pos >= line.size() || line[pos] != '"') return std::nullopt;
  std::string text;
  for (++pos; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return text;
    }
    if (c != '\\' || pos + 1 >= line.size()) {
      text += c;
      continue;
    }
    const char next = line[++pos];
    if (next == 'x' && pos + 2 < line.size() && HexDigit(line[pos + 1]) >= 0 &&
        HexDigit(line[pos + 2]) >= 0) {
      text += static_cast<char>(HexDigit(line[pos + 1]) * 16 + HexDigit(line[pos + 2]));
      pos += 2;
    } else {
      text += next;
    }
  }
  return std::nullopt;
}

std::optional<std::int32_t> ParseDword(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

// The path of the parent key, "" for a key directly below the root.
std::string_view Parent(std::string_view path) {
  const auto slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

}  // namespace

std::string StripNulls(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string RegistryText(const std::optional<RegistryData>& value) {
  if (!value) return {};
  if (const auto* number = std::get_if<std::int32_t>(&*value)) return std::to_string(*number);
  return std::get<std::string>(*value);
}

bool RegistryStore::ValidPath(std::string_view path) {
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view name = path.substr(start, end - start);
    if (name.empty() || name.size() > kLongestName) return false;
    if (std::any_of(name.begin(), name.end(), IsControl)) return false;
    if (end == path.size()) return true;
    start = end + 1;
  }
}

bool RegistryStore::HasKey(std::string_view path) const {
  return path.empty() || keys_.count(Fold(path)) != 0;
}

void RegistryStore::CreateKey(std::string_view path) {
  for (std::string_view level = path; !level.empty(); level = Parent(level)) {
    auto [it, added] = keys_.try_emplace(Fold(level));
    if (!added) break;
    it->second.path = std::string(level);
  }
}

bool RegistryStore::DeleteKey(std::string_view path) {
  if (path.empty() || !HasKey(path)) return false;
  const std::string folded = Fold(path);
  const std::string below = folded + "\\";
  std::erase_if(keys_, [&](const auto& entry) {
    return entry.first == folded || entry.first.starts_with(below);
  });
  return true;
}

std::vector<std::string> RegistryStore::SubKeys(std::string_view path) const {
  std::vector<std::string> names;
  const std::string folded = Fold(path);
  for (const auto& [key, entry] : keys_) {
    if (key.empty() || Fold(Parent(entry.path)) != folded) continue;
    const auto slash = entry.path.rfind('\\');
    names.push_back(slash == std::string::npos ? entry.path : entry.path.substr(slash + 1));
  }
  return names;
}

std::optional<RegistryData> RegistryStore::Value(std::string_view path,
                                                 std::string_view name) const {
  const auto key = keys_.find(Fold(path));
  if (key == keys_.end()) return std::nullopt;
  const auto value = key->second.values.find(Fold(name));
  if (value == key->second.values.end()) return std::nullopt;
  return value->second.data;
}

bool RegistryStore::SetValue(std::string_view path, std::string_view name, RegistryData data) {
  if (!HasKey(path)) return false;
  Key& key = keys_[Fold(path)];  // the root's entry appears with its first value
  NamedValue& value = key.values[Fold(name)];
  value.name = std::string(name);
  value.data = std::move(data);
  return true;
}

std::string RegistryStore::Serialise() const {
  std::string text = "; Brixel per-user store: keys and their values.\n";
  for (const auto& [folded, key] : keys_) {
    if (folded.empty() && key.values.empty()) continue;
    text += "\n[" + key.path + "]\n";
    for (const auto& [foldedName, value] : key.values) {
      text += value.name.empty() ? std::string("@") : Quote(value.name);
      text += '=';
      if (const auto* number = std::get_if<std::int32_t>(&value.data)) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<std::uint32_t>(*number));
        text += "dword:";
        text += digits;
      } else {
        text += Quote(std::get<std::string>(value.data));
      }
      text += '\n';
    }
  }
  return text;
}

RegistryStore RegistryStore::Parse(std::string_view text) {
  RegistryStore store;
  std::optional<std::string> section;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimBlanks(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      section.reset();
      const std::size_t close = line.rfind(']');
      if (close == std::string_view::npos || close == 0) continue;
      const std::string_view path = line.substr(1, close - 1);
      if (!ValidPath(path)) continue;
      store.CreateKey(path);
      section = std::string(path);
      continue;
    }
    if (!section) continue;
    std::size_t pos = 0;
    std::string name;
    if (line[0] == '@') {
      pos = 1;
    } else if (auto quoted = Unquote(line, pos)) {
      name = std::move(*quoted);
    } else {
      continue;
    }
    if (pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    const std::string_view data = line.substr(pos);
    if (data.starts_with("dword:")) {
      if (auto number = ParseDword(data.substr(6))) store.SetValue(*section, name, *number);
    } else if (auto quoted = Unquote(line, pos); quoted && pos == line.size()) {
      store.SetValue(*section, name, std::move(*quoted));
    }
  }
  return store;
}

std::optional<RegistryStore> LoadRegistryFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return RegistryStore();
  try {
    const Bytes bytes = ReadWholeFile(file.string());
    return RegistryStore::Parse(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const BackEndError&) {
    return std::nullopt;
  }
}

void SaveRegistryFile(const std::filesystem::path& file, const RegistryStore& store) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) Raise(ErrorCode::PathNotFound);
  const std::string text = store.Serialise();
  WriteFileReplacing(file.string(), Bytes(text.begin(), text.end()));
}

}  // namespace brixel
