// Pieces shared by the dialog routines of this folder (not for other subsystems).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"

namespace korbast::frame::detail {

// The dotted line around a question, on the unit.
inline void dots(int unit) { units::write_line(unit, rule_line('.', 42)); }
// The dotted line on the standard output.
inline void dots() { dots(iocom.stdout_unit); }
// Whether level 2 output (menus, defaults and echoes) is on.
inline bool verbose() { return iocom.lwito(2); }

// The answer line cut to, or padded with blanks to, the buffer's length.
inline std::string buffer(const std::string& line, std::size_t n) {
  std::string b = line.substr(0, std::min(line.size(), n));
  b.resize(n, ' ');
  return b;
}

// An empty answer, or one starting with a blank, line feed or carriage return.
inline bool keeps_default(const std::string& buf) {
  return buf.empty() || buf[0] == ' ' || buf[0] == '\n' || buf[0] == '\r';
}

// A line of blanks and tabs only: a free-format read goes on with the next line.
inline bool blank_line(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

// The answer line of a value read in free format: blank lines do not end the read; each
// counts as a refused answer, or counts nothing where `blank_waits` (ininteg1, the choice of
// the main menu and of the points menu, keeps waiting for a number). Again and Error as
// read_answer_line gives them.
inline AnswerRead read_value_line(const Identity& id, std::string_view prompt, std::string& line,
                                  bool blank_waits = false) {
  for (;;) {
    const AnswerRead r = read_answer_line(iocom.stdin_unit, line, id.name, prompt);
    if (r != AnswerRead::Ok || !blank_line(line)) return r;
    if (blank_waits) answer_passed_over();
  }
}

// The report of an unreadable answer, after which the question is asked again.
inline void could_not_read(const Identity& id, std::string_view prompt) {
  errorhead(id);
  say(fmt::Line().item("could not read").item(trimmed(prompt)).str());
  say_item("==> RETRYING");
  errortail00();
}

}  // namespace korbast::frame::detail
