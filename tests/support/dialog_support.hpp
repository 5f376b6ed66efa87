// Helpers for dialog tests: the I/O settings back at their start values, expected lines
// joined into console text, and a console for death tests that writes to stderr (where
// GoogleTest can see what a stopped run printed).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"

namespace korbast::testing {

// n copies of c.
inline std::string rep(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

// Lines joined, each ended by a line feed, as the console shows them.
inline std::string lines(std::initializer_list<std::string> ls) {
  std::string s;
  for (const auto& l : ls) s += l + "\n";
  return s;
}

// The I/O settings at their start values, without printing them.
inline void reset_iocom() { frame::iocom = frame::Iocom{}; }

// A dialog test: the I/O settings at their start values before and after each case.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_iocom(); }
  void TearDown() override { reset_iocom(); }
};

// A dialog test without the pause after errors and warnings, the angle constants set quietly.
class QuietDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    frame::iocom.pause = false;
    Console quiet;
    frame::trigoset();
  }
};

// Units 5 bound to a string and 6 to stderr, for EXPECT_EXIT.
class StderrConsole {
 public:
  explicit StderrConsole(const std::string& input = "") : in_(input) {
    frame::units::bind_console(in_, std::cerr);
  }
  ~StderrConsole() { frame::units::bind_console(); }
  StderrConsole(const StderrConsole&) = delete;
  StderrConsole& operator=(const StderrConsole&) = delete;

 private:
  std::istringstream in_;
};

// The sad face of the unrecoverable errors as the console shows it: a line of six blanks,
// the 18 lines of the face behind four blanks, the line of six blanks again.
inline std::string sorry_text() {
  return lines({"      ",
                "                &&&&&&&&&&&&                ",
                "            &&                &&            ",
                "         &&                      &&         ",
                "       &&                          &&       ",
                "      &&                            &&      ",
                "     &&                              &&     ",
                "     &        &&&          &&&        &     ",
                "    &&        &&&          &&&        &&    ",
                "    &&                                &&    ",
                "    &&                                &&    ",
                "    &&                                &&    ",
                "     &          &&&&&&&&&&&&          &     ",
                "     &&      &&&            &&&      &&     ",
                "      &&   &&                  &&   &&      ",
                "       &&                          &&       ",
                "         &&                      &&         ",
                "            &&                &&            ",
                "                &&&&&&&&&&&&                ",
                "      "});
}

}  // namespace korbast::testing
