// The plot attribute block and the colour names: every drawing attribute of the plot library,
// read by the drawing primitives at each call and written only by the setters.
#pragma once

#include "frame/text.hpp"

namespace korbast::plot {

// Colour indices 0..12; colour 0 is the page background. Components in percent.
struct Plt2blk {
  float red[13] = {};
  float green[13] = {};
  float blue[13] = {};
  float thickness = 0.0f;   // line thickness, cm (default 0.02)
  float textheight = 0.0f;  // text height, cm (default 0.5)
  float textangle = 0.0f;   // text angle, degrees counter-clockwise (default 0)
  float symbolsize = 0.0f;  // symbol diameter, cm (default 0.4)
  int ncolors = 0;          // highest usable colour index, 1..12
  int colormode = 0;        // 1 colour plot, 0 black-and-white (one colour)
  int linecolor = 0;        // colour index (default 1)
  int fillstyle = 0;        // 0 hollow, 1 filled (default 1)
  int fillcolor = 0;        // colour index (default 8)
  int textalign = 0;        // alignment code -11..11 (default -1)
  int textfont = 0;         // font number 1..15 (default 1)
  int textcolor = 0;        // colour index (default 1)
  int symboltype = 0;       // symbol code (default 1)
};
extern Plt2blk plt2blk;

// Subplot titles (never set in this program: they stay blank) and the colour names.
struct Pltcharblk {
  frame::Text<20> subplotitle[35];
  frame::Text<8> colornam[13];
};
extern Pltcharblk pltcharblk;

}  // namespace korbast::plot
