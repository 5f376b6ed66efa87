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
void slinewidth(float& thickness, frame::Mode inter); // Line width in cm, default 0.02
void slinestyle(int& style, frame::Mode inter);       // Line style: accepted and ignored
void slinecolor(int& color, frame::Mode inter);       // Line colour index, default 1
void sfillstyle(int& style, frame::Mode inter);       // Fill style: 0 hollow, 1 filled (default)
void sfillcolor(int& color, frame::Mode inter);       // Fill colour index, default 8
void stextsize(float& height, frame::Mode inter);     // Text height in cm, default 0.5
void stextangle(float& angle, frame::Mode inter);     // Text angle in degrees, default 0
void stextalign(int& just, frame::Mode inter);        // Text alignment code -11..11, default -1
void stextfont(int& font, frame::Mode inter);         // Text font number 1..15, default 1
void stextcolor(int& color, frame::Mode inter);       // Text colour index, default 1

// ---- Plain accessors ----
// What code sets and reads. A value is checked as the setter checks it in the silent mode 1
// (with the same warnings), then stored and passed on to the device; the setters above store
// through the same path.

// Sets the line width in cm.
void set_line_width(float cm);
// Sets the line colour index.
void set_line_color(int color);
// Sets the fill style (0 hollow, 1 filled).
void set_fill_style(int style);
// Sets the fill colour index.
void set_fill_color(int color);
// Sets the text height in cm.
void set_text_size(float cm);
// Sets the text angle in degrees.
void set_text_angle(float degrees);
// Sets the text alignment code.
void set_text_align(int just);
// Sets the text font number.
void set_text_font(int font);
// Sets the text colour index.
void set_text_color(int color);
// The line width in cm.
float line_width();
// The line colour index.
int line_color();
// The fill style.
int fill_style();
// The fill colour index.
int fill_color();
// The text height in cm.
float text_size();
// The text angle in degrees.
float text_angle();
// The text alignment code.
int text_align();
// The text font number.
int text_font();
// The text colour index.
int text_color();

}  // namespace korbast::plot
