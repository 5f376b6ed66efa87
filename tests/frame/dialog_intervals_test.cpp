// Interval questions and value checks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::frame {
namespace {

using testing::Console;
using testing::lines;
using testing::sorry_text;
using testing::StderrConsole;

class Intervals : public testing::DialogTest {};

const std::string pause_line = " ===> HIT RETURN TO CONTINUE";

// ---- inintegvin1 ----

TEST_F(Intervals, Inintegvin1RefusesAValueOutside) {
  Console c("40\n\n\n35\n");  // refused, the pause, an empty line (skipped), the upper bound
  int isub = 1;
  int status = 3;
  inintegvin1(isub, "subplot number", 1, 35, status);
  EXPECT_EQ(isub, 35);
  EXPECT_EQ(status, 0);
  const std::string ask = lines({ex::dots(), " Enter subplot number", " inside  [1,35]"});
  EXPECT_EQ(c.text(), ask + ex::text(ex::error_head("inintegvin1")) +
                          lines({" subplot number =           40", " outside [1,35]", pause_line,
                                 ex::rule('*')}) +
                          ask + lines({" New value =            35", ex::dots()}));
}

TEST_F(Intervals, Inintegvin1NegativeBoundsAndLevelTwoOff) {
  Console c("-180\nabc\n\n180\n");
  iocom.lwito(2) = false;
  int lon = 0;
  int status = 0;
  inintegvin1(lon, "longitude", -180, 180, status);
  EXPECT_EQ(lon, -180);
  inintegvin1(lon, "longitude", -180, 180, status);
  EXPECT_EQ(lon, 180);
  const std::string ask = lines({" Enter longitude", " inside  [-180,180]"});
  EXPECT_EQ(c.text(), ask + lines({" New value =          -180"}) + ask +
                          ex::text(ex::error_head("inintegvin1")) +
                          lines({" could not read longitude", " ==> RETRYING", pause_line,
                                 ex::rule('*')}) +
                          ask + lines({" New value =           180"}));
}

// ---- inintegvindef ----

TEST_F(Intervals, InintegvindefDefaultAndRefusedDefault) {
  Console c("\n\n\n7\n");
  int k = 3;
  int status = 0;
  inintegvindef(k, "colour", k, 0, 10, status);
  EXPECT_EQ(k, 3);
  // A default outside the interval is refused like a typed value.
  k = 12;
  inintegvindef(k, "colour", k, 0, 10, status);
  EXPECT_EQ(k, 7);
  auto ask = [](const std::string& def) {
    return lines({ex::dots(), " Enter colour", " inside  [0,10]", " or return for default value",
                  " Default = " + def});
  };
  EXPECT_EQ(c.text(), ask("           3") + lines({" New value =             3", ex::dots()}) +
                          ask("          12") +
                          ex::text(ex::error_head("inintegvind")) +
                          lines({" colour =           12", " outside [0,10]", pause_line,
                                 ex::rule('*')}) +
                          ask("          12") + lines({" New value =             7", ex::dots()}));
}

TEST_F(Intervals, InintegvindefBoundsAreAccepted) {
  Console c("-5\n5\n");
  iocom.lwito(2) = false;
  int k = 0;
  int status = 0;
  inintegvindef(k, "k", 0, -5, 5, status);
  EXPECT_EQ(k, -5);
  inintegvindef(k, "k", 0, -5, 5, status);
  EXPECT_EQ(k, 5);
}

TEST_F(Intervals, EmptyIntervalIsReportedOnceAndNotAsked) {
  Console c("");  // nothing to read: the question must not wait for an answer
  iocom.pause = false;
  int iskip = 99;
  int status = 0;
  inintegvindef(iskip, "lines to skip", 3, 0, -1, status);
  EXPECT_EQ(iskip, 3);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("inintegvind")) +
                          lines({" cannot ask lines to skip", " inside  [0,-1]",
                                 " ==> LOWER BOUND ABOVE UPPER BOUND",
                                 " ==> DEFAULT KEPT =            3", ex::rule('*')}));
  c.clear();
  int isub = 4;
  inintegvin1(isub, "subplot", 9, 2, status);
  EXPECT_EQ(isub, 4);
  EXPECT_NE(c.text().find(" ==> VALUE KEPT =            4\n"), std::string::npos);
  c.clear();
  float x = 1.0f;
  inrealvindef(x, "size", 2.0f, 5.0f, 1.0f, status);
  EXPECT_EQ(x, 2.0f);
  EXPECT_NE(c.text().find(" inside  [ 5.000, 1.000]\n"), std::string::npos);
}

// ---- inrealvindef ----

TEST_F(Intervals, InrealvindefForms) {
  struct Case {
    float lower, upper, value, def;
    const char* interval;
    const char* def_text;
  } cases[] = {
      {0.02f, 1000.0f, 0.3f, 0.3f, " inside  [      0.0,   1000.0]",
       " Default =              0.3    "},
      {0.0f, 100.0f, 5.0f, 5.0f, " inside  [   0.00, 100.00]", " Default =    5.00"},
      {0.0f, 1.0f, 0.25f, 0.25f, " inside  [ 0.000, 1.000]", " Default =  0.250"},
      {-90.0f, 90.0f, 45.0f, 45.0f, " inside  [-90.000, 90.000]", " Default =  45.000"},
      {0.0f, 1.0f, 5.0f, 0.5f, " inside  [ 0.000, 1.000]", " Default =  0.500"},
      {0.0f, 1.0f, 50.0f, 0.5f, " inside  [ 0.000, 1.000]", " Default =   0.500"},
      {0.0f, 1.0f, 500.0f, 0.5f, " inside  [ 0.000, 1.000]", " Default =    0.50"},
      {0.0f, 1.0e7f, 5.0f, 5.0f, " inside  [          0.0,   10000000.0]",
       " Default =               5.    "},
      {0.0f, 2.0e10f, 5.0f, 5.0f, " inside  [             0.0    ,             0.2E+11]",
       " Default =               5.    "},
  };
  for (const auto& k : cases) {
    Console c("\n");
    float x = k.value;
    int status = 0;
    inrealvindef(x, "size", k.def, k.lower, k.upper, status);
    EXPECT_EQ(x, k.def);
    std::string text = c.text();
    EXPECT_NE(text.find(std::string("\n") + k.interval + "\n"), std::string::npos)
        << k.interval << "\n" << text;
    EXPECT_NE(text.find(std::string("\n") + k.def_text + "\n"), std::string::npos)
        << k.def_text << "\n" << text;
  }
}

TEST_F(Intervals, InrealvindefRefusesAndEchoesInG126) {
  Console c("2000\n\nnan\n\n1e3\n");
  iocom.lwito(2) = false;
  float x = 0.3f;
  int status = 0;
  inrealvindef(x, "size", x, 0.02f, 1000.0f, status);
  EXPECT_EQ(x, 1000.0f);
  const std::string ask = lines({" Enter size", " inside  [      0.0,   1000.0]"});
  EXPECT_EQ(c.text(), ask + ex::text(ex::error_head("inrealvinde")) +
                          lines({" size =  2000.00    ", " outside [      0.0,   1000.0]",
                                 pause_line, ex::rule('*')}) +
                          ask + ex::text(ex::error_head("inrealvinde")) +
                          lines({" could not read size", " ==> RETRYING", pause_line, ex::rule('*')}) +
                          ask + lines({" New value =   1000.00    "}));
}

// ---- cinvin and cinmax ----

TEST_F(Intervals, CinvinInsideSaysNothing) {
  Console c;
  int status = 5;
  cinvin(1, 1, 35, "smapsh2", "isub", status);
  EXPECT_EQ(status, 0);
  cinvin(35, 1, 35, "smapsh2", "isub", status);
  cinmax(35, 35, "smapsh2", "isub", status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(c.text(), "");
}

std::string stop_no_tail() {
  return sorry_text() +
         lines({" UNRECOVERABLE ERROR =====> QUITTING ADVISED", ex::dots(), " STOP ?",
                " Enter (0/1)(n/y)(N/Y)", " or return for default value or h for help",
                " Default = Yes", " New value =  No ", ex::dots(),
                " ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE", pause_line, ex::rule('*')});
}

TEST_F(Intervals, CinvinOutsideReportsAndAsksStop) {
  Console c("n\n\n");
  int status = 0;
  cinvin(40, 1, 35, "  smapsh2 ", " isub ", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("cinvin")) +
                          lines({" isub =           40",
                                 " outside [            1 ,           35 ]",
                                 " Problem originated in :", " subroutine: smapsh2"}) +
                          stop_no_tail());
}

TEST_F(Intervals, CinmaxOutsideReportsAndAsksStop) {
  Console c("n\n\n");
  int status = 0;
  cinmax(25001, 25000, "gcmtread", "nevent", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("cinmax")) +
                          lines({" nevent =        25001 > max =        25000",
                                 " Problem originated in :", " subroutine: gcmtread"}) +
                          stop_no_tail());
}

TEST_F(Intervals, CinvinStopEndsTheRun) {
  EXPECT_EXIT(
      {
        StderrConsole c("\n");
        int status = 0;
        cinvin(0, 1, 35, "smapsh2", "isub", status);
      },
      ::testing::ExitedWithCode(1), "EXECUTION STOPPED AFTER ERROR");
}

// ---- crevin2 ----

std::string violation(const char* value) {
  return std::string(" size = ") + value + " outside [        0.000000 ,      100.000000 ]";
}

TEST_F(Intervals, Crevin2GravityZeroWarnsAndResets) {
  Console c("\n");
  float size = 150.0f;
  int status = 0;
  crevin2("size", size, 0.0f, 100.0f, "smapsh2", 0, status);
  EXPECT_EQ(size, 100.0f);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(c.text(), lines({ex::rule('/'), " ///        subroutine crevin            ///",
                             " ///               WARNING               ///", ex::rule('/'),
                             " Problem in subroutine: smapsh2", violation("     150.000000"),
                             " ==> RESET size =      100.000000", pause_line, ex::rule('/')}));
}

TEST_F(Intervals, Crevin2GravityOneResetsToTheLowerBound) {
  Console c("\n");
  float size = -0.5f;
  int status = 0;
  crevin2("size", size, 0.0f, 100.0f, "smapsh2", 1, status);
  EXPECT_EQ(size, 0.0f);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("crevin")) +
                          lines({" Problem in subroutine: smapsh2", violation("      -0.500000"),
                                 " ==> RESET size =        0.000000", pause_line, ex::rule('*')}));
}

TEST_F(Intervals, Crevin2InsideAndAtTheBounds) {
  Console c;
  int status = 4;
  for (float v : {0.0f, 50.0f, 100.0f}) {
    float x = v;
    crevin2("size", x, 0.0f, 100.0f, "smapsh2", 1, status);
    EXPECT_EQ(x, v);
    EXPECT_EQ(status, 0);
  }
  EXPECT_EQ(c.text(), "");
}

TEST_F(Intervals, Crevin2NotANumberIsResetToo) {
  Console c("\n");
  iocom.pause = false;
  float x = std::numeric_limits<float>::quiet_NaN();
  int status = 0;
  crevin2("size", x, 0.0f, 100.0f, "smapsh2", 1, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(x, 0.0f);
}

TEST_F(Intervals, Crevin2GravityTwoAsksResume) {
  Console c("\n\n");
  float size = 101.0f;
  int status = 0;
  crevin2("size", size, 0.0f, 100.0f, "smapsh2", 2, status);
  EXPECT_EQ(size, 100.0f);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("crevin")) +
                          lines({" Problem in subroutine: smapsh2", violation("     101.000000"),
                                 " ==> RESET size =      100.000000",
                                 " RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED", ex::dots(),
                                 " RESUME ?", " Enter (0/1)(n/y)(N/Y)",
                                 " or return for default value or h for help", " Default = Yes",
                                 " New value =  Yes", ex::dots(), " RESUMING EXECUTION", pause_line,
                                 ex::rule('*')}));
}

TEST_F(Intervals, Crevin2UnknownGravityActsAsThree) {
  Console c("n\n\n");
  float size = 200.0f;
  int status = 0;
  crevin2("size", size, 0.0f, 100.0f, "smapsh2", 7, status);
  EXPECT_EQ(size, 100.0f);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("crevin")) +
                          lines({" Problem in subroutine: smapsh2", violation("     200.000000"),
                                 " ==> RESET size =      100.000000",
                                 " unknown  gravity =            7",
                                 " ==> RESET gravity =            3"}) +
                          sorry_text() +
                          lines({" UNRECOVERABLE ERROR ==> QUITTING ADVISED", ex::dots(), " STOP ?",
                                 " Enter (0/1)(n/y)(N/Y)",
                                 " or return for default value or h for help", " Default = Yes",
                                 " New value =  No ", ex::dots(),
                                 " ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                                 " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE",
                                 " RESUMING EXECUTION", pause_line, ex::rule('*')}));
}

TEST_F(Intervals, Crevin2GravityFourIsFatalWithoutReset) {
  EXPECT_EXIT(
      {
        StderrConsole c("");
        float size = 150.0f;
        int status = 0;
        crevin2("size", size, 0.0f, 100.0f, "smapsh2", 4, status);
      },
      ::testing::ExitedWithCode(1),
      "size =      150\\.000000 outside \\[        0\\.000000 ,      100\\.000000 \\]\n {6}\n"
      "(.*\n)* UNRECOVERABLE ERROR\n EXECUTION STOPPED BY PROGRAM\n");
}

}  // namespace
}  // namespace korbast::frame
