// The running point of a curve: the clamped number of points and its messages, the
// calculation types of scptend with their remainders and warnings, the description texts,
// the menus of the four set-up routines, and huge counts held before they become integers.
#include <climits>
#include <limits>
#include <string>
#include <vector>

#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using namespace korbast::testing::expected;

// The menu choice question (default 99) answered: it prints no echo.
Lines choice_question() {
  return {dots(), " Enter your choice", " or return for default value",
          " Default =           99", dots()};
}

class RunningPoint : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    frame::iocom.pause = false;
  }
  // The running point set up as the curves of the program set it.
  static void set(int np, float pti, float ptf, float ptd) {
    ptblock.np = np;
    ptblock.pti = pti;
    ptblock.ptf = ptf;
    ptblock.ptd = ptd;
  }
};

// ---- number of points ----

TEST_F(RunningPoint, CountAbove1000IsClampedWithWarning) {
  Console con;
  int np = 1200;
  scptnp(np, 1);
  EXPECT_EQ(np, 1000);
  EXPECT_EQ(ptblock.np, 1000);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" nb of points =    1200 > plot buffer size =    1000",
                                  " ===> reset nb of points =    1000",
                                  " ===> WILL NOT PLOT ALL THE DATA", rule('/')}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("subroutine scptnp"), std::string::npos);
  EXPECT_NE(con.text().find("WARNING"), std::string::npos);
}

TEST_F(RunningPoint, CountBelowOneIsAnUpstreamErrorAndOnePoint) {
  Console con;
  int np = 0;
  scptnp(np, 1);
  EXPECT_EQ(np, 1);
  EXPECT_EQ(ptblock.np, 1);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" nb of points np =       0", " ===> UPSTREAM PROBLEM ?",
                                  " Increment inconsistent with bounds ?",
                                  " ===> RESETTING np =       1", rule('*')}),
            0)
      << con.text();
  // A count made 1 by the error is not warned about a second time.
  EXPECT_EQ(con.text().find("ONLY ONE POINT"), std::string::npos);
  np = INT_MIN;
  scptnp(np, 1);
  EXPECT_EQ(np, 1);
}

TEST_F(RunningPoint, SinglePointWarnsExceptInModes6And7) {
  {
    Console con;
    int np = 1;
    scptnp(np, 7);
    EXPECT_EQ(con.text(), "");
    EXPECT_EQ(ptblock.np, 1);
  }
  {
    // Mode 6 is even: its menu, and no warning after it.
    Console con("\n");
    int np = 1;
    scptnp(np, 6);
    EXPECT_NE(con.text().find("RUNNING POINT PARAMETERS:"), std::string::npos);
    EXPECT_EQ(con.text().find("ONLY ONE POINT"), std::string::npos);
    EXPECT_EQ(ptblock.np, 1);
  }
  Console con;
  int np = 1;
  scptnp(np, 1);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" nb of points =       1", " ===> WILL PLOT ONLY ONE POINT",
                                  rule('/')}),
            0)
      << con.text();
  EXPECT_EQ(ptblock.np, 1);
}

TEST_F(RunningPoint, ModesLoadStoredOrDefaultValues) {
  ptblock.np = 37;
  {
    Console con;
    int np = 5;
    scptnp(np, 3);
    EXPECT_EQ(np, 37);
    EXPECT_EQ(con.text(), "");
  }
  {
    Console con;
    int np = 5;
    scptnp(np, 5);
    EXPECT_EQ(np, 11);
    EXPECT_EQ(ptblock.np, 11);
    Lines want = head("scptnp");
    want.push_back(" INITIALIZING NUMBER OF POINTS TO:      11");
    EXPECT_EQ(split_lines(con.text()), want);
  }
  Console con;
  float a = 7, b = 8, d = 9;
  ptblock.pti = 2.5f;
  ptblock.ptf = -1.0f;
  ptblock.ptd = 0.25f;
  scptif(a, b, 3);
  scptd(d, 2 + 1);
  EXPECT_EQ(a, 2.5f);
  EXPECT_EQ(b, -1.0f);
  EXPECT_EQ(d, 0.25f);
  scptif(a, b, 5);
  scptd(d, 4 + 1);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(b, 1.0f);
  EXPECT_EQ(d, 0.1f);
  EXPECT_EQ(ptblock.ptf, 1.0f);
  // Any value is stored as it comes.
  a = -1e30f;
  b = 1e30f;
  scptif(a, b, 1);
  EXPECT_EQ(ptblock.pti, -1e30f);
  EXPECT_EQ(ptblock.ptf, 1e30f);
  frame::Text<20> name("Angle (radians)");
  scptnam(name, 1);
  EXPECT_EQ(ptblock.ptname.view(), "Angle");
  scptnam(name, 5);
  EXPECT_EQ(name.trimmed(), "Point.parameter");
  EXPECT_EQ(ptblock.ptname.view(), "Point");
  frame::Text<3> shortname("xyz");
  scptnam(shortname, 1);
  EXPECT_EQ(ptblock.ptname.view(), "xyz  ");
  // Silent initialisation; the exit banner only at the third output level.
  EXPECT_EQ(con.text(), "");
}

// ---- calculation types ----

TEST_F(RunningPoint, IncrementFromCountAndTheTexts) {
  set(11, 0.0f, 1.0f, 0.0f);
  ptblock.ptname = "Point";
  Console con;
  scptend(1, 1);
  EXPECT_EQ(ptblock.ptd, 0.1f);
  EXPECT_EQ(ptblock.rnp, 11.0f);
  EXPECT_EQ(ptblock.rns, 10.0f);
  EXPECT_EQ(ptblock.ptrange.view(), " init =  0.000000 final =  1.000000 inc =  0.100000");
  EXPECT_EQ(ptblock.ptinfo.view(),
            "Point init =  0.000000 final =  1.000000 inc =  0.100000");
  EXPECT_EQ(con.text(), "");

  // Type 101: the same increment, the texts left as they were.
  set(5, 0.0f, 2.0f, 0.0f);
  scptend(101, 1);
  EXPECT_EQ(ptblock.ptd, 0.5f);
  EXPECT_EQ(ptblock.rns, 4.0f);
  EXPECT_EQ(ptblock.ptrange.view(), " init =  0.000000 final =  1.000000 inc =  0.100000");
  // Type 0 is type 1; one point has no increment.
  set(1, 3.0f, 4.0f, 9.0f);
  scptend(0, 1);
  EXPECT_EQ(ptblock.ptd, 0.0f);
  EXPECT_EQ(ptblock.rns, 0.0f);
  EXPECT_EQ(con.text(), "");
}

// The set-up of the drawing routines: the count clamped and given back, the bounds stored,
// the texts built for type 1 only, no menu and no output for a count in range.
TEST_F(RunningPoint, SetUpOfTheDrawingRoutines) {
  ptblock.ptname = "Angle";
  Console con;
  int np = 3;
  set_running_point(np, 1.0f, 2.0f, 101);
  EXPECT_EQ(np, 3);
  EXPECT_EQ(ptblock.pti, 1.0f);
  EXPECT_EQ(ptblock.ptf, 2.0f);
  EXPECT_EQ(ptblock.ptd, 0.5f);
  EXPECT_EQ(ptblock.ptrange.view(), std::string(51, ' '));
  set_running_point(np, 0.0f, 1.0f, 1);
  EXPECT_EQ(ptblock.ptinfo.view(),
            "Angle init =  0.000000 final =  1.000000 inc =  0.500000");
  EXPECT_EQ(con.text(), "");
  np = 1500;
  set_running_point(np, 0.0f, 1.0f, 101);
  EXPECT_EQ(np, 1000);
  EXPECT_EQ(ptblock.np, 1000);
}

TEST_F(RunningPoint, NameOfBlanksGivesInfoStartingWithOneBlank) {
  set(3, -2.0f, 2.0f, 0.0f);
  ptblock.ptname = "     ";
  scptend(1, 1);
  EXPECT_EQ(ptblock.ptrange.view(), " init = -2.000000 final =  2.000000 inc =  2.000000");
  EXPECT_EQ(ptblock.ptinfo.view(),
            "  init = -2.000000 final =  2.000000 inc =  2.000000    ");
  // A name with blanks around it enters without them.
  ptblock.ptname = " ab  ";
  scptend(1, 1);
  EXPECT_EQ(ptblock.ptinfo.view(),
            "ab init = -2.000000 final =  2.000000 inc =  2.000000   ");
  ptblock.ptname = "Baryc";
  scptend(1, 1);
  EXPECT_EQ(ptblock.ptinfo.view(),
            "Baryc init = -2.000000 final =  2.000000 inc =  2.000000");
}

TEST_F(RunningPoint, CountFromIncrementAdjustedWithLargeRemainder) {
  set(0, 0.0f, 1.0f, 0.3f);
  Console con;
  scptend(2, 1);
  EXPECT_EQ(ptblock.np, 4);
  EXPECT_EQ(ptblock.rnp, 4.0f);
  EXPECT_EQ(ptblock.rns, 3.0f);
  EXPECT_EQ(ptblock.ptd, 1.0f / 3.0f);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines,
                          {" Calculation type =      2", " np computed from td with:",
                           "  mp  =   1000", "  np  =      4", "  pti =    0.000",
                           "  ptf =    1.000", "  ptd =    0.300", "  remainder/ptd =    0.333",
                           " ==> large remainder", " RECOMPUTED VALUE:", "  ptd =    0.333",
                           rule('/')}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("subroutine scptend"), std::string::npos);
}

TEST_F(RunningPoint, CountFromIncrementKeptFallsShort) {
  set(0, 0.0f, 1.0f, 0.3f);
  Console con;
  scptend(3, 1);
  EXPECT_EQ(ptblock.np, 4);
  EXPECT_EQ(ptblock.ptd, 0.3f);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {"  remainder/ptd =    0.333", " ==> large remainder",
                                  " ==> final point is not reached", rule('/')}),
            0)
      << con.text();
  EXPECT_EQ(con.text().find("RECOMPUTED"), std::string::npos);
}

TEST_F(RunningPoint, SmallRemaindersAndOvershoots) {
  Console con;
  // Just below 10 increments (by less than 0.002): 11 points, nothing adjusted.
  set(0, 0.0f, 0.9999f, 0.1f);
  scptend(2, 1);
  EXPECT_EQ(ptblock.np, 11);
  EXPECT_EQ(ptblock.ptd, 0.1f);
  // A remainder between 5e-5 and 0.001 increments: adjusted without a word.
  set(0, 0.0f, 1.00005f, 0.1f);
  scptend(2, 1);
  EXPECT_EQ(ptblock.np, 11);
  EXPECT_EQ(ptblock.ptd, 1.00005f / 10.0f);
  // Exact: 0 to 1 by 0.25 is 5 points; downwards with a negative increment as well.
  set(0, 0.0f, 1.0f, 0.25f);
  scptend(3, 1);
  EXPECT_EQ(ptblock.np, 5);
  set(0, 1.0f, -1.0f, -0.5f);
  scptend(2, 1);
  EXPECT_EQ(ptblock.np, 5);
  EXPECT_EQ(ptblock.ptd, -0.5f);
  EXPECT_EQ(con.text(), "");
}

TEST_F(RunningPoint, EqualBoundsGiveOnePointWithItsWarning) {
  set(0, 2.0f, 2.0f, 0.5f);
  Console con;
  scptend(2, 1);
  EXPECT_EQ(ptblock.np, 1);
  EXPECT_EQ(ptblock.rns, 0.0f);
  EXPECT_EQ(ptblock.ptd, 0.5f);  // no remainder: kept
  EXPECT_NE(con.text().find(" ===> WILL PLOT ONLY ONE POINT"), std::string::npos);
}

TEST_F(RunningPoint, HugeCountIsHeldBeforeConversion) {
  // (ptf - pti) / ptd overflows to infinity in single precision.
  set(0, 0.0f, 1e30f, 1e-30f);
  Console con;
  scptend(2, 1);
  EXPECT_EQ(ptblock.np, 1000);
  EXPECT_NE(con.text().find(" ===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
  EXPECT_NE(con.text().find(" ==> large remainder"), std::string::npos);
  EXPECT_EQ(ptblock.ptd, 1e30f / 999.0f);
  // A count just beyond the integer range.
  set(0, 0.0f, 3e9f, 1.0f);
  scptend(3, 1);
  EXPECT_EQ(ptblock.np, 1000);
  EXPECT_EQ(ptblock.ptd, 1.0f);
  EXPECT_EQ(truncated_count(3e9f), 1073741824);
  EXPECT_EQ(truncated_count(-3e9f), -1073741824);
  EXPECT_EQ(truncated_count(-2.9f), -2);
  EXPECT_EQ(truncated_count(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(truncated_count(std::numeric_limits<float>::infinity()), 1073741824);
}

TEST_F(RunningPoint, UnknownTypeWarnsAndComputesAsType1) {
  set(3, 0.0f, 1.0f, 7.0f);
  ptblock.ptname = "Point";
  Console con;
  scptend(7, 1);
  EXPECT_EQ(ptblock.ptd, 0.5f);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" Calculation type =      7", " ==> Unknown",
                                  " ==> RESETTING TYPE TO USE NP", " Calculation type =      1",
                                  rule('/')}),
            0)
      << con.text();
  EXPECT_EQ(ptblock.ptrange.view(), " init =  0.000000 final =  1.000000 inc =  0.500000");
  // 107: the same warning (type 7), the texts untouched.
  con.clear();
  set(5, 0.0f, 1.0f, 7.0f);
  scptend(107, 1);
  EXPECT_EQ(ptblock.ptd, 0.25f);
  EXPECT_NE(con.text().find(" Calculation type =      7"), std::string::npos);
  EXPECT_EQ(ptblock.ptrange.view(), " init =  0.000000 final =  1.000000 inc =  0.500000");
}

TEST_F(RunningPoint, InconsistentLoopOpensTheCurveMenuUntilMended) {
  set(4, 0.0f, 1.0f, 0.0f);
  // Exit the curve menu once (still inconsistent: asked again), then set the increment
  // through choice 320 and leave.
  Console con("99\n320\n10\n0.25\n99\n99\n");
  scptend(2, 1);
  EXPECT_EQ(ptblock.ptd, 0.25f);
  EXPECT_EQ(ptblock.np, 5);
  const auto lines = split_lines(con.text());
  const Lines report = {" Calculation type =      2", " Computing np from td with:",
                        "   pti =    0.000", "   ptf =    1.000", "   ptd =    0.000",
                        " ==> INCONSISTENT LOOP", " ==> NEED TO CORRECT IT", rule('*')};
  const int first = find_sequence(lines, report);
  ASSERT_GE(first, 0) << con.text();
  EXPECT_GE(find_sequence(lines, report, static_cast<std::size_t>(first) + 1), 0);
  EXPECT_GE(find_sequence(lines, head("scall")), 0);
}

TEST_F(RunningPoint, WrongSignIsInconsistent) {
  set(4, 1.0f, 0.0f, 0.5f);
  Console con("320\n10\n-0.5\n99\n99\n");
  scptend(3, 1);
  EXPECT_NE(con.text().find(" ==> INCONSISTENT LOOP"), std::string::npos);
  EXPECT_EQ(ptblock.np, 3);
  EXPECT_EQ(ptblock.ptd, -0.5f);
}

TEST_F(RunningPoint, NoPointsYetAsksForTheCount) {
  // The block as it is at program start: no points.
  Console con("300\n10\n5\n99\n99\n");
  ptblock.ptf = 2.0f;
  scptend(1, 1);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" Calculation type =      1",
                                  " Computing increment from np =      0",
                                  " ==> NEED TO SET np > 0", rule('*')}),
            0)
      << con.text();
  EXPECT_EQ(ptblock.np, 5);
  EXPECT_EQ(ptblock.ptd, 0.5f);
}

TEST_F(RunningPoint, EvenModeShowsTheCurveMenuFirst) {
  set(3, 0.0f, 1.0f, 0.0f);
  {
    Console con("\n");
    scptend(101, 0);
    EXPECT_EQ(split_lines(con.text()).at(1), " @ subroutine scall      ");
    EXPECT_EQ(ptblock.ptd, 0.5f);
  }
  // With an even mode the computed count is offered in the number-of-points menu.
  set(0, 0.0f, 1.0f, 0.5f);
  Console con("99\n99\n");
  scptend(2, 2);
  const auto lines = split_lines(con.text());
  const int menu = find_sequence(lines, head("scptnp"));
  EXPECT_GT(menu, find_sequence(lines, head("scall")));
  EXPECT_NE(con.text().find(" nb of points ..................10       3"), std::string::npos);
  EXPECT_EQ(ptblock.np, 3);
}

// ---- menus ----

TEST_F(RunningPoint, NumberOfPointsMenu) {
  ptblock.np = 11;
  Console con("10\n500\n\n");
  int np = 0;
  scptnp(np, 2);
  EXPECT_EQ(np, 500);
  EXPECT_EQ(ptblock.np, 500);
  auto menu = [](const std::string& n, const std::string& s) {
    Lines m = head("scptnp");
    append(m, {rule('-'), " RUNNING POINT PARAMETERS:", rule('-'),
               " max nb of points ................    1000",
               " nb of points ..................10 " + n,
               " nb of segments .................. " + s, rule('-'),
               " EXIT ..........................99", rule('@')});
    append(m, choice_question());
    return m;
  };
  Lines want = menu("     11", "     10");
  append(want, {dots(), " Enter nb of pts per curve", " inside  [1,1000]",
                " or return for default value", " Default =           11",
                " New value =           500", dots()});
  append(want, menu("    500", "    499"));
  EXPECT_EQ(split_lines(con.text()), want);
}

TEST_F(RunningPoint, NumberOfPointsMenuThenClampOfAnOutOfRangeValue) {
  // Mode 0 starts from the argument: 1200 is shown, kept on exit and then clamped.
  Console con("\n");
  int np = 1200;
  scptnp(np, 0);
  EXPECT_EQ(np, 1000);
  EXPECT_NE(con.text().find(" nb of points ..................10    1200"), std::string::npos);
  EXPECT_NE(con.text().find(" ===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
}

TEST_F(RunningPoint, InitialAndFinalMenu) {
  ptblock.pti = 0.0f;
  ptblock.ptf = 1.0f;
  Console con("10\n-2.5\n11\n\n7\n99\n");
  float a = 0, b = 0;
  scptif(a, b, 2);
  EXPECT_EQ(a, -2.5f);
  EXPECT_EQ(b, 1.0f);
  EXPECT_EQ(ptblock.pti, -2.5f);
  const auto lines = split_lines(con.text());
  Lines first = head("scptif");
  append(first, {rule('-'), " RUNNING POINT parameters :", rule('-'),
                 " initial value .................10    0.000",
                 " final   value .................11    1.000", rule('-'),
                 " EXIT ..........................99", rule('@')});
  EXPECT_EQ(find_sequence(lines, first), 0) << con.text();
  EXPECT_GE(find_sequence(lines, {" initial value .................10   -2.500",
                                  " final   value .................11    1.000"}),
            0);
  EXPECT_NE(con.text().find(" Enter initial value"), std::string::npos);
  EXPECT_NE(con.text().find(" Enter final value"), std::string::npos);

}

TEST_F(RunningPoint, IncrementMenu) {
  Console con2("10\n0.125\n99\n");
  float d = 0;
  scptd(d, 4);
  EXPECT_EQ(d, 0.125f);
  EXPECT_EQ(ptblock.ptd, 0.125f);
  const auto l2 = split_lines(con2.text());
  Lines want = head("scptd");
  append(want, {rule('-'), " RUNNING POINT parameters :", rule('-'),
                " increment .....................10    0.100", rule('-'),
                " EXIT ..........................99", rule('@')});
  EXPECT_EQ(find_sequence(l2, want), 0) << con2.text();
  EXPECT_GE(find_sequence(l2, {" increment .....................10    0.125"}), 0);
}

TEST_F(RunningPoint, NameMenu) {
  ptblock.ptname = "Angle";
  frame::Text<15> name;
  Console con("10\nBarycentic coef\n99\n");
  scptnam(name, 2);
  EXPECT_EQ(ptblock.ptname.view(), "Baryc");
  EXPECT_EQ(name.view(), "Barycentic coef");
  const auto lines = split_lines(con.text());
  Lines want = head("scptnam");
  append(want, {rule('-'), " RUNNING POINT parameters :", rule('-'),
                " name ..........................10 Angle          ", rule('-'),
                " EXIT ..........................99", rule('@')});
  EXPECT_EQ(find_sequence(lines, want), 0) << con.text();
  EXPECT_GE(find_sequence(lines, {" name ..........................10 Barycentic coef"}), 0);
  EXPECT_NE(con.text().find(" Enter running point parameter name"), std::string::npos);
  EXPECT_NE(con.text().find(" Default = Angle"), std::string::npos);
}

TEST_F(RunningPoint, ExitBannerOfTheNameAtTheThirdLevel) {
  frame::iocom.lwito(3) = true;
  Console con;
  frame::Text<5> name("Angle");
  scptnam(name, 1);
  EXPECT_EQ(split_lines(con.text()),
            (Lines{rule('@'), " @ exiting scptnam    ", rule('@')}));
}

TEST_F(RunningPoint, BuffersAreContiguousColumns) {
  // x of all points, then y (callers hand slices of the block around).
  EXPECT_EQ(reinterpret_cast<const char*>(&cc2dbuff.yp[0]) -
                reinterpret_cast<const char*>(&cc2dbuff.xp[0]),
            static_cast<std::ptrdiff_t>(sizeof(float) * 1000));
  EXPECT_EQ(sizeof(Cc3dbuff), sizeof(float) * 3000);
  EXPECT_EQ(reinterpret_cast<const char*>(&cc3dbuff.ze[0]) -
                reinterpret_cast<const char*>(&cc3dbuff.xe[0]),
            static_cast<std::ptrdiff_t>(sizeof(float) * 2000));
  EXPECT_EQ(kMaxCurvePoints, 1000);
}

}  // namespace
}  // namespace korbast::plot::test
