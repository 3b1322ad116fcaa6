#include "FileAssociations.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string_view>
#include <system_error>

#include "AsciiText.h"
#include "ErrorReport.h"
#include "FileIO.h"
#include "TrimBlanks.h"
#include "XdgPaths.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDesktopPrefix = "brixel-";
constexpr std::string_view kDesktopSuffix = ".desktop";
constexpr std::string_view kClassMarker = "X-Brixel-Class=";
constexpr std::string_view kDefaultsGroup = "[Default Applications]";

std::string_view Unquoted(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

// A class name that is also safe as part of a file name.
bool UsableClassName(const std::string& name) {
  if (name.empty() || name.size() > 200) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '.' || c == '_' || c == '-';
  });
}

// One argument of an Exec line, quoted when it holds a reserved character, then with the
// escapes every desktop entry string takes.
std::string ExecArgument(std::string_view argument) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string quoted;
  if (argument.find_first_of(kReserved) == std::string_view::npos) {
    quoted = argument;
  } else {
    quoted = "\"";
    for (const char c : argument) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
      quoted += c;
    }
    quoted += '"';
  }
  std::string escaped;
  for (const char c : quoted) {
    if (c == '%') escaped += '%';
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::vector<std::string> SplitList(std::string_view list, char separator = ';') {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(separator, start), list.size());
    const std::string_view item = TrimBlanks(list.substr(start, end - start));
    if (!item.empty()) items.emplace_back(item);
    start = end + 1;
  }
  return items;
}

bool IsOurs(std::string_view id) { return id.starts_with(kDesktopPrefix); }

struct DesktopEntry {
  std::string fileClass;
  std::string exec;
  std::vector<std::string> mimeTypes;
};

std::string DesktopEntryText(const DesktopEntry& entry) {
  std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Brixel\n"
      "Comment=Edit icons and cursors\n"
      "Exec=" + entry.exec + "\n"
      "MimeType=";
  for (const std::string& type : entry.mimeTypes) text += type + ";";
  text += "\nNoDisplay=true\nTerminal=false\n";
  text += std::string(kClassMarker) + entry.fileClass + "\n";
  return text;
}

std::optional<std::string> ReadText(const fs::path& file) {
  try {
    const Bytes bytes = ReadWholeFile(file.string());
    return std::string(bytes.begin(), bytes.end());
  } catch (const BackEndError&) {
    return std::nullopt;
  }
}

void WriteText(const fs::path& file, const std::string& text) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  if (ec) Raise(ErrorCode::PathNotFound);
  WriteFileReplacing(file.string(), Bytes(text.begin(), text.end()));
}

// A desktop entry this program wrote: named like ours and carrying the class marker.
bool WrittenByUs(const fs::path& file) {
  const std::string name = file.filename().string();
  if (!IsOurs(name) || !name.ends_with(kDesktopSuffix)) return false;
  const std::optional<std::string> text = ReadText(file);
  return text && text->find("\n" + std::string(kClassMarker)) != std::string::npos;
}

}  // namespace

std::string DesktopIdForClass(const std::string& fileClass) {
  return std::string(kDesktopPrefix) + fileClass + std::string(kDesktopSuffix);
}

std::string ProgramOfCommand(std::string_view command) {
  command = TrimBlanks(command);
  if (command.starts_with('"')) {
    const std::size_t close = command.find('"', 1);
    if (close != std::string_view::npos) {
      const std::string_view program = TrimBlanks(command.substr(1, close - 1));
      return program == "%1" ? std::string() : std::string(program);
    }
  }
  for (const std::string_view placeholder : {std::string_view("\"%1\""), std::string_view("%1")}) {
    if (command.ends_with(placeholder)) {
      command.remove_suffix(placeholder.size());
      break;
    }
  }
  return std::string(Unquoted(command));
}

std::optional<std::string> ExecFromCommand(const std::string& command) {
  if (std::any_of(command.begin(), command.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    return std::nullopt;
  }
  const std::string program = ProgramOfCommand(command);
  if (program.empty()) return std::nullopt;
  return ExecArgument(program) + " %f";
}

std::string UpdateMimeApps(const std::string& text,
                           const std::vector<std::pair<std::string, std::string>>& defaults) {
  std::vector<std::string> lines = SplitLines(text);
  auto group = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return TrimBlanks(line) == kDefaultsGroup; });
  for (const auto& [mimeType, id] : defaults) {
    if (group == lines.end()) {
      if (id.empty()) continue;
      if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
      lines.emplace_back(kDefaultsGroup);
      group = lines.end() - 1;
    }
    // The group runs to the next group header; new entries go after its last entry.
    auto end = std::find_if(group + 1, lines.end(),
                            [](const std::string& line) { return TrimBlanks(line).starts_with("["); });
    auto insertAt = end;
    while (insertAt - 1 != group && TrimBlanks(*(insertAt - 1)).empty()) --insertAt;
    auto entry = std::find_if(group + 1, end, [&](const std::string& line) {
      const std::size_t equals = line.find('=');
      return equals != std::string::npos && TrimBlanks(std::string_view(line).substr(0, equals)) == mimeType;
    });
    std::vector<std::string> ids;
    if (entry != end) ids = SplitList(std::string_view(*entry).substr(entry->find('=') + 1));
    std::erase_if(ids, [](const std::string& item) { return IsOurs(item); });
    if (!id.empty()) ids.insert(ids.begin(), id);
    std::string line = mimeType + "=";
    for (const std::string& item : ids) line += item + ";";
    const std::ptrdiff_t groupIndex = group - lines.begin();
    if (entry != end) {
      if (ids.empty()) {
        lines.erase(entry);
      } else {
        *entry = line;
      }
    } else if (!ids.empty()) {
      lines.insert(insertAt, line);
    }
    group = lines.begin() + groupIndex;
  }
  std::string result;
  for (const std::string& line : lines) result += line + "\n";
  return result;
}

namespace {

// The folders of a colon-separated XDG list, absolute ones only, or the fallback when unset.
std::vector<fs::path> FolderList(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  std::vector<fs::path> folders;
  for (const std::string& folder : SplitList(value && *value ? value : fallback, ':')) {
    if (folder.front() == '/') folders.emplace_back(folder);
  }
  return folders;
}

// The lower-cased names of $XDG_CURRENT_DESKTOP, whose own lists come first.
std::vector<std::string> CurrentDesktops() {
  const char* value = std::getenv("XDG_CURRENT_DESKTOP");
  std::vector<std::string> desktops;
  for (std::string& name : SplitList(std::string(value ? value : ""), ':')) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    desktops.push_back(std::move(name));
  }
  return desktops;
}

std::vector<fs::path> ApplicationFolders() {
  std::vector<fs::path> folders{DataHome() / "applications"};
  for (const fs::path& data : FolderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share")) {
    folders.push_back(data / "applications");
  }
  return folders;
}

// Where the desktop entry of an id is installed; empty when it is not.
fs::path InstalledEntry(const std::string& id, const std::vector<fs::path>& applications) {
  if (id.empty() || id.find('/') != std::string::npos) return {};
  std::error_code ec;
  for (const fs::path& folder : applications) {
    if (fs::is_regular_file(folder / id, ec)) return folder / id;
  }
  return {};
}

// The program an Exec line runs: its first argument, with the escapes of ExecArgument undone
// (the string's first, then the quoting's).
std::string ProgramOfExec(std::string_view exec) {
  std::string value;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    if ((exec[i] == '\\' || exec[i] == '%') && i + 1 < exec.size() && exec[i + 1] == exec[i]) ++i;
    value += exec[i];
  }
  const std::string_view line = TrimBlanks(value);
  if (!line.starts_with('"')) return std::string(line.substr(0, line.find(' ')));
  std::string program;
  for (std::size_t i = 1; i < line.size() && line[i] != '"'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) ++i;
    program += line[i];
  }
  return program;
}

// The ids a list's [Default Applications] group gives for the type, in order.
std::vector<std::string> DefaultsIn(const std::string& text, const std::string& mimeType) {
  bool inDefaults = false;
  for (const std::string& line : SplitLines(text)) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.starts_with("[")) {
      inDefaults = trimmed == kDefaultsGroup;
      continue;
    }
    const std::size_t equals = trimmed.find('=');
    if (inDefaults && equals != std::string_view::npos &&
        TrimBlanks(trimmed.substr(0, equals)) == mimeType) {
      return SplitList(trimmed.substr(equals + 1));
    }
  }
  return {};
}

}  // namespace

std::string DefaultApplication(const std::string& mimeType) {
  std::vector<fs::path> folders{ConfigHome()};
  for (const fs::path& config : FolderList("XDG_CONFIG_DIRS", "/etc/xdg")) folders.push_back(config);
  const std::vector<fs::path> applications = ApplicationFolders();
  folders.insert(folders.end(), applications.begin(), applications.end());
  const std::vector<std::string> desktops = CurrentDesktops();
  for (const fs::path& folder : folders) {
    std::vector<fs::path> lists;
    for (const std::string& desktop : desktops) lists.push_back(folder / (desktop + "-mimeapps.list"));
    lists.push_back(folder / "mimeapps.list");
    for (const fs::path& list : lists) {
      const std::optional<std::string> text = ReadText(list);
      if (!text) continue;
      for (const std::string& id : DefaultsIn(*text, mimeType)) {
        if (!InstalledEntry(id, applications).empty()) return id;
      }
    }
  }
  return {};
}

bool IsDefaultApplication(const std::string& mimeType, const fs::path& program,
                          const std::string& installedId) {
  const std::string id = DefaultApplication(mimeType);
  if (id.empty()) return false;
  if (id == installedId) return true;
  // An entry of ours mirrors whatever command the class holds, another program's too.
  if (!IsOurs(id)) return false;
  const std::optional<std::string> text = ReadText(InstalledEntry(id, ApplicationFolders()));
  if (!text) return false;
  for (const std::string& line : SplitLines(*text)) {
    if (!line.starts_with("Exec=")) continue;
    const fs::path runs(ProgramOfExec(std::string_view(line).substr(5)));
    return AsciiUpper(runs.filename().string()) == AsciiUpper(program.filename().string());
  }
  return false;
}

bool PublishAssociations(const RegistryStore& classes) {
  std::map<std::string, DesktopEntry> wanted;  // by desktop id
  std::vector<std::pair<std::string, std::string>> defaults;
  for (const AssociatedType& type : kAssociatedTypes) {
    std::string id;
    const std::string fileClass = StripNulls(RegistryText(classes.Value(type.extension, "")));
    if (UsableClassName(fileClass)) {
      const std::string command =
          StripNulls(RegistryText(classes.Value(fileClass + "\\shell\\open\\command", "")));
      if (const std::optional<std::string> exec = ExecFromCommand(command)) {
        id = DesktopIdForClass(fileClass);
        DesktopEntry& entry = wanted[id];
        entry.fileClass = fileClass;
        entry.exec = *exec;
        entry.mimeTypes.emplace_back(type.mimeType);
      }
    }
    defaults.emplace_back(type.mimeType, id);
  }

  try {
    const fs::path applications = DataHome() / "applications";
    for (const auto& [id, entry] : wanted) {
      const std::string text = DesktopEntryText(entry);
      if (ReadText(applications / id) != text) WriteText(applications / id, text);
    }
    std::error_code ec;
    for (const fs::directory_entry& file : fs::directory_iterator(applications, ec)) {
      const std::string name = file.path().filename().string();
      if (wanted.count(name) == 0 && WrittenByUs(file.path()) && !fs::remove(file.path(), ec)) {
        return false;
      }
    }

    const fs::path list = ConfigHome() / "mimeapps.list";
    std::string old;
    if (fs::exists(list, ec)) {
      const std::optional<std::string> text = ReadText(list);
      if (!text) return false;
      old = *text;
    }
    const std::string updated = UpdateMimeApps(old, defaults);
    if (updated != old) WriteText(list, updated);
    return true;
  } catch (const BackEndError&) {
    return false;
  } catch (const fs::filesystem_error&) {
    return false;
  }
}

}  // namespace brixel
