// Spherical conic and polyconic projections (earth radius 1). Arguments as for every
// projection: (x, y, rlong, rlat, n), x may be rlong, y may be rlat. Their constants are
// computed by slcc2, salbesph2 and sbonnesph2 when the projection is chosen.
#pragma once

namespace korbast::projection {

void lcc2(float* x, float* y, const float* rlong, const float* rlat, int n);        // 3 Lambert conformal conic
void albesph2(float* x, float* y, const float* rlong, const float* rlat, int n);    // 19 Albers, one parallel
void bonnesph2(float* x, float* y, const float* rlong, const float* rlat, int n);   // 20 Bonne
void wernesphe2(float* x, float* y, const float* rlong, const float* rlat, int n);  // 21 Werner
void polyco2(float* x, float* y, const float* rlong, const float* rlat, int n);     // 13 polyconic

}  // namespace korbast::projection
