// Pages of focal-mechanism diagrams (beach balls) on stereonets.
#pragma once

#include "frame/text.hpp"

namespace korbast::focal {

// Beach-ball pages for n events from the strike, dip and rake of both nodal planes; labels
// under each net. Modes 4 and 5 only initialise the settings; other modes run the menu.
void fpsbchbll(const float* strike1, const float* dip1, const float* rake1, const float* strike2,
               const float* dip2, const float* rake2, const frame::Text<10>* labels, int nmax,
               int n, int isub, int angle_unit, int mode);

// The stereonet projection: 4 (Schmidt net, retrograde X and Y axes) by default.
void sspro(int& iproj, int mode);

}  // namespace korbast::focal
