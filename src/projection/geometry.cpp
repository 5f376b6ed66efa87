#include "projection/geometry.hpp"

#include <cmath>

#include "geometry/sphere.hpp"
#include "projection/geometry_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

namespace {

// Within 8 degrees of the centre of an oblique frame (z above cos 8 degrees), asin(z) would
// have lost more than a tenth of a digit to the closeness of z to 1.
constexpr float kNearCentre = 0.99f;

}  // namespace

namespace detail {

void cc2ll_point(float& rlong, float& rlat, float vx, float vy, float vz, int index, int n) {
  const float s = vx * vx + vy * vy + vz * vz;
  if (std::fabs(s - 1.0f) > 5e-5f) {
    const float r = std::sqrt(s);
    if (std::fabs(r - 1.0f) > 1e-4f) warn_not_unitary(vx, vy, vz, r, index, n);
    if (!(r > 0.0f)) {
      // A zero vector has no direction: report it and give the point (0, 0).
      rlong = 0.0f;
      rlat = 0.0f;
      return;
    }
    vx /= r;
    vy /= r;
    vz /= r;
  }
  rlong = geometry::longitude_of(vx, vy);
  rlat = geometry::latitude_of(vz);
}

}  // namespace detail

void cc2lln(float* rlong, float* rlat, const float* cx, const float* cy, const float* cz, int n) {
  for (int i = 0; i < n; ++i) {
    const float vx = cx[i];
    const float vy = cy[i];
    const float vz = cz[i];
    float lon;
    float lat;
    detail::cc2ll_point(lon, lat, vx, vy, vz, i + 1, n);
    rlong[i] = lon;
    rlat[i] = lat;
  }
}

void cca2ccb(float* xb, const float* xa) {
  const float* ab = a2b.ab;
  float w[3] = {0.0f, 0.0f, 0.0f};
  for (int j = 0; j < 3; ++j) {
    const float v = xa[j];
    for (int i = 0; i < 3; ++i) w[i] += ab[3 * j + i] * v;
  }
  xb[0] = w[0];
  xb[1] = w[1];
  xb[2] = w[2];
}

void lla2llb(float* rlongb, float* rlatb, const float* rlonga, const float* rlata, int n) {
  for (int i = 0; i < n; ++i) {
    float v[3];
    geometry::ll2ccn(&v[0], &v[1], &v[2], &rlonga[i], &rlata[i], 1);
    cca2ccb(v, v);
    float lon;
    float lat;
    if (std::fabs(v[2]) > kNearCentre) {
      // Near the centre of the frame asin of a z close to 1 loses the distance from the
      // centre (the oblique azimuthal maps collapse onto it): the latitude is
      // atan2(z, hypot(x, y)) there, and a rotated unit vector needs no norm check.
      lon = geometry::longitude_of(v[0], v[1]);
      lat = std::atan2(v[2], std::sqrt(v[0] * v[0] + v[1] * v[1]));
    } else {
      detail::cc2ll_point(lon, lat, v[0], v[1], v[2], 1, 1);
    }
    rlongb[i] = lon;
    rlatb[i] = lat;
  }
}

}  // namespace korbast::projection
