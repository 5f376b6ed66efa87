#include "plot/life_cycle.hpp"

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/plotparam.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

constexpr frame::Identity id_plinit{"plinit", " 6.1", "14-05-2010"};
constexpr frame::Identity id_plend{"plend", " 6.0", "17-03-2009"};
constexpr frame::Identity id_newpage{"newpage", " 6.0", "17-03-2009"};

namespace {

using frame::iocom;

using frame::say;
using frame::say_item;

}  // namespace

void plinit(std::string_view name, int idev) {
  if (iocom.plot_open) {
    frame::warninghead(id_plinit);
    say_item("Plot file or window is already opened");
    say_item("==> appending to current plot file/window");
    frame::warningtail00();
    return;
  }
  intplinit(name, idev);
  iocom.plot_open = true;
  splotparam2(idev == 2 || idev == 3 ? 7 : 5);
}

void plend() {
  if (!iocom.plot_open) {
    frame::warninghead(id_plend);
    say_item("The plot window or file is already closed");
    frame::warningtail00();
    frame::answer_refused();  // the menu's close, with nothing to close
    return;
  }
  intplend();
  iocom.plot_open = false;
}

void newpage() {
  int status = 0;
  frame::submenuhead(id_newpage);
  say_item("IT IS SUGGESTED TO CLEAR THE PLOT");
  say_item("You can:");
  say_item("clear the window / add a page to the file ..0");
  say_item("close the window / file and open a new one .1");
  say_item("append to the current window / file ........2");
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

bool window_step(int choice, std::string_view plotname, int draw, bool filled) {
  const bool drawing = draw != 0 && choice == draw;
  if (choice == 20) {
    plend();
  } else if (drawing && iocom.plot_open) {
    newpage();
  } else if (choice == 10 && iocom.plot_open) {
    plinit(plotname, 2);
  } else if (choice == 10 || drawing) {
    plinit(plotname, 2);
    if (filled) {
      int fill = 1;
      sfillstyle(fill, 5);
    }
    return true;
  }
  return false;
}

}  // namespace korbast::plot
