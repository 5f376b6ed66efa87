#include "plot/chain_menus.hpp"

#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::plot {

constexpr frame::Identity id_mus2cm1{"mus2cm1", " 6.5", "16-03-2009"};
constexpr frame::Identity id_mus2cm3{"mus2cm3", " 4.4", "16-03-2009"};

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

using frame::say;
using frame::say_item;

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
  frame::submenuhead(id_mus2cm1);
  if (iocom.lwito(2)) {
    say_item(kEquals);
    say_item("          CONVERSION SET UP               ");
    say_item(kEquals);
    say_item("|  cm  |                   |user units|");
    say_item("|  on  | <---------------- |   used   |");
    say_item("| plot |                   | in calls |");
    say_item("");
    say_item(" |xcm|                         |xu|");
    say_item(" |   | <---------------------- |  |");
    say_item(" |ycm|                         |yu|");
    say_item("");
    say_item(" |xcm|     |xx   xy|   |xu|   |xcm0|");
    say_item(" |   |  =  |       | * |  | + |    |");
    say_item(" |ycm|     |yx   yy|   |yu|   |ycm0|");
    say_item(kEquals);
    say_item("            Current set up:");
    say_item(kEquals);
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
    say(row("|xcm|", xx, xy, "|xu|", xcm0));
    say(fmt::Line()
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
    say(row("|ycm|", yx, yy, "|yu|", ycm0));
    say_item(kEquals);
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
  frame::submenuhead(id_mus2cm3);
  if (iocom.lwito(2)) {
    say_item(kEquals);
    say_item("          CONVERSION SET UP               ");
    say_item(kEquals);
    say_item("|  cm  |                     |user units|");
    say_item("|  on  | <------------------ |   used   |");
    say_item("| plot |                     | in calls |");
    say_item("");
    say_item(" |xcm|                           |xu|");
    say_item(" |   | <------------------------ |  |");
    say_item(" |ycm|                           |yu|");
    say_item(kEquals);
    say_item("            Current set up:");
    say_item(kEquals);
    say_item(kHyphens);
    say_item("     1 - USER UNITS IN USER SPACE         ");
    say_item(kHyphens);
    say_item(tv("   _|_________________|_  yumax = ", yumax));
    say_item("    |                 |");
    say_item("    |                 |");
    say_item(tv("   _|_________________|_  yumin = ", yumin));
    say_item("    |                 |");
    say_item("  xumin             xumax");
    say(fmt::Line().x(1).x(2).f(xumin, 9, 3).x(9).f(xumax, 9, 3).str());
    say_item("");
    say_item(" user limits:          xu,yu in user units");
    say_item(tv(" xumin = ", xumin) + tv(" yumin = ", yumin));
    say_item(tv(" xumax = ", xumax) + tv(" yumax = ", yumax));
    say_item(kHyphens);
    say_item("     2 - CM UNITS ON PLOT                 ");
    say_item(kHyphens);
    say_item("   _|_________________|_  ");
    say_item("    |                 |  |");
    say_item(tv("    |                 |  | ylcm = ", ylcm));
    say_item(tv("   _|_________________|_ | _ ycm0 = ", ycm0));
    say_item("    |                 |");
    say_item("    <---- xlcm -------> ");
    say_item(tv("    |   ", xlcm));
    say_item(tv("  xcm0 = ", xcm0));
    say_item("");
    say_item(" paper limits:               xcm,ycm in cm");
    say_item(tv(" xlcm  = ", xlcm) + tv(" ylcm  = ", ylcm));
    say_item(tv(" xcm0  = ", xcm0) + tv(" ycm0  = ", ycm0));
    say_item(kHyphens);
    if (ixy == 1) {
      say_item("X & Y scale imposed equal");
    } else if (ixy == 0) {
      say_item("X & Y scale will adjust xlcm & ylcm");
    } else {
      say(fmt::Line().item("WARNING: ixy = ").x(1).i(ixy, 8).item(" neither 0 nor 1").str());
      say_item("      will have same effect as ixy = 0");
    }
    say_item(kHyphens);
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
