// The pole handling the Lambert conformal conics share.
#pragma once

#include "projection/angles.hpp"

namespace korbast::projection::detail {

// Latitude for a Lambert conic of cone constant n, and whether the point is the apex.
// Within 1e-5 of the pole the cone points to, the point is the apex itself (t^n = 0); toward
// the other pole, whose image is infinitely far, the latitude is held 1e-5 short of it.
inline float lambert_latitude(float phi, float n, bool& apex) {
  using angles::kPi2Low;
  apex = false;
  if (n >= 0.0f) {
    if (phi >= kPi2Low) apex = true;
    else if (phi < -kPi2Low) phi = -kPi2Low;
  } else {
    if (phi <= -kPi2Low) apex = true;
    else if (phi > kPi2Low) phi = kPi2Low;
  }
  return phi;
}

}  // namespace korbast::projection::detail
