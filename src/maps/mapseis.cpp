// The seismicity-map driver: settings menu, plot window steps and the map run.
#include "maps/mapseis.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/seistest.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/runinfo.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "maps/contours.hpp"
#include "maps/grid.hpp"
#include "maps/lines.hpp"
#include "maps/points.hpp"
#include "maps/sish.hpp"
#include "maps/stress.hpp"
#include "maps/stress_symbols.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/life_cycle.hpp"
#include "plot/plotparam.hpp"
#include "plot/subplots.hpp"
#include "plot/symbols.hpp"
#include "plot/symboltype.hpp"
#include "projection/axes.hpp"
#include "projection/menu.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"

namespace korbast::maps {

MapseisSettings mapseis_settings;

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using frame::say;
using frame::say_int;

const auto& id = id_mapseis;

using frame::say_item;
void flag_line(std::string_view text, bool value) {
  say(fmt::Line().item(text).x(1).l(value, 1).str());
}

// A box of the map run: rules of 36 "=" around its title lines.
void box(std::string_view title, std::string_view second = {}) {
  frame::say_rule('=', 36);
  say_item(title);
  if (!second.empty()) say_item(second);
  frame::say_rule('=', 36);
}

void menu_body(int n, int nmax) {
  const auto& st = mapseis_settings;
  frame::say_rule();
  say_item("SET UP:");
  frame::say_rule('-', 32);
  say_item("PLOT:");
  say(fmt::Line().item("plot file name:").x(1).a(st.plotname.view().substr(0, 20)).str());
  say_item("open plot file  ..............10");
  say_item("scaling ......................11");
  say_item("plot parameters ..............12");
  flag_line("scale to fit grid ............15", st.lscale);
  say_item("close file = end plot ........20");
  frame::say_rule('-', 32);
  say_item("MAP:");
  say_item("projection ..................300");
  say_item("Epicenter symbol type .......310");
  say_item("Symbols size + Sh type ......315");
  say_item("lat long grid ...............320");
  say_item("grid bounds from test bounds 330");
  flag_line("Plot contours ...............340", st.lcontours);
  flag_line("plot epicenters .............341", st.lepic);
  flag_line("plot sh directions ..........342", st.lsh);
  flag_line("plot symbol lat-long ........343", st.lpoints);
  frame::say_rule('-', 32);
  say_item("DATA:");
  say_int("maximum nb of data =", nmax, 6);
  say_int("current nb of data =", n, 6);
  say(fmt::Line().item("plunge threshold for isv ....400").x(1).f(st.threshold, 8, 3).str());
  frame::say_rule();
  say_item("RUN = CREATE MAP ...........1000");
  say_item("EXIT .........................99");
}

void help_box() {
  frame::submenuhead(id);
  frame::say_rule('=');
  say_item("                HELP DESK:                 ");
  say_item("questions and reports: see the korbast README");
  frame::say_rule('=');
}

// The grid settings as stored (degrees).
struct GridValues {
  float latmin = 0, latmax = 0, longmin = 0, longmax = 0, latinc = 0, longinc = 0;
  int nptline = 0;
  float ticsize = 0;
  int npttick = 0, igridtype = 0;
  void call(frame::Mode mode) {
    sllgrid2(latmin, latmax, longmin, longmax, latinc, longinc, nptline, ticsize, npttick,
             igridtype, mode);
  }
};

// Command 330: the grid bounds become the position bounds of the extraction criteria.
void grid_from_test_bounds() {
  float latmin = 0, latmax = 0, longmin = 0, longmax = 0, depthmin = 0, depthmax = 0;
  catalogue::gscseistest(latmin, latmax, longmin, longmax, depthmin, depthmax);
  GridValues g;
  g.call(3);
  g.latmin = latmin;
  g.latmax = latmax;
  g.longmin = longmin;
  g.longmax = longmax;
  g.call(1);
}

// The symbol size and type of the plot library, saved to be given back on leaving.
struct SavedSymbol {
  float size = 0.0f;
  int type = 0;
  void save() {
    size = plot::symbol_size();
    type = plot::symbol_type();
  }
  void restore() {
    plot::set_symbol_size(size);
    plot::set_symbol_type(type);
  }
};

// The caption "Number of data: " and the count, in a text of 35 characters.
frame::Text<35> count_caption(int n) {
  frame::Text<7> digits;
  int count = 0;
  frame::intg2char(digits, count, 7, n);
  std::string s = "Number of data: ";
  s += digits.view().substr(0, static_cast<std::size_t>(std::clamp(count, 0, 7)));
  return frame::Text<35>(s);
}

// The stress layer of one run: per event the principal axes, SHmax, the console listing,
// the symbols and the Si-Sh record.
void stress_layer(const MapEvents& ev, int kout, bool lsish, float thr) {
  box("PLOTTING STRESS DIRECTIONS");
  const int unit = lsish ? sish_begin(kout, id) : 0;
  for (int i = 0; i < ev.n; ++i) {
    const geometry::PlaneAngles plane = ev.plane.at(i);
    geometry::Axes axes;
    projection::fsadr2steff(axes.azimuth, axes.plunge, frame::rad(plane.strike),
                            frame::rad(plane.dip), frame::rad(plane.rake), 0.0f);
    // An axis combination the rule does not cover leaves the azimuth at 0.
    float azshmax = 0.0f;
    int isv = 0;
    siap2sv(&azshmax, &isv, axes, thr, 1);
    writepbsv(&azshmax, &isv, axes, 1, iocom.stdout_unit);
    isv = std::abs(isv);
    dmapsh2(&ev.xd[i], &ev.yd[i], &azshmax, &isv, 1);
    if (lsish) {
      sish_write_record(unit, ev.date1[i], ev.time1[i], ev.rlat[i], ev.rlong[i], ev.depth[i],
                        plane, axes, isv, azshmax);
    }
  }
  // The run's lines reach the file now (it stays open for the next run): the user can read
  // them at once, and a later crash cannot take them back.
  if (unit != 0) frame::units::flush(unit);
}

void run(const MapEvents& ev, int isub, int kout, bool lsish, float thr) {
  const auto& st = mapseis_settings;
  plot::set_subplot(isub);
  box("PLOTTING INFORMATION");

  const int align = plot::text_align();
  plot::set_text_align(-2);
  plot::cmplotruninfo0(10.5f, 28.0f, 1);
  plot::set_text_align(-1);
  plot::cmplotcharinfo0(count_caption(ev.n).view(), 1, 2.0f, 28.0f, 1);
  plot::set_text_align(align);

  if (st.lscale) {
    box("SCALING GRID IN A4 Portrait");
    float xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    extrllgrid(xmin, ymin, xmax, ymax);
    float x0 = 2.0f, y0 = 2.0f, xl = 17.0f, yl = 26.0f;
    int ixy = 1;
    plot::sus2cm3(x0, y0, xl, yl, xmin, xmax, ymin, ymax, ixy, 1);
  }

  box("PLOTTING LAT LONG GRID");
  drawllgrid();

  if (st.lpoints) {
    box("PLOTTING LOCATION");
    bool lproj = true;
    mappoint(lproj, 0);
  }

  if (st.lepic || st.lsh) {
    float sizmax = 0, sizmin = 0;
    int iepi = 0, ish = 0;
    smapsh2(sizmax, sizmin, iepi, ish, 3);
    plot::set_symbol_size(sizmax);
    plot::set_symbol_type(st.iepisymb);
    box("PROJECTING EPICENTERS", "LONG, LAT --> X, Y");
    frame::deg2rad(ev.xd, ev.rlong, ev.n);
    frame::deg2rad(ev.yd, ev.rlat, ev.n);
    projection::projlln(ev.xd, ev.yd, ev.xd, ev.yd, ev.n);
  }

  if (st.lepic) {
    box("PLOTTING EPICENTERS");
    plot::ussymbol(ev.xd, ev.yd, ev.n);
  }

  if (st.lsh) stress_layer(ev, kout, lsish, thr);

  if (st.lcontours) {
    box("PLOTTING LAT LONG CONTOURS");
    GridValues g;
    g.call(3);
    contours1(g.longmin, g.longmax, g.latmin, g.latmax, 1);
  }
}

void initialise(int isub, frame::Mode mode) {
  frame::submenuhead(id);
  say_item("INITIALIZING MAP PARAMETERS");
  mapseis_settings = MapseisSettings{};
  plot::set_subplot(isub);
  plot::set_user_to_cm(10.0f, 8.0f, 2.5f, 0.0f, 0.0f, 2.5f);
  GridValues g;
  g.call(mode);
  // The projection set-up resets the map-line layer as it initialises: the hook must be in
  // place first.
  register_projection_hooks();
  int iproj = 0;
  projection::sprojll2(iproj, mode.code());
  bool lproj = true;
  mappoint(lproj, mode);
  float sizmax = 0, sizmin = 0;
  int iepi = 0, ish = 0;
  smapsh2(sizmax, sizmin, iepi, ish, mode);
}

// The yes/no settings of the menu: the answer, the setting, the question.
struct FlagCommand {
  int choice;
  bool MapseisSettings::*flag;
  std::string_view question;
};
constexpr FlagCommand kFlagCommands[] = {
    {15, &MapseisSettings::lscale, "scale plot to grid"},
    {340, &MapseisSettings::lcontours, "Plot contours"},
    {341, &MapseisSettings::lepic, "Plot epicenters"},
    {342, &MapseisSettings::lsh, "plot sh directions"},
    {343, &MapseisSettings::lpoints, "symbol lat-long"},
};

// The settings commands of the menu (the window steps and the run apart).
void command(int choice, int isub) {
  auto& st = mapseis_settings;
  int status = 0;
  for (const FlagCommand& c : kFlagCommands) {
    if (c.choice == choice) frame::inlogicdef(st.*c.flag, c.question, st.*c.flag, status);
  }
  switch (choice) {
    case 11: {
      plot::set_subplot(isub);
      float a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
      plot::sus2cm1(a, b, c, d, e, f, 2);
      break;
    }
    case 12:
      plot::splotparam2(0);
      break;
    case 300: {
      int iproj = 0;
      projection::sprojll2(iproj, 2);
      break;
    }
    case 310:
      say_item("choose epicenter symbol");
      plot::ssymboltype(st.iepisymb, 0);
      break;
    case 315: {
      float sizmax = 0, sizmin = 0;
      int iepi = 0, ish = 0;
      smapsh2(sizmax, sizmin, iepi, ish, 2);
      break;
    }
    case 320: {
      GridValues g;
      g.call(2);
      break;
    }
    case 330:
      grid_from_test_bounds();
      break;
    case 400:
      frame::inrealdef(st.threshold, "plunge threshold for isv in deg", st.threshold, status);
      break;
    case 900:
      help_box();
      break;
    default:
      break;
  }
}

}  // namespace

void mapseis4(const MapEvents& events, int nmax, int kout, bool lsish, int isub,
              frame::Mode mode) {
  if (mode.from_default()) {
    initialise(isub, mode);
    return;
  }
  auto& st = mapseis_settings;
  // The store never holds more than its capacity; a count outside it maps what exists.
  MapEvents ev = events;
  ev.n = std::clamp(events.n, 0, std::max(nmax, 0));

  frame::ssubinfo(id, 0, 0);
  // The symbol size and type to give back on leaving. They are given back only while the
  // window is open, and an open window was either open now or opened below (which saves
  // again), so reading them now whatever the window is the same as reading them only when
  // it is open.
  SavedSymbol saved;
  saved.save();

  for (;;) {
    frame::submenuhead(id);
    if (iocom.lwito(2)) {
      menu_body(ev.n, nmax);
      frame::menutail();
    }
    int choice = frame::menu_choice();
    frame::take_choice(choice, {10, 11, 12, 15, 20, 99, 300, 310, 315, 320, 330, 340, 341, 342,
                                343, 400, 900, 1000});

    command(choice, isub);

    if (plot::window_step(choice, st.plotname.view(), 1000, true)) saved.save();
    if (choice == 99) {
      if (iocom.plot_open) saved.restore();
      return;
    }

    if (choice == 1000) run(ev, isub, kout, lsish, frame::rad(st.threshold));
  }
}

}  // namespace korbast::maps
