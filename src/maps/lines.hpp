// The map-line layer: map line files (coastlines, lines and polygons of several public data
// sets, selection polygons) read and drawn onto the open map page in the current projection,
// through the menu of `contours1`.
#pragma once

#include "frame/dialog.hpp"
#include "frame/mode.hpp"

namespace korbast::maps {

inline constexpr frame::Identity id_contours1{"contours1", "", ""};

// The settings of the layer kept from call to call (set by the initialising mode).
struct ContoursSettings {
  float ptsperdeg = 10.0f;  // points per degree of arc on the sides of selection polygons
  bool lclip = true;        // clip line files of types 1, 2 and 5 to the map window
};
extern ContoursSettings contours_settings;

// The map-line menu. The bounds (degrees) are the map window, used for clipping and shown
// in the menu. Modes 4 and 5 only reset the settings (with their initialising line) and do
// not read the bounds; any other mode runs the menu until 99, one line file per command.
// The plot must be open; the routine never opens, pages or closes it.
void contours1(float longmin, float longmax, float latmin, float latmax, frame::Mode mode);

// Registers the map-side routines the projection library calls (its start-up resets the
// map-line settings through contours1).
void register_projection_hooks();

}  // namespace korbast::maps
