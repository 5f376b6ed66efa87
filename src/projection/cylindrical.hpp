// Spherical cylindrical and pseudo-cylindrical projections (earth radius 1), as models of one
// point (projection/forward.hpp) and their routines. Longitudes are never folded: lambda and lambda + 2 pi give
// different points.
#pragma once

#include <algorithm>
#include <cmath>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/forward.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

// Auxiliary angle of the Mollweide projection in degrees for latitude k degrees, k = 0..91.
extern const float rmolle[92];

namespace detail {

// Latitudes within 1e-5 of a pole are held there: the Mercator ordinate of the pole itself
// is infinite (and, with the single-precision pi, the tangent's argument passes pi/2).
inline float off_the_poles(float phi) {
  constexpr float kPi2Low = frame::angle::half_pi_below;
  if (phi > kPi2Low) return kPi2Low;
  if (phi < -kPi2Low) return -kPi2Low;
  return phi;
}

// Van der Grinten I away from the central meridian, the equator and the poles: the point where
// the meridian's circle (centre (-v, 0), radius r) meets the parallel's (centre (0, g + t),
// radius g), equations 29-1 to 29-6 of Snyder 1987 as a construction. Done in double precision: near
// the central meridian r is large and the intersection angle comes from 1 - c3^2 with c3 near
// 1, a difference no single-precision arrangement of the construction keeps (up to 5e-2 off).
inline void vandg_general(float& xx, float& yy, float af, float lf) {
  const double pi = 3.14159265358979323846;
  const double a = af;
  const double l = lf;
  const double ratio = (2.0 * a) / pi;
  const double costh = std::sqrt(std::max(1.0 - ratio * ratio, 0.0));
  const double q = a / (pi - a);
  const double w2 = std::max(1.0 - q * q, 0.0);
  const double t = ratio / (1.0 + costh);
  const double h = q - t;
  const double g = 0.5 * (h * h + w2) / h;
  const double u = g + t;
  const double r = 0.5 * (pi / l + l / pi);
  const double v = r - l / pi;
  const double d = std::sqrt(v * v + u * u);
  // d^2 + r^2 - g^2 with d^2 = v^2 + (g + t)^2 written out: near the equator g is large and
  // d^2 - g^2 would lose every digit.
  const double c3 = (v * v + 2.0 * g * t + t * t + r * r) / (2.0 * r * d);
  const double cu = u / d;
  const double sv = v / d;
  const double s3 = std::sqrt(std::fabs(1.0 - c3 * c3));
  yy = static_cast<float>(r * (cu * c3 - sv * s3));
  xx = static_cast<float>(r * (sv * c3 + cu * s3) - v);
}

}  // namespace detail

// 15 Mercator (mersphe2).
struct Mercator {
  XY forward(float lam, float phi) const {
    // Snyder 1987 eq. 7-2, tan(pi/4 + phi/2) taken from the pole distance near a pole.
    return {lam, std::log(detail::tan_half_colatitude(-detail::off_the_poles(phi)))};
  }
};
// Code 15: x(i), y(i) = the Mercator image of rlong(i), rlat(i), minus the origin offsets; x may be
// rlong and y may be rlat.
void mersphe2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 23 Lambert cylindrical equal-area (lcnesphe2).
struct CylindricalEqualArea {
  XY forward(float lam, float phi) const { return {lam, std::sin(phi)}; }
};
// Code 23: x(i), y(i) = the Lambert cylindrical equal-area image of rlong(i), rlat(i), minus the
// origin offsets; x may be rlong and y may be rlat.
void lcnesphe2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 22 Sanson-Flamsteed, the sinusoidal (sanflamsph2).
struct Sinusoidal {
  XY forward(float lam, float phi) const { return {lam * std::cos(phi), phi}; }
};
// Code 22: x(i), y(i) = the Sanson-Flamsteed image of rlong(i), rlat(i), minus the origin offsets;
// x may be rlong and y may be rlat.
void sanflamsph2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 24 Mollweide, its auxiliary angle interpolated in `rmolle` (mollw2).
struct Mollweide {
  float lam0 = llpparam.longp1;
  XY forward(float lam, float phi) const {
    constexpr float kTwoOverPi = 0.636619772f;  // 2/pi
    const float d = frame::deg(phi);
    const float ad = std::fabs(d);
    const int k = (ad < 90.0f) ? static_cast<int>(ad) : 90;  // NaN and beyond the pole: row 90
    const float f = ad - static_cast<float>(k);
    float thd = std::fabs(rmolle[k] + f * (rmolle[k + 1] - rmolle[k]));
    if (d < 0.0f) thd = -thd;
    const float th = frame::rad(thd);
    return {kTwoOverPi * (lam - lam0) * std::cos(th), std::sin(th)};
  }
};
// Code 24: x(i), y(i) = the Mollweide image of rlong(i), rlat(i), minus the origin offsets; x may
// be rlong and y may be rlat.
void mollw2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 25 Van der Grinten I (grinte2); longitudes within half a degree of the central meridian are
// taken on it.
struct VanDerGrinten {
  float lam0 = llpparam.longp1;
  float snap = frame::rad(0.5f);
  XY forward(float lam, float phi) const {
    constexpr float kPi = frame::angle::pi;
    constexpr float kPi2 = frame::angle::half_pi;
    float dlam = lam - lam0;
    if (std::fabs(dlam) < snap) dlam = 0.0f;
    float xx = 0.0f;
    float yy = 0.0f;
    const float a = std::fabs(phi);
    const float l = std::fabs(dlam);
    if (!(phi == 0.0f && dlam == 0.0f)) {
      if (phi == 0.0f) {
        xx = l / kPi;
      } else if (dlam == 0.0f) {
        const float ratio = (2.0f * a) / kPi;
        const float rad1 = 1.0f - ratio * ratio;
        const float costh = std::sqrt(rad1 > 0.0f ? rad1 : 0.0f);
        yy = ratio / (1.0f + costh);
      } else if (std::fabs(a - kPi2) > 1e-5f) {
        detail::vandg_general(xx, yy, a, l);
      } else {
        yy = 1.0f;
        xx = 0.0f;
      }
    }
    if (dlam > 0.0f) xx = -xx;
    if (phi < 0.0f) yy = -yy;
    return {-xx, yy};
  }
};
// Code 25: x(i), y(i) = the Van der Grinten image of rlong(i), rlat(i), minus the origin offsets; x
// may be rlong and y may be rlat.
void grinte2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 1 transverse Mercator on the sphere (tm2).
struct TransverseMercator {
  float lam0 = llpparam.longp1;
  XY forward(float lam, float phi) const {
    constexpr float k3Pi2 = frame::angle::three_half_pi;
    constexpr float kPi = frame::angle::pi;
    constexpr float kPi2 = frame::angle::half_pi;
    constexpr float kPi2High = frame::angle::half_pi_above;
    constexpr float kPi2Low = frame::angle::half_pi_below;
    const float dlam = lam - lam0;
    const float b = std::cos(phi) * std::sin(dlam);
    float xx;
    if (b == 1.0f) {
      xx = kOffMap;
    } else if (b == -1.0f) {
      xx = -kOffMap;
    } else {
      xx = 0.5f * std::log((1.0f + b) / (1.0f - b));
    }
    float yy;
    const float adl = std::fabs(dlam);
    if (adl < kPi2Low) {
      if (std::fabs(phi) < kPi2Low) {
        yy = std::atan(std::tan(phi) / std::cos(dlam));
      } else {
        yy = (phi > 0.0f) ? kPi2 : -kPi2;
      }
    } else if (adl > kPi2High) {
      if (std::fabs(phi) < kPi2Low) {
        yy = std::atan(std::tan(phi) / std::cos(dlam)) + kPi;
      } else {
        yy = (phi > 0.0f) ? kPi2 : k3Pi2;
      }
    } else {
      yy = (phi == 0.0f) ? 0.0f : (phi > 0.0f ? kPi2 : -kPi2);
    }
    return {xx, yy};
  }
};
// Code 1: x(i), y(i) = the transverse Mercator image of rlong(i), rlat(i), minus the origin
// offsets; x may be rlong and y may be rlat.
void tm2(float* x, float* y, const float* rlong, const float* rlat, int n);

}  // namespace korbast::projection
