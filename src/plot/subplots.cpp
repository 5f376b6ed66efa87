#include "plot/subplots.hpp"

#include <string>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/runinfo.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/primitives.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

constexpr frame::Identity id_ssubplot{"ssubplot", " 1.3", "16-03-2009"};
constexpr std::size_t kCaption = 60;

using frame::say;
using frame::say_item;

// A caption line: cut or blank-padded to 60 characters.
std::string caption(std::string line) {
  line.resize(kCaption, ' ');
  return line;
}

}  // namespace

void ssubplot(int& isub, frame::Mode inter) {
  for (;;) {
    if (inter.from_stored()) {
      isub = plt1blk.isub;
    } else if (inter.initialising()) {
      frame::submenuhead(id_ssubplot);
      isub = 1;
      frame::say_int("INITIALISING SUBPLOT =", isub, 2);
    }
    if (inter.menu()) {
      frame::submenuhead(id_ssubplot);
      say_item("|             SUBPLOTS              |");
      say_item("|-----------------------------------|");
      frame::say_int("|max nb ..........", kSubplots, 2);
      frame::say_int("|last used .......", plt1blk.isub, 2);
      say_item("|-----------------------------------|");
      say_item("|      SWITCHING TO SUBPLOT:         ");
      say_item("|-----------------------------------|");
      frame::say_int("|number ..........", isub, 2);
      const std::string_view title =
          isub >= 1 && isub <= kSubplots ? pltcharblk.subplotitle[isub - 1].view()
                                         : std::string_view("                    ");
      say(fmt::Line().item("|name ............").item(title).str());
      frame::menutail();
    }
    int status = 0;
    frame::cinvin(isub, 1, kSubplots, id_ssubplot.name, "subplot nb", status);
    if (status == 0) break;
    inter = frame::Mode::kDefaultMenu;
  }
  set_subplot(isub);
}

void set_subplot(int isub) {
  // A number off the page is reported as the dialog reports it.
  if (isub < 1 || isub > kSubplots) {
    ssubplot(isub, frame::Mode::kCaller);
    return;
  }
  plt1blk.isub = isub;
}

int subplot() { return plt1blk.isub; }

void cmtext2(float x, float y, std::string_view text) {
  float xde = 0.0f;
  float yde = 0.0f;
  cm2de(&xde, &yde, &x, &y, 1);
  detext2(xde, yde, text);
}

void cmplotcharinfo0(std::string_view text, int line, float x, float y, frame::Mode /*inter*/) {
  const float h0 = text_size();
  const float h = h0 / 2.0f;
  set_text_size(h);
  cmtext2(x, y - 1.5f * h * static_cast<float>(line - 1), text);
  set_text_size(h0);
}

void cmplotruninfo0(float x, float y, frame::Mode /*inter*/) {
  const float h0 = text_size();
  const float h = h0 / 2.0f;
  set_text_size(h);
  const frame::RunInfo& r = frame::runinfocom;
  const std::string line1 = caption("Main program " + frame::trimmed(r.mainname.view()) + " v" +
                                    r.mainversion.str() + " on " + r.maindate.str());
  const std::string line2 = caption("Subroutine " + frame::trimmed(r.subname.view()) + " v" +
                                    r.subversion.str() + " on " + r.subdate.str());
  const std::string line3 = caption("Run on " + r.system.str() + " on " + r.rundate.str() +
                                    " at " + r.runtime.str());
  cmtext2(x, y, line1);
  cmtext2(x, y - 1.5f * h, line2);
  cmtext2(x, y - 3.0f * h, line3);
  set_text_size(h0);
}

}  // namespace korbast::plot
