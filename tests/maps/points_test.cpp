// The point layer: initialising modes, the menu, the typed point with and without
// projection, files of points read through the column-data reader, the listing and its
// counter, and the plot attributes given back on return.
#include "maps/points.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "mapseis_fixture.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/curves.hpp"
#include "plot/plt2blk.hpp"
#include "plot/symboltype.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::mapseis_test {
namespace {

class Points : public MapDriver {
 protected:
  void SetUp() override {
    MapDriver::SetUp();
    open_window();
    // The layer's menu prints in full at every output level; with level 2 off the questions
    // print no dotted lines, hints or defaults.
    frame::iocom.lwito(2) = false;
  }

  std::string run(const std::string& answers, bool& lproj) {
    Console con(answers);
    mappoint(lproj, 0);
    return con.text();
  }
  std::string run(const std::string& answers) {
    bool lproj = true;
    return run(answers, lproj);
  }

  // A points file in the scratch folder, under a name longer than 40 characters.
  std::string points_file(const std::string& body, const std::string& names = "\"lon\" \"lat\"") {
    const std::string path =
        (dir() / "points_of_the_layer_with_a_rather_long_name.txt").string();
    std::ofstream(path) << "\"Some towns\"\n" << names << "\n" << body;
    return path;
  }
  // Answers that read it: the path, then the defaults of the header, column and read menus.
  static std::string read_answers(const std::string& path) { return "200\n" + path + "\n\n\n\n"; }

  // Centres (device pixels) of the closed pentagons drawn: the layer's symbol.
  std::vector<std::pair<double, double>> pentagons() const {
    std::vector<std::pair<double, double>> centres;
    std::vector<std::pair<double, double>> pts;
    for (const auto& l : log_lines()) {
      double x = 0, y = 0;
      if (l == "begin") {
        pts.clear();
      } else if (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
                 std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2) {
        pts.emplace_back(x, y);
      } else if (l == "close" && pts.size() == 6) {
        double cx = 0, cy = 0;
        for (std::size_t k = 0; k < 5; ++k) {
          cx += pts[k].first / 5;
          cy += pts[k].second / 5;
        }
        centres.emplace_back(cx, cy);
      }
    }
    return centres;
  }
};

std::string rule22() { return " " + std::string(22, '='); }

ex::Lines menu_lines(bool lproj, bool llist, const std::string& x = "   0.000",
                     const std::string& y = "   0.000") {
  ex::Lines l = ex::head("mappoint");
  const std::string d43 = ex::rule('-');
  ex::append(l, {d43, " MAPPING POINTS", d43,
                 std::string(" use projection .............13 ") + (lproj ? "T" : "F"),
                 std::string(" screen listing .............14 ") + (llist ? "T" : "F"),
                 " line color .................51      1", " fill color .................52      1",
                 " symbol type ................53     -5", " symbol size ................54    0.300",
                 " X or longitude .............10 " + x, " Y or latitude ..............20 " + y,
                 d43, " Plot single point (x,y ) ..100", " Plot set of point (file) ..200", d43,
                 " RETURN TO MAIN .............99", ex::rule('@')});
  return l;
}

TEST_F(Points, InitialisingModesResetTheSettingsWithoutMenu) {
  for (int mode : {5, 4}) {
    mappoint_settings.isymb = 9;
    mappoint_settings.llist = false;
    int color = 6;
    plot::slinecolor(color, 1);
    bool lproj = false;
    Console con;
    mappoint(lproj, mode);
    ex::Lines want = ex::head("mappoint");
    want.push_back(" INITIALIZING PARAMETERS");
    EXPECT_EQ(split_lines(con.text()), want) << mode;
    EXPECT_FALSE(lproj);
    EXPECT_EQ(mappoint_settings.isymb, -5);
    EXPECT_TRUE(mappoint_settings.llist);
    EXPECT_FLOAT_EQ(mappoint_settings.symbsize, 0.3f);
    EXPECT_EQ(plot::plt2blk.linecolor, 6);
  }
}

TEST_F(Points, MenuAndImmediateReturn) {
  const std::string out = run("99\n");
  ex::Lines want = menu_lines(true, true);
  ex::append(want, {" Enter your choice", " New value =            99"});
  EXPECT_EQ(split_lines(out), want) << out;
}

TEST_F(Points, MenuAtOutputLevelTwo) {
  frame::iocom.lwito(2) = true;
  const std::string out = run("99\n");
  ex::Lines want = menu_lines(true, true);
  ex::append(want, {ex::dots(), " Enter your choice", " New value =            99", ex::dots()});
  EXPECT_EQ(split_lines(out), want) << out;
}

// The integer question has no default: an empty line does not answer it.
TEST_F(Points, EmptyAnswerIsNoChoice) {
  const std::string out = run("\n99\n");
  EXPECT_EQ(count(out, " MAPPING POINTS\n"), 1);
  EXPECT_EQ(count(out, " New value =            99\n"), 1);
}

TEST_F(Points, UnknownCommandShowsTheMenuAgain) {
  const std::string out = run("77\n99\n");
  ex::Lines want = menu_lines(true, true);
  ex::append(want, {" Enter your choice", " New value =            77"});
  ex::append(want, menu_lines(true, true));
  ex::append(want, {" Enter your choice", " New value =            99"});
  EXPECT_EQ(split_lines(out), want) << out;
}

// lproj false: the typed point is a user point, drawn and listed as it is.
TEST_F(Points, TypedPointWithoutProjection) {
  bool lproj = true;
  const std::string out = run("13\nn\n10\n3\n20\n4\n100\n99\n", lproj);
  EXPECT_FALSE(lproj);
  EXPECT_FLOAT_EQ(mappoint_settings.xpt, 3.0f);
  EXPECT_FLOAT_EQ(mappoint_settings.ypt, 4.0f);
  const auto lines = split_lines(out);
  EXPECT_GE(find_sequence(lines, menu_lines(false, true, "   3.000", "   4.000")), 0) << out;
  const ex::Lines block = {
      " New value =           100", rule22(), " NO PROJECTION", " X, Y = input ", rule22(),
      rule22(), " PLOTTING LOCATION", rule22(), rule22(), " Plotted coordinates:", rule22(),
      " | nb|X-long  |Y-lat   |", " | nb|        |        |", " |  1|   3.000|   4.000|",
      rule22()};
  EXPECT_GE(find_sequence(lines, block), 0) << out;
  float xde = 0, yde = 0, xu = 3.0f, yu = 4.0f;
  plot::us2de(&xde, &yde, &xu, &yu, 1);
  const auto c = pentagons();
  ASSERT_EQ(c.size(), 1u);
  EXPECT_NEAR(c[0].first, xde, 0.5);
  EXPECT_NEAR(c[0].second, yde, 0.5);
  EXPECT_EQ(plot::ptblock.ipt, 2);
}

// lproj true: longitude 30 (field 10), latitude 10 (field 20) in the default projection,
// Mercator about (0, 45) (PROJ +proj=merc +R=1: (0.5235988, 0.1754258) less the origin's
// (0, 0.8813736)); the point is listed and drawn there.
TEST_F(Points, TypedPointIsProjected) {
  const std::string out = run("10\n30\n20\n10\n100\n99\n");
  const auto lines = split_lines(out);
  EXPECT_GE(find_sequence(lines, menu_lines(true, true, "  30.000", "  10.000")), 0) << out;
  const ex::Lines block = {" New value =           100", rule22(), " PROJECTING LOCATIONS",
                           " LONG, LAT (input) --> X, Y", rule22(), " PLOTTING LOCATION",
                           rule22(), rule22(), " Plotted coordinates:", rule22(),
                           " | nb|X-long  |Y-lat   |", " | nb|        |        |",
                           " |  1|   0.524|  -0.706|", rule22()};
  EXPECT_GE(find_sequence(lines, block), 0) << out;
  EXPECT_NEAR(plot::cc2dbuff.xp[0], 0.5235988, 2e-6);
  EXPECT_NEAR(plot::cc2dbuff.yp[0], 0.1754258 - 0.8813736, 2e-6);
  float xde = 0, yde = 0, xu = 0.5235988f, yu = 0.1754258f - 0.8813736f;
  plot::us2de(&xde, &yde, &xu, &yu, 1);
  const auto c = pentagons();
  ASSERT_EQ(c.size(), 1u);
  EXPECT_NEAR(c[0].first, xde, 0.5);
  EXPECT_NEAR(c[0].second, yde, 0.5);
}

TEST_F(Points, TypedPointTwiceIsDrawnTwice) {
  const std::string out = run("100\n100\n99\n");
  EXPECT_EQ(count(out, " Plotted coordinates:\n"), 2);
  EXPECT_EQ(count(out, " MAPPING POINTS\n"), 3);
  const auto c = pentagons();
  ASSERT_EQ(c.size(), 2u);
  EXPECT_NEAR(c[0].first, c[1].first, 1e-9);
  EXPECT_NEAR(c[0].second, c[1].second, 1e-9);
}

TEST_F(Points, ListingCanBeSwitchedOff) {
  const std::string out = run("14\nn\n100\n99\n");
  EXPECT_FALSE(mappoint_settings.llist);
  EXPECT_EQ(count(out, "Plotted coordinates"), 0);
  EXPECT_EQ(count(out, " PLOTTING LOCATION\n"), 1);
  EXPECT_NE(out.find(" screen listing .............14 F\n"), std::string::npos);
}

// The layer draws with its own attributes and gives back those it found, also after its
// menu changed them.
TEST_F(Points, AttributesAreTheLayersWhileItRunsAndComeBack) {
  int lc = 3, fc = 4, st = 2;
  float sz = 0.5f;
  plot::slinecolor(lc, 1);
  plot::sfillcolor(fc, 1);
  plot::ssymboltype(st, 1);
  plot::ssymbolsize(sz, 1);
  run("53\n7\n99\n");
  EXPECT_EQ(mappoint_settings.isymb, 7);
  EXPECT_EQ(plot::plt2blk.linecolor, 3);
  EXPECT_EQ(plot::plt2blk.fillcolor, 4);
  int t = 0;
  float z = 0;
  plot::ssymboltype(t, 3);
  plot::ssymbolsize(z, 3);
  EXPECT_EQ(t, 2);
  EXPECT_FLOAT_EQ(z, 0.5f);
  // The layer draws with its own type, not the current one (2, a circle): a pentagon.
  mappoint_settings.isymb = -5;
  run("100\n99\n");
  EXPECT_EQ(pentagons().size(), 1u);
}

TEST_F(Points, FileOfPointsIsReadProjectedAndListed) {
  const std::string path = points_file("10 20\n-30.5 40.25\n");
  const std::string out = run(read_answers(path) + "99\n");
  const ex::Lines block = {" INPUT FILE HAS BEEN READ",
                           " NB OF DATA =      2",
                           " ====> GOING TO PLOT",
                           rule22(),
                           " PROJECTING LOCATIONS",
                           " LONG, LAT (input) --> X, Y",
                           rule22(),
                           " PLOTTING LOCATION",
                           rule22(),
                           rule22(),
                           " Plotted coordinates:",
                           rule22(),
                           " | nb|X-long  |Y-lat   |",
                           " | nb|lon     |lat     |",
                           " |  1|   0.175|  -0.525|",
                           " |  2|  -0.532|  -0.113|",
                           rule22()};
  EXPECT_GE(find_sequence(split_lines(out), block), 0) << out;
  EXPECT_EQ(pentagons().size(), 2u);
  EXPECT_EQ(plot::ptblock.ipt, 3);
  // Opened under its full name although the name kept is 40 characters.
  EXPECT_EQ(count(out, "COULD NOT OPEN"), 0);
}

TEST_F(Points, FileWithoutProjectionKeepsTheValuesAsRead) {
  const std::string path = points_file("10 20\n-30.5 40.25\n", "\"longitude\" \"latitude\"");
  const std::string out = run("13\n0\n" + read_answers(path) + "99\n");
  const ex::Lines block = {rule22(), " NO PROJECTION", " X, Y = input ", rule22()};
  EXPECT_GE(find_sequence(split_lines(out), block), 0) << out;
  // The file's column names in the 8 columns of the listing.
  EXPECT_NE(out.find(" | nb|longitud|latitude|\n |  1|  10.000|  20.000|\n"
                     " |  2| -30.500|  40.250|\n"),
            std::string::npos);
}

TEST_F(Points, FileWithoutRecordsListsTheHeadOnly) {
  // A column name of 4 characters in 5 bytes: 8 columns in the listing all the same.
  const std::string path = points_file("", "\"lon\" \"lat\xC2\xB0\"");
  const std::string out = run(read_answers(path) + "99\n");
  const ex::Lines block = {" INPUT FILE HAS BEEN READ", " NB OF DATA =      0"};
  EXPECT_GE(find_sequence(split_lines(out), block), 0) << out;
  const ex::Lines listing = {rule22(), " Plotted coordinates:", rule22(),
                             " | nb|X-long  |Y-lat   |", " | nb|lon     |lat\xC2\xB0    |", rule22()};
  EXPECT_GE(find_sequence(split_lines(out), listing), 0) << out;
  EXPECT_TRUE(pentagons().empty());
  EXPECT_EQ(plot::ptblock.ipt, 1);
}

// Leaving the reader without reading: the warning, nothing drawn or listed.
TEST_F(Points, ReaderLeftWithoutDataSkipsThePlot) {
  frame::iocom.pause = false;
  const std::string path = points_file("10 20\n");
  const std::string out = run("200\n" + path + "\n\n\n99\n99\n");
  const auto lines = split_lines(out);
  ex::Lines warn = ex::warning_head("mappoint");
  ex::append(warn, {" INPUT FILE HAS NOT BEEN READ", " ====> NO DATA", " ====> SKIPPING PLOT"});
  EXPECT_GE(find_sequence(lines, warn), 0) << out;
  EXPECT_EQ(count(out, "PLOTTING LOCATION"), 0);
  EXPECT_EQ(count(out, "Plotted coordinates"), 0);
  EXPECT_TRUE(pentagons().empty());
}

// A full buffer: the thousandth index does not fit its 3 columns.
TEST_F(Points, ThousandthPointIsListedWithAsterisks) {
  std::string body;
  for (int i = 0; i < 1000; ++i) body += "1 2\n";
  const std::string path = points_file(body);
  const std::string out = run("13\nn\n" + read_answers(path) + "99\n");
  EXPECT_NE(out.find(" NB OF DATA =   1000\n"), std::string::npos) << out.substr(0, 3000);
  EXPECT_NE(out.find(" |999|   1.000|   2.000|\n |***|   1.000|   2.000|\n"),
            std::string::npos);
  EXPECT_EQ(plot::ptblock.ipt, 1001);
}

}  // namespace
}  // namespace korbast::maps::mapseis_test
