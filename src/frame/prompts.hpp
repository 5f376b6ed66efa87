// Prompted questions of the console dialog, with their defaults. The conventions of the
// dialog (prompts, text buffers, status, end of input) are in frame/dialog.hpp.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "frame/iocom.hpp"
#include "frame/text.hpp"

namespace korbast::frame {

// ---- Prompted questions (standard input and output of iocom) ----
// An integer, with a default kept on an empty answer; the new value is echoed.
void inintegdef(int& value, std::string_view prompt, int def, int& status);
// A real, with a default kept on an empty answer; the new value is echoed.
void inrealdef(float& value, std::string_view prompt, float def, int& status);
// Yes or no, with a default kept on an empty answer.
void inlogicdef(bool& value, std::string_view prompt, bool def, int& status);
// A text, with a default kept on an empty answer; the answer is cut to 80 characters.
void inchardef(std::span<char> value, std::string_view prompt, std::string_view def, int& status);
// An integer without a default (the choice of the main menu and of the points menu): blank
// lines are passed over and count nothing. The caller says whether it takes the number
// (take_choice), as for menu_choice.
void ininteg1(int& value, std::string_view prompt, int& status);
// A text without a default: the whole line, empty or not, is the answer.
void inchar1(std::span<char> value, std::string_view prompt, int& status);
// An integer with a default, the prompt printed as given and no echo of the new value: the
// choice of a menu, which says whether it takes it (take_choice).
void inintegdefnp(int& value, std::string_view prompt, int def, int& status);
// The choice in a menu: "your choice", with def (the exit of most menus) as the default. The
// menu says take_choice for a choice it knows: an unknown one counts as refused.
int menu_choice(int def = 99);
// The close of a menu and its question: a rule, the exit item and the menu's tail, then the
// choice read as menu_choice reads it (default 99).
int close_menu(std::string_view exit_item);
// Reads in_unit and writes out_unit, whatever the output level (the severity tails).
void inlogicdef2(bool& value, std::string_view prompt, bool def, int in_unit, int out_unit,
                 int& status);

// As inchardef, for a file name: the whole answer line is read (not cut to 80 characters)
// and returned; the echo shows it cut or padded to shown_len characters. The answer is the
// caller's to take (answer_taken when the file opens); the frames name the routine `asker`.
std::string inchardef_name(std::string_view asker, std::string_view prompt, std::string_view def,
                           std::size_t shown_len, int& status);

// ---- Answers refused ----
// Every question asks again, without end, after an answer it does not take. Where no person
// types the answers (a command file, or a keyboard that is no terminal: iocom.keyboard_person
// false) an input that never gives a usable answer (random bytes, the run's own log read back,
// `yes 12345` at a menu) would repeat for ever, so the answers are counted in one place, in two
// counts of the answer lines refused: since the last answer a question took (in a row), and in
// the whole run (only the lines no person typed). Each answer line ends taken, refused, or
// counting nothing:
// - every answer line a question reads counts one (dialog.hpp, read_answer: every reader of
//   answers reads through it, the free-format reader of the answers included) until it is
//   taken; a line too long to keep is one such line;
// - an answer taken sets the count in a row to 0 and leaves its lines out of the run's count:
//   the questions of this file say answer_taken when they take their answer, a menu says
//   take_choice for a choice it knows (its choice is read by menu_choice, close_menu, ininteg1
//   or inintegdefnp, which leave that to it), a question of its own (a file name that opens,
//   three values) when it takes them;
// - a caller that refuses what its last answer line gave (answer_refused: a value its check
//   refuses, a menu's exit refused while what was set in it stays, a number no menu item, a
//   menu's choice answered only by a warning that nothing was done) makes that line one
//   refused line, whether a question took it first or not;
// - a set-up that refuses a set of answers together (answers_refused_since a mark taken before
//   it asked them: two parallels, an origin, an angle of view) makes the set one refused answer
//   in a row and every line of it one refused line in the run's count, taken first or not: the
//   counts go on from where they stood at the mark;
// - a blank line where ininteg1 waits for a number (the choice of the main menu and of the
//   points menu) counts nothing.
// So an unreadable answer, a value outside its bounds, an unknown menu choice, a request for
// help, a file that will not open, a blank line where values are due each count one, in a
// row across questions. Before a line is read after 100 refused in a row, or after 1000
// refused in the run whatever was taken between them, the run ends instead, with an error
// frame naming the question (its routine and prompt) and the input, status 1, the common stop
// path keeping whatever was written. A line that goes on with an answer (a record's further
// values, the yes to replacing a file) is judged by the counts before the answer began, so
// that a taken answer is never cut at its last line; an answer's own lines alone end the run
// at 100. A person at a terminal is asked again.
inline constexpr int kMaxRefusedAnswers = 100;
inline constexpr int kMaxRefusedInRun = 1000;
// The answer just read is taken: the count in a row starts again, and the lines of the answer
// leave the run's count.
void answer_taken();
// A menu's choice: taken when it is one of `known`, the choices the menu offers as it stands (one
// that only shows the menu again included); any other counts as refused.
void take_choice(int choice, std::initializer_list<int> known);
// A menu's choice taken, for a menu that tells its choices by a test of its own.
void choice_taken();
// A caller refuses what its last answer line gave (a number a menu does not know, a menu's exit
// refused while what was set in it stays, a choice the menu answers only with a warning that
// nothing was done): that line counts as refused once, taken before or not, and the counts go
// on from where they stood before the line was read. So a menu left again and again with
// nothing changed counts every exit in a row; a choice or value taken between two refused exits
// starts the count in a row again, and the run's count bounds such rounds.
void answer_refused();
// A mark in the answers of the run, taken before a set-up asks a set of answers that it may
// refuse together (answers_refused_since).
AnswerMark answer_mark();
// The answer lines read since the mark are refused together as one answer, taken before or
// not: the count in a row is the mark's and one more, the run's count the mark's and one more
// for each line. So a set-up asked again after every refusal of its set (a menu session
// setting two parallels, left with 99 on a pair it cannot take) counts each refused round once
// in a row and every line of it in the run.
void answers_refused_since(const AnswerMark& mark);

// A question asked again until its answer is taken: ask(answer) asks it, offering `answer` as
// its default (or as the value its menu shows); taken(answer) accepts the answer, or reports
// the refusal in a frame of its own and returns false. Every asking starts from the value in
// force before the first one, never from a refused answer, so that an empty answer after a
// refusal gives that value back; value changes only to a taken answer. A refused asking (a
// menu's whole session with its exit) is one refused answer, every line of it in the run's
// count.
template <class T, class Ask, class Taken>
void ask_until_taken(T& value, Ask ask, Taken taken) {
  const T before = value;
  for (;;) {
    T answer = before;
    const AnswerMark mark = answer_mark();
    ask(answer);
    if (taken(answer)) {
      value = answer;
      answer_taken();
      return;
    }
    answers_refused_since(mark);
  }
}

template <std::size_t N>
void inchardef(Text<N>& value, std::string_view prompt, std::string_view def, int& status) {
  inchardef(std::span<char>(value.data(), N), prompt, def, status);
}
template <std::size_t N>
void inchar1(Text<N>& value, std::string_view prompt, int& status) {
  inchar1(std::span<char>(value.data(), N), prompt, status);
}

}  // namespace korbast::frame
