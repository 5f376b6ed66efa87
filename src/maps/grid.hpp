// The latitude/longitude grid of a map: its settings (`llgrid`, kept in radians), the
// settings routine with its menu, the drawing of the grid with ticks and labels in the
// current projection, and the projected extent of its four corners.
#pragma once

#include "frame/mode.hpp"

namespace korbast::maps {

// The grid settings. Angles in radians; the defaults are those of sllgrid2's modes 4 and 5.
struct Llgrid {
  float latmin = 0.0f;   // southern bound
  float latmax = 0.0f;   // northern bound
  float longmin = 0.0f;  // western bound
  float longmax = 0.0f;  // eastern bound
  float latinc = 0.0f;   // spacing asked for between parallels
  float longinc = 0.0f;  // spacing asked for between meridians
  float ticsize = 0.0f;  // tick length, an angle along the grid line
  int nptline = 0;       // segments per grid line
  int npttick = 0;       // segments per tick
  int igridtype = 0;     // 0 none, 1 regular, 2 frame with ticks out, 3 frame with ticks in
};
extern Llgrid llgrid;

// The most grid lines of one family a drawing makes (a count above it is reduced, with a
// warning), so that a tiny increment cannot keep the drawing busy without end.
constexpr int kMaxGridCount = 1000;
// The most points per grid line and per tick (a larger count is reduced to it, with a
// warning, when it is set): far more than a smooth line needs, and a drawing that ends.
constexpr int kMaxGridPoints = 1000;

// The grid settings, angles in degrees in the arguments. Modes 2 and 3 start from `llgrid`,
// 4 and 5 from the defaults (silently), any other mode from the arguments; an even mode then
// shows the menu until 99; every mode but 3 stores the result into `llgrid`. The arguments
// hold the final values on return.
void sllgrid2(float& latmin, float& latmax, float& longmin, float& longmax, float& latinc,
              float& longinc, int& nptline, float& ticsize, int& npttick, int& igridtype,
              frame::Mode mode);

// Draws the grid of `llgrid` in the current projection, subplot and attributes, and reports
// its type and line counts. Leaves the text alignment at -7 for the grid types 1 to 3.
void drawllgrid();

// The smallest and largest projected x and y of the grid's four corners (corners the
// projection cannot map are left out, unless no corner can be mapped).
void extrllgrid(float& xmin, float& ymin, float& xmax, float& ymax);

}  // namespace korbast::maps
