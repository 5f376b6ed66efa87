#include "projection/conic.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// The program's single-precision angle constants, fixed at compile time (frame/angles.hpp).
constexpr float kPi2 = frame::angle::half_pi;

// Polyconic latitudes below this (5.7 degrees) divide 1 - cos E by a tangent under 0.1.
constexpr float kNearEquator = 0.1f;

}  // namespace

void lcc2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  const float cn = llpparam.pconst1;
  const float f = llpparam.pconst2;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    bool apex;
    const float phi = detail::lambert_latitude(rlat[i], cn, apex);
    // Snyder 1987 eq. 15-1 with t = tan(pi/4 - phi/2) taken from the pole distance near a pole.
    const float tn = apex ? 0.0f : std::pow(detail::tan_half_colatitude(phi), cn);
    const float theta = cn * (lam - lam0);
    x[i] = f * tn * std::sin(theta) - x0;
    y[i] = f * (1.0f - tn * std::cos(theta)) - y0;
  }
}

void albesph2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float cn = llpparam.pconst1;
  const float cphi1 = llpparam.pconst2;
  const float c = llpparam.pconst3;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    if (cn == 0.0f) {
      // A standard parallel on the equator: the cone opens into the cylindrical equal-area.
      x[i] = lam - x0;
      y[i] = std::sin(phi) - y0;
      continue;
    }
    const float rr = c - 2.0f * cn * std::sin(phi);
    const float rho = std::sqrt(rr > 0.0f ? rr : 0.0f);
    const float theta = cn * lam;
    x[i] = rho * std::sin(theta) / cn - x0;
    y[i] = (cphi1 - rho * std::cos(theta)) / cn - y0;
  }
}

void bonnesph2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float cot1 = llpparam.pconst1;
  const float r1 = llpparam.pconst2;
  const bool equator = !std::isfinite(cot1);
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    if (equator) {
      // A standard parallel on the equator: Bonne becomes the sinusoidal.
      x[i] = lam * std::cos(phi) - x0;
      y[i] = phi - y0;
      continue;
    }
    const float r = r1 - phi;
    if (r == 0.0f) {
      // The apex of the cone (standard parallel at the pole, point at the pole).
      x[i] = -x0;
      y[i] = cot1 - y0;
      continue;
    }
    const float e = lam * std::cos(phi) / r;
    x[i] = r * std::sin(e) - x0;
    y[i] = cot1 - r * std::cos(e) - y0;
  }
}

void wernesphe2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    const float r = kPi2 - phi;
    float xx = 0.0f;
    float yy = 0.0f;
    if (r != 0.0f) {
      const float e = lam * std::cos(phi) / r;
      xx = r * std::sin(e);
      yy = -r * std::cos(e);
    }
    x[i] = xx - x0;
    y[i] = yy - y0;
  }
}

void polyco2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  for (int i = 0; i < n; ++i) {
    const float dlam = rlong[i] - lam0;
    const float phi = rlat[i];
    float xx;
    float yy;
    if (phi == 0.0f) {
      xx = dlam;
      yy = 0.0f;
    } else {
      const float e = dlam * std::sin(phi);
      const float tphi = std::tan(phi);
      xx = std::sin(e) / tphi;
      // Snyder 1987 eq. 18-2; near the equator 1 - cos E, divided by the small tan phi, is
      // written 2 sin^2(E/2), since it would cancel in single precision.
      float omc;
      if (std::fabs(phi) < kNearEquator) {
        const float sh = std::sin(e / 2.0f);
        omc = 2.0f * sh * sh;
      } else {
        omc = 1.0f - std::cos(e);
      }
      yy = phi + omc / tphi;
    }
    x[i] = xx - x0;
    y[i] = yy - y0;
  }
}

}  // namespace korbast::projection
