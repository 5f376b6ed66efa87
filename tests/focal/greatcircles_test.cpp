// Nodal-plane great circles through the logging device: the special planes, the three-point
// example, every drawn point on the plane's great circle as PROJ projects it (fixture
// tests/data/focal/greatcircles.txt), both nodal planes of the published records of
// tests/data/gcmt-samples.ndk (each through the other's pole, crossing at the record's own
// null axis), the point count clamps and the settings routine.
#include "focal/greatcircles.hpp"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "focal_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::focal::test {
namespace {

namespace ex = korbast::testing::expected;
using plot::test::find_sequence;
using plot::test::split_lines;

class GreatCircles : public FocalTest {
 protected:
  void SetUp() override {
    FocalTest::SetUp();
    dspgcbk.np = 40;
  }
  // The curves drawn by one call, in user units.
  std::vector<std::vector<Pt>> curves(const std::vector<float>& strike_deg,
                                      const std::vector<float>& dip_deg) {
    std::vector<float> s, d;
    for (float v : strike_deg) s.push_back(frame::rad(v));
    for (float v : dip_deg) d.push_back(frame::rad(v));
    log_->clear();
    dspgcfadn(s.data(), d.data(), static_cast<int>(s.size()));
    std::vector<std::vector<Pt>> out;
    for (const auto& p : drawn().paths) out.push_back(user(p.pts));
    return out;
  }
};

// The Schmidt net, North up, in double precision: the point of a direction.
Pt schmidt(double az_deg, double pl_deg) {
  const double d = (90.0 - pl_deg) * M_PI / 180.0;
  const double r = std::sqrt(2.0) * std::sin(d / 2.0);
  return {r * std::sin(az_deg * M_PI / 180.0), r * std::cos(az_deg * M_PI / 180.0)};
}

// The lower end of the direction given by azimuth and plunge.
Pt lower(double az_deg, double pl_deg) {
  return pl_deg < 0 ? schmidt(az_deg + 180.0, -pl_deg) : schmidt(az_deg, pl_deg);
}

TEST_F(GreatCircles, VerticalPlaneIsADiameter) {
  const auto c = curves({0.0f}, {90.0f});
  ASSERT_EQ(c.size(), 1u);
  ASSERT_EQ(c[0].size(), 40u);
  for (const auto& p : c[0]) EXPECT_NEAR(p.first, 0.0, 1e-6);
  EXPECT_NEAR(dist(c[0].front(), {0, 1}), 0, 1e-6);
  EXPECT_NEAR(dist(c[0].back(), {0, -1}), 0, 1e-5);
}

TEST_F(GreatCircles, HorizontalPlaneIsTheRim) {
  const auto c = curves({30.0f}, {0.0f});
  ASSERT_EQ(c.size(), 1u);
  for (const auto& p : c[0]) EXPECT_NEAR(std::hypot(p.first, p.second), 1.0, 1e-6);
  EXPECT_NEAR(dist(c[0].front(), schmidt(30, 0)), 0, 1e-6);
  EXPECT_NEAR(dist(c[0][20], schmidt(30 + 180.0 * 20 / 39, 0)), 0, 1e-5);
  EXPECT_NEAR(dist(c[0].back(), schmidt(210, 0)), 0, 1e-5);
}

TEST_F(GreatCircles, ThreePoints) {
  dspgcbk.np = 3;
  const auto c = curves({0.0f}, {45.0f});
  ASSERT_EQ(c.size(), 1u);
  ASSERT_EQ(c[0].size(), 3u);
  EXPECT_NEAR(dist(c[0][0], {0, 1}), 0, 1e-6);
  EXPECT_NEAR(dist(c[0][1], {std::sqrt(2.0) * std::sin(M_PI / 8), 0}), 0, 1e-6);
  EXPECT_NEAR(dist(c[0][2], {0, -1}), 0, 1e-6);
  EXPECT_EQ(plot::ptblock.ptd, frame::anglerad.v[4] / 2.0f);
}

TEST_F(GreatCircles, RunningPointAndBuffers) {
  const float s[2] = {0.5f, 1.0f}, d[2] = {0.3f, 0.9f};
  dspgcfadn(s, d, 2);
  EXPECT_EQ(plot::ptblock.np, 40);
  EXPECT_EQ(plot::ptblock.pti, 0.0f);
  EXPECT_EQ(plot::ptblock.ptf, pi());
  EXPECT_EQ(plot::ptblock.ptd, pi() / 39.0f);
  EXPECT_EQ(plot::cc2dbuff.xp[0], 1.0f);
  EXPECT_NEAR(plot::cc2dbuff.xp[39], -1.0f, 1e-7);
  EXPECT_NEAR(plot::cc2dbuff.yp[39], 0.0f, 1e-6);
  // The last plane's projected points stay in the buffer.
  const auto last = user(drawn().paths[1].pts);
  for (int i = 0; i < 40; ++i) {
    EXPECT_NEAR(plot::cc3dbuff.xe[i], last[static_cast<std::size_t>(i)].first, 1e-5);
    EXPECT_NEAR(plot::cc3dbuff.ye[i], last[static_cast<std::size_t>(i)].second, 1e-5);
  }
}

TEST_F(GreatCircles, NoPlaneStillSetsUpTheHalfCircle) {
  plot::cc2dbuff.yp[10] = 5.0f;
  dspgcfadn(nullptr, nullptr, 0);
  EXPECT_TRUE(drawn().paths.empty());
  EXPECT_EQ(plot::ptblock.np, 40);
  EXPECT_NEAR(plot::cc2dbuff.yp[10], std::sin(10 * M_PI / 39), 1e-6);
}

struct FixturePlane {
  double strike, dip;
  std::vector<Pt> pts;
};

std::vector<FixturePlane> greatcircle_fixture() {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/focal/greatcircles.txt");
  std::vector<FixturePlane> planes;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    if (line.rfind("plane", 0) == 0) {
      std::string w;
      FixturePlane p{};
      s >> w >> p.strike >> p.dip;
      planes.push_back(p);
    } else {
      double t, az, pl, x, y;
      s >> t >> az >> pl >> x >> y;
      planes.back().pts.emplace_back(x, y);
    }
  }
  return planes;
}

TEST_F(GreatCircles, PointsLieOnTheProjectedGreatCircle) {
  const auto planes = greatcircle_fixture();
  ASSERT_EQ(planes.size(), 8u);
  for (const auto& f : planes) {
    ASSERT_EQ(f.pts.size(), 361u);
    const auto c = curves({static_cast<float>(f.strike)}, {static_cast<float>(f.dip)});
    ASSERT_EQ(c.size(), 1u);
    ASSERT_EQ(c[0].size(), 40u);
    for (const auto& p : c[0]) {
      EXPECT_LT(dist_to_polyline(p, f.pts), 5e-5) << f.strike << "/" << f.dip;
      EXPECT_LE(std::hypot(p.first, p.second), 1.0 + 1e-6);
    }
    // Both ends on the primitive circle, at the strike and opposite it.
    EXPECT_NEAR(dist(c[0].front(), f.pts.front()), 0, 2e-6);
    EXPECT_NEAR(dist(c[0].back(), f.pts.back()), 0, 2e-5);
    // Consecutive points pi/39 apart on the sphere.
    for (std::size_t i = 0; i + 1 < c[0].size(); ++i) {
      auto dir = [](const Pt& p) {  // inverse Schmidt net: a unit vector (N, E, down)
        const double r = std::hypot(p.first, p.second);
        const double d = 2.0 * std::asin(std::min(1.0, r / std::sqrt(2.0)));
        const double az = std::atan2(p.first, p.second);
        return std::vector<double>{std::sin(d) * std::cos(az), std::sin(d) * std::sin(az),
                                   std::cos(d)};
      };
      const auto a = dir(c[0][i]), b = dir(c[0][i + 1]);
      const double cosang = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
      EXPECT_NEAR(std::acos(std::min(1.0, cosang)), M_PI / 39.0, 2e-4);
    }
  }
}

// A record of the sample catalogue, as its last line gives it: the T, N and P axes (plunge
// and azimuth) and the two nodal planes (strike, dip, rake).
struct Record {
  double t_pl, t_az, n_pl, n_az, p_pl, p_az;
  double plane[2][3];
};

std::vector<Record> sample_records() {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/gcmt-samples.ndk");
  std::vector<Record> recs;
  std::string line;
  int k = 0;
  while (std::getline(in, line)) {
    if (++k % 5 != 0) continue;
    std::istringstream s(line.substr(3));
    double m, tv, nv, pv;
    Record r{};
    s >> tv >> r.t_pl >> r.t_az >> nv >> r.n_pl >> r.n_az >> pv >> r.p_pl >> r.p_az >> m;
    for (auto& pl : r.plane)
      for (double& v : pl) s >> v;
    recs.push_back(r);
  }
  return recs;
}

// The pole (lower end of the normal) of a plane: azimuth strike - 90 and plunge 90 - dip.
Pt pole(double strike, double dip) { return lower(strike - 90.0, 90.0 - dip); }

TEST_F(GreatCircles, BothNodalPlanesOfPublishedRecords) {
  const auto recs = sample_records();
  ASSERT_EQ(recs.size(), 3u);
  for (const auto& r : recs) {
    const auto c = curves({static_cast<float>(r.plane[0][0]), static_cast<float>(r.plane[1][0])},
                          {static_cast<float>(r.plane[0][1]), static_cast<float>(r.plane[1][1])});
    ASSERT_EQ(c.size(), 2u);
    // Each nodal plane holds the slip vector of the other, that is the other's pole (the
    // catalogue rounds the angles to whole degrees; the curve is a 40-point polyline).
    EXPECT_LT(dist_to_polyline(pole(r.plane[1][0], r.plane[1][1]), c[0]), 0.03);
    EXPECT_LT(dist_to_polyline(pole(r.plane[0][0], r.plane[0][1]), c[1]), 0.03);
    // The planes cross at the null axis the record gives.
    const Pt b = lower(r.n_az, r.n_pl);
    EXPECT_LT(dist_to_polyline(b, c[0]), 0.03);
    EXPECT_LT(dist_to_polyline(b, c[1]), 0.03);
    // P and T lie on neither plane: well inside their quadrants.
    for (const Pt& axis : {lower(r.p_az, r.p_pl), lower(r.t_az, r.t_pl)}) {
      EXPECT_GT(dist_to_polyline(axis, c[0]), 0.2);
      EXPECT_GT(dist_to_polyline(axis, c[1]), 0.2);
    }
  }
}

TEST_F(GreatCircles, StoredCountIsClampedAndKept) {
  Console con;
  const float s = 0.0f, d = 0.5f;
  dspgcbk.np = 1200;
  dspgcfadn(&s, &d, 1);
  EXPECT_EQ(dspgcbk.np, 1000);
  // One polyline of 1000 points (drawn in pieces of 501 that share their joints).
  const Drawn big = drawn();
  ASSERT_EQ(big.paths.size(), 2u);
  EXPECT_EQ(big.paths[0].pts.size() + big.paths[1].pts.size(), 1001u);
  EXPECT_NE(con.text().find("WILL NOT PLOT ALL THE DATA"), std::string::npos);
  con.clear();
  log_->clear();
  dspgcbk.np = 0;
  dspgcfadn(&s, &d, 1);
  EXPECT_EQ(dspgcbk.np, 1);
  EXPECT_NE(con.text().find("ERROR"), std::string::npos);
  // One point: the strike direction on the primitive circle.
  const auto c = user(drawn().paths.at(0).pts);
  ASSERT_FALSE(c.empty());
  for (const auto& p : c) EXPECT_NEAR(dist(p, {0, 1}), 0, 1e-6);
}

TEST_F(GreatCircles, SettingsModes) {
  Console con;
  int np = 40;
  dspgcbk.np = 0;
  sdspgc(np, 1);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(dspgcbk.np, 40);
  dspgcbk.np = 77;
  np = 5;
  sdspgc(np, 3);
  EXPECT_EQ(np, 77);
  EXPECT_EQ(con.text(), "");
  sdspgc(np, 5);
  EXPECT_EQ(np, 40);
  EXPECT_EQ(dspgcbk.np, 40);
  EXPECT_EQ(split_lines(con.text()),
            ex::join({ex::head("sdspgc"), {" INITIALIZING GREAT CIRCLE PARAMETERS"}}));
}

TEST_F(GreatCircles, MenuAtEveryOutputLevel) {
  frame::iocom.lwito(2) = false;
  Console con("10\n0\n1001\n250\n\n");
  int np = 40;
  sdspgc(np, 0);
  EXPECT_EQ(np, 250);
  EXPECT_EQ(dspgcbk.np, 250);
  const ex::Lines menu = ex::join({ex::head("sdspgc"),
                                   {ex::rule('-'), "       GREAT CIRCLES PARAMETERS: ",
                                    ex::rule('-'), " nb of points to draw ..........10     40",
                                    ex::rule('-'), " EXIT ..........................99",
                                    ex::rule('-'), ex::dots(), " Enter your choice",
                                    " or return for default value", " Default =           99"}});
  const auto lines = split_lines(con.text());
  EXPECT_EQ(find_sequence(lines, menu), 0);
  EXPECT_NE(find_sequence(lines, {" nb of points to draw ..........10    250"}), -1);
}

}  // namespace
}  // namespace korbast::focal::test
