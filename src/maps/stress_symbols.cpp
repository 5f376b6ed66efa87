#include "maps/stress_symbols.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <tuple>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "maps/shapes.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/symbols.hpp"
#include "plot/symboltype.hpp"
#include "plot/userspace.hpp"

namespace korbast::maps {

Mapshpar mapshpar;

namespace fmt = frame::fmt;

namespace {

constexpr frame::Identity kSmapsh2{"smapsh2", " 1.0", "17-04-2006"};
constexpr frame::Identity kDmapsh2{"dmapsh2", " 5.0", "23-11-2009"};

constexpr float kDefMajor = 0.4f;
constexpr float kDefMinor = 0.13f;
constexpr int kDefEpi = -1;
constexpr int kDefSh = 0;

// Capacity of the working polygon of dmapsh2.
constexpr int kWork = 7;

using frame::say_item;

// The reset of a refused real setting: its value, then the value it gets.
void real_reset(std::string_view label, float was, float now) {
  frame::warninghead(kSmapsh2);
  frame::say(fmt::Line().item(label).x(1).f(was, 10, 3).str());
  say_item("==> RESET TO:");
  frame::say(fmt::Line().item(label).x(1).f(now, 10, 3).str());
  frame::warningtail00();
}

void check_settings(float& sizmaxa, float& sizmina, int& isha) {
  // A size that is not a number is refused as well.
  if (!(sizmaxa > 0.0f)) {
    real_reset("sizmaxa =", sizmaxa, kDefMajor);
    sizmaxa = kDefMajor;
  }
  if (!(sizmina > 0.0f)) {
    real_reset("sizmina =", sizmina, 0.2f);
    sizmina = 0.2f;
  }
  if (isha < -2 || isha > 2) {
    frame::warninghead(kSmapsh2);
    frame::say_int("isha =", isha, 6);
    say_item("==> RESET TO:");
    frame::say_int("isha =", 0, 6);
    frame::warningtail00();
    isha = 0;
  }
}

void settings_menu(float& sizmaxa, float& sizmina, int& iepia, int& isha) {
  int choice = 99;
  do {
    frame::submenuhead(kSmapsh2);
    frame::say_rule();
    say_item("Sh MAP PARAMETERS :");
    frame::say_rule();
    frame::say_rule('-', 30);
    frame::say(fmt::Line().item("Major size ................10").x(1).f(sizmaxa, 10, 3).str());
    frame::say(fmt::Line().item("Minor size ................20").x(1).f(sizmina, 10, 3).str());
    frame::say_int("Epicenter type ............30", iepia, 6);
    frame::say_int("Sh type ...................40", isha, 6);
    frame::say_rule('-', 30);
    say_item("EXIT ..........................99");
    frame::menutail();
    int status = 0;
    choice = frame::menu_choice();
    frame::take_choice(choice, {10, 20, 30, 40, 99});
    switch (choice) {
      case 10:
        frame::inrealvindef(sizmaxa, "Major size", sizmaxa, 0.0f, 100.0f, status);
        break;
      case 20:
        frame::inrealvindef(sizmina, "Minor size", sizmina, 0.0f, 100.0f, status);
        break;
      case 30:
        frame::say_rule('-', 30);
        say_item("epicenter type:");
        say_item("0 => no plot");
        say_item("else = symbol #");
        frame::say_rule('-', 30);
        frame::inintegdef(iepia, "Epicenter type", iepia, status);
        break;
      case 40:
        frame::say_rule('-', 30);
        say_item("Sh type:");
        say_item("-2 => Shmin only");
        say_item("-1 => Shmin + Shmax small");
        say_item("0  => Shmin + Shmax");
        say_item("+1 => Shmax + Shmin small");
        say_item("+2 => Shmax only");
        frame::say_rule('-', 30);
        frame::inintegvindef(isha, "Sh type", isha, -2, 2, status);
        break;
      default:
        break;
    }
  } while (choice != 99);
}

// The warning for a vertical-axis index outside 1..3; `which` is "Shmax" or "Shmin".
void isv_warning(int datum, int isv, std::string_view which) {
  frame::warninghead(kDmapsh2);
  frame::say_int("data nb =", datum, 4);
  frame::say_int("isv     =", isv, 4);
  say_item("isv outside [1,3]");
  say_item("=> will plot bars for " + std::string(which));
  frame::warningtail00();
}

// One outline: points and count.
struct Outline {
  float x[kWork] = {};
  float y[kWork] = {};
  int n = 0;
};

// Draws the outline with its origin moved to (ox, oy), turned by a about (xc, yc), then the
// same shape turned by a further pi.
void draw_pair(const Outline& o, float ox, float oy, float xc, float yc, float a) {
  float xw[kWork];
  float yw[kWork];
  const int n = std::min(o.n, kWork);
  transl2d1(xw, yw, o.x, o.y, n, ox, oy);
  rot2daff(xw, yw, xw, yw, n, xc, yc, a);
  plot::uspolygon(xw, yw, n);
  rot2daff(xw, yw, xw, yw, n, xc, yc, frame::angle::pi);
  plot::uspolygon(xw, yw, n);
}

}  // namespace

void smapsh2(float& sizmaxa, float& sizmina, int& iepia, int& isha, frame::Mode mode) {
  if (mode.from_stored()) {
    sizmaxa = mapshpar.sizmax;
    sizmina = mapshpar.sizmin;
    iepia = mapshpar.iepi;
    isha = mapshpar.ish;
  } else if (mode.from_default()) {
    frame::submenuhead(kSmapsh2);
    say_item("INITIALIZING Sh MAP PARAMETERS");
    sizmaxa = kDefMajor;
    sizmina = kDefMinor;
    iepia = kDefEpi;
    isha = kDefSh;
  } else {
    check_settings(sizmaxa, sizmina, isha);
  }
  if (mode.menu()) settings_menu(sizmaxa, sizmina, iepia, isha);
  mapshpar.sizmax = sizmaxa;
  mapshpar.sizmin = sizmina;
  mapshpar.iepi = iepia;
  mapshpar.ish = isha;
}

void dmapsh2(const float* x, const float* y, const float* azshmax, const int* isv, int n) {
  const float saved_size = plot::symbol_size();
  const int saved_type = plot::symbol_type();

  plot::set_symbol_size(mapshpar.sizmax);
  plot::set_symbol_type(mapshpar.iepi);
  if (mapshpar.iepi != 0) plot::ussymbol(x, y, n);

  // The user length of 5 cm along the page's x direction.
  const float xcm[2] = {0.0f, 1.0f};
  const float ycm[2] = {0.0f, 0.0f};
  float xu[2];
  float yu[2];
  plot::cm2us(xu, yu, xcm, ycm, 2);
  const float dx = xu[1] - xu[0];
  const float dy = yu[1] - yu[0];
  const float u = 5.0f * std::sqrt(dx * dx + dy * dy);
  const float big = mapshpar.sizmax * u;
  const float small = mapshpar.sizmin * u;

  Outline unit_bar, unit_arrow;
  rectangle1(unit_bar.x, unit_bar.y, unit_bar.n, 4);
  arrow2d(unit_arrow.x, unit_arrow.y, unit_arrow.n, 7);
  Outline bar_small, bar_full, arrow_small, arrow_full;
  for (auto [out, in, fac] : {std::tuple{&bar_small, &unit_bar, small},
                              std::tuple{&bar_full, &unit_bar, big},
                              std::tuple{&arrow_small, &unit_arrow, small},
                              std::tuple{&arrow_full, &unit_arrow, big}}) {
    homot02d1(out->x, out->y, in->x, in->y, in->n, fac);
    out->n = in->n;
  }
  int status = 0;
  frame::cinmax(std::max(unit_bar.n, unit_arrow.n), kWork, "dmapsh2", "shsymb array dimension",
                status);

  const int ish = mapshpar.ish;
  const float gap = 0.2f * big;
  const float halfpi = frame::angle::half_pi;

  if (ish != -2) {
    for (int i = 0; i < n; ++i) {
      const float a = halfpi - azshmax[i];
      const Outline* o = nullptr;
      if (isv[i] == 2 || isv[i] == 3) {
        o = ish == -1 ? &arrow_small : &arrow_full;
      } else {
        if (isv[i] != 1) isv_warning(i + 1, isv[i], "Shmax");
        o = ish == -1 ? &bar_small : &bar_full;
      }
      draw_pair(*o, x[i] + gap, y[i], x[i], y[i], a);
    }
  }

  if (ish != 2) {
    for (int i = 0; i < n; ++i) {
      const float a = -azshmax[i];
      if (isv[i] == 1 || isv[i] == 2) {
        if (ish == 1) {
          draw_pair(arrow_small, x[i] - gap - small, y[i], x[i], y[i], a);
        } else {
          draw_pair(arrow_full, x[i] - 1.2f * big, y[i], x[i], y[i], a);
        }
      } else {
        if (isv[i] != 3) isv_warning(i + 1, isv[i], "Shmin");
        draw_pair(ish == 1 ? bar_small : bar_full, x[i] + gap, y[i], x[i], y[i], a);
      }
    }
  }

  plot::set_symbol_size(saved_size);
  plot::set_symbol_type(saved_type);
}

}  // namespace korbast::maps
