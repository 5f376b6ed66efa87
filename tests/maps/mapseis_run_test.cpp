// The map run: projected epicentres against PROJ, the Si-Sh stream (no event, three events,
// two runs, both planes, the stress layer off, the slot not open), the plunge threshold, the
// layer switches, the captions and the epicentre symbols on the page.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "maps/contours.hpp"
#include "mapseis_fixture.hpp"
#include "maps/grid.hpp"
#include "plot/chain.hpp"
#include "plot/plt1blk.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::mapseis_test {
namespace {

struct Xy {
  float lon, lat;
  double x, y;
};

// The PROJ fixture: longitude, latitude, x, y of the default projection.
std::vector<Xy> proj_fixture() {
  std::vector<Xy> v;
  std::istringstream in(read_file(map_data("mapseis_xy.txt")));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    Xy p{};
    std::istringstream f(line);
    f >> p.lon >> p.lat >> p.x >> p.y;
    v.push_back(p);
  }
  return v;
}

using MapRun = MapDriver;

TEST_F(MapRun, EpicentresAreProjectedInPlaceAsProjDoes) {
  open_window();
  const auto fix = proj_fixture();
  ASSERT_GE(fix.size(), 3u);
  float lon0[3], lat0[3];
  std::memcpy(lon0, s.rlong, sizeof lon0);
  std::memcpy(lat0, s.rlat, sizeof lat0);
  s.xd[3] = s.yd[3] = 77.0f;  // beyond the events: left alone
  drive(run_open() + "99\n");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(fix[i].lon, s.rlong[i]);
    EXPECT_EQ(fix[i].lat, s.rlat[i]);
    EXPECT_NEAR(s.xd[i], fix[i].x, 2e-6) << "event " << i + 1;
    EXPECT_NEAR(s.yd[i], fix[i].y, 2e-6) << "event " << i + 1;
  }
  EXPECT_EQ(0, std::memcmp(lon0, s.rlong, sizeof lon0));
  EXPECT_EQ(0, std::memcmp(lat0, s.rlat, sizeof lat0));
  EXPECT_EQ(s.xd[3], 77.0f);
  EXPECT_EQ(s.yd[3], 77.0f);
}

TEST_F(MapRun, SiShLinesOfOneRunMatchTheOracle) {
  open_window();
  const std::string path = open_sish();
  drive(run_open() + "99\n", true);
  EXPECT_EQ(close_sish(path), read_file(map_data("sish_gcmt_plane1.txt")));
}

TEST_F(MapRun, SecondPlaneGivesItsOwnAxes) {
  open_window();
  const std::string path = open_sish();
  drive(run_open() + "99\n", true, 2);
  EXPECT_EQ(close_sish(path), read_file(map_data("sish_gcmt_plane2.txt")));
}

TEST_F(MapRun, TwoRunsFollowOneAnotherEachWithItsHeader) {
  open_window();
  const std::string path = open_sish();
  drive(run_open() + run_open() + "99\n", true);
  const std::string one = read_file(map_data("sish_gcmt_plane1.txt"));
  EXPECT_EQ(close_sish(path), one + one);
}

TEST_F(MapRun, RunsOfTwoCallsShareTheOpenFile) {
  open_window();
  const std::string path = open_sish();
  drive(run_open() + "99\n", true);
  drive(run_open() + "99\n", true);
  const std::string one = read_file(map_data("sish_gcmt_plane1.txt"));
  EXPECT_EQ(close_sish(path), one + one);
}

TEST_F(MapRun, NoEventWritesTheHeaderOnlyAndStillCaptions) {
  open_window();
  s.n = 0;
  const std::string path = open_sish();
  const std::string out = drive(run_open() + "99\n", true);
  const std::string one = read_file(map_data("sish_gcmt_plane1.txt"));
  EXPECT_EQ(close_sish(path), one.substr(0, one.find('\n') + 1));
  // The point and line-file menus still ran, the listing of the stress layer did not.
  EXPECT_EQ(count(out, " MAPPING POINTS\n"), 1);
  EXPECT_EQ(count(out, " @ subroutine contours1  \n"), 1);
  EXPECT_EQ(count(out, " data nb|isv|"), 0);
  bool caption = false;
  for (const auto& l : log_lines()) caption |= l.find("\"Number of data: 0\"") != std::string::npos;
  EXPECT_TRUE(caption);
}

TEST_F(MapRun, StressLayerOffWritesNoSiShLine) {
  open_window();
  const std::string path = open_sish();
  const std::string out = drive("342\nn\n" + run_open() + "99\n", true);
  EXPECT_EQ(close_sish(path), "");
  EXPECT_EQ(count(out, "PLOTTING STRESS DIRECTIONS"), 0);
  // The epicentres are still projected and drawn.
  EXPECT_EQ(count(out, " PLOTTING EPICENTERS\n"), 1);
  EXPECT_NEAR(s.xd[2], -1.2259193, 2e-6);
}

TEST_F(MapRun, SiShSwitchOffWritesNothingOnTheOpenSlot) {
  open_window();
  const std::string path = open_sish();
  drive(run_open() + "99\n", false);
  EXPECT_EQ(close_sish(path), "");
}

// The slot not open (or no such slot): one warning per run, no line, the map goes on.
TEST_F(MapRun, SiShSlotNotOpenWarnsOncePerRunAndMapsAnyway) {
  open_window();
  const std::string out = drive(run_open() + run_open() + "99\n", true);
  const auto lines = split_lines(out);
  const auto head = korbast::testing::expected::warning_head("mapseis");
  const int first = find_sequence(lines, head);
  ASSERT_GE(first, 0) << out;
  EXPECT_GE(find_sequence(lines, head, static_cast<std::size_t>(first) + 1), 0);
  EXPECT_EQ(count(out, " ==> NO Si-Sh LINES WRITTEN IN THIS RUN\n"), 2);
  EXPECT_EQ(count(out, " data nb|isv|"), 6);
  EXPECT_FALSE(frame::units::is_open(frame::fiocom.iouf[kSlot - 1]));
}

TEST_F(MapRun, SiShSlotNumberOutsideTheTableWarns) {
  open_window();
  const std::string out = drive(run_open() + "99\n", true, 1, 7);
  EXPECT_EQ(count(out, " ==> NO Si-Sh LINES WRITTEN IN THIS RUN\n"), 1);
  EXPECT_EQ(count(out, " data nb|isv|"), 3);
}

// The threshold only decides which events the console lists: events 1 and 2 have their
// steepest axis below 60 degrees (56.0 and 43.2), event 3 not (72.2). The listed events'
// negative codes are drawn as their absolute values, without a warning: Sv 3, 2 and 3 give
// arrows for SHmax at every event, and for SHmin at event 2 only (bars at 1 and 3), each
// symbol a pair: 8 arrows (outlines of 7 points) and 4 bars (of 4).
TEST_F(MapRun, PlungeThresholdListsShallowEventsAndLeavesTheFileAlone) {
  open_window();
  const std::string path = open_sish();
  const std::string out = drive("400\n60\n" + run_open() + "99\n", true);
  EXPECT_EQ(close_sish(path), read_file(map_data("sish_gcmt_plane1.txt")));
  const auto lines = split_lines(out);
  std::vector<std::string> listed;
  for (const auto& l : lines) {
    if (l.rfind("       1|", 0) == 0) listed.push_back(l);
  }
  ASSERT_EQ(listed.size(), 2u) << out;
  EXPECT_EQ(listed[0].substr(0, 21), "       1| -3|    50.8");
  // The listing shows SHmax in [0, 360): event 2 is T + 90.
  EXPECT_EQ(listed[1].substr(0, 21), "       1| -2|   239.5");
  EXPECT_EQ(count(out, "isv outside"), 0) << out;
  int arrows = 0, bars = 0;
  for (const auto& p : plot::test::log_paths(log_lines())) {
    if (!p.closed) continue;
    arrows += p.pts.size() == 7;
    bars += p.pts.size() == 4;
  }
  EXPECT_EQ(arrows, 8);
  EXPECT_EQ(bars, 4);
}

TEST_F(MapRun, DefaultThresholdListsOnlyTheHeaders) {
  open_window();
  const std::string out = drive(run_open() + "99\n");
  const std::string dash = " " + std::string(74, '-') + "\n";
  const std::string head =
      " data nb|isv| azshmax| azim.S1|plung.S1| azim.S2|plung.S2| azim.S3|plung.S3\n";
  const std::string box = " " + std::string(36, '=') + "\n";
  EXPECT_NE(out.find(box + " PLOTTING STRESS DIRECTIONS\n" + box + dash + head + dash + dash + head +
                     dash + dash + head + dash + box + " PLOTTING LAT LONG CONTOURS\n"),
            std::string::npos)
      << out;
}

TEST_F(MapRun, BoxesComeInTheOrderOfTheRun) {
  open_window();
  const std::string out = drive(run_open() + "99\n");
  const char* titles[] = {" PLOTTING INFORMATION\n", " SCALING GRID IN A4 Portrait\n",
                          " PLOTTING LAT LONG GRID\n", " LAT-LONG GRID TYPE =    1\n",
                          " PLOTTING LOCATION\n", " MAPPING POINTS\n",
                          " PROJECTING EPICENTERS\n LONG, LAT --> X, Y\n",
                          " PLOTTING EPICENTERS\n", " PLOTTING STRESS DIRECTIONS\n",
                          " PLOTTING LAT LONG CONTOURS\n", " @ subroutine contours1  \n"};
  std::size_t at = 0;
  for (const char* t : titles) {
    const std::size_t p = out.find(t, at);
    ASSERT_NE(p, std::string::npos) << t << "\n" << out;
    at = p;
  }
}

TEST_F(MapRun, AllLayersOffDrawCaptionsAndGridOnly) {
  open_window();
  s.xd[0] = s.yd[0] = 55.0f;
  const std::string out =
      drive("340\nn\n341\nn\n342\nn\n343\nn\n1000\n0\n99\n");
  EXPECT_EQ(count(out, " PLOTTING INFORMATION\n"), 1);
  EXPECT_EQ(count(out, " PLOTTING LAT LONG GRID\n"), 1);
  for (const char* t : {"PLOTTING LOCATION", "MAPPING POINTS", "PROJECTING EPICENTERS",
                        "PLOTTING EPICENTERS", "PLOTTING STRESS", "CONTOURS", "contours1"}) {
    EXPECT_EQ(count(out, t), 0) << t;
  }
  EXPECT_EQ(s.xd[0], 55.0f);
  EXPECT_EQ(s.yd[0], 55.0f);
}

TEST_F(MapRun, CaptionsCarryTheCountAndTheDriversIdentity) {
  open_window();
  drive(run_open() + "99\n");
  bool count_caption = false, subroutine = false;
  for (const auto& l : log_lines()) {
    count_caption |= l.find("\"Number of data: 3\"") != std::string::npos;
    subroutine |= l.find("Subroutine mapseis") != std::string::npos;
  }
  EXPECT_TRUE(count_caption);
  EXPECT_TRUE(subroutine);
  // The alignment is given back after the captions; the grid's labels leave it at -7.
  EXPECT_EQ(plot::plt2blk.textalign, -7);
  // A grid of type 0 has no labels: the alignment set before the run is the one after it.
  plot::plt2blk.textalign = 5;
  drive("320\n8\n0\n99\n" + run_open() + "99\n");
  EXPECT_EQ(llgrid.igridtype, 0);
  EXPECT_EQ(plot::plt2blk.textalign, 5);
}

// The scaling puts the grid's extent into the page box 17 x 26 cm at (2, 2) cm, equal scales.
TEST_F(MapRun, ScalingFitsTheGridIntoThePageBox) {
  open_window();
  drive(run_open() + "99\n");
  float xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  extrllgrid(xmin, ymin, xmax, ymax);
  const float xs[2] = {xmin, xmax}, ys[2] = {ymin, ymax};
  float xc[2], yc[2];
  const auto& b = plot::plt1blk;
  for (int k = 0; k < 2; ++k) {
    xc[k] = b.us0tocm[0][0] + b.ustocm[0][0][0] * xs[k] + b.ustocm[0][1][0] * ys[k];
    yc[k] = b.us0tocm[0][1] + b.ustocm[0][0][1] * xs[k] + b.ustocm[0][1][1] * ys[k];
  }
  EXPECT_FLOAT_EQ(b.ustocm[0][0][0], b.ustocm[0][1][1]);
  EXPECT_GE(xc[0], 2.0f - 1e-4f);
  EXPECT_LE(xc[1], 19.0f + 1e-4f);
  EXPECT_GE(yc[0], 2.0f - 1e-4f);
  EXPECT_LE(yc[1], 28.0f + 1e-4f);
  // The tall default grid fills the height.
  EXPECT_NEAR(yc[1] - yc[0], 26.0f, 1e-3f);
}

TEST_F(MapRun, WithoutScalingTheStartUpTransformStays) {
  open_window();
  drive("15\nn\n" + run_open() + "99\n");
  const auto& b = plot::plt1blk;
  EXPECT_FLOAT_EQ(b.us0tocm[0][0], 10.0f);
  EXPECT_FLOAT_EQ(b.us0tocm[0][1], 8.0f);
  EXPECT_FLOAT_EQ(b.ustocm[0][0][0], 2.5f);
  EXPECT_FLOAT_EQ(b.ustocm[0][1][1], 2.5f);
}

// Every epicentre gets the driver's symbol (type -4, a filled diamond) centred on its
// projected position.
TEST_F(MapRun, EpicentreSymbolsStandOnTheProjectedPoints) {
  open_window();
  drive(run_open() + "99\n");
  struct Path {
    std::vector<std::pair<double, double>> p;
    bool closed = false;
  };
  std::vector<Path> paths;
  for (const auto& l : log_lines()) {
    double x = 0, y = 0;
    if (l == "begin") {
      paths.emplace_back();
    } else if (!paths.empty() && (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
                                  std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2)) {
      paths.back().p.emplace_back(x, y);
    } else if (l == "close" && !paths.empty()) {
      paths.back().closed = true;
    }
  }
  for (int i = 0; i < 3; ++i) {
    float xde = 0, yde = 0;
    plot::us2de(&xde, &yde, &s.xd[i], &s.yd[i], 1);
    bool found = false;
    for (const auto& pa : paths) {
      // Four corners, the first repeated at the end.
      if (!pa.closed || pa.p.size() != 5) continue;
      double cx = 0, cy = 0;
      for (std::size_t k = 0; k < 4; ++k) {
        cx += pa.p[k].first / 4;
        cy += pa.p[k].second / 4;
      }
      found |= std::hypot(cx - xde, cy - yde) < 0.5;
    }
    EXPECT_TRUE(found) << "no diamond at event " << i + 1;
  }
}

// A count beyond the capacity maps what the arrays hold.
TEST_F(MapRun, CountIsTakenInsideTheCapacity) {
  open_window();
  s.n = 5;
  s.xd[3] = s.yd[3] = 66.0f;
  const std::string out = drive("1000\n0\n99\n99\n99\n", false, 1, kSlot, 3);
  EXPECT_EQ(count(out, " data nb|isv|"), 3);
  EXPECT_EQ(s.xd[3], 66.0f);
}

TEST_F(MapRun, ContourMenuGetsTheGridBoundsAsItsWindow) {
  open_window();
  frame::iocom.lwito(2) = true;
  const std::string out = drive(run_open() + "99\n");
  // The default grid: -80..80 in both directions (single precision through radians).
  EXPECT_NE(out.find(" Clipping on ................10 T\n"), std::string::npos);
  EXPECT_NE(out.find("  _|_________________|_ latmax =    80.000\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  _|_________________|_ latmin =   -80.000\n"), std::string::npos);
}

// An event whose dip is not a number: the plunge check reports it and resets the plunges,
// no axis is steepest (Sv 0), the symbol routine warns and draws bars, the record is still
// written with what could be computed, and the run goes on with the next events.
TEST_F(MapRun, PlaneThatIsNotANumberStillGetsARecord) {
  open_window();
  s.dipd[0][0] = std::nanf("");
  const std::string path = open_sish();
  const std::string out = drive(run_open() + "99\n", true);
  const std::string file = close_sish(path);
  const auto lines = split_lines(file);
  ASSERT_EQ(lines.size(), 4u) << file << out;
  EXPECT_EQ(lines[1].substr(0, 54), " 2005/01/01 01:20:05.4  13.78  -88.78 193.1    9.  NaN");
  EXPECT_EQ(lines[1][100], '0') << lines[1];
  EXPECT_NE(out.find(" isv outside [1,3]\n"), std::string::npos);
  const auto want = split_lines(read_file(map_data("sish_gcmt_plane1.txt")));
  EXPECT_EQ(lines[2], want[2]);
  EXPECT_EQ(lines[3], want[3]);
}

}  // namespace
}  // namespace korbast::maps::mapseis_test
