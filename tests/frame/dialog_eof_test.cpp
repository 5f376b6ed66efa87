// The end of the input: the command file running out hands the question to the keyboard; the
// keyboard running out ends the run instead of asking forever.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "frame/cmdfile.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::frame {
namespace {

using testing::Console;
using testing::lines;
using testing::StderrConsole;

class EndOfInput : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::reset_iocom();
    set_command_file_end_hook(nullptr);
    path_ = (std::filesystem::temp_directory_path() /
             ("korbast_dialog_eof_" + std::to_string(::getpid()) + ".txt"))
                .string();
  }
  void TearDown() override {
    units::close(15);
    std::remove(path_.c_str());
    set_command_file_end_hook(nullptr);
    testing::reset_iocom();
  }
  // Starts a command file holding `text` on unit 15, as the command-file menu does.
  void run_command_file(const std::string& text) {
    std::ofstream(path_) << text;
    ASSERT_TRUE(units::open(15, path_, units::Status::Old));
    iocom.stdin_unit = 15;
    iocom.command_file = true;
    iocom.lwito(2) = false;
  }
  std::string path_;
};

std::string command_file_ended(const std::string& body) {
  return lines({ex::rule('/'), " /// " + body + " ///", " ///               WARNING               ///",
                ex::rule('/'), " END OF COMMAND FILE", " ==> QUESTION ASKED AGAIN FROM KEYBOARD",
                " ===> HIT RETURN TO CONTINUE", ex::rule('/')});
}

TEST_F(EndOfInput, CommandFileEndsAndTheKeyboardAnswers) {
  Console c("\n7\n");  // the warning's pause, then the answer
  run_command_file("12\n");
  int n = 5;
  int status = 0;
  inintegdef(n, "number", n, status);
  EXPECT_EQ(n, 12);
  inintegdef(n, "number", n, status);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(iocom.stdin_unit, 5);
  EXPECT_FALSE(iocom.command_file);
  EXPECT_TRUE(iocom.lwito(2));
  EXPECT_FALSE(units::is_open(15));
  // Quiet while the file ran; the full question again from the keyboard.
  EXPECT_EQ(c.text(), lines({" Enter number", " New value =            12", " Enter number"}) +
                          command_file_ended("       subroutine inintegdef       ") +
                          lines({ex::dots(), " Enter number", " or return for default value",
                                 " Default =           12", " New value =             7",
                                 ex::dots()}));
}

int hook_calls = 0;
void test_hook() {
  ++hook_calls;
  units::close(15);
  iocom.stdin_unit = 5;
  iocom.command_file = false;
  iocom.lwito(2) = true;
  units::write_line(iocom.stdout_unit, " hook ran");
}

TEST_F(EndOfInput, TheRegisteredHookEndsTheCommandFile) {
  Console c("\ny\n");
  run_command_file("");
  hook_calls = 0;
  set_command_file_end_hook(test_hook);
  bool v = false;
  int status = 0;
  inlogicdef(v, "plot", v, status);
  EXPECT_TRUE(v);
  EXPECT_EQ(hook_calls, 1);
  EXPECT_EQ(c.text().substr(0, 18), " plot ?\n hook ran\n");
}

TEST_F(EndOfInput, AHookThatLeavesTheUnitIsBackedUp) {
  Console c("\n3\n");
  run_command_file("");
  set_command_file_end_hook([] {});
  int choice = 0;
  int status = 0;
  ininteg1(choice, "your choice", status);
  EXPECT_EQ(choice, 3);
  EXPECT_EQ(iocom.stdin_unit, 5);
}

TEST_F(EndOfInput, EveryQuestionTypeMovesToTheKeyboard) {
  Console c("\nabc\n\n4\n\n2.5\n\nn\n\n6\n\n9\n\n0.5\n\ntitle\n");
  int status = 0;
  int i = 0;
  float x = 0;
  bool b = true;
  std::string s(5, ' ');
  run_command_file("");
  inchardef(s, "name", "def", status);
  EXPECT_EQ(s, "abc  ");
  run_command_file("");
  ininteg1(i, "choice", status);
  EXPECT_EQ(i, 4);
  run_command_file("");
  inrealdef(x, "x", 1.0f, status);
  EXPECT_EQ(x, 2.5f);
  run_command_file("");
  inlogicdef(b, "flag", b, status);
  EXPECT_FALSE(b);
  run_command_file("");
  inintegvin1(i, "k", 0, 10, status);
  EXPECT_EQ(i, 6);
  run_command_file("");
  inintegvindef(i, "k", 0, 0, 10, status);
  EXPECT_EQ(i, 9);
  run_command_file("");
  inrealvindef(x, "x", 1.0f, 0.0f, 1.0f, status);
  EXPECT_EQ(x, 0.5f);
  run_command_file("");
  inchar1(s, "t", status);
  EXPECT_EQ(s, "title");
}

TEST_F(EndOfInput, InintegdefnpMovesToTheKeyboard) {
  Console c("\n8\n");
  run_command_file("");
  int n = 0;
  int status = 0;
  inintegdefnp(n, "n", 1, status);
  EXPECT_EQ(n, 8);
}

// A question at the end of the keyboard prints one error frame and ends the run.
void expect_keyboard_end(void (*ask)(), const char* routine) {
  EXPECT_EXIT(
      {
        StderrConsole c("");
        ask();
      },
      ::testing::ExitedWithCode(1),
      std::string("subroutine ") + routine +
          "(.*\n)* END OF INPUT\n no answer to the question\n ===> STOPPING EXECUTION\n \\*{43}\n$");
}

TEST_F(EndOfInput, KeyboardEndStopsEveryQuestion) {
  static int status = 0;
  static int i = 0;
  static float x = 0;
  static bool b = false;
  static std::string s(4, ' ');
  expect_keyboard_end([] { inintegdef(i, "the question", 1, status); }, "inintegdef");
  expect_keyboard_end([] { inrealdef(x, "the question", 1, status); }, "inrealdef");
  expect_keyboard_end([] { inlogicdef(b, "the question", b, status); }, "inlogicdef");
  expect_keyboard_end([] { inchardef(s, "the question", "a", status); }, "inchardef");
  expect_keyboard_end([] { ininteg1(i, "the question", status); }, "ininteg1");
  expect_keyboard_end([] { inchar1(s, "the question", status); }, "inchar1");
  expect_keyboard_end([] { inintegdefnp(i, "the question", 1, status); }, "inintegdefn");
  expect_keyboard_end([] { inlogicdef2(b, "the question", true, 5, 6, status); }, "inlogicdef2");
  expect_keyboard_end([] { inintegvin1(i, "the question", 0, 3, status); }, "inintegvin1");
  expect_keyboard_end([] { inintegvindef(i, "the question", 1, 0, 3, status); }, "inintegvind");
  expect_keyboard_end([] { inrealvindef(x, "the question", 1, 0, 3, status); }, "inrealvinde");
}

TEST_F(EndOfInput, KeyboardEndAfterEmptyLinesStopsIninteg1) {
  EXPECT_EXIT(
      {
        StderrConsole c("\n\n   \n");
        int i = 0;
        int status = 0;
        ininteg1(i, "the question", status);
      },
      ::testing::ExitedWithCode(1), "END OF INPUT");
}

TEST_F(EndOfInput, CommandFileThenKeyboardBothEnd) {
  EXPECT_EXIT(
      {
        StderrConsole c("");
        run_command_file("");
        int i = 0;
        int status = 0;
        inintegdef(i, "the question", 1, status);
      },
      ::testing::ExitedWithCode(1), "END OF COMMAND FILE(.*\n)* END OF INPUT\n");
}

// Read errors between good answers: each is reported and the question asked again, however
// many there are in all; only failed reads in a row (ten) count as an ended input.
TEST_F(EndOfInput, ReadErrorsBetweenGoodAnswersNeverEndTheInput) {
  testing::Answers answers;
  for (int k = 1; k <= 12; ++k) {  // a failed read, the error's pause, a good answer
    answers.fail();
    answers.add("\n" + std::to_string(k) + "\n");
  }
  std::istream keyboard(&answers);
  EXPECT_EXIT(
      {
        units::bind_console(keyboard, std::cerr);
        int n = 0;
        int status = 0;
        for (int k = 1; k <= 12; ++k) inintegdef(n, "the question", n, status);
        units::stop_run(n == 12 ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "( could not read the question\n(.*\n)*){12} New value = +12\n");
}

// Answers refused in a row where no person types them (a keyboard that is no terminal, a
// command file): after the 100th the run ends with a frame naming the question and the input;
// every answer a question does not take counts, and a taken answer starts the count again.
std::string times(const std::string& answer, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s += answer;
  return s;
}
void expect_refusals_end(void (*ask)(), const char* routine, const std::string& answer) {
  EXPECT_EXIT(
      {
        StderrConsole c(times(answer, 100) + "1\n");
        iocom.pause = false;
        iocom.keyboard_person = false;
        ask();
        units::stop_run(0);
      },
      ::testing::ExitedWithCode(1),
      std::string("subroutine ") + routine +
          "(.*\n)* 100 ANSWERS IN A ROW REFUSED\n no answer to .*\n keyboard: no terminal\n")
      << routine;
}

TEST_F(EndOfInput, RefusedAnswersInARowEndTheRunWhereNoPersonTypes) {
  static int status = 0;
  static int i = 0;
  static float x = 0;
  static bool b = false;
  static Text<35> name;
  expect_refusals_end([] { inrealdef(x, "the question", 1, status); }, "inrealdef", "x\n");
  expect_refusals_end([] { inlogicdef(b, "the question", b, status); }, "inlogicdef", "h\n");
  expect_refusals_end([] { ininteg1(i, "the question", status); }, "ininteg1", "x\n");
  expect_refusals_end([] { inintegdefnp(i, "the question", 1, status); }, "inintegdefn", "x\n");
  expect_refusals_end([] { inintegvin1(i, "the question", 0, 3, status); }, "inintegvin1", "7\n");
  expect_refusals_end([] { inrealvindef(x, "the question", 1, 0, 3, status); }, "inrealvinde", "x\n");
  expect_refusals_end([] { ask_until_taken(i, [](int& v) { inintegdef(v, "the question", 0, status); },
                                           [](int v) { return v != 0; }); },
                      "inintegdef", "0\n");
  expect_refusals_end([] { altsio(15, name, i, Mode::kCallerMenu); }, "inintegdef", "7\n");
  // A menu's refused exit: 99 taken by the menu, then refused by the question around it; a
  // set refused as a whole (a choice and a value taken, then the exit), one refusal a round.
  expect_refusals_end([] { ask_until_taken(i, [](int&) { while (menu_choice() != 99) {} take_choice(99, {99}); },
                                           [](int) { return false; }); },
                      "inintegdef", "99\n");
  expect_refusals_end([] { ask_until_taken(i, [](int& w) {
    for (int k = menu_choice(); take_choice(k, {1, 99}), k != 99; k = menu_choice()) inintegdef(w, "v", w, status);
  }, [](int) { return false; }); }, "inintegdef", "1\n5\n99\n");
  expect_refusals_end([] { std::string f(9, ' '); opef2(f, "test", 61, "old", Mode::kCallerMenu); }, "opef2",
                      "no_such_file\n");
  for (const char* garbage : {"x\n", "\n"})  // a free-format read of its own, asked again
    expect_refusals_end([] { while (ListReader(5, "grid", "three values").f(x).status() == ListStatus::Error) {} },
                        "grid", garbage);
}

// What is taken, what waits: blank lines at the main menu's question count nothing (120 from a
// command file, 150 from the keyboard); a menu whose exit is refused while its values stay,
// between taken answers, goes on; a value refused after 150 known choices counts once; the
// same question from a command file and from the keyboard is named the same.
TEST_F(EndOfInput, BlankLinesAtTheMainMenuAndTakenAnswersBetweenRefusalsKeepTheRunGoing) {
  EXPECT_EXIT(
      {
        StderrConsole c(times("\n", 150) + "9999\n" + times("1\n5\n99\n", 150) + "1\n7\n99\n" +
                        times("1\n", 150) + "0\n7\n");
        run_command_file(times("\n", 120) + "7\n");
        iocom.pause = false;
        iocom.keyboard_person = false;
        int i = 0;
        int j = 0;
        int status = 0;
        ininteg1(j, "your choice", status);
        ininteg1(i, "your choice", status);
        int v = 0;  // a menu setting v until 99, its exit refused while v is not 7
        for (int k = menu_choice(); take_choice(k, {1, 99}), k != 99 || v != 7; k = menu_choice()) {
          if (k == 99) answer_refused();
          if (k == 1) inintegdef(v, "v", v, status);
        }
        for (int k = 0; k < 150; ++k) take_choice(menu_choice(), {1});
        ask_until_taken(v, [](int& w) { int st = 0; inintegdef(w, "v", w, st); }, [](int w) { return w == 7; });
        units::stop_run(i == 9999 && j == 7 && v == 7 ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
  for (bool from_file : {false, true}) {
    EXPECT_EXIT(
        {
          StderrConsole c(from_file ? "" : times("no_such_file\n", 100));
          if (from_file) run_command_file(times("no_such_file\n", 100));
          iocom.pause = false;
          iocom.keyboard_person = false;
          std::string f(12, ' ');
          opef2(f, "test", 61, "old", Mode::kCallerMenu);
        },
        ::testing::ExitedWithCode(1),
        "subroutine opef2 (.*\n)* no answer to test file name\n " +
            (from_file ? "command file: " + path_ : std::string("keyboard: no terminal")));
  }
}

// The run's bound: rounds of a refused answer and taken ones (a record of values over three
// lines, a file name and the yes to replacing it, each taken whole, count nothing) end at the
// 1000th refusal where no person types.
TEST_F(EndOfInput, AThousandRefusedAnswersInTheRunEndItWhereNoPersonTypes) {
  std::ofstream(path_) << "old\n";
  for (bool person : {false, true}) {
    EXPECT_EXIT(
        {
          StderrConsole c(times("x\n5\n1\n2\n3\n" + path_ + "\ny\n", 1000));
          iocom.pause = false;
          iocom.keyboard_person = person;
          int n = 0;
          int status = 0;
          float x = 0;
          for (int k = 1; k <= 1000; ++k) {
            say_int("round", k, 4);
            inintegdef(n, "the question", n, status);
            if (ListReader(5, "grid", "three values").f(x).f(x).f(x).ok()) answer_taken();
            std::string f(9, ' ');
            opef2(f, "test", 61, "new", Mode::kCallerMenu);
            units::close(61);
          }
          units::stop_run(0);
        },
        ::testing::ExitedWithCode(person ? 0 : 1),
        person ? "" : " round 1000\n(.*\n)* 1000 ANSWERS REFUSED\n no answer to the question\n");
  }
  // A set refused as a whole (a menu's choice and value taken, then its exit) is one refusal in
  // a row and every line of it one in the run: 99 sets and a taken value go on (297 lines in the
  // run); rounds of a set and a taken value then end at the run's 1000th line, in the 235th.
  EXPECT_EXIT(
      {
        StderrConsole c(times("1\n5\n99\n", 99) + "7\n" + times("1\n5\n99\n7\n", 400));
        iocom.pause = false;
        iocom.keyboard_person = false;
        static int v = 0;
        static int status = 0;
        const auto refused_set = [] {
          const AnswerMark mark = answer_mark();
          for (int k = menu_choice(); take_choice(k, {1, 99}), k != 99; k = menu_choice())
            inintegdef(v, "v", v, status);
          answers_refused_since(mark);
        };
        for (int k = 0; k < 99; ++k) refused_set();
        inintegdef(v, "v", v, status);
        for (int k = 1; k <= 400; ++k) {
          say_int("round", k, 4);
          refused_set();
          inintegdef(v, "v", v, status);
        }
        units::stop_run(0);
      },
      ::testing::ExitedWithCode(1), " round  235\n(.*\n)* 1000 ANSWERS REFUSED\n");
}

TEST_F(EndOfInput, ATakenAnswerOrAPersonAtTheKeyboardKeepsTheQuestionsGoing) {
  const std::string answers =
      times("x\n", 99) + "1\n" + times("x\n", 99) + "2\n" + times("x\n", 100) + "3\n";
  for (bool person : {false, true}) {
    EXPECT_EXIT(
        {
          StderrConsole c(answers);
          iocom.pause = false;
          iocom.keyboard_person = person;
          int n = 0;
          int status = 0;
          for (int k = 0; k < 3; ++k) inintegdef(n, "the question", n, status);
          units::stop_run(n == 3 ? 0 : 2);
        },
        ::testing::ExitedWithCode(person ? 0 : 1),
        person ? "New value = +3\n" : "New value = +2\n(.*\n)* 100 ANSWERS IN A ROW REFUSED\n");
  }
  // Each question takes its answer, an empty one included: 99 unknown menu choices on either
  // side of it go on.
  static int st = 0;
  static int n = 0;
  static float x = 0;
  static bool b = false;
  static Text<8> t;
  for (void (*ask)() : {+[] { inchar1(t, "q", st); }, +[] { inchardef(t, "q", "a", st); },
                        +[] { inintegdef(n, "q", 1, st); }, +[] { inrealdef(x, "q", 1, st); },
                        +[] { inlogicdef(b, "q", b, st); }, +[] { inintegvindef(n, "q", 1, 0, 3, st); },
                        +[] { inrealvindef(x, "q", 1, 0, 3, st); }}) {
    EXPECT_EXIT(
        {
          StderrConsole c(times("7\n", 99) + "\n" + times("7\n", 99));
          iocom.pause = false;
          iocom.keyboard_person = false;
          for (int k = 0; k < 99; ++k) menu_choice();
          ask();
          for (int k = 0; k < 99; ++k) menu_choice();
          units::stop_run(0);
        },
        ::testing::ExitedWithCode(0), "");
  }
  // A command file never is a person: the frame names it.
  EXPECT_EXIT(
      {
        StderrConsole c;
        run_command_file(times("7\n", 100));
        iocom.pause = false;
        iocom.keyboard_person = true;
        int i = 0;
        int status = 0;
        inintegvindef(i, "k", 0, 0, 3, status);
      },
      ::testing::ExitedWithCode(1), " command file: " + path_ + "\n ===> STOPPING EXECUTION\n");
}

// The command-file menu: an unknown answer brings the menu back in the menu mode and ends
// the run in the silent caller mode.
TEST(CommandFileMenu, AnUnknownAnswerIsAskedAgainOrStopsTheRun) {
  testing::reset_iocom();
  {
    Console c("7\n99\n");
    Text<35> name;
    int choice = 0;
    altsio(15, name, choice, Mode::kCallerMenu);
    EXPECT_EQ(choice, 99);
    EXPECT_EQ(ex::count(ex::split_lines(c.text()), " @ subroutine altsio     "), 2);
  }
  EXPECT_EXIT(
      {
        StderrConsole c("7\n\n");
        Text<35> name;
        int choice = 0;
        altsio(15, name, choice, Mode::kCaller);
      },
      ::testing::ExitedWithCode(1), "Unknown answer irep =      7");
  testing::reset_iocom();
}

}  // namespace
}  // namespace korbast::frame
