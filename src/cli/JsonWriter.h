#pragma once

#include <string>
#include <string_view>

namespace brixel::cli {

// A JSON string literal for text, quotes included. Bytes that are not valid UTF-8 are written
// as U+FFFD so that the output stays valid JSON whatever a file name holds.
std::string JsonString(std::string_view text);

}  // namespace brixel::cli
