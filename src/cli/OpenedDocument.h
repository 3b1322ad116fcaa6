#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "ImageDocument.h"
#include "cAni.h"

namespace brixel::cli {

// A document opened for a command, and the animated cursor's own values when it is one.
struct OpenedDocument {
  std::unique_ptr<ImageDocument> document;
  cAni* animated = nullptr;  // document, when it is an animated cursor
  std::string kind;          // "icon", "cursor", "animated cursor" or kMacIconKind
  bool linuxCursor = false;  // read from a Linux cursor (Xcursor) file
};

inline constexpr const char* kMacIconKind = "macOS icon";

// Opens an icon, cursor, animated cursor or macOS icon (.icns, by its content) as the editor's dispatch would, reading the file
// once; nothing (with a message on err) when it cannot be opened.
std::optional<OpenedDocument> OpenForCli(const std::string& path, std::ostream& err);

// Says on err, a line for each, which images of the document read from path are entries kept
// as the file holds them because they cannot be shown, and what becomes of them (what, as in
// "written back unchanged"). With a target file that is not a macOS icon, a macOS icon's kept
// entries are said to be left out, which is what becomes of them there, and so are its entries
// that hold no image (information list, version, ...); with a macOS icon as the target, an icon
// file's kept entries are. Not when the target is written by cIco::SaveIcon (savedBySaveIcon),
// which says so itself.
void NoteKeptEntries(const std::string& path, const ImageDocument& document, const char* what,
                     std::ostream& err, const std::string& target = {}, bool savedBySaveIcon = false);

}  // namespace brixel::cli
