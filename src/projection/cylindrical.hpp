// Spherical cylindrical and pseudo-cylindrical projections (earth radius 1).
//
// Each takes (x, y, rlong, rlat, n): x(n), y(n) out in map units, minus the origin offsets;
// rlong(n), rlat(n) in, radians. x may be rlong and y may be rlat. Longitudes are never
// folded: lambda and lambda + 2 pi give different points.
#pragma once

namespace korbast::projection {

void mersphe2(float* x, float* y, const float* rlong, const float* rlat, int n);     // 15 Mercator
void lcnesphe2(float* x, float* y, const float* rlong, const float* rlat, int n);    // 23 cylindrical equal-area
void sanflamsph2(float* x, float* y, const float* rlong, const float* rlat, int n);  // 22 sinusoidal
void mollw2(float* x, float* y, const float* rlong, const float* rlat, int n);       // 24 Mollweide
void grinte2(float* x, float* y, const float* rlong, const float* rlat, int n);      // 25 Van der Grinten
void tm2(float* x, float* y, const float* rlong, const float* rlat, int n);          // 1 transverse Mercator

// Auxiliary angle of the Mollweide projection in degrees for latitude k degrees, k = 0..91.
extern const float rmolle[92];

}  // namespace korbast::projection
