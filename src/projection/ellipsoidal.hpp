// Projections of the current reference ellipsoid (equatorial radius 1), as models of one point
// (projection/forward.hpp) and their routines, the meridian distance they share, and the set-ups of their derived
// constants with the check of the parameters they cannot work with.
#pragma once

#include <cmath>
#include <optional>
#include <string_view>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/forward.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

// dist(i) = meridian distance from the equator to rlat(i), in units of the equatorial
// radius, signed; dist may be rlat.
void lat2disel(float* dist, const float* rlat, int n);

// Set-up of code 4: `derived.lambert`, the cone constant n and F of the Lambert conic of the
// standard parallels `latp1`, `latp2` on the current ellipsoid.
void slcce2();
// Set-up of code 14: the sheet constants `forimwpoly` of the IMW modified polyconic between
// the parallels `latp1`, `latp2`, true to scale on the meridian `longp2`.
void simwpoly2();

// What makes the two bounding parallels (degrees) of an IMW sheet unusable: they must differ.
// Empty when usable.
std::string_view sheet_parallels_problem(float lat1, float lat2);

namespace detail {

// Meridian distance from the equator to phi on the ellipsoid e, in units of its equatorial
// radius: the series of Snyder 1987 eq. 3-21 with the coefficients `cmer0..6`.
inline float meridian_distance(const EllipsoidBlock& e, float phi) {
  return e.cmer0 * phi + e.cmer2 * std::sin(2.0f * phi) + e.cmer4 * std::sin(4.0f * phi) +
         e.cmer6 * std::sin(6.0f * phi);
}

}  // namespace detail

// 2 transverse Mercator, series (tme2).
struct TransverseMercatorEllipsoid {
  float lam0 = llpparam.longp1;
  EllipsoidBlock e = ellipsoid;
  XY forward(float lam, float phi) const {
    const float e2 = e.ecc2;
    const float ep2 = e.eccp2;
    const float dlam = lam - lam0;
    const float sphi = std::sin(phi);
    const float cphi = std::cos(phi);
    const float tphi = std::tan(phi);
    const float t = tphi * tphi;
    const float nn = 1.0f / std::sqrt(1.0f - e2 * sphi * sphi);
    const float c = ep2 * cphi * cphi;
    const float a = dlam * cphi;
    const float m = detail::meridian_distance(e, phi);
    const float a2 = a * a;
    const float a3 = a2 * a;
    const float a4 = a2 * a2;
    const float a5 = a4 * a;
    const float a6 = a4 * a2;
    const float xx = nn * (a + (1.0f - t + c) * a3 / 6.0f +
                           (5.0f - 18.0f * t + t * t + 72.0f * c - 58.0f * ep2) * a5 / 120.0f);
    const float yy =
        m + nn * tphi *
                (a2 / 2.0f + (5.0f - t + 9.0f * c + 4.0f * c * c) * a4 / 24.0f +
                 (61.0f - 58.0f * t + t * t + 600.0f * c - 330.0f * ep2) * a6 / 720.0f);
    return {xx, yy};
  }
};
// Code 2: x(i), y(i) = the transverse Mercator image of rlong(i), rlat(i), minus the origin
// offsets; x may be rlong and y may be rlat.
void tme2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 4 Lambert conformal conic (lcce2).
struct LambertConicEllipsoid {
  float lam0 = llpparam.longp1;
  LambertConstants c = derived.lambert;
  float e = ellipsoid.ecc;
  XY forward(float lam, float phi_in) const {
    bool apex;
    const float phi = detail::lambert_latitude(phi_in, c.n, apex);
    float tn = 0.0f;
    if (!apex) {
      const float es = e * std::sin(phi);
      // Snyder 1987 eq. 15-9, its tangent taken from the pole distance near a pole.
      const float t =
          detail::tan_half_colatitude(phi) * std::pow((1.0f + es) / (1.0f - es), e / 2.0f);
      tn = std::pow(t, c.n);
    }
    return detail::lambert_image(c, tn, lam, lam0);
  }
};
// Code 4: x(i), y(i) = the Lambert conformal conic image of rlong(i), rlat(i), minus the origin
// offsets; x may be rlong and y may be rlat.
void lcce2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 16 Mercator (merel2).
struct MercatorEllipsoid {
  float e = ellipsoid.ecc;
  XY forward(float lam, float phi) const {
    constexpr float kPi2Low = frame::angle::half_pi_below;
    // Within 1e-5 of a pole the latitude is held there: the pole itself has no finite image.
    if (phi > kPi2Low) phi = kPi2Low;
    if (phi < -kPi2Low) phi = -kPi2Low;
    const float es = e * std::sin(phi);
    // Snyder 1987 eq. 7-7, tan(pi/4 + phi/2) taken from the pole distance near a pole.
    return {lam, std::log(detail::tan_half_colatitude(-phi) *
                          std::pow((1.0f - es) / (1.0f + es), e / 2.0f))};
  }
};
// Code 16: x(i), y(i) = the Mercator image of rlong(i), rlat(i), minus the origin offsets; x may be
// rlong and y may be rlat.
void merel2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 14 modified polyconic of the International Map of the World (imwpoly2): each parallel is
// the circle of the polyconic, each meridian the straight line through its points on the two
// bounding parallels of the sheet.
struct ImwPolyconic {
  float lam0 = llpparam.longp1;
  EllipsoidBlock e = ellipsoid;
  ForimwpolyBlock c = forimwpoly;
  float slat[2] = {std::sin(c.lat00[0]), std::sin(c.lat00[1])};

  std::optional<XY> forward(float lam, float phi) const;

 private:
  // The parallel of phi: the circle of radius r centred at (0, cc + r); a parallel within
  // about 5.7 degrees of the equator is `wide`.
  struct Parallel {
    float r;
    float cc;
    bool wide;
  };
  Parallel parallel(float phi) const;
};
// Code 14: x(i), y(i) = the IMW modified polyconic image of rlong(i), rlat(i), minus the origin
// offsets; x may be rlong and y may be rlat.
void imwpoly2(float* x, float* y, const float* rlong, const float* rlat, int n);

inline ImwPolyconic::Parallel ImwPolyconic::parallel(float phi) const {
  // Parallels of a radius N cot phi above this are intersected in the arrangement that does
  // not subtract nearly equal large lengths.
  constexpr float kWideParallel = 10.0f;
  constexpr float kPi2Low = frame::angle::half_pi_below;
  const float m = detail::meridian_distance(e, phi);
  const float xa = c.xlin0 + c.xlin1 * m;
  const float ya = c.ylin0 + c.ylin1 * m;
  float r = 0.0f;
  if (!(phi > kPi2Low)) {
    const float sphi = std::sin(phi);
    r = 1.0f / (std::tan(phi) * std::sqrt(1.0f - e.ecc2 * sphi * sphi));
  }
  const float s = (phi < 0.0f) ? -1.0f : 1.0f;
  const float r2 = r * r;
  const float xa2 = xa * xa;
  // Near the equator r = N cot phi is large and every r - sqrt(r^2 - p^2) below cancels in
  // single precision: there it is written p^2 / (|r| + sqrt(r^2 - p^2)) instead.
  const float ar = std::fabs(r);
  const bool wide = ar > kWideParallel;
  float cc;
  if (xa2 > r2) cc = ya - r;
  else if (wide) cc = ya - s * xa2 / (ar + std::sqrt(r2 - xa2));
  else cc = ya - r + s * std::sqrt(r2 - xa2);
  return {r, cc, wide};
}

inline std::optional<XY> ImwPolyconic::forward(float lam, float phi) const {
  const float dlam = lam - lam0;
  if (phi == 0.0f) return XY{dlam, 0.0f};
  const auto [r, cc, wide] = parallel(phi);
  const float s = (phi < 0.0f) ? -1.0f : 1.0f;
  const float r2 = r * r;
  const float ar = std::fabs(r);
  // The meridian of lambda: the straight line through its points on the two bounding
  // parallels, (xc1, yc1) and (xc2, yc2 + yshift).
  float xc[2];
  float yc[2];
  for (int k = 0; k < 2; ++k) {
    const float ang = dlam * slat[k];
    xc[k] = (c.lat00[k] == 0.0f) ? dlam : c.r00[k] * std::sin(ang);
    yc[k] = c.r00[k] * (1.0f - std::cos(ang));
  }
  const float den = c.yshift + yc[1] - yc[0];
  // The meridian line runs level with the parallels: no intersection to keep.
  if (den == 0.0f) return std::nullopt;
  const float d = (xc[1] - xc[0]) / den;
  const float d2 = 1.0f + d * d;
  if (wide) {
    // The same intersection about b0, the line's x level with the centre's foot cc:
    // b = b0 + d r and r^2 d2 - b^2 = r^2 - b0 (b0 + 2 d r), so that
    // b - s d sqrt(q) = b0 + s d b0 (b0 + 2 d r) / (|r| + sqrt(q)).
    const float b0 = xc[0] + d * (cc - yc[0]);
    // A parallel this close to the equator is a straight line.
    if (!std::isfinite(r2)) return XY{b0, cc};
    const float k = b0 * (b0 + 2.0f * d * r);
    const float q = r2 - k;
    const float xx = (q >= 0.0f) ? (b0 + s * d * k / (ar + std::sqrt(q))) / d2 : (b0 + d * r) / d2;
    const float p = r2 - xx * xx;
    return XY{xx, (p >= 0.0f) ? cc + s * xx * xx / (ar + std::sqrt(p)) : cc + r};
  }
  const float b = xc[0] + d * (cc + r - yc[0]);
  const float q = r2 * d2 - b * b;
  const float xx = (q >= 0.0f) ? (b - s * d * std::sqrt(q)) / d2 : b / d2;
  const float p = r2 - xx * xx;
  return XY{xx, (p >= 0.0f) ? cc + r - s * std::sqrt(p) : cc + r};
}

}  // namespace korbast::projection
