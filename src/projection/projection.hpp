// The current map projection: the dispatcher `projlln`, which projects with the code held in
// the state blocks (projection/state.hpp).
#pragma once

#include "projection/state.hpp"

namespace korbast::projection {

// Projects n points with the current projection: x(i), y(i) from rlong(i), rlat(i) (radians),
// minus the origin offsets. x may be rlong and y may be rlat. An unknown code prints an
// error frame and runs the whole projection set-up again, with its menus, before projecting.
void projlln(float* x, float* y, const float* rlong, const float* rlat, int n);

// Zeroes the six blocks and forgets what the set-ups keep between calls (the ellipsoid
// number, the oblique centre), as at program start (for tests and re-initialisation).
void reset_projection_blocks();

}  // namespace korbast::projection
