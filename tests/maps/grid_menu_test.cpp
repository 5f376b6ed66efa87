// The grid settings: the modes, the menu body with its values and the tick remark, the
// free-format triples of commands 10 and 20, the grid type question and the refused
// increment of 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "maps/grid.hpp"
#include "maps/reset.hpp"
#include "plot/plot_fixture.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"
#include "support/tempfile.hpp"
#include "frame/units.hpp"

namespace korbast::maps::test {
namespace {

using korbast::testing::Console;
namespace ex = korbast::testing::expected;

struct Values {
  float latmin = 0, latmax = 0, longmin = 0, longmax = 0, latinc = 0, longinc = 0;
  int nptline = 0;
  float ticsize = 0;
  int npttick = 0, type = 0;
};

void call(Values& v, int mode) {
  sllgrid2(v.latmin, v.latmax, v.longmin, v.longmax, v.latinc, v.longinc, v.nptline, v.ticsize,
           v.npttick, v.type, mode);
}

int find(const std::string& text, const std::vector<std::string>& seq) {
  return plot::test::find_sequence(plot::test::split_lines(text), seq);
}

class GridMenu : public korbast::testing::QuietDialogTest {
 protected:
  void SetUp() override {
    QuietDialogTest::SetUp();
    maps::reset();
  }
};

std::vector<std::string> body(const std::string& latmin, const std::string& type,
                              const std::string& npttick, bool remark) {
  const std::string rule = ex::rule('-');
  std::vector<std::string> l = {
      rule,
      " LATITUDE-LONGITUDE GRID PARAMETERS         ",
      rule,
      " latitude min, max and inc .....10",
      " latitude minimum ..............11 " + latmin,
      " latitude maximum ..............12   80.000",
      " latitude increment ............13   10.000",
      " longitude min, max and inc ....20",
      " longitude minimum .............21  -80.000",
      " longitude maximum .............22   80.000",
      " longitude increment ...........23   10.000",
      " nb of points to draw grid.......6      3",
      " nb of points to draw tick.......7 " + npttick,
      " grid type ......................8 " + type,
      " tic size (degrees) .............9    1.000"};
  if (remark) {
    l.push_back(rule);
    l.push_back(" WARNING:");
    l.push_back(" too many points for tick marks ?");
    l.push_back(rule);
  }
  l.push_back(rule);
  l.push_back(" EXIT ..........................99");
  l.push_back(ex::rule('@'));
  return l;
}

TEST_F(GridMenu, InitialisingStoresTheDefaultsSilently) {
  Values v;
  Console con;
  call(v, 5);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(v.latmin, -80.0f);
  EXPECT_EQ(v.longmax, 80.0f);
  EXPECT_EQ(v.latinc, 10.0f);
  EXPECT_EQ(v.ticsize, 1.0f);
  EXPECT_EQ(v.nptline, 3);
  EXPECT_EQ(v.npttick, 2);
  EXPECT_EQ(v.type, 1);
  EXPECT_EQ(llgrid.latmin, frame::rad(-80.0f));
  EXPECT_EQ(llgrid.longmin, frame::rad(-80.0f));
  EXPECT_EQ(llgrid.longinc, frame::rad(10.0f));
  EXPECT_EQ(llgrid.ticsize, frame::rad(1.0f));
  EXPECT_EQ(llgrid.igridtype, 1);
}

TEST_F(GridMenu, QueryStoresNothingAndStoreIsSilent) {
  Values v{1, 2, 3, 4, 5, 6, 7, 8, 9, 2};
  Console con;
  call(v, 1);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(llgrid.nptline, 7);
  EXPECT_EQ(llgrid.latmax, frame::rad(2.0f));
  Values q{};
  q.latmin = 99;
  call(q, 3);
  EXPECT_EQ(q.latmin, frame::deg(frame::rad(1.0f)));
  EXPECT_EQ(q.longmax, frame::deg(frame::rad(4.0f)));
  EXPECT_EQ(q.npttick, 9);
  EXPECT_EQ(q.type, 2);
  q.latmin = 50;
  call(q, 3);  // the stored value comes back: a query never stores
  EXPECT_EQ(llgrid.latmin, frame::rad(1.0f));
  EXPECT_EQ(con.text(), "");
}

TEST_F(GridMenu, MenuShowsTheValuesAndAnEmptyAnswerLeaves) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("\n");
  call(v, 2);
  const std::string text = con.text();
  auto want = ex::head("sllgrid2");
  ex::append(want, body(" -80.000", "     1", "     2", false));
  EXPECT_EQ(find(text, want), 0) << text;
  EXPECT_GE(find(text, {" Enter your choice"}), 0);
  // Values kept (after the round trip through radians) and stored.
  EXPECT_EQ(llgrid.latmin, frame::rad(frame::deg(frame::rad(-80.0f))));
  EXPECT_EQ(v.type, 1);
}

TEST_F(GridMenu, OutputLevelTwoOffShowsOnlyTheHead) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  frame::iocom.lwito(2) = false;
  Console con("\n");
  call(v, 2);
  const std::string text = con.text();
  EXPECT_EQ(find(text, ex::head("sllgrid2")), 0);
  EXPECT_EQ(text.find("LATITUDE-LONGITUDE"), std::string::npos);
  EXPECT_EQ(text.find(" EXIT"), std::string::npos);
}

TEST_F(GridMenu, TickRemarkForFramesWithManyTickPoints) {
  struct Case {
    int type, nptline, npttick;
    bool remark;
  };
  for (const Case c : {Case{2, 3, 2, false}, Case{3, 3, 2, false}, Case{2, 3, 3, true},
                       Case{3, 3, 3, true}, Case{1, 3, 3, false}, Case{1, 3, 30, false},
                       Case{2, 12, 4, false}, Case{2, 12, 5, true}}) {
    Values v{-80, 80, -80, 80, 10, 10, c.nptline, 1, c.npttick, c.type};
    Console con("\n");
    call(v, 0);
    const std::string text = con.text();
    EXPECT_EQ(text.find(" too many points for tick marks ?") != std::string::npos, c.remark)
        << c.type << " " << c.nptline << " " << c.npttick;
    if (c.nptline == 3) {
      char t[8], q[8];
      std::snprintf(t, sizeof t, "%6d", c.type);
      std::snprintf(q, sizeof q, "%6d", c.npttick);
      EXPECT_GE(find(text, body(" -80.000", t, q, c.remark)), 0) << text;
    }
  }
}

TEST_F(GridMenu, SingleValueCommandsAskWithTheCurrentDefault) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("11\n-60\n12\n\n13\n5\n21\n-20\n22\n40\n23\n2.5\n6\n9\n7\n4\n9\n0.5\n99\n");
  call(v, 2);
  EXPECT_EQ(v.latmin, -60.0f);
  EXPECT_EQ(v.latmax, frame::deg(frame::rad(80.0f)));
  EXPECT_EQ(v.latinc, 5.0f);
  EXPECT_EQ(v.longmin, -20.0f);
  EXPECT_EQ(v.longmax, 40.0f);
  EXPECT_EQ(v.longinc, 2.5f);
  EXPECT_EQ(v.nptline, 9);
  EXPECT_EQ(v.npttick, 4);
  EXPECT_EQ(v.ticsize, 0.5f);
  EXPECT_EQ(llgrid.longinc, frame::rad(2.5f));
  const std::string text = con.text();
  for (const char* p : {" Enter latitude minimum", " Enter latitude maximum",
                        " Enter latitude increment", " Enter longitude minimum",
                        " Enter longitude maximum", " Enter longitude increment",
                        " Enter nb of pts per grid line", " Enter nb of pts per tick",
                        " Enter tic size in degrees"})
    EXPECT_GE(find(text, {p}), 0) << p;
  // The last menu shows the new values.
  EXPECT_GE(find(text, {" latitude minimum ..............11  -60.000"}), 0);
  EXPECT_GE(find(text, {" longitude increment ...........23    2.500"}), 0);
}

TEST_F(GridMenu, PointCountsAreHeldAtAThousandWithAWarning) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("6\n2147483647\n7\n100000000\n99\n");
  call(v, 2);
  EXPECT_EQ(v.nptline, 1000);
  EXPECT_EQ(v.npttick, 1000);
  EXPECT_EQ(llgrid.nptline, 1000);
  const std::string text = con.text();
  const auto warning = ex::warning_head("sllgrid2");
  ASSERT_GE(find(text, warning), 0) << text;
  EXPECT_GE(find(text, {" TOO MANY POINTS: nb of pts per grid line =   2147483647",
                        " => RESETTING TO:         1000"}), 0) << text;
  EXPECT_GE(find(text, {" TOO MANY POINTS: nb of pts per tick =    100000000",
                        " => RESETTING TO:         1000"}), 0) << text;
  EXPECT_GE(find(text, {" nb of points to draw grid.......6   1000"}), 0) << text;
  // Counts given as arguments are held the same way.
  Values big = v;
  big.nptline = 2147483647;
  call(big, 1);
  EXPECT_EQ(llgrid.nptline, 1000);
}

TEST_F(GridMenu, TriplesAreReadInFreeFormatOverSeveralLines) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("10\n-30, 40 5\n20\n100\n\n140,\n 4 rest ignored\n\n");
  call(v, 2);
  EXPECT_EQ(v.latmin, -30.0f);
  EXPECT_EQ(v.latmax, 40.0f);
  EXPECT_EQ(v.latinc, 5.0f);
  EXPECT_EQ(v.longmin, 100.0f);
  EXPECT_EQ(v.longmax, 140.0f);
  EXPECT_EQ(v.longinc, 4.0f);
  const std::string text = con.text();
  EXPECT_GE(find(text, {" enter latitude mini, maxi and increment",
                        "                              in degrees"}),
            0)
      << text;
  EXPECT_GE(find(text, {" enter longitude mini, maxi and increment",
                        "                               in degrees"}),
            0)
      << text;
  // No echo: the next line is the menu again.
  const auto lines = plot::test::split_lines(text);
  const int at = find(text, {" enter latitude mini, maxi and increment"});
  EXPECT_EQ(lines[static_cast<std::size_t>(at) + 2], ex::rule('@'));
}

TEST_F(GridMenu, TripleReadErrorAsksAgainAndKeepsTheValues) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("10\n1 x 3\n-10 10 2\n\n");
  call(v, 2);
  EXPECT_EQ(v.latmin, -10.0f);
  EXPECT_EQ(v.latmax, 10.0f);
  EXPECT_EQ(v.latinc, 2.0f);
  const std::string text = con.text();
  const auto first = find(text, {" enter latitude mini, maxi and increment"});
  ASSERT_GE(first, 0);
  EXPECT_NE(text.find(" enter latitude mini, maxi and increment",
                      text.find(" enter latitude mini, maxi and increment") + 1),
            std::string::npos);
}

TEST_F(GridMenu, TripleAtTheEndOfTheCommandFileKeepsTheValues) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  // The command file ends after two of the three values: back to the menu, values kept; the
  // menu question then goes on at the keyboard.
  korbast::testing::TempFile commands("10\n1 2\n", "grid_cmd.txt");
  ASSERT_TRUE(frame::units::open(15, commands.path, frame::units::Status::Old));
  frame::iocom.stdin_unit = 15;
  frame::iocom.command_file = true;
  Console con("99\n");
  call(v, 2);
  EXPECT_EQ(v.latmin, frame::deg(frame::rad(-80.0f)));
  EXPECT_EQ(v.latmax, frame::deg(frame::rad(80.0f)));
  EXPECT_EQ(v.latinc, frame::deg(frame::rad(10.0f)));
  EXPECT_EQ(frame::iocom.stdin_unit, 5);
  frame::units::close(15);
}

TEST_F(GridMenu, AnIncrementOfZeroIsRefused) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("13\n0\n4\n20\n-5 5 0\n-5 5 1\n99\n");
  call(v, 2);
  EXPECT_EQ(v.latinc, 4.0f);
  EXPECT_EQ(v.longinc, 1.0f);
  EXPECT_EQ(v.longmin, -5.0f);
  const std::string text = con.text();
  auto refusal = ex::error_head("sllgrid2");
  refusal.push_back(" latitude increment =    0.000");
  refusal.push_back(" ==> AN INCREMENT OF 0 IS REFUSED");
  EXPECT_GE(find(text, refusal), 0) << text;
  auto refusal2 = ex::error_head("sllgrid2");
  refusal2.push_back(" longitude increment =    0.000");
  EXPECT_GE(find(text, refusal2), 0) << text;
}

TEST_F(GridMenu, GridTypeListsTheTypesAndRefusesOthers) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  frame::iocom.lwito(2) = false;  // the type lines print at every level
  Console con("8\n4\n3\n99\n");
  call(v, 2);
  EXPECT_EQ(v.type, 3);
  const std::string text = con.text();
  EXPECT_GE(find(text, {" no grid ..........0", " regular grid .....1", " ticks out grid ...2",
                        " ticks in  grid....3"}),
            0)
      << text;
  EXPECT_GE(find(text, {" outside [0,3]"}), 0) << text;
}

TEST_F(GridMenu, UnknownCommandShowsTheMenuAgain) {
  Values v;
  {
    Console quiet;
    call(v, 5);
  }
  Console con("55\n99\n");
  call(v, 2);
  const std::string text = con.text();
  std::size_t heads = 0;
  for (std::size_t at = text.find(" @ subroutine sllgrid2"); at != std::string::npos;
       at = text.find(" @ subroutine sllgrid2", at + 1))
    ++heads;
  EXPECT_EQ(heads, 2u);
}

}  // namespace
}  // namespace korbast::maps::test
