// The I/O settings of the dialog: which units answers are read from and dialog is written
// to, the three output levels, and the flags for the plot window, a running command file and
// the pause after errors and warnings; and the kit of console lines every dialog writes.
#pragma once

#include <string>
#include <string_view>

namespace korbast::frame {

// The three output levels, numbered 1 to 3 as the dialog speaks of them: lwito(1) minimum
// output (always on), lwito(2) more output (off while a command file runs), lwito(3) maximum
// output (entry and exit banners, always off).
struct OutputLevels {
  bool level[3] = {true, true, false};
  bool& operator()(int k) { return level[k - 1]; }
  bool operator()(int k) const { return level[k - 1]; }
};

// Whether the process's standard input (the keyboard, unit 5) is a terminal.
bool keyboard_is_terminal();

// Counts of answer lines (frame/prompts.hpp, answers refused): `in_a_row` counts every
// answer line (of the refused ones, a set refused as a whole counts one), `in_run` only those
// no person typed (a command file, a keyboard that is no terminal).
struct AnswerCounts {
  long long in_a_row = 0;
  long long in_run = 0;
};
// A mark in the answers of the run: the refused counts and the answer lines read at that
// moment.
struct AnswerMark {
  AnswerCounts refused;
  AnswerCounts read;
};

struct Iocom {
  int stdin_unit = 5;         // answers to every question (5 keyboard, 15 command file)
  int stdout_unit = 6;        // menus, prompts, echoes, reports, message lines
  int errin_unit = 5;         // the pause after an error or warning (always the keyboard)
  int errout_unit = 6;        // the boxes of error and warning frames
  bool plot_open = false;     // the plot window is open
  bool command_file = false;  // a command file is the standard input
  bool pause = true;          // error and warning tails wait for RETURN
  OutputLevels lwito;         // iocom.lwito(2) etc.
  // A person types the keyboard's answers: a question may be asked again without end (tests
  // that bind the keyboard to a string set it as they need).
  bool keyboard_person = keyboard_is_terminal();
  // Answers refused (frame/prompts.hpp): the counts now, the line read last counted among the
  // refused until it is taken; the answer lines read in the run, counted as those counts count
  // them; and the marks before the line read last (what a refusal of the line, or a blank line
  // passed over, starts from) and before the first line of the answer being read (what an
  // answer taken gives the run's count back to: a record of values over several lines is one
  // answer).
  AnswerCounts refused;
  AnswerCounts answer_lines;
  AnswerMark before_line;
  AnswerMark before_answer;
};

extern Iocom iocom;

// Sets every field to its start value and prints the settings (at every output level).
void initsio();

// ---- Console lines on the standard output unit ----
// A source that writes many lines takes them all with `using namespace frame::console;`.
inline namespace console {
// The line as it stands.
void say(std::string_view line);
// A one-item line: one blank, then the text.
void say_item(std::string_view text);
// One blank, the text, one blank and the value as given.
void say_value(std::string_view text, std::string_view value);
// One blank, the text, one blank and v in Iw.
void say_int(std::string_view text, long long v, int w);
// The line of say_int as a text (for lines handed on to be said later).
std::string int_line(std::string_view text, long long v, int w);
// One blank, the text, one blank and v in Fw.d.
void say_real(std::string_view text, double v, int w, int d);
// The width of the rules of the frames and menus, after their leading blank.
inline constexpr int kRuleWidth = 43;
// A rule of the frames and menus as a text: one blank and n copies of c (the menus' rule is
// 43 dashes).
std::string rule_line(char c = '-', int n = kRuleWidth);
// The rule said on the standard output.
void say_rule(char c = '-', int n = kRuleWidth);
// The one-item line as a text (for lines written on other units).
std::string item(std::string_view text);
}  // namespace console

}  // namespace korbast::frame
