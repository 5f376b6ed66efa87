#include "projection/constants.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "projection/ellipsoidal.hpp"
#include "projection/projection.hpp"

namespace korbast::projection {

namespace {

// Angle constants from the program's blocks, filled at start-up before any projection runs.
const float& kPi2Low = frame::angleradi.v[2];  // pi/2 - 1e-5
const float& kPi4 = frame::anglerad.v[0];      // pi/4

// Two standard parallels closer than this make the cone tangent at the first one: the secant
// formula would be 0/0.
constexpr float kSameParallel = 1e-5f;

}  // namespace

void slcc2() {
  const float phi1 = llpparam.latp1;
  const float phi2 = llpparam.latp2;
  const float t1 = std::tan(kPi4 + phi1 / 2.0f);
  float cn;
  if (std::fabs(phi1 - phi2) < kSameParallel) {
    cn = std::sin(phi1);
  } else {
    cn = std::log(std::cos(phi1) / std::cos(phi2)) / std::log(std::tan(kPi4 + phi2 / 2.0f) / t1);
  }
  llpparam.pconst1 = cn;
  llpparam.pconst2 = std::cos(phi1) * std::pow(t1, cn) / cn;
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
    t[i] = std::tan(kPi4 - phi[i] / 2.0f) / std::pow((1.0f - es) / (1.0f + es), e / 2.0f);
    m[i] = std::cos(phi[i]) / std::sqrt(1.0f - e2 * s * s);
  }
  float cn;
  if (std::fabs(phi[0] - phi[1]) < kSameParallel) {
    cn = std::sin(phi[0]);
  } else {
    cn = (std::log(m[0]) - std::log(m[1])) / (std::log(t[0]) - std::log(t[1]));
  }
  llpparam.pconst1 = cn;
  llpparam.pconst2 = m[0] / (cn * std::pow(t[0], cn));
}

void salbesph2() {
  const float s = std::sin(llpparam.latp1);
  llpparam.pconst1 = s;
  llpparam.pconst2 = std::cos(llpparam.latp1);
  llpparam.pconst3 = 1.0f + s * s;
}

void sbonnesph2() {
  const float phi1 = llpparam.latp1;
  llpparam.pconst1 = std::cos(phi1) / std::sin(phi1);
  llpparam.pconst2 = llpparam.pconst1 + phi1;
}

void spers2() {
  const float half = llpparam.anglep1 / 2.0f;
  llpparam.pconst1 = std::sin(half);
  llpparam.pconst2 = std::cos(half);
}

void simwpoly2() {
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

}  // namespace korbast::projection
