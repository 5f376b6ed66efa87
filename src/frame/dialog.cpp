// Reading the answers of the dialog, and what happens when an input ends.
//
// The command file ends: it is ended as its exit command does (closed, the keyboard the
// standard input again, output level 2 on), a warning says so, and the question that was
// pending is asked again from the keyboard. The keyboard ends: a pause goes on as if RETURN
// had been hit, a question reports it and ends the run with status 1. A unit that keeps
// failing to read counts as ended, so that no question can repeat without end.
#include <algorithm>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

void (*command_file_end_hook)() = nullptr;

// Consecutive failed reads after which an input counts as ended.
constexpr int max_failed_reads = 10;
int failed_reads = 0;

void end_command_file(int unit) {
  if (command_file_end_hook != nullptr) command_file_end_hook();
  if (iocom.stdin_unit == unit) {  // no hook, or a hook that left the unit in place
    units::close(unit);
    iocom.stdin_unit = units::keyboard;
    iocom.command_file = false;
    iocom.lwito(2) = true;
  }
}

// The error frame of a question that can get no answer, then the end of the run (status 1):
// the routine's head, the reason, the question, the input it was asked on when said.
[[noreturn]] void stop_asking(std::string_view name, std::string_view reason,
                              std::string_view prompt, std::string_view input = {}) {
  const int out = iocom.stdout_unit;
  errorhead(Identity{name, "", ""});
  units::write_line(out, reason);
  units::write_line(out, fmt::Line().item("no answer to").item(trimmed(prompt)).str());
  if (!input.empty()) units::write_line(out, input);
  units::write_line(out, " ===> STOPPING EXECUTION");
  units::write_line(iocom.errout_unit, rule_line('*'));
  units::stop_run(1);
}

[[noreturn]] void end_of_input(std::string_view name, std::string_view prompt) {
  stop_asking(name, " END OF INPUT", prompt);
}

}  // namespace

void set_command_file_end_hook(void (*hook)()) { command_file_end_hook = hook; }

void answer_taken() { iocom.refused_in_a_row = 0; }

void choice_taken() { answer_taken(); }

void take_choice(int choice, std::initializer_list<int> known) {
  if (std::find(known.begin(), known.end(), choice) != known.end()) answer_taken();
}

void answer_refused() {
  iocom.refused_in_a_row = std::min(iocom.refused_before_line + 1, kMaxRefusedAnswers);
}

void answer_passed_over() { iocom.refused_in_a_row = iocom.refused_before_line; }

units::Read read_answer(int unit, std::string& line, std::string_view name,
                        std::string_view prompt) {
  const bool person = unit == units::keyboard && iocom.keyboard_person;
  if (iocom.refused_in_a_row >= kMaxRefusedAnswers && !person) {
    const std::string input = unit == units::keyboard
                                  ? " keyboard: no terminal"
                                  : fmt::Line().item("command file:").item(units::name(unit)).str();
    stop_asking(name, fmt::Line().i(kMaxRefusedAnswers, 4).item("ANSWERS IN A ROW REFUSED").str(),
                prompt, input);
  }
  const units::Read r = units::read_line(unit, line);
  if (r != units::Read::Eof) {  // held at the bound: a person may answer without end
    iocom.refused_before_line = iocom.refused_in_a_row;
    iocom.refused_in_a_row = std::min(iocom.refused_in_a_row + 1, kMaxRefusedAnswers);
  }
  return r;
}

AnswerRead read_answer_line(int unit, std::string& line, std::string_view name,
                            std::string_view prompt) {
  line.clear();
  units::Read r = read_answer(unit, line, name, prompt);
  if (r == units::Read::Ok) {
    failed_reads = 0;
    return AnswerRead::Ok;
  }
  if (r == units::Read::Error && ++failed_reads < max_failed_reads) {
    line.clear();
    return AnswerRead::Error;
  }
  failed_reads = 0;
  line.clear();
  if (unit != units::keyboard && unit == iocom.stdin_unit) {
    end_command_file(unit);
    const int out = iocom.stdout_unit;
    warninghead(Identity{name, "", ""});
    units::write_line(out, " END OF COMMAND FILE");
    units::write_line(out, " ==> QUESTION ASKED AGAIN FROM KEYBOARD");
    warningtail00();
    return AnswerRead::Again;
  }
  end_of_input(name, prompt);
}

bool wait_line(int unit) {
  std::string line;
  return units::read_line(unit, line) != units::Read::Error;
}

}  // namespace korbast::frame
