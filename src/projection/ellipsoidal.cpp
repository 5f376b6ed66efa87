#include "projection/ellipsoidal.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// The program's single-precision angle constants, fixed at compile time (frame/angles.hpp).
constexpr float kPi2Low = frame::angle::half_pi_below;

constexpr float kOffMap = 1e20f;  // no finite image

// IMW parallels of a radius N cot phi above this (within about 5.7 degrees of the equator) are
// intersected in the arrangement that does not subtract nearly equal large lengths.
constexpr float kWideParallel = 10.0f;

inline float meridian_distance(float phi) {
  const EllipsoidBlock& e = ellipsoid;
  return e.cmer0 * phi + e.cmer2 * std::sin(2.0f * phi) + e.cmer4 * std::sin(4.0f * phi) +
         e.cmer6 * std::sin(6.0f * phi);
}

}  // namespace

void lat2disel(float* dist, const float* rlat, int n) {
  for (int i = 0; i < n; ++i) dist[i] = meridian_distance(rlat[i]);
}

void tme2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  const float e2 = ellipsoid.ecc2;
  const float ep2 = ellipsoid.eccp2;
  for (int i = 0; i < n; ++i) {
    const float dlam = rlong[i] - lam0;
    const float phi = rlat[i];
    const float sphi = std::sin(phi);
    const float cphi = std::cos(phi);
    const float tphi = std::tan(phi);
    const float t = tphi * tphi;
    const float nn = 1.0f / std::sqrt(1.0f - e2 * sphi * sphi);
    const float c = ep2 * cphi * cphi;
    const float a = dlam * cphi;
    const float m = meridian_distance(phi);
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
    x[i] = xx - x0;
    y[i] = yy - y0;
  }
}

void lcce2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  const float cn = llpparam.pconst1;
  const float f = llpparam.pconst2;
  const float e = ellipsoid.ecc;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    bool apex;
    const float phi = detail::lambert_latitude(rlat[i], cn, apex);
    float tn = 0.0f;
    if (!apex) {
      const float es = e * std::sin(phi);
      // Snyder 1987 eq. 15-9, its tangent taken from the pole distance near a pole.
      const float t =
          detail::tan_half_colatitude(phi) * std::pow((1.0f + es) / (1.0f - es), e / 2.0f);
      tn = std::pow(t, cn);
    }
    const float theta = cn * (lam - lam0);
    x[i] = f * tn * std::sin(theta) - x0;
    y[i] = f * (1.0f - tn * std::cos(theta)) - y0;
  }
}

void merel2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float e = ellipsoid.ecc;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    float phi = rlat[i];
    // Within 1e-5 of a pole the latitude is held there: the pole itself has no finite image.
    if (phi > kPi2Low) phi = kPi2Low;
    if (phi < -kPi2Low) phi = -kPi2Low;
    const float es = e * std::sin(phi);
    // Snyder 1987 eq. 7-7, tan(pi/4 + phi/2) taken from the pole distance near a pole.
    const float yy = std::log(detail::tan_half_colatitude(-phi) *
                              std::pow((1.0f - es) / (1.0f + es), e / 2.0f));
    x[i] = lam - x0;
    y[i] = yy - y0;
  }
}

void imwpoly2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  const float e2 = ellipsoid.ecc2;
  const ForimwpolyBlock& c = forimwpoly;
  const float slat[2] = {std::sin(c.lat00[0]), std::sin(c.lat00[1])};
  for (int i = 0; i < n; ++i) {
    const float dlam = rlong[i] - lam0;
    const float phi = rlat[i];
    float xx;
    float yy;
    if (phi == 0.0f) {
      xx = dlam;
      yy = 0.0f;
    } else {
      // The parallel of phi: the circle of radius r centred at (0, cc + r).
      const float m = meridian_distance(phi);
      const float xa = c.xlin0 + c.xlin1 * m;
      const float ya = c.ylin0 + c.ylin1 * m;
      float r = 0.0f;
      if (!(phi > kPi2Low)) {
        const float sphi = std::sin(phi);
        r = 1.0f / (std::tan(phi) * std::sqrt(1.0f - e2 * sphi * sphi));
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
      if (den == 0.0f) {
        // The meridian line runs level with the parallels: no intersection to keep.
        x[i] = kOffMap;
        y[i] = kOffMap;
        continue;
      }
      const float d = (xc[1] - xc[0]) / den;
      const float d2 = 1.0f + d * d;
      if (wide) {
        // The same intersection about b0, the line's x level with the centre's foot cc:
        // b = b0 + d r and r^2 d2 - b^2 = r^2 - b0 (b0 + 2 d r), so that
        // b - s d sqrt(q) = b0 + s d b0 (b0 + 2 d r) / (|r| + sqrt(q)).
        const float b0 = xc[0] + d * (cc - yc[0]);
        if (!std::isfinite(r2)) {
          // A parallel this close to the equator is a straight line.
          xx = b0;
          yy = cc;
        } else {
          const float k = b0 * (b0 + 2.0f * d * r);
          const float q = r2 - k;
          xx = (q >= 0.0f) ? (b0 + s * d * k / (ar + std::sqrt(q))) / d2 : (b0 + d * r) / d2;
          const float p = r2 - xx * xx;
          yy = (p >= 0.0f) ? cc + s * xx * xx / (ar + std::sqrt(p)) : cc + r;
        }
      } else {
        const float b = xc[0] + d * (cc + r - yc[0]);
        const float q = r2 * d2 - b * b;
        xx = (q >= 0.0f) ? (b - s * d * std::sqrt(q)) / d2 : b / d2;
        const float p = r2 - xx * xx;
        yy = (p >= 0.0f) ? cc + r - s * std::sqrt(p) : cc + r;
      }
    }
    x[i] = xx - x0;
    y[i] = yy - y0;
  }
}

}  // namespace korbast::projection
