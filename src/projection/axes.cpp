#include "projection/axes.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "geometry/sphere.hpp"

namespace korbast::projection {

namespace {

// The program's single-precision angle constants, fixed at compile time (frame/angles.hpp).
constexpr float kPi = frame::angle::pi;
constexpr float kPi2 = frame::angle::half_pi;
constexpr float kPi4 = frame::angle::quarter_pi;

}  // namespace

void xrot(float* r, float a) {
  const float c = std::cos(a);
  const float s = std::sin(a);
  // rows (1, 0, 0), (0, c, -s), (0, s, c), stored by columns
  r[0] = 1.0f; r[1] = 0.0f; r[2] = 0.0f;
  r[3] = 0.0f; r[4] = c;    r[5] = s;
  r[6] = 0.0f; r[7] = -s;   r[8] = c;
}

void yrot(float* r, float a) {
  const float c = std::cos(a);
  const float s = std::sin(a);
  // rows (c, 0, s), (0, 1, 0), (-s, 0, c)
  r[0] = c;    r[1] = 0.0f; r[2] = -s;
  r[3] = 0.0f; r[4] = 1.0f; r[5] = 0.0f;
  r[6] = s;    r[7] = 0.0f; r[8] = c;
}

void zrot(float* r, float a) {
  const float c = std::cos(a);
  const float s = std::sin(a);
  // rows (c, -s, 0), (s, c, 0), (0, 0, 1)
  r[0] = c;    r[1] = s;    r[2] = 0.0f;
  r[3] = -s;   r[4] = c;    r[5] = 0.0f;
  r[6] = 0.0f; r[7] = 0.0f; r[8] = 1.0f;
}

void m33x33(float* a, const float* b, const float* c) {
  float t[9];
  for (int j = 0; j < 3; ++j) {
    for (int i = 0; i < 3; ++i) {
      float s = 0.0f;
      for (int k = 0; k < 3; ++k) s += b[3 * k + i] * c[3 * j + k];
      t[3 * j + i] = s;
    }
  }
  for (int k = 0; k < 9; ++k) a[k] = t[k];
}

void xy2t(float* t, const float* x, const float* y, int n) {
  for (int i = 0; i < n; ++i) {
    const float xi = x[i];
    const float yi = y[i];
    float ti;
    if (xi > 0.0f) {
      ti = std::atan(yi / xi);
    } else if (xi == 0.0f) {
      ti = (yi >= 0.0f) ? kPi2 : -kPi2;
    } else if (xi < 0.0f) {
      ti = (yi >= 0.0f) ? kPi + std::atan(yi / xi) : -kPi + std::atan(yi / xi);
    } else {
      ti = xi;  // NaN stays NaN
    }
    t[i] = ti;
  }
}

void fsadr2steff(float* azsr, float* plsr, float strike, float dip, float rake, float phi) {
  const float theta = phi / 2.0f - kPi4;
  float z1[9], xm[9], z2[9], ym[9], r[9];
  zrot(z1, -rake);
  xrot(xm, dip);
  zrot(z2, strike);
  yrot(ym, theta);
  m33x33(r, z1, ym);
  m33x33(r, xm, r);
  m33x33(r, z2, r);
  for (int k = 0; k < 3; ++k) {
    xy2t(&azsr[k], &r[3 * k], &r[3 * k + 1], 1);
    plsr[k] = geometry::latitude_of(r[3 * k + 2]);
  }
}

}  // namespace korbast::projection
