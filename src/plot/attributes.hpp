// The plot attribute settings: the ten setters of the drawing attributes, the colour table,
// the symbol type and size, and the plot attributes menu that reaches them all.
//
// Every setter takes the value (in/out) and the settings mode:
//   0, 1  start from the caller's value      2, 3  start from the stored value
//   4, 5  start from the default (5 prints the "INITIALISING" line)
//   even modes show the setter's menu, then 0..5 store the value and pass it to the device;
//   any other mode stores nothing and says "===> NO ACTION".
// Refused values are replaced (by the default, a bound, or modulo the range) with a warning.
#pragma once

#include <cstddef>
#include <span>

#include "frame/text.hpp"

namespace korbast::plot {

// ---- Drawing attributes ----
void slinewidth(float& thickness, int inter);  // cm, default 0.02
void slinestyle(int& style, int inter);        // accepted and ignored: no line styles
void slinecolor(int& color, int inter);        // colour index, default 1
void sfillstyle(int& style, int inter);        // 0 hollow, 1 filled (default)
void sfillcolor(int& color, int inter);        // colour index, default 8
void stextsize(float& height, int inter);      // cm, default 0.5
void stextangle(float& angle, int inter);      // degrees, default 0
void stextalign(int& just, int inter);         // alignment code -11..11, default -1
void stextfont(int& font, int inter);          // font number 1..15, default 1
void stextcolor(int& color, int inter);        // colour index, default 1

// ---- Colour table ----
// The whole table: 4 and 5 the default table, even modes its menu (and the file reader).
void scolortable(int inter);
// The number of colours n (1..12; one colour makes a black-and-white plot).
void scolornb(int& n, int inter);
// One entry: index 0..n, its name (any length; 8 characters are kept), red, green and blue
// in percent.
void scolorrgb(int& index, std::span<char> name, float& red, float& green, float& blue,
               int inter);
template <std::size_t N>
void scolorrgb(int& index, frame::Text<N>& name, float& red, float& green, float& blue,
               int inter) {
  scolorrgb(index, std::span<char>(name.data(), N), red, green, blue, inter);
}

// The unit the colour-table file is read on.
inline constexpr int kColorTableUnit = 20;

// ---- Symbols ----
// Symbol diameter in cm (default 0.4); no value is refused.
void ssymbolsize(float& size, int mode);
// Symbol type code (default 1); no value is refused. Besides 0..5: 102 shows the type table
// only (asking nothing), 200 asks for a code and returns it without storing it.
void ssymboltype(int& itype, int mode);

// ---- The plot attributes menu ----
// 0 the menu (attributes from the stored values); 7 at a window opening: page scale and the
// user-to-device transforms of every subplot, all attributes to their defaults; 4, 5, 8, 9
// also reset the angle constants, the subplot scalings and the colour table (see plotparam.cpp).
void splotparam2(int mode);

}  // namespace korbast::plot
