#include "projection/ellipsoidal.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// Standard parallels closer than this (5.7 degrees) take the cone constant from differences
// formed without cancellation, as in the spherical set-up (projection/conic.cpp).
constexpr float kCloseParallels = 0.1f;

}  // namespace

void lat2disel(float* dist, const float* rlat, int n) {
  for (int i = 0; i < n; ++i) dist[i] = detail::meridian_distance(ellipsoid, rlat[i]);
}

void slcce2() {
  const float phi[2] = {llpparam.latp1, llpparam.latp2};
  const float e = ellipsoid.ecc;
  const float e2 = ellipsoid.ecc2;
  float t[2];
  float m[2];
  for (int i = 0; i < 2; ++i) {
    const float s = std::sin(phi[i]);
    const float es = e * s;
    t[i] = detail::tan_half_colatitude(phi[i]) / std::pow((1.0f - es) / (1.0f + es), e / 2.0f);
    m[i] = std::cos(phi[i]) / std::sqrt(1.0f - e2 * s * s);
  }
  const float dphi = phi[1] - phi[0];
  float cn;
  if (dphi == 0.0f) {
    cn = std::sin(phi[0]);
  } else if (std::fabs(dphi) < kCloseParallels) {
    // Snyder 1987 eq. 15-8 with log(m1/m2) and log(t1/t2) written, as in slcc2, through
    // differences formed as products: log1p(x) - log1p(w)/2 over atanh(y) - e atanh(e z).
    const float sh = std::sin(dphi / 2.0f);
    const float pm = (phi[0] + phi[1]) / 2.0f;
    const float s1 = std::sin(phi[0]);
    const float s2 = std::sin(phi[1]);
    const float c1 = std::cos(phi[0]);
    const float c2 = std::cos(phi[1]);
    const float ds = 2.0f * std::cos(pm) * sh;  // s2 - s1
    const float x = 2.0f * std::sin(pm) * sh / c2;
    const float w = e2 * std::sin(2.0f * pm) * std::sin(dphi) / (1.0f - e2 * s2 * s2);
    const float y = ds / (2.0f * sh * sh + c1 * c2);
    const float z = ds / (1.0f - e2 * s1 * s2);
    cn = (std::log1p(x) - 0.5f * std::log1p(w)) / (std::atanh(y) - e * std::atanh(e * z));
  } else {
    cn = (std::log(m[0]) - std::log(m[1])) / (std::log(t[0]) - std::log(t[1]));
  }
  derived.lambert.n = cn;
  derived.lambert.f = m[0] / (cn * std::pow(t[0], cn));
}

void simwpoly2() {
  constexpr float kPi2Low = frame::angle::half_pi_below;
  const float lam0 = llpparam.longp1;
  const float lam1 = llpparam.longp2;
  const float e2 = ellipsoid.ecc2;
  ForimwpolyBlock& c = forimwpoly;
  // The sheet's southern parallel first, whichever order the two latitudes were given in:
  // the construction keeps the intersections on the northern side of the first one.
  const float p1 = llpparam.latp1;
  const float p2 = llpparam.latp2;
  c.lat00[0] = (p2 < p1) ? p2 : p1;
  c.lat00[1] = (p2 < p1) ? p1 : p2;
  float xs[2];
  float ys[2];
  for (int i = 0; i < 2; ++i) {
    const float phi = c.lat00[i];
    if (phi == 0.0f) {
      xs[i] = lam1 - lam0;
      ys[i] = 0.0f;
    } else if (phi > kPi2Low) {
      c.r00[i] = 0.0f;
      xs[i] = 0.0f;
      ys[i] = 0.0f;
    } else {
      const float s = std::sin(phi);
      c.r00[i] = 1.0f / (std::tan(phi) * std::sqrt(1.0f - e2 * s * s));
      const float a = (lam1 - lam0) * s;
      xs[i] = c.r00[i] * std::sin(a);
      ys[i] = c.r00[i] * (1.0f - std::cos(a));
    }
  }
  float mm[2];
  lat2disel(mm, c.lat00, 2);
  const float dm = mm[1] - mm[0];
  const float dx = xs[1] - xs[0];
  float d = dm * dm - dx * dx;
  if (d < 0.0f) d = 0.0f;
  const float yc = ys[0] + std::sqrt(d);
  c.yshift = yc - ys[1];
  c.ylin0 = (mm[1] * ys[0] - mm[0] * yc) / dm;
  c.ylin1 = (yc - ys[0]) / dm;
  c.xlin0 = (mm[1] * xs[0] - mm[0] * xs[1]) / dm;
  c.xlin1 = dx / dm;
}

std::string_view sheet_parallels_problem(float lat1, float lat2) {
  if (lat1 != lat2) return {};
  return "THE SHEET NEEDS TWO DIFFERENT PARALLELS";
}

void tme2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<TransverseMercatorEllipsoid>(x, y, rlong, rlat, n);
}

void lcce2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<LambertConicEllipsoid>(x, y, rlong, rlat, n);
}

void merel2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<MercatorEllipsoid>(x, y, rlong, rlat, n);
}

void imwpoly2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<ImwPolyconic>(x, y, rlong, rlat, n);
}

}  // namespace korbast::projection
