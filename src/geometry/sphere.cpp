#include "geometry/sphere.hpp"

#include <cmath>

#include "frame/angles.hpp"

namespace korbast::geometry {

namespace {

constexpr float kPi = frame::angle::pi;
constexpr float kPi2 = frame::angle::half_pi;

}  // namespace

void ll2ccn(float* cx, float* cy, float* cz, const float* rlong, const float* rlat, int n) {
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

void mtrans(float* a, const float* b) {
  float t[9];
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) t[3 * i + j] = b[3 * j + i];
  for (int k = 0; k < 9; ++k) a[k] = t[k];
}

// Longitude of (vx, vy) in (-pi, pi]: explicit branches, (0, 0) gives 0 and the negative
// x axis gives +pi whatever the sign of a zero vy.
float longitude_of(float vx, float vy) {
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

// Latitude of a unit z component; rounding may leave it a hair outside [-1, 1].
float latitude_of(float vz) {
  if (vz > 1.0f) vz = 1.0f;
  if (vz < -1.0f) vz = -1.0f;
  return std::asin(vz);
}

}  // namespace korbast::geometry
