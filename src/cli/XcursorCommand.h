#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "OpenedDocument.h"

namespace brixel::cli {

// An Xcursor file opened as a cursor of its sizes, or as an animated cursor when it has
// several steps (XcursorAsCursor); what a Windows cursor cannot keep of it is said on err.
// Nothing, with the reason on err, when it cannot be read.
std::optional<OpenedDocument> OpenXcursorForCli(const std::string& path, ByteView file, std::ostream& err);

// convert --from-theme DIR OUT_DIR: every cursor of the theme's cursors/ folder (DIR itself
// when it has none) as OUT_DIR/NAME.ani when it moves, else OUT_DIR/NAME.cur. A cursor that
// a Windows role takes (CursorRoles: the first of the role's names the theme has) is named
// after the role; every other file once, under its own name (a link's only when the file it
// leads to is not in the folder). Failures are told and the rest goes on.
int ConvertFromTheme(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brixel::cli
