// The plot attribute settings: the ten setters of the drawing attributes and their plain
// accessors. The colour table is in plot/colortable.hpp, the symbol type and size in
// plot/symboltype.hpp, the plot attributes menu that reaches them all in plot/plotparam.hpp.
//
// Every setter takes the value (in/out) and the settings mode (frame/mode.hpp):
//   0, 1  start from the caller's value      2, 3  start from the stored value
//   4, 5  start from the default (5 prints the "INITIALISING" line)
//   even modes show the setter's menu, then 0..5 store the value and pass it to the device;
//   any other mode stores nothing and says "===> NO ACTION".
// Refused values are replaced (by the default, a bound, or modulo the range) with a warning.
// Code that only sets or reads a value calls the plain accessors below the setters.
#pragma once

#include "frame/mode.hpp"

namespace korbast::plot {

// ---- Drawing attributes ----
void slinewidth(float& thickness, frame::Mode inter); // cm, default 0.02
void slinestyle(int& style, frame::Mode inter);       // accepted and ignored: no line styles
void slinecolor(int& color, frame::Mode inter);       // colour index, default 1
void sfillstyle(int& style, frame::Mode inter);       // 0 hollow, 1 filled (default)
void sfillcolor(int& color, frame::Mode inter);       // colour index, default 8
void stextsize(float& height, frame::Mode inter);     // cm, default 0.5
void stextangle(float& angle, frame::Mode inter);     // degrees, default 0
void stextalign(int& just, frame::Mode inter);        // alignment code -11..11, default -1
void stextfont(int& font, frame::Mode inter);         // font number 1..15, default 1
void stextcolor(int& color, frame::Mode inter);       // colour index, default 1

// ---- Plain accessors ----
// What code sets and reads. A value is checked as the setter checks it in the silent mode 1
// (with the same warnings), then stored and passed on to the device; the setters above store
// through the same path.
void set_line_width(float cm);
void set_line_color(int color);
void set_fill_style(int style);
void set_fill_color(int color);
void set_text_size(float cm);
void set_text_angle(float degrees);
void set_text_align(int just);
void set_text_font(int font);
void set_text_color(int color);
float line_width();
int line_color();
int fill_style();
int fill_color();
float text_size();
float text_angle();
int text_align();
int text_font();
int text_color();

}  // namespace korbast::plot
