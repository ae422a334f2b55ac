#include "platform/units.h"

#include <cmath>
#include <limits>

namespace ludex {

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  // nearbyint follows the current rounding mode, which is to-nearest-even by default.
  return static_cast<std::int32_t>(std::nearbyint(value));
}

std::int32_t TwipsToPixels(double twips) { return RoundHalfEven(twips / kTwipsPerPixel); }

std::int32_t HimetricToTwips(std::int32_t himetric) {
  return RoundHalfEven(static_cast<double>(himetric) * kTwipsPerInch / kHimetricPerInch);
}

std::int32_t TwipsToHimetric(std::int32_t twips) {
  return RoundHalfEven(static_cast<double>(twips) * kHimetricPerInch / kTwipsPerInch);
}

}  // namespace ludex
