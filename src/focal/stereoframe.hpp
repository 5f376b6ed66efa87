// The stereonet frame drawn under every beach ball: the primitive circle, the cross of axes,
// ticks every 10 degrees, the two direction labels where the current stereonet projection
// puts North and East, and up to four corner labels; with its settings routines.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::focal {

// The frame settings. Flags hold 1 for true and 0 for false; zero (no usable settings) until
// srepstereo0 initialises them.
struct Stefram2 {
  int npcirc = 0;      // points of the frame circle
  int llabel[6] = {};  // draw label 1..6
  int laxis = 0;       // draw the cross of axes
  int ltics = 0;       // draw the ticks
  frame::Text<15> label[6] = {frame::Text<15>::zeros(), frame::Text<15>::zeros(),
                              frame::Text<15>::zeros(), frame::Text<15>::zeros(),
                              frame::Text<15>::zeros(), frame::Text<15>::zeros()};
};
extern Stefram2 stefram2;

// Where labels 1..6 stand, as the menus name them.
extern const frame::Text<11> labelname[6];

// Draws the frame in the user units of the current subplot (the net has radius 1 about the
// origin). The text angle and alignment are the same on return as on entry.
void repstereo();

// All frame settings: 4, 5 the defaults (with the initialising lines); 4 to 7 reset the
// corner labels; even modes show the menu.
void srepstereo0(frame::Mode mode);

// One label: its text (the caller's buffer), draw flag (0/1) and number (1..6). Modes 2, 3
// load them from the settings, 4, 5 give the defaults of that label, others take the caller's
// (a bad flag is reported and set to 0); even modes, and any bad number or flag, show the menu.
// The result is stored.
void srepstereolabel1(std::span<char> text, int& idraw, int& ilabel, frame::Mode mode);
template <std::size_t N>
void srepstereolabel1(frame::Text<N>& text, int& idraw, int& ilabel, frame::Mode mode) {
  srepstereolabel1(std::span<char>(text.data(), N), idraw, ilabel, mode);
}

// The number of points of the frame circle (200 in modes 4 and 5); even modes show the menu.
void srepstereonp(int& npcirc, frame::Mode mode);

}  // namespace korbast::focal
