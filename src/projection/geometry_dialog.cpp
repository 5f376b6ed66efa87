// The console side of the frame changes: the warning of `cc2lln` and the element menu of
// `smatab33`.
#include "projection/geometry_dialog.hpp"

#include <string>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/geometry.hpp"
#include "projection/geometry_detail.hpp"
#include "projection/projection.hpp"

namespace korbast::projection {

namespace fmt = frame::fmt;

namespace {

using frame::say;
using frame::say_item;
using frame::console::say_rule;

constexpr frame::Identity id_cc2lln{"cc2lln", " 1.0", "01-09-2002"};
constexpr frame::Identity id_smatab33{"smatab33", " 1.0", "25-10-2002"};

}  // namespace

namespace detail {

void warn_not_unitary(float vx, float vy, float vz, float r, int index, int n) {
  frame::warninghead(id_cc2lln);
  say_item("Expecting unitary V = (Vx,Vy,Vz)");
  say(fmt::Line().item("Loop final   index =").x().i(n, 6));
  say(fmt::Line().item("Loop current index =").x().i(index, 6));
  say(fmt::Line().item("Vx =").x().f(vx, 8, 4).item("Vy =").x().f(vy, 8, 4).item("Vz =").x().f(vz, 8, 4));
  say(fmt::Line().item("||V|| =").x().f(r, 8, 4));
  say_item("V is not unitary");
  say_item("==> Normalizing it to 1");
  frame::warningtail00();
}

}  // namespace detail

void smatab33(float* aba, frame::Mode mode) {
  if (mode.from_stored()) {
    for (int k = 0; k < 9; ++k) aba[k] = a2b.ab[k];
  } else if (mode.from_default()) {
    for (int k = 0; k < 9; ++k) aba[k] = (k % 4 == 0) ? 1.0f : 0.0f;
    frame::submenuhead(id_smatab33);
    say_item("INITIALIZING Ab matrix: Ab = Identity");
  }
  if (mode.menu()) {
    static const char* const kPrompts[9] = {"aba(1,1)", "aba(1,2)", "aba(1,3)",
                                            "aba(2,1)", "aba(2,2)", "aba(2,3)",
                                            "aba(3,1)", "aba(3,2)", "aba(3,3)"};
    for (;;) {
      frame::submenuhead(id_smatab33);
      say_rule();
      say_item("Ab MATRIX SET UP");
      say_rule();
      for (int m = 0; m < 9; ++m) {
        const int row = m / 3;
        const int col = m % 3;
        std::string label = "Ab(" + std::to_string(row + 1) + "," + std::to_string(col + 1) +
                            ")....." + std::to_string(m + 1);
        say(fmt::Line().item(label).x().f(aba[3 * col + row], 8, 3));
      }
      const int answer = frame::close_menu("UPDATE & EXIT ........99");
      if (answer == 99 || (answer >= 1 && answer <= 9)) frame::choice_taken();
      int status = 0;
      if (answer == 99) break;
      if (answer >= 1 && answer <= 9) {
        const int row = (answer - 1) / 3;
        const int col = (answer - 1) % 3;
        float& element = aba[3 * col + row];
        frame::inrealdef(element, std::string(kPrompts[answer - 1]).append(35 - 8, ' '),
                         element, status);
      } else {
        frame::warninghead(id_smatab33);
        say_item("UNKNOWN ANSWER !");
        say_item("==> BACK TO MENU WITHOUT ACTION");
        frame::warningtail00();
      }
    }
  }
  for (int k = 0; k < 9; ++k) a2b.ab[k] = aba[k];
}

}  // namespace korbast::projection
