#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brixel::cli {

// convert IN OUT.ani: an animated cursor written again with its frames, steps and texts, or
// the images of an icon or cursor as the frames of a new one at the default rate.
int ConvertToAni(const std::string& in, const std::string& out, std::ostream& err);

// convert --ani OUT.ani [--rate N] FRAME...: an animated cursor whose frames are the images
// of the icons or cursors given (one frame per file), each shown for N jiffies.
int BuildAni(const std::vector<std::string>& args, std::ostream& err);

// convert IN OUT.xcursor: a cursor, icon or animated cursor as an Xcursor file for Linux
// desktops (BuildXcursorFile).
int ConvertToXcursor(const std::string& in, const std::string& out, std::ostream& err);

// convert --theme DIR NAME FILE...: a cursor theme folder: DIR/index.theme naming the theme
// NAME, and DIR/cursors/<base name of FILE> as the Xcursor file of each FILE.
int BuildTheme(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brixel::cli
