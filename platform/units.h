// Twips, pixels and HIMETRIC, and the one rounding rule used everywhere.
#pragma once

#include <cstdint>

namespace ludex {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kHimetricPerInch = 2540;
inline constexpr int kTwipsPerInch = 1440;

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Out-of-range values saturate instead of being undefined.
std::int32_t RoundHalfEven(double value);

// Twips to whole pixels by RoundHalfEven.
std::int32_t TwipsToPixels(double twips);
inline double PixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

// HIMETRIC (hundredths of a millimetre) to twips, rounded.
std::int32_t HimetricToTwips(std::int32_t himetric);
std::int32_t TwipsToHimetric(std::int32_t twips);

}  // namespace ludex
