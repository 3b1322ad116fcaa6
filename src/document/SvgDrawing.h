#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "AsciiText.h"
#include "FileIO.h"
#include "PictureImport.h"

namespace brixel {

// Scalable drawings (SVG) are not resampled from one rendering: the picture decoders render
// them afresh at each size they are needed.

// Whether the bytes are an SVG drawing: a name ending in .svg or .svgz, or XML text whose
// first element, within its first few kilobytes, is <svg. Needs no library, so that both the
// picture decoders and brixel-cli can ask.
inline bool IsSvgDrawing(ByteView data, const std::string& path) {
  const std::string upper = AsciiUpper(path);
  if (upper.ends_with(".SVG") || upper.ends_with(".SVGZ")) return true;
  std::string_view text(reinterpret_cast<const char*>(data.data()),
                        std::min<std::size_t>(data.size(), 4096));
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || text[start] != '<') return false;
  // Past the XML declaration, comments and the document type, the first element is svg.
  for (std::size_t at = text.find('<', start); at != std::string_view::npos;
       at = text.find('<', at + 1)) {
    const std::string_view rest = text.substr(at + 1);
    if (rest.starts_with("!--")) {
      at = text.find("-->", at);
      if (at == std::string_view::npos) return false;
      continue;
    }
    if (rest.starts_with("?") || rest.starts_with("!")) continue;
    return rest.starts_with("svg") && rest.size() > 3 &&
           (rest[3] == ' ' || rest[3] == '>' || rest[3] == '\t' || rest[3] == '\r' ||
            rest[3] == '\n');
  }
  return false;
}

}  // namespace brixel
