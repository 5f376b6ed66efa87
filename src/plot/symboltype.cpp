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

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

constexpr std::string_view kSizeName = "ssymbolsize";
constexpr std::string_view kSizeVersion = " 2.8";
constexpr std::string_view kSizeDate = "26-03-2009";
constexpr std::string_view kTypeName = "ssymboltype";
constexpr std::string_view kTypeVersion = " 2.5";
constexpr std::string_view kTypeDate = "27-03-2009";

constexpr float kDefaultSize = 0.4f;
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

void out(std::string_view line) { frame::units::write_line(iocom.stdout_unit, line); }
void say(std::string_view text) { out(fmt::Line().item(text).str()); }
std::string rule() { return std::string(43, '-'); }

}  // namespace

void ssymbolsize(float& size, int mode) {
  if (mode == 2 || mode == 3) size = plt2blk.symbolsize;
  if (mode == 4 || mode == 5) {
    size = kDefaultSize;
    if (mode == 5) {
      frame::submenuhead(kSizeName, kSizeVersion, kSizeDate);
      out(fmt::Line().item("INITIALISING SYMBOL SIZE (cm) =").x(1).f(size, 8, 3).str());
    }
  }
  if (mode == 0 || mode == 2 || mode == 4) {
    frame::submenuhead(kSizeName, kSizeVersion, kSizeDate);
    if (iocom.lwito(2)) {
      say(rule());
      say("SYMBOL SIZE (cm):");
      say(rule());
      out(fmt::Line().item("currently stored size =").x(1).f(plt2blk.symbolsize, 8, 3).str());
      out(fmt::Line().item("ready to  store  size =").x(1).f(size, 8, 3).str());
      frame::menutail();
    }
    int status = 0;
    frame::inrealdef(size, "symbol size in cm", size, status);
  }
  if (mode >= 0 && mode <= 5) {
    plt2blk.symbolsize = size;
  } else {
    frame::warninghead(kSizeName, kSizeVersion, kSizeDate);
    out(fmt::Line().item("inter =").x(1).i(mode, 6).str());
    say("===> NO ACTION");
    frame::warningtail00();
  }
}

void ssymboltype(int& itype, int mode) {
  if (mode == 2 || mode == 3) itype = plt2blk.symboltype;
  if (mode == 4 || mode == 5) {
    itype = kDefaultType;
    if (mode == 5) {
      frame::submenuhead(kTypeName, kTypeVersion, kTypeDate);
      out(fmt::Line().item("INITIALISING SYMBOL TYPE =").x(1).i(itype, 4).str());
    }
  }
  if (mode % 2 == 0) {
    // 102 only shows the table (when menus show at all) and returns: it asks nothing, so a
    // command file gets the same dialog at every output level.
    if (mode == 102) {
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
      if (mode == 200) {
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
  if (mode >= 0 && mode <= 5) {
    plt2blk.symboltype = itype;
  } else if (mode != 200) {
    frame::warninghead(kTypeName, kTypeVersion, kTypeDate);
    out(fmt::Line().item("inter =").x(1).i(mode, 4).str());
    say("===> NO ACTION");
    frame::warningtail00();
  }
}

}  // namespace korbast::plot
