// The symbol size and type: the two fields every point symbol is drawn from, their settings
// dialogs and the table of type codes. Neither value is checked: any size and any code are
// stored (an unknown code draws a circle).
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

constexpr std::string_view kTypeName = "ssymboltype";
constexpr std::string_view kTypeVersion = " 2.5";
constexpr std::string_view kTypeDate = "27-03-2009";

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

using setter::out;
using setter::rule;
using setter::say;

// The size: no check; its menu shows only from output level 2 on, its prompt always.
const setter::Setter<float> kSymbolSize{
    {"ssymbolsize", " 2.8", "26-03-2009"}, plt2blk.symbolsize, 0.4f, setter::CheckIn::kNever,
    [](const setter::Setter<float>& s) {
      out(fmt::Line().item("INITIALISING SYMBOL SIZE (cm) =").x(1).f(s.def, 8, 3).str());
    },
    nullptr,
    [](const setter::Setter<float>& s, float& size) {
      setter::head(s.id);
      if (iocom.lwito(2)) {
        say(rule());
        say("SYMBOL SIZE (cm):");
        say(rule());
        out(fmt::Line().item("currently stored size =").x(1).f(s.field, 8, 3).str());
        out(fmt::Line().item("ready to  store  size =").x(1).f(size, 8, 3).str());
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
      frame::submenuhead(kTypeName, kTypeVersion, kTypeDate);
      out(fmt::Line().item("INITIALISING SYMBOL TYPE =").x(1).i(itype, 4).str());
    }
  }
  if (mode.menu()) {
    // The table only (when menus show at all): it asks nothing, so a command file gets the
    // same dialog at every output level.
    if (mode == frame::Mode::kTableOnly) {
      if (iocom.lwito(2)) {
        for (std::string_view line : kTypeTable) say(line);
      }
      return;
    }
    frame::submenuhead(kTypeName, kTypeVersion, kTypeDate);
    if (iocom.lwito(2)) {
      say(rule());
      say("SYMBOL TYPE:");
      say(" Negative number => filled symbol");
      say(" N.B. Symbols also depend on");
      say("      polygon & line attributes");
      say(rule());
      if (mode == frame::Mode::kAskOnly) {
        out(fmt::Line().item("ready to set type =").x(1).i(itype, 4).str());
      } else {
        out(fmt::Line().item("currently stored type =").x(1).i(plt2blk.symboltype, 4).str());
        out(fmt::Line().item("ready to  store  type =").x(1).i(itype, 4).str());
      }
      say(rule());
      say("Symbol type ... symbol number");
      for (std::string_view line : kTypeTable) say(line);
      frame::menutail();
    }
    int status = 0;
    frame::inintegdef(itype, "symbol number", itype, status);
  }
  if (mode.stores()) {
    set_symbol_type(itype);
  } else if (mode != frame::Mode::kAskOnly) {
    frame::warninghead(kTypeName, kTypeVersion, kTypeDate);
    out(fmt::Line().item("inter =").x(1).i(mode.code(), 4).str());
    say("===> NO ACTION");
    frame::warningtail00();
  }
}

void set_symbol_size(float cm) { setter::set(kSymbolSize, cm); }
void set_symbol_type(int itype) { plt2blk.symboltype = itype; }
float symbol_size() { return plt2blk.symbolsize; }
int symbol_type() { return plt2blk.symboltype; }

}  // namespace korbast::plot
