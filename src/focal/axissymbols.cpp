#include "focal/axissymbols.hpp"

#include <cmath>
#include <string_view>

#include "focal/stereonet.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "plot/attributes.hpp"
#include "plot/symbols.hpp"
#include "plot/symboltype.hpp"
#include "plot/userspace.hpp"

namespace korbast::focal {

Dspaxbk dspaxbk;

namespace {

namespace fmt = frame::fmt;
using frame::Identity;

constexpr Identity kSdspaxsymb{"sdspaxsymb", " 4.1", "08-10-2009"};
constexpr int kMinCode = -99;
constexpr int kMaxCode = 101;

using frame::say_item;
using frame::say_rule;

// The lower end of an axis: the axis itself when it points down (or is horizontal), the
// opposite direction when it points up.
bool lower_end(float az, float pl, float& a, float& p) {
  if (pl < 0.0f) {
    a = az + frame::angle::pi;
    p = -pl;
    return false;
  }
  a = az;
  p = pl;
  return true;
}

// A code outside -99..101 is reported and replaced.
void check_code(int& code, std::string_view what, int reset) {
  if (code >= kMinCode && code <= kMaxCode) return;
  frame::warninghead(kSdspaxsymb);
  frame::say_int(what, code, 4);
  frame::say(fmt::Line()
                 .item("outside [")
                 .x(1)
                 .i(kMinCode, 4)
                 .item(",")
                 .x(1)
                 .i(kMaxCode, 4)
                 .item("]")
                 .str());
  code = reset;
  say_item("==> RESETTING TO:");
  frame::say_int(what, code, 4);
  frame::warningtail00();
}

}  // namespace

void dspaxfapn2(const float* az, const float* pl, int n) {
  const int standard = dspaxbk.standard;
  const int alternate = dspaxbk.alternate;
  if (standard >= -99 && standard <= 99) {
    const int kept = plot::symbol_type();
    for (int i = 0; i < n; ++i) {
      float a = 0.0f;
      float p = 0.0f;
      plot::set_symbol_type(lower_end(az[i], pl[i], a, p) ? standard : alternate);
      float x = 0.0f;
      float y = 0.0f;
      spron(&x, &y, &a, &p, 1);
      // The same symbol at every axis of every ball: one shared drawing.
      plot::usshared_begin(x, y, false);
      plot::ussymbol(&x, &y, 1);
      plot::usshared_end();
    }
    plot::set_symbol_type(kept);
  } else if (standard == 100 || standard == 101) {
    for (int i = 0; i < n; ++i) {
      float a = 0.0f;
      float p = 0.0f;
      const float length = lower_end(az[i], pl[i], a, p) ? kAxisMarkLength : -kAxisMarkLength;
      float px = 0.0f;
      float py = 0.0f;
      spron(&px, &py, &a, &p, 1);
      const float r = std::sqrt(px * px + py * py);
      float qx = px;
      float qy = py;
      if (r != 0.0f) {
        const float f = 1.0f + length / r;
        qx = f * px;
        qy = f * py;
      }
      if (standard == 100) {
        const float x[2] = {px, qx};
        const float y[2] = {py, qy};
        plot::usline(x, y, 2);
      } else {
        plot::usarrow1(&px, &py, &qx, &qy, 1);
      }
    }
  }
  // Any other code draws nothing.
}

void sdspaxsymb(int& standard, int& alternate, frame::Mode mode) {
  if (mode == frame::Mode::kCallerMenu || mode == frame::Mode::kAskOnly) {
    check_code(standard, "Standard  symbol =", 1);
    check_code(alternate, "Alternate symbol =", -1);
  } else if (mode.from_stored()) {
    standard = dspaxbk.standard;
    alternate = dspaxbk.alternate;
  } else if (mode.from_default()) {
    frame::submenuhead(kSdspaxsymb);
    say_item("INITIALIZING STEREOPLOT AXIS SYMBOLS");
    standard = 1;
    alternate = -1;
  }
  if (mode.menu()) {
    for (;;) {
      frame::submenuhead(kSdspaxsymb);
      if (frame::iocom.lwito(2)) {
        say_rule();
        say_item("STEREOPLOT AXIS SYMBOLS");
        say_item("Standard  symbol <-> standard hemisphere");
        say_item("Alternate symbol <-> opposite hemisphere");
        say_rule();
        if (mode == frame::Mode::kAskOnly) {
          say_item("set up:");
        } else {
          say_item("currently stored:");
          frame::say_int("standard  type =", dspaxbk.standard, 4);
          frame::say_int("alternate type =", dspaxbk.alternate, 4);
          say_rule('-', 21);
          say_item("ready to store:");
        }
        frame::say_int("standard  type =", standard, 4);
        frame::say_int("alternate type =", alternate, 4);
        say_rule();
        say_item("Axis symbol ... symbol number");
        say_item("arrow    ................ 101");
        say_item("line     ................ 100");
        int table = 0;
        plot::ssymboltype(table, 102);
        say_rule();
        say_item("MODIFY:");
        say_item(" standard type ............... 10");
        say_item(" alternate type .............. 20");
        say_item(mode == frame::Mode::kAskOnly ? "SET UP IS OK ==> EXIT ........ 99" : "STORE AND EXIT ............... 99");
        frame::menutail();
      }
      int status = 0;
      const int choice = frame::menu_choice();
      frame::take_choice(choice, {10, 20, 99});
      if (choice == 99) break;
      if (choice == 10) {
        frame::inintegvindef(standard, "standard symbol type", standard, kMinCode, kMaxCode,
                             status);
      } else if (choice == 20) {
        frame::inintegvindef(alternate, "alternate symbol type", alternate, kMinCode, kMaxCode,
                             status);
      }
    }
  }
  if (mode != frame::Mode::kAskOnly) {
    dspaxbk.standard = standard;
    dspaxbk.alternate = alternate;
  }
}

}  // namespace korbast::focal
