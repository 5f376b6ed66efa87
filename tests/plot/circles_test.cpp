// Circles and arcs through the logging device: point counts formed in single precision
// (23 and 29 points give 22 and 28), the quarter circle, both directions of an arc, the
// accumulated angle, the running point's warnings for too few and too many points, and
// counts too large for an integer.
#include "plot/circles.hpp"

#include <cmath>
#include <climits>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "plot/curves.hpp"
#include "plot_fixture.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;

class Circles : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    frame::iocom.pause = false;
    colour_table();
    plt2blk.linecolor = 1;
    open_log_window({0, 0, 600, 800});
    // User units to pixels: 100 pixels per unit about (300, 400).
    plt1blk.isub = 1;
    plt1blk.ustode[0][0][0] = 100.0f;
    plt1blk.ustode[0][1][0] = 0.0f;
    plt1blk.ustode[0][0][1] = 0.0f;
    plt1blk.ustode[0][1][1] = 100.0f;
    plt1blk.us0tode[0][0] = 300.0f;
    plt1blk.us0tode[0][1] = 400.0f;
    log_->clear();
  }
  // The device paths of the log, one list of points per path.
  std::vector<Pts> paths() const {
    std::vector<Pts> out;
    for (const LogPath& p : log_paths(log_lines())) out.push_back(p.pts);
    return out;
  }
  static float pi() { return frame::anglerad.v[4]; }
  static float halfpi() { return frame::anglerad.v[2]; }
};

TEST_F(Circles, FullCircleOf200Points) {
  Console con;
  uscircle(0.0f, 0.0f, 1.0f, 200);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(ptblock.np, 200);
  EXPECT_EQ(ptblock.rns, 199.0f);
  EXPECT_EQ(ptblock.pti, 0.0f);
  EXPECT_EQ(ptblock.ptf, frame::anglerad.v[6]);
  EXPECT_EQ(ptblock.ptd, frame::anglerad.v[6] / 199.0f);
  EXPECT_EQ(ptblock.ipt, 201);
  EXPECT_EQ(cc2dbuff.xp[0], 1.0f);
  EXPECT_EQ(cc2dbuff.yp[0], 0.0f);
  // The last point closes the outline up to rounding.
  EXPECT_NEAR(cc2dbuff.xp[199], 1.0f, 1e-5);
  EXPECT_NEAR(cc2dbuff.yp[199], 0.0f, 1e-5);
  EXPECT_NEAR(cc2dbuff.xp[50], std::cos(50 * 2 * M_PI / 199), 1e-5);
  EXPECT_NEAR(cc2dbuff.yp[50], std::sin(50 * 2 * M_PI / 199), 1e-5);
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);  // one polyline of 200 points: 199 segments
  ASSERT_EQ(p[0].size(), 200u);
  EXPECT_EQ(p[0].front(), (std::pair<double, double>{400, 400}));
  EXPECT_NEAR(p[0].back().first, 400, 1e-3);
  EXPECT_NEAR(p[0].back().second, 400, 1e-3);
  EXPECT_NEAR(p[0][50].second, 400 + 100 * std::sin(50 * 2 * M_PI / 199), 2e-3);
}

TEST_F(Circles, SinglePrecisionCountsOnePointShort) {
  for (const auto& [npfull, drawn] : std::vector<std::pair<int, int>>{
           {23, 22}, {29, 28}, {7, 7}, {200, 200}, {1000, 1000}}) {
    log_->clear();
    Console con;
    uscircle(1.0f, 2.0f, 0.5f, npfull);
    EXPECT_EQ(ptblock.np, drawn) << npfull;
    const auto p = paths();
    ASSERT_EQ(p.size(), drawn > 501 ? 2u : 1u) << npfull;
    EXPECT_EQ(p[0].size(), static_cast<std::size_t>(std::min(drawn, 501))) << npfull;
    EXPECT_EQ(con.text(), "") << npfull;
  }
}

TEST_F(Circles, QuarterCircleOf50Points) {
  usacircle(0.0f, 0.0f, 1.0f, 0.0f, halfpi(), 200);
  EXPECT_EQ(ptblock.np, 50);
  EXPECT_EQ(cc2dbuff.xp[0], 1.0f);
  EXPECT_EQ(cc2dbuff.yp[0], 0.0f);
  EXPECT_NEAR(cc2dbuff.xp[49], 0.0f, 1e-5);
  EXPECT_NEAR(cc2dbuff.yp[49], 1.0f, 1e-5);
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].size(), 50u);
  // Counter-clockwise: y grows all the way.
  for (int k = 1; k < 50; ++k) EXPECT_GT(cc2dbuff.yp[k], cc2dbuff.yp[k - 1]) << k;
}

TEST_F(Circles, ReversedArcRunsTheOtherWay) {
  usacircle(0.0f, 0.0f, 1.0f, halfpi(), 0.0f, 200);
  EXPECT_EQ(ptblock.np, 50);
  EXPECT_LT(ptblock.ptd, 0.0f);
  EXPECT_NEAR(cc2dbuff.xp[0], 0.0f, 1e-6);
  EXPECT_EQ(cc2dbuff.yp[0], 1.0f);
  EXPECT_NEAR(cc2dbuff.xp[49], 1.0f, 1e-5);
  EXPECT_NEAR(cc2dbuff.yp[49], 0.0f, 1e-5);
  for (int k = 1; k < 50; ++k) EXPECT_LT(cc2dbuff.yp[k], cc2dbuff.yp[k - 1]) << k;
}

TEST_F(Circles, AngleIsAccumulatedPointByPoint) {
  // The angle of each point is the previous one plus the increment, in single precision.
  const float a1 = 0.3f, a2 = 2.9f;
  usacircle(1.0f, -1.0f, 2.0f, a1, a2, 700);
  const int n = ptblock.np;
  const float d = (a2 - a1) / static_cast<float>(n - 1);
  EXPECT_EQ(ptblock.ptd, d);
  float t = a1 - d;
  for (int k = 0; k < n; ++k) {
    t = t + d;
    ASSERT_EQ(cc2dbuff.xp[k], 1.0f + 2.0f * std::cos(t)) << k;
    ASSERT_EQ(cc2dbuff.yp[k], -1.0f + 2.0f * std::sin(t)) << k;
  }
  EXPECT_EQ(ptblock.pt, t);
  EXPECT_EQ(ptblock.ipt, n + 1);
  // The last angle reaches a2 only up to the accumulated rounding.
  EXPECT_NEAR(ptblock.pt, a2, 1e-4);
}

TEST_F(Circles, TooFewPointsGiveOnePointAtTheStart) {
  Console con;
  // 3 points a turn over one radian is less than one point.
  usacircle(0.0f, 0.0f, 1.0f, 1.0f, 2.0f, 3);
  EXPECT_EQ(ptblock.np, 1);
  EXPECT_EQ(ptblock.ptd, 0.0f);
  EXPECT_EQ(cc2dbuff.xp[0], std::cos(1.0f));
  EXPECT_EQ(cc2dbuff.yp[0], std::sin(1.0f));
  const auto lines = split_lines(con.text());
  EXPECT_GE(find_sequence(lines, {" nb of points np =       0", " ===> UPSTREAM PROBLEM ?",
                                  " Increment inconsistent with bounds ?",
                                  " ===> RESETTING np =       1"}),
            0)
      << con.text();
  // One chunk of one point.
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  for (const auto& pt : p[0]) EXPECT_EQ(pt, p[0].front());
  // Exactly one point a turn's share: the single-point warning instead.
  con.clear();
  usacircle(0.0f, 0.0f, 1.0f, 0.0f, frame::anglerad.v[6], 1);
  EXPECT_EQ(ptblock.np, 1);
  EXPECT_NE(con.text().find(" ===> WILL PLOT ONLY ONE POINT"), std::string::npos);
  // No points at all and a negative count alike.
  con.clear();
  uscircle(0.0f, 0.0f, 1.0f, -5);
  EXPECT_EQ(ptblock.np, 1);
  EXPECT_NE(con.text().find(" ===> UPSTREAM PROBLEM ?"), std::string::npos);
}

TEST_F(Circles, MoreThan1000PointsAreCut) {
  Console con;
  uscircle(0.0f, 0.0f, 1.0f, 1500);
  EXPECT_EQ(ptblock.np, 1000);
  EXPECT_NE(con.text().find(" nb of points =    1500 > plot buffer size =    1000"),
            std::string::npos);
  EXPECT_NE(con.text().find(" ===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
  // 1000 points in two chunks sharing point 501; the circle still closes.
  const auto p = paths();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].size(), 501u);
  EXPECT_EQ(p[1].size(), 500u);
  EXPECT_NEAR(cc2dbuff.xp[999], 1.0f, 1e-5);
}

TEST_F(Circles, CountsBeyondTheIntegerRangeAreHeld) {
  Console con;
  uscircle(0.0f, 0.0f, 1.0f, INT_MAX);
  EXPECT_EQ(ptblock.np, 1000);
  usacircle(0.0f, 0.0f, 1.0f, 0.0f, 1e30f, 200);
  EXPECT_EQ(ptblock.np, 1000);
  EXPECT_NE(con.text().find(" ===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
  // An angle that is not a number gives no count: one point after the error.
  con.clear();
  usacircle(0.0f, 0.0f, 1.0f, 0.0f, std::nanf(""), 200);
  EXPECT_EQ(ptblock.np, 1);
  EXPECT_NE(con.text().find(" ===> UPSTREAM PROBLEM ?"), std::string::npos);
}

TEST_F(Circles, RadiusAndCentreAsGiven) {
  // A negative radius mirrors the points through the centre; a zero radius is the centre.
  uscircle(2.0f, 3.0f, -1.0f, 5);
  EXPECT_EQ(ptblock.np, 5);
  EXPECT_EQ(cc2dbuff.xp[0], 1.0f);
  EXPECT_EQ(cc2dbuff.yp[0], 3.0f);
  EXPECT_NEAR(cc2dbuff.xp[2], 3.0f, 1e-6);  // half a turn on
  uscircle(2.0f, 3.0f, 0.0f, 5);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(cc2dbuff.xp[k], 2.0f);
    EXPECT_EQ(cc2dbuff.yp[k], 3.0f);
  }
  // The running point's texts are left as they were.
  ptblock.ptrange = "kept";
  uscircle(0.0f, 0.0f, 1.0f, 10);
  EXPECT_EQ(ptblock.ptrange.trimmed(), "kept");
}

TEST_F(Circles, UnequalScalesDrawAnEllipse) {
  plt1blk.ustode[0][1][1] = 50.0f;
  uscircle(0.0f, 0.0f, 1.0f, 5);
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].size(), 5u);
  EXPECT_EQ(p[0][0], (std::pair<double, double>{400, 400}));
  EXPECT_NEAR(p[0][1].first, 300, 1e-3);
  EXPECT_NEAR(p[0][1].second, 450, 1e-3);
  EXPECT_NEAR(p[0][2].first, 200, 1e-3);
  EXPECT_NEAR(p[0][3].second, 350, 1e-3);
}

}  // namespace
}  // namespace korbast::plot::test
