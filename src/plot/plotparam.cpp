// The plot attributes menu and the (re)initialisation of the plot library's state.
//
//   mode  angles      page scale and subplots                    colours  attributes   menu
//   0, 2  kept        kept                                       kept     kept         yes (setters in 2)
//   1, 3  kept        kept                                       kept     kept         no
//   4     recomputed  scale (open); user-to-cm of all defaults   menu     menus (open) yes (setters in 4)
//   5     recomputed  as 4                                       reset    reset (open) no
//   6     kept        scale and user-to-device of all (open)     kept     menus (open) yes (setters in 4)
//   7     kept        as 6                                       kept     reset (open) no
//   8     recomputed  as 4                                       menu     kept         yes (setters in 4)
//   9     recomputed  as 4                                       reset    kept         no
// Other even modes show the menu with the setters in 4 (in 2 below 4); other odd modes do
// nothing. Mode 7 is the window opening.
#include "plot/plotparam.hpp"

#include <span>
#include <string>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/colortable.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/subplots.hpp"
#include "plot/symboltype.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using namespace frame::console;

constexpr frame::Identity id_splotparam2{"splotparam2", " 6.0", "14-05-2010"};

// Every setter in the order of a window opening, in mode 4 (with menus) or 5.
void reset_attributes(frame::Mode mode) {
  float thickness = 0.0f, height = 0.0f, angle = 0.0f, size = 0.0f;
  int style = 0, color = 0, font = 0, just = 0, type = 0;
  slinewidth(thickness, mode);
  slinestyle(style, mode);
  slinecolor(color, mode);
  stextsize(height, mode);
  stextfont(font, mode);
  stextangle(angle, mode);
  stextalign(just, mode);
  stextcolor(color, mode);
  sfillstyle(style, mode);
  sfillcolor(color, mode);
  ssymbolsize(size, mode);
  ssymboltype(type, mode);
}

// Choice 51: the table of colours, then the editing menu of one entry (not the background).
void edit_rgb(frame::Mode setmode) {
  int n = 0;
  scolornb(n, frame::Mode::kStored);
  say_rule();
  {
    fmt::Line h;
    h.item("|index|").a("name", 10).a("|");
    for (std::string_view c : {"red%", "green%", "blue%"}) h.x(1).a(c, 6).x(1).a("|");
    say(h.str());
  }
  frame::Text<35> name;
  float r = 0.0f, g = 0.0f, b = 0.0f;
  for (int i = 0; i <= n; ++i) {
    int index = i;
    scolorrgb(index, name, r, g, b, frame::Mode::kStored);
    std::string left(name.view().substr(0, 10));
    left.resize(10, ' ');
    fmt::Line row;
    row.item("|").x(1).i(index, 3).x(1).a("|").a(left).a("|");
    for (float c : {r, g, b}) row.x(1).f(c, 6, 1).x(1).a("|");
    say(row.str());
  }
  say_rule();
  int index = 1;
  int status = 0;
  frame::inintegvin1(index, "index of color to modify", 1, n, status);
  scolorrgb(index, name, r, g, b, setmode);
}

void menu(frame::Mode mode) {
  bool current = mode.from_value();
  frame::Mode setmode = current ? frame::Mode::kStoredMenu : frame::Mode::kDefaultMenu;
  for (;;) {
    const bool open = iocom.plot_open;
    frame::submenuhead(id_splotparam2);
    if (iocom.lwito(2)) {
      say_rule();
      say_item("         SETTING PLOT ATTRIBUTES");
      say_rule();
      say_item("GET SETTINGS");
      say(fmt::Line().item(" from currently stored..... 1").item(current ? "T" : "F").str());
      say(fmt::Line().item(" from initialisation....... 1").item(current ? "F" : "T").str());
      say_rule();
      say_item("COLOR TABLE:");
      say_item(" nb of color ..............50");
      say_item(" rgb values ...............51");
      say_item(" color table ..............52");
      if (open) {
        say_item("LINE ATTRIBUTES:");
        say_item(" thickness ................10");
        say_item(" style ....................11");
        say_item(" color ....................12");
        say_item("POLYGON FILL ATTRIBUTES:");
        say_item(" interior style ...........20");
        say_item(" interior color ...........21");
        say_item("TEXT ATTRIBUTES:");
        say_item(" font .....................30");
        say_item(" size .....................31");
        say_item(" justification ............32");
        say_item(" angle ....................33");
        say_item(" color ....................34");
        say_item("SYMBOL ATTRIBUTES:");
        say_item(" type .....................40");
        say_item(" size .....................41");
      } else {
        say_item("THE PLOT IS CLOSED:");
        say_item(" => OTHER SETTINGS WILL BE RESET");
        say_item("    UPON PLOT OPENING");
      }
      say_rule();
      say_item("EXIT THIS SET UP  .........99");
      frame::menutail();
    }
    int status = 0;
    const int choice = frame::menu_choice();
    frame::take_choice(choice, {1, 50, 51, 52, 99});  // 50 shown always, acting in a window
    if (open) frame::take_choice(choice, {10, 11, 12, 20, 21, 30, 31, 32, 33, 34, 40, 41});
    if (choice == 99) return;

    float real = 0.0f;
    int integer = 0;
    switch (choice) {
      case 1: {
        frame::inlogicdef(current, "whether to use current(1) or initial(0) param", current,
                          status);
        setmode = current ? frame::Mode::kStoredMenu : frame::Mode::kDefaultMenu;
        break;
      }
      case 51:
        edit_rgb(setmode);
        break;
      case 52:
        scolortable(setmode);
        break;
      default:
        if (!open) break;
        switch (choice) {
          case 10: slinewidth(real, setmode); break;
          case 11: slinestyle(integer, setmode); break;
          case 12: slinecolor(integer, setmode); break;
          case 20: sfillstyle(integer, setmode); break;
          case 21: sfillcolor(integer, setmode); break;
          case 30: stextfont(integer, setmode); break;
          case 31: stextsize(real, setmode); break;
          case 32: stextalign(integer, setmode); break;
          case 33: stextangle(real, setmode); break;
          case 34: stextcolor(integer, setmode); break;
          case 40: ssymboltype(integer, setmode); break;
          case 41: ssymbolsize(real, setmode); break;
          case 50: scolornb(integer, setmode); break;
          default: break;
        }
        break;
    }
  }
}

}  // namespace

void splotparam2(frame::Mode mode) {
  const bool resets_all = mode.from_default() || mode.all_but_attributes();
  const bool window_mode = mode.all_subplots();

  // The angle constants' report (the constants themselves are fixed).
  if (resets_all) frame::trigoset();

  // The page scale.
  if (mode.initialising() || mode.all_but_attributes()) {
    frame::submenuhead(id_splotparam2);
    say_item("INITIALIZING PLOT PARAMETERS");
    say_item("INITIALIZING SUBPLOT SCALING");
    if (iocom.plot_open) {
      say_item(" 1: CM <-> DE");
      scm2de();
    } else {
      say_item(" 1: CM <-> DE: untouched (plot file closed)");
    }
  }

  // A new window: the user-to-device transforms of every subplot from the kept scalings.
  if (window_mode) {
    say_item(" 2: US <-> CM unchanged");
    if (iocom.plot_open) {
      say_item("    US <-> DE");
      for (int k = 1; k <= kSubplots; ++k) {
        int isub = k;
        set_subplot(isub);
        sus2de();
      }
    } else {
      say_item("    US <-> DE: untouched (plot file closed)");
    }
    int isub = 1;
    ssubplot(isub, mode.menu() ? frame::Mode::kDefaultMenu : frame::Mode::kDefault);
  }

  // Everything from its defaults: the scalings of all subplots and the colour table.
  if (resets_all) {
    const frame::Mode sub_mode = mode.menu() ? frame::Mode::kAllMenu : frame::Mode::kAll;
    say_item(" 2: US <-> CM");
    say_item(iocom.plot_open ? "    US <-> DE" : "    US <-> DE: untouched (plot file closed)");
    int isub = 1;
    ssubplot(isub, sub_mode);
    float xcm0 = 0.0f, ycm0 = 0.0f, xx = 0.0f, xy = 0.0f, yx = 0.0f, yy = 0.0f;
    sus2cm1(xcm0, ycm0, xx, xy, yx, yy, sub_mode);
    scolortable(mode.menu() ? frame::Mode::kDefaultMenu : frame::Mode::kDefault);
  }

  // The attributes, when there is a window to draw with them.
  if (mode.initialising() && iocom.plot_open) {
    reset_attributes(mode.menu() ? frame::Mode::kDefaultMenu : frame::Mode::kDefault);
  }

  if (mode.menu()) menu(mode);
}

}  // namespace korbast::plot
