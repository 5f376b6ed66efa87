#include "projection/conic.hpp"

#include <cmath>

#include "projection/conic_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// Standard parallels closer than this (5.7 degrees) take the cone constant from the differences
// of their cosines and conformal latitudes, formed without cancellation; the quotient of
// logarithms would lose more than a digit. Equal parallels give the tangent cone, the limit.
constexpr float kCloseParallels = 0.1f;

}  // namespace

void slcc2() {
  const float phi1 = llpparam.latp1;
  const float phi2 = llpparam.latp2;
  const float t1 = detail::tan_half_colatitude(-phi1);  // tan(pi/4 + phi1/2)
  const float dphi = phi2 - phi1;
  float cn;
  if (dphi == 0.0f) {
    cn = std::sin(phi1);
  } else if (std::fabs(dphi) < kCloseParallels) {
    // Snyder 1987 eq. 15-3 as log(1 + (c1 - c2)/c2) over the difference of the isometric
    // latitudes, atanh((s2 - s1)/(1 - s1 s2)), both differences written as products.
    const float sh = std::sin(dphi / 2.0f);
    const float pm = (phi1 + phi2) / 2.0f;
    const float c1 = std::cos(phi1);
    const float c2 = std::cos(phi2);
    const float x = 2.0f * std::sin(pm) * sh / c2;
    const float y = 2.0f * std::cos(pm) * sh / (2.0f * sh * sh + c1 * c2);
    cn = std::log1p(x) / std::atanh(y);
  } else {
    const float t2 = detail::tan_half_colatitude(-phi2);
    cn = std::log(std::cos(phi1) / std::cos(phi2)) / std::log(t2 / t1);
  }
  derived.lambert.n = cn;
  derived.lambert.f = std::cos(phi1) * std::pow(t1, cn) / cn;
}

void salbesph2() {
  const float s = std::sin(llpparam.latp1);
  derived.albers.n = s;
  derived.albers.cos_phi1 = std::cos(llpparam.latp1);
  derived.albers.c = 1.0f + s * s;
}

void sbonnesph2() {
  const float phi1 = llpparam.latp1;
  derived.bonne.cot_phi1 = std::cos(phi1) / std::sin(phi1);
  derived.bonne.rho1 = derived.bonne.cot_phi1 + phi1;
}

std::string_view lambert_parallels_problem(float lat1, float lat2) {
  if (std::fabs(lat1) >= 90.0f || std::fabs(lat2) >= 90.0f) return "NO STANDARD PARALLEL AT A POLE";
  if (lat1 == -lat2) return "OPPOSITE STANDARD PARALLELS GIVE NO CONE";
  return {};
}

void lcc2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<LambertConic>(x, y, rlong, rlat, n);
}

void albesph2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Albers>(x, y, rlong, rlat, n);
}

void bonnesph2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Bonne>(x, y, rlong, rlat, n);
}

void wernesphe2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Werner>(x, y, rlong, rlat, n);
}

void polyco2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Polyconic>(x, y, rlong, rlat, n);
}

}  // namespace korbast::projection
