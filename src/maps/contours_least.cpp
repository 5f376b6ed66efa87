// The map-line layer as far as this build has it: its settings routine answers the
// initialisation that the projection set-up asks of it at start-up. Drawing map line files is
// not in this build yet, so the other modes do nothing.
#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/setups.hpp"

namespace korbast::maps {

// Settings of the map-line layer; modes 4 and 5 initialise them. The four bounds (degrees)
// are the map window, which the initialisation does not read.
void contours1(float longmin, float longmax, float latmin, float latmax, int mode);

// Registers the map-side routines that the projection library calls.
void register_projection_hooks();

void contours1(float, float, float, float, int mode) {
  if (mode == 4 || mode == 5) {
    frame::submenuhead("contours1", "", "");
    frame::units::write_line(frame::iocom.stdout_unit, " INITIALIZING MAP CONTOURS");
  }
}

namespace {

void contours_for_projection(int mode) {
  const float unused = 0.0f;
  contours1(unused, unused, unused, unused, mode);
}

}  // namespace

void register_projection_hooks() { projection::set_contours_hook(contours_for_projection); }

}  // namespace korbast::maps
