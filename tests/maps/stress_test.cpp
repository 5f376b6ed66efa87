// Principal stress directions: the most vertical and most horizontal axis rule and its SHmax
// table, ties, the plunge threshold, the reports of impossible plunges, the listing of
// flagged data (against gfortran), and cross-checks of the whole chain nodal plane -> axes
// -> SHmax against the catalogue's own axes, the World Stress Map regime rule (Zoback 1992)
// and the closed form of Lund & Townend (2007).
#include "maps/stress.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "frame/units.hpp"
#include "projection/axes.hpp"
#include "stress_support.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"
#include "support/tempfile.hpp"

namespace korbast::maps::test {
namespace {

using korbast::testing::Console;
namespace ex = korbast::testing::expected;

constexpr double kPi = 3.14159265358979323846;

class Stress : public korbast::testing::QuietDialogTest {
 protected:

  struct One {
    float sh;
    int isv;
  };
  // One datum with the azimuths 0.5, 1.0, 1.5 radians and plunges in degrees.
  static One one(float p1, float p2, float p3, float thr = 0.0f, float az1 = 0.5f,
                 float az2 = 1.0f, float az3 = 1.5f) {
    const float pl1 = frame::rad(p1), pl2 = frame::rad(p2), pl3 = frame::rad(p3);
    One r{-99.0f, -99};
    siap2sv(&r.sh, &r.isv, {&az1, &pl1, &az2, &pl2, &az3, &pl3}, thr, 1);
    return r;
  }
  static float halfpi() { return frame::anglerad.v[2]; }
};

TEST_F(Stress, ShmaxTableRows) {
  Console con;
  One r = one(10, 20, 70);  // S1 most horizontal
  EXPECT_EQ(r.isv, 3);
  EXPECT_EQ(r.sh, 0.5f);
  r = one(70, 10, 20);  // S2 most horizontal, S1 vertical
  EXPECT_EQ(r.isv, 1);
  EXPECT_EQ(r.sh, 1.0f);
  r = one(20, 10, 70);  // S2 most horizontal, S3 vertical: perpendicular to S2
  EXPECT_EQ(r.isv, 3);
  EXPECT_EQ(r.sh, 1.0f + halfpi());
  r = one(40, 50, 5);  // S3 most horizontal: perpendicular to S3
  EXPECT_EQ(r.isv, 2);
  EXPECT_EQ(r.sh, 1.5f + halfpi());
  EXPECT_EQ(con.text(), "");
}

TEST_F(Stress, TiesKeepTheLowerAxisNumber) {
  One r = one(70, 10, 70);  // S1 and S3 equally steep
  EXPECT_EQ(r.isv, 1);
  EXPECT_EQ(r.sh, 1.0f);
  r = one(80, 5, 5);  // S2 and S3 equally flat: S2 is the most horizontal
  EXPECT_EQ(r.isv, 1);
  EXPECT_EQ(r.sh, 1.0f);
  r = one(30, 30, 30);  // all equal: S1 is both
  EXPECT_EQ(r.isv, 1);
  EXPECT_EQ(r.sh, 0.5f);
}

// Plunges within the angle tolerance (1e-5 rad) of one another are a tie: the lower axis
// number is kept in both scans; a difference above it decides.
TEST_F(Stress, PlungesWithinTheToleranceAreATie) {
  const float near = frame::deg(frame::rad(70.0f) + 0.8e-5f);
  const float far = frame::deg(frame::rad(70.0f) + 1.5e-5f);
  EXPECT_EQ(one(70, 10, near).isv, 1);
  EXPECT_EQ(one(near, 10, 70).isv, 1);
  EXPECT_EQ(one(70, 10, far).isv, 3);
  const float flat = frame::deg(frame::rad(5.0f) - 0.8e-5f);
  One r = one(80, 5, flat);  // S2 and S3 equally flat: S2 is the most horizontal
  EXPECT_EQ(r.sh, 1.0f);
  r = one(80, 5, frame::deg(frame::rad(5.0f) - 1.5e-5f));
  EXPECT_EQ(r.sh, 1.5f + halfpi());
  // The threshold looks at the steepest plunge, not at the kept axis's.
  const float thr = frame::rad(70.0f) + 0.4e-5f;
  EXPECT_EQ(one(70, 10, near, thr).isv, 1);
  EXPECT_EQ(one(70, 10, 70, thr).isv, -1);
}

TEST_F(Stress, NegativePlungesCountByTheirSize) {
  One r = one(-80, 10, 5);
  EXPECT_EQ(r.isv, 1);
  EXPECT_EQ(r.sh, 1.5f + halfpi());
  r = one(20, -75, 30);
  EXPECT_EQ(r.isv, 2);
  EXPECT_EQ(r.sh, 0.5f);
}

TEST_F(Stress, ThresholdFlagsOnlyPlungesBelowIt) {
  const float thr = frame::rad(60.0f);
  EXPECT_EQ(one(59.9f, 10, 20, thr).isv, -1);
  EXPECT_EQ(one(10, 20, 60.0f, thr).isv, 3);  // equal to the threshold: not flagged
  EXPECT_EQ(one(10, -59.9f, 20, thr).isv, -2);
  EXPECT_EQ(one(10, 20, 30, 0.0f).isv, 3);
  EXPECT_EQ(one(10, 20, 30, -1.0f).isv, 3);
  // The flag leaves the azimuth alone.
  EXPECT_EQ(one(59.9f, 10, 20, thr).sh, 1.0f);
}

TEST_F(Stress, AzimuthsComeBackInOnePeriod) {
  const float twopi = frame::anglerad.v[6];
  EXPECT_EQ(one(40, 50, 5, 0.0f, 0.5f, 1.0f, 6.0f).sh, (6.0f + halfpi()) - twopi);
  EXPECT_EQ(one(10, 20, 70, 0.0f, -0.5f).sh, twopi - 0.5f);
  EXPECT_EQ(one(10, 20, 70, 0.0f, -3.1415927f).sh, twopi - 3.1415927f);
}

TEST_F(Stress, SeveralDataInOneCall) {
  const float az1[3] = {0.1f, 0.2f, 0.3f}, az2[3] = {1.1f, 1.2f, 1.3f}, az3[3] = {2.1f, 2.2f, 2.3f};
  float pl1[3], pl2[3], pl3[3];
  const float p[3][3] = {{10, 20, 70}, {70, 10, 20}, {40, 50, 5}};
  for (int i = 0; i < 3; ++i) {
    pl1[i] = frame::rad(p[i][0]);
    pl2[i] = frame::rad(p[i][1]);
    pl3[i] = frame::rad(p[i][2]);
  }
  float sh[3];
  int isv[3];
  siap2sv(sh, isv, {az1, pl1, az2, pl2, az3, pl3}, frame::rad(55.0f), 3);
  EXPECT_EQ(isv[0], 3);
  EXPECT_EQ(isv[1], 1);
  EXPECT_EQ(isv[2], -2);
  EXPECT_EQ(sh[0], 0.1f);
  EXPECT_EQ(sh[1], 1.2f);
  EXPECT_EQ(sh[2], 2.3f + halfpi());
}

TEST_F(Stress, NoDataChangesNothing) {
  float sh = 7.0f;
  int isv = 9;
  const float a = 0.1f;
  for (int n : {0, -1}) siap2sv(&sh, &isv, {&a, &a, &a, &a, &a, &a}, 0.0f, n);
  EXPECT_EQ(sh, 7.0f);
  EXPECT_EQ(isv, 9);
}

TEST_F(Stress, PlungeOutOfRangeIsReportedClampedAndTheRunGoesOn) {
  const float az1 = 0.5f, az2 = 1.0f, az3 = 1.5f;
  const float pl1 = frame::rad(10.0f), pl2 = 2.0f, pl3 = frame::rad(20.0f);
  float sh = 0.0f;
  int isv = 0;
  Console con;
  siap2sv(&sh, &isv, {&az1, &pl1, &az2, &pl2, &az3, &pl3}, 0.0f, 1);
  EXPECT_EQ(pl2, 2.0f);  // the caller's value stays
  EXPECT_EQ(isv, 2);     // used as pi/2 + 1e-5
  EXPECT_EQ(sh, 0.5f);
  const auto lines = text_lines(con.text());
  ex::Lines box = ex::error_head("siap2sv");
  box.insert(box.end(), {" Out of range plunge for", " iSi     =          2",
                         " data nb =          1", ex::rule('*')});
  ASSERT_GE(lines.size(), box.size());
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(box.size()), lines.end()),
            box);
  // The range check's own report comes first, naming the variable and the caller.
  EXPECT_NE(con.text().find("plunge ="), std::string::npos);
  EXPECT_NE(con.text().find("siap2sv"), std::string::npos);
}

// Plunges that are not numbers are reported and reset to 0; no axis is steeper than 0, so
// isv is 0 and the azimuth is still assigned (never left as the caller's array held it).
TEST_F(Stress, PlungesNotANumberGiveIsvZeroAndADefinedAzimuth) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float az1 = 0.5f, az2 = 1.0f, az3 = 1.5f;
  float sh = 99.0f;
  int isv = 7;
  Console con;
  siap2sv(&sh, &isv, {&az1, &nan, &az2, &nan, &az3, &nan}, 0.0f, 1);
  EXPECT_EQ(isv, 0);
  EXPECT_EQ(sh, 0.5f);
  EXPECT_NE(con.text().find("Out of range plunge for"), std::string::npos);
}

// ---- The listing ----

struct PbsvData {
  float sh[3] = {0.7853982f, 0.1f, 6.2831855f};
  int isv[3] = {-3, 2, 0};
  float az1[3] = {-0.92f, 0.2f, -3.1415927f}, pl1[3] = {0.276f, 0.3f, -1.5707964f};
  float az2[3] = {0.6126f, 0.4f, 0.0f}, pl2[3] = {-0.1379f, 0.5f, 0.0f};
  float az3[3] = {1.7331f, 0.6f, 1e-8f}, pl3[3] = {1.2601f, 0.7f, -1e-8f};
};

TEST_F(Stress, ListingOnTheConsoleMatchesGfortran) {
  const auto oracle = file_lines(data_path("maps/pbsv_oracle.out"));
  ASSERT_EQ(oracle.size(), 8u);
  PbsvData d;
  Console con;
  writepbsv(d.sh, d.isv, {d.az1, d.pl1, d.az2, d.pl2, d.az3, d.pl3}, 3, 6);
  EXPECT_EQ(text_lines(con.text()), std::vector<std::string>(oracle.begin(), oracle.begin() + 5));
}

TEST_F(Stress, ListingOnAFileUsesTabsAndNoDashes) {
  const auto oracle = file_lines(data_path("maps/pbsv_oracle.out"));
  ASSERT_EQ(oracle.size(), 8u);
  korbast::testing::TempFile f("", "pbsv_listing.txt");
  ASSERT_TRUE(frame::units::open(21, f.path, frame::units::Status::Replace));
  PbsvData d;
  Console con;
  writepbsv(d.sh, d.isv, {d.az1, d.pl1, d.az2, d.pl2, d.az3, d.pl3}, 3, 21);
  frame::units::close(21);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(file_lines(f.path), std::vector<std::string>(oracle.begin() + 5, oracle.end()));
}

TEST_F(Stress, ListingOfUnflaggedDataIsTheHeadingAlone) {
  const auto oracle = file_lines(data_path("maps/pbsv_oracle.out"));
  ASSERT_EQ(oracle.size(), 8u);
  PbsvData d;
  Console con;
  writepbsv(&d.sh[1], &d.isv[1], {&d.az1[1], &d.pl1[1], &d.az2[1], &d.pl2[1], &d.az3[1],
            &d.pl3[1]}, 1, 6);
  EXPECT_EQ(text_lines(con.text()), std::vector<std::string>(oracle.begin(), oracle.begin() + 3));
  con.clear();
  writepbsv(d.sh, d.isv, {d.az1, d.pl1, d.az2, d.pl2, d.az3, d.pl3}, 0, 6);
  EXPECT_EQ(text_lines(con.text()).size(), 3u);
}

// ---- The chain nodal plane -> axes -> SHmax, against independent methods ----

struct Mechanism {
  float az[3], pl[3];  // radians, S1 = P, S2 = B, S3 = T
  float sh;            // radians
  int isv;
};

Mechanism mechanism(float strike, float dip, float rake) {
  Mechanism m{};
  projection::fsadr2steff(m.az, m.pl, frame::rad(strike), frame::rad(dip), frame::rad(rake),
                          0.0f);
  siap2sv(&m.sh, &m.isv, {&m.az[0], &m.pl[0], &m.az[1], &m.pl[1], &m.az[2], &m.pl[2]}, 0.0f, 1);
  return m;
}

double to_deg(float r) { return static_cast<double>(r) * 180.0 / kPi; }

// A unit vector (North, East, Down) from azimuth and plunge in degrees.
void unit(double az, double pl, double v[3]) {
  const double a = az * kPi / 180.0, p = pl * kPi / 180.0;
  v[0] = std::cos(p) * std::cos(a);
  v[1] = std::cos(p) * std::sin(a);
  v[2] = std::sin(p);
}

double angle_between_lines(double az1, double pl1, double az2, double pl2) {
  double a[3], b[3];
  unit(az1, pl1, a);
  unit(az2, pl2, b);
  const double c = std::fabs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
  return std::acos(std::min(1.0, c)) * 180.0 / kPi;
}

// The catalogue lists its own eigen-axes: both nodal planes must give axes within a few
// degrees of them (the planes are rounded to whole degrees and the tensor is not a pure
// double couple).
TEST_F(Stress, AxesOfTheSampleEventsMatchTheCatalogueAxes) {
  const auto events = sample_events();
  ASSERT_EQ(events.size(), 3u);
  for (const auto& e : events) {
    for (int p = 0; p < 2; ++p) {
      const Mechanism m = mechanism(e.plane[p][0], e.plane[p][1], e.plane[p][2]);
      const float* ref[3] = {e.p_axis, e.n_axis, e.t_axis};
      for (int k = 0; k < 3; ++k) {
        EXPECT_LT(angle_between_lines(to_deg(m.az[k]), to_deg(m.pl[k]), ref[k][1], ref[k][0]), 3.0)
            << e.date << " plane " << p + 1 << " axis " << k + 1;
      }
    }
  }
}

enum class Regime { NF, NS, SS, TS, TF, U };

// The World Stress Map regime rule (Zoback 1992) on absolute plunges (degrees); the SHmax
// azimuth it gives, or none for an unknown regime.
std::optional<double> wsm_shmax(const Mechanism& m, Regime& regime) {
  const double p = std::fabs(to_deg(m.pl[0])), b = std::fabs(to_deg(m.pl[1])),
               t = std::fabs(to_deg(m.pl[2]));
  const double azp = to_deg(m.az[0]), azb = to_deg(m.az[1]), azt = to_deg(m.az[2]);
  if (p >= 52 && t <= 35) { regime = Regime::NF; return azb; }
  if (p >= 40 && p < 52 && t <= 20) { regime = Regime::NS; return azt + 90; }
  if (p < 40 && b >= 45 && t <= 20) { regime = Regime::SS; return azt + 90; }
  if (p <= 20 && b >= 45 && t < 40) { regime = Regime::SS; return azp; }
  if (p <= 20 && t >= 40 && t < 52) { regime = Regime::TS; return azp; }
  if (p <= 35 && t >= 52) { regime = Regime::TF; return azp; }
  regime = Regime::U;
  return std::nullopt;
}

// Over a sweep of mechanisms: the most-vertical-axis rule agrees with the World Stress Map
// wherever that defines a regime: exactly for the oblique classes NS and TS, within 14
// degrees elsewhere (a swapped axis, a sign or a quadrant error would give 45 to 90).
TEST_F(Stress, ShmaxAgreesWithTheWorldStressMapRule) {
  int defined = 0;
  double worst = 0.0;
  auto check = [&](float s, float d, float r) {
    const Mechanism m = mechanism(s, d, r);
    ASSERT_GE(m.isv, 1);
    ASSERT_LE(m.isv, 3);
    ASSERT_GE(m.sh, 0.0f);
    ASSERT_LE(m.sh, frame::anglerad.v[6]);
    Regime regime = Regime::U;
    const auto w = wsm_shmax(m, regime);
    if (!w) return;
    ++defined;
    const double diff = line_difference_deg(to_deg(m.sh), *w);
    worst = std::max(worst, diff);
    if (regime == Regime::NS || regime == Regime::TS) {
      EXPECT_LT(diff, 1e-3) << s << " " << d << " " << r;
    } else {
      EXPECT_LE(diff, 14.0) << s << " " << d << " " << r;
    }
  };
  for (int s = 0; s < 360; s += 15)
    for (int d = 5; d <= 90; d += 5)
      for (int r = -180; r < 180; r += 5)
        check(static_cast<float>(s), static_cast<float>(d), static_cast<float>(r));
  for (const auto& e : sample_events())
    for (int p = 0; p < 2; ++p) check(e.plane[p][0], e.plane[p][1], e.plane[p][2]);
  EXPECT_GT(defined, 20000);
  EXPECT_GT(worst, 1.0);  // the two rules do differ off the pure classes
}

// Lund & Townend (2007): SHmax from the directions of S1 and S2 and the stress ratio R.
double lund_townend(const double s1[3], const double s2[3], double ratio) {
  const double k = 1.0 - ratio;
  const double y = 2.0 * (s1[0] * s1[1] + k * s2[0] * s2[1]);
  const double x = s1[0] * s1[0] - s1[1] * s1[1] + k * (s2[0] * s2[0] - s2[1] * s2[1]);
  return 0.5 * std::atan2(y, x) * 180.0 / kPi;
}

// The P and B axes of a plane from the Aki & Richards normal n and slip u (double precision):
// P along n - u, B along n x u.
void aki_richards_pb(double strike, double dip, double rake, double p[3], double b[3]) {
  const double s = strike * kPi / 180.0, d = dip * kPi / 180.0, r = rake * kPi / 180.0;
  const double n[3] = {-std::sin(d) * std::sin(s), std::sin(d) * std::cos(s), -std::cos(d)};
  const double u[3] = {std::cos(r) * std::cos(s) + std::sin(r) * std::cos(d) * std::sin(s),
                       std::cos(r) * std::sin(s) - std::sin(r) * std::cos(d) * std::cos(s),
                       -std::sin(r) * std::sin(d)};
  for (int k = 0; k < 3; ++k) p[k] = (n[k] - u[k]) / std::sqrt(2.0);
  b[0] = n[1] * u[2] - n[2] * u[1];
  b[1] = n[2] * u[0] - n[0] * u[2];
  b[2] = n[0] * u[1] - n[1] * u[0];
}

// With one axis vertical (pure thrust, pure normal, vertical strike-slip) the rule gives the
// exact direction, whatever the stress ratio.
TEST_F(Stress, ShmaxIsExactForPureMechanisms) {
  const float kinds[][2] = {{45, 90}, {45, -90}, {90, 0}, {90, 180}};
  for (const auto& k : kinds) {
    for (int s = 0; s < 360; s += 15) {
      const Mechanism m = mechanism(static_cast<float>(s), k[0], k[1]);
      double p[3], b[3];
      aki_richards_pb(s, k[0], k[1], p, b);
      for (double ratio : {0.1, 0.25, 0.5, 0.75, 0.9}) {
        EXPECT_LT(line_difference_deg(to_deg(m.sh), lund_townend(p, b, ratio)), 1e-3)
            << s << " " << k[0] << " " << k[1] << " R " << ratio;
      }
    }
  }
}

// Planes whose axes tie in exact arithmetic (dips 0, 45, 90, rakes 0, +-90, +-180, strikes 0
// and 360, and others) against the double-precision oracle, which applies the rule with exact
// ties (tests/data/maps/stress_ties.txt, tests/tools/mapseis_sish_oracle.py --degenerate):
// Sv equal, SHmax equal modulo 180 to the decimal shown. One mechanism written two ways
// (rake 180 and -180, strike 0 and 360) gives one answer.
TEST_F(Stress, DegeneratePlanesMatchTheExactRule) {
  const auto rows = file_lines(data_path("maps/stress_ties.txt"));
  ASSERT_EQ(rows.size(), 316u);
  int checked = 0;
  for (const auto& l : rows) {
    if (l.empty() || l[0] == '#') continue;
    float s = 0, d = 0, r = 0, sh = 0;
    int isv = 0;
    ASSERT_EQ(std::sscanf(l.c_str(), "%f %f %f %d %f", &s, &d, &r, &isv, &sh), 5) << l;
    const Mechanism m = mechanism(s, d, r);
    EXPECT_EQ(m.isv, isv) << l;
    EXPECT_LE(line_difference_deg(to_deg(m.sh), sh), 0.0501) << l;
    ++checked;
  }
  EXPECT_EQ(checked, 315);
  // The pairs of the report.
  const float pairs[][2] = {{0, 45}, {30, 60}, {200, 30}, {315, 45}, {0, 90}, {90, 0}};
  for (const auto& p : pairs) {
    const Mechanism a = mechanism(p[0], p[1], 180.0f), b = mechanism(p[0], p[1], -180.0f);
    EXPECT_EQ(a.isv, b.isv) << p[0] << "/" << p[1];
    EXPECT_LT(line_difference_deg(to_deg(a.sh), to_deg(b.sh)), 1e-3) << p[0] << "/" << p[1];
  }
}

}  // namespace
}  // namespace korbast::maps::test
