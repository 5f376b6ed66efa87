// Direction cosines back to longitude and latitude, and the oblique frame of the projections.
// The direction cosines themselves are in geometry/sphere.hpp.
//
// Geographic frame of a direction vector: x toward longitude 0 on the equator, y toward
// longitude 90 degrees east, z toward the north pole. Angles are radians. Matrices are 3x3,
// stored column by column (element (i, j) at index (j - 1) * 3 + (i - 1)).
//
// Every routine forms the results of a point before storing any of them, so an output array
// may be the same storage as an input array.
#pragma once

namespace korbast::projection {

// Longitude in (-pi, pi] and latitude of each vector (cx(i), cy(i), cz(i)), normalising it
// first when its squared norm is off 1 by more than 5e-5 (with a warning frame when the norm
// is off 1 by more than 1e-4). A zero vector gives longitude 0 and latitude 0 after the
// warning. Nothing for n <= 0.
void cc2lln(float* rlong, float* rlat, const float* cx, const float* cy, const float* cz, int n);

// xb = ab * xa with the oblique-frame matrix of `a2b`; xb(3), xa(3); xb may be xa.
void cca2ccb(float* xb, const float* xa);

// Longitudes and latitudes of n points in the oblique frame of `a2b`.
void lla2llb(float* rlongb, float* rlatb, const float* rlonga, const float* rlata, int n);


}  // namespace korbast::projection
