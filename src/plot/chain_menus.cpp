#include "plot/chain_menus.hpp"

#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

void out(std::string_view line) { frame::units::write_line(iocom.stdout_unit, line); }
// A picture line: one blank, then the text.
void say(std::string_view text) { out(fmt::Line().item(text).str()); }

const std::string kEquals(42, '=');
const std::string kHyphens(42, '-');

// A text followed by a value in 9 columns with 3 decimals.
std::string tv(std::string_view text, float v) { return std::string(text) + fmt::F(v, 9, 3); }

bool ask_alter() {
  bool alter = false;
  int status = 0;
  frame::inlogicdef(alter, "Do you want to alter this", false, status);
  return alter;
}

void ask(float& v, std::string_view prompt) {
  int status = 0;
  frame::inrealdef(v, prompt, v, status);
}

}  // namespace

void mus2cm1(float& xcm0, float& ycm0, float& xx, float& xy, float& yx, float& yy) {
  frame::submenuhead("mus2cm1", " 6.5", "16-03-2009");
  if (iocom.lwito(2)) {
    say(kEquals);
    say("          CONVERSION SET UP               ");
    say(kEquals);
    say("|  cm  |                   |user units|");
    say("|  on  | <---------------- |   used   |");
    say("| plot |                   | in calls |");
    say("");
    say(" |xcm|                         |xu|");
    say(" |   | <---------------------- |  |");
    say(" |ycm|                         |yu|");
    say("");
    say(" |xcm|     |xx   xy|   |xu|   |xcm0|");
    say(" |   |  =  |       | * |  | + |    |");
    say(" |ycm|     |yx   yy|   |yu|   |ycm0|");
    say(kEquals);
    say("            Current set up:");
    say(kEquals);
    auto row = [](std::string_view left, float a, float b, std::string_view user, float c) {
      return fmt::Line()
          .x(1)
          .a(left, 5)
          .x(3)
          .a("|")
          .f(a, 7, 3)
          .x(1)
          .f(b, 7, 3)
          .a("|")
          .x(3)
          .a(user)
          .x(3)
          .a("|")
          .f(c, 7, 3)
          .a("|")
          .str();
    };
    out(row("|xcm|", xx, xy, "|xu|", xcm0));
    out(fmt::Line()
            .x(1)
            .a("|   |")
            .a(" = ")
            .a("|")
            .x(15)
            .a("|")
            .a(" * ")
            .a("|  |")
            .a(" + ")
            .a("|")
            .x(7)
            .a("|")
            .str());
    out(row("|ycm|", yx, yy, "|yu|", ycm0));
    say(kEquals);
  }
  if (!ask_alter()) return;
  ask(xcm0, "xcm0");
  ask(ycm0, "ycm0");
  ask(xx, "xx");
  ask(xy, "xy");
  ask(yx, "yx");
  ask(yy, "yy");
}

void mus2cm3(float& xcm0, float& ycm0, float& xlcm, float& ylcm, float& xumin, float& xumax,
             float& yumin, float& yumax, int& ixy) {
  frame::submenuhead("mus2cm3", " 4.4", "16-03-2009");
  if (iocom.lwito(2)) {
    say(kEquals);
    say("          CONVERSION SET UP               ");
    say(kEquals);
    say("|  cm  |                     |user units|");
    say("|  on  | <------------------ |   used   |");
    say("| plot |                     | in calls |");
    say("");
    say(" |xcm|                           |xu|");
    say(" |   | <------------------------ |  |");
    say(" |ycm|                           |yu|");
    say(kEquals);
    say("            Current set up:");
    say(kEquals);
    say(kHyphens);
    say("     1 - USER UNITS IN USER SPACE         ");
    say(kHyphens);
    say(tv("   _|_________________|_  yumax = ", yumax));
    say("    |                 |");
    say("    |                 |");
    say(tv("   _|_________________|_  yumin = ", yumin));
    say("    |                 |");
    say("  xumin             xumax");
    out(fmt::Line().x(1).x(2).f(xumin, 9, 3).x(9).f(xumax, 9, 3).str());
    say("");
    say(" user limits:          xu,yu in user units");
    say(tv(" xumin = ", xumin) + tv(" yumin = ", yumin));
    say(tv(" xumax = ", xumax) + tv(" yumax = ", yumax));
    say(kHyphens);
    say("     2 - CM UNITS ON PLOT                 ");
    say(kHyphens);
    say("   _|_________________|_  ");
    say("    |                 |  |");
    say(tv("    |                 |  | ylcm = ", ylcm));
    say(tv("   _|_________________|_ | _ ycm0 = ", ycm0));
    say("    |                 |");
    say("    <---- xlcm -------> ");
    say(tv("    |   ", xlcm));
    say(tv("  xcm0 = ", xcm0));
    say("");
    say(" paper limits:               xcm,ycm in cm");
    say(tv(" xlcm  = ", xlcm) + tv(" ylcm  = ", ylcm));
    say(tv(" xcm0  = ", xcm0) + tv(" ycm0  = ", ycm0));
    say(kHyphens);
    if (ixy == 1) {
      say("X & Y scale imposed equal");
    } else if (ixy == 0) {
      say("X & Y scale will adjust xlcm & ylcm");
    } else {
      out(fmt::Line().item("WARNING: ixy = ").x(1).i(ixy, 8).item(" neither 0 nor 1").str());
      say("      will have same effect as ixy = 0");
    }
    say(kHyphens);
  }
  if (!ask_alter()) return;
  ask(xumin, "xumin");
  ask(xumax, "xumax");
  ask(yumin, "yumin");
  ask(yumax, "yumax");
  ask(xcm0, "xcm0");
  ask(ycm0, "ycm0");
  ask(xlcm, "xlcm");
  ask(ylcm, "ylcm");
  int status = 0;
  frame::inintegvindef(ixy, "Whether X scale = Y scale (0/1) ?", ixy, 0, 1, status);
}

}  // namespace korbast::plot
