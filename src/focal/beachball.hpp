// Pages of focal-mechanism diagrams (beach balls): 20 lower-hemisphere stereonets per page,
// each with its frame, both nodal planes as great circles, the P, B and T axes as symbols and
// the event's label under it.
#pragma once

#include "focal/stereonet.hpp"  // sspro, which the start-up calls with the driver
#include "frame/mode.hpp"
#include "frame/text.hpp"
#include "geometry/mechanism.hpp"

namespace korbast::focal {

// The settings of the beach-ball pages, kept from one call to the next.
struct BeachBallSettings {
  frame::Text<50> plotname;  // name handed to the window opening
  float symbolsize = 0.0f;   // axis symbol size, cm
  float xcm0 = 0.0f;         // centre of the lower-left ball on the page, cm
  float ycm0 = 0.0f;
  float xx = 0.0f;           // user-to-cm matrix of every ball (the net has radius 1)
  float xy = 0.0f;
  float yx = 0.0f;
  float yy = 0.0f;
  int ipbtsymb[3][2] = {};   // P, B, T: standard and alternate symbol code
};
extern BeachBallSettings fpsbchbll_settings;

// Beach-ball pages for events 1..n from the strike, dip and rake of both nodal planes
// (degrees when iangunit is 1, radians otherwise), with labels under each net, in subplot
// isub. Modes 4 and 5 only initialise the settings; other modes run the menu until 99.
void fpsbchbll(geometry::NodalPlane first, geometry::NodalPlane second,
               const frame::Text<10>* label0, int nmax, int n, int isub, int iangunit,
               frame::Mode mode);

}  // namespace korbast::focal
