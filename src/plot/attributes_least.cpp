// The least forms of the attribute settings that the main program and the window opening
// call: they keep the attribute block usable (defaults, colour table, page scale) and print
// the lines the start-up dialog shows. The full settings and menus replace this file.
#include <string>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/primitives.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

namespace {

using frame::iocom;
namespace fmt = frame::fmt;

void out(std::string_view text) { frame::units::write_line(iocom.stdout_unit, text); }
void say(std::string_view text) { out(fmt::Line().item(text).str()); }

struct Colour {
  std::string_view name;
  float r, g, b;
};

constexpr Colour kTable[13] = {
    {"White-bkg", 100, 100, 100}, {"Black", 0, 0, 0},       {"Red", 50, 0, 0},
    {"Green", 0, 50, 0},          {"Blue", 0, 0, 50},       {"Cyan", 0, 50, 50},
    {"Magenta", 50, 0, 50},       {"Yellow", 50, 50, 0},    {"Grey20", 80, 80, 80},
    {"Grey30", 70, 70, 70},       {"Grey40", 60, 60, 60},   {"Grey50", 50, 50, 50},
    {"Grey70", 30, 30, 30},
};

// The page scale of the open window and the device state of the default attributes.
void reset_for_window() {
  plt1blk.devscale = page_scale(windevsize.isetup, windevsize.top, windevsize.left,
                                windevsize.bottom, windevsize.right, windevsize.pxpcm);
  for (int k = 0; k < kSubplots; ++k) plt1blk.cm0tode[k][0] = plt1blk.cm0tode[k][1] = 0.0f;
  plt1blk.cmtode[0][0] = plt1blk.cmtode[1][1] = plt1blk.devscale;
  plt1blk.cmtode[0][1] = plt1blk.cmtode[1][0] = 0.0f;
  plt1blk.isub = 1;
  plt2blk.thickness = 0.02f;
  plt2blk.textheight = 0.5f;
  plt2blk.textangle = 0.0f;
  plt2blk.symbolsize = 0.4f;
  plt2blk.linecolor = 1;
  plt2blk.fillstyle = 1;
  plt2blk.fillcolor = 8;
  plt2blk.textalign = -1;
  plt2blk.textfont = 1;
  plt2blk.textcolor = 1;
  plt2blk.symboltype = 1;
  if (plt2blk.fillcolor > plt2blk.ncolors) plt2blk.fillcolor = plt2blk.fillcolor % (plt2blk.ncolors + 1);
  if (plt2blk.fillcolor == 0) plt2blk.fillcolor = 1;
  if (iocom.plot_open) {
    intslinewidth(plt2blk.thickness * plt1blk.devscale);
    intstextsize(plt2blk.textheight);
  }
}

}  // namespace

void splotparam2(int mode) {
  if (mode == 7 || mode == 5) {
    reset_for_window();
    return;
  }
  frame::submenuhead("splotparam2", " 6.0", "14-05-2010");
  if (iocom.lwito(2)) {
    say(std::string(43, '-'));
    say("         SETTING PLOT ATTRIBUTES");
    say(std::string(43, '-'));
  }
  frame::menutail();
}

void sfillstyle(int& style, int mode) {
  if (mode == 4 || mode == 5) style = 1;
  if (mode == 2 || mode == 3) style = plt2blk.fillstyle;
  if (mode == 5) {
    frame::submenuhead("sfillstyle", " 3.2", "16-03-2009");
    say("INITIALISING FILL STYLE TO: filled");
  }
  if (mode >= 0 && mode <= 5) {
    if (style > 1) style = style % 2;
    if (style < 0) style = 1;
    plt2blk.fillstyle = style;
  }
}

void scolortable(int mode) {
  if (mode != 4 && mode != 5) return;
  frame::submenuhead("scolortable", " 1.3", "10-05-2009");
  say("INITIALIZING COLOR TABLE:");
  say("0   -> BKG = WHITE");
  say("1   -> FRG = BLACK");
  say("2-4 -> RGB COLORS");
  say("5-7 -> CMY COLORS");
  say("8   -> GREY 50%");
  plt2blk.ncolors = 12;
  plt2blk.colormode = 1;
  for (int i = 0; i < 13; ++i) {
    plt2blk.red[i] = kTable[i].r;
    plt2blk.green[i] = kTable[i].g;
    plt2blk.blue[i] = kTable[i].b;
    pltcharblk.colornam[i] = kTable[i].name;
  }
}

void ssymbolsize(float& size, int mode) {
  if (mode == 2 || mode == 3) size = plt2blk.symbolsize;
  if (mode == 4 || mode == 5) size = 0.4f;
  if (mode == 5) {
    frame::submenuhead("ssymbolsize", " 2.8", "26-03-2009");
    out(fmt::Line().item("INITIALISING SYMBOL SIZE (cm) =").x(1).f(size, 8, 3).str());
  }
  if (mode >= 0 && mode <= 5) plt2blk.symbolsize = size;
}

}  // namespace korbast::plot
