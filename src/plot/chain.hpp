// The coordinate chain: user units of a subplot to centimetres on the page (one affine
// transform per subplot), centimetres to device pixels (one scale for the page), and the
// derived user-to-device and centimetre-to-user transforms, with the 2x2 matrix helpers.
//
// A 2x2 matrix is stored column by column (m[j][i] is row i, column j); a transform maps p to
// offset + matrix * p. Every conversion and product forms its results before storing them,
// so an output may be the same storage as an input. Point lists are two arrays and a count;
// a count below 1 converts nothing.
#pragma once

#include "frame/mode.hpp"
#include "plot/plt1blk.hpp"

namespace korbast::plot {

using Mat22 = float[2][2];
using Vec2 = float[2];

// The user-to-cm transform of the current subplot (all 35 in modes 6 and 7) from an origin in
// cm and a matrix in cm per user unit. Modes 2 and 3 start from the stored values, 4 to 7 from
// the defaults (origin (10, 10) cm, unit matrix), any other mode from the arguments; an even
// mode shows the dialog. The values stored are left in the arguments.
void sus2cm1(float& xcm0, float& ycm0, float& xx, float& xy, float& yx, float& yy,
             frame::Mode inter);
// The plain accessor: the current subplot's user-to-cm transform (the setter above stores
// through the same path).
void set_user_to_cm(float xcm0, float ycm0, float xx, float xy, float yx, float yy);
// The user-to-cm transform that puts the user box [xumin, xumax] x [yumin, yumax] into the page
// box of lengths xlcm, ylcm whose lower-left corner is (xcm0, ycm0) cm; ixy = 1 makes both
// scales the smaller one. Mode 3 only hands back the values last given. A user range of zero
// on an axis is refused with a warning and the subplot keeps its transform.
void sus2cm3(float& xcm0, float& ycm0, float& xlcm, float& ylcm, float& xumin, float& xumax,
             float& yumin, float& yumax, int& ixy, frame::Mode inter);

// The page scale (pixels per cm) from the page set-up of the open window.
void scm2de();
// The user-to-device transform of the current subplot.
void sus2de();
// The cm-to-user transform of the current subplot (the inverse of its user-to-cm transform).
void scm2us();

// n points from user units to device pixels, with the current subplot's transform.
void us2de(float* xde, float* yde, const float* xus, const float* yus, int n);
// n points from centimetres on the page to user units of the current subplot.
void cm2us(float* xus, float* yus, const float* xcm, const float* ycm, int n);
// n points from centimetres on the page to device pixels.
void cm2de(float* xde, float* yde, const float* xcm, const float* ycm, int n);
// A length in centimetres as device pixels.
void lengthcm2de(float& lde, float lcm);

// a = b * c, matrix times vector.
void m22x21(Vec2& a, const Mat22& b, const Vec2& c);
// a = b * c, matrix times matrix.
void m22x22(Mat22& a, const Mat22& b, const Mat22& c);
// w(i) = u(i) + v(i), i = 1..n.
void vsum(float* w, const float* u, const float* v, int n);
// a = inverse of b. A zero determinant is reported (the run may be stopped there) and a is
// left as it was; the result says whether the inverse was formed.
bool minv2d(Mat22& a, const Mat22& b);

}  // namespace korbast::plot
