// The symbol size and type: the two fields every point symbol is drawn from, their settings
// dialogs and the menu of type codes (the table itself is the drawing's, plot/symbols.hpp).
// Neither value is checked: any size and any code are stored (an unknown code draws a circle).
#include "plot/symboltype.hpp"

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/plt2blk.hpp"
#include "plot/setter.hpp"
#include "plot/symbols.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using namespace frame::console;

constexpr frame::Identity id_ssymboltype{"ssymboltype", " 2.5", "27-03-2009"};

constexpr int kDefaultType = 1;

// The type menu: the lines of the symbol type table, then the one for every other code.
void say_type_table() {
  for (const SymbolType& t : symbol_types()) say_item(t.line);
  say_item("circle   ....... other values");
}

// The size: no check; its menu shows only from output level 2 on, its prompt always.
const setter::Setter<float> kSymbolSize{
    {"ssymbolsize", " 2.8", "26-03-2009"}, plt2blk.symbolsize, 0.4f, setter::CheckIn::kNever,
    [](const setter::Setter<float>& s) {
      say_real("INITIALISING SYMBOL SIZE (cm) =", s.def, 8, 3);
    },
    nullptr,
    [](const setter::Setter<float>& s, float& size) {
      frame::submenuhead(s.id);
      if (iocom.lwito(2)) {
        say_rule();
        say_item("SYMBOL SIZE (cm):");
        say_rule();
        say_real("currently stored size =", s.field, 8, 3);
        say_real("ready to  store  size =", size, 8, 3);
        frame::menutail();
      }
      int status = 0;
      frame::inrealdef(size, "symbol size in cm", size, status);
    },
    nullptr};

}  // namespace

void ssymbolsize(float& size, frame::Mode mode) { setter::run(kSymbolSize, size, mode); }

void ssymboltype(int& itype, frame::Mode mode) {
  if (mode.from_stored()) itype = plt2blk.symboltype;
  if (mode.from_default()) {
    itype = kDefaultType;
    if (mode.announces()) {
      frame::submenuhead(id_ssymboltype);
      say_int("INITIALISING SYMBOL TYPE =", itype, 4);
    }
  }
  if (mode.menu()) {
    // The table only (when menus show at all): it asks nothing, so a command file gets the
    // same dialog at every output level.
    if (mode == frame::Mode::kTableOnly) {
      if (iocom.lwito(2)) {
        say_type_table();
      }
      return;
    }
    frame::submenuhead(id_ssymboltype);
    if (iocom.lwito(2)) {
      say_rule();
      say_item("SYMBOL TYPE:");
      say_item(" Negative number => filled symbol");
      say_item(" N.B. Symbols also depend on");
      say_item("      polygon & line attributes");
      say_rule();
      if (mode == frame::Mode::kAskOnly) {
        say_int("ready to set type =", itype, 4);
      } else {
        say_int("currently stored type =", plt2blk.symboltype, 4);
        say_int("ready to  store  type =", itype, 4);
      }
      say_rule();
      say_item("Symbol type ... symbol number");
      say_type_table();
      frame::menutail();
    }
    int status = 0;
    frame::inintegdef(itype, "symbol number", itype, status);
  }
  if (mode.stores()) {
    set_symbol_type(itype);
  } else if (mode != frame::Mode::kAskOnly) {
    frame::warninghead(id_ssymboltype);
    say_int("inter =", mode.code(), 4);
    say_item("===> NO ACTION");
    frame::warningtail00();
  }
}

void set_symbol_size(float cm) { setter::set(kSymbolSize, cm); }
void set_symbol_type(int itype) { plt2blk.symboltype = itype; }
float symbol_size() { return plt2blk.symbolsize; }
int symbol_type() { return plt2blk.symboltype; }

}  // namespace korbast::plot
