// The reference ellipsoids: the built-in figures, their menu and summary, and the constants
// the ellipsoidal projections read.
#include "projection/ellipsoids.hpp"

#include <cmath>
#include <iterator>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"

namespace korbast::projection {

namespace fmt = frame::fmt;

namespace {

constexpr frame::Identity id_sellipsoid{"sellipsoid", " 3.4", "30-09-2009"};

// A new ellipsoid is a line here, after the last: its menu line (the name in nine columns, the
// year, dots, its number ending in column 38 as the 99 of the last line does), its title and
// its radii in metres.
constexpr Ellipsoid kFigures[] = {
    {"GRS80    1980 .......................1", "GRS80 1980 ELLIPSOID", 6378137.0f, 6356752.5f},
    {"IUGG     1967 .......................2", "IUGG 1967 ELLIPSOID", 6378160.0f, 6356775.0f},
    {"Hayford  1909 .......................3", "HAYFORD 1909 ELLIPSOID", 6378388.0f, 6356912.0f},
    {"Clarke   1880 .......................4", "CLARKE 1880 ELLIPSOID", 6378249.0f, 6356515.0f},
    {"Clarke   1866 .......................5", "CLARKE 1866 ELLIPSOID", 6378206.5f, 6356584.0f},
    {"Bessel   1841 .......................6", "BESSEL 1841 ELLIPSOID", 6377397.0f, 6356079.0f},
    {"Everest  1830 .......................7", "EVEREST 1830 ELLIPSOID", 6377276.5f, 6356075.5f},
    {"Plessis  1810 .......................8", "PLESSIS 1810 ELLIPSOID", 6376523.0f, 6355863.0f},
    {"Delambre 1810 .......................9", "DELAMBRE 1810 ELLIPSOID", 6376985.0f, 6356323.5f},
};

// The known numbers are 1 to kCount.
constexpr int kCount = static_cast<int>(std::size(kFigures));

// The number last applied: 0 before the first call, 1 to kCount afterwards.
int kept_number = 0;

using namespace frame::console;

bool known(int n) { return n >= 1 && n <= kCount; }

// The menu. With `repeat` it is shown again after every answer until 99; otherwise the first
// answer ends it.
void choose(int& iell, bool repeat) {
  for (;;) {
    frame::submenuhead(id_sellipsoid);
    say_item("           ELLIPSOIDS SET UP");
    say_rule();
    say_int(" current ellipsoid number:", kept_number, 3);
    say_int(" setting ellipsoid number:", iell, 3);
    say_rule();
    for (const Ellipsoid& f : kFigures) say_item(f.menu_line);
    say_rule();
    say_item("SET AND EXIT .......................99");
    frame::menutail();
    int answer = 99;
    int status = 0;
    frame::inintegdef(answer, "Ellipsoid number or ", 99, status);
    if (answer == 99) return;
    if (known(answer)) {
      iell = answer;
    } else {
      frame::warninghead(id_sellipsoid);
      say(fmt::Line().item("ANSWER =").x().i(answer, 6));
      say(fmt::Line().item("NEITHER IN [1,").lit(std::to_string(kCount)).lit("] NOR = 99"));
      say_item("==> BACK TO MENU WITHOUT ACTION");
      frame::warningtail00();
      frame::answer_refused();  // the number was read, but names no ellipsoid
    }
    if (!repeat) return;
  }
}

void summary(const Ellipsoid& f) {
  frame::submenuhead(id_sellipsoid);
  std::string title(f.title.substr(0, 20));  // the title's text holds 20 characters
  title.resize(20, ' ');
  say_item(title);
  say_rule();
  say_int(" Ellipsoid number  =", kept_number, 3);
  say(fmt::Line().item(" Equatorial radius =").x().f(f.a, 10, 1).x().a("m"));
  say(fmt::Line().item(" Polar      radius =").x().f(f.b, 10, 1).x().a("m"));
  frame::menutail();
}

}  // namespace

std::span<const Ellipsoid> ellipsoid_table() { return kFigures; }

void sellipsoid(int& iell, frame::Mode mode) {
  if (mode.from_default()) {
    iell = 1;
    frame::submenuhead(id_sellipsoid);
    say_item("INITIALIZING ELLIPSOID");
    say_item("Default ellipsoid = GRS80");
    say_int("ellipsoid number  =", iell, 3);
  } else if (mode.from_stored()) {
    iell = kept_number;
  } else if (!known(iell)) {
    frame::errorhead(id_sellipsoid);
    say_int(" ellipsoid nb =", iell, 3);
    say_item("==> NO SUCH ELLIPSOID NB");
    say_item("==> RESETTING TO:");
    iell = 1;
    say_int(" ellipsoid nb =", iell, 3);
    frame::errortail00();
  }
  const bool even = mode.menu();
  if (even) choose(iell, true);
  // Only a number that was never set (mode 2 or 3 before the initialisation) can be unknown
  // here: the menu is shown until one is chosen.
  while (!known(iell)) {
    frame::errorhead(id_sellipsoid);
    say_int("ellipsoid number =", iell, 3);
    say_item("NO SUCH ELLIPSOID AVALAIBLE");
    frame::errortail00();
    choose(iell, even);
  }
  const Ellipsoid& f = kFigures[iell - 1];
  kept_number = iell;
  summary(f);
  set_ellipsoid_radii(f.a, f.b);
}

void set_ellipsoid_radii(float a, float b) {
  EllipsoidBlock& e = ellipsoid;
  e.ra = a;
  e.rb = b;
  e.ecc2 = 1.0f - (b * b) / (a * a);
  e.ecc = std::sqrt(e.ecc2);
  const float e2 = e.ecc2;
  const float e4 = e2 * e2;
  const float e6 = e2 * (e2 * e2);
  e.eccp2 = e2 / (1.0f - e2);
  e.cmer0 = 1.0f - 0.25f * e2 - 0.046875f * e4 - 0.01953125f * e6;
  e.cmer2 = -(0.375f * e2 + 0.09375f * e4 + 0.0439453125f * e6);
  e.cmer4 = 0.05859375f * e4 + 0.0439453125f * e6;
  e.cmer6 = -(35.0f / 3072.0f) * e6;
}

namespace detail {

void reset_ellipsoid_number() { kept_number = 0; }

}  // namespace detail

}  // namespace korbast::projection
