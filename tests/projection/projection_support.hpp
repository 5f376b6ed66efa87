// Test helpers for the projection state: they fill the blocks the way the program's set-ups
// do (oblique frame, origin offsets; the ellipsoid through projection::set_ellipsoid_radii),
// so that a projection can be set up without its dialog.
#pragma once

#include "frame/angles.hpp"
#include "geometry/sphere.hpp"
#include "projection/geometry.hpp"
#include "projection/geometry_dialog.hpp"
#include "projection/projection.hpp"

namespace korbast::testing {

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
