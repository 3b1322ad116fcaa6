#pragma once

#include <cstdint>

#include "ErrorReport.h"

namespace brixel {

// A value for one of the 16-bit fields; one that does not fit is the overflow error.
inline std::int16_t ToInt16(long long value) {
  if (value < INT16_MIN || value > INT16_MAX) Raise(ErrorCode::Overflow);
  return static_cast<std::int16_t>(value);
}

// Rounds an X or Y to the nearest integer, halves to even. Values too large for a pixel
// position come back as a position far outside every image.
long long RoundCoordinate(float value);

}  // namespace brixel
