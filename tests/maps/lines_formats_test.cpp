// The six map line file types read through the menu of contours1 and drawn on the logging
// device: curves, listings, clipping, chunks, the ends of files and the read errors. The
// fixtures are small hand-made files in each layout (tests/data/maps/lines_*.txt); the
// great-circle sides are checked against PROJ's geod (tests/tools/gen_maps_lines_fixtures.sh).
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "frame/units.hpp"
#include "lines_fixture.hpp"
#include "maps/contours.hpp"
#include "maps/lines.hpp"
#include "plot/curves.hpp"
#include "plot/primitives.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::test {
namespace {

namespace ex = korbast::testing::expected;
constexpr double kTol = 2e-4;  // degrees

std::string rule65() { return " " + std::string(65, '-'); }
std::string name30(const std::string& path) {
  std::string s = path.substr(0, std::min<std::size_t>(30, path.size()));
  s.resize(30, ' ');
  return s;
}
// The lines a file ends with when it was read without error.
ex::Lines end_lines(int curves, const std::string& path) {
  char b[64];
  std::snprintf(b, sizeof b, " total nb of plotted curves =  %6d", curves);
  return {ex::rule('-'), b, " input file " + name30(path) + " closed", ex::rule('@')};
}

class LineFiles : public MapDrawTest {
 protected:
  // Runs the menu with the answers, over the window given (degrees).
  std::string run(const std::string& answers, float longmin = -180, float longmax = 180,
                  float latmin = -90, float latmax = 90) {
    return run_contours(answers, longmin, longmax, latmin, latmax);
  }
  // One file of a type read with the answers of the keyboard's file chooser.
  std::string read(int type, const std::string& path, float longmin = -180, float longmax = 180,
                   float latmin = -90, float latmax = 90) {
    return run(std::to_string(type) + "\n" + path + "\n99\n", longmin, longmax, latmin, latmax);
  }
  // A scratch file in the test's own folder.
  static std::string scratch(const std::string& name, const std::string& content) {
    std::ofstream(name, std::ios::binary) << content;
    return name;
  }
};

void expect_path(const Path& p, const std::vector<std::pair<double, double>>& want,
                 const std::string& what) {
  ASSERT_EQ(p.pts.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(p.pts[i].lon, want[i].first, kTol) << what << " point " << i;
    EXPECT_NEAR(p.pts[i].lat, want[i].second, kTol) << what << " point " << i;
  }
}

// ---- Type 1 ----

TEST_F(LineFiles, UtigCurvesDecodedAndListed) {
  contours_settings.lclip = false;
  const std::string path = data_file("lines_utig.txt");
  const std::string text = read(1, path);
  ex::Lines want = {rule65(), " UTIG coastline without clipping    ", " | line #|# point|",
                    rule65(),  " |     1 |     3 |", " |     2 |    20 |", " |     3 |     2 |",
                    " |     4 |     0 |"};
  ex::append(want, end_lines(4, path));
  EXPECT_GE(find_lines(text, want), 0) << text;

  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 3u);
  // Code 50 keeps a coordinate, 00 adds 5 degrees, 40 adds 1, 99 takes 4.9.
  expect_path(p[0], {{-120, 45}, {-115, 45}, {-119.9, 46}}, "curve 1");
  std::vector<std::pair<double, double>> b;
  for (int k = 1; k <= 17; ++k) b.emplace_back(20 + 0.5 * (k - 1), 10 + 0.1 * (k - 1));
  for (int k = 18; k <= 20; ++k) b.emplace_back(28.0, 11.6 - (k - 17));
  expect_path(p[1], b, "curve 2");
  // Blanks inside a code field are ignored: "5 " and " 0" read 0.5 and 0.0.
  expect_path(p[2], {{150, -30}, {155, -25.5}}, "curve 3");
}

TEST_F(LineFiles, UtigClippedToTheWindow) {
  const std::string path = data_file("lines_utig.txt");
  const std::string text = read(1, path, 25, 30, 0, 20);
  EXPECT_GE(find_lines(text, {rule65(), " UTIG coastline with clipping       "}), 0) << text;
  EXPECT_GE(find_lines(text, end_lines(4, path)), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  // Points 11 to 20 lie in the window (25.0 on its edge): the segment from point 10 comes in.
  std::vector<std::pair<double, double>> want;
  for (int k = 10; k <= 17; ++k) want.emplace_back(20 + 0.5 * (k - 1), 10 + 0.1 * (k - 1));
  for (int k = 18; k <= 20; ++k) want.emplace_back(28.0, 11.6 - (k - 17));
  expect_path(p[0], want, "clipped curve 2");
}

TEST_F(LineFiles, UtigEndOfFileInsideACurveEndsTheFile) {
  contours_settings.lclip = false;
  const std::string path = scratch("cut.txt", " 40  10.0   20.0" + std::string(64, '5') + "\n");
  const std::string text = read(1, path);
  EXPECT_GE(find_lines(text, {" |     1 |    20 |"}), 0) << text;
  EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << text;
  EXPECT_FALSE(frame::units::is_open(2));
}

// ---- Type 2 ----

TEST_F(LineFiles, IgnCodesCutTheLines) {
  contours_settings.lclip = false;
  const std::string path = data_file("lines_ign.txt");
  const std::string text = read(2, path);
  ex::Lines want = {rule65(),     " IGN line without clipping          ",
                    rule65(),     " | line #|",
                    rule65(),     " |     1 |",
                    " |     2 |", " |     3 |",
                    " |     4 |", " |     5 |"};
  ex::append(want, end_lines(5, path));
  EXPECT_GE(find_lines(text, want), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 5u);
  expect_path(p[0], {{10, 40}, {11, 41}}, "line 1");
  expect_path(p[1], {{12, 42}, {13, 43}}, "code2 changed");
  expect_path(p[2], {{14, 44}}, "code1 3");
  expect_path(p[3], {{15, 45}}, "code1 3 again");
  expect_path(p[4], {{16, 46}, {17, 47}}, "implied decimals");
}

TEST_F(LineFiles, IgnClipped) {
  const std::string path = data_file("lines_ign.txt");
  const std::string text = read(2, path, 12.5, 20, 0, 50);
  EXPECT_GE(find_lines(text, {" IGN line with clipping             "}), 0) << text;
  EXPECT_GE(find_lines(text, end_lines(5, path)), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 4u);
  expect_path(p[0], {{12, 42}, {13, 43}}, "entering");
  expect_path(p[1], {{14, 44}}, "single point");
  expect_path(p[2], {{15, 45}}, "single point");
  expect_path(p[3], {{16, 46}, {17, 47}}, "inside");
}

TEST_F(LineFiles, ClippedTypesDrawNothingAcrossTheDateLine) {
  // Raw longitudes are never between 170 and -170.
  const std::string path = scratch("dl.txt", "11  175.0000   10.0000\n11 -175.0000   11.0000\n");
  read(2, path, 170, -170, -90, 90);
  EXPECT_TRUE(drawn_paths().empty());
}

// Raw longitudes 179 then -179 in a window of -180 to 180: both ends are inside, but the
// segment would cross the whole map; it is not drawn and the line goes on from -179.
TEST_F(LineFiles, ClippedLineDoesNotCrossTheMapAtTheDateLine) {
  const std::string path = scratch("dl2.txt",
                                   "11  178.0000   10.0000\n11  179.0000   10.0000\n"
                                   "11 -179.0000   11.0000\n11 -178.0000   12.0000\n");
  read(2, path);
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 2u);
  expect_path(p[0], {{178, 10}, {179, 10}}, "east of the date line");
  expect_path(p[1], {{-179, 11}, {-178, 12}}, "west of the date line");
}

TEST_F(LineFiles, ReadErrorClosesTheFileAndKeepsWhatWasDrawn) {
  contours_settings.lclip = false;
  const std::string path = scratch("bad.txt", "11   10.0000   40.0000\n1x   11.0000   41.0000\n");
  const std::string text = read(2, path);
  auto want = ex::error_head("contours1");
  ex::append(want, {" WHILE READING FILE " + name30(path), " input file " + name30(path) + " closed",
                    ex::rule('*')});
  EXPECT_GE(find_lines(text, want), 0) << text;
  EXPECT_EQ(text.find("total nb of plotted curves"), std::string::npos);
  EXPECT_FALSE(frame::units::is_open(2));
  EXPECT_EQ(drawn_paths().size(), 1u);
  // The menu is shown again after the error.
  EXPECT_GE(find_lines(text, {ex::rule('*'), ex::rule('@'), " @ subroutine contours1  "}), 0)
      << text;
}

// ---- Type 3 ----

TEST_F(LineFiles, GebcoHeadersAndPoints) {
  const std::string path = data_file("lines_gebco.txt");
  const std::string text = read(3, path);
  ex::Lines want = {rule65(),
                    " GEBCO line (no clipping)           ",
                    rule65(),
                    " | line #|   code|# point|",
                    rule65(),
                    " |     1 |     1 |      3|",
                    " |     2 |     2 |      1|",
                    " |     3 |     3 |      0|",
                    " |     4 |     4 |      2|"};
  ex::append(want, end_lines(4, path));
  EXPECT_GE(find_lines(text, want), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 4u);
  expect_path(p[0], {{10, 40}, {11, 41}, {12, 42}}, "curve 1");
  expect_path(p[1], {{20, 50}}, "n = 1");
  expect_path(p[2], {{30, 60}}, "n = 0 still reads one point");
  expect_path(p[3], {{-20, -10}, {-21, -11}}, "curve 4");
}

// Read again by an empty line of a command file: the whole name, never the 30 characters the
// messages show of it (an empty file stands at that name).
TEST_F(LineFiles, FileReadAgainIsTheWholeName) {
  std::ifstream fixture(data_file("lines_gebco.txt"));
  const std::string body((std::istreambuf_iterator<char>(fixture)), {});
  const std::string path = scratch("gebco-lines-under-a-rather-long-name.txt", body);
  scratch(path.substr(0, 30), "");
  ASSERT_TRUE(frame::units::open(15, scratch("cmd.txt", "3\n" + path + "\n3\n\n99\n"),
                                 frame::units::Status::Old));
  frame::iocom.stdin_unit = 15;
  const std::string text = run("");
  frame::units::close(15);
  EXPECT_EQ(drawn_paths().size(), 8u) << text;  // the file's 4 curves twice
}

TEST_F(LineFiles, EmptyFileHasNoCurve) {
  const std::string path = scratch("empty.txt", "");
  const std::string text = read(3, path);
  EXPECT_GE(find_lines(text, end_lines(0, path)), 0) << text;
  EXPECT_TRUE(drawn_paths().empty());
}

TEST_F(LineFiles, GebcoEndOfFileInsideACurveDrawsWhatWasRead) {
  const std::string path = scratch("g.txt", "7 4\n1 2\n3 4\n");
  const std::string text = read(3, path);
  ex::Lines want = {" |     1 |     7 |      4|", " END OF FILE INSIDE A CURVE"};
  ex::append(want, end_lines(1, path));
  EXPECT_GE(find_lines(text, want), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  expect_path(p[0], {{2, 1}, {4, 3}}, "partial");
}

// ---- Type 4 ----

TEST_F(LineFiles, UsgsBlankRecordsAndBreakMarkers) {
  const std::string path = data_file("lines_usgs.txt");
  const std::string text = read(4, path);
  ex::Lines want = {rule65(),     " USGS ASCII dump line (no clipping) ", rule65(), " | line #|",
                    rule65(),     " |     1 |",
                    " |     2 |", " |     3 |",
                    " |     4 |"};
  ex::append(want, end_lines(4, path));
  EXPECT_GE(find_lines(text, want), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 3u);
  expect_path(p[0], {{10, 40}, {11, 41}}, "line 1");
  expect_path(p[1], {{12, 42}}, "ended by a marker");
  expect_path(p[2], {{13, 43}, {14, 44}}, "after a marker that opened no line");
}

// ---- Type 5 ----

TEST_F(LineFiles, GshhsWithoutClipping) {
  contours_settings.lclip = false;
  const std::string path = data_file("lines_gshhs.txt");
  const std::string text = read(5, path);
  ex::Lines want = {rule65(),
                    " Tarvel ASCII polygons without clipp",
                    rule65(),
                    " | line #|   code|# point|   type|   west|   east|  south|  north|",
                    rule65(),
                    " |     1 |     1 |      4|     1 |   10.0|   20.0|   40.0|   45.0|",
                    " |     2 |     2 |      5|     1 |  176.9|  185.0|  -19.0|  -16.0|",
                    " |     3 |     3 |      3|     2 |  -60.0|  -50.0|  -10.0|    0.0|",
                    " |     4 |     4 |      2|     1 |   30.0|   20.0|   40.0|   41.0|"};
  ex::append(want, end_lines(4, path));
  EXPECT_GE(find_lines(text, want), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 4u);
  expect_path(p[0], {{10, 40}, {20, 40}, {20, 45}, {10, 40}}, "polygon 1");
  expect_path(p[1], {{177, -17}, {179, -16}, {181, -18}, {185, -19}, {177, -17}}, "polygon 2");
  expect_path(p[2], {{-60, -10}, {-50, -10}, {-55, 0}}, "polygon 3");
  expect_path(p[3], {{20, 40}, {30, 41}}, "polygon 4");
}

TEST_F(LineFiles, GshhsClippedAcrossTheDateLine) {
  const std::string path = data_file("lines_gshhs.txt");
  const std::string text = read(5, path, 170, -170, -30, 50);
  ex::Lines want = {rule65(),
                    " Tarvel ASCII polygons with clipping",
                    rule65(),
                    " | line #|   code|# point|   type|   west|   east|  south|  north|",
                    rule65(),
                    " |     1 |     2 |      5|     1 |  176.9|  185.0|  -19.0|  -16.0|",
                    " |       |       |       |       |  176.9|  185.0|       |       |"};
  ex::append(want, ex::warning_head("contours1"));
  ex::append(want, {" PROBLEM IN INPUT FILE ?", rule65(),
                    " | line #|   code|# point|   type|   west|   east|  south|  north|",
                    " |     1 |     4 |      2|     1 |   30.0|   20.0|   40.0|   41.0|", rule65(),
                    " longitude mini > maxi", " => No global longitude clipping for this polygon",
                    ex::rule('/'),
                    " |     2 |     4 |      2|     1 |   30.0|   20.0|   40.0|   41.0|",
                    " |       |       |       |       |  390.0|  380.0|       |       |"});
  ex::append(want, end_lines(2, path));
  EXPECT_GE(find_lines(text, want), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  expect_path(p[0], {{177, -17}, {179, -16}, {181, -18}, {185, -19}, {177, -17}},
              "reduced longitudes");
}

TEST_F(LineFiles, GshhsWholeGlobePolygonIsDrawnInAPacificWindow) {
  std::string file = "P      9       4 1        999.000   0.00000 360.00000 -90.00000 -63.00000\n";
  file += "120 -70\n150 -70\n180 -65\n0 -80\n";
  const std::string path = scratch("ant.txt", file);
  const std::string text = read(5, path, 100, 200, -90, -60);
  EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  expect_path(p[0], {{120, -70}, {150, -70}, {180, -65}, {360, -80}}, "Ross Sea");
}

// A polygon with points at exactly 180 in the window -180 to 180 (as coastlines exported by
// common tools hold them): they stay on the eastern edge, and no segment runs across the map.
TEST_F(LineFiles, GshhsPointsAt180StayOnTheEasternEdge) {
  std::string file = "P      1       4 1          1.000 170.00000 180.00000 -18.00000 -16.00000\n";
  file += "170 -16\n180 -16\n180 -17\n175 -18\n";
  // Across the date line: 179 to -179 and back are not drawn, the side at -179 is.
  file += "P      2       4 1          1.000-179.00000 179.00000 -11.00000 -10.00000\n";
  file += "179 -10\n-179 -10\n-179 -11\n179 -11\n";
  const std::string path = scratch("dateline.txt", file);
  const std::string text = read(5, path);
  EXPECT_GE(find_lines(text, end_lines(2, path)), 0) << text;
  const auto p = drawn_paths();
  std::vector<Path> lines;  // the paths that draw (a lone move draws nothing)
  for (const auto& q : p)
    if (q.pts.size() > 1) lines.push_back(q);
  ASSERT_EQ(lines.size(), 2u);
  expect_path(lines[0], {{170, -16}, {180, -16}, {180, -17}, {175, -18}}, "polygon 1");
  expect_path(lines[1], {{-179, -10}, {-179, -11}}, "polygon 2");
  for (const auto& q : p)
    for (std::size_t i = 1; i < q.pts.size(); ++i)
      EXPECT_LE(std::fabs(q.pts[i].lon - q.pts[i - 1].lon), 10.01);
}

// A polygon of n points: longitudes 0.01 i, latitude 0.5.
std::string long_polygon(int n) {
  std::ostringstream s;
  s << "P      1" << std::string(8 - std::to_string(n).size(), ' ') << n
    << " 1          0.000   0.00000  30.00000   0.00000   1.00000\n";
  for (int i = 0; i < n; ++i) s << 0.01 * i << " 0.5\n";
  return s.str();
}

TEST_F(LineFiles, GshhsLongPolygonInChunksSharingTheirEnds) {
  contours_settings.lclip = false;
  for (const auto& [n, sizes] :
       std::vector<std::pair<int, std::vector<std::size_t>>>{
           {2500, {501, 500, 501, 500, 501, 2}}, {1000, {501, 500}}, {1001, {501, 500, 2}},
           {2, {2}}, {1, {}}}) {
    log_->clear();
    const std::string path = scratch("long.txt", long_polygon(n));
    const std::string text = read(5, path);
    EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << n;
    const auto p = drawn_paths();
    ASSERT_EQ(p.size(), sizes.size()) << n;
    std::size_t total = 0;
    for (std::size_t k = 0; k < sizes.size(); ++k) {
      EXPECT_EQ(p[k].pts.size(), sizes[k]) << n;
      total += p[k].pts.size();
      if (k > 0) EXPECT_PT(p[k].pts.front(), p[k - 1].pts.back().lon, 0.5, 1e-4);
    }
    if (!p.empty()) {
      EXPECT_PT(p.front().pts.front(), 0.0, 0.5, 1e-4);
      EXPECT_PT(p.back().pts.back(), 0.01 * (n - 1), 0.5, 1e-4);
      // n points, shared once between device pieces and once between chunks.
      EXPECT_EQ(total, static_cast<std::size_t>(n) + sizes.size() - 1) << n;
    }
  }
}

TEST_F(LineFiles, GshhsEndOfFileInsideAPolygonDrawsWhatWasRead) {
  for (bool clip : {false, true}) {
    contours_settings.lclip = clip;
    log_->clear();
    const std::string path = scratch(
        "cut5.txt", "P      1       5 1          0.000   0.00000  10.00000   0.00000  10.00000\n"
                    "1 1\n2 2\n3 3\n");
    const std::string text = read(5, path);
    ex::Lines want = {" END OF FILE INSIDE A CURVE"};
    ex::append(want, end_lines(1, path));
    EXPECT_GE(find_lines(text, want), 0) << text;
    const auto p = drawn_paths();
    ASSERT_EQ(p.size(), 1u) << clip;
    expect_path(p[0], {{1, 1}, {2, 2}, {3, 3}}, clip ? "clipped" : "unclipped");
  }
}

// ---- Type 6 ----

struct Expected {
  std::vector<std::vector<std::pair<double, double>>> sides;  // map units
};

Expected load_expected(const std::string& file) {
  std::ifstream in(file);
  Expected e;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("side", 0) == 0) {
      e.sides.emplace_back();
      continue;
    }
    std::istringstream s(line);
    double lon, lat, x, y;
    s >> lon >> lat >> x >> y;
    e.sides.back().emplace_back(x, y);
  }
  return e;
}

TEST_F(LineFiles, SelectionPolygonGreatCirclesAgainstGeod) {
  const std::string path = data_file("lines_selection_gc.txt");
  const std::string text = read(6, path);
  EXPECT_GE(find_lines(text, {rule65(), " Selection polygons (no clipping)   ", rule65(),
                              " Boundaries = great circles"}),
            0)
      << text;
  EXPECT_NE(text.find(" Side #    1 Angle =     7.6564"), std::string::npos) << text;
  EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << text;
  EXPECT_EQ(contours_settings.ptsperdeg, 2.5f);
  EXPECT_EQ(plot::ptblock.ptname.view(), "Angle");

  const Expected e = load_expected(data_file("lines_selection_gc.expected"));
  ASSERT_EQ(e.sides.size(), 4u);
  std::vector<std::vector<std::pair<double, double>>> got;
  {
    // The device points back in map units.
    std::vector<std::pair<double, double>>* cur = nullptr;
    for (const auto& l : log_lines()) {
      double x = 0, y = 0;
      if (l == "begin") {
        got.emplace_back();
        cur = &got.back();
      } else if (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
                 std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2) {
        cur->emplace_back(x / kScale, y / kScale);
      }
    }
  }
  ASSERT_EQ(got.size(), 4u);
  for (std::size_t s = 0; s < 4; ++s) {
    ASSERT_EQ(got[s].size(), e.sides[s].size()) << "side " << s + 1;
    for (std::size_t k = 0; k < got[s].size(); ++k) {
      EXPECT_NEAR(got[s][k].first, e.sides[s][k].first, 3e-6) << s << " " << k;
      EXPECT_NEAR(got[s][k].second, e.sides[s][k].second, 3e-6) << s << " " << k;
    }
  }
}

TEST_F(LineFiles, SelectionPolygonLongitudeLatitudeSides) {
  const std::string path = data_file("lines_selection_ll.txt");
  const std::string text = read(6, path);
  EXPECT_GE(find_lines(text, {" Boundaries = long,lat lines"}), 0) << text;
  EXPECT_EQ(plot::ptblock.ptname.view(), "Baryc");
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 2u);  // open: two sides
  // 7.3 degrees at 1.5 points per degree: 10 points; 4.1 degrees: 6 points.
  std::vector<std::pair<double, double>> s1, s2;
  for (int k = 0; k < 10; ++k) s1.emplace_back(7.3 * k / 9.0, 0.0);
  for (int k = 0; k < 6; ++k) s2.emplace_back(7.3, 4.1 * k / 5.0);
  expect_path(p[0], s1, "side 1");
  expect_path(p[1], s2, "side 2");
}

TEST_F(LineFiles, SelectionPolygonStraightSides) {
  const std::string path = data_file("lines_selection_xy.txt");
  const std::string text = read(6, path);
  EXPECT_GE(find_lines(text, {rule65(), " Boundaries = Xp-Yp lines", " Number of sides =      4"}),
            0)
      << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  expect_path(p[0], {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, "closed");
  EXPECT_EQ(contours_settings.ptsperdeg, 3.0f);
}

TEST_F(LineFiles, RepeatedVerticesSkipTheirGreatCircleSide) {
  const std::string path = data_file("lines_selection_repeat.txt");
  const std::string text = read(6, path);
  auto box = ex::error_head("contours1");
  ex::append(box, {" INCONSISTENT POLYGON CONTOUR:", " Side #       1", " Vertex # longitud latitude",
                   "        1   10.000   40.000", "        2   10.000   40.000",
                   " ||(OV1 x OV2) x OV1|| = 0", " V2 = V1 ?", " ==> SKIPPING THIS SIDE"});
  EXPECT_GE(find_lines(text, box), 0) << text;
  // The last vertex repeats the first, and the closing side joins them again.
  EXPECT_NE(text.find(" Side #       5"), std::string::npos) << text;
  EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 3u);
  EXPECT_PT(p[0].pts.front(), 10, 40, kTol);
  EXPECT_PT(p[0].pts.back(), 20, 45, kTol);
  EXPECT_PT(p[2].pts.back(), 10, 40, kTol);
}

TEST_F(LineFiles, RepeatedVerticesOnLongitudeLatitudeSidesStayFinite) {
  const std::string path =
      scratch("rep2.txt", "5 2 1 10.0\n10 40\n10 40\n20 45\n15 50\n10 40\n");
  const std::string text = read(6, path);
  EXPECT_EQ(text.find("INCONSISTENT"), std::string::npos);
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 5u);
  for (const auto& path_ : p)
    for (const auto& q : path_.pts) ASSERT_TRUE(std::isfinite(q.lon) && std::isfinite(q.lat));
  // Sides between equal vertices have the fewest points.
  EXPECT_EQ(p[0].pts.size(), 2u);
  EXPECT_EQ(p[4].pts.size(), 2u);
}

TEST_F(LineFiles, HugePointDensityIsHeldAtTheBufferSize) {
  const std::string path = scratch("dense.txt", "2 1 0 1e30\n0 0\n10 10\n");
  const std::string text = read(6, path);
  EXPECT_NE(text.find("WILL NOT PLOT ALL THE DATA"), std::string::npos) << text;
  const auto p = drawn_paths();
  std::size_t total = 0;
  for (const auto& q : p) total += q.pts.size();
  EXPECT_EQ(total, 1001u);  // 1000 points, 501 + 500 on the device
  EXPECT_EQ(contours_settings.ptsperdeg, 1e30f);
}

TEST_F(LineFiles, ZeroDensityDrawsEverySideWithTwoPoints) {
  const std::string path = scratch("zero.txt", "3 1 1 0\n0 0\n10 0\n10 10\n");
  read(6, path);
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 3u);
  for (const auto& q : p) EXPECT_EQ(q.pts.size(), 2u);
}

TEST_F(LineFiles, SelectionPolygonEndingEarlyIsAReadError) {
  const std::string path = data_file("lines_selection_short.txt");
  const std::string text = read(6, path);
  auto want = ex::error_head("contours1");
  ex::append(want, {" WHILE READING DATA LINE #      3", " IN FILE " + name30(path),
                    ex::rule('*')});
  ex::append(want, ex::error_head("contours1"));
  ex::append(want, {" WHILE READING FILE " + name30(path), " input file " + name30(path) + " closed",
                    ex::rule('*')});
  EXPECT_GE(find_lines(text, want), 0) << text;
  EXPECT_TRUE(drawn_paths().empty());
  EXPECT_FALSE(frame::units::is_open(2));
}

TEST_F(LineFiles, SelectionPolygonWithABadFirstLine) {
  const std::string path = data_file("lines_selection_badfirst.txt");
  contours_settings.ptsperdeg = 7.0f;
  const std::string text = read(6, path);
  auto want = ex::error_head("contours1");
  ex::append(want, {" WHILE READING 1st LINE OF FILE " + name30(path), ex::rule('*')});
  ex::append(want, ex::error_head("contours1"));
  ex::append(want, {" WHILE READING FILE " + name30(path)});
  EXPECT_GE(find_lines(text, want), 0) << text;
  EXPECT_TRUE(drawn_paths().empty());
  EXPECT_EQ(contours_settings.ptsperdeg, 7.0f);
}

TEST_F(LineFiles, SelectionPolygonWithoutVerticesCountsOneCurve) {
  const std::string path = data_file("lines_selection_empty.txt");
  const std::string text = read(6, path);
  EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << text;
  EXPECT_TRUE(drawn_paths().empty());
  EXPECT_EQ(contours_settings.ptsperdeg, 4.0f);
}

TEST_F(LineFiles, SelectionPolygonOfTooManyVerticesIsCut) {
  std::ostringstream s;
  s << "1000 0 1 10.0\n";
  for (int k = 0; k < 1000; ++k) s << 0.01 * k << " " << (k == 999 ? 9.0 : 0.0) << "\n";
  const std::string path = scratch("big.txt", s.str());
  const std::string text = read(6, path);
  auto want = ex::warning_head("contours1");
  ex::append(want, {" Number of vertices to read     =   1000",
                    " Number of vertices to plot     =   1001",
                    " Max number of vertices to plot =   1000", " => RESETTING TO:",
                    " Number of vertices to read     =    999",
                    " Number of vertices to plot     =   1000", ex::rule('/')});
  EXPECT_GE(find_lines(text, want), 0) << text;
  EXPECT_GE(find_lines(text, end_lines(1, path)), 0) << text;
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].pts.size(), 501u);
  EXPECT_EQ(p[1].pts.size(), 500u);
  // Vertex 1000 (latitude 9, never read) is replaced by vertex 1.
  EXPECT_PT(p[1].pts[498], 9.98, 0, kTol);
  EXPECT_PT(p[1].pts[499], 0, 0, kTol);
}


// ---- Curves of one point on the page files ----

// A map line file whose curves are each one point (longitude, latitude in degrees).
struct OnePointFile {
  const char* name;
  int type;
  bool clip;
  std::string text;
  std::vector<std::pair<double, double>> points;
};
void PrintTo(const OnePointFile& f, std::ostream* os) { *os << f.name; }

class OnePointCurves : public LineFiles, public ::testing::WithParamInterface<OnePointFile> {};

// A curve of one point is a path of no length stroked with the plain line ends: it leaves no
// ink, on the PNG page or on the PDF page as poppler rasterises it, anti-aliased or not, and
// the PDF asks for no round line ends (which would draw it as a dot). A short line beside the
// points shows that the pages hold what is drawn.
TEST_P(OnePointCurves, LeaveNoInkOnThePageFiles) {
  const OnePointFile& f = GetParam();
  const std::string path = scratch("one.txt", f.text);
  pages::CairoCanvas& c = use_cairo();
  const int w = 200, h = 100;
  for (bool aa : {true, false}) {
    open_window(c, {0, 0, h, w}, 10.0f, aa);  // 10 pixels per cm
    plot::plt2blk.linecolor = 1;  // black
    const float mx[2] = {170, 195}, my[2] = {15, 15};
    plot::deline(mx, my, 2);
    contours_settings.lclip = f.clip;
    const std::string text = read(f.type, path);
    EXPECT_GE(find_lines(text, end_lines(static_cast<int>(f.points.size()), path)), 0) << text;
    plot::endpath();  // as closing the window does
    c.window_dispose();
  }
  // The spherical Mercator of the fixture, in window pixels (y downwards).
  std::vector<std::pair<double, double>> at;
  for (const auto& [lon, lat] : f.points)
    at.emplace_back(lon * kPi / 180 * kScale,
                    h - std::log(std::tan(kPi / 4 + lat * kPi / 360)) * kScale);
  for (int k = 1; k <= 2; ++k) {
    const std::string base = (dir() / ("test_w" + std::to_string(k))).string();
    cairo_surface_t* png = cairo_image_surface_create_from_png((base + "_p001.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << base;
    EXPECT_TRUE(plot::test::inked_near(png, 185, h - 15, 1)) << base << " line";
    for (const auto& [x, y] : at)
      EXPECT_FALSE(plot::test::inked_near(png, x, y, 3)) << base << " " << x << " " << y;
    cairo_surface_destroy(png);

    if (korbast::testing::have_tool("pdftoppm")) {
      cairo_surface_t* ras = plot::test::pdf_window_raster(base + ".pdf", w, h);
      ASSERT_NE(ras, nullptr) << base;
      EXPECT_TRUE(plot::test::inked_near(ras, 3 * 185, 3 * (h - 15), 2, 128)) << base << ".pdf";
      for (const auto& [x, y] : at)
        EXPECT_FALSE(plot::test::inked_near(ras, 3 * x, 3 * y, 6)) << base << ".pdf " << x << ", " << y;
      cairo_surface_destroy(ras);
    }
    if (korbast::testing::have_tool("qpdf")) {
      // The content streams inflated; "J" sets the line ends, "1 J" the round ones.
      korbast::testing::run_command("qpdf --qdf --object-streams=disable '" + base + ".pdf' '" +
                                    base + ".qdf'");
      const std::string pdf = korbast::testing::read_file(base + ".qdf");
      EXPECT_NE(pdf.find(" l\nS\n"), std::string::npos) << base << ".qdf";
      EXPECT_EQ(pdf.find(" J\n"), std::string::npos) << base << ".qdf";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    LineFiles, OnePointCurves,
    ::testing::Values(
        OnePointFile{"GebcoOnePoint", 3, false, "5 1\n0.3 0.5\n", {{0.5, 0.3}}},
        // A count of 2 or 3 values is one point; the codes that follow are ignored.
        OnePointFile{"UtigOnePoint", 1, false, "  3   0.3    0.7" + std::string(64, '5') + "\n",
                     {{0.7, 0.3}}},
        OnePointFile{"UtigOnePointClipped", 1, true,
                     "  2   0.3    0.7" + std::string(64, '5') + "\n", {{0.7, 0.3}}},
        // Records of codes 3 and 4 each make a line of one point.
        OnePointFile{"IgnLoneRecords", 2, false, "30    0.9000    0.4000\n41    0.6000    0.5000\n",
                     {{0.9, 0.4}, {0.6, 0.5}}},
        OnePointFile{"IgnLoneRecordsClipped", 2, true,
                     "30    0.9000    0.4000\n41    0.6000    0.5000\n", {{0.9, 0.4}, {0.6, 0.5}}}),
    [](const ::testing::TestParamInfo<OnePointFile>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace korbast::maps::test
