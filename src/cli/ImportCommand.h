#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brixel::cli {

// import PICTURE OUT --size N [--depth 1|4|8|24] [--clip]: the picture as a new N x N image of
// the depth (24 unless given), resized with its aspect kept or, with --clip, its top-left
// corner, as the editor's import dialog makes it. Appended to OUT when OUT exists, else OUT
// becomes a new one-image icon or cursor (by its extension). Messages go to err; returns the
// exit status.
int Import(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brixel::cli
