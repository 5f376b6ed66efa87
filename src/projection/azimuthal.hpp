// Spherical azimuthal projections (earth radius 1), polar and oblique, as models of one point
// (projection/forward.hpp) and their routines, with the set-up of the perspectives' constants
// and the check of their angle of view.
//
// Polar frame: the centre is the frame's north pole; longitude 0 points down (-y), longitude
// 90 degrees east along +x. Codes 6, 8 and 18 are the polar routines 5, 7 and 17 run on the
// points `lla2llb` has taken into the oblique frame; codes 10 and 12 rotate the point's
// direction vector into the frame of `a2b.ab` themselves, north up. The polar forms 5, 7 and
// 9 clamp at the maximum angle from the centre `anglep1`. The routines of codes 7, 9, 11 and
// 17 take their constants and the origin offsets as arguments; the others read the blocks.
#pragma once

#include <cmath>
#include <optional>
#include <string_view>

#include "frame/angles.hpp"
#include "projection/forward.hpp"
#include "projection/geometry_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

// Set-up of codes 11 and 12: `derived.perspective` of the angle of view `anglep1`.
void spers2();

// What makes an angle of view (degrees) unusable for a perspective: it must lie strictly
// between 0 and 180 degrees (at 180 every point falls onto the centre). Empty when usable.
std::string_view view_angle_problem(float alpha);

namespace detail {

// Angle from the centre, held at the clamp angle.
inline float clamped_theta(float phi, float amax) {
  float theta = frame::angle::half_pi - phi;
  if (theta > amax) theta = amax;
  return theta;
}

// The point at azimuth lambda and radius rho from the centre, longitude 0 pointing down.
inline XY polar_point(float lam, float rho) { return {rho * std::sin(lam), -rho * std::cos(lam)}; }

// The direction vector of a point (ll2ccn of one point).
inline void direction(float* v, float lam, float phi) {
  const float cphi = std::cos(phi);
  v[0] = cphi * std::cos(lam);
  v[1] = cphi * std::sin(lam);
  v[2] = std::sin(phi);
}

// The direction vector of a point in the oblique frame `ab` (ll2ccn then cca2ccb).
inline void oblique_direction(float* vb, const A2bBlock& frame, float lam, float phi) {
  float v[3];
  direction(v, lam, phi);
  rotate(vb, frame.ab, v);
}

// The perspective image of a direction vector; a zero denominator (the centre seen with an
// angle of view of 180 degrees) has no finite image.
inline std::optional<XY> perspective_point(const float* v, const PerspectiveConstants& c) {
  const float den = 1.0f - c.sin_half * v[2];
  if (den == 0.0f) return std::nullopt;
  const float k = c.cos_half / den;
  return XY{k * v[1], -k * v[0]};
}

}  // namespace detail

// 5 (polar) and 6 (oblique) Lambert azimuthal equal-area, radius sin(theta/2) (lazea2).
struct LambertAzimuthal {
  float amax = llpparam.anglep1;
  XY forward(float lam, float phi) const {
    return detail::polar_point(lam, std::sin(detail::clamped_theta(phi, amax) / 2.0f));
  }
};
// Codes 5 and 6: x(i), y(i) = the Lambert azimuthal equal-area image of rlong(i), rlat(i),
// clamped at `anglep1`, minus the origin offsets; x may be rlong and y may be rlat.
void lazea2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 7 (polar) and 8 (oblique) stereographic, radius tan(theta/2) (inverspsll).
struct Stereographic {
  float amax;
  XY forward(float lam, float phi) const {
    return detail::polar_point(lam, std::tan(detail::clamped_theta(phi, amax) / 2.0f));
  }
};
// Codes 7 and 8: x(i), y(i) = the stereographic image of rlong(i), rlat(i), clamped at the
// angle amax from the centre, minus (x0, y0); x may be rlong and y may be rlat.
void inverspsll(float* x, float* y, const float* rlong, const float* rlat, int n, float amax,
                float x0, float y0);

// 9 orthographic, polar, radius sin(theta) (orthogpsll).
struct Orthographic {
  float amax;
  XY forward(float lam, float phi) const {
    return detail::polar_point(lam, std::sin(detail::clamped_theta(phi, amax)));
  }
};
// Code 9: x(i), y(i) = the polar orthographic image of rlong(i), rlat(i), clamped at the angle
// amax from the centre, minus (x0, y0); x may be rlong and y may be rlat.
void orthogpsll(float* x, float* y, const float* rlong, const float* rlat, int n, float amax,
                float x0, float y0);

// 17 (polar) and 18 (oblique) gnomonic, radius cot(lat) (gnomopsll). The equator of the frame
// and the far hemisphere have no image: they are sent off the map at their own azimuth
// instead of being mirrored through the centre.
struct Gnomonic {
  XY forward(float lam, float phi) const {
    const float s = std::sin(phi);
    return detail::polar_point(lam, (s > 0.0f) ? std::cos(phi) / s : kOffMap);
  }
};
// Codes 17 and 18: x(i), y(i) = the gnomonic image of rlong(i), rlat(i), minus (x0, y0); x may
// be rlong and y may be rlat.
void gnomopsll(float* x, float* y, const float* rlong, const float* rlat, int n, float x0,
               float y0);

// 11 vertical perspective, polar (perspvpsll2).
struct PerspectivePolar {
  PerspectiveConstants c;
  std::optional<XY> forward(float lam, float phi) const {
    float v[3];
    detail::direction(v, lam, phi);
    return detail::perspective_point(v, c);
  }
};
// Code 11: x(i), y(i) = the polar vertical perspective image of rlong(i), rlat(i) for the
// cosine and the sine of half the angle of view, minus (x0, y0); x may be rlong and y rlat.
void perspvpsll2(float* x, float* y, const float* rlong, const float* rlat, int n,
                 float cos_half, float sin_half, float x0, float y0);

// 10 orthographic, oblique (orthobl2).
struct OrthographicOblique {
  A2bBlock frame = a2b;
  XY forward(float lam, float phi) const {
    float v[3];
    detail::oblique_direction(v, frame, lam, phi);
    return {v[1], -v[0]};
  }
};
// Code 10: x(i), y(i) = the orthographic image of rlong(i), rlat(i) in the oblique frame,
// minus the origin offsets; x may be rlong and y may be rlat.
void orthobl2(float* x, float* y, const float* rlong, const float* rlat, int n);

// 12 vertical perspective, oblique (persobl2).
struct PerspectiveOblique {
  A2bBlock frame = a2b;
  PerspectiveConstants c = derived.perspective;
  std::optional<XY> forward(float lam, float phi) const {
    float v[3];
    detail::oblique_direction(v, frame, lam, phi);
    return detail::perspective_point(v, c);
  }
};
// Code 12: x(i), y(i) = the vertical perspective image of rlong(i), rlat(i) in the oblique
// frame, minus the origin offsets; x may be rlong and y may be rlat.
void persobl2(float* x, float* y, const float* rlong, const float* rlat, int n);

}  // namespace korbast::projection
