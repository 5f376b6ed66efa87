// The running point of a curve and its settings routines.
#include "plot/curves.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"

namespace korbast::plot {

Ptblock ptblock;
Cc2dbuff cc2dbuff;
Cc3dbuff cc3dbuff;

namespace {

namespace fmt = frame::fmt;
using namespace curves_detail;

constexpr Identity id_scptnp{"scptnp", " 1.0", "20-05-2008"};
constexpr Identity id_scptif{"scptif", " 1.0", "21-05-2008"};
constexpr Identity id_scptd{"scptd", " 1.0", "21-05-2008"};
constexpr Identity id_scptnam{"scptnam", " 1.0", "21-05-2008"};

constexpr int kDefaultNp = 11;
constexpr float kDefaultPti = 0.0f;
constexpr float kDefaultPtf = 1.0f;
constexpr float kDefaultPtd = 0.1f;
constexpr std::string_view kDefaultName = "Point.parameter";

}  // namespace

namespace curves_detail {

void menu_head(const Identity& id, std::string_view title) {
  frame::submenuhead(id);
  frame::say_rule();
  frame::say_item(title);
  frame::say_rule();
}

void menu_tail() {
  frame::say_rule();
  frame::say_item("EXIT ..........................99");
  frame::menutail();
}

int ask_choice() {
  int choice = 99;
  int status = 0;
  frame::inintegdefnp(choice, "your choice", 99, status);
  return choice;
}

void fill_text(std::span<char> out, std::string_view s) {
  const std::size_t n = std::min(s.size(), out.size());
  std::copy_n(s.begin(), n, out.begin());
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(n), out.end(), ' ');
}

}  // namespace curves_detail

int truncated_count(float x) {
  constexpr float kBound = 1073741824.0f;  // 2^30
  if (std::isnan(x)) return 0;
  if (x >= kBound) return 1073741824;
  if (x <= -kBound) return -1073741824;
  return static_cast<int>(x);
}

void scptnp(int& np, frame::Mode inter) {
  if (inter.from_stored()) np = ptblock.np;
  if (inter.from_default()) {
    np = kDefaultNp;
    frame::submenuhead(id_scptnp);
    frame::say_int("INITIALIZING NUMBER OF POINTS TO:", np, 7);
  }
  if (inter.menu()) {
    for (;;) {
      menu_head(id_scptnp, "RUNNING POINT PARAMETERS:");
      frame::say_int("max nb of points ................", kMaxCurvePoints, 7);
      frame::say_int("nb of points ..................10", np, 7);
      frame::say_int("nb of segments ..................", static_cast<long long>(np) - 1, 7);
      menu_tail();
      const int choice = ask_choice();
      frame::take_choice(choice, {10, 99});
      if (choice == 99) break;
      if (choice == 10) {
        int status = 0;
        frame::inintegvindef(np, "nb of pts per curve", np, 1, kMaxCurvePoints, status);
      }
    }
  }
  if (np > kMaxCurvePoints) {
    frame::warninghead(id_scptnp);
    frame::say(fmt::Line()
                   .item("nb of points =")
                   .x(1)
                   .i(np, 7)
                   .item("> plot buffer size =")
                   .x(1)
                   .i(kMaxCurvePoints, 7)
                   .str());
    np = kMaxCurvePoints;
    frame::say_int("===> reset nb of points =", np, 7);
    frame::say_item("===> WILL NOT PLOT ALL THE DATA");
    frame::warningtail00();
  }
  if (np == 1 && !inter.all_subplots()) {
    frame::warninghead(id_scptnp);
    frame::say_int("nb of points =", np, 7);
    frame::say_item("===> WILL PLOT ONLY ONE POINT");
    frame::warningtail00();
  }
  if (np < 1) {
    frame::errorhead(id_scptnp);
    frame::say_int("nb of points np =", np, 7);
    frame::say_item("===> UPSTREAM PROBLEM ?");
    frame::say_item("Increment inconsistent with bounds ?");
    np = 1;
    frame::say_int("===> RESETTING np =", np, 7);
    frame::errortail00();
  }
  ptblock.np = np;
}

void scptif(float& pti, float& ptf, frame::Mode inter) {
  if (inter.from_stored()) {
    pti = ptblock.pti;
    ptf = ptblock.ptf;
  }
  if (inter.from_default()) {
    pti = kDefaultPti;
    ptf = kDefaultPtf;
  }
  if (inter.menu()) {
    for (;;) {
      menu_head(id_scptif, "RUNNING POINT parameters :");
      frame::say_real("initial value .................10", pti, 8, 3);
      frame::say_real("final   value .................11", ptf, 8, 3);
      menu_tail();
      const int choice = ask_choice();
      frame::take_choice(choice, {10, 11, 99});
      if (choice == 99) break;
      int status = 0;
      if (choice == 10) frame::inrealdef(pti, "initial value", pti, status);
      if (choice == 11) frame::inrealdef(ptf, "final value", ptf, status);
    }
  }
  ptblock.pti = pti;
  ptblock.ptf = ptf;
}

void scptd(float& ptd, frame::Mode inter) {
  if (inter.from_stored()) ptd = ptblock.ptd;
  if (inter.from_default()) ptd = kDefaultPtd;
  if (inter.menu()) {
    for (;;) {
      menu_head(id_scptd, "RUNNING POINT parameters :");
      frame::say_real("increment .....................10", ptd, 8, 3);
      menu_tail();
      const int choice = ask_choice();
      frame::take_choice(choice, {10, 99});
      if (choice == 99) break;
      if (choice == 10) {
        int status = 0;
        frame::inrealdef(ptd, "increment", ptd, status);
      }
    }
  }
  ptblock.ptd = ptd;
}

void scptnam(std::span<char> name, frame::Mode inter) {
  if (inter.from_stored()) fill_text(name, ptblock.ptname.view());
  if (inter.from_default()) fill_text(name, kDefaultName);
  if (inter.menu()) {
    for (;;) {
      menu_head(id_scptnam, "RUNNING POINT parameters :");
      frame::say(fmt::Line()
                     .item("name ..........................10")
                     .item(std::string_view(name.data(), name.size()))
                     .str());
      menu_tail();
      const int choice = ask_choice();
      frame::take_choice(choice, {10, 99});
      if (choice == 99) break;
      if (choice == 10) {
        int status = 0;
        const std::string current(name.data(), name.size());
        frame::inchardef(name, "running point parameter name", current, status);
      }
    }
  }
  ptblock.ptname = std::string_view(name.data(), name.size());
  frame::subtail(id_scptnam);
}

}  // namespace korbast::plot
