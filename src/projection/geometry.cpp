#include "projection/geometry.hpp"

#include <cmath>

#include "geometry/sphere.hpp"
#include "projection/geometry_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

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

void cca2ccb(float* xb, const float* xa) { detail::rotate(xb, a2b.ab, xa); }

void lla2llb(float* rlongb, float* rlatb, const float* rlonga, const float* rlata, int n) {
  for (int i = 0; i < n; ++i) {
    float lon = rlonga[i];
    float lat = rlata[i];
    detail::lla2llb_point(lon, lat);
    rlongb[i] = lon;
    rlatb[i] = lat;
  }
}

}  // namespace korbast::projection
