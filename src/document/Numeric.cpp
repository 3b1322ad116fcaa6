#include "Numeric.h"

#include <cmath>

namespace brixel {

long long RoundCoordinate(float value) {
  const double rounded = std::nearbyint(static_cast<double>(value));
  // NaN and values beyond any grid land outside every image instead of overflowing.
  if (!(rounded > -1e9 && rounded < 1e9)) return -1000000000LL;
  return static_cast<long long>(rounded);
}

}  // namespace brixel
