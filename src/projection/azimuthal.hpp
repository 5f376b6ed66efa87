// Spherical azimuthal projections (earth radius 1), polar and oblique.
//
// Polar frame: the centre is the frame's north pole; longitude 0 points down (-y), longitude
// 90 degrees east along +x. The oblique forms work in the frame of `a2b.ab`, north up.
// Arguments as for every projection: (x, y, rlong, rlat, n), x may be rlong, y may be rlat;
// the extra scalars are the block fields `projlln` hands over.
#pragma once

namespace korbast::projection {

// 5 Lambert azimuthal equal-area, radius sin(theta/2), clamped at `anglep1`.
void lazea2(float* x, float* y, const float* rlong, const float* rlat, int n);
// 7 stereographic, radius tan(theta/2), clamped at amax.
void inverspsll(float* x, float* y, const float* rlong, const float* rlat, int n,
                const float& amax, const float& x0, const float& y0);
// 9 orthographic, radius sin(theta), clamped at amax.
void orthogpsll(float* x, float* y, const float* rlong, const float* rlat, int n,
                const float& amax, const float& x0, const float& y0);
// 17 gnomonic, radius cot(lat); the frame's equator and far hemisphere give radius 1e20.
void gnomopsll(float* x, float* y, const float* rlong, const float* rlat, int n,
               const float& x0, const float& y0);
// 11 vertical perspective, polar: pc2, pc1 are the cosine and sine of half the angle of view.
void perspvpsll2(float* x, float* y, const float* rlong, const float* rlat, int n,
                 const float& pc2, const float& pc1, const float& x0, const float& y0);
// 10 orthographic, oblique.
void orthobl2(float* x, float* y, const float* rlong, const float* rlat, int n);
// 12 vertical perspective, oblique.
void persobl2(float* x, float* y, const float* rlong, const float* rlat, int n);

}  // namespace korbast::projection
