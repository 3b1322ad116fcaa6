#pragma once

#include <cctype>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace brixel {

// The text with its ASCII letters upper-cased (file types, chunk identifiers, extensions).
inline std::string AsciiUpper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The text as a decimal whole number, when it is one and nothing else (arguments, stored
// settings).
inline std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace brixel
