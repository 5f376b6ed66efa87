// Pieces of the direction-cosine conversions shared by the projection routines.
#pragma once

#include <cmath>

#include "geometry/sphere.hpp"
#include "projection/state.hpp"

namespace korbast::projection::detail {

// One vector to longitude and latitude, as `cc2lln` does for point `index` of `n`.
void cc2ll_point(float& rlong, float& rlat, float vx, float vy, float vz, int index, int n);

// The warning frame of `cc2lln` for a vector whose norm r is off 1.
void warn_not_unitary(float vx, float vy, float vz, float r, int index, int n);

// vb = ab * v for the oblique-frame matrix ab (column by column); vb may be v.
inline void rotate(float* vb, const float* ab, const float* v) {
  float w[3] = {0.0f, 0.0f, 0.0f};
  for (int j = 0; j < 3; ++j) {
    const float vj = v[j];
    for (int i = 0; i < 3; ++i) w[i] += ab[3 * j + i] * vj;
  }
  vb[0] = w[0];
  vb[1] = w[1];
  vb[2] = w[2];
}

// Longitude and latitude of one point in the oblique frame of `a2b`: the step of `lla2llb`.
inline void lla2llb_point(float& rlong, float& rlat) {
  // Within 8 degrees of the centre of an oblique frame (z above cos 8 degrees), asin(z) would
  // have lost more than a tenth of a digit to the closeness of z to 1.
  constexpr float kNearCentre = 0.99f;
  float v[3];
  geometry::ll2ccn(&v[0], &v[1], &v[2], &rlong, &rlat, 1);
  rotate(v, a2b.ab, v);
  if (std::fabs(v[2]) > kNearCentre) {
    // Near the centre of the frame asin of a z close to 1 loses the distance from the
    // centre (the oblique azimuthal maps collapse onto it): the latitude is
    // atan2(z, hypot(x, y)) there, and a rotated unit vector needs no norm check.
    rlong = geometry::longitude_of(v[0], v[1]);
    rlat = std::atan2(v[2], std::sqrt(v[0] * v[0] + v[1] * v[1]));
  } else {
    cc2ll_point(rlong, rlat, v[0], v[1], v[2], 1, 1);
  }
}

}  // namespace korbast::projection::detail
