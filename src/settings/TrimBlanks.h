#pragma once

#include <string_view>

namespace brixel {

// The text without leading and trailing blanks, tabs and carriage returns.
inline std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace brixel
