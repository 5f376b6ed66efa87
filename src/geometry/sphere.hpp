// Direction cosines on the unit sphere.
//
// Geographic frame of a direction vector: x toward longitude 0 on the equator, y toward
// longitude 90 degrees east, z toward the north pole. Angles are radians. Matrices are 3x3,
// stored column by column (element (i, j) at index (j - 1) * 3 + (i - 1)).
//
// Every routine forms the results of a point before storing any of them, so an output array
// may be the same storage as an input array. The point-wise routines are defined here, inline,
// because the oblique projections call them once per point (out of line, they cost the
// oblique codes about a sixth of their speed).
#pragma once

#include <cmath>
#include <numbers>

namespace korbast::geometry {

// cx(i) = cos lat(i) cos long(i), cy(i) = cos lat(i) sin long(i), cz(i) = sin lat(i),
// for i = 1..n; nothing for n <= 0.
inline void ll2ccn(float* cx, float* cy, float* cz, const float* rlong, const float* rlat,
                   int n) {
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    const float cphi = std::cos(phi);
    const float x = cphi * std::cos(lam);
    const float y = cphi * std::sin(lam);
    const float z = std::sin(phi);
    cx[i] = x;
    cy[i] = y;
    cz[i] = z;
  }
}

// a = transpose of b (3x3); a may be b.
void mtrans(float* a, const float* b);

// Longitude in (-pi, pi] of the horizontal components (vx, vy): explicit branches, (0, 0)
// gives 0 and the negative x axis gives +pi whatever the sign of a zero vy.
inline float longitude_of(float vx, float vy) {
  // pi rounded to single precision, and half of it: the same bits as the program's angle
  // constants (0x40490FDB and 0x3FC90FDB), which geometry, below the frame, does not reach.
  constexpr float kPi = std::numbers::pi_v<float>;
  constexpr float kPi2 = kPi / 2.0f;
  if (vx > 0.0f) return std::atan(vy / vx);
  if (vx < 0.0f) {
    if (vy >= 0.0f) return std::atan(vy / vx) + kPi;
    return std::atan(vy / vx) - kPi;
  }
  if (vx == 0.0f) {
    if (vy > 0.0f) return kPi2;
    if (vy < 0.0f) return -kPi2;
    return 0.0f;
  }
  return vx;  // NaN stays NaN
}

// Arcsine of a z component, held to [-1, 1] against rounding.
inline float latitude_of(float vz) {
  if (vz > 1.0f) vz = 1.0f;
  if (vz < -1.0f) vz = -1.0f;
  return std::asin(vz);
}

}  // namespace korbast::geometry
