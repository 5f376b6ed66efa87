// The curve-parameter menus: fixed parameters, the level parameter and the menu over all the
// parameters of a family of curves, and the end of a curve set-up, which may open that menu
// (the running point's own routines are in curves.cpp).
#include "plot/curve_params.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"
#include "plot/curves.hpp"

namespace korbast::plot {

Plevblock plevblock;
Pfixblock pfixblock;

namespace {

namespace fmt = frame::fmt;
using namespace curves_detail;

constexpr Identity id_scall{"scall", " 7.0", "22-07-2008"};
constexpr Identity id_sclevel2{"sclevel2", " 4.0", "22-07-2008"};
constexpr Identity id_scparfix1{"scparfix", " 6.0", "21-05-2008"};
constexpr Identity id_scparfixnb{"scparfixnb", " 2.0", "21-05-2008"};
constexpr Identity id_scptend{"scptend", "1.00", "03-11-97"};

constexpr float kDefaultLevi = 0.0f;
constexpr float kDefaultLevf = 1.0f;
constexpr float kDefaultLevd = 0.1f;
constexpr int kDefaultNlev = 11;
constexpr std::string_view kDefaultLevName = "level";
constexpr std::string_view kDefaultParName = "parameter";

std::string_view view_of(std::span<const char> s) { return {s.data(), s.size()}; }

// An integer from a real truncated toward zero, held inside the integer range (a value that
// is not a number gives 0).
int truncated_int(float x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483648.0f) return 2147483647;
  if (x <= -2147483648.0f) return -2147483647 - 1;
  return static_cast<int>(x);
}

// The fixed-parameter table: the head and one row per slot in use.
void fixed_table() {
  frame::say(" name       value     type   index");
  const int n = std::clamp(pfixblock.nparfix, 0, kMaxFixedParams);
  for (int k = 0; k < n; ++k) {
    frame::say(fmt::Line()
                   .x(1)
                   .a(pfixblock.pfixname[k].view(), 10)
                   .x(1)
                   .a(pfixblock.pfixvalue[k].view().substr(0, 9))
                   .x(2)
                   .i(pfixblock.ipfixtype[k], 1)
                   .x(1)
                   .lit(".......")
                   .i(k + 1, 2)
                   .str());
  }
}

// One line of the curve-parameter summary and menu: a section head, the fixed-parameter
// table, or a parameter with its label in the summary and in the menu (where the label ends
// with the menu command that sets it, if any) and its value.
struct ParamRow {
  enum class Kind { Section, FixedTable, Int, Real, Name };
  Kind kind;
  std::string_view summary;  // the summary's label; empty: not shown in the summary here
  std::string_view menu;     // the menu's label; empty: not shown in the menu here
  std::variant<int (*)(), float (*)(), std::string_view (*)()> value = {};
};

using Kind = ParamRow::Kind;

// The parameters over all three routines, in the order both show them, except that the
// menu shows the number of level curves first and the level name last, the summary the
// other way round: those two have a row at each place, with the label of the one showing it.
constexpr ParamRow kParamRows[] = {
    {Kind::Section, "         1 - FIXED PARAMETERS", "         1 - FIXED PARAMETERS"},
    {Kind::Int, "max nb of fixed params    :", "max nb of fixed params ..........", [] { return kMaxFixedParams; }},
    {Kind::Int, "current nb of fixed params:", "current nb of fixed params ...100", [] { return pfixblock.nparfix; }},
    {Kind::FixedTable, "current fixed parameters:", "current fixed parameters:"},
    {Kind::Section, "         2 - LEVEL PARAMETERS", "         2 - LEVEL PARAMETERS"},
    {Kind::Name, "level name ...............:", "", [] { return plevblock.levname.view(); }},
    {Kind::Int, "", "nb of level curves ...........200", [] { return plevblock.nlev; }},
    {Kind::Real, "level initial value ......:", "level initial value ..........210", [] { return plevblock.levi; }},
    {Kind::Real, "level final   value ......:", "level final   value ..........210", [] { return plevblock.levf; }},
    {Kind::Real, "level increment ..........:", "level increment ..............210", [] { return plevblock.levd; }},
    {Kind::Real, "single level value .......:", "single level value ...........210", [] { return plevblock.levi; }},
    {Kind::Int, "nb of level curves .......:", "", [] { return plevblock.nlev; }},
    {Kind::Name, "", "level name ...................210", [] { return plevblock.levname.view(); }},
    {Kind::Section, "         3 - RUNNING POINT PARAMETERS", "         3 - RUNNING POINT PARAMETERS"},
    {Kind::Int, "max nb of points .........:", "max nb of points ................", [] { return kMaxCurvePoints; }},
    {Kind::Int, "nb of points to draw .....:", "nb of points to draw .........300", [] { return ptblock.np; }},
    {Kind::Real, "nb of segments to draw ...:", "nb of segments to draw .......300", [] { return ptblock.rns; }},
    {Kind::Real, "initial value ............:", "initial value ................310", [] { return ptblock.pti; }},
    {Kind::Real, "final   value ............:", "final   value ................310", [] { return ptblock.ptf; }},
    {Kind::Real, "increment ................:", "increment ....................320", [] { return ptblock.ptd; }},
    {Kind::Name, "name .....................:", "name .........................330", [] { return ptblock.ptname.view(); }},
};

// The rows of the table that have a label in the summary (in_menu false) or in the menu;
// every section but the first follows a rule.
void say_param_rows(bool in_menu) {
  bool first_section = true;
  for (const ParamRow& row : kParamRows) {
    const std::string_view label = in_menu ? row.menu : row.summary;
    if (label.empty()) continue;
    switch (row.kind) {
      case Kind::Section:
        if (!first_section) frame::say_rule();
        first_section = false;
        frame::say_item(label);
        break;
      case Kind::FixedTable:
        frame::say_item(label);
        fixed_table();
        break;
      case Kind::Int:
        frame::say_int(label, std::get<int (*)()>(row.value)(), 6);
        break;
      case Kind::Real:
        frame::say_real(label, std::get<float (*)()>(row.value)(), 8, 3);
        break;
      case Kind::Name:
        frame::say_value(label, std::get<std::string_view (*)()>(row.value)());
        break;
    }
  }
}

void scall_listing() {
  frame::submenuhead(id_scall);
  frame::say_rule();
  frame::say_item("                 CURVES");
  say_param_rows(false);
  frame::menutail();
}

// The menu over all the curve parameters; each choice opens the routine of its parameter.
void scall_menu() {
  for (;;) {
    menu_head(id_scall, "           CURVES PARAMETERS");
    say_param_rows(true);
    menu_tail();
    int choice = ask_choice();
    if ((choice >= 1 && choice <= pfixblock.nparfix) || choice == 99) frame::choice_taken();
    frame::take_choice(choice, {100, 200, 210, 300, 310, 320, 330});
    if (choice >= 1 && choice <= pfixblock.nparfix) {
      frame::Text<10> name;
      frame::Text<12> cval;
      int itype = 0, ival = 0;
      float rval = 0.0f;
      scparfix1(name, itype, rval, ival, cval, choice, 2);
    } else if (choice == 100) {
      int nb = 0;
      scparfixnb(nb, 2);
    } else if (choice == 200 || choice == 210) {
      float lini = 0.0f, lfin = 0.0f, linc = 0.0f;
      int nlev = 0;
      int ical = choice == 200 ? 1 : 2;
      frame::Text<10> name;
      sclevel2(lini, lfin, linc, nlev, ical, name, 2);
    } else if (choice == 300) {
      int np = 0;
      scptnp(np, 2);
    } else if (choice == 310) {
      float pti = 0.0f, ptf = 0.0f;
      scptif(pti, ptf, 2);
    } else if (choice == 320) {
      float ptd = 0.0f;
      scptd(ptd, 2);
    } else if (choice == 330) {
      frame::Text<15> name;
      scptnam(name, 2);
    } else if (choice == 99) {
      return;
    }
  }
}

// Only slots 1..4 exist: any other slot number is refused (with a warning) before a slot is
// read or written.
bool slot_exists(int i) {
  if (i >= 1 && i <= kMaxFixedParams) return true;
  frame::warninghead(id_scparfix1);
  frame::say_int("ifix1 =", i, 6);
  frame::say_int("==> slots are 1 to", kMaxFixedParams, 6);
  frame::say_item("=====> NO ACTION");
  frame::warningtail00();
  return false;
}

// One fixed-parameter slot while scparfix1 sets it: the caller's name, type, values and value
// text, and the info text formed from them.
struct FixedSlot {
  std::span<char> name;
  int& itype;
  float& rval;
  int& ival;
  std::span<char> cval;
  frame::Text<20> info{};
  bool info_formed = false;

  std::string name_text() const { return frame::trimmed(view_of(name)); }
  std::string value_text() const { return frame::trimmed(view_of(cval)); }

  // The slot as stored (slot s, 0-based) or its default, as the mode asks.
  void load(const Pfixblock& b, int s, frame::Mode inter) {
    if (inter.from_stored()) {
      fill_text(name, b.pfixname[s].view());
      itype = b.ipfixtype[s];
      rval = b.pfix[s];
      ival = b.ipfix[s];
      fill_text(cval, b.pfixvalue[s].view());
    }
    if (inter.from_default()) {
      fill_text(name, kDefaultParName);
      itype = 1;
      rval = 0.0f;
    }
  }

  // The values of a name-only slot.
  void clear_values() {
    rval = 0.0f;
    ival = 0;
    fill_text(cval, "---");
  }

  // The info text from the name and the value text as they stand.
  void form_info() {
    info = itype == 0 ? name_text() : name_text() + " = " + value_text();
    info_formed = true;
  }

  // The slot made consistent with its type.
  void rebuild() {
    switch (itype) {
      case 0:
        clear_values();
        break;
      case 1: {
        ival = truncated_int(rval);
        frame::Text<9> t;
        frame::caream(t, 9, rval);
        fill_text(cval, t.view());
        break;
      }
      case 2: {
        rval = static_cast<float>(ival);
        frame::Text<9> t;
        int count = 0;
        frame::carinm2(t, count, 9, ival);
        fill_text(cval, t.view().substr(0, static_cast<std::size_t>(std::clamp(count, 0, 9))));
        break;
      }
      default:
        rval = 0.0f;
        ival = 0;
        break;
    }
    form_info();
  }

  // Into slot s (0-based). Without slots in use no info text is formed: the stored one is kept.
  void store(Pfixblock& b, int s) const {
    b.pfixname[s] = view_of(name);
    b.ipfixtype[s] = itype;
    b.pfix[s] = rval;
    b.ipfix[s] = ival;
    b.pfixvalue[s] = view_of(cval);
    if (info_formed) b.pfixinfo[s] = info.view();
  }
};

// The menu of a new parameter type.
void ask_fixed_type(int& itype) {
  int status = 0;
  const std::string rule28 = frame::rule_line('-', 28);
  frame::say(rule28);
  frame::say_item("Parameter type:");
  frame::say(rule28);
  frame::say_item("name only - no value ......0");
  frame::say_item("real.......................1");
  frame::say_item("integer....................2");
  frame::say_item("character..................3");
  frame::say(rule28);
  frame::inintegvindef(itype, "your choice", itype, 0, 3, status);
}

// A new value of the slot's type (1 real, 2 integer, 3 text), asked under the parameter's name;
// a value of another type is refused with a warning.
void ask_fixed_value(FixedSlot& slot, int wanted) {
  if (slot.itype != wanted) {
    frame::warninghead(id_scparfix1);
    frame::say_item("Wrong type of parameter");
    frame::say_item("=====> NO ACTION");
    frame::warningtail0(0);
    frame::answer_refused();  // the menu's command, refused for the slot's type
    return;
  }
  int status = 0;
  const std::string prompt = slot.name_text();
  if (wanted == 1) {
    frame::inrealdef(slot.rval, prompt, slot.rval, status);
  } else if (wanted == 2) {
    frame::inintegdef(slot.ival, prompt, slot.ival, status);
  } else {
    const std::string current(view_of(slot.cval));
    frame::inchardef(slot.cval, prompt, current, status);
  }
  slot.rebuild();
}

// The menu of fixed parameter slot i; the command of a value is shown for its type only.
void fixed_slot_menu(FixedSlot& slot, int i) {
  for (;;) {
    menu_head(id_scparfix1, "          CURVES FIXED PARAMETERS    ");
    frame::say_int("max nb of fixed params .........", kMaxFixedParams, 6);
    frame::say_int("current nb of fixed params .....", pfixblock.nparfix, 6);
    frame::say_rule();
    frame::say_item("Parameter to modify");
    frame::say_rule();
    frame::say_int("index  ..........................", i, 6);
    frame::say_value("name ..........................10", view_of(slot.name));
    frame::say_int("type ..........................20", slot.itype, 6);
    frame::say_real(slot.itype == 1 ? "real      value ...............30"
                                    : "real      value .................", slot.rval, 8, 3);
    frame::say_int(slot.itype == 2 ? "integer   value ...............40"
                                   : "integer   value .................", slot.ival, 6);
    frame::say_value(slot.itype == 3 ? "character value ...............50"
                                     : "character value .................", view_of(slot.cval));
    frame::say_value("info:", slot.info.view());
    menu_tail();
    const int choice = frame::menu_choice();
    frame::take_choice(choice, {10, 20, 30, 40, 50, 99});
    if (choice == 99) return;
    if (choice == 10) {
      int status = 0;
      const std::string current(view_of(slot.name));
      frame::inchardef(slot.name, "parameter name", current, status);
      if (slot.itype == 0) slot.clear_values();
      slot.form_info();
    } else if (choice == 20) {
      ask_fixed_type(slot.itype);
    } else if (choice == 30 || choice == 40 || choice == 50) {
      ask_fixed_value(slot, choice / 10 - 2);
    }
  }
}

// An unknown calculation type, shown in `width` columns, reported in a warning frame and
// replaced by `type`.
void reset_calculation_type(const Identity& id, int& ical, int width, int type, std::string_view resetting) {
  frame::warninghead(id);
  frame::say_int("Calculation type =", ical, width);
  frame::say_item("==> Unknown");
  frame::say_item(resetting);
  ical = type;
  frame::say_int("Calculation type =", ical, width);
  frame::warningtail00();
}

// The warning of a refused level setting: the value, what it must be, and the question again.
// Always false, the answer's refusal.
bool back_to_query(const Identity& id, const std::string& value_line, std::string_view must) {
  frame::warninghead(id);
  frame::say(value_line);
  frame::say_item(must);
  frame::say_item("==> BACK TO QUERY");
  frame::warningtail00();
  return false;
}

// The level calculation of sclevel2, repeated until it succeeds.
void level_calculation(float& lini, float& lfin, float& linc, int& nlev, int& ical) {
  const Identity& id = id_sclevel2;
  auto values = [&] {
    frame::say_real(" initial             =", lini, 8, 3);
    frame::say_real(" final               =", lfin, 8, 3);
    frame::say_real(" increment           =", linc, 8, 3);
  };
  for (;;) {
    if (ical == 0 || ical == 1) {
      if (nlev > 1) {
        linc = (lfin - lini) / static_cast<float>(nlev - 1);
      } else if (nlev == 1) {
        linc = 1.0f;
      } else {
        frame::errorhead(id);
        frame::say_item("Computing increment from nb of curves");
        frame::say_int(" Calculation type =", ical, 4);
        frame::say_int(" nb of curves =", nlev, 4);
        frame::say_item("==> NEED nb > 0");
        nlev = 1;
        frame::say_int("==> RESET nb =", nlev, 4);
        frame::errortail00();
        continue;
      }
      return;
    }
    if (ical == 2 || ical == 3) {
      const bool consistent = (linc > 0.0f && lini <= lfin) || (linc < 0.0f && lfin < lini);
      if (!consistent) {
        frame::errorhead(id);
        frame::say_item("Levels computed from increment:");
        frame::say_int(" Calculation type    =", ical, 4);
        values();
        frame::say_item("==> INCONSISTENT LOOP");
        frame::say_item("==> NEED TO CORRECT IT");
        frame::say_item("==> SETTING SINGLE LEVEL");
        nlev = 1;
        ical = 1;
        frame::say_int(" Nb of levels        =", nlev, 4);
        frame::say_int(" Calculation type    =", ical, 4);
        frame::errortail00();
        continue;
      }
      // A tiny increment gives a huge count: it is held at 2^30 before it becomes an integer.
      nlev = truncated_count((lfin - lini) / linc + 0.002f) + 1;
      if (nlev > 1) {
        const float r = ((lfin - lini) - linc * static_cast<float>(nlev - 1)) / linc;
        if (r > 5e-5f) {
          const bool large = r > 0.001f;
          if (large) {
            frame::warninghead(id);
            frame::say_item("Levels computed from increment:");
            frame::say_int(" Calculation type    =", ical, 4);
            frame::say_int(" nb of levels        =", nlev, 4);
            values();
            frame::say_real(" remainder/increment =", r, 8, 3);
            frame::say_item("==> large remainder");
          }
          if (ical == 2) {
            linc = (lfin - lini) / static_cast<float>(nlev - 1);
            if (large) {
              frame::say_item("==> RECOMPUTED:");
              frame::say_real(" increment =", linc, 8, 3);
              frame::warningtail00();
            }
          } else if (large) {
            frame::say_item("==> final level not reached");
            frame::warningtail00();
          }
        }
      }
      return;
    }
    // Type 4: a single level.
    if (nlev != 1) {
      frame::warninghead(id);
      frame::say_item("Single level:");
      frame::say_int(" Calculation type    =", ical, 4);
      frame::say_int(" nb of levels        =", nlev, 4);
      values();
      nlev = 1;
      frame::say_item("==> RESETTING:");
      frame::say_int(" Nb of levels        =", nlev, 4);
      frame::warningtail00();
    }
    return;
  }
}

}  // namespace

void scall(frame::Mode inter) {
  if (inter.from_default()) {
    frame::submenuhead(id_scall);
    frame::say_item("INITIALIZING CURVES PARAMETERS");
    int nb = kMaxFixedParams;
    scparfixnb(nb, 1);  // all four slots can be set
    for (int k = 1; k <= kMaxFixedParams; ++k) {
      frame::Text<10> name;
      frame::Text<12> cval;
      int itype = 0, ival = 0, slot = k;
      float rval = 0.0f;
      scparfix1(name, itype, rval, ival, cval, slot, inter);
    }
    scparfixnb(nb, inter);
    float lini = 0.0f, lfin = 0.0f, linc = 0.0f;
    int nlev = 0, ical = 2;
    frame::Text<10> lname;
    sclevel2(lini, lfin, linc, nlev, ical, lname, inter);
    frame::Text<15> pname;
    scptnam(pname, inter);
    int np = 0;
    scptnp(np, inter);
    float pti = 0.0f, ptf = 0.0f;
    scptif(pti, ptf, inter);
    float ptd = 0.0f;
    scptd(ptd, inter);
    if (inter == frame::Mode::kDefault) return;
  } else if (inter == frame::Mode::kAllMenu) {
    scall_listing();
    return;
  } else if (inter.silent()) {
    return;
  }
  scall_menu();
}

void scparfixnb(int& nb, frame::Mode inter) {
  const Identity& id = id_scparfixnb;
  if (inter.from_stored()) nb = pfixblock.nparfix;
  if (inter.from_default()) nb = 0;
  int status = 0;
  frame::cinvin(nb, 0, kMaxFixedParams, id.name, "nparfixa", status);
  if (status != 0) {
    nb = kMaxFixedParams;
    frame::say_int("  ===> reset nparfixa =", nb, 6);
  }
  if (inter.menu()) {
    for (;;) {
      menu_head(id, "          CURVES FIXED PARAMETERS   ");
      frame::say_int("max nb of fixed params ..........", kMaxFixedParams, 6);
      frame::say_int("current nb of fixed params ....10", nb, 6);
      menu_tail();
      const int choice = ask_choice();
      frame::take_choice(choice, {10, 99});
      if (choice == 99) break;
      if (choice == 10) {
        frame::inintegvindef(nb, "nb of fixed parameters", nb, 1, kMaxFixedParams, status);
      }
    }
  }
  pfixblock.nparfix = nb;
}

void scparfix1(std::span<char> name, int& itype, float& rval, int& ival, std::span<char> cval,
               int& i, frame::Mode inter) {
  if (!slot_exists(i)) return;
  Pfixblock& b = pfixblock;
  FixedSlot slot{name, itype, rval, ival, cval};
  slot.load(b, i - 1, inter);
  int status = 0;
  frame::cinvin(itype, 0, 3, id_scparfix1.name, "ipfixtypea", status);
  if (status != 0) {
    itype = 0;
    frame::say_int("  ===> reset ipfixtypea =", itype, 6);
  }
  if (b.nparfix < 1) {
    frame::warninghead(id_scparfix1);
    frame::say_int("nparfix =", b.nparfix, 6);
    frame::say_item("need to set nparfix > 1 first");
    frame::say_item("=====> NO ACTION");
    frame::warningtail0(0);
  } else {
    frame::cinvin(i, 1, b.nparfix, id_scparfix1.name, "ifix1", status);
    if (status != 0) {
      i = b.nparfix;
      frame::say_int("  ===> reset ifix1 =", i, 6);
    }
    slot.rebuild();
    if (inter.menu()) fixed_slot_menu(slot, i);
  }
  slot.store(b, i - 1);
}

void sclevel2(float& lini, float& lfin, float& linc, int& nlev, int& ical, std::span<char> name,
              frame::Mode inter) {
  const Identity& id = id_sclevel2;
  Plevblock& l = plevblock;
  if (inter.from_stored()) {
    lini = l.levi;
    lfin = l.levf;
    linc = l.levd;
    nlev = l.nlev;
    fill_text(name, l.levname.view());
  }
  if (inter.from_default()) {
    lini = kDefaultLevi;
    lfin = kDefaultLevf;
    linc = kDefaultLevd;
    nlev = kDefaultNlev;
    fill_text(name, kDefaultLevName);
    ical = 1;
  }
  if (ical < 0 || ical > 4) reset_calculation_type(id, ical, 4, 2, "==> RESETTING TYPE TO USE INCREMENT");
  level_calculation(lini, lfin, linc, nlev, ical);
  if (inter.menu()) {
    for (;;) {
      menu_head(id, "         CURVES LEVEL PARAMETER");
      frame::say_value("level name       :", view_of(name));
      frame::say_int("Calculation type =", ical, 4);
      frame::say_real("level initial value ...........10", lini, 8, 3);
      frame::say_real("level final   value ...........11", lfin, 8, 3);
      frame::say_real("level increment ...............12", linc, 8, 3);
      frame::say_item("modify init, final & inc ......13");
      frame::say_int("nb of level curves ............14", nlev, 4);
      frame::say_item("modify init, final & nb .......15");
      frame::say_real("single level value ............20", lini, 8, 3);
      menu_tail();
      const int choice = ask_choice();
      frame::take_choice(choice, {10, 11, 12, 13, 14, 15, 20, 99});
      if (choice == 99) break;
      int status = 0;
      if (choice == 20) {
        frame::inrealdef(lini, "single level value", lini, status);
        nlev = 1;
        lfin = lini;
        linc = 1.0f;
        ical = 4;
        continue;
      }
      if (choice == 10 || choice == 13 || choice == 15) {
        frame::inrealdef(lini, "level initial value", lini, status);
      }
      if (choice == 11 || choice == 13 || choice == 15) {
        frame::inrealdef(lfin, "level final value", lfin, status);
      }
      // A refused increment or count is asked again, offering the value held before.
      if (choice == 12 || choice == 13) {
        ical = 2;
        frame::ask_until_taken(
            linc,
            [&status](float& v) { frame::inrealdef(v, "level increment value >0<", v, status); },
            [](float v) {
              const std::string line = fmt::Line().item("Increment =").x().f(v, 8, 3).str();
              return v != 0.0f || back_to_query(id_sclevel2, line, "Increment MUST be non zero");
            });
      }
      if (choice == 14 || choice == 15) {
        ical = 1;
        frame::ask_until_taken(
            nlev, [&status](int& v) { frame::inintegdef(v, "nb of level curves", v, status); },
            [](int v) {
              const std::string line = frame::int_line("Nb of level curves =", v, 4);
              return v > 0 || back_to_query(id_sclevel2, line, "MUST BE > 0");
            });
      }
      level_calculation(lini, lfin, linc, nlev, ical);
    }
  }
  l.levi = lini;
  l.levf = lfin;
  l.levd = linc;
  l.levname = view_of(name);
  l.nlev = nlev;
  // Each value at its used width, 3 decimals, at most 9 characters.
  auto field = [](float x) {
    frame::Text<9> t;
    int count = 0;
    frame::real2charf1(t, count, 3, 9, x);
    return std::string(t.view().substr(0, static_cast<std::size_t>(std::clamp(count, 0, 9))));
  };
  l.levrange = " init = " + field(lini) + " final = " + field(lfin) + " inc = " + field(linc);
  l.levinfo = frame::trimmed(l.levname.view()) + std::string(l.levrange.view());
}

void scptend(int ical, frame::Mode inter) {
  int t = ical >= 100 ? ical - 100 : ical;
  const bool texts = ical < 100;
  // A set-up that cannot be computed refuses the menu's answers since the last asking as a
  // whole, and asks again.
  frame::AnswerMark mark = frame::answer_mark();
  auto ask_again = [&mark] {
    frame::answers_refused_since(mark);
    mark = frame::answer_mark();
    scall(0);
  };
  if (inter.menu()) scall(0);
  Ptblock& p = ptblock;
  for (;;) {
    if (t == 0 || t == 1) {
      p.rnp = static_cast<float>(p.np);
      p.rns = p.rnp - 1.0f;
      if (p.np > 1) {
        p.ptd = (p.ptf - p.pti) / p.rns;
      } else if (p.np == 1) {
        p.ptd = 0.0f;
      } else {
        frame::errorhead(id_scptend);
        frame::say_int("Calculation type =", t, 6);
        frame::say_int("Computing increment from np =", p.np, 6);
        frame::say_item("==> NEED TO SET np > 0");
        frame::errortail00();
        ask_again();
        continue;
      }
      break;
    }
    if (t == 2 || t == 3) {
      const bool consistent = (p.ptf >= p.pti && p.ptd > 0.0f) || (p.ptf < p.pti && p.ptd < 0.0f);
      if (!consistent) {
        frame::errorhead(id_scptend);
        frame::say_int("Calculation type =", t, 6);
        frame::say_item("Computing np from td with:");
        frame::say_real("  pti =", p.pti, 8, 3);
        frame::say_real("  ptf =", p.ptf, 8, 3);
        frame::say_real("  ptd =", p.ptd, 8, 3);
        frame::say_item("==> INCONSISTENT LOOP");
        frame::say_item("==> NEED TO CORRECT IT");
        frame::errortail00();
        ask_again();
        continue;
      }
      const float quotient = (p.ptf - p.pti) / p.ptd + 0.002f;
      int np = truncated_count(quotient) + 1;
      scptnp(np, inter.menu() ? frame::Mode::kCallerMenu : frame::Mode::kCaller);
      p.rnp = static_cast<float>(p.np);
      p.rns = p.rnp - 1.0f;
      const int k = np - 1;
      const float r = ((p.ptf - p.pti) - p.ptd * static_cast<float>(k)) / p.ptd;
      if (r > 5e-5f) {
        const bool large = r > 0.001f;
        if (large) {
          frame::warninghead(id_scptend);
          frame::say_int("Calculation type =", t, 6);
          frame::say_item("np computed from td with:");
          frame::say_int(" mp  =", kMaxCurvePoints, 6);
          frame::say_int(" np  =", p.np, 6);
          frame::say_real(" pti =", p.pti, 8, 3);
          frame::say_real(" ptf =", p.ptf, 8, 3);
          frame::say_real(" ptd =", p.ptd, 8, 3);
          frame::say_real(" remainder/ptd =", r, 8, 3);
          frame::say_item("==> large remainder");
        }
        if (t == 2) {
          p.ptd = k == 0 ? 0.0f : (p.ptf - p.pti) / p.rns;
          if (large) {
            frame::say_item("RECOMPUTED VALUE:");
            frame::say_real(" ptd =", p.ptd, 8, 3);
            frame::warningtail00();
          }
        } else if (large) {
          frame::say_item("==> final point is not reached");
          frame::warningtail00();
        }
      }
      break;
    }
    reset_calculation_type(id_scptend, t, 6, 1, "==> RESETTING TYPE TO USE NP");
  }
  if (texts) {
    frame::Text<9> init, final, inc;
    frame::caream(init, 9, p.pti);
    frame::caream(final, 9, p.ptf);
    frame::caream(inc, 9, p.ptd);
    std::string range = " init = ";
    range += init.view();
    range += " final = ";
    range += final.view();
    range += " inc = ";
    range += inc.view();
    p.ptrange = range;
    // The name from its first to its last non-blank character (one blank when all blank).
    int first = 0, last = 0;
    frame::textlen(first, last, p.ptname.view());
    std::string info(p.ptname.view().substr(static_cast<std::size_t>(first - 1),
                                            static_cast<std::size_t>(std::max(0, last - first + 1))));
    info += p.ptrange.view();
    p.ptinfo = info;
  }
}

void set_running_point(int& np, float t0, float t1, int ical) {
  scptnp(np, 1);
  scptif(t0, t1, 1);
  scptend(ical, 1);
}

}  // namespace korbast::plot
