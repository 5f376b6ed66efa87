// The menu of the map-line layer (maps/lines.hpp), and its hook into the projection library.
#pragma once

#include "frame/mode.hpp"

namespace korbast::maps {

// The map-line menu. The bounds (degrees) are the map window, used for clipping and shown
// in the menu. Modes 4 and 5 only reset the settings (with their initialising line) and do
// not read the bounds; any other mode runs the menu until 99, one line file per command.
// The plot must be open; the routine never opens, pages or closes it.
void contours1(float longmin, float longmax, float latmin, float latmax, frame::Mode mode);

// Registers the map-side routines the projection library calls (its start-up resets the
// map-line settings through contours1).
void register_projection_hooks();

}  // namespace korbast::maps
