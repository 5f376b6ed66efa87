// The seismicity-map driver.
#pragma once

#include "frame/text.hpp"

namespace korbast::maps {

// Maps n events: fills xd/yd with the projected coordinates, draws epicentres and stress
// symbols and, with lsish, writes the Si-Sh lines to the unit of output slot kout. Modes 4
// and 5 only initialise the map settings; any other mode runs the map menu until 99.
void mapseis4(float* xd, float* yd, const float* rlong, const float* rlat, const float* depth,
              const frame::Text<10>* date1, const frame::Text<10>* time, const float* strike,
              const float* dip, const float* rake, int n, int nmax, int kout, bool lsish,
              int isub, int mode);

}  // namespace korbast::maps
