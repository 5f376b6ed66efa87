// Projections of the current reference ellipsoid (equatorial radius 1), and the meridian
// distance they share. Arguments as for every projection: (x, y, rlong, rlat, n), x may be
// rlong, y may be rlat.
#pragma once

namespace korbast::projection {

// dist(i) = meridian distance from the equator to rlat(i), in units of the equatorial
// radius, signed; dist may be rlat.
void lat2disel(float* dist, const float* rlat, int n);

void tme2(float* x, float* y, const float* rlong, const float* rlat, int n);      // 2 transverse Mercator (series)
void lcce2(float* x, float* y, const float* rlong, const float* rlat, int n);     // 4 Lambert conformal conic
void merel2(float* x, float* y, const float* rlong, const float* rlat, int n);    // 16 Mercator
void imwpoly2(float* x, float* y, const float* rlong, const float* rlat, int n);  // 14 IMW modified polyconic

}  // namespace korbast::projection
