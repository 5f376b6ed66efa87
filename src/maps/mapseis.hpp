// The seismicity-map driver: its settings menu, the plot window steps and the map run
// (captions, grid, point layer, epicentres, stress-direction symbols with the Si-Sh lines,
// map line files).
#pragma once

#include <string_view>

#include "frame/dialog.hpp"
#include "frame/mode.hpp"
#include "frame/text.hpp"
#include "geometry/mechanism.hpp"

namespace korbast::maps {

inline constexpr frame::Identity id_mapseis{"mapseis", " 6.6", "06-05-2010"};

// The settings of the map driver, kept from call to call for the whole run. Set by the
// initialising call and changed only through the menu.
struct MapseisSettings {
  frame::Text<50> plotname{"seis.map.ps"};  // passed to the plot-window opening
  bool lscale = true;                       // fit the grid extent into the page box (15)
  bool lcontours = true;                    // map line files at the end of a run (340)
  bool lepic = true;                        // epicentre symbols (341)
  bool lsh = true;                          // stress-direction symbols (342)
  bool lpoints = true;                      // the point layer (343)
  float threshold = 0.0f;                   // plunge threshold for isv, degrees (400)
  int iepisymb = -4;                        // epicentre symbol type (310)
};
extern MapseisSettings mapseis_settings;

// The events of a map run, as the catalogue store keeps them: n events with their longitude
// and latitude (degrees), depth (km), date and time texts and the nodal plane to map (strike,
// dip and rake in degrees). xd and yd receive the projected coordinates; the rest is only
// read.
struct MapEvents {
  float* xd = nullptr;
  float* yd = nullptr;
  const float* rlong = nullptr;
  const float* rlat = nullptr;
  const float* depth = nullptr;
  const frame::Text<10>* date1 = nullptr;
  const frame::Text<10>* time1 = nullptr;
  geometry::NodalPlane plane;
  int n = 0;
};

// Maps the events (their count is taken inside 0..nmax): fills xd/yd, draws the epicentres
// and the stress symbols of the plane and, with lsish, writes the Si-Sh lines to the unit of
// output slot kout (when that slot is not open, a warning says so once per run and no line is
// written). The map is drawn in subplot isub. Modes 4 and 5 only initialise the map settings
// (with those of the grid, the projection, the point layer and the stress symbols); any other
// mode runs the map menu until 99.
void mapseis4(const MapEvents& events, int nmax, int kout, bool lsish, int isub,
              frame::Mode mode);

}  // namespace korbast::maps
