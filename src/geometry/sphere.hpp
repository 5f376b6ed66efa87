// Direction cosines on the unit sphere.
//
// Geographic frame of a direction vector: x toward longitude 0 on the equator, y toward
// longitude 90 degrees east, z toward the north pole. Angles are radians. Matrices are 3x3,
// stored column by column (element (i, j) at index (j - 1) * 3 + (i - 1)).
//
// Every routine forms the results of a point before storing any of them, so an output array
// may be the same storage as an input array.
#pragma once

namespace korbast::geometry {

// cx(i) = cos lat(i) cos long(i), cy(i) = cos lat(i) sin long(i), cz(i) = sin lat(i),
// for i = 1..n; nothing for n <= 0.
void ll2ccn(float* cx, float* cy, float* cz, const float* rlong, const float* rlat, int n);

// a = transpose of b (3x3); a may be b.
void mtrans(float* a, const float* b);

// Longitude in (-pi, pi] of the horizontal components (vx, vy).
float longitude_of(float vx, float vy);

// Arcsine of a z component, held to [-1, 1] against rounding.
float latitude_of(float vz);

}  // namespace korbast::geometry
