#include "maps/mapseis.hpp"

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/setups.hpp"

namespace korbast::maps {

void register_projection_hooks();  // contours_least.cpp

// The map layers are not in this build yet: initialising announces the settings, and the
// menu offers only its exit.
void mapseis4(float*, float*, const float*, const float*, const float*, const frame::Text<10>*,
              const frame::Text<10>*, const float*, const float*, const float*, int, int, int,
              bool, int, int mode) {
  using namespace frame;
  constexpr std::string_view n = "mapseis", v = " 6.6", d = "06-05-2010";
  if (mode == 4 || mode == 5) {
    submenuhead(n, v, d);
    units::write_line(iocom.stdout_unit, " INITIALIZING MAP PARAMETERS");
    // The projection set-up resets the map-line layer as it initialises: the hook must be
    // in place first.
    register_projection_hooks();
    int iproj = 15;
    projection::sprojll2(iproj, mode);
    return;
  }
  int choice = 99;
  do {
    submenuhead(n, v, d);
    if (iocom.lwito(2)) units::write_line(iocom.stdout_unit, " EXIT.........................99");
    menutail();
    int status = 0;
    inintegdef(choice, "your choice", 99, status);
  } while (choice != 99);
}

}  // namespace korbast::maps
