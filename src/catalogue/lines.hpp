// The console line forms of the catalogue dialog, written on the standard output unit:
// each line begins with a blank and every item is one blank followed by the item.
#pragma once

#include <string>
#include <string_view>

#include "frame/format.hpp"
#include "frame/frames.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::catalogue {

using frame::say;

// One to three texts on a line, "(3(1x,a))".
inline void text_line(std::string_view a) { frame::say_item(a); }
inline void text_line(std::string_view a, std::string_view b) { frame::say_value(a, b); }
inline void text_line(std::string_view a, std::string_view b, std::string_view c) {
  frame::fmt::Line s;
  s.item(a).item(b).item(c);
  say(s.str());
}

// A text, a count in 6 columns and closing words, "(1x,a,1x,i6,1x,a)".
inline void count_line(std::string_view text, long long n) { frame::say_int(text, n, 6); }
inline void count_line(std::string_view text, long long n, std::string_view closing) {
  frame::fmt::Line s;
  s.item(text).x().i(n, 6).item(closing);
  say(s.str());
}

// A text and a flag (T or F), "(1x,a,1x,l1)".
inline void flag_line(std::string_view text, bool v) {
  frame::fmt::Line s;
  s.item(text).x().l(v, 1);
  say(s.str());
}

// A text and a real in 8 columns with 3 decimals, "(1x,a,1x,f8.3)".
inline void value_line_f8_3(std::string_view text, float v) { frame::say_real(text, v, 8, 3); }

// The text cut or blank-padded to 35 characters, as prompts and explanations are handed on.
inline std::string pad35(std::string_view s) {
  std::string t(s.substr(0, 35));
  t.resize(35, ' ');
  return t;
}

// The help page of the reader's and the writer's menus: a head, the line that says which
// formats follow, and where they are described.
inline void format_help(const frame::Identity& id, std::string_view formats_line) {
  frame::submenuhead(id);
  frame::say_rule('=');
  text_line("                  HELP");
  frame::say_rule('=');
  text_line(formats_line);
  text_line("    https://www.globalcmt.org/");
  text_line("Other help:");
  text_line("    ");
  frame::say_rule('=');
}

}  // namespace korbast::catalogue
