// The curve-parameter menus: initialising and listing everything, the menu over all the
// parameters, the level calculations with their warnings and fall-backs, the number of fixed
// parameters and one fixed parameter (its menu, its rebuilt texts, and slots that do not
// exist).
#include <string>
#include <vector>

#include "frame/iocom.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using namespace korbast::testing::expected;


class CurveParams : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    frame::iocom.pause = false;
  }
  // Everything at its defaults, quietly.
  static void initialise() {
    Console quiet;
    scall(5);
  }
};

// ---- scall ----

TEST_F(CurveParams, InitialisingSetsEveryDefault) {
  Console con;
  scall(5);
  Lines want = head("scall");
  want.push_back(" INITIALIZING CURVES PARAMETERS");
  append(want, head("scptnp"));
  want.push_back(" INITIALIZING NUMBER OF POINTS TO:      11");
  EXPECT_EQ(split_lines(con.text()), want);

  EXPECT_EQ(pfixblock.nparfix, 0);
  for (int k = 0; k < kMaxFixedParams; ++k) {
    EXPECT_EQ(pfixblock.pfixname[k].view(), "param") << k;
    EXPECT_EQ(pfixblock.ipfixtype[k], 1);
    EXPECT_EQ(pfixblock.pfix[k], 0.0f);
    EXPECT_EQ(pfixblock.ipfix[k], 0);
    EXPECT_EQ(pfixblock.pfixvalue[k].view(), " 0.000000   ");
    EXPECT_EQ(pfixblock.pfixinfo[k].view(), "parameter = 0.000");
  }
  EXPECT_EQ(plevblock.levi, 0.0f);
  EXPECT_EQ(plevblock.levf, 1.0f);
  EXPECT_EQ(plevblock.levd, 0.1f);
  EXPECT_EQ(plevblock.nlev, 11);
  EXPECT_EQ(plevblock.levname.view(), "level");
  EXPECT_EQ(plevblock.levrange.trimmed(), "init = 0.000 final = 1.000 inc = 0.100");
  EXPECT_EQ(plevblock.levinfo.view(),
            padded("level init = 0.000 final = 1.000 inc = 0.100", 56));
  EXPECT_EQ(ptblock.np, 11);
  EXPECT_EQ(ptblock.pti, 0.0f);
  EXPECT_EQ(ptblock.ptf, 1.0f);
  EXPECT_EQ(ptblock.ptd, 0.1f);
  EXPECT_EQ(ptblock.ptname.view(), "Point");
}

TEST_F(CurveParams, OddModesOtherThan5DoNothing) {
  Console con;
  scall(1);
  scall(3);
  scall(7);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(ptblock.np, 0);
}

TEST_F(CurveParams, Listing) {
  initialise();
  pfixblock.nparfix = 2;
  pfixblock.ipfixtype[1] = 2;
  pfixblock.pfixname[1] = "nb";
  pfixblock.pfixvalue[1] = "12345678901";
  ptblock.rns = 10.0f;
  Console con;
  scall(6);
  Lines want = head("scall");
  append(want, {rule('-'),
                "                  CURVES",
                "          1 - FIXED PARAMETERS",
                " max nb of fixed params    :      4",
                " current nb of fixed params:      2",
                " current fixed parameters:",
                " name       value     type   index",
                "      param  0.000000  1 ....... 1",
                "      nb    123456789  2 ....... 2",
                rule('-'),
                "          2 - LEVEL PARAMETERS",
                " level name ...............: level",
                " level initial value ......:    0.000",
                " level final   value ......:    1.000",
                " level increment ..........:    0.100",
                " single level value .......:    0.000",
                " nb of level curves .......:     11",
                rule('-'),
                "          3 - RUNNING POINT PARAMETERS",
                " max nb of points .........:   1000",
                " nb of points to draw .....:     11",
                " nb of segments to draw ...:   10.000",
                " initial value ............:    0.000",
                " final   value ............:    1.000",
                " increment ................:    0.100",
                " name .....................: Point",
                rule('@')});
  EXPECT_EQ(split_lines(con.text()), want);
}

Lines scall_menu(int nparfix) {
  Lines m = head("scall");
  append(m, {rule('-'), "            CURVES PARAMETERS", rule('-'),
             "          1 - FIXED PARAMETERS",
             " max nb of fixed params ..........      4",
             " current nb of fixed params ...100      " + std::to_string(nparfix),
             " current fixed parameters:", " name       value     type   index"});
  for (int k = 1; k <= nparfix; ++k) {
    m.push_back("      param  0.000000  1 ....... " + std::to_string(k));
  }
  append(m, {rule('-'),
             "          2 - LEVEL PARAMETERS",
             " nb of level curves ...........200     11",
             " level initial value ..........210    0.000",
             " level final   value ..........210    1.000",
             " level increment ..............210    0.100",
             " single level value ...........210    0.000",
             " level name ...................210 level",
             rule('-'),
             "          3 - RUNNING POINT PARAMETERS",
             " max nb of points ................   1000",
             " nb of points to draw .........300     11",
             " nb of segments to draw .......300    0.000",
             " initial value ................310    0.000",
             " final   value ................310    1.000",
             " increment ....................320    0.100",
             " name .........................330 Point",
             rule('-'),
             " EXIT ..........................99",
             rule('@'),
             dots(),
             " Enter your choice",
             " or return for default value",
             " Default =           99",
             dots()});
  return m;
}

TEST_F(CurveParams, MenuWithoutFixedParametersIgnoresTheirChoices) {
  initialise();
  Console con("1\n4\n99\n");
  scall(0);
  Lines want;
  for (int k = 0; k < 3; ++k) append(want, scall_menu(0));
  EXPECT_EQ(split_lines(con.text()), want);
}

TEST_F(CurveParams, MenuReachesEachSetting) {
  initialise();
  // 100: two fixed parameters; 2: slot 2 shown and left; 200: levels from a count of 3;
  // 300, 310, 320, 330: the running point; then exit.
  Console con(
      "100\n10\n2\n99\n"
      "2\n99\n"
      "200\n14\n3\n99\n"
      "300\n10\n21\n99\n"
      "310\n11\n2\n99\n"
      "320\n10\n0.5\n99\n"
      "330\n10\nTheta\n99\n"
      "99\n");
  scall(2);
  const auto lines = split_lines(con.text());
  EXPECT_EQ(find_sequence(lines, scall_menu(0)), 0) << con.text();
  EXPECT_EQ(pfixblock.nparfix, 2);
  EXPECT_GE(find_sequence(lines, head("scparfix")), 0);
  EXPECT_GE(find_sequence(lines, {" index  ..........................      2"}), 0);
  EXPECT_EQ(plevblock.nlev, 3);
  EXPECT_EQ(plevblock.levd, 0.5f);
  EXPECT_EQ(ptblock.np, 21);
  EXPECT_EQ(ptblock.ptf, 2.0f);
  EXPECT_EQ(ptblock.ptd, 0.5f);
  EXPECT_EQ(ptblock.ptname.view(), "Theta");
  // The last menu shows what was set.
  EXPECT_GE(find_sequence(lines, {"      param  0.000000  1 ....... 1",
                                  "      param  0.000000  1 ....... 2"}),
            0);
  EXPECT_GE(find_sequence(lines, {" nb of points to draw .........300     21"}), 0);
  EXPECT_GE(find_sequence(lines, {" name .........................330 Theta"}), 0);
}

TEST_F(CurveParams, Mode4ShowsEachMenuThenTheMenuOverAll) {
  Console con(std::string(11, '\n'));
  scall(4);
  const auto lines = split_lines(con.text());
  // Fixed slots 1-4 (each with its menu: four slots are in use while they are set), their
  // number, the levels, the name, the count, the bounds, the increment, then the menu.
  std::size_t at = 0;
  for (const char* name : {"scparfix", "scparfix", "scparfix", "scparfix", "scparfixnb",
                           "sclevel2", "scptnam", "scptnp", "scptif", "scptd", "scall"}) {
    const int i = find_sequence(lines, head(name), at);
    ASSERT_GE(i, 0) << name << "\n" << con.text();
    at = static_cast<std::size_t>(i) + 1;
  }
  EXPECT_EQ(pfixblock.nparfix, 0);
  EXPECT_EQ(ptblock.np, 11);
}

// ---- sclevel2 ----

struct Levels {
  float lini = 0.0f, lfin = 1.0f, linc = 0.3f;
  int nlev = 0, ical = 2;
  frame::Text<5> name{"level"};
  void run(int inter) { sclevel2(lini, lfin, linc, nlev, ical, name, inter); }
};

TEST_F(CurveParams, LevelsFromIncrementAdjusted) {
  Console con;
  Levels l;
  l.run(1);
  EXPECT_EQ(l.nlev, 4);
  EXPECT_EQ(l.linc, 1.0f / 3.0f);
  EXPECT_EQ(plevblock.nlev, 4);
  EXPECT_EQ(plevblock.levd, 1.0f / 3.0f);
  EXPECT_EQ(plevblock.levrange.view(), padded(" init = 0.000 final = 1.000 inc = 0.333", 51));
  // The warning box: a rule, the boxed routine name, the boxed word, a rule.
  const auto lines = split_lines(con.text());
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[1], " /// " + padded("       subroutine sclevel2", 35) + " ///");
  EXPECT_NE(lines[2].find("WARNING"), std::string::npos);
  Lines want = {rule('/'), lines[1], lines[2], rule('/'),
                " Levels computed from increment:",
                "  Calculation type    =    2",
                "  nb of levels        =    4",
                "  initial             =    0.000",
                "  final               =    1.000",
                "  increment           =    0.300",
                "  remainder/increment =    0.333",
                " ==> large remainder",
                " ==> RECOMPUTED:",
                "  increment =    0.333",
                rule('/')};
  EXPECT_EQ(lines, want);
}

TEST_F(CurveParams, LevelsFromIncrementKept) {
  Console con;
  Levels l;
  l.ical = 3;
  l.run(1);
  EXPECT_EQ(l.nlev, 4);
  EXPECT_EQ(l.linc, 0.3f);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {"  remainder/increment =    0.333", " ==> large remainder",
                                  " ==> final level not reached", rule('/')}),
            0)
      << con.text();
  EXPECT_EQ(con.text().find("RECOMPUTED"), std::string::npos);
}

TEST_F(CurveParams, LevelsFromCount) {
  Console con;
  Levels l;
  l.ical = 1;
  l.nlev = 1;
  l.run(1);
  EXPECT_EQ(l.linc, 1.0f);
  l.ical = 0;
  l.nlev = 5;
  l.run(1);
  EXPECT_EQ(l.linc, 0.25f);
  EXPECT_EQ(con.text(), "");
  // No curves: an error, then one level.
  l.nlev = 0;
  l.run(1);
  EXPECT_EQ(l.nlev, 1);
  EXPECT_EQ(l.linc, 1.0f);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" Computing increment from nb of curves", "  Calculation type =    0",
                           "  nb of curves =    0", " ==> NEED nb > 0", " ==> RESET nb =    1",
                           rule('*')}),
            0)
      << con.text();
}

TEST_F(CurveParams, ZeroIncrementFallsBackToOneLevel) {
  Console con;
  Levels l;
  l.linc = 0.0f;
  l.run(1);
  EXPECT_EQ(l.nlev, 1);
  EXPECT_EQ(l.ical, 1);
  EXPECT_EQ(l.linc, 1.0f);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" Levels computed from increment:", "  Calculation type    =    2",
                           "  initial             =    0.000", "  final               =    1.000",
                           "  increment           =    0.000", " ==> INCONSISTENT LOOP",
                           " ==> NEED TO CORRECT IT", " ==> SETTING SINGLE LEVEL",
                           "  Nb of levels        =    1", "  Calculation type    =    1",
                           rule('*')}),
            0)
      << con.text();
  // A negative increment going up is inconsistent as well; going down it is fine.
  l = Levels{};
  l.linc = -0.5f;
  l.run(1);
  EXPECT_EQ(l.ical, 1);
  l = Levels{};
  l.lini = 1.0f;
  l.lfin = 0.0f;
  l.linc = -0.25f;
  l.run(1);
  EXPECT_EQ(l.ical, 2);
  EXPECT_EQ(l.nlev, 5);
}

TEST_F(CurveParams, UnknownTypeUsesIncrementAndSingleLevelIsOne) {
  Console con;
  Levels l;
  l.ical = 9;
  l.linc = 0.25f;
  l.run(1);
  EXPECT_EQ(l.ical, 2);
  EXPECT_EQ(l.nlev, 5);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" Calculation type =    9", " ==> Unknown",
                           " ==> RESETTING TYPE TO USE INCREMENT", " Calculation type =    2",
                           rule('/')}),
            0)
      << con.text();
  con.clear();
  l.ical = 4;
  l.nlev = 3;
  l.run(1);
  EXPECT_EQ(l.nlev, 1);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" Single level:", "  Calculation type    =    4",
                           "  nb of levels        =    3", "  initial             =    0.000",
                           "  final               =    1.000", "  increment           =    0.250",
                           " ==> RESETTING:", "  Nb of levels        =    1", rule('/')}),
            0)
      << con.text();
  // The type is handed back, never stored.
  EXPECT_EQ(l.ical, 4);
}

TEST_F(CurveParams, TinyIncrementGivesAHeldCount) {
  Console con;
  Levels l;
  l.linc = 1e-30f;
  l.ical = 3;
  l.run(1);
  EXPECT_EQ(l.nlev, 1073741825);
  EXPECT_EQ(plevblock.nlev, 1073741825);
  EXPECT_NE(con.text().find(" ==> final level not reached"), std::string::npos);
}

TEST_F(CurveParams, LevelMenu) {
  initialise();
  Levels l;
  l.ical = 1;
  // 12: an increment of 0 is refused, then 0.25; 14: -2 refused, then 3; 20: one level.
  Console con("12\n0\n0.25\n14\n-2\n3\n20\n0.7\n99\n");
  l.run(2);
  const auto lines = split_lines(con.text());
  Lines first = head("sclevel2");
  append(first, {rule('-'), "          CURVES LEVEL PARAMETER", rule('-'),
                 " level name       : level", " Calculation type =    1",
                 " level initial value ...........10    0.000",
                 " level final   value ...........11    1.000",
                 " level increment ...............12    0.100",
                 " modify init, final & inc ......13",
                 " nb of level curves ............14   11",
                 " modify init, final & nb .......15",
                 " single level value ............20    0.000", rule('-'),
                 " EXIT ..........................99", rule('@')});
  EXPECT_EQ(find_sequence(lines, first), 0) << con.text();
  EXPECT_GE(find_sequence(lines, {" Increment =    0.000", " Increment MUST be non zero",
                                  " ==> BACK TO QUERY", rule('/')}),
            0);
  EXPECT_EQ(count(lines, " Enter level increment value >0<"), 2);
  EXPECT_GE(find_sequence(lines, {" Calculation type =    2",
                                  " level initial value ...........10    0.000",
                                  " level final   value ...........11    1.000",
                                  " level increment ...............12    0.250"}),
            0);
  EXPECT_GE(find_sequence(lines, {" nb of level curves ............14    5"}), 0);
  EXPECT_GE(find_sequence(lines, {" Nb of level curves =   -2", " MUST BE > 0",
                                  " ==> BACK TO QUERY", rule('/')}),
            0);
  EXPECT_GE(find_sequence(lines, {" level increment ...............12    0.500",
                                  " modify init, final & inc ......13",
                                  " nb of level curves ............14    3"}),
            0);
  // The single level: shown as entered, without a calculation.
  EXPECT_GE(find_sequence(lines, {" Calculation type =    4",
                                  " level initial value ...........10    0.700",
                                  " level final   value ...........11    0.700",
                                  " level increment ...............12    1.000"}),
            0);
  EXPECT_EQ(l.ical, 4);
  EXPECT_EQ(plevblock.nlev, 1);
  EXPECT_EQ(plevblock.levi, 0.7f);
  EXPECT_EQ(plevblock.levf, 0.7f);
  EXPECT_EQ(plevblock.levd, 1.0f);
  EXPECT_EQ(plevblock.levinfo.trimmed(), "level init = 0.700 final = 0.700 inc = 1.000");
}

TEST_F(CurveParams, LevelMenuBoundsAndIncrement) {
  Levels l;
  l.ical = 1;
  l.nlev = 3;
  // 13: initial, final, increment (type 2 from then on); 15: initial, final, count (type 1).
  Console con("13\n2\n4\n0.5\n15\n\n6\n5\n99\n");
  l.run(0);
  EXPECT_EQ(l.lini, 2.0f);
  EXPECT_EQ(l.lfin, 6.0f);
  EXPECT_EQ(l.nlev, 5);
  EXPECT_EQ(l.linc, 1.0f);
  EXPECT_EQ(l.ical, 1);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" nb of level curves ............14    5"}), 0);
  EXPECT_EQ(count(lines, " Enter level initial value"), 2);
  EXPECT_EQ(count(lines, " Enter level final value"), 2);
}

// ---- fixed parameters ----

TEST_F(CurveParams, CountOutsideItsRangeIsReportedAndBecomes4) {
  // The check's error tail asks whether to stop: no, then RETURN.
  Console con("n\n\n");
  int nb = 7;
  scparfixnb(nb, 1);
  EXPECT_EQ(nb, 4);
  EXPECT_EQ(pfixblock.nparfix, 4);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {"   ===> reset nparfixa =      4"}), 0) << con.text();
  EXPECT_NE(con.text().find("nparfixa ="), std::string::npos);
  EXPECT_NE(con.text().find("subroutine: scparfixnb"), std::string::npos);
}

TEST_F(CurveParams, CountMenu) {
  Console con("10\n5\n3\n99\n");
  int nb = 2;
  scparfixnb(nb, 0);
  EXPECT_EQ(nb, 3);
  EXPECT_EQ(pfixblock.nparfix, 3);
  const auto lines = split_lines(con.text());
  Lines want = head("scparfixnb");
  append(want, {rule('-'), "           CURVES FIXED PARAMETERS   ", rule('-'),
                " max nb of fixed params ..........      4",
                " current nb of fixed params ....10      2", rule('-'),
                " EXIT ..........................99", rule('@')});
  EXPECT_EQ(find_sequence(lines, want), 0) << con.text();
  // 5 lies outside 1..4 and is asked again.
  EXPECT_GE(find_sequence(lines, {" nb of fixed parameters =            5", " outside [1,4]"}), 0)
      << con.text();
  EXPECT_GE(find_sequence(lines, {" current nb of fixed params ....10      3"}), 0);
}

struct Slot {
  frame::Text<10> name;
  frame::Text<12> cval;
  int itype = 0, ival = 0, i = 1;
  float rval = 0.0f;
  void run(int inter) { scparfix1(name, itype, rval, ival, cval, i, inter); }
};

TEST_F(CurveParams, FixedParameterMenuAndRename) {
  initialise();
  pfixblock.nparfix = 2;
  Slot s;
  s.i = 1;
  // 30: a real value; 10: a new name; exit.
  Console con("30\n2.5\n10\nwidth\n99\n");
  s.run(2);
  const auto lines = split_lines(con.text());
  Lines first = head("scparfix");
  append(first, {rule('-'), "           CURVES FIXED PARAMETERS    ", rule('-'),
                 " max nb of fixed params .........      4",
                 " current nb of fixed params .....      2", rule('-'),
                 " Parameter to modify", rule('-'),
                 " index  ..........................      1",
                 " name ..........................10 param     ",
                 " type ..........................20      1",
                 " real      value ...............30    0.000",
                 " integer   value .................      0",
                 " character value .................  0.000000   ",
                 " info: param = 0.000000    ", rule('-'),
                 " EXIT ..........................99", rule('@'), dots(), " Enter your choice",
                 " or return for default value", " Default =           99",
                 " New value =            30", dots()});
  EXPECT_EQ(find_sequence(lines, first), 0) << con.text();
  EXPECT_NE(con.text().find(" Enter param\n"), std::string::npos);
  EXPECT_GE(find_sequence(lines, {" real      value ...............30    2.500",
                                  " integer   value .................      2",
                                  " character value .................  2.500000   ",
                                  " info: param = 2.500000    "}),
            0)
      << con.text();
  EXPECT_GE(find_sequence(lines, {" info: width = 2.500000    "}), 0) << con.text();
  EXPECT_EQ(pfixblock.pfixname[0].view(), "width");
  EXPECT_EQ(pfixblock.pfix[0], 2.5f);
  EXPECT_EQ(pfixblock.ipfix[0], 2);
  EXPECT_EQ(pfixblock.pfixvalue[0].view(), " 2.500000   ");
  EXPECT_EQ(pfixblock.pfixinfo[0].view(), "width = 2.500000 ");
  EXPECT_EQ(pfixblock.ipfixtype[0], 1);
  // Slot 2 untouched.
  EXPECT_EQ(pfixblock.pfixname[1].view(), "param");
}

TEST_F(CurveParams, FixedParameterTypes) {
  initialise();
  pfixblock.nparfix = 4;
  Slot s;
  s.i = 3;
  // 40 with a real slot: wrong type; 20: integer; 40: 17; 20: text; 50: "abc"; 20: name only;
  // 10: a new name.
  Console con("40\n20\n2\n40\n17\n20\n3\n50\nabc\n20\n0\n10\nflag\n99\n");
  s.run(2);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" Wrong type of parameter", " =====> NO ACTION"}), 0)
      << con.text();
  EXPECT_NE(con.text().find("OUTDATED    warningtail0"), std::string::npos);
  EXPECT_GE(find_sequence(lines, {rule('-', 28), " Parameter type:", rule('-', 28),
                                  " name only - no value ......0", " real.......................1",
                                  " integer....................2",
                                  " character..................3", rule('-', 28)}),
            0)
      << con.text();
  EXPECT_GE(find_sequence(lines, {" real      value .................   17.000",
                                  " integer   value ...............40     17",
                                  " character value ................. 17          ",
                                  " info: param = 17          "}),
            0)
      << con.text();
  EXPECT_GE(find_sequence(lines, {" character value ...............50 abc         ",
                                  " info: param = abc         "}),
            0)
      << con.text();
  EXPECT_EQ(pfixblock.pfixname[2].view(), "flag ");
  EXPECT_EQ(pfixblock.ipfixtype[2], 0);
  EXPECT_EQ(pfixblock.pfixvalue[2].view(), "---         ");
  EXPECT_EQ(pfixblock.pfix[2], 0.0f);
  EXPECT_EQ(pfixblock.ipfix[2], 0);
  EXPECT_EQ(pfixblock.pfixinfo[2].trimmed(), "flag");
}

TEST_F(CurveParams, FixedParameterRealTruncatesTowardZero) {
  initialise();
  pfixblock.nparfix = 1;
  Slot s;
  s.itype = 1;
  s.rval = -3.75f;
  frame::Text<10> nm("depth");
  s.name = nm;
  Console con;
  s.run(1);
  EXPECT_EQ(pfixblock.ipfix[0], -3);
  EXPECT_EQ(pfixblock.pfixvalue[0].view(), "-3.750000   ");
  EXPECT_EQ(pfixblock.pfixinfo[0].view(), "depth = -3.750000");
  // A real beyond the integer range keeps an integer inside it.
  s.rval = 1e20f;
  s.run(1);
  EXPECT_EQ(pfixblock.ipfix[0], 2147483647);
  s.rval = -1e20f;
  s.run(1);
  EXPECT_EQ(pfixblock.ipfix[0], -2147483647 - 1);
  // An integer slot: the real follows the integer.
  s.itype = 2;
  s.ival = -42;
  s.run(1);
  EXPECT_EQ(pfixblock.pfix[0], -42.0f);
  EXPECT_EQ(pfixblock.pfixvalue[0].view(), padded("-42", 12));
  EXPECT_EQ(pfixblock.pfixinfo[0].view(), "depth = -42      ");
  EXPECT_EQ(con.text(), "");
}

TEST_F(CurveParams, SlotBeyondTheCountIsReset) {
  initialise();
  pfixblock.nparfix = 2;
  Slot s;
  s.i = 3;
  s.itype = 1;
  Console con("n\n\n");
  s.run(1);
  EXPECT_EQ(s.i, 2);
  EXPECT_GE(find_sequence(split_lines(con.text()), {"   ===> reset ifix1 =      2"}), 0)
      << con.text();
  EXPECT_EQ(pfixblock.pfixname[2].view(), "param");
}

TEST_F(CurveParams, WrongTypeIsReportedAndBecomesNameOnly) {
  initialise();
  pfixblock.nparfix = 1;
  Slot s;
  s.itype = 5;
  s.rval = 3.0f;
  s.name = "x";
  Console con("n\n\n");
  s.run(1);
  EXPECT_GE(find_sequence(split_lines(con.text()), {"   ===> reset ipfixtypea =      0"}), 0)
      << con.text();
  EXPECT_EQ(pfixblock.ipfixtype[0], 0);
  EXPECT_EQ(pfixblock.pfix[0], 0.0f);
  EXPECT_EQ(pfixblock.pfixvalue[0].trimmed(), "---");
}

TEST_F(CurveParams, NoSlotsInUseWarnsAndStoresTheSlotAsItCame) {
  initialise();
  Slot s;
  s.i = 2;
  s.itype = 1;
  s.rval = 9.0f;
  s.name = "abc";
  Console con;
  s.run(1);
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" nparfix =      0", " need to set nparfix > 1 first",
                                  " =====> NO ACTION"}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("OUTDATED    warningtail0"), std::string::npos);
  EXPECT_EQ(pfixblock.pfixname[1].view(), "abc  ");
  EXPECT_EQ(pfixblock.pfix[1], 9.0f);
  // No info text is formed on this path: the stored one stays.
  EXPECT_EQ(pfixblock.pfixinfo[1].view(), "parameter = 0.000");
}

TEST_F(CurveParams, SlotOutsideOneToFourTouchesNothing) {
  initialise();
  pfixblock.nparfix = 4;
  const Pfixblock before = pfixblock;
  for (int slot : {0, 5, -1, 1000000}) {
    for (int mode : {1, 2, 3, 5}) {
      Slot s;
      s.i = slot;
      s.name = "zz";
      s.rval = 4.0f;
      Console con;
      s.run(mode);
      const auto lines = split_lines(con.text());
      EXPECT_GE(find_sequence(lines, {" =====> NO ACTION", rule('/')}), 0) << slot << " " << mode;
      EXPECT_NE(con.text().find("subroutine scparfix"), std::string::npos);
      EXPECT_EQ(s.i, slot);
      EXPECT_EQ(s.name.trimmed(), "zz");
      EXPECT_EQ(s.rval, 4.0f);
    }
  }
  for (int k = 0; k < kMaxFixedParams; ++k) {
    EXPECT_EQ(pfixblock.pfixname[k], before.pfixname[k]);
    EXPECT_EQ(pfixblock.pfix[k], before.pfix[k]);
    EXPECT_EQ(pfixblock.pfixinfo[k], before.pfixinfo[k]);
  }
  EXPECT_EQ(pfixblock.nparfix, 4);
}

}  // namespace
}  // namespace korbast::plot::test
