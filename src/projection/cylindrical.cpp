#include "projection/cylindrical.hpp"

#include <algorithm>
#include <cmath>

#include "frame/angles.hpp"
#include "projection/conic_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// The program's single-precision angle constants, fixed at compile time (frame/angles.hpp).
constexpr float k3Pi2 = frame::angle::three_half_pi;
constexpr float kPi = frame::angle::pi;
constexpr float kPi2 = frame::angle::half_pi;
constexpr float kPi2High = frame::angle::half_pi_above;
constexpr float kPi2Low = frame::angle::half_pi_below;

constexpr float kTwoOverPi = 0.636619772f;  // 2/pi
constexpr float kOffMap = 1e20f;            // no finite image

// Latitudes within 1e-5 of a pole are held there: the Mercator ordinate of the pole itself
// is infinite (and, with the single-precision pi, the tangent's argument passes pi/2).
inline float off_the_poles(float phi) {
  if (phi > kPi2Low) return kPi2Low;
  if (phi < -kPi2Low) return -kPi2Low;
  return phi;
}

// Van der Grinten I away from the central meridian, the equator and the poles: the point where
// the meridian's circle (centre (-v, 0), radius r) meets the parallel's (centre (0, g + t),
// radius g), Snyder 1987 eqs. 29-1 to 29-6 as a construction. Done in double precision: near
// the central meridian r is large and the intersection angle comes from 1 - c3^2 with c3 near
// 1, a difference no single-precision arrangement of the construction keeps (up to 5e-2 off).
void vandg_general(float& xx, float& yy, float af, float lf) {
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

}  // namespace

const float rmolle[92] = {
    0.0f,  0.8f,  1.6f,  2.4f,  3.1f,  3.9f,  4.7f,  5.5f,  6.3f,  7.1f,  7.9f,  8.7f,
    9.4f,  10.2f, 11.0f, 11.8f, 12.6f, 13.4f, 14.2f, 15.0f, 15.8f, 16.6f, 17.4f, 18.2f,
    19.0f, 19.8f, 20.6f, 21.4f, 22.2f, 23.0f, 23.8f, 24.6f, 25.5f, 26.3f, 27.1f, 27.9f,
    28.7f, 29.6f, 30.4f, 31.2f, 32.1f, 32.9f, 33.8f, 34.6f, 35.5f, 36.3f, 37.2f, 38.0f,
    38.9f, 39.8f, 40.6f, 41.5f, 42.4f, 43.3f, 44.2f, 45.1f, 46.0f, 46.9f, 47.8f, 48.7f,
    49.7f, 50.6f, 51.6f, 52.5f, 53.5f, 54.5f, 55.5f, 56.5f, 57.5f, 58.5f, 59.5f, 60.6f,
    61.6f, 62.7f, 63.8f, 65.0f, 66.1f, 67.3f, 68.5f, 69.7f, 71.0f, 72.3f, 73.6f, 75.0f,
    76.5f, 78.1f, 79.7f, 81.5f, 83.5f, 85.9f, 90.0f, 90.0f};

void mersphe2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = off_the_poles(rlat[i]);
    // Snyder 1987 eq. 7-2, tan(pi/4 + phi/2) taken from the pole distance near a pole.
    const float yy = std::log(detail::tan_half_colatitude(-phi));
    x[i] = lam - x0;
    y[i] = yy - y0;
  }
}

void lcnesphe2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    x[i] = lam - x0;
    y[i] = std::sin(phi) - y0;
  }
}

void sanflamsph2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    x[i] = lam * std::cos(phi) - x0;
    y[i] = phi - y0;
  }
}

void mollw2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float d = frame::deg(rlat[i]);
    const float ad = std::fabs(d);
    const int k = (ad < 90.0f) ? static_cast<int>(ad) : 90;  // NaN and beyond the pole: row 90
    const float f = ad - static_cast<float>(k);
    float thd = std::fabs(rmolle[k] + f * (rmolle[k + 1] - rmolle[k]));
    if (d < 0.0f) thd = -thd;
    const float th = frame::rad(thd);
    x[i] = kTwoOverPi * (lam - lam0) * std::cos(th) - x0;
    y[i] = std::sin(th) - y0;
  }
}

void grinte2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  const float snap = frame::rad(0.5f);
  for (int i = 0; i < n; ++i) {
    const float phi = rlat[i];
    float dlam = rlong[i] - lam0;
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
        vandg_general(xx, yy, a, l);
      } else {
        yy = 1.0f;
        xx = 0.0f;
      }
    }
    if (dlam > 0.0f) xx = -xx;
    if (phi < 0.0f) yy = -yy;
    x[i] = -xx - x0;
    y[i] = yy - y0;
  }
}

void tm2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float lam0 = llpparam.longp1;
  for (int i = 0; i < n; ++i) {
    const float phi = rlat[i];
    const float dlam = rlong[i] - lam0;
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
    x[i] = xx - x0;
    y[i] = yy - y0;
  }
}

}  // namespace korbast::projection
