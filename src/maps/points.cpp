// The point layer of a map: menu, the typed point, the points of a column-data file, and the
// listing of what was plotted.
#include "maps/points.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "columns/arrays.hpp"
#include "columns/readreal.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/text.hpp"
#include "plot/attributes.hpp"
#include "plot/curves.hpp"
#include "plot/symbols.hpp"
#include "plot/symboltype.hpp"
#include "projection/projection.hpp"

namespace korbast::maps {

MappointSettings mappoint_settings;

namespace {

namespace fmt = frame::fmt;
using frame::say;
using frame::say_int;

const auto& id = id_mappoint;

using frame::say_item;
// One blank and 22 "=".
void rule22() { frame::say_rule('=', 22); }

void menu(bool lproj) {
  const auto& st = mappoint_settings;
  frame::submenuhead(id);
  frame::say_rule();
  say_item("MAPPING POINTS");
  frame::say_rule();
  say(fmt::Line().item("use projection .............13").x(1).l(lproj, 1).str());
  say(fmt::Line().item("screen listing .............14").x(1).l(st.llist, 1).str());
  say_int("line color .................51", st.linecolor, 6);
  say_int("fill color .................52", st.fillcolor, 6);
  say_int("symbol type ................53", st.isymb, 6);
  say(fmt::Line().item("symbol size ................54").x(1).f(st.symbsize, 8, 3).str());
  say(fmt::Line().item("X or longitude .............10").x(1).f(st.xpt, 8, 3).str());
  say(fmt::Line().item("Y or latitude ..............20").x(1).f(st.ypt, 8, 3).str());
  frame::say_rule();
  say_item("Plot single point (x,y ) ..100");
  say_item("Plot set of point (file) ..200");
  frame::say_rule();
  say_item("RETURN TO MAIN .............99");
  frame::menutail();
}

// The plot attributes the layer changes, in the order they are saved and given back.
struct Attributes {
  int linecolor = 0, fillcolor = 0, symbtype = 0;
  float symbsize = 0.0f;
  void set(frame::Mode mode) {
    plot::slinecolor(linecolor, mode);
    plot::sfillcolor(fillcolor, mode);
    plot::ssymboltype(symbtype, mode);
    plot::ssymbolsize(symbsize, mode);
  }
};

// Projects (or keeps) the n points of the buffer and draws them.
void plot_points(bool lproj, int n, bool typed) {
  auto& b = plot::cc2dbuff;
  if (lproj) {
    rule22();
    say_item("PROJECTING LOCATIONS");
    say_item("LONG, LAT (input) --> X, Y");
    if (typed) {
      b.xp[0] = frame::rad(mappoint_settings.xpt);
      b.yp[0] = frame::rad(mappoint_settings.ypt);
    } else {
      frame::deg2rad(b.xp, b.xp, n);
      frame::deg2rad(b.yp, b.yp, n);
    }
    projection::projlln(b.xp, b.yp, b.xp, b.yp, n);
  } else {
    rule22();
    say_item("NO PROJECTION");
    say_item("X, Y = input ");
    rule22();
    if (typed) {
      b.xp[0] = mappoint_settings.xpt;
      b.yp[0] = mappoint_settings.ypt;
    }
  }
  rule22();
  say_item("PLOTTING LOCATION");
  rule22();
  plot::ussymbol(b.xp, b.yp, n);
}

// The first 8 characters of a name, blank-padded to 8 columns (a character is never split).
std::string name8(std::string_view s) { return fmt::A(std::string(s) + std::string(8, ' '), 8); }

void listing(int n, const frame::Text<10> (&varnam)[2], const frame::Text<10> (&colnam)[2]) {
  rule22();
  say_item("Plotted coordinates:");
  rule22();
  auto head = [](const frame::Text<10> (&names)[2]) {
    fmt::Line l(" |");
    l.a("nb", 3);
    for (const auto& nm : names) l.a("|").a(name8(nm.view()));
    l.a("|");
    say(l.str());
  };
  head(varnam);
  head(colnam);
  auto& ipt = plot::ptblock.ipt;
  for (ipt = 1; ipt <= n; ++ipt) {
    const auto k = static_cast<std::size_t>(ipt - 1);
    say(fmt::Line(" |")
            .i(ipt, 3)
            .a("|")
            .f(plot::cc2dbuff.xp[k], 8, 3)
            .a("|")
            .f(plot::cc2dbuff.yp[k], 8, 3)
            .a("|")
            .str());
  }
  rule22();
}

}  // namespace

void mappoint(bool& lproj, frame::Mode mode) {
  auto& st = mappoint_settings;
  if (mode.from_default()) {
    frame::submenuhead(id);
    say_item("INITIALIZING PARAMETERS");
    st = MappointSettings{};
    return;
  }

  Attributes saved;
  saved.set(3);
  Attributes layer{st.linecolor, st.fillcolor, st.isymb, st.symbsize};
  layer.set(1);

  frame::Text<10> varnam[2];
  frame::Text<10> colnam[2];  // the file's column names; blank until a file is read
  frame::Text<20> title;
  frame::FileName<40> fname;  // offered again, whole, at the next file read of this call
  int status = 0;
  for (;;) {
    menu(lproj);
    int choice = 0;
    frame::ininteg1(choice, "your choice", status);
    frame::take_choice(choice, {10, 13, 14, 20, 51, 52, 53, 54, 99, 100, 200});
    switch (choice) {
      case 10:
        frame::inrealdef(st.xpt, "X or long-deg", st.xpt, status);
        break;
      case 20:
        frame::inrealdef(st.ypt, "Y or lat-deg", st.ypt, status);
        break;
      case 13:
        frame::inlogicdef(lproj, "project coordinates ?", lproj, status);
        break;
      case 14:
        frame::inlogicdef(st.llist, "coord on sreen ?", st.llist, status);
        break;
      case 51:
        plot::slinecolor(st.linecolor, 0);
        break;
      case 52:
        plot::sfillcolor(st.fillcolor, 0);
        break;
      case 53:
        plot::ssymboltype(st.isymb, 0);
        break;
      case 54:
        plot::ssymbolsize(st.symbsize, 0);
        break;
      case 99:
        saved.set(1);
        return;
      default:
        break;
    }
    if (choice != 100 && choice != 200) continue;

    varnam[0] = "X-long";
    varnam[1] = "Y-lat";
    int npts = 1;
    if (choice == 200) {
      int jacol[2] = {1, 2};
      int jfcol[2] = {1, 2};
      int ndisp = 4, iskip = 2, ititle = 1, iheader = 2, nvar = 2;
      int inotread = 0, nrow = 0, ncolused = 0;
      auto& b = plot::cc2dbuff;
      columns::readreal6(inotread, title, fname, frame::Text<35>("long-lat data input").view(),
                         kPointsUnit, ndisp, iskip, ititle, iheader, jacol, jfcol, varnam, nvar,
                         2, columns::RealArray({b.xp, b.yp}, plot::kMaxCurvePoints), colnam,
                         nrow, ncolused, plot::kMaxCurvePoints, 2, 1, 0);
      if (inotread != 0) {
        frame::warninghead(id);
        say_item("INPUT FILE HAS NOT BEEN READ");
        say_item("====> NO DATA");
        say_item("====> SKIPPING PLOT");
        frame::warningtail00();
        continue;
      }
      npts = std::clamp(nrow, 0, plot::kMaxCurvePoints);
      say_item("INPUT FILE HAS BEEN READ");
      say_int("NB OF DATA =", npts, 6);
      say_item("====> GOING TO PLOT");
    }
    plot_points(lproj, npts, choice == 100);
    if (st.llist) listing(npts, varnam, colnam);
  }
}

}  // namespace korbast::maps
