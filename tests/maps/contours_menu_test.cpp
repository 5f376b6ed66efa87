// The map-line menu: the initialising mode and the projection's start-up hook, the menu body
// with and without the window box, the clipping switch, the points per degree, answers that
// are no command, and the file name offered again from a command file.
#include <fstream>
#include <string>
#include <vector>

#include "frame/units.hpp"
#include "lines_fixture.hpp"
#include "maps/contours.hpp"
#include "maps/lines.hpp"
#include "projection/menu.hpp"
#include "projection/setups.hpp"
#include "support/expected_lines.hpp"
#include "support/tempfile.hpp"

namespace korbast::maps::test {
namespace {

class ContoursMenu : public MapDrawTest {
 protected:
  std::string run(const std::string& answers, float longmin = -30, float longmax = 60,
                  float latmin = -10, float latmax = 50) {
    return run_contours(answers, longmin, longmax, latmin, latmax);
  }
};

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

ex::Lines menu(bool clip, const std::string& ptsperdeg) {
  ex::Lines l = ex::head("contours1");
  ex::append(l, {ex::rule('-'), "  MAPPING CONTOURS", ex::rule('-'),
                 std::string(" Clipping on ................10 ") + (clip ? "T" : "F")});
  if (clip)
    ex::append(l, {"   _|_________________|_ latmax =    50.000", "    |                 |",
                   "    |                 |", "   _|_________________|_ latmin =   -10.000",
                   "    |                 |", " longmin           longmax",
                   "   -30.000          60.000", "   -30.000          60.000",
                   " Longitude origin =   -33.000"});
  ex::append(l, {" Nb of points for 1 deg .....11 " + ptsperdeg, " ------------------------------",
                 " TYPE OF LINE FILE:", "  UTIG coast file.............1",
                 "  IGN  coast file.............2", "  GEBCO file..................3",
                 "  USGS ascii dump file .......4", "  Tarvel gshhs ascii file ....5",
                 "  Selection polygon file .....6", ex::rule('-'),
                 " EXIT .......................99", ex::rule('@')});
  return l;
}

TEST_F(ContoursMenu, InitialisingResetsTheSettingsWithoutTheMenu) {
  contours_settings.lclip = false;
  contours_settings.ptsperdeg = 3.0f;
  Console con("99\n");
  contours1(1, 2, 3, 4, 5);
  ex::Lines want = ex::head("contours1");
  want.push_back(" INITIALIZING MAP CONTOURS");
  EXPECT_EQ(split(con.text()), want);
  EXPECT_TRUE(contours_settings.lclip);
  EXPECT_EQ(contours_settings.ptsperdeg, 10.0f);
  contours_settings.lclip = false;
  con.clear();
  contours1(1, 2, 3, 4, 4);
  EXPECT_EQ(split(con.text()), want);
  EXPECT_TRUE(contours_settings.lclip);
}

TEST_F(ContoursMenu, TheProjectionStartUpResetsTheLayerThroughTheHook) {
  register_projection_hooks();
  contours_settings.lclip = false;
  contours_settings.ptsperdeg = 3.0f;
  Console con;
  int iproj = 0;
  projection::sprojll2(iproj, 5);
  EXPECT_GE(find_lines(con.text(), {" @ subroutine contours1  ",
                                    ex::head_rule(),
                                    " INITIALIZING MAP CONTOURS"}),
            0)
      << con.text();
  EXPECT_TRUE(contours_settings.lclip);
  EXPECT_EQ(contours_settings.ptsperdeg, 10.0f);
}

TEST_F(ContoursMenu, MenuWithTheWindowBox) {
  const std::string text = run("\n");
  EXPECT_EQ(find_lines(text, menu(true, "   10.000")), 0) << text;
  EXPECT_GE(find_lines(text, {" Enter type of line file", " inside  [1,99]"}), 0) << text;
  EXPECT_EQ(count(text, " @ subroutine contours1"), 1u);
}

TEST_F(ContoursMenu, MenuWithoutClippingShowsNoBox) {
  contours_settings.lclip = false;
  const std::string text = run("99\n");
  EXPECT_EQ(find_lines(text, menu(false, "   10.000")), 0) << text;
}

TEST_F(ContoursMenu, OutputLevelTwoOffShowsNoBody) {
  frame::iocom.lwito(2) = false;
  const std::string text = run("99\n");
  EXPECT_EQ(find_lines(text, ex::head("contours1")), 0);
  EXPECT_EQ(text.find("MAPPING CONTOURS"), std::string::npos);
}

TEST_F(ContoursMenu, SwitchingClippingOnShowsTheRecomputedFrame) {
  contours_settings.lclip = false;
  const std::string text = run("10\ny\n99\n", 170, -170, -10, 50);
  EXPECT_GE(find_lines(text, {" clip to grid bounds ?"}), 0) << text;
  EXPECT_GE(find_lines(text, {" longmin           longmax", "   170.000        -170.000",
                              "   170.000         190.000", " Longitude origin =   167.000"}),
            0)
      << text;
  EXPECT_TRUE(contours_settings.lclip);
  // And off again: the box goes.
  const std::string off = run("10\nn\n99\n");
  EXPECT_FALSE(contours_settings.lclip);
  EXPECT_EQ(count(off, "Longitude origin"), 1u);  // only in the first menu
}

TEST_F(ContoursMenu, InconsistentWindowIsWarnedAtEntry) {
  const std::string text = run("99\n", 25, 25, -10, 50);
  auto want = ex::warning_head("contours1");
  ex::append(want, {" INCONSISTENT BOUNDS", " longitude min =    25.000 longitude max =    25.000",
                    ex::rule('/')});
  ex::append(want, ex::head("contours1"));
  EXPECT_EQ(find_lines(text, want), 0) << text;
  EXPECT_GE(find_lines(text, {" Longitude origin =    22.000"}), 0) << text;
}

TEST_F(ContoursMenu, AnyPointDensityIsKeptUntilAPolygonFileReplacesIt) {
  std::string text = run("11\n-2.5\n99\n");
  EXPECT_EQ(contours_settings.ptsperdeg, -2.5f);
  EXPECT_GE(find_lines(text, {" Enter Nb of points for 1 deg (polygons)"}), 0) << text;
  EXPECT_GE(find_lines(text, {" Nb of points for 1 deg .....11    -2.500"}), 0) << text;
  text = run("6\n" + data_file("lines_selection_ll.txt") + "\n99\n");
  EXPECT_EQ(contours_settings.ptsperdeg, 1.5f);
  EXPECT_GE(find_lines(text, {" Nb of points for 1 deg .....11     1.500"}), 0) << text;
}

TEST_F(ContoursMenu, AnswersThatAreNoCommandShowTheMenuAgain) {
  const std::string text = run("7\n50\n0\n100\n99\n");
  EXPECT_EQ(count(text, " @ subroutine contours1"), 3u);
  EXPECT_GE(find_lines(text, {" outside [1,99]"}), 0) << text;
}

TEST_F(ContoursMenu, CommandFileOffersTheNameOpenedLast) {
  // A short name in the test's folder, opened once by name and once by the default.
  std::ofstream("g.txt") << std::ifstream(data_file("lines_gebco.txt")).rdbuf();
  korbast::testing::TempFile commands("3\ng.txt\n3\n\n99\n", "contours_cmd.txt");
  ASSERT_TRUE(frame::units::open(15, commands.path, frame::units::Status::Old));
  frame::iocom.stdin_unit = 15;
  frame::iocom.command_file = true;
  const std::string text = run("");
  frame::units::close(15);
  EXPECT_EQ(count(text, " total nb of plotted curves =       4"), 2u) << text;
  EXPECT_EQ(count(text, " input file g.txt                          closed"), 2u) << text;
  EXPECT_EQ(drawn_paths().size(), 8u);
}

TEST_F(ContoursMenu, LongPathsAreOpenedWholeAndShownCut) {
  const std::string path = data_file("lines_gebco.txt");
  ASSERT_GT(path.size(), 30u);
  const std::string text = run("3\n" + path + "\n99\n");
  EXPECT_GE(find_lines(text, {" input file " + path.substr(0, 30) + " closed"}), 0) << text;
  EXPECT_EQ(drawn_paths().size(), 4u);
}

}  // namespace
}  // namespace korbast::maps::test
