// Nodal planes on the stereonet: the lower half of the great circle of each plane, sampled
// through the running point, projected with the current stereonet projection and drawn as
// one polyline in the user units of the current subplot.
#pragma once

#include "frame/mode.hpp"

namespace korbast::focal {

// The number of points of each half great circle; 0 until first set, then 1..1000.
struct Dspgcbk {
  int np = 0;
};
extern Dspgcbk dspgcbk;

// Draws the planes 1..n given by strike and dip (radians; the plane dips towards strike +
// pi/2). Leaves the running point on the half circle (0 to pi) and the point buffers filled
// with the last plane's points. A stored count outside 1..1000 is clamped, with the running
// point's warning, and kept clamped.
void dspgcfadn(const float* strike, const float* dip, int n);

// The number of points per great circle: 2, 3 from the stored value, 4, 5 the default 40
// (with the initialising lines); even modes show the menu. The result is stored.
void sdspgc(int& np, frame::Mode mode);

}  // namespace korbast::focal
