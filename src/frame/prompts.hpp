// Prompted questions of the console dialog, with their defaults. The conventions of the
// dialog (prompts, text buffers, status, end of input) are in frame/dialog.hpp.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

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
// An integer without a default (the main menu's command): blank lines are passed over.
void ininteg1(int& value, std::string_view prompt, int& status);
// A text without a default: the whole line, empty or not, is the answer.
void inchar1(std::span<char> value, std::string_view prompt, int& status);
// An integer with a default, the prompt printed as given and no echo of the new value.
void inintegdefnp(int& value, std::string_view prompt, int def, int& status);
// The choice in a menu: "your choice", with def (the exit of most menus) as the default.
int menu_choice(int def = 99);
// The close of a menu and its question: a rule, the exit item and the menu's tail, then the
// choice read as menu_choice reads it (default 99).
int close_menu(std::string_view exit_item);
// Reads in_unit and writes out_unit, whatever the output level (the severity tails).
void inlogicdef2(bool& value, std::string_view prompt, bool def, int in_unit, int out_unit,
                 int& status);

// As inchardef, for a file name: the whole answer line is taken (not cut to 80 characters)
// and returned; the echo shows it cut or padded to shown_len characters.
std::string inchardef_name(std::string_view prompt, std::string_view def, std::size_t shown_len,
                           int& status);

// ---- Answers refused in a row ----
// Every question asks again, without end, after an answer it cannot take (one that cannot be
// read, a value out of its bounds, a file that will not open, a request for help, a blank
// line where a value is due). Where no person types the answers (a command file, or a keyboard
// that is no terminal: iocom.keyboard_person false) an input that never gives a usable answer
// (random bytes, the run's own log read back) would repeat for ever: at 100 refusals in a row
// the run ends instead, with an error frame naming the input and the question, status 1, the
// common stop path keeping whatever was written. A person at a terminal is asked again.
inline constexpr int kMaxRefusedAnswers = 100;
// One question of the routine `name` being asked until its answer is taken, from the answers
// on unit `in` (the standard input of iocom unless said); without a name, a question made of
// the questions it asks (ask_until_taken). Refusals are counted in a row across questions, and
// the count starts again when a question takes its answer (the object ends); a question that
// asks others also counts its own refusals, whatever the others took.
class Asking {
 public:
  explicit Asking(std::string_view name = {}, std::string_view prompt = {}, int in = -1);
  ~Asking();
  Asking(const Asking&) = delete;
  Asking& operator=(const Asking&) = delete;
  // One more answer refused: the question is asked again, unless that was the last allowed.
  void refused();

 private:
  int in_;
  int count_ = 0;
};
// An answer refused by a free-format read of the standard input of its own (a record of several
// values that cannot be read, or a blank line where values are due).
void free_format_answer_refused();

// A question asked again until its answer is taken: ask(answer) asks it, offering `answer` as
// its default (or as the value its menu shows); taken(answer) accepts the answer, or reports
// the refusal in a frame of its own and returns false. Every asking starts from the value in
// force before the first one, never from a refused answer, so that an empty answer after a
// refusal gives that value back; value changes only to a taken answer.
template <class T, class Ask, class Taken>
void ask_until_taken(T& value, Ask ask, Taken taken) {
  const T before = value;
  Asking asking;
  for (;;) {
    T answer = before;
    ask(answer);
    if (taken(answer)) {
      value = answer;
      return;
    }
    asking.refused();
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
