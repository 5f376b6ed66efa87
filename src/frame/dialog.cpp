// Reading the answers of the dialog, and what happens when an input ends.
//
// The command file ends: it is ended as its exit command does (closed, the keyboard the
// standard input again, output level 2 on), a warning says so, and the question that was
// pending is asked again from the keyboard. The keyboard ends: a pause goes on as if RETURN
// had been hit, a question reports it and ends the run with status 1. A unit that keeps
// failing to read counts as ended, so that no question can repeat without end; a line too
// long to keep is read (past its end) and is one refused answer, no failed read.
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

namespace {

AnswerCounts sum(const AnswerCounts& a, const AnswerCounts& b) {
  return {a.in_a_row + b.in_a_row, a.in_run + b.in_run};
}

// The refused counts after the answer lines read since a mark, refused as one answer: one more
// in a row than at the mark, and in the run's count every line of them no person typed. Held
// at their bounds, where a person may go on answering without end.
AnswerCounts refused_counts(const AnswerMark& mark, const AnswerCounts& read) {
  return {std::min<long long>(mark.refused.in_a_row + 1, kMaxRefusedAnswers),
          std::min<long long>(mark.refused.in_run + read.in_run - mark.read.in_run,
                              kMaxRefusedInRun)};
}

// The counts a line is judged by before it is read. A line that goes on with an answer is
// judged by the counts before the answer began, so that a taken answer is never cut at its
// last line; only the answer's own lines, once they reach the bound in a row (a record of
// values that never ends), end it there.
AnswerCounts judged_counts(bool continues) {
  if (!continues) return iocom.refused;
  const AnswerMark& begun = iocom.before_answer;
  return {std::max(begun.refused.in_a_row, iocom.answer_lines.in_a_row - begun.read.in_a_row),
          begun.refused.in_run};
}

}  // namespace

void answer_taken() {
  iocom.refused = {0, iocom.before_answer.refused.in_run};
}

void choice_taken() { answer_taken(); }

void take_choice(int choice, std::initializer_list<int> known) {
  if (std::find(known.begin(), known.end(), choice) != known.end()) answer_taken();
}

AnswerMark answer_mark() { return {iocom.refused, iocom.answer_lines}; }

void answers_refused_since(const AnswerMark& mark) {
  iocom.refused = refused_counts(mark, iocom.answer_lines);
}

void answer_refused() { answers_refused_since(iocom.before_line); }

void answer_passed_over() { iocom.refused = iocom.before_line.refused; }

units::Read read_answer(int unit, std::string& line, std::string_view name,
                        std::string_view prompt, bool continues) {
  const bool person = unit == units::keyboard && iocom.keyboard_person;
  if (!person) {
    const AnswerCounts judged = judged_counts(continues);
    const bool in_a_row = judged.in_a_row >= kMaxRefusedAnswers;
    if (in_a_row || judged.in_run >= kMaxRefusedInRun) {
      const std::string input =
          unit == units::keyboard ? " keyboard: no terminal"
                                  : fmt::Line().item("command file:").item(units::name(unit)).str();
      const std::string reason =
          in_a_row ? fmt::Line().i(kMaxRefusedAnswers, 4).item("ANSWERS IN A ROW REFUSED").str()
                   : fmt::Line().i(kMaxRefusedInRun, 5).item("ANSWERS REFUSED").str();
      stop_asking(name, reason, prompt, input);
    }
  }
  const units::Read r = units::read_line(unit, line);
  if (r != units::Read::Eof) {  // one more line, refused until taken
    iocom.before_line = answer_mark();
    if (!continues) iocom.before_answer = iocom.before_line;
    iocom.answer_lines = sum(iocom.answer_lines, {1, person ? 0 : 1});
    answers_refused_since(iocom.before_line);
  }
  return r;
}

AnswerRead read_answer_line(int unit, std::string& line, std::string_view name,
                            std::string_view prompt, bool continues) {
  line.clear();
  units::Read r = read_answer(unit, line, name, prompt, continues);
  if (r == units::Read::Ok) {
    failed_reads = 0;
    return AnswerRead::Ok;
  }
  if (r == units::Read::Error && units::line_too_long(unit)) {  // a line read, refused
    failed_reads = 0;
    return AnswerRead::Error;
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
  return units::read_line(unit, line) != units::Read::Error || units::line_too_long(unit);
}

}  // namespace korbast::frame
