// The principal axes (P, B, T) on the stereonet: a plot symbol at the projected point (the
// standard code for an axis pointing down, the alternate code for one pointing up, drawn at
// its lower end), or a short radial line (code 100) or arrow (code 101) from that point,
// outwards for a downward axis and inwards for an upward one.
#pragma once

#include "frame/mode.hpp"

namespace korbast::focal {

// The codes of the axis drawn next: symbol types -99..99, or 100 (line) / 101 (arrow).
struct Dspaxbk {
  int standard = 1;
  int alternate = -1;
};
extern Dspaxbk dspaxbk;

// Length of the radial line or arrow, in net units (the primitive circle has radius 1).
inline constexpr float kAxisMarkLength = 0.2f;

// Draws n axes given by azimuth and plunge (radians) with the codes of dspaxbk, in the user
// units of the current subplot. The symbol type of the plot library is kept.
void dspaxfapn2(const float* az, const float* pl, int n);

// The standard and alternate symbol codes of the axes.
// The two codes: 0 and 200 check the caller's codes (-99..101, reset with a warning), 2, 3
// load them, 4, 5 give 1 and -1 (with the initialising lines); even modes show the menu;
// every mode but 200 stores the result.
void sdspaxsymb(int& standard, int& alternate, frame::Mode mode);

}  // namespace korbast::focal
