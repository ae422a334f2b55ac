// A colour's red, green and blue as text, the form in which the skinned
// controls' gradient painters take a colour apart.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

namespace ludex::skinned {

// 12640511 (0x00C0E0FF) -> "255,224,192". Division truncates toward zero and
// the remainder keeps the dividend's sign, so a colour with the high bit set
// (a system colour) gives negative parts.
inline std::string ColorToRgbText(std::int32_t colour) {
  const std::int32_t r = colour % 256;
  const std::int32_t g = (colour / 256) % 256;
  const std::int32_t b = (colour / 256) / 256;
  return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
}

struct RgbParts {
  double r, g, b;
};

// The three numbers of a ColorToRgbText text, as the real numbers the
// gradient painters count down from.
inline RgbParts SplitRgbText(const std::string& text) {
  std::istringstream in(text);
  RgbParts parts{};
  double* fields[] = {&parts.r, &parts.g, &parts.b};
  std::string field;
  for (double* f : fields) {
    if (std::getline(in, field, ',')) *f = std::stod(field);
  }
  return parts;
}

}  // namespace ludex::skinned
