#include "focal/beachball.hpp"

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::focal {

namespace {
int sprojtype = 4;
}

// The beach-ball pages are not in this build yet: initialising announces the settings, and
// the menu offers only its exit.
void fpsbchbll(const float*, const float*, const float*, const float*, const float*, const float*,
               const frame::Text<10>*, int, int, int, int, int mode) {
  using namespace frame;
  constexpr std::string_view n = "fpsbchbll", v = " 7.0", d = "01-05-2010";
  if (mode == 4 || mode == 5) {
    submenuhead(n, v, d);
    units::write_line(iocom.stdout_unit, " INITIALIZING FPS PLOT PARAMETERS");
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

void sspro(int& iproj, int mode) {
  using namespace frame;
  if (mode >= 4 && mode <= 7) {
    iproj = 4;
    submenuhead("sspro", " 1.0", "06-05-2010");
    units::write_line(iocom.stdout_unit, " INITIALIZING STEREOGRAPHIC PROJECTION");
    units::write_line(iocom.stdout_unit,
                      fmt::Line().item("projection number =").x().i(iproj, 4).str());
    units::write_line(iocom.stdout_unit, " projection = Schmidt, retrograde X,Y axis");
    sprojtype = iproj;
  } else if (mode == 2 || mode == 3) {
    iproj = sprojtype;
  }
}

}  // namespace korbast::focal
