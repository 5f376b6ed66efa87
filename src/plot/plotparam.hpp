// The plot attributes menu, which reaches every attribute setter, the colour table and the
// symbols.
#pragma once

#include "frame/mode.hpp"

namespace korbast::plot {

// The plot attributes menu, and the set-up of a window's page and attributes.
// 0 the menu (attributes from the stored values); 7 at a window opening: page scale and the
// user-to-device transforms of every subplot, all attributes to their defaults; 4, 5, 8, 9
// also report the angle constants (which are fixed) and reset the subplot scalings and the
// colour table (see plotparam.cpp).
void splotparam2(frame::Mode mode);

}  // namespace korbast::plot
