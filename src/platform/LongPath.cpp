#include "LongPath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace brixel {
namespace {

namespace fs = std::filesystem;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The name under which folder lists piece, or empty when nothing matches.
std::string ListedName(const fs::path& folder, const std::string& piece) {
  std::error_code ec;
  if (fs::exists(folder / piece, ec)) return piece;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (SameIgnoringCase(name, piece)) return name;
  }
  return "";
}

}  // namespace

std::string MakeLongPath(const std::string& commandLine, const std::string& currentFolder) {
  if (commandLine.empty()) return "";
  fs::path given(commandLine);
  if (given.is_relative()) given = fs::path(currentFolder) / given;
  given = given.lexically_normal();

  fs::path result = given.root_path();
  for (const fs::path& piece : given.relative_path()) {
    if (piece.empty()) continue;
    const std::string name = ListedName(result, piece.string());
    // A component nothing matches is kept as given: the open then fails naming the path the
    // user typed.
    result /= name.empty() ? piece : fs::path(name);
  }
  return result.string();
}

}  // namespace brixel
