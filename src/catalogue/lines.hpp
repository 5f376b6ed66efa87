// The console line forms of the catalogue dialog, written on the standard output unit:
// each line begins with a blank and every item is one blank followed by the item.
#pragma once

#include <string>
#include <string_view>

#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::catalogue {

inline void write_out(std::string_view line) {
  frame::units::write_line(frame::iocom.stdout_unit, line);
}

// "(3(1x,a))"
inline void text_line(std::string_view a) {
  frame::fmt::Line s;
  s.item(a);
  write_out(s.str());
}
inline void text_line(std::string_view a, std::string_view b) {
  frame::fmt::Line s;
  s.item(a).item(b);
  write_out(s.str());
}
inline void text_line(std::string_view a, std::string_view b, std::string_view c) {
  frame::fmt::Line s;
  s.item(a).item(b).item(c);
  write_out(s.str());
}

// "(1x,a,1x,i6,1x,a)"
inline void count_line(std::string_view text, long long n) {
  frame::fmt::Line s;
  s.item(text).x().i(n, 6);
  write_out(s.str());
}
inline void count_line(std::string_view text, long long n, std::string_view closing) {
  frame::fmt::Line s;
  s.item(text).x().i(n, 6).item(closing);
  write_out(s.str());
}

// "(1x,a,1x,l1)"
inline void flag_line(std::string_view text, bool v) {
  frame::fmt::Line s;
  s.item(text).x().l(v, 1);
  write_out(s.str());
}

// "(1x,a,1x,f8.3)"
inline void value_line(std::string_view text, float v) {
  frame::fmt::Line s;
  s.item(text).x().f(v, 8, 3);
  write_out(s.str());
}

// Prompts and explanations are handed on as texts of 35 characters.
inline std::string pad35(std::string_view s) {
  std::string t(s.substr(0, 35));
  t.resize(35, ' ');
  return t;
}

}  // namespace korbast::catalogue
