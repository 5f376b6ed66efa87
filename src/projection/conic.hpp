// Spherical conic and polyconic projections (earth radius 1), as models of one point
// (projection/forward.hpp) and their routines, with the set-ups of their derived constants (`derived`), run when
// the projection is chosen, and the check of the parameters they cannot work with.
#pragma once

#include <cmath>
#include <string_view>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/forward.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

// Set-up of code 3: `derived.lambert`, the cone constant n and F of the spherical Lambert
// conic of the standard parallels `latp1`, `latp2`.
void slcc2();
// Set-up of code 19: `derived.albers` of the standard parallel `latp1`.
void salbesph2();
// Set-up of code 20: `derived.bonne` of the standard parallel `latp1`.
void sbonnesph2();

// What makes two standard parallels (degrees) unusable for a Lambert conic (3, 4): one at a
// pole, or both opposite about the equator (the cone would be a plane). Empty when usable.
std::string_view lambert_parallels_problem(float lat1, float lat2);

// 3 Lambert conformal conic (lcc2).
struct LambertConic {
  float lam0 = llpparam.longp1;
  LambertConstants c = derived.lambert;
  XY forward(float lam, float phi_in) const {
    bool apex;
    const float phi = detail::lambert_latitude(phi_in, c.n, apex);
    // Snyder 1987 eq. 15-1 with t = tan(pi/4 - phi/2) taken from the pole distance near a pole.
    const float tn = apex ? 0.0f : std::pow(detail::tan_half_colatitude(phi), c.n);
    return detail::lambert_image(c, tn, lam, lam0);
  }
};
// Code 3: x(i), y(i) = the Lambert conformal conic image of rlong(i), rlat(i), minus the origin
// offsets; x may be rlong and y may be rlat.
void lcc2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 19 Albers equal-area with one standard parallel (albesph2).
struct Albers {
  AlbersConstants c = derived.albers;
  XY forward(float lam, float phi) const {
    // A standard parallel on the equator: the cone opens into the cylindrical equal-area.
    if (c.n == 0.0f) return {lam, std::sin(phi)};
    const float rr = c.c - 2.0f * c.n * std::sin(phi);
    const float rho = std::sqrt(rr > 0.0f ? rr : 0.0f);
    const float theta = c.n * lam;
    return {rho * std::sin(theta) / c.n, (c.cos_phi1 - rho * std::cos(theta)) / c.n};
  }
};
// Code 19: x(i), y(i) = the Albers equal-area image of rlong(i), rlat(i), minus the origin offsets;
// x may be rlong and y may be rlat.
void albesph2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 20 Bonne (bonnesph2).
struct Bonne {
  BonneConstants c = derived.bonne;
  bool equator = !std::isfinite(c.cot_phi1);
  XY forward(float lam, float phi) const {
    // A standard parallel on the equator: Bonne becomes the sinusoidal.
    if (equator) return {lam * std::cos(phi), phi};
    const float r = c.rho1 - phi;
    // The apex of the cone (standard parallel at the pole, point at the pole); its x is -0, as
    // the offset -x0 alone has always been.
    if (r == 0.0f) return {-0.0f, c.cot_phi1};
    const float e = lam * std::cos(phi) / r;
    return {r * std::sin(e), c.cot_phi1 - r * std::cos(e)};
  }
};
// Code 20: x(i), y(i) = the Bonne image of rlong(i), rlat(i), minus the origin offsets; x may be
// rlong and y may be rlat.
void bonnesph2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 21 Werner (wernesphe2).
struct Werner {
  XY forward(float lam, float phi) const {
    const float r = frame::angle::half_pi - phi;
    if (r == 0.0f) return {0.0f, 0.0f};
    const float e = lam * std::cos(phi) / r;
    return {r * std::sin(e), -r * std::cos(e)};
  }
};
// Code 21: x(i), y(i) = the Werner image of rlong(i), rlat(i), minus the origin offsets; x may be
// rlong and y may be rlat.
void wernesphe2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 13 polyconic (polyco2).
struct Polyconic {
  float lam0 = llpparam.longp1;
  XY forward(float lam, float phi) const {
    // Latitudes below this (5.7 degrees) divide 1 - cos E by a tangent under 0.1.
    constexpr float kNearEquator = 0.1f;
    const float dlam = lam - lam0;
    if (phi == 0.0f) return {dlam, 0.0f};
    const float e = dlam * std::sin(phi);
    const float tphi = std::tan(phi);
    const float xx = std::sin(e) / tphi;
    // Snyder 1987 eq. 18-2; near the equator 1 - cos E, divided by the small tan phi, is
    // written 2 sin^2(E/2), since it would cancel in single precision.
    float omc;
    if (std::fabs(phi) < kNearEquator) {
      const float sh = std::sin(e / 2.0f);
      omc = 2.0f * sh * sh;
    } else {
      omc = 1.0f - std::cos(e);
    }
    return {xx, phi + omc / tphi};
  }
};
// Code 13: x(i), y(i) = the polyconic image of rlong(i), rlat(i), minus the origin offsets; x may
// be rlong and y may be rlat.
void polyco2(float* x, float* y, const float* rlong, const float* rlat, int n);

}  // namespace korbast::projection
