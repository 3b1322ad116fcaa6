#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace brixel {

// The pixels of a straight line from (x0, y0) to (x1, y1), both ends included, that lie in
// 0 .. width - 1 and 0 .. height - 1, from the first end to the second: one pixel per column
// (or per row, when the line is steeper than 45 degrees), the other coordinate rounded to the
// nearest, halves up. The line tool and the joined strokes of the point tools set these.
// Only the part inside the area is walked, so far-off ends cost nothing.
template <class Visit>
void ForEachLinePixel(int x0, int y0, int x1, int y1, int width, int height, Visit&& visit) {
  const std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
  const std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
  const bool alongX = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t major = alongX ? dx : dy;
  const std::int64_t minor = alongX ? dy : dx;
  const std::int64_t start = alongX ? x0 : y0;
  const std::int64_t minorStart = alongX ? y0 : x0;
  const std::int64_t limit = alongX ? width : height;
  const std::int64_t minorLimit = alongX ? height : width;
  const std::int64_t steps = std::llabs(major);
  const std::int64_t direction = major < 0 ? -1 : 1;
  // Steps i whose major coordinate start + direction * i lies in 0 .. limit - 1.
  std::int64_t first = direction > 0 ? -start : start - (limit - 1);
  std::int64_t last = direction > 0 ? limit - 1 - start : start;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, steps);
  for (std::int64_t i = first; i <= last; ++i) {
    // Products of two 32-bit spans need the 64 bits of a long double's mantissa.
    const std::int64_t offset =
        steps == 0 ? 0
                   : static_cast<std::int64_t>(std::floor(static_cast<long double>(i) * minor / steps + 0.5L));
    const std::int64_t a = start + direction * i;
    const std::int64_t b = minorStart + offset;
    if (b < 0 || b >= minorLimit) continue;
    if (alongX) visit(static_cast<int>(a), static_cast<int>(b));
    else visit(static_cast<int>(b), static_cast<int>(a));
  }
}

}  // namespace brixel
