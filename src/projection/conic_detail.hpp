// The pole handling the Lambert conformal conics share, the half-colatitude tangent they and
// the Mercator projections take near a pole, and the cone image both Lambert conics make.
#pragma once

#include <cmath>

#include "frame/angles.hpp"
#include "projection/forward.hpp"
#include "projection/state.hpp"

namespace korbast::projection::detail {

// Beyond this latitude (0.07 rad from a pole) pi/2 - phi formed in single precision has lost
// more than four digits; closer to the equator the plain formulas are kept as they are.
constexpr float kNearPole = 1.5f;

// pi/2 - |phi| without cancellation: pi/2 is the single-precision pi/2 (exactly representable
// difference by Sterbenz' lemma for |phi| >= pi/4) plus the part of pi/2 it leaves out.
inline float pole_distance(float phi) {
  const float pi2 = frame::angle::half_pi;
  constexpr float kPi2Low = -4.37113883e-8f;  // pi/2 - fl(pi/2)
  return (pi2 - std::fabs(phi)) + kPi2Low;
}

// tan(pi/4 - phi/2), the t of Snyder 1987 eq. 15-9 on the sphere (tan(pi/4 + phi/2) is this of
// -phi). Near a pole it is taken from the pole distance d, tan(d/2) toward the north pole and
// 1/tan(d/2) toward the south, since pi/4 - phi/2 in single precision would cancel there.
inline float tan_half_colatitude(float phi) {
  if (phi > kNearPole) return std::tan(pole_distance(phi) / 2.0f);
  if (phi < -kNearPole) return 1.0f / std::tan(pole_distance(phi) / 2.0f);
  return std::tan(frame::angle::quarter_pi - phi / 2.0f);
}

// Latitude for a Lambert conic of cone constant n, and whether the point is the apex.
// Only a latitude at or past the pole the cone points to is the apex itself (t^n = 0): short
// of it the formula holds, since t is formed from the pole distance. Toward the other pole,
// whose image is infinitely far, the latitude is held 1e-5 short of it.
inline float lambert_latitude(float phi, float n, bool& apex) {
  const float pi2 = frame::angle::half_pi;        // the float just above pi/2
  const float pi2_low = frame::angle::half_pi_below;
  apex = false;
  if (n >= 0.0f) {
    if (phi >= pi2) apex = true;
    else if (phi < -pi2_low) phi = -pi2_low;
  } else {
    if (phi <= -pi2) apex = true;
    else if (phi > pi2_low) phi = pi2_low;
  }
  return phi;
}

// The image on the Lambert cone of constants c of a point whose t^n is tn, at longitude lam
// from the central meridian lam0: x = f t^n sin(theta), y = f (1 - t^n cos(theta)), with
// theta = n (lam - lam0). The sphere and the ellipsoid differ only in their t.
inline XY lambert_image(const LambertConstants& c, float tn, float lam, float lam0) {
  const float theta = c.n * (lam - lam0);
  return {c.f * tn * std::sin(theta), c.f * (1.0f - tn * std::cos(theta))};
}

}  // namespace korbast::projection::detail
