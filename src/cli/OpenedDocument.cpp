#include "OpenedDocument.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "IcnsFile.h"
#include "FileFailure.h"
#include "IcoFile.h"
#include "ProgramResources.h"
#include "TrapErrors.h"
#include "XcursorCommand.h"
#include "XcursorReader.h"
#include "cIco.h"

namespace brixel::cli {

std::optional<OpenedDocument> OpenForCli(const std::string& path, std::ostream& err) {
  const std::string type = DocumentType(path);
  const bool named = type == "ICO" || type == "CUR" || type == "ANI" || IsIcnsPath(path);
  // A file named as an icon is read once and known by its bytes; any other name is looked
  // into only as far as its first bytes.
  Bytes file;
  // Reported under the reading procedure's label, as when the editor opens the file.
  const char* label = type == "ANI" ? "PrjKorvane.cAni.OpenAniCur" : "PrjBackEnd.cIco.OpenIcon";
  if (named && !Trap(label, [&] { file = ReadWholeFile(path); })) {
    err << "brixel-cli: " << path << ": cannot be read\n";
    return std::nullopt;
  }
  // Linux cursors are known by their content: their files have no extension.
  if (named && IsXcursorFile(file)) return OpenXcursorForCli(path, file, err);
  if (!named && IsXcursorFileAt(path)) {
    if (!RunOnFile(path, "read", err, [&] { file = ReadWholeFile(path); })) return std::nullopt;
    return OpenXcursorForCli(path, file, err);
  }
  if (named ? StartsAsExecutable(file) : IsExecutableFile(path)) {
    err << "brixel-cli: " << path << ": a Windows program or library: extract writes its icons and cursors\n";
    return std::nullopt;
  }
  if (!named) {
    err << "brixel-cli: " << path << ": not an icon or cursor file name (.ico, .cur, .ani, .icns)\n";
    return std::nullopt;
  }
  OpenedDocument opened;
  if (type == "ANI") {
    auto cursor = std::make_unique<cAni>();
    if (!cursor->ReadAniData(file)) {
      err << "brixel-cli: " << path << ": cannot be read\n";
      return std::nullopt;
    }
    opened.animated = cursor.get();
    opened.kind = "animated cursor";
    opened.document = std::move(cursor);
  } else {
    auto icon = std::make_unique<cIco>();
    if (!icon->ReadIconData(file)) {
      err << "brixel-cli: " << path << ": cannot be read\n";
      return std::nullopt;
    }
    // The file's own type word says whether it holds icons or cursors.
    opened.kind = IsIcnsData(file) ? kMacIconKind : file.size() >= 4 && file[2] == 2 && file[3] == 0 ? "cursor" : "icon";
    opened.document = std::move(icon);
  }
  opened.document->IconPath(path);
  return opened;
}

void NoteKeptEntries(const std::string& path, const ImageDocument& document, const char* what,
                     std::ostream& err, const std::string& target, bool savedBySaveIcon) {
  // A macOS icon's entry goes only into a macOS icon again, an icon file's only into an icon
  // file or an animated cursor's frame. What does not go, the save says itself when it is
  // cIco::SaveIcon's.
  const bool toMacIcon = IsIcnsPath(target);
  const bool macEntriesFit = target.empty() || toMacIcon;
  for (std::size_t i = 0; i < document.Images().size(); ++i) {
    const IconImage& image = document.Images()[i];
    if (!image.IsKept()) continue;
    const bool macOnly = IsIcnsKeptEntry(image);
    const bool fits = target.empty() || macOnly == toMacIcon;
    if (!fits && savedBySaveIcon) continue;
    const KeptEntry& kept = *image.Kept.entry;
    err << "brixel-cli: " << path << ": image " << i << " (" << kept.width << "x" << kept.height
        << ") cannot be shown (" << kept.reason << "): "
        << (fits ? what : macOnly ? "left out (only a macOS icon holds it)" : "left out (only an icon file holds it)")
        << '\n';
  }
  if (macEntriesFit || savedBySaveIcon) return;
  const auto* icon = dynamic_cast<const cIco*>(&document);
  if (!icon || icon->IcnsOthers().empty()) return;
  err << "brixel-cli: " << path << ": its " << IcnsEntryTypesText(icon->IcnsOthers())
      << (icon->IcnsOthers().size() == 1 ? " entry is left out (only a macOS icon holds it)\n"
                                         : " entries are left out (only a macOS icon holds them)\n");
}

}  // namespace brixel::cli
