// Fixed-column output in the old edit descriptors, and the item-line builder that every
// console line, catalogue line and table line is written with.
//
// Rules kept throughout: right-justified fields; a value too wide for its field fills it
// with asterisks; the optional 0 before the point is dropped when the field is one short
// (never when it is the only digit: F2.0 of -0.3 is "**"); the point is kept when there are
// no decimals ("45."); a negative value that rounds to zero keeps its sign ("-0."); exact
// binary ties round to even (0.125 in F5.2 is " 0.12"); NaN and Inf print right-justified
// when they fit ("NaN", "Inf" or "Infinity", "-Inf" or "-Infinity"), asterisks otherwise.
// A width of 0 or less gives an empty field, except I0, which writes the integer in as
// many columns as it needs.
#pragma once

#include <string>
#include <string_view>

namespace korbast::frame::fmt {

std::string I(long long value, int w);           // Iw     (an integer, right-justified)
std::string F(double value, int w, int d);       // Fw.d   (fixed point, d decimals)
std::string E(double value, int w, int d);       // Ew.d   (0.ddddE+xx; Ew.0 writes d.E+xx)
std::string G(double value, int w, int d);       // Gw.d   (zero has exponent 0: fixed form)
std::string L(bool value, int w);                // Lw     (T or F, right-justified)
std::string A(std::string_view text, int w);     // Aw     (cut to w, or right-justified)
// Aw counting bytes: the fields of the program's fixed-column files, which the readers cut
// by bytes too, so that a record read and written back keeps every byte in its column. A
// (above) counts characters, for console lines that line up on screen (a ° is one column).
std::string A_bytes(std::string_view text, int w);
std::string X(int n);                            // n blanks
// The text for the console: every byte that is not part of a well-formed UTF-8 character
// shown as "?", so that an echo never writes invalid UTF-8.
std::string printable(std::string_view text);

// A line built item by item. item(...) writes one blank and then the item, the common
// "(1x,a)" form of the console; the others write the field alone.
class Line {
 public:
  Line() = default;
  explicit Line(std::string_view start) : s_(start) {}

  Line& item(std::string_view text) { s_ += ' '; s_ += text; return *this; }
  Line& lit(std::string_view text) { s_ += text; return *this; }
  Line& x(int n = 1) { s_ += X(n); return *this; }
  Line& a(std::string_view text) { s_ += text; return *this; }
  Line& a(std::string_view text, int w) { s_ += A(text, w); return *this; }
  Line& ab(std::string_view text, int w) { s_ += A_bytes(text, w); return *this; }
  Line& i(long long v, int w) { s_ += I(v, w); return *this; }
  Line& f(double v, int w, int d) { s_ += F(v, w, d); return *this; }
  Line& e(double v, int w, int d) { s_ += E(v, w, d); return *this; }
  Line& g(double v, int w, int d) { s_ += G(v, w, d); return *this; }
  Line& l(bool v, int w) { s_ += L(v, w); return *this; }
  Line& rep(std::string_view text, int n) { for (int k = 0; k < n; ++k) s_ += text; return *this; }

  const std::string& str() const { return s_; }
  operator const std::string&() const { return s_; }
  operator std::string_view() const { return s_; }

 private:
  std::string s_;
};

}  // namespace korbast::frame::fmt
