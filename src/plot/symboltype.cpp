// The symbol size and type: the two fields every point symbol is drawn from, their settings
// dialogs and the table of type codes. Neither value is checked: any size and any code are
// stored (an unknown code draws a circle).
#include "plot/symboltype.hpp"

#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/plt2blk.hpp"
#include "plot/setter.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using namespace frame::console;

constexpr frame::Identity id_ssymboltype{"ssymboltype", " 2.5", "27-03-2009"};

constexpr int kDefaultType = 1;

constexpr std::string_view kTypeTable[24] = {
    "circle   .................. 0", "circle   .................. 1",
    "circle   .................. 2", "triangle .................. 3",
    "square   .................. 4", "pentagon .................. 5",
    "hexagon  .................. 6", "heptagon .................. 7",
    "octogon  .................. 8", "enneagon .................. 9",
    "   .     ................. 10", "   -     ................. 11",
    "   |     ................. 12", "   +     ................. 13",
    "   x     ................. 14", "   *     ................. 15",
    "   *     ................. 16", "   *     ................. 17",
    "circle . ................. 20", "circle - ................. 21",
    "circle | ................. 22", "circle + ................. 23",
    "square   ..................40", "circle   ....... other values",
};


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
        for (std::string_view line : kTypeTable) say_item(line);
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
      for (std::string_view line : kTypeTable) say_item(line);
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
