// The projection selection menu.
// The settings mode (frame::Mode) is last, as in the set-ups (projection/setups.hpp): 2 or 3
// start from the value held in the blocks, 4 or 5 from the default (printing the initialising
// lines), any other value from the caller's; an even mode shows the menu until 99, an odd
// mode is silent.
#pragma once

#include "frame/mode.hpp"

namespace korbast::projection {

// The projection the initialisation chooses: the spherical Mercator.
inline constexpr int kDefaultProjection = 15;

// The projection selection menu: initialises every set-up (modes 4 and 5, code 15; the program
// does so at start-up, before any projection is used), or lets the user choose one of the 25
// projections (even modes), then stores the code and runs the chosen projection's set-ups,
// its derived constants and last `sllorig`.
void sprojll2(int& iproj, frame::Mode mode);

// The map-line layer's settings routine, which the selection menu resets last when it
// initialises (it is called with the menu's mode 4 or 5). The library that owns the map lines
// registers it at start-up; without one, nothing is called.
void set_contours_hook(void (*hook)(frame::Mode mode));

}  // namespace korbast::projection
