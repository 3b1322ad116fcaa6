#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brixel::cli {

// thumbnail IN OUT.png SIZE: IN (an icon, cursor or animated cursor, known by its content) as
// a file manager shows it, written as an RGBA PNG of at most SIZE x SIZE (see MakeThumbnail
// for the image chosen and its scaling). OUT is replaced only once the whole PNG is made, so
// bad input leaves no file behind. Messages go to err; returns the exit status.
int Thumbnail(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brixel::cli
