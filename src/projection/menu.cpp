// The projection selection menu: the start-up initialisation of every set-up, the menu of the
// 25 projections, and after a choice the set-ups, derived constants and origin of the chosen
// projection.
#include "projection/menu.hpp"

#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/azimuthal.hpp"
#include "projection/conic.hpp"
#include "projection/ellipsoidal.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/setups.hpp"
#include "projection/state.hpp"
#include "projection/table.hpp"

namespace korbast::projection {

namespace fmt = frame::fmt;

namespace {

constexpr frame::Identity id_sprojll2{"sprojll2", "5", "16-04-2010"};

void (*contours_hook)(frame::Mode mode) = nullptr;

using namespace frame::console;

bool known(int code) { return find_projection(code) != nullptr; }

// The headings of the menu's groups, in the order of `Group`.
constexpr std::string_view kGroupHeadings[kGroups] = {
    "I    - SPHERICAL - CONFORMAL",   "II   - SPHERICAL - EQUIVALENT",
    "III  - SPHERICAL - OTHERS",      "IV  - ELLIPSOIDAL - CONFORMAL",
    "V   - ELLIPSOIDAL - EQUIVALENT", "VI  - ELLIPSOIDAL - OTHERS",
};

void say_menu(int working) {
  say_item("           EARTH MAP PROJECTIONS");
  say_item("    (longitude,latitude) -------> (x,y)");
  say_rule();
  say_int(" current projection number:", projtype.iproj, 4);
  say_int(" setting projection number:", working, 4);
  // The projections of each group in the order of their codes, after a dashed line.
  for (int g = 0; g < kGroups; ++g) {
    say_rule();
    say_item(kGroupHeadings[g]);
    for (const ProjectionEntry& p : projection_table())
      if (static_cast<int>(p.group) == g) say_item(p.menu);
  }
  say_rule();
  say_item("SET AND EXIT ..........................99");
}

// A parameter the chosen projection cannot work with. In an even mode the set-ups are run
// again; in an odd mode there is nobody to ask, and the warning is all that can be done.
void warn_unusable(std::initializer_list<std::string> values, std::string_view problem, bool even) {
  frame::warninghead(id_sprojll2);
  for (const std::string& v : values) say(v);
  say_item(problem);
  say_item(even ? "==> SET IT AGAIN" : "==> MAP COORDINATES WILL NOT BE FINITE");
  frame::warningtail00();
}

std::string angle_line(std::string_view text, float v) {
  return fmt::Line().item(text).x().f(v, 8, 3).str();
}

// Two parallels, asked again in an even mode for as long as the projection's check finds a
// problem with them; the set-ups then start again from the parallels held before. The pair is
// refused as a whole: every answer line of both set-ups counts as refused, the first
// latitude's taken choice and value too, so that rounds of a pair it cannot take reach the
// bound of answers refused in a row.
void parallels(frame::Mode s, std::string_view (*problem_of)(float lat1, float lat2)) {
  const float held1 = llpparam.latp1;
  const float held2 = llpparam.latp2;
  for (;;) {
    const frame::AnswerMark mark = frame::answer_mark();
    float lat1 = 0.0f;
    float lat2 = 0.0f;
    slat1(lat1, s);
    slat2(lat2, s);
    const std::string_view problem = problem_of(lat1, lat2);
    if (problem.empty()) return;
    warn_unusable({angle_line("first latitude  =", lat1), angle_line("second latitude =", lat2)},
                  problem, s.menu());
    if (s.silent()) return;
    frame::answers_refused_since(mark);  // the set-ups left with parallels it cannot take
    llpparam.latp1 = held1;
    llpparam.latp2 = held2;
  }
}

// The angle of view of a perspective, asked again in an even mode until it is usable; the
// set-up then starts again from the angle held before, every answer line of the refused
// set-up counting as refused. An even mode's set-up takes only usable angles; an odd mode
// keeps the held one, and warns when it is not usable.
void view_angle(frame::Mode s) {
  const float held = llpparam.anglep1;
  for (;;) {
    const frame::AnswerMark mark = frame::answer_mark();
    float alpha = 0.0f;
    sviewangle(alpha, s);
    const std::string_view problem = view_angle_problem(alpha);
    if (problem.empty()) return;
    warn_unusable({angle_line("angle of view =", alpha)}, problem, s.menu());
    if (s.silent()) return;
    frame::answers_refused_since(mark);  // the set-up left with an angle it cannot take
    llpparam.anglep1 = held;
  }
}

// One set-up step of a chosen projection; `tx` carries the value of one step to the next.
void run_step(Step step, frame::Mode s, float& tx) {
  float ty = 0.0f;
  switch (step) {
    case Step::none: break;
    case Step::long1: slong1(tx, s); break;
    case Step::long2_east:
      // The true-scale meridian starts 2 degrees east of the central one at every choice,
      // from the caller's value.
      tx += 2.0f;
      slong2(tx, s.menu() ? frame::Mode::kCallerMenu : frame::Mode::kCaller);
      break;
    case Step::conic_parallels: parallels(s, lambert_parallels_problem); break;
    case Step::sheet_parallels: parallels(s, sheet_parallels_problem); break;
    case Step::lat1: slat1(tx, s); break;
    case Step::angle: sangle1(tx, s); break;
    case Step::view_angle: view_angle(s); break;
    case Step::oblique: soblique(tx, ty, s); break;
  }
}

// The set-ups of a projection in their order, then its derived constants.
void set_up(const ProjectionEntry& p, frame::Mode s) {
  float tx = 0.0f;
  for (Step step : p.steps) run_step(step, s, tx);
  if (p.constants != nullptr) p.constants();
}

// The start-up initialisation (modes 4 and 5): every set-up from its default, the map-line
// layer last.
void initialise(int& iproj, frame::Mode mode) {
  float tx = 0.0f;
  float ty = 0.0f;
  int ie = 0;
  iproj = kDefaultProjection;
  frame::submenuhead(id_sprojll2);
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
}

// The menu of the 25 projections until 99; the last valid answer before 99 is returned.
int choose(int code) {
  for (;;) {
    frame::submenuhead(id_sprojll2);
    if (frame::iocom.lwito(2)) {
      say_menu(code);
      frame::menutail();
    }
    const int answer = frame::menu_choice();
    if (answer == 99 || known(answer)) frame::choice_taken();
    if (answer == 99) return code;
    if (known(answer)) {
      code = answer;
    } else {
      frame::warninghead(id_sprojll2);
      say_item("UNKNOWN ANSWER !");
      say_item("==> BACK TO MENU WITHOUT ACTION");
      frame::warningtail00();
    }
  }
}

}  // namespace

void set_contours_hook(void (*hook)(frame::Mode mode)) { contours_hook = hook; }

void sprojll2(int& iproj, frame::Mode mode) {
  if (mode.from_stored()) {
    iproj = projtype.iproj;
  } else if (mode.from_default()) {
    initialise(iproj, mode);
  } else if (!known(iproj)) {
    frame::errorhead(id_sprojll2);
    say_int(" projection nb =", iproj, 4);
    say_item("==> NO SUCH PROJECTION NB");
    iproj = kDefaultProjection;
    say_item("==> RESETTING TO:");
    say_int(" projection nb =", iproj, 4);
    frame::errortail00();
  }

  int code = iproj;
  if (frame::iocom.lwito(2) && mode.menu()) screenproj();
  // Only the last valid answer before 99 counts; nothing is stored until then.
  if (mode.menu()) code = choose(code);

  if (!known(code)) {
    frame::errorhead(id_sprojll2);
    say_int("iproj =", code, 4);
    say_item("NO SUCH PROJECTION AVALAIBLE");
    say_item("===> NO ACTION");
    frame::errortail00();
    iproj = code;
    return;
  }

  projtype.iproj = code;
  iproj = code;
  const frame::Mode s = mode.menu() ? frame::Mode::kStoredMenu : frame::Mode::kStored;
  const ProjectionEntry& chosen = *find_projection(code);
  int ie = 0;
  if (chosen.ellipsoidal) sellipsoid(ie, s);
  frame::submenuhead(id_sprojll2);
  for (std::string_view line : chosen.information) {
    if (line.empty()) break;
    say_item(line);
  }
  set_up(chosen, s);
  float tx = 0.0f;
  float ty = 0.0f;
  sllorig(tx, ty, s);
}

}  // namespace korbast::projection
