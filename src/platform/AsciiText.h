#pragma once

#include <cctype>
#include <string>

namespace brixel {

// The text with its ASCII letters upper-cased (file types, chunk identifiers, extensions).
inline std::string AsciiUpper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace brixel
