// The console dialog: frames around menus, errors and warnings with their severities, the
// prompted questions with defaults, and the interval questions and value checks.
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

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "frame/text.hpp"

namespace korbast::frame {

// A routine's identity as its frames show it: name (11), version (4) and date (10).
struct Identity {
  std::string_view name, version, date;
};

// ---- Menu frames and banners (standard output) ----
void mainmenuhead(std::string_view name, std::string_view version, std::string_view date);
void submenuhead(std::string_view name, std::string_view version, std::string_view date);
void menutail();
void subhead(std::string_view name, std::string_view version, std::string_view date);  // level 3
void subtail(std::string_view name, std::string_view version, std::string_view date);  // level 3
// The same heads for a routine's Identity.
void submenuhead(const Identity& id);
void warninghead(const Identity& id);

// ---- Error and warning frames (error output) ----
void errorhead(std::string_view name, std::string_view version, std::string_view date);
void warninghead(std::string_view name, std::string_view version, std::string_view date);
void errortail00();
void warningtail00();
void errortail0(int unused);
void warningtail0(int unused);
// Severity 0: recoverable, asks "STOP" with default No; any other: sad face, default Yes.
// A yes ends the run (status 1); otherwise it pauses and returns.
void errortail01(int severity);
// Severity 0 recoverable (asks "RESUME"), 1 unrecoverable (asks "STOP"), 2 fatal (ends the
// run); any other value returns at once. Callers follow it with errortail00().
void errorstop(int severity);
// The pause: "===> HIT RETURN TO CONTINUE" (or "... TO RESUME COMMANDS" while a command file
// runs) and one line read from the error input; its end of input just ends the pause.
void pause_for_return();

// ---- Prompted questions (standard input and output of iocom) ----
void inintegdef(int& value, std::string_view prompt, int def, int& status);
void inrealdef(float& value, std::string_view prompt, float def, int& status);
void inlogicdef(bool& value, std::string_view prompt, bool def, int& status);
void inchardef(std::span<char> value, std::string_view prompt, std::string_view def, int& status);
void ininteg1(int& value, std::string_view prompt, int& status);
void inchar1(std::span<char> value, std::string_view prompt, int& status);
void inintegdefnp(int& value, std::string_view prompt, int def, int& status);
// Reads in_unit and writes out_unit, whatever the output level (the severity tails).
void inlogicdef2(bool& value, std::string_view prompt, bool def, int in_unit, int out_unit,
                 int& status);

// As inchardef, for a file name: the whole answer line is taken (not cut to 80 characters)
// and returned; the echo shows it cut or padded to shown_len characters.
std::string inchardef_name(std::string_view prompt, std::string_view def, std::size_t shown_len,
                           int& status);

template <std::size_t N>
void inchardef(Text<N>& value, std::string_view prompt, std::string_view def, int& status) {
  inchardef(std::span<char>(value.data(), N), prompt, def, status);
}
template <std::size_t N>
void inchar1(Text<N>& value, std::string_view prompt, int& status) {
  inchar1(std::span<char>(value.data(), N), prompt, status);
}

// ---- Interval questions and value checks ----
// An interval whose lower bound exceeds its upper bound cannot be answered: the interval
// questions then report it in an error frame and return without reading (inintegvindef and
// inrealvindef give the default, inintegvin1 leaves the value as it was).
void inintegvin1(int& value, std::string_view prompt, int lower, int upper, int& status);
void inintegvindef(int& value, std::string_view prompt, int def, int lower, int upper,
                   int& status);
void inrealvindef(float& value, std::string_view prompt, float def, float lower, float upper,
                  int& status);
void cinvin(int value, int lower, int upper, std::string_view caller, std::string_view varname,
            int& status);
void cinmax(int value, int upper, std::string_view caller, std::string_view varname,
            int& status);
// Gravity 0 warning, 1 error, 2 error and "RESUME", 3 error and "STOP", 4 fatal (no reset);
// the value is reset to the nearer bound unless the gravity is 4.
void crevin2(std::string_view varname, float& value, float lower, float upper,
             std::string_view caller, int gravity, int& status);

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
// is printed and the run ends with status 1: the function does not return.
AnswerRead read_answer_line(int unit, std::string& line, std::string_view name,
                            std::string_view prompt);
// Reads and ignores one line (a pause, a wait for RETURN); the end of the input just ends the
// wait. False only when the read failed (the caller may prompt and wait again, a few times).
bool wait_line(int unit);
// What ends a command file when it runs out (closes it, puts the keyboard back, level 2 on,
// reports it). Without a hook the reader closes the unit and switches iocom back itself.
void set_command_file_end_hook(void (*hook)());

}  // namespace korbast::frame
