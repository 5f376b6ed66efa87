// The current map projection: the dispatcher `projlln`, which projects with the code held in
// the state blocks (projection/state.hpp).
#pragma once

#include "projection/state.hpp"

namespace korbast::projection {

// Projects n points with the current projection: x(i), y(i) from rlong(i), rlat(i) (radians),
// minus the origin offsets. x may be rlong and y may be rlat. The projection set-up is
// initialised at program start-up (sprojll2 in its mode 5), so the code is known; an unknown
// one (the blocks used before any set-up) prints an error frame and puts back, without any
// dialog, the projection and origin the initialisation chooses before projecting.
void projlln(float* x, float* y, const float* rlong, const float* rlat, int n);

// Zeroes the seven blocks and forgets what the set-ups keep between calls (the ellipsoid
// number, the oblique centre), as at program start (for tests and re-initialisation).
void reset_projection_blocks();

}  // namespace korbast::projection
