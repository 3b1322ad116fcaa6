#include "IcnsRunLength.h"

#include <algorithm>

namespace brixel {
namespace {

constexpr std::size_t kLongestRun = 130;
constexpr std::size_t kLongestCopy = 128;
constexpr std::size_t kShortestRun = 3;

std::size_t RunAt(const std::vector<std::uint8_t>& plane, std::size_t at) {
  std::size_t run = 1;
  while (at + run < plane.size() && run < kLongestRun && plane[at + run] == plane[at]) ++run;
  return run;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeRunLengthPlane(ByteView data, std::size_t& position,
                                                              std::size_t count) {
  std::vector<std::uint8_t> plane;
  plane.reserve(count);
  while (plane.size() < count) {
    if (position >= data.size()) return std::nullopt;
    const std::uint8_t code = data[position++];
    const std::size_t left = count - plane.size();
    if (code & 0x80) {
      const std::size_t run = std::size_t{code} - 125;
      if (run > left || position >= data.size()) return std::nullopt;
      plane.insert(plane.end(), run, data[position++]);
    } else {
      const std::size_t copy = std::size_t{code} + 1;
      if (copy > left || data.size() - position < copy) return std::nullopt;
      plane.insert(plane.end(), data.begin() + static_cast<std::ptrdiff_t>(position),
                   data.begin() + static_cast<std::ptrdiff_t>(position + copy));
      position += copy;
    }
  }
  return plane;
}

void AppendRunLengthPlane(const std::vector<std::uint8_t>& plane, Bytes& out) {
  std::size_t at = 0;
  while (at < plane.size()) {
    const std::size_t run = RunAt(plane, at);
    if (run >= kShortestRun) {
      out.push_back(static_cast<std::uint8_t>(run + 125));
      out.push_back(plane[at]);
      at += run;
      continue;
    }
    // Bytes copied as they are up to the next run worth coding.
    std::size_t end = at;
    while (end < plane.size() && end - at < kLongestCopy && RunAt(plane, end) < kShortestRun) ++end;
    end = std::max(end, at + 1);
    out.push_back(static_cast<std::uint8_t>(end - at - 1));
    out.insert(out.end(), plane.begin() + static_cast<std::ptrdiff_t>(at),
               plane.begin() + static_cast<std::ptrdiff_t>(end));
    at = end;
  }
}

}  // namespace brixel
