// The pole handling the Lambert conformal conics share.
#pragma once

#include "frame/angles.hpp"

namespace korbast::projection::detail {

// Latitude for a Lambert conic of cone constant n, and whether the point is the apex.
// Within 1e-5 of the pole the cone points to, the point is the apex itself (t^n = 0); toward
// the other pole, whose image is infinitely far, the latitude is held 1e-5 short of it.
inline float lambert_latitude(float phi, float n, bool& apex) {
  const float pi2_low = frame::angleradi.v[2];  // pi/2 - 1e-5
  apex = false;
  if (n >= 0.0f) {
    if (phi >= pi2_low) apex = true;
    else if (phi < -pi2_low) phi = -pi2_low;
  } else {
    if (phi <= -pi2_low) apex = true;
    else if (phi > pi2_low) phi = pi2_low;
  }
  return phi;
}

}  // namespace korbast::projection::detail
