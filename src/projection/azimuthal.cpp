#include "projection/azimuthal.hpp"

#include <cmath>

namespace korbast::projection {

void spers2() {
  const float half = llpparam.anglep1 / 2.0f;
  derived.perspective.sin_half = std::sin(half);
  derived.perspective.cos_half = std::cos(half);
}

std::string_view view_angle_problem(float alpha) {
  if (alpha > 0.0f && alpha < 180.0f) return {};
  return "THE ANGLE OF VIEW MUST LIE IN ]0,180[";
}

}  // namespace korbast::projection
