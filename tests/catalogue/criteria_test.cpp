// The extraction-criteria menu: its lines, commands, the polygon file, the polygon check on
// leaving, and criteria sessions followed by a read with a hand-counted result.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "catalogue/derived.hpp"
#include "catalogue/gcmtblk.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/seistest.hpp"
#include "catalogue_support.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::catalogue;
using cattest::CatalogueTest;
using cattest::data_path;
using cattest::read_file;

Seistest2& c = seistest2;
const std::string r43 = ex::rule('-') + "\n";
const std::string r32 = ex::rule('-', 32) + "\n";

std::string head() { return ex::text(ex::head("setseistest")); }

std::string run_menu(const std::string& answers) {
  korbast::testing::Console console(answers);
  setseistest6(2);
  return console.text();
}

class Criteria : public CatalogueTest {};

TEST_F(Criteria, MenuWithTheDefaults) {
  const std::string out = run_menu("\n");
  const std::string menu = head() + r43 + " WHAT IS TO BE TESTED ? (Angles in degrees) \n" + r43 +
                           " general test switch ..........10 F\n" + r32 +
                           " test latitude ...............100 F\n" +
                           " test longitude ..............200 F\n" +
                           " test polygon ................250 F\n" +
                           " test depth ..................300 F\n" +
                           " test rake on both planes.....501 F\n" +
                           " test union of intervals 1,2,3\n" +
                           " test rake interval 1 ........500 F\n" +
                           " test rake interval 2.........520 F\n" +
                           " test rake interval 3.........540 F\n" +
                           " test Frohlich quality........600 F\n" + r43 +
                           " EXIT .........................99\n" + r43;
  EXPECT_EQ(out.substr(0, menu.size()), menu);
}

TEST_F(Criteria, ConditionalLinesAndCommands) {
  const std::string out = run_menu(
      "10\ny\n100\ny\n110\n-30\n30.5\n200\n1\n210\n-100\n100\n300\ny\n310\n5\n70\n"
      "501\ny\n500\ny\n510\n-180\n-150\n520\ny\n530\n150\n180\n540\ny\n550\n-10\n10\n"
      "600\ny\n610\n0.25\n620\n0.1\n630\n5\n250\ny\n251\nn\n253\n4\n264\n-10\n50\n"
      "263\n50\n50\n262\n50\n-10\n261\n-10\n-10\n99\n");
  EXPECT_TRUE(c.testgen && c.testlat && c.testlong && c.testdepth && c.rakeboth && c.testqual);
  EXPECT_EQ(c.latmin, -30.0f);
  EXPECT_EQ(c.latmax, 30.5f);
  EXPECT_EQ(c.depthmax, 70.0f);
  EXPECT_EQ(c.rakeint[1][0], 150.0f);
  EXPECT_EQ(c.rakeint[2][1], 10.0f);
  EXPECT_EQ(c.fclvdmax, 0.25f);
  EXPECT_EQ(c.erelmax, 0.1f);
  EXPECT_EQ(c.nfreemin, 5);
  EXPECT_EQ(c.nvertex, 4);
  EXPECT_FALSE(c.polygc);
  EXPECT_EQ(c.vrtxlong[3], -10.0f);
  EXPECT_EQ(c.vrtxlat[3], 50.0f);
  // The normals were computed on leaving: a counter-clockwise square, no warning.
  EXPECT_EQ(c.vnrm1[0][0], 0.0f);   // lat(1) - lat(2)
  EXPECT_EQ(c.vnrm1[0][1], 60.0f);  // long(2) - long(1)
  EXPECT_EQ(out.find("WARNING"), std::string::npos);
  // The last menu shows every conditional line.
  const std::string last = out.substr(out.rfind(head()));
  const std::string expected =
      head() + r43 + " WHAT IS TO BE TESTED ? (Angles in degrees) \n" + r43 +
      " general test switch ..........10 T\n" + r32 + " test latitude ...............100 T\n" +
      " latitude mini ...............110  -30.000\n" +
      " latitude maxi ...............110   30.500\n" + r32 +
      " test longitude ..............200 T\n" +
      " longitude mini ..............210 -100.000\n" +
      " longitude maxi ..............210  100.000\n" + r32 +
      " test polygon ................250 T\n" + " great circle polygon ........251 F\n" +
      " lat-long polygon ............251 T\n" + " min number of vertices ........:      3\n" +
      " max number of vertices ........:      9\n" + " read polygon from file ......252\n" +
      " number of vertices ..........253      4\n" + " - - - - - - - - - - - - - - - - \n" +
      " longitud latitude .......command\n" + "  -10.000  -10.000 ...........261\n" +
      "   50.000  -10.000 ...........262\n" + "   50.000   50.000 ...........263\n" +
      "  -10.000   50.000 ...........264\n" + r32 + " test depth ..................300 T\n" +
      " depth mini ..................310    5.000\n" +
      " depth maxi ..................310   70.000\n" + r32 +
      " test rake on both planes.....501 T\n" + " test union of intervals 1,2,3\n" +
      " test rake interval 1 ........500 T\n" + " rake mini interval 1.........510 -180.000\n" +
      " rake maxi interval 1.........510 -150.000\n" + " test rake interval 2.........520 T\n" +
      " rake mini interval 2.........530  150.000\n" +
      " rake maxi interval 2.........530  180.000\n" + " test rake interval 3.........540 T\n" +
      " rake mini interval 3.........550  -10.000\n" +
      " rake maxi interval 3.........550   10.000\n" + r32 +
      " test Frohlich quality........600 T\n" + " fclvd maxi ..................610    0.250\n" +
      " moment relative error maxi ..620    0.100\n" +
      " moment free components min ..630      5\n" + r43 + " EXIT .........................99\n" + r43;
  EXPECT_EQ(last.substr(0, expected.size()), expected);
  // The vertex commands print the vertex number first.
  EXPECT_NE(out.find(" vertex number =      4\n"), std::string::npos);
}

TEST_F(Criteria, VertexCommandsStopAtTheVertexCount) {
  const float before = c.vrtxlong[3];
  run_menu("264\n99\n");  // three vertices: 264 is no command, and 99 leaves
  EXPECT_EQ(c.vrtxlong[3], before);
}

TEST_F(Criteria, PolygonFileClippedToNineVertices) {
  std::ostringstream f;
  f << "12 1\n";
  for (int k = 0; k < 12; ++k) f << -70 + k << ", " << -20 + k / 2.0 << "\n";
  scratch("poly.txt", f.str());
  const std::string out = run_menu("252\npoly.txt\n\n99\n");
  EXPECT_EQ(c.nvertex, 9);
  EXPECT_TRUE(c.polygc);
  EXPECT_EQ(c.vrtxlong[8], -62.0f);
  EXPECT_EQ(c.vrtxlat[8], -16.0f);
  const std::string warning = ex::text(ex::join(
      {ex::warning_head("setseistest"),
       {" Read number of vertices =     12", " Max  number of vertices =      9", " => RESETTING:",
        " Reset number of vertices =      9", " ===> HIT RETURN TO CONTINUE", ex::rule('/')}}));
  EXPECT_NE(out.find(warning), std::string::npos) << out;
  EXPECT_NE(out.find(head() + " Polygon file poly.txt is closed\n Could read up to:      9 vertices\n"
                              " Actually read   :      9 vertices\n"
                              " - - - - - - - - - - - - - - - - - - - - - -\n"),
            std::string::npos);
  // Exactly nine: read whole, no warning (whose pause would take the 99 that leaves).
  std::ostringstream f9("9 0\n", std::ios::ate);
  for (int k = 0; k < 9; ++k) f9 << k << " " << k % 2 << "\n";
  scratch("poly.txt", f9.str());
  const std::string nine = run_menu("252\npoly.txt\n99\n99\n");
  EXPECT_EQ(c.nvertex, 9);
  EXPECT_EQ(c.vrtxlong[8], 8.0f);
  EXPECT_EQ(nine.find("WARNING"), std::string::npos) << nine;
}

TEST_F(Criteria, PolygonFileWithByteOrderMarkAndOldMacLineEnds) {
  scratch("poly.txt", "\xEF\xBB\xBF" "3 1\r0 0\r10\r0\r\r5 5\r");
  run_menu("252\npoly.txt\n\n99\n");
  EXPECT_EQ(c.nvertex, 3);
  EXPECT_TRUE(c.polygc);
  EXPECT_EQ(c.vrtxlong[1], 10.0f);
  EXPECT_EQ(c.vrtxlat[2], 5.0f);
}

TEST_F(Criteria, ShortPolygonFileFails) {
  scratch("short.txt", "4 0\n0 0\n10 0\n");
  const std::string out = run_menu("252\nshort.txt\n\n99\n");
  EXPECT_EQ(c.nvertex, 0);
  EXPECT_FALSE(c.polygc);  // the side type read stays
  EXPECT_EQ(c.vrtxlong[1], 10.0f);
  EXPECT_NE(out.find(" END OF FILE REACHED UNEXPECTEDLY\n => POLYGON INPUT FAILED\n"
                     " RESETTING # vertices =      0\n Polygon file short.txt is closed\n"),
            std::string::npos)
      << out;
  scratch("bad.txt", "3 1\n0 0\nten 0\n");
  const std::string bad = run_menu("252\nbad.txt\n\n99\n");
  EXPECT_NE(bad.find(" Error while reading data # =      2\n => POLYGON INPUT FAILED\n"), std::string::npos)
      << bad;
}

// Read again by an empty line of a command file: the whole name, never the 35 characters the
// messages show of it (a triangle stands at that name).
TEST_F(Criteria, PolygonFileReadAgainIsTheWholeName) {
  const std::string name = "a-square-around-the-origin-in-a-polygon-file.txt";
  ASSERT_GT(name.size(), 35u);
  scratch(name, "4 0\n0 0\n10 0\n10 10\n0 10\n");
  scratch(name.substr(0, 35), "3 0\n0 0\n10 0\n10 10\n");
  namespace units = korbast::frame::units;
  const std::string answers = scratch("cmd.txt", "252\n" + name + "\n252\n\n99\n");
  ASSERT_TRUE(units::open(15, answers, units::Status::Old));
  korbast::frame::iocom.stdin_unit = 15;
  const std::string out = run_menu("");
  units::close(15);
  EXPECT_EQ(c.nvertex, 4);
  const std::string read = " Polygon file " + name.substr(0, 35) + " is closed\n";
  EXPECT_NE(out.find(read), out.rfind(read)) << out;  // read twice
}

TEST_F(Criteria, DegenerateSideKeepsTheUserInTheMenuAtTheKeyboard) {
  // Vertex 2 onto vertex 1; leaving is refused (error pause, warning pause) until the
  // polygon test is switched off.
  const std::string out = run_menu("250\ny\n262\n0\n0\n99\n\n\n250\nn\n99\n");
  EXPECT_FALSE(c.testpoly);
  const std::string report = " Test great circle: T\n INCONSISTENT CONTOUR:\n"
                             " Vertex # longitud latitude\n"
                             "        1    0.000    0.000\n"
                             "        2    0.000    0.000\n"
                             " ||OV1 x OV2|| = 0\n V2 = V1 ?\n ==> TEST IS UNRELIABLE:\n"
                             " ==> IT NEED BE REDONE\n     AFTER CONTOUR CORRECTION\n";
  EXPECT_NE(out.find(report), std::string::npos) << out;
  EXPECT_NE(out.find(" NEED TO FIX POLYGON CONTOUR\n            OR\n DISABLE POLYGON SELECTION\n"
                     " => BACK TO INTERACTIVE MENU\n"),
            std::string::npos);
}

TEST_F(Criteria, DegenerateSideFromACommandFileProceeds) {
  korbast::frame::iocom.command_file = true;
  korbast::frame::iocom.lwito(2) = false;
  const std::string out = run_menu("250\ny\n251\nn\n263\n0\n60\n99\n\n\n");
  EXPECT_TRUE(c.testpoly);
  EXPECT_NE(out.find(" ||V1V2|| = 0\n"), std::string::npos);
  EXPECT_NE(out.find(" PROBLEM IN POLYGON CONTOUR\n => PROCEEDING WITH COMMAND FILE\n"), std::string::npos);
  // Level 2 off: no menu body.
  EXPECT_EQ(out.find("WHAT IS TO BE TESTED"), std::string::npos);
}

TEST_F(Criteria, ClockwiseAndTooSmallPolygonsAreWarnedAbout) {
  // The default triangle runs clockwise.
  std::string out = run_menu("250\ny\n99\n\n");
  EXPECT_NE(out.find(" POLYGON IS CLOCKWISE OR NOT CONVEX\n"), std::string::npos) << out;
  // Straight sides, a concave quadrilateral.
  c.polygc = false;
  c.nvertex = 4;
  const float lon[4] = {0, 10, 2, 0};
  const float lat[4] = {0, 0, 2, 10};
  for (int k = 0; k < 4; ++k) {
    c.vrtxlong[k] = lon[k];
    c.vrtxlat[k] = lat[k];
  }
  out = run_menu("99\n\n");
  EXPECT_NE(out.find(" POLYGON IS CLOCKWISE OR NOT CONVEX\n"), std::string::npos) << out;
  // Two vertices from a file.
  scratch("two.txt", "2 0\n0 0\n10 10\n");
  out = run_menu("252\ntwo.txt\n99\n\n");
  EXPECT_EQ(c.nvertex, 2);
  EXPECT_NE(out.find(" number of vertices =      2\n A POLYGON NEEDS AT LEAST 3 VERTICES\n"),
            std::string::npos)
      << out;
  // Counter-clockwise convex polygons, with great-circle sides and with straight sides, pass
  // silently: a triangle, and the triangle (0, 0), (10, 0), (10, 20) with a fourth vertex on
  // its second side, where a vertex lies on the line of the sides before and after it.
  for (const bool great_circles : {true, false}) {
    c.polygc = great_circles;
    for (const std::vector<std::pair<float, float>>& polygon :
         {std::vector<std::pair<float, float>>{{0, 0}, {60, 0}, {0, 60}},
          std::vector<std::pair<float, float>>{{0, 0}, {10, 0}, {10, 10}, {10, 20}}}) {
      c.nvertex = static_cast<int>(polygon.size());
      for (int k = 0; k < c.nvertex; ++k)
        std::tie(c.vrtxlong[k], c.vrtxlat[k]) = polygon[static_cast<std::size_t>(k)];
      out = run_menu("99\n");
      EXPECT_EQ(out.find("WARNING"), std::string::npos)
          << c.nvertex << " vertices, great circles " << great_circles << "\n" << out;
    }
  }
}

// The three position windows, each against the event's own coordinate only. In the two kept
// rows every coordinate lies outside the other two windows, once below and once above them,
// so that a bound taken from the wrong window drops the event.
TEST_F(Criteria, EachPositionWindowBoundsItsOwnCoordinate) {
  struct Row {
    bool lat, lon, dep;                // windows in use
    float latmin, latmax, longmin, longmax, depthmin, depthmax;
    float rlat, rlong, depth;          // the event
    bool kept;
  };
  const Row rows[] = {
      // The default latitude window up to 90 and a longitude window 100 to 150: 120 E passes.
      {false, true, false, -90, 90, 100, 150, 0, 800, 10, 120, 30, true},
      {true, true, true, -90, 90, 100, 150, 0, 800, 10, 120, 30, true},
      // latitude < longitude < depth, then depth < longitude < latitude.
      {true, true, true, -20, -10, 100, 150, 300, 400, -15, 120, 350, true},
      {true, true, true, 60, 80, 20, 40, 0, 10, 70, 30, 5, true},
      // Just outside one bound each.
      {true, true, true, -20, -10, 100, 150, 300, 400, -15, 151, 350, false},
      {true, true, true, -20, -10, 100, 150, 300, 400, -15, 99, 350, false},
      {true, true, true, -20, -10, 100, 150, 300, 400, -9, 120, 350, false},
      {true, true, true, -20, -10, 100, 150, 300, 400, -21, 120, 350, false},
      {true, true, true, -20, -10, 100, 150, 300, 400, -15, 120, 401, false},
      {true, true, true, -20, -10, 100, 150, 300, 400, -15, 120, 299, false},
      // A window not in use bounds nothing.
      {false, false, false, 60, 80, 20, 40, 0, 10, -15, 120, 350, true},
  };
  int n = 0;
  for (const Row& r : rows) {
    c.testgen = true;
    c.testlat = r.lat;
    c.testlong = r.lon;
    c.testdepth = r.dep;
    c.latmin = r.latmin;
    c.latmax = r.latmax;
    c.longmin = r.longmin;
    c.longmax = r.longmax;
    c.depthmin = r.depthmin;
    c.depthmax = r.depthmax;
    gcmtblk.rlat[0] = r.rlat;
    gcmtblk.rlong[0] = r.rlong;
    gcmtblk.depth[0] = r.depth;
    EXPECT_EQ(position_tests(1), r.kept) << "row " << n;
    ++n;
  }
}

// Criteria set through the reader's command 100, then a read of the published records.
int retained_after(const std::string& criteria, const std::string& path) {
  korbast::testing::Console console("100\n" + criteria + "99\n1001\n" + path + "\n");
  gcmtreadex1(1, 0);
  return gcmtblk.nstored;
}

TEST_F(Criteria, SessionsFollowedByAReadRetainTheHandCount) {
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  // The published events: El Salvador (-88.78, 13.78, 193.1 km), Nicobar (93.92, 7.29,
  // 30 km), Chile (-70.24, -20.45, 34.6 km).
  EXPECT_EQ(retained_after("", "s.ndk"), 3);
  EXPECT_EQ(retained_after("10\ny\n300\ny\n", "s.ndk"), 2);  // depth 0 to 50
  EXPECT_EQ(retained_after("310\n0\n200\n100\ny\n110\n0\n90\n", "s.ndk"), 2);
  EXPECT_EQ(retained_after("100\nn\n300\nn\n200\ny\n210\n-90\n-70.24\n", "s.ndk"), 2);
  // A counter-clockwise box around Nicobar, typed, straight sides.
  EXPECT_EQ(retained_after("200\nn\n250\ny\n251\nn\n253\n4\n261\n80\n0\n262\n100\n0\n263\n100\n"
                           "20\n264\n80\n20\n",
                           "s.ndk"),
            1);
  EXPECT_EQ(gcmtblk.rlong[0], 93.92f);
  // A polygon file of 12 vertices clipped to 9: a nonagon around the Chile event.
  std::ostringstream f;
  f << "12 1\n";
  for (int k = 0; k < 12; ++k) {
    const double a = k * 40.0 * 3.14159265358979 / 180.0;
    f << -70.0 + 5.0 * std::cos(a) << " " << -20.0 + 5.0 * std::sin(a) << "\n";
  }
  scratch("nona.txt", f.str());
  EXPECT_EQ(retained_after("252\nnona.txt\n\n", "s.ndk"), 1);
  EXPECT_EQ(gcmtblk.rlat[0], -20.45f);
  // Rake intervals: the planes' rakes are (142, 66), (-23, -136), (106, 81).
  EXPECT_EQ(retained_after("250\nn\n500\ny\n510\n60\n110\n", "s.ndk"), 2);
  // Bounds on rakes of the file: 66 (first event) and 81 (third) are inside [66, 81].
  EXPECT_EQ(retained_after("510\n66\n81\n", "s.ndk"), 2);
  EXPECT_EQ(retained_after("510\n60\n110\n", "s.ndk"), 2);
  EXPECT_EQ(retained_after("501\ny\n", "s.ndk"), 1);
  EXPECT_EQ(retained_after("520\ny\n530\n-140\n-130\n540\ny\n550\n140\n145\n", "s.ndk"), 2);
  // Quality: fclvd 0.34, -0.15, -0.02 and erelm 0.31, 0.24, 0.02 (the table oracle).
  EXPECT_EQ(retained_after("500\nn\n600\ny\n", "s.ndk"), 1);
  EXPECT_EQ(retained_after("610\n0.5\n620\n0.5\n", "s.ndk"), 3);
  EXPECT_EQ(retained_after("630\n7\n", "s.ndk"), 0);
}

}  // namespace
