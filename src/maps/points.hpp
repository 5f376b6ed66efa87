// The point layer of a map: one point typed at the console, or the points of a column-data
// file, drawn as symbols with the layer's own symbol type, size and colours, projected from
// longitude and latitude or taken as user coordinates, and optionally listed.
#pragma once

#include "frame/dialog.hpp"
#include "frame/mode.hpp"

namespace korbast::maps {

inline constexpr frame::Identity id_mappoint{"mappoint", " 2.3", "16-04-2010"};

// The settings of the layer, kept from call to call.
struct MappointSettings {
  bool llist = true;      // list the plotted coordinates (14)
  float xpt = 0.0f;       // the single point: x or longitude (10)
  float ypt = 0.0f;       // y or latitude (20)
  int isymb = -5;         // symbol type (53)
  float symbsize = 0.3f;  // symbol diameter, cm (54)
  int linecolor = 1;      // line colour index (51)
  int fillcolor = 1;      // fill colour index (52)
};
extern MappointSettings mappoint_settings;

// The unit the points file is read on.
inline constexpr int kPointsUnit = 12;

// The point layer of the map: points typed in or read from a file, drawn as symbols.
// Modes 4 and 5 reset the settings (lproj is not touched); any other mode runs the point
// menu until 99. lproj: true when the coordinates are longitude and latitude in degrees, to
// be projected with the current map projection; false when they are user coordinates of the
// current subplot. The menu may change it. The plot attributes are left as they were found.
void mappoint(bool& lproj, frame::Mode mode);

}  // namespace korbast::maps
