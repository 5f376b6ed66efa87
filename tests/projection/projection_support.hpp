// Test helpers for the projection state: they fill the blocks the way the program's set-ups
// do (ellipsoid constants, oblique frame, origin offsets), so that a projection can be set up
// without its dialog.
#pragma once

#include <cmath>

#include "frame/angles.hpp"
#include "geometry/sphere.hpp"
#include "projection/geometry.hpp"
#include "projection/geometry_dialog.hpp"
#include "projection/projection.hpp"

namespace korbast::testing {

// Ellipsoid constants from the two radii, in single precision and in the program's order.
inline void set_ellipsoid(float a, float b) {
  auto& e = projection::ellipsoid;
  e.ra = a;
  e.rb = b;
  e.ecc2 = 1.0f - (b * b) / (a * a);
  e.ecc = std::sqrt(e.ecc2);
  const float e2 = e.ecc2;
  const float e4 = e2 * e2;
  const float e6 = e2 * (e2 * e2);
  e.eccp2 = e2 / (1.0f - e2);
  e.cmer0 = 1.0f - 0.25f * e2 - 0.046875f * e4 - 0.01953125f * e6;
  e.cmer2 = -(0.375f * e2 + 0.09375f * e4 + 0.0439453125f * e6);
  e.cmer4 = 0.05859375f * e4 + 0.0439453125f * e6;
  e.cmer6 = -(35.0f / 3072.0f) * e6;
}

// The oblique frame of centre (lon, lat) in degrees: rows toward the south along the centre's
// meridian, toward the east, and the centre itself.
inline void set_oblique_centre(float lon_deg, float lat_deg) {
  const float& kPi2 = frame::anglerad.v[2];
  const float lam = frame::rad(lon_deg);
  const float phi = frame::rad(lat_deg);
  float m[9];
  const float lons[3] = {lam, lam + kPi2, lam};
  const float lats[3] = {phi - kPi2, 0.0f, phi};
  for (int k = 0; k < 3; ++k)
    geometry::ll2ccn(&m[3 * k], &m[3 * k + 1], &m[3 * k + 2], &lons[k], &lats[k], 1);
  geometry::mtrans(m, m);
  projection::smatab33(m, 1);
}

// Offsets that put the origin (lon, lat) in degrees at (0, 0) of the current projection.
inline void set_origin(float lon_deg, float lat_deg) {
  auto& o = projection::llorig;
  o.rlongorig = frame::rad(lon_deg);
  o.rlatorig = frame::rad(lat_deg);
  o.xorig = 0.0f;
  o.yorig = 0.0f;
  float x;
  float y;
  projection::projlln(&x, &y, &o.rlongorig, &o.rlatorig, 1);
  o.xorig = x;
  o.yorig = y;
}

// Projects one point given in degrees with the current projection.
inline void project_deg(float lon_deg, float lat_deg, float& x, float& y) {
  const float lam = frame::rad(lon_deg);
  const float phi = frame::rad(lat_deg);
  projection::projlln(&x, &y, &lam, &phi, 1);
}

}  // namespace korbast::testing
