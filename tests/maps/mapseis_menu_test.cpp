// The map driver's dialog with units 5 and 6 bound to strings: the initialising call, the
// menu at both output levels, the switches, the threshold, the help box, the grid bounds from
// the extraction bounds, and the settings menus it reaches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/seistest.hpp"
#include "frame/angles.hpp"
#include "mapseis_fixture.hpp"
#include "maps/grid.hpp"
#include "maps/points.hpp"
#include "maps/lines.hpp"
#include "maps/reset.hpp"
#include "maps/stress_symbols.hpp"
#include "plot/plt1blk.hpp"
#include "projection/menu.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::mapseis_test {
namespace {

namespace ex = korbast::testing::expected;
using MapMenu = MapDriver;

// The menu as the console shows it at output level 2, with the settings at their defaults
// except where the arguments say.
ex::Lines menu_lines(int nmax, int n, const std::string& flags = "TTTTT",
                     const std::string& threshold = "   0.000") {
  ex::Lines l = ex::head("mapseis");
  const std::string d43 = ex::rule('-');
  const std::string d32 = std::string(" ").append(32, '-');
  auto six = [](int v) {
    std::string s = std::to_string(v);
    return std::string(6 - s.size(), ' ') + s;
  };
  ex::append(l, {d43,
                 " SET UP:",
                 d32,
                 " PLOT:",
                 " plot file name: seis.map.ps         ",
                 " open plot file  ..............10",
                 " scaling ......................11",
                 " plot parameters ..............12",
                 std::string(" scale to fit grid ............15 ") + flags[0],
                 " close file = end plot ........20",
                 d32,
                 " MAP:",
                 " projection ..................300",
                 " Epicenter symbol type .......310",
                 " Symbols size + Sh type ......315",
                 " lat long grid ...............320",
                 " grid bounds from test bounds 330",
                 std::string(" Plot contours ...............340 ") + flags[1],
                 std::string(" plot epicenters .............341 ") + flags[2],
                 std::string(" plot sh directions ..........342 ") + flags[3],
                 std::string(" plot symbol lat-long ........343 ") + flags[4],
                 d32,
                 " DATA:",
                 " maximum nb of data = " + six(nmax),
                 " current nb of data = " + six(n),
                 " plunge threshold for isv ....400 " + threshold,
                 d43,
                 " RUN = CREATE MAP ...........1000",
                 " EXIT .........................99",
                 ex::rule('@')});
  return l;
}

// The menu, then the question with its default, answered by `answer`.
ex::Lines menu_and_choice(const ex::Lines& menu, const std::string& answer) {
  ex::Lines l = menu;
  std::string v = " New value = " + std::string(13 - answer.size(), ' ') + answer;
  ex::append(l, {ex::dots(), " Enter your choice", " or return for default value",
                 " Default =           99", v, ex::dots()});
  return l;
}

TEST_F(MapMenu, InitialisingCallAnnouncesItselfAndTheLayers) {
  Console con;
  mapseis4(s.events(0), Store::kCap, kSlot, false, 1, 5);
  const auto out = split_lines(con.text());
  ex::Lines first = ex::head("mapseis");
  first.push_back(" INITIALIZING MAP PARAMETERS");
  first.push_back(ex::rule('@'));
  first.push_back(" @ subroutine sprojll2   ");
  EXPECT_EQ(find_sequence(out, first), 0) << con.text();
  ex::Lines layers = ex::head("mappoint");
  layers.push_back(" INITIALIZING PARAMETERS");
  ex::append(layers, ex::head("smapsh2"));
  layers.push_back(" INITIALIZING Sh MAP PARAMETERS");
  const int at = find_sequence(out, layers);
  ASSERT_GT(at, 0) << con.text();
  // The layers come last, after the projection and its line-file layer.
  EXPECT_EQ(static_cast<std::size_t>(at) + layers.size(), out.size());
  EXPECT_GT(find_sequence(out, {" INITIALIZING MAP CONTOURS"}), 0);
}

TEST_F(MapMenu, InitialisingResetsTheSettingsAndTheMapTransform) {
  drive("15\nn\n340\nn\n400\n5\n99\n");
  EXPECT_FALSE(mapseis_settings.lscale);
  mappoint_settings.isymb = 9;
  {
    // Mode 4, being even, shows the menus of the grid, the projection and the stress
    // symbols on the way (the point layer shows none).
    Console con(std::string(20, '\n'));
    float a = 1, b = 1, c = 1, d = 1, e = 1, f = 1;
    plot::sus2cm1(a, b, c, d, e, f, 1);
    mapseis4(s.events(0), Store::kCap, kSlot, false, 1, 4);
    EXPECT_EQ(count(con.text(), " MAPPING POINTS\n"), 0);
    EXPECT_EQ(count(con.text(), " Sh MAP PARAMETERS :\n"), 1);
  }
  EXPECT_TRUE(mapseis_settings.lscale);
  EXPECT_TRUE(mapseis_settings.lcontours);
  EXPECT_EQ(mapseis_settings.threshold, 0.0f);
  EXPECT_EQ(mapseis_settings.iepisymb, -4);
  EXPECT_EQ(mapseis_settings.plotname.view(), frame::Text<50>("seis.map.ps").view());
  EXPECT_EQ(mappoint_settings.isymb, -5);
  const auto& b = plot::plt1blk;
  EXPECT_EQ(b.isub, 1);
  EXPECT_FLOAT_EQ(b.us0tocm[0][0], 10.0f);
  EXPECT_FLOAT_EQ(b.us0tocm[0][1], 8.0f);
  EXPECT_FLOAT_EQ(b.ustocm[0][0][0], 2.5f);
  EXPECT_FLOAT_EQ(b.ustocm[0][1][0], 0.0f);
  EXPECT_FLOAT_EQ(b.ustocm[0][0][1], 0.0f);
  EXPECT_FLOAT_EQ(b.ustocm[0][1][1], 2.5f);
  // The grid defaults: -80..80 by 10 degrees.
  EXPECT_EQ(llgrid.latmax, frame::rad(80.0f));
  EXPECT_EQ(llgrid.longmin, frame::rad(-80.0f));
  EXPECT_EQ(mapshpar.sizmax, 0.4f);
}

TEST_F(MapMenu, MenuAtOutputLevelTwo) {
  const std::string out = drive("\n");
  const auto want = menu_and_choice(menu_lines(Store::kCap, 3), "99");
  EXPECT_EQ(split_lines(out), want) << out;
}

TEST_F(MapMenu, MenuHeadOnlyWhileLevelTwoIsOff) {
  frame::iocom.lwito(2) = false;
  const std::string out = drive("99\n");
  ex::Lines want = ex::head("mapseis");
  ex::append(want, {" Enter your choice", " New value =            99"});
  EXPECT_EQ(split_lines(out), want) << out;
}

TEST_F(MapMenu, SwitchesAreAskedAndShown) {
  const std::string out = drive("15\nn\n340\nn\n341\n0\n342\nN\n343\nn\n\n");
  const auto lines = split_lines(out);
  EXPECT_GE(find_sequence(lines, menu_lines(Store::kCap, 3, "FFFFF")), 0) << out;
  for (const char* q : {" scale plot to grid ?", " Plot contours ?", " Plot epicenters ?",
                        " plot sh directions ?", " symbol lat-long ?"}) {
    EXPECT_GE(find_sequence(lines, {q}), 0) << q;
  }
  const auto& st = mapseis_settings;
  EXPECT_FALSE(st.lscale || st.lcontours || st.lepic || st.lsh || st.lpoints);
  // And back on: the default of each question is the current value.
  drive("15\ny\n340\n1\n99\n");
  EXPECT_TRUE(st.lscale);
  EXPECT_TRUE(st.lcontours);
}

TEST_F(MapMenu, ThresholdIsAskedWithoutRangeAndShownInDegrees) {
  const std::string out = drive("400\n-12.5\n\n");
  EXPECT_GE(find_sequence(split_lines(out), menu_lines(Store::kCap, 3, "TTTTT", " -12.500")), 0)
      << out;
  EXPECT_NE(out.find(" plunge threshold for isv in deg\n"), std::string::npos);
  EXPECT_EQ(mapseis_settings.threshold, -12.5f);
}

TEST_F(MapMenu, HelpBoxIsNotListedButAnswers) {
  frame::iocom.lwito(2) = false;
  const std::string out = drive("900\n99\n");
  const auto lines = split_lines(out);
  ex::Lines box = ex::head("mapseis");
  ex::append(box, {ex::rule('='), "                 HELP DESK:                 "});
  const int at = find_sequence(lines, box);
  ASSERT_GT(at, 0) << out;
  EXPECT_EQ(lines[static_cast<std::size_t>(at) + 6], ex::rule('='));
}

TEST_F(MapMenu, UnknownAnswerShowsTheMenuAgain) {
  frame::iocom.lwito(2) = false;
  const std::string out = drive("12345\n99\n");
  ex::Lines want = ex::head("mapseis");
  ex::append(want, {" Enter your choice", " New value =         12345"});
  ex::append(want, ex::head("mapseis"));
  ex::append(want, {" Enter your choice", " New value =            99"});
  EXPECT_EQ(split_lines(out), want) << out;
}

TEST_F(MapMenu, MenuShowsTheCountAndTheCapacityItWasGiven) {
  s.n = 0;
  const std::string out = drive("99\n", false, 1, kSlot, 25000);
  EXPECT_GE(find_sequence(split_lines(out), menu_lines(25000, 0)), 0) << out;
}

// 330: the bounds of the extraction criteria become the grid bounds, silently; increments
// and the other grid settings stay.
TEST_F(MapMenu, GridBoundsFromTheExtractionBounds) {
  {
    Console quiet;
    float la0 = -80, la1 = 80, lo0 = -80, lo1 = 80, lainc = 5, loinc = 2.5f, tic = 2;
    int npl = 7, npt = 3, type = 2;
    sllgrid2(la0, la1, lo0, lo1, lainc, loinc, npl, tic, npt, type, 1);
  }
  auto& t = catalogue::seistest2;
  t.latmin = -30.0f;
  t.latmax = 40.0f;
  t.longmin = 10.0f;
  t.longmax = 50.5f;
  t.depthmin = 0.0f;
  t.depthmax = 700.0f;
  frame::iocom.lwito(2) = false;
  const std::string out = drive("330\n99\n");
  EXPECT_EQ(llgrid.latmin, frame::rad(-30.0f));
  EXPECT_EQ(llgrid.latmax, frame::rad(40.0f));
  EXPECT_EQ(llgrid.longmin, frame::rad(10.0f));
  EXPECT_EQ(llgrid.longmax, frame::rad(50.5f));
  EXPECT_NEAR(llgrid.latinc, frame::rad(5.0f), 1e-7f);
  EXPECT_NEAR(llgrid.longinc, frame::rad(2.5f), 1e-7f);
  EXPECT_NEAR(llgrid.ticsize, frame::rad(2.0f), 1e-7f);
  EXPECT_EQ(llgrid.nptline, 7);
  EXPECT_EQ(llgrid.npttick, 3);
  EXPECT_EQ(llgrid.igridtype, 2);
  // Nothing printed between the two questions but the next menu head.
  ex::Lines want = ex::head("mapseis");
  ex::append(want, {" Enter your choice", " New value =           330"});
  ex::append(want, ex::head("mapseis"));
  ex::append(want, {" Enter your choice", " New value =            99"});
  EXPECT_EQ(split_lines(out), want) << out;
}

TEST_F(MapMenu, EpicentreSymbolTypeIsChosenFromTheTypeMenu) {
  const std::string out = drive("310\n7\n99\n");
  EXPECT_NE(out.find(" choose epicenter symbol\n"), std::string::npos);
  EXPECT_NE(out.find(" Enter symbol number\n"), std::string::npos);
  EXPECT_EQ(mapseis_settings.iepisymb, 7);
}

TEST_F(MapMenu, SettingsMenusOfTheLayersAreReached) {
  // 315: the stress symbols (minor size changed); 320: the grid (type changed); 300: the
  // projection (kept); 11: the transform of the map subplot (not altered); 12: the plot
  // attributes.
  const std::string out =
      drive("315\n20\n0.25\n99\n320\n8\n3\n99\n300\n99\n99\n11\nn\n12\n99\n99\n");
  EXPECT_NE(out.find(" Sh MAP PARAMETERS :\n"), std::string::npos);
  EXPECT_FLOAT_EQ(mapshpar.sizmin, 0.25f);
  EXPECT_NE(out.find(" @ subroutine sllgrid2   \n"), std::string::npos);
  EXPECT_EQ(llgrid.igridtype, 3);
  EXPECT_NE(out.find("EARTH MAP PROJECTIONS"), std::string::npos);
  EXPECT_NE(out.find("CONVERSION SET UP"), std::string::npos);
  EXPECT_NE(out.find("SETTING PLOT ATTRIBUTES"), std::string::npos);
  EXPECT_FLOAT_EQ(plot::plt1blk.ustocm[0][0][0], 2.5f);
  // Every one of them returns to the map menu, which ends on the last 99.
  EXPECT_EQ(count(out, " @ subroutine mapseis    \n"), 6);
}

// The menu is the same whichever plane the main menu hands over.
TEST_F(MapMenu, BothPlanesGiveTheSameMenu) {
  EXPECT_EQ(drive("\n", false, 1), drive("\n", false, 2));
}

// One reset gives every block of the subsystem its start value.
TEST(MapsState, ResetGivesEveryBlockItsStartValue) {
  llgrid.latmax = 1.0f;
  contours_settings.lclip = false;
  mappoint_settings.isymb = 2;
  mapshpar.ish = 3;
  mapseis_settings.lepic = false;
  maps::reset();
  EXPECT_EQ(llgrid.latmax, 0.0f);
  EXPECT_TRUE(contours_settings.lclip);
  EXPECT_EQ(mappoint_settings.isymb, -5);
  EXPECT_EQ(mapshpar.ish, 0);
  EXPECT_TRUE(mapseis_settings.lepic);
}

}  // namespace
}  // namespace korbast::maps::mapseis_test
