#include "JsonWriter.h"

#include <cstdio>

namespace brixel::cli {
namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned int minimum = 0;
  unsigned int code = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) { length = 2; minimum = 0x80; code = lead & 0x1F; }
  else if ((lead & 0xF0) == 0xE0) { length = 3; minimum = 0x800; code = lead & 0x0F; }
  else if ((lead & 0xF8) == 0xF0) { length = 4; minimum = 0x10000; code = lead & 0x07; }
  else return 0;
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
      ++i;
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
      ++i;
    } else if (const std::size_t n = Utf8Length(text, i); n > 0) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  out += '"';
  return out;
}

}  // namespace brixel::cli
