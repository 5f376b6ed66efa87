#include "projection/azimuthal.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// The program's single-precision angle constants, fixed at compile time (frame/angles.hpp).
constexpr float kPi2 = frame::angle::half_pi;

constexpr float kOffMap = 1e20f;  // no finite image

// Angle from the centre, held at the clamp angle.
inline float clamped_theta(float phi, float amax) {
  float theta = kPi2 - phi;
  if (theta > amax) theta = amax;
  return theta;
}

// Direction cosines of one point in the oblique frame of `a2b`, as ll2ccn then cca2ccb.
inline void oblique_vector(float* vb, float lam, float phi) {
  const float cphi = std::cos(phi);
  const float v[3] = {cphi * std::cos(lam), cphi * std::sin(lam), std::sin(phi)};
  const float* ab = a2b.ab;
  float w[3] = {0.0f, 0.0f, 0.0f};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) w[i] += ab[3 * j + i] * v[j];
  vb[0] = w[0];
  vb[1] = w[1];
  vb[2] = w[2];
}

// The perspective image of a direction vector; a zero denominator (the centre seen with an
// angle of view of 180 degrees) has no finite image.
inline void perspective_point(float& x, float& y, const float* v, float pc2, float pc1, float x0,
                              float y0) {
  const float den = 1.0f - pc1 * v[2];
  if (den == 0.0f) {
    x = kOffMap;
    y = kOffMap;
    return;
  }
  const float k = pc2 / den;
  x = k * v[1] - x0;
  y = -k * v[0] - y0;
}

// The polar azimuthal projections that differ only in their radius: the point at azimuth
// lambda and radius rho(phi) from the centre, longitude 0 pointing down.
template <class Radius>
void polar_azimuthal(float* x, float* y, const float* rlong, const float* rlat, int n,
                     Radius rho_of) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float rho = rho_of(rlat[i]);
    x[i] = rho * std::sin(lam) - x0;
    y[i] = -rho * std::cos(lam) - y0;
  }
}

}  // namespace

void lazea2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float amax = llpparam.anglep1;
  polar_azimuthal(x, y, rlong, rlat, n,
                  [amax](float phi) { return std::sin(clamped_theta(phi, amax) / 2.0f); });
}

void inverspsll(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float amax = llpparam.anglep1;
  polar_azimuthal(x, y, rlong, rlat, n,
                  [amax](float phi) { return std::tan(clamped_theta(phi, amax) / 2.0f); });
}

void orthogpsll(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float amax = llpparam.anglep1;
  polar_azimuthal(x, y, rlong, rlat, n,
                  [amax](float phi) { return std::sin(clamped_theta(phi, amax)); });
}

void gnomopsll(float* x, float* y, const float* rlong, const float* rlat, int n) {
  // The equator of the frame and the far hemisphere have no image: send them off the map at
  // their own azimuth instead of mirroring them through the centre.
  polar_azimuthal(x, y, rlong, rlat, n, [](float phi) {
    const float s = std::sin(phi);
    return (s > 0.0f) ? std::cos(phi) / s : kOffMap;
  });
}

void perspvpsll2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float c2 = llpparam.pconst2;
  const float c1 = llpparam.pconst1;
  const float xo = llorig.xorig;
  const float yo = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    const float lam = rlong[i];
    const float phi = rlat[i];
    const float cphi = std::cos(phi);
    const float v[3] = {cphi * std::cos(lam), cphi * std::sin(lam), std::sin(phi)};
    float xx;
    float yy;
    perspective_point(xx, yy, v, c2, c1, xo, yo);
    x[i] = xx;
    y[i] = yy;
  }
}

void orthobl2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    float v[3];
    oblique_vector(v, rlong[i], rlat[i]);
    x[i] = v[1] - x0;
    y[i] = -v[0] - y0;
  }
}

void persobl2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  const float pc1 = llpparam.pconst1;
  const float pc2 = llpparam.pconst2;
  for (int i = 0; i < n; ++i) {
    float v[3];
    oblique_vector(v, rlong[i], rlat[i]);
    float xx;
    float yy;
    perspective_point(xx, yy, v, pc2, pc1, x0, y0);
    x[i] = xx;
    y[i] = yy;
  }
}

}  // namespace korbast::projection
