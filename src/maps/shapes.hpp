// Two-dimensional shape helpers: the unit arrow and unit bar of the stress symbols, scaling,
// translation and rotation of point sets, and the reduction of values into one period.
//
// A point set is two arrays x, y and a count n; an operation reads point i of its input and
// writes point i of its output in increasing order, reading both coordinates before writing
// either, so the output may be the input (in place). A count below 1 does nothing. Angles are
// radians; a positive rotation turns +x towards +y. Everything is single precision.
#pragma once

namespace korbast::maps {

// The unit arrow, 7 points: tip at the origin, pointing towards -x, body along +x up to
// x = 1, half-width 1/14 at the head and 3/28 at the tail; points 5..7 mirror 4..2.
// n is 7; a capacity nmax below 7 is reported (the user may stop the run), and then only the
// first nmax points are written and n is nmax (0 when nmax < 1).
void arrow2d(float* x1, float* y1, int& n, int nmax);
// The unit bar, 4 points: from x = 0 to x = 1, half-width 3/28, starting at (0, -3/28).
// Capacity as for arrow2d, with 4 points.
void rectangle1(float* x1, float* y1, int& n, int nmax);

// out(i) = in(i) * fac.
void homot02d1(float* xout, float* yout, const float* xin, const float* yin, int n, float fac);
// out(i) = in(i) + (dx, dy).
void transl2d1(float* xout, float* yout, const float* xin, const float* yin, int n, float dx,
               float dy);
// Each point rotated by ang about (xc, yc): out = c + R (in - c), formed as t + R in with the
// translation t = c - R c computed once.
void rot2daff(float* xout, float* yout, const float* xin, const float* yin, int n, float xc,
              float yc, float ang);
// The rotation matrix of ang, column by column: rot = {cos, sin, -sin, cos}.
void matrot2drad(float rot[4], float ang);

// Each value reduced into [0, per) by x - per * trunc(x / per) (plus per when that remainder
// of a negative value is not 0); values already inside are copied unchanged. per must be
// positive. A value that is not a number stays so.
void modulr(float* aout, const float* ain, float per, int n);
// Each angle reduced into [0, 2 pi) with the program's single-precision 2 pi (angles already
// inside are copied bit for bit). A tiny negative angle comes back as exactly that 2 pi.
void na2pin(float* aout, const float* ain, int n);

}  // namespace korbast::maps
