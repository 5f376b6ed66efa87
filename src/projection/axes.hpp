// A nodal plane's strike, dip and rake to the orientations of the P, B and T axes.
//
// Fault frame: x North, y East, z Down. Azimuths from North toward East, plunges positive
// downwards. Angles in radians. 3x3 matrices column by column.
#pragma once

namespace korbast::projection {

// Azimuths azsr(3) and plunges plsr(3) of the three axes of the plane (strike, dip, rake),
// with the axis-1 angle phi (0 for the double couple): axis 1 = P, 2 = B, 3 = T when phi = 0.
// Azimuths are not reduced to [0, 2 pi); plunges lie in [-pi/2, pi/2] and may be negative.
void fsadr2steff(float* azsr, float* plsr, float strike, float dip, float rake, float phi);

// Rotations by a about the x, y and z axes.

// The rotation matrix r (3x3) by a about the x axis.
void xrot(float* r, float a);
// The rotation matrix r (3x3) by a about the y axis.
void yrot(float* r, float a);
// The rotation matrix r (3x3) by a about the z axis.
void zrot(float* r, float a);

// a = b * c (3x3); a may be b or c.
void m33x33(float* a, const float* b, const float* c);

// t(i) = angle of (x(i), y(i)) from the x axis in (-pi, pi]; (0, 0) gives pi/2.
void xy2t(float* t, const float* x, const float* y, int n);

}  // namespace korbast::projection
