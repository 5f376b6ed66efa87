// The map-line layer: map line files (coastlines, lines and polygons of several public data
// sets, selection polygons) read and drawn onto the open map page in the current projection,
// through the menu of `contours1` (maps/contours.hpp). Here: what the layer's files share.
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

}  // namespace korbast::maps
