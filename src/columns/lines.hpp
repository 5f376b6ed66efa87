// Console lines of the column-data reader (not for other subsystems): every line is a list of
// items, each after one blank; names and titles from their first to their last non-blank
// character.
#pragma once

#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"

namespace korbast::columns::detail {

namespace fmt = frame::fmt;

// The text from its first to its last non-blank character; a text of blanks gives its last
// character (one blank), an empty text nothing.
inline std::string_view tl(std::string_view text) {
  int first = 0, last = 0;
  frame::textlen(first, last, text);
  if (last < first) return {};
  return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

// The common lines come from the frame's kit.
using namespace frame::console;

// Label and name.
inline void say_name(std::string_view label, std::string_view name) {
  frame::say_value(label, tl(name));
}
// Label, name and a closing word ("input file" name "closed").
inline void say_name(std::string_view label, std::string_view name, std::string_view word) {
  frame::say(fmt::Line().item(label).item(tl(name)).item(word).str());
}
// Label, an integer in w columns and closing words, as a text.
inline std::string count_text(std::string_view label, int v, std::string_view word, int w = 3) {
  return fmt::Line().item(label).x().i(v, w).item(word).str();
}
// The count_text line said.
inline void say_count(std::string_view label, int v, std::string_view word, int w = 3) {
  frame::say(count_text(label, v, word, w));
}

// "prefix" and k in as many digits as it needs, at most two ("File.col.7").
inline std::string numbered(std::string_view prefix, int k) {
  frame::Text<2> digits;
  int count = 0;
  frame::carinm2(digits, count, 2, k);
  return std::string(prefix) + std::string(digits.view().substr(0, static_cast<std::size_t>(count > 0 ? count : 2)));
}

}  // namespace korbast::columns::detail
