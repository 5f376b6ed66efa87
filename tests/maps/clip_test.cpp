// Clipping of map lines: zone codes and their warnings, the reduction into one period, the
// clipping frame of the windows the program meets, the segment rule as drawn, and the window
// test of whole polygons.
#include <cmath>
#include <string>
#include <vector>

#include "lines_fixture.hpp"
#include "maps/clip.hpp"
#include "maps/contours.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::test {
namespace {

namespace ex = korbast::testing::expected;

class Clip : public korbast::testing::QuietDialogTest {};

int zone(float x, float y) {
  int z = 99;
  locate2dbox(&z, -10.0f, 10.0f, -5.0f, 5.0f, &x, &y, 1);
  return z;
}

TEST_F(Clip, ZonesAroundTheBoxWithTheEdgesInside) {
  Console con;
  EXPECT_EQ(zone(0, 0), 0);
  EXPECT_EQ(zone(-20, 9), 1);
  EXPECT_EQ(zone(0, 9), 2);
  EXPECT_EQ(zone(20, 9), 3);
  EXPECT_EQ(zone(20, 0), 4);
  EXPECT_EQ(zone(20, -9), 5);
  EXPECT_EQ(zone(0, -9), 6);
  EXPECT_EQ(zone(-20, -9), 7);
  EXPECT_EQ(zone(-20, 0), 8);
  // Every edge and corner is inside.
  EXPECT_EQ(zone(-10, -5), 0);
  EXPECT_EQ(zone(10, 5), 0);
  EXPECT_EQ(zone(10, 0), 0);
  EXPECT_EQ(zone(0, -5), 0);
  EXPECT_EQ(zone(10.001f, 5), 4);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Clip, SeveralPointsInOneCallAndNoneForACountBelowOne) {
  const float x[4] = {0, 20, -20, 0};
  const float y[4] = {0, 0, 9, -9};
  int z[4] = {99, 99, 99, 99};
  locate2dbox(z, -10, 10, -5, 5, x, y, 0);
  EXPECT_EQ(z[0], 99);
  locate2dbox(z, -10, 10, -5, 5, x, y, 4);
  EXPECT_EQ(z[0], 0);
  EXPECT_EQ(z[1], 4);
  EXPECT_EQ(z[2], 1);
  EXPECT_EQ(z[3], 6);
}

TEST_F(Clip, CoordinatesThatCannotBeComparedAreWarnedAndOutside) {
  Console con;
  EXPECT_EQ(zone(std::nanf(""), 0), -1);
  auto want = ex::warning_head("locate2dbox");
  ex::append(want, {" X RANGE TEST FAILED FOR:", " X    =          NaN", " Xmin =  -10.000    ",
                    " Xmax =   10.000    ", " => SET LOCATION =  -1", ex::rule('/')});
  EXPECT_EQ(split(con.text()), want);

  con.clear();
  EXPECT_EQ(zone(0, std::nanf("")), -2);
  auto want_y = ex::warning_head("locate2dbox");
  ex::append(want_y, {" Y RANGE TEST FAILED FOR:", " Y    =          NaN", " Ymin =  -5.0000    ",
                      " Ymax =   5.0000    ", " => SET LOCATION =  -2", ex::rule('/')});
  EXPECT_EQ(split(con.text()), want_y);

  // North of the box with x not comparable: code -1 as well.
  con.clear();
  EXPECT_EQ(zone(std::nanf(""), 9), -1);
}

float reduced(float x, float ref) {
  float out = 0;
  modulro(&out, &x, 360.0f, ref, 1);
  return out;
}

TEST_F(Clip, ModuloOneTurn) {
  EXPECT_EQ(reduced(-1, 0), 359.0f);
  EXPECT_EQ(reduced(360, 0), 0.0f);
  EXPECT_EQ(reduced(-360, 0), 0.0f);
  EXPECT_EQ(reduced(359.5f, 0), 359.5f);
  EXPECT_EQ(reduced(720.5f, 0), 0.5f);
  EXPECT_EQ(reduced(-720, 0), 0.0f);
  EXPECT_EQ(reduced(-170, 167), 190.0f);
  EXPECT_EQ(reduced(170, 167), 170.0f);
  EXPECT_EQ(reduced(-40, -33), 320.0f);
  // In place over several values; nothing for a count below 1.
  float v[3] = {-90, 450, 10};
  modulro(v, v, 360.0f, -180.0f, 0);
  EXPECT_EQ(v[0], -90.0f);
  modulro(v, v, 360.0f, -180.0f, 3);
  EXPECT_EQ(v[0], -90.0f);
  EXPECT_EQ(v[1], 90.0f);
  EXPECT_EQ(v[2], 10.0f);
}

struct FrameCase {
  float longmin, longmax, orig, min2, max2;
};

TEST_F(Clip, ClippingFrames) {
  for (const FrameCase c : {FrameCase{-30, 60, -33, -30, 60}, FrameCase{0, 356, -2, 0, 356},
                            FrameCase{-180, 180, -180, -180, 180},
                            FrameCase{170, -170, 167, 170, 190}, FrameCase{0, 360, 0, 0, 360},
                            FrameCase{-80, 80, -83, -80, 80}, FrameCase{10, 370, 10, 10, 370}}) {
    Console con;
    ClipFrame f;
    clipping_frame(f, c.longmin, c.longmax);
    EXPECT_EQ(f.longorig, c.orig) << c.longmin << " " << c.longmax;
    EXPECT_EQ(f.longmin2, c.min2) << c.longmin << " " << c.longmax;
    EXPECT_EQ(f.longmax2, c.max2) << c.longmin << " " << c.longmax;
    EXPECT_EQ(con.text(), "");
  }
}

TEST_F(Clip, EqualWindowLongitudesAreInconsistent) {
  Console con;
  ClipFrame f;
  clipping_frame(f, 25, 25);
  EXPECT_EQ(f.longorig, 22.0f);
  EXPECT_EQ(f.longmin2, 25.0f);
  EXPECT_EQ(f.longmax2, 25.0f);
  auto want = ex::warning_head("contours1");
  ex::append(want, {" INCONSISTENT BOUNDS", " longitude min =    25.000 longitude max =    25.000",
                    ex::rule('/')});
  EXPECT_EQ(split(con.text()), want);
}

// ---- The segment rule, as drawn ----

class ClipDraw : public MapDrawTest {};

void run(ClippedLine& cl, const std::vector<std::pair<float, float>>& pts) {
  cl.first(pts[0].first, pts[0].second);
  for (std::size_t i = 1; i < pts.size(); ++i) cl.next(pts[i].first, pts[i].second);
}

const ClipWindow kWindow{-10, 10, -10, 10};
constexpr double kTol = 1e-4;

TEST_F(ClipDraw, SegmentCrossingTheWindowWithBothEndsOutsideIsNotDrawn) {
  ClippedLine cl(kWindow);
  run(cl, {{-20, 0}, {20, 0}, {20, 30}, {-30, -30}});
  EXPECT_TRUE(drawn_paths().empty());
}

TEST_F(ClipDraw, OnePointInsideDrawsBothSegmentsTouchingItInFull) {
  ClippedLine cl(kWindow);
  run(cl, {{-20, 0}, {0, 0}, {20, 0}, {30, 0}});
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].pts.size(), 3u);
  EXPECT_PT(p[0].pts[0], -20, 0, kTol);
  EXPECT_PT(p[0].pts[1], 0, 0, kTol);
  EXPECT_PT(p[0].pts[2], 20, 0, kTol);
}

TEST_F(ClipDraw, LeavingAndComingBackStartsANewPath) {
  ClippedLine cl(kWindow);
  run(cl, {{0, 0}, {10, 10}, {20, 20}, {30, 30}, {5, 0}, {6, 1}});
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 2u);
  ASSERT_EQ(p[0].pts.size(), 3u);
  EXPECT_PT(p[0].pts[0], 0, 0, kTol);
  EXPECT_PT(p[0].pts[1], 10, 10, kTol);
  EXPECT_PT(p[0].pts[2], 20, 20, kTol);
  ASSERT_EQ(p[1].pts.size(), 3u);
  EXPECT_PT(p[1].pts[0], 30, 30, kTol);
  EXPECT_PT(p[1].pts[1], 5, 0, kTol);
  EXPECT_PT(p[1].pts[2], 6, 1, kTol);
}

// Ends more than 180 degrees of longitude apart: no segment, also one leaving the window;
// the line goes on from the second point. Exactly 180 apart is still drawn.
TEST_F(ClipDraw, SegmentsLongerThanHalfATurnAreNotDrawn) {
  ClippedLine cl({-180, 180, -10, 10});
  run(cl, {{170, 0}, {-170, 1}, {-160, 2}, {100, 20}, {90, 3}, {-90, 4}});
  const auto p = drawn_paths();
  std::vector<Path> lines;  // the paths that draw (a lone move draws nothing)
  for (const auto& q : p)
    if (q.pts.size() > 1) lines.push_back(q);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].pts.size(), 2u);
  EXPECT_PT(lines[0].pts[0], -170, 1, kTol);
  EXPECT_PT(lines[0].pts[1], -160, 2, kTol);
  ASSERT_EQ(lines[1].pts.size(), 3u);  // coming in from (100, 20), as the rule draws it
  EXPECT_PT(lines[1].pts[0], 100, 20, kTol);
  EXPECT_PT(lines[1].pts[1], 90, 3, kTol);
  EXPECT_PT(lines[1].pts[2], -90, 4, kTol);
}

TEST_F(ClipDraw, ASinglePointInsideIsAMoveOnly) {
  ClippedLine cl(kWindow);
  cl.first(1, 2);
  const auto p = drawn_paths();
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].pts.size(), 1u);
  EXPECT_PT(p[0].pts[0], 1, 2, kTol);
}

// ---- The window test of type 5 polygons ----

TEST_F(Clip, PolygonTestOnAnOrdinaryWindow) {
  Console con;
  ClipFrame f;
  clipping_frame(f, -30, 60);
  float w2 = 0, e2 = 0;
  bool rev = true;
  EXPECT_FALSE(polygon_outside(f, -10, 50, 0, 10, 0, 10, w2, e2, rev));
  EXPECT_FALSE(rev);
  EXPECT_TRUE(polygon_outside(f, -10, 50, 200, 250, 0, 10, w2, e2, rev));
  EXPECT_EQ(w2, 200.0f);
  EXPECT_EQ(e2, 250.0f);
  // 320..340 is -40..-20: it wraps past the origin and overlaps the window.
  EXPECT_FALSE(polygon_outside(f, -10, 50, 320, 340, 0, 10, w2, e2, rev));
  EXPECT_EQ(w2, 320.0f);
  EXPECT_EQ(e2, -20.0f);
  // 280..300 is -80..-60: wholly west of the window, east of it once reduced.
  EXPECT_TRUE(polygon_outside(f, -10, 50, 280, 300, 0, 10, w2, e2, rev));
  // Latitudes.
  EXPECT_TRUE(polygon_outside(f, -10, 50, 0, 10, 51, 60, w2, e2, rev));
  EXPECT_TRUE(polygon_outside(f, -10, 50, 0, 10, -30, -11, w2, e2, rev));
  EXPECT_FALSE(polygon_outside(f, -10, 50, 0, 10, -30, -10, w2, e2, rev));
  // Touching the window's edges is inside: the top, the west and the east edge.
  EXPECT_FALSE(polygon_outside(f, -10, 50, 0, 10, 50, 60, w2, e2, rev));
  EXPECT_FALSE(polygon_outside(f, -10, 50, 60, 70, 0, 10, w2, e2, rev));
  EXPECT_FALSE(polygon_outside(f, -10, 50, 320, 330, 0, 10, w2, e2, rev));  // reduced -40..-30
  EXPECT_FALSE(polygon_outside(f, -10, 50, 328, 330, 0, 10, w2, e2, rev));  // and -32..-30
}

TEST_F(Clip, PolygonTestAcrossTheDateLine) {
  Console con;
  ClipFrame f;
  clipping_frame(f, 170, -170);
  float w2 = 0, e2 = 0;
  bool rev = false;
  EXPECT_FALSE(polygon_outside(f, -30, 0, 176.9f, 185.0f, -20, -15, w2, e2, rev));
  EXPECT_FALSE(polygon_outside(f, -30, 0, -179, -175, -20, -15, w2, e2, rev));
  EXPECT_EQ(w2, 181.0f);
  EXPECT_TRUE(polygon_outside(f, -30, 0, 10, 20, -20, -15, w2, e2, rev));
}

TEST_F(Clip, ReversedHeaderHasNoLongitudeTest) {
  Console con;
  ClipFrame f;
  clipping_frame(f, -30, 60);
  float w2 = 0, e2 = 0;
  bool rev = false;
  EXPECT_FALSE(polygon_outside(f, -10, 50, 250, 200, 0, 10, w2, e2, rev));
  EXPECT_TRUE(rev);
  EXPECT_TRUE(polygon_outside(f, -10, 50, 250, 200, 60, 70, w2, e2, rev));
  EXPECT_EQ(con.text(), "");  // the warning is the reader's
}

// A polygon that goes round the globe (Antarctica-like headers) is never skipped for its
// longitudes: its reduced ends coincide and say nothing.
TEST_F(Clip, WholeGlobePolygonIsNotSkippedForItsLongitudes) {
  Console con;
  ClipFrame f;
  clipping_frame(f, 100, 200);
  EXPECT_EQ(f.longorig, 97.0f);
  float w2 = 0, e2 = 0;
  bool rev = false;
  EXPECT_FALSE(polygon_outside(f, -90, -60, 0, 360, -90, -63, w2, e2, rev));
  EXPECT_EQ(w2, 360.0f);
  EXPECT_EQ(e2, 360.0f);
  EXPECT_FALSE(polygon_outside(f, -90, -60, -180, 180, -90, -63, w2, e2, rev));
  EXPECT_TRUE(polygon_outside(f, -90, -60, 0, 360, -50, -40, w2, e2, rev));
}

}  // namespace
}  // namespace korbast::maps::test
