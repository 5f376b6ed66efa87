// Test helpers for the projection state: they fill the blocks the way the program's set-ups
// do (oblique frame, origin offsets; the ellipsoid through projection::set_ellipsoid_radii),
// so that a projection can be set up without its dialog.
#pragma once

#include <string>

#include "frame/angles.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"
#include "projection/table.hpp"

namespace korbast::testing {

// The oblique frame of centre (lon, lat) in degrees.
inline void set_oblique_centre(float lon_deg, float lat_deg) {
  projection::set_oblique_frame(frame::rad(lon_deg), frame::rad(lat_deg));
}

// Offsets that put the origin (lon, lat) in degrees at (0, 0) of the current projection.
inline void set_origin(float lon_deg, float lat_deg) {
  projection::place_origin(frame::rad(lon_deg), frame::rad(lat_deg));
}

// The first code past the table: no projection has it.
inline constexpr int kUnknownProjection = projection::kProjections + 1;

// The number of built-in reference ellipsoids, and the first number past them: no ellipsoid
// has it.
inline int ellipsoid_count() { return static_cast<int>(projection::ellipsoid_table().size()); }
inline int unknown_ellipsoid() { return ellipsoid_count() + 1; }

// An integer right-aligned in w columns, as the dialogs print their numbers.
inline std::string int_field(int v, int w) {
  const std::string s = std::to_string(v);
  const auto n = static_cast<std::size_t>(w);
  return std::string(s.size() < n ? n - s.size() : 0, ' ') + s;
}

// A projection code as the dialogs print it, right-aligned in four columns.
inline std::string code_field(int code) { return int_field(code, 4); }

// Projects one point given in degrees with the current projection.
inline void project_deg(float lon_deg, float lat_deg, float& x, float& y) {
  const float lam = frame::rad(lon_deg);
  const float phi = frame::rad(lat_deg);
  projection::projlln(&x, &y, &lam, &phi, 1);
}

}  // namespace korbast::testing
