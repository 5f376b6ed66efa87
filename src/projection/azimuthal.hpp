// Spherical azimuthal projections (earth radius 1), polar and oblique.
//
// Polar frame: the centre is the frame's north pole; longitude 0 points down (-y), longitude
// 90 degrees east along +x. The oblique forms work in the frame of `a2b.ab`, north up.
// Arguments as for every projection: (x, y, rlong, rlat, n), x may be rlong, y may be rlat.
// The polar forms clamp at the maximum angle from the centre `anglep1`; the perspectives read
// the cosine and sine of half the angle of view from `pconst2`, `pconst1`.
#pragma once

namespace korbast::projection {

// 5 Lambert azimuthal equal-area, radius sin(theta/2), clamped.
void lazea2(float* x, float* y, const float* rlong, const float* rlat, int n);
// 7 stereographic, radius tan(theta/2), clamped.
void inverspsll(float* x, float* y, const float* rlong, const float* rlat, int n);
// 9 orthographic, radius sin(theta), clamped.
void orthogpsll(float* x, float* y, const float* rlong, const float* rlat, int n);
// 17 gnomonic, radius cot(lat); the frame's equator and far hemisphere give radius 1e20.
void gnomopsll(float* x, float* y, const float* rlong, const float* rlat, int n);
// 11 vertical perspective, polar.
void perspvpsll2(float* x, float* y, const float* rlong, const float* rlat, int n);
// 10 orthographic, oblique.
void orthobl2(float* x, float* y, const float* rlong, const float* rlat, int n);
// 12 vertical perspective, oblique.
void persobl2(float* x, float* y, const float* rlong, const float* rlat, int n);

}  // namespace korbast::projection
