// The projection selection menu: the start-up initialisation of every set-up, the menu of the
// 25 projections, and after a choice the set-ups, derived constants and origin of the chosen
// projection.
#include "projection/menu.hpp"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/setups.hpp"
#include "projection/state.hpp"
#include "projection/table.hpp"

namespace korbast::projection {

namespace fmt = frame::fmt;

namespace {

constexpr std::string_view kName = "sprojll2", kVersion = "5", kDate = "16-04-2010";

void (*contours_hook)(int mode) = nullptr;

using namespace frame::console;

bool known(int code) { return find_projection(code) != nullptr; }

// The headings of the menu's groups, in the order of `Group`.
constexpr std::string_view kGroupHeadings[kGroups] = {
    "I    - SPHERICAL - CONFORMAL",   "II   - SPHERICAL - EQUIVALENT",
    "III  - SPHERICAL - OTHERS",      "IV  - ELLIPSOIDAL - CONFORMAL",
    "V   - ELLIPSOIDAL - EQUIVALENT", "VI  - ELLIPSOIDAL - OTHERS",
};

void say_menu(int working) {
  const std::string dashes(43, '-');
  say_item("           EARTH MAP PROJECTIONS");
  say_item("    (longitude,latitude) -------> (x,y)");
  say_item(dashes);
  say_int(" current projection number:", projtype.iproj, 4);
  say_int(" setting projection number:", working, 4);
  // The projections of each group in the order of their codes, after a dashed line.
  for (int g = 0; g < kGroups; ++g) {
    say_item(dashes);
    say_item(kGroupHeadings[g]);
    for (const ProjectionEntry& p : projection_table())
      if (static_cast<int>(p.group) == g) say_item(p.menu);
  }
  say_item(dashes);
  say_item("SET AND EXIT ..........................99");
}

// A parameter the chosen projection cannot work with. In an even mode the set-ups are run
// again; in an odd mode there is nobody to ask, and the warning is all that can be done.
void warn_unusable(std::initializer_list<std::string> values, std::string_view problem, bool even) {
  frame::warninghead(kName, kVersion, kDate);
  for (const std::string& v : values) say(v);
  say_item(problem);
  say_item(even ? "==> SET IT AGAIN" : "==> MAP COORDINATES WILL NOT BE FINITE");
  frame::warningtail00();
}

std::string angle_line(std::string_view text, float v) {
  return fmt::Line().item(text).x().f(v, 8, 3).str();
}

// The two standard parallels of a Lambert conic: none at a pole, and not opposite about the
// equator (the cone would be a plane).
void conic_parallels(int s) {
  for (;;) {
    float lat1 = 0.0f;
    float lat2 = 0.0f;
    slat1(lat1, s);
    slat2(lat2, s);
    std::string_view problem;
    if (std::fabs(lat1) >= 90.0f || std::fabs(lat2) >= 90.0f) {
      problem = "NO STANDARD PARALLEL AT A POLE";
    } else if (lat1 == -lat2) {
      problem = "OPPOSITE STANDARD PARALLELS GIVE NO CONE";
    } else {
      return;
    }
    const bool even = s % 2 == 0;
    warn_unusable({angle_line("first latitude  =", lat1), angle_line("second latitude =", lat2)},
                  problem, even);
    if (!even) return;
  }
}

// The two bounding parallels of a sheet of the modified polyconic must differ.
void sheet_parallels(int s) {
  for (;;) {
    float lat1 = 0.0f;
    float lat2 = 0.0f;
    slat1(lat1, s);
    slat2(lat2, s);
    if (lat1 != lat2) return;
    const bool even = s % 2 == 0;
    warn_unusable({angle_line("first latitude  =", lat1), angle_line("second latitude =", lat2)},
                  "THE SHEET NEEDS TWO DIFFERENT PARALLELS", even);
    if (!even) return;
  }
}

// The angle of view of a perspective: strictly between 0 and 180 degrees (at 180 every point
// falls onto the centre).
void view_angle(int s) {
  for (;;) {
    float alpha = 0.0f;
    sangle1(alpha, s);
    if (alpha > 0.0f && alpha < 180.0f) return;
    const bool even = s % 2 == 0;
    warn_unusable({angle_line("angle of view =", alpha)}, "THE ANGLE OF VIEW MUST LIE IN ]0,180[",
                  even);
    if (!even) return;
  }
}

// One set-up step of a chosen projection; `tx` carries the value of one step to the next.
void run_step(Step step, int s, float& tx) {
  float ty = 0.0f;
  switch (step) {
    case Step::none: break;
    case Step::long1: slong1(tx, s); break;
    case Step::long2_east:
      // The true-scale meridian starts 2 degrees east of the central one at every choice.
      tx += 2.0f;
      slong2(tx, s - 2);
      break;
    case Step::conic_parallels: conic_parallels(s); break;
    case Step::sheet_parallels: sheet_parallels(s); break;
    case Step::lat1: slat1(tx, s); break;
    case Step::angle: sangle1(tx, s); break;
    case Step::view_angle: view_angle(s); break;
    case Step::oblique: soblique(tx, ty, s); break;
  }
}

// The set-ups of a projection in their order, then its derived constants.
void set_up(const ProjectionEntry& p, int s) {
  float tx = 0.0f;
  for (Step step : p.steps) run_step(step, s, tx);
  if (p.constants != nullptr) p.constants();
}

}  // namespace

void set_contours_hook(void (*hook)(int mode)) { contours_hook = hook; }

void sprojll2(int& iproj, int mode) {
  float tx = 0.0f;
  float ty = 0.0f;
  int ie = 0;
  const bool even = mode % 2 == 0;
  if (mode == 2 || mode == 3) {
    iproj = projtype.iproj;
  } else if (mode == 4 || mode == 5) {
    iproj = 15;
    frame::submenuhead(kName, kVersion, kDate);
    say_item("INITIALIZING MAP PROJECTION");
    say_item("(longitude, latitude) --> (x, y)");
    screenproj();
    say_item("Default projection  = Spherical Mercator");
    say_int("projection number =", iproj, 4);
    projtype.iproj = iproj;
    sllorig(tx, ty, mode);
    slong1(tx, mode);
    slong2(tx, mode);
    slat1(tx, mode);
    slat2(tx, mode);
    sangle1(tx, mode);
    sellipsoid(ie, mode);
    soblique(tx, ty, mode);
    if (contours_hook != nullptr) contours_hook(mode);
  } else if (!known(iproj)) {
    frame::errorhead(kName, kVersion, kDate);
    say_int(" projection nb =", iproj, 4);
    say_item("==> NO SUCH PROJECTION NB");
    iproj = 15;
    say_item("==> RESETTING TO:");
    say_int(" projection nb =", iproj, 4);
    frame::errortail00();
  }

  int code = iproj;
  if (frame::iocom.lwito(2) && even) screenproj();
  if (even) {
    // Only the last valid answer before 99 counts; nothing is stored until then.
    for (;;) {
      frame::submenuhead(kName, kVersion, kDate);
      if (frame::iocom.lwito(2)) {
        say_menu(code);
        frame::menutail();
      }
      int answer = 99;
      int status = 0;
      frame::inintegdef(answer, "your choice", 99, status);
      if (answer == 99) break;
      if (known(answer)) {
        code = answer;
      } else {
        frame::warninghead(kName, kVersion, kDate);
        say_item("UNKNOWN ANSWER !");
        say_item("==> BACK TO MENU WITHOUT ACTION");
        frame::warningtail00();
      }
    }
  }

  if (!known(code)) {
    frame::errorhead(kName, kVersion, kDate);
    say_int("iproj =", code, 4);
    say_item("NO SUCH PROJECTION AVALAIBLE");
    say_item("===> NO ACTION");
    frame::errortail00();
    iproj = code;
    return;
  }

  projtype.iproj = code;
  iproj = code;
  const int s = even ? 2 : 3;
  const ProjectionEntry& chosen = *find_projection(code);
  if (chosen.ellipsoidal) sellipsoid(ie, s);
  frame::submenuhead(kName, kVersion, kDate);
  for (std::string_view line : chosen.information) {
    if (line.empty()) break;
    say_item(line);
  }
  set_up(chosen, s);
  sllorig(tx, ty, s);
}

}  // namespace korbast::projection
