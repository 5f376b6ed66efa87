// The console dialog: frames around menus, errors and warnings with their severities
// (frame/frames.hpp), the prompted questions with defaults (frame/prompts.hpp), the interval
// questions and value checks (frame/intervals.hpp), and the reading of answers (here).
//
// Conventions of every routine here:
// - Every line goes to the units of `iocom` (standard output 6, error output 6).
// - The routine identity is a name of 11, a version of 4 and a date of 10 characters; any
//   string_view may be given, it is blank-padded or cut when printed (the error and warning
//   boxes pad the name to 11 but cut only their 35-character body).
// - Prompts are printed from their first to their last non-blank character unless said.
// - Text answers are written into a caller's character buffer, given as std::span<char> (a
//   std::string of the wanted size, a char array) or as a Text<N>: the answer is cut to the
//   buffer's length or padded with blanks.
// - `status` is set to 0 on entry; the questions never change it, the checks set it to 1
//   when the value broke its bounds.
// - End of input: when the command file (the standard input while it runs) ends, the
//   command file is ended as its exit command does, a warning frame says so and the pending
//   question is asked again from the keyboard. When the keyboard ends, a pause goes on as if
//   RETURN was hit, and a question prints one error frame and ends the run with status 1.
#pragma once

#include <string>
#include <string_view>

#include "frame/frames.hpp"
#include "frame/intervals.hpp"
#include "frame/prompts.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

// ---- Reading answers (for routines that read a console answer of their own) ----
enum class AnswerRead {
  Ok,     // a line came
  Error,  // the read failed: report it and ask again
  Again,  // the command file ended and the keyboard took over: ask the question again
};
// Reads one answer line from unit, for the question `prompt` of the routine `name`. At the
// end of the command file (unit is iocom's standard input and not the keyboard) the command
// file is ended (through the hook below, or by switching iocom back to the keyboard), a
// warning frame is printed and Again returned. At the end of any other input an error frame
// is printed and the run ends with status 1: the function does not return. A line too long
// to keep (units::line_too_long) is an Error, one refused answer, and never ends the input;
// only failed reads of the input itself, ten in a row, do. `continues` as for read_answer.
AnswerRead read_answer_line(int unit, std::string& line, std::string_view name,
                            std::string_view prompt, bool continues = false);
// Reads one answer line from unit for the question `prompt` of the routine `name`, counting
// it among the answers refused (frame/prompts.hpp) until a question takes it; every reader of
// answers reads through here. `continues`: the line goes on with an answer begun on the lines
// before it (a record of values over several lines, the yes to replacing the file named), which
// a taking takes whole and the bounds judge by the counts before the answer began. When a count
// stands at its bound (100 in a row, 1000 in the run; 100 lines of one answer) and no person
// types on unit, an error frame names the question and the input and the run ends (status 1).
units::Read read_answer(int unit, std::string& line, std::string_view name,
                        std::string_view prompt, bool continues = false);
// A blank line where ininteg1 waits for a number: it is passed over and counts nothing.
void answer_passed_over();
// Reads and ignores one line (a pause, a wait for RETURN), a line too long to keep too; the end
// of the input just ends the wait. False only when the read failed (the caller may prompt and
// wait again, a few times).
bool wait_line(int unit);
// What ends a command file when it runs out (closes it, puts the keyboard back, level 2 on,
// reports it). Without a hook the reader closes the unit and switches iocom back itself.
void set_command_file_end_hook(void (*hook)());

}  // namespace korbast::frame
