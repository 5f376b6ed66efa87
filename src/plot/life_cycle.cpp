#include "plot/life_cycle.hpp"

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

namespace {

using frame::iocom;

void say(std::string_view text) {
  frame::units::write_line(iocom.stdout_unit, frame::fmt::Line().item(text).str());
}

}  // namespace

void plinit(std::string_view name, int idev) {
  if (iocom.plot_open) {
    frame::warninghead("plinit", " 6.1", "14-05-2010");
    say("Plot file or window is already opened");
    say("==> appending to current plot file/window");
    frame::warningtail00();
    return;
  }
  intplinit(name, idev);
  iocom.plot_open = true;
  splotparam2(idev == 2 || idev == 3 ? 7 : 5);
}

void plend() {
  if (!iocom.plot_open) {
    frame::warninghead("plend", " 6.0", "17-03-2009");
    say("The plot window or file is already closed");
    frame::warningtail00();
    return;
  }
  intplend();
  iocom.plot_open = false;
}

void newpage() {
  int status = 0;
  frame::submenuhead("newpage", " 6.0", "17-03-2009");
  say("IT IS SUGGESTED TO CLEAR THE PLOT");
  say("You can:");
  say("clear the window / add a page to the file ..0");
  say("close the window / file and open a new one .1");
  say("append to the current window / file ........2");
  frame::menutail();
  int choice = 0;
  frame::inintegvindef(choice, "your choice", 0, 0, 2, status);
  if (choice == 0) {
    intnewpage();
  } else if (choice == 1) {
    plend();
    plinit("Next_plot", 2);
  }
}

}  // namespace korbast::plot
