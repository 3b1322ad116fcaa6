#include "XcursorCommand.h"

#include <filesystem>
#include <map>
#include <set>

#include "Commands.h"
#include "CursorRoles.h"
#include "FileFailure.h"
#include "IcoFile.h"
#include "XcursorCursor.h"
#include "XcursorReader.h"

namespace brixel::cli {
namespace {

namespace fs = std::filesystem;

XcursorAsCursor ReadCursor(const std::string& path, ByteView file, std::ostream& err) {
  XcursorAsCursor cursor = CursorFromXcursor(ReadXcursorFile(file));
  TellWarnings(path, cursor.Notes, err);
  return cursor;
}

XcursorAsCursor ReadCursor(const std::string& path, std::ostream& err) {
  return ReadCursor(path, ReadWholeFile(path), err);
}

// One file of the theme and the base name it is written under.
struct ThemeCursor {
  fs::path file;
  std::string name;
};

// The theme's names (links followed) and the files they lead to, in name order; a link that
// leads nowhere is told on err and left out.
std::map<std::string, fs::path> ThemeNames(const fs::path& folder, std::ostream& err) {
  std::map<std::string, fs::path> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    std::error_code ec;
    const fs::path file = fs::canonical(entry.path(), ec);
    if (ec || !fs::is_regular_file(file, ec)) {
      err << "brixel-cli: " << entry.path().string() << ": not a file: left out\n";
      continue;
    }
    names.emplace(entry.path().filename().string(), file);
  }
  if (error) err << "brixel-cli: " << folder.string() << ": " << error.message() << '\n';
  return names;
}

// What the theme's cursors are written as: first the roles, each under its Windows name, then
// every file no role took, once.
std::vector<ThemeCursor> ThemeCursors(const fs::path& folder, const std::map<std::string, fs::path>& names) {
  std::error_code error;
  const fs::path home = fs::canonical(folder, error);
  std::vector<ThemeCursor> cursors;
  std::set<fs::path> taken;
  for (const CursorRole& role : CursorRoles()) {
    for (const std::string_view name : role.XcursorNames) {
      const auto found = names.find(std::string(name));
      if (found == names.end()) continue;
      cursors.push_back({found->second, std::string(role.WindowsName)});
      taken.insert(found->second);
      break;
    }
  }
  std::map<fs::path, std::string> rest;  // file, its name
  for (const auto& [name, file] : names) {
    if (taken.count(file)) continue;
    // The file's own name when the folder holds it, else that of its first link.
    const bool own = file.filename() == name && file.parent_path() == home;
    if (own || !rest.count(file)) rest[file] = name;
  }
  for (const auto& [file, name] : rest) cursors.push_back({file, name});
  return cursors;
}

}  // namespace

std::optional<OpenedDocument> OpenXcursorForCli(const std::string& path, ByteView file, std::ostream& err) {
  std::optional<OpenedDocument> opened;
  RunOnFile(path, "read", err, [&] {
    const XcursorAsCursor cursor = ReadCursor(path, file, err);
    OpenedDocument result;
    if (cursor.Animated()) {
      std::unique_ptr<cAni> animated = AnimatedCursorDocument(cursor);
      result.animated = animated.get();
      result.document = std::move(animated);
      result.kind = "animated cursor";
    } else {
      result.document = StillCursorDocument(cursor);
      result.kind = "cursor";
    }
    result.document->IconPath(path);
    result.linuxCursor = true;
    opened = std::move(result);
  });
  return opened;
}

int ConvertFromTheme(const std::vector<std::string>& args, std::ostream& err) {
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a != "--from-theme") rest.push_back(a);
  }
  if (rest.size() != 2) {
    err << "brixel-cli: convert --from-theme takes a theme folder DIR and a folder OUT_DIR\n";
    return kExitUsage;
  }
  std::error_code error;
  fs::path folder = fs::path(rest[0]) / "cursors";
  if (!fs::is_directory(folder, error)) folder = rest[0];
  if (!fs::is_directory(folder, error)) {
    err << "brixel-cli: " << rest[0] << ": not a cursor theme folder\n";
    return kExitFailure;
  }
  const fs::path out = rest[1];
  fs::create_directories(out, error);
  if (error) {
    err << "brixel-cli: " << out.string() << ": " << error.message() << '\n';
    return kExitFailure;
  }

  int failed = 0;
  std::set<std::string> written;
  for (const ThemeCursor& cursor : ThemeCursors(folder, ThemeNames(folder, err))) {
    const std::string source = cursor.file.string();
    std::optional<XcursorAsCursor> read;
    if (!RunOnFile(source, "read", err, [&] { read = ReadCursor(source, err); })) {
      ++failed;
      continue;
    }
    const std::string target = (out / (cursor.name + (read->Animated() ? ".ani" : ".cur"))).string();
    if (!written.insert(cursor.name).second) {
      err << "brixel-cli: " << source << ": not converted: " << target << " holds the cursor of that role\n";
      ++failed;
      continue;
    }
    if (!RunOnFile(target, "written", err, [&] {
          if (read->Animated()) {
            const std::unique_ptr<cAni> animated = AnimatedCursorDocument(*read);
            WriteFileReplacing(target, BuildAniFile(animated->Images(), animated->Info()));
          } else {
            WriteFileReplacing(target, BuildIconFile(StillCursorDocument(*read)->Images(), 2));
          }
        })) {
      ++failed;
    }
  }
  return failed == 0 ? kExitOk : kExitFailure;
}

}  // namespace brixel::cli
