#include "maps/grid.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/text.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/curves.hpp"
#include "plot/userspace.hpp"
#include "projection/projection.hpp"

namespace korbast::maps {

Llgrid llgrid;

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using frame::say;
using frame::say_int;

constexpr frame::Identity id_sllgrid2{"sllgrid2", " 2.4", "17-12-2006"};
constexpr frame::Identity id_drawllgrid{"drawllgrid", " 2.3", "11-08-2002"};


// ---- The settings menu ----

struct GridValues {
  float latmin, latmax, longmin, longmax, latinc, longinc, ticsize;
  int nptline, npttick, igridtype;
};


void menu_body(const GridValues& g) {
  std::string title = " LATITUDE-LONGITUDE GRID PARAMETERS";
  title.resize(44, ' ');
  frame::say_rule();
  say(title);
  frame::say_rule();
  say(" latitude min, max and inc .....10");
  frame::say_real("latitude minimum ..............11", g.latmin, 8, 3);
  frame::say_real("latitude maximum ..............12", g.latmax, 8, 3);
  frame::say_real("latitude increment ............13", g.latinc, 8, 3);
  say(" longitude min, max and inc ....20");
  frame::say_real("longitude minimum .............21", g.longmin, 8, 3);
  frame::say_real("longitude maximum .............22", g.longmax, 8, 3);
  frame::say_real("longitude increment ...........23", g.longinc, 8, 3);
  frame::say_int("nb of points to draw grid.......6", g.nptline, 6);
  frame::say_int("nb of points to draw tick.......7", g.npttick, 6);
  frame::say_int("grid type ......................8", g.igridtype, 6);
  frame::say_real("tic size (degrees) .............9", g.ticsize, 8, 3);
  // Frames with many points per tick but few per line: only a remark.
  if ((g.igridtype == 2 || g.igridtype == 3) && g.npttick > std::max(2, g.nptline / 3)) {
    frame::say_rule();
    say(" WARNING:");
    say(" too many points for tick marks ?");
    frame::say_rule();
  }
  frame::say_rule();
  say(" EXIT ..........................99");
}

// An increment of 0 would divide the spans by zero when the grid is drawn: it is refused.
void refuse_zero_increment(std::string_view name) {
  frame::errorhead(id_sllgrid2);
  say(fmt::Line().item(std::string(name) + " =").x().f(0.0, 8, 3).str());
  say(" ==> AN INCREMENT OF 0 IS REFUSED");
  frame::errortail00();
}

// A real question for an increment, asked again while the answer is 0, offering the increment
// held before.
void ask_increment(float& inc, std::string_view prompt) {
  frame::ask_until_taken(
      inc,
      [prompt](float& v) {
        int status = 0;
        frame::inrealdef(v, prompt, v, status);
      },
      [prompt](float v) {
        if (v != 0.0f) return true;
        refuse_zero_increment(prompt);
        return false;
      });
}

// Commands 10 and 20: three reals in free format (minimum, maximum, increment), kept only
// when all three were read; a read error (or an increment of 0) asks again, anything else
// (the end of the input included) goes back to the menu.
void ask_triple(bool latitude, float& vmin, float& vmax, float& inc) {
  const std::string head = latitude ? " enter latitude mini, maxi and increment"
                                    : " enter longitude mini, maxi and increment";
  const std::string unit_line = std::string(head.size() - 10, ' ') + "in degrees";
  for (;;) {
    say(head);
    say(unit_line);
    float a = vmin, b = vmax, c = inc;
    frame::ListReader r(iocom.stdin_unit, id_sllgrid2.name, head);
    r.f(a).f(b).f(c);
    if (r.status() == frame::ListStatus::Error) continue;
    if (r.status() == frame::ListStatus::Eof) return;
    if (c == 0.0f) {
      refuse_zero_increment(latitude ? "latitude increment" : "longitude increment");
      continue;
    }
    frame::answer_taken();
    vmin = a;
    vmax = b;
    inc = c;
    return;
  }
}

// A point count above kMaxGridPoints is reduced to it, with a warning.
void cap_points(int& count, std::string_view name) {
  if (count <= kMaxGridPoints) return;
  frame::warninghead(id_sllgrid2);
  say(fmt::Line().item("TOO MANY POINTS: " + std::string(name) + " =").x().i(count, 12).str());
  say_int("=> RESETTING TO:", kMaxGridPoints, 12);
  frame::warningtail00();
  count = kMaxGridPoints;
}

void grid_menu(GridValues& g) {
  int choice = 99;
  do {
    frame::submenuhead(id_sllgrid2);
    if (iocom.lwito(2)) {
      menu_body(g);
      frame::menutail();
    }
    int status = 0;
    choice = frame::menu_choice();
    frame::take_choice(choice, {6, 7, 8, 9, 10, 11, 12, 13, 20, 21, 22, 23, 99});
    switch (choice) {
      case 10: ask_triple(true, g.latmin, g.latmax, g.latinc); break;
      case 11: frame::inrealdef(g.latmin, "latitude minimum", g.latmin, status); break;
      case 12: frame::inrealdef(g.latmax, "latitude maximum", g.latmax, status); break;
      case 13: ask_increment(g.latinc, "latitude increment"); break;
      case 20: ask_triple(false, g.longmin, g.longmax, g.longinc); break;
      case 21: frame::inrealdef(g.longmin, "longitude minimum", g.longmin, status); break;
      case 22: frame::inrealdef(g.longmax, "longitude maximum", g.longmax, status); break;
      case 23: ask_increment(g.longinc, "longitude increment"); break;
      case 6:
        frame::inintegdef(g.nptline, "nb of pts per grid line", g.nptline, status);
        cap_points(g.nptline, "nb of pts per grid line");
        break;
      case 7:
        frame::inintegdef(g.npttick, "nb of pts per tick", g.npttick, status);
        cap_points(g.npttick, "nb of pts per tick");
        break;
      case 8:
        say(" no grid ..........0");
        say(" regular grid .....1");
        say(" ticks out grid ...2");
        say(" ticks in  grid....3");
        frame::inintegvindef(g.igridtype, "your choice", g.igridtype, 0, 3, status);
        break;
      case 9: frame::inrealdef(g.ticsize, "tic size in degrees", g.ticsize, status); break;
      default: break;
    }
  } while (choice != 99);
}

// ---- Drawing ----

void project(float lam, float phi, float& x, float& y) {
  projection::projlln(&x, &y, &lam, &phi, 1);
}
void move_to(float lam, float phi) {
  float x, y;
  project(lam, phi, x, y);
  plot::usplot(x, y, 0);
}
void draw_to(float lam, float phi) {
  float x, y;
  project(lam, phi, x, y);
  plot::usplot(x, y, 1);
}
void label(float lam, float phi, float value_rad, int width) {
  frame::Text<6> text;
  frame::careafmpn(text, width, 1, frame::deg(value_rad));
  float x, y;
  project(lam, phi, x, y);
  plot::ustext2(x, y, text.view());
}
void align(int code) { plot::set_text_align(code); }

// The line count of a span: trunc(span / inc + 0.0005), kept inside the int range (a span
// over an increment of 0 is infinite, or not a number when the span is 0 too).
int line_count(float span, float inc) { return plot::truncated_count(span / inc + 0.0005f); }

// A count above kMaxGridCount is reduced to it, with a warning.
int capped(int count, std::string_view family) {
  if (count <= kMaxGridCount) return count;
  frame::warninghead(id_drawllgrid);
  say(fmt::Line().item("TOO MANY GRID LINES: nb of " + std::string(family) + " =").x()
          .i(static_cast<long long>(count) + 1, 12).str());
  say_int("=> RESETTING TO:", kMaxGridCount + 1, 12);
  frame::warningtail00();
  return kMaxGridCount;
}

// The divisor of the positions i / K: a count of 0 (a span shorter than one increment) puts
// the lines at both bounds.
float positions(int count) { return static_cast<float>(count < 1 ? 1 : count); }

}  // namespace

void sllgrid2(float& latmin, float& latmax, float& longmin, float& longmax, float& latinc,
              float& longinc, int& nptline, float& ticsize, int& npttick, int& igridtype,
              frame::Mode mode) {
  GridValues g{latmin, latmax, longmin, longmax, latinc, longinc, ticsize,
               nptline, npttick, igridtype};
  if (mode.from_stored()) {
    g = {frame::deg(llgrid.latmin), frame::deg(llgrid.latmax), frame::deg(llgrid.longmin),
         frame::deg(llgrid.longmax), frame::deg(llgrid.latinc), frame::deg(llgrid.longinc),
         frame::deg(llgrid.ticsize), llgrid.nptline, llgrid.npttick, llgrid.igridtype};
  } else if (mode.from_default()) {
    g = {-80.0f, 80.0f, -80.0f, 80.0f, 10.0f, 10.0f, 1.0f, 3, 2, 1};
  }
  if (mode.menu()) grid_menu(g);
  cap_points(g.nptline, "nb of pts per grid line");
  cap_points(g.npttick, "nb of pts per tick");
  if (mode != frame::Mode::kStored) {
    llgrid.latmin = frame::rad(g.latmin);
    llgrid.latmax = frame::rad(g.latmax);
    llgrid.longmin = frame::rad(g.longmin);
    llgrid.longmax = frame::rad(g.longmax);
    llgrid.latinc = frame::rad(g.latinc);
    llgrid.longinc = frame::rad(g.longinc);
    llgrid.ticsize = frame::rad(g.ticsize);
    llgrid.nptline = g.nptline;
    llgrid.npttick = g.npttick;
    llgrid.igridtype = g.igridtype;
  }
  latmin = g.latmin;
  latmax = g.latmax;
  longmin = g.longmin;
  longmax = g.longmax;
  latinc = g.latinc;
  longinc = g.longinc;
  ticsize = g.ticsize;
  nptline = g.nptline;
  npttick = g.npttick;
  igridtype = g.igridtype;
}

void drawllgrid() {
  const Llgrid g = llgrid;
  frame::submenuhead(id_drawllgrid);
  if (g.igridtype == 0) {
    say(" NO LAT-LONG GRID");
    frame::menutail();
    return;
  }
  say_int("LAT-LONG GRID TYPE =", g.igridtype, 4);

  const float phi1 = g.latmin, phi2 = g.latmax, lam1 = g.longmin, lam2 = g.longmax;
  const float dphi = phi2 - phi1;
  const float dlam = lam2 - lam1;
  // sllgrid2 holds the counts within kMaxGridPoints; the bound is kept here too, so that no
  // loop below can run up to the end of the int range.
  const int p = std::min(g.nptline, kMaxGridPoints);
  const int q = std::min(g.npttick, kMaxGridPoints);
  const float s = g.ticsize;
  const bool regular = g.igridtype == 1;
  const bool ticked = g.igridtype >= 1 && g.igridtype <= 3;
  // Fewer than one segment per line or tick draws nothing of it: only the moves are made.
  const bool lines_drawn = p >= 1;
  const bool ticks_drawn = q >= 1;
  const float pf = static_cast<float>(p);
  // Ticks point away from the grid for types 1 and 2, into it for type 3.
  float t = 0.0f;
  if (ticks_drawn) {
    t = s / static_cast<float>(q);
    if (g.igridtype != 3) t = -t;
  }

  // Meridians, from the eastern bound westwards, each from south to north.
  int m = line_count(dlam, g.longinc);
  say(fmt::Line().item("nb of meridians =").x().i(static_cast<long long>(m) + 1, 4).str());
  m = capped(m, "meridians");
  {
    const int k = regular ? m : 1;
    const float kf = positions(k);
    for (int i = 0; i <= (k == 0 ? 1 : k); ++i) {
      const float lam = lam2 - (static_cast<float>(i) / kf) * dlam;
      move_to(lam, phi1);
      if (lines_drawn)
        for (int j = 0; j <= p; ++j) draw_to(lam, phi1 + (static_cast<float>(j) * dphi) / pf);
    }
  }

  // Ticks and labels on the southern and northern sides, from east to west.
  if (ticked) {
    const float mf = positions(m);
    const int last = m < 0 ? -1 : (m == 0 ? 1 : m);
    align(-10);
    for (int i = 0; i <= last; ++i) {
      const float lam = lam2 - (static_cast<float>(i) / mf) * dlam;
      move_to(lam, phi1);
      if (ticks_drawn)
        for (int j = 0; j <= q; ++j) draw_to(lam, phi1 + static_cast<float>(j) * t);
      label(lam, phi1 - 1.5f * s, lam, 6);
    }
    align(-2);
    for (int i = 0; i <= last; ++i) {
      const float lam = lam2 - (static_cast<float>(i) / mf) * dlam;
      move_to(lam, phi2);
      if (ticks_drawn)
        for (int j = 0; j <= q; ++j) draw_to(lam, phi2 - static_cast<float>(j) * t);
      label(lam, phi2 + 1.5f * s, lam, 6);
    }
  }

  // Parallels, from the southern bound northwards, each from east to west.
  int n = line_count(dphi, g.latinc);
  say(fmt::Line().item("nb of parallels =").x().i(static_cast<long long>(n) + 1, 4).str());
  n = capped(n, "parallels");
  {
    const int k = regular ? n : 1;
    const float kf = positions(k);
    for (int i = 0; i <= (k == 0 ? 1 : k); ++i) {
      const float phi = phi1 + (static_cast<float>(i) / kf) * dphi;
      move_to(lam2, phi);
      if (lines_drawn)
        for (int j = 0; j <= p; ++j) draw_to(lam2 - (static_cast<float>(j) * dlam) / pf, phi);
    }
  }

  // Ticks and labels on the eastern and western sides, from south to north.
  if (ticked) {
    const float nf = positions(n);
    const int last = n < 0 ? -1 : (n == 0 ? 1 : n);
    align(-5);
    for (int i = 0; i <= last; ++i) {
      const float phi = phi1 + (static_cast<float>(i) / nf) * dphi;
      move_to(lam2, phi);
      if (ticks_drawn)
        for (int j = 0; j <= q; ++j) draw_to(lam2 - static_cast<float>(j) * t, phi);
      label(lam2 + 1.5f * s, phi, phi, 5);
    }
    align(-7);
    for (int i = 0; i <= last; ++i) {
      const float phi = phi1 + (static_cast<float>(i) / nf) * dphi;
      move_to(lam1, phi);
      if (ticks_drawn)
        for (int j = 0; j <= q; ++j) draw_to(lam1 + static_cast<float>(j) * t, phi);
      label(lam1 - 1.5f * s, phi, phi, 5);
    }
  }
  frame::menutail();
}

void extrllgrid(float& xmin, float& ymin, float& xmax, float& ymax) {
  const Llgrid& g = llgrid;
  float lon[4] = {g.longmin, g.longmax, g.longmax, g.longmin};
  float lat[4] = {g.latmin, g.latmin, g.latmax, g.latmax};
  float x[4], y[4];
  projection::projlln(x, y, lon, lat, 4);
  // A corner the projection cannot map (not a finite point) would spoil the whole extent.
  int first = 0;
  while (first < 4 && !(std::isfinite(x[first]) && std::isfinite(y[first]))) ++first;
  if (first == 4) first = 0;
  xmin = xmax = x[first];
  ymin = ymax = y[first];
  for (int k = first + 1; k < 4; ++k) {
    if (!(std::isfinite(x[k]) && std::isfinite(y[k]))) continue;
    if (x[k] < xmin) xmin = x[k];
    if (y[k] < ymin) ymin = y[k];
    if (x[k] > xmax) xmax = x[k];
    if (y[k] > ymax) ymax = y[k];
  }
}

}  // namespace korbast::maps
