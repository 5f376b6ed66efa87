// Nodal plane to P, B and T axes: the worked examples with their signs, a property test
// against the Aki and Richards formulas, and the axes of published Global CMT records.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "projection/axes.hpp"

namespace korbast::projection {
namespace {

using Vec = std::array<double, 3>;

constexpr double kDeg = 180.0 / 3.14159265358979323846;

Vec axis_vector(float az, float pl) {  // North, East, Down
  return {std::cos(pl) * std::cos(az), std::cos(pl) * std::sin(az), std::sin(pl)};
}
double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec scaled(const Vec& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
Vec sum(const Vec& a, const Vec& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
// Angle in degrees between two lines.
double line_angle(const Vec& a, const Vec& b) {
  const double c = std::fabs(dot(a, b)) / std::sqrt(dot(a, a) * dot(b, b));
  return std::acos(std::min(1.0, c)) * kDeg;
}
// Angle in degrees between two directions.
double direction_angle(const Vec& a, const Vec& b) {
  const double c = dot(a, b) / std::sqrt(dot(a, a) * dot(b, b));
  return std::acos(std::max(-1.0, std::min(1.0, c))) * kDeg;
}

struct Axes {
  float az[3];
  float pl[3];
};
Axes axes_deg(float strike, float dip, float rake) {
  Axes a{};
  fsadr2steff(a.az, a.pl, frame::rad(strike), frame::rad(dip), frame::rad(rake), 0.0f);
  return a;
}

// Fault normal (into the hanging wall) and slip vector, Aki and Richards box 4.4, x N, y E,
// z Down.
void aki_richards(double strike, double dip, double rake, Vec& n, Vec& d) {
  const double fs = strike, dl = dip, la = rake;
  n = {-std::sin(dl) * std::sin(fs), std::sin(dl) * std::cos(fs), -std::cos(dl)};
  d = {std::cos(la) * std::cos(fs) + std::cos(dl) * std::sin(la) * std::sin(fs),
       std::cos(la) * std::sin(fs) - std::cos(dl) * std::sin(la) * std::cos(fs),
       -std::sin(la) * std::sin(dl)};
}

// ---- The worked examples, with their signs (the Si-Sh file and the beach-ball symbols
// print and test them as they come). Azimuths and plunges in degrees; the azimuth of a
// vertical axis has no meaning and is not compared.
constexpr double kTol = 0.05;

TEST(Fsadr2steff, ThrustFault) {
  const Axes a = axes_deg(0, 45, 90);
  EXPECT_NEAR(a.az[0] * kDeg, -90.0, kTol);  // P horizontal, east-west
  EXPECT_NEAR(a.pl[0] * kDeg, 0.0, kTol);
  EXPECT_NEAR(a.az[1] * kDeg, 0.0, kTol);  // B horizontal, along strike
  EXPECT_NEAR(a.pl[1] * kDeg, 0.0, kTol);
  EXPECT_NEAR(a.pl[2] * kDeg, 90.0, kTol);  // T vertical
}

TEST(Fsadr2steff, NormalFault) {
  const Axes a = axes_deg(0, 45, -90);
  EXPECT_NEAR(a.pl[0] * kDeg, 90.0, kTol);  // P vertical
  // B is the negative x axis: its east component is a rounding residue of either sign, so
  // the azimuth comes out as 180 or as -180, the same line and the same direction.
  EXPECT_NEAR(std::fabs(a.az[1]) * kDeg, 180.0, kTol);
  EXPECT_NEAR(a.pl[1] * kDeg, 0.0, kTol);
  EXPECT_NEAR(a.az[2] * kDeg, -90.0, kTol);
  EXPECT_NEAR(a.pl[2] * kDeg, 0.0, kTol);
}

TEST(Fsadr2steff, VerticalStrikeSlip) {
  const Axes a = axes_deg(0, 90, 0);
  EXPECT_NEAR(a.az[0] * kDeg, -45.0, kTol);
  EXPECT_NEAR(a.pl[0] * kDeg, 0.0, kTol);
  EXPECT_NEAR(std::fabs(a.pl[1]) * kDeg, 90.0, kTol);  // B vertical
  EXPECT_NEAR(a.az[2] * kDeg, -135.0, kTol);
  EXPECT_NEAR(a.pl[2] * kDeg, 0.0, kTol);
}

TEST(Fsadr2steff, ObliqueSlipWithAnUpwardP) {
  const Axes a = axes_deg(30, 60, 45);
  EXPECT_NEAR(a.az[0] * kDeg, -29.9, 0.06);
  EXPECT_NEAR(a.pl[0] * kDeg, -4.6, 0.06);  // negative: P points upward
  EXPECT_NEAR(a.az[1] * kDeg, 56.6, 0.06);
  EXPECT_NEAR(a.pl[1] * kDeg, 37.8, 0.06);
  EXPECT_NEAR(a.az[2] * kDeg, -114.1, 0.06);
  EXPECT_NEAR(a.pl[2] * kDeg, 51.9, 0.06);
}

// A friction angle turns axis 1 toward the fault plane by half of it, keeping B.
TEST(Fsadr2steff, FrictionAngleTurnsAxisOneTowardThePlane) {
  const float strike = frame::rad(30), dip = frame::rad(60), rake = frame::rad(45);
  Axes a0{}, a1{};
  fsadr2steff(a0.az, a0.pl, strike, dip, rake, 0.0f);
  fsadr2steff(a1.az, a1.pl, strike, dip, rake, frame::rad(40));
  EXPECT_NEAR(direction_angle(axis_vector(a0.az[0], a0.pl[0]), axis_vector(a1.az[0], a1.pl[0])),
              20.0, 1e-3);
  EXPECT_LT(direction_angle(axis_vector(a0.az[1], a0.pl[1]), axis_vector(a1.az[1], a1.pl[1])),
            1e-3);
}

// ---- Property test over random planes: the three axes against Aki and Richards, as lines
// and as the signed columns (axis 1 = -P, axis 2 = d x n, axis 3 = -T in their terms), and
// the frame orthonormal and right-handed.
TEST(Fsadr2steff, AgreesWithAkiRichardsOverRandomPlanes) {
  std::mt19937 gen(20240521);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  const double pi = 3.14159265358979323846;
  double worst_line = 0, worst_signed = 0, worst_ortho = 0, worst_hand = 0;
  for (int k = 0; k < 5000; ++k) {
    const double strike = 2 * pi * u(gen);
    const double dip = 0.5 * pi * u(gen);
    const double rake = pi * (2 * u(gen) - 1);
    Axes a{};
    fsadr2steff(a.az, a.pl, static_cast<float>(strike), static_cast<float>(dip),
                static_cast<float>(rake), 0.0f);
    Vec n, d;
    aki_richards(static_cast<float>(strike), static_cast<float>(dip), static_cast<float>(rake),
                 n, d);
    const double r = 1 / std::sqrt(2.0);
    const Vec p = scaled(sum(n, scaled(d, -1)), r);
    const Vec t = scaled(sum(n, d), r);
    const Vec b = cross(n, d);
    const Vec e1 = axis_vector(a.az[0], a.pl[0]);
    const Vec e2 = axis_vector(a.az[1], a.pl[1]);
    const Vec e3 = axis_vector(a.az[2], a.pl[2]);
    worst_line = std::max({worst_line, line_angle(e1, p), line_angle(e2, b), line_angle(e3, t)});
    worst_signed = std::max({worst_signed, direction_angle(e1, scaled(p, -1)),
                             direction_angle(e2, cross(d, n)), direction_angle(e3, scaled(t, -1))});
    worst_ortho = std::max({worst_ortho, std::fabs(dot(e1, e2)), std::fabs(dot(e2, e3)),
                            std::fabs(dot(e1, e3))});
    worst_hand = std::max(worst_hand, std::fabs(dot(cross(e1, e2), e3) - 1.0));
    for (int m = 0; m < 3; ++m) {
      ASSERT_LE(std::fabs(a.pl[m]), frame::anglerad.v[2]) << "plunge out of range";
      ASSERT_LE(std::fabs(a.az[m]), frame::anglerad.v[4]) << "azimuth out of range";
    }
  }
  EXPECT_LT(worst_line, 0.05);
  EXPECT_LT(worst_signed, 0.05);
  EXPECT_LT(worst_ortho, 1e-3);
  EXPECT_LT(worst_hand, 1e-3);
}

// ---- Published records: both best-double-couple planes of each Global CMT record give the
// record's own T, N and P axes (integer degrees) within 2 degrees.
struct NdkAxes {
  double t_pl, t_az, n_pl, n_az, p_pl, p_az;
  double plane[2][3];
};

std::vector<NdkAxes> read_ndk(const std::string& path) {
  std::vector<NdkAxes> out;
  std::ifstream in(path);
  std::string line;
  int k = 0;
  while (std::getline(in, line)) {
    if (++k % 5 != 0) continue;  // the fifth line of each record
    std::istringstream s(line);
    std::string version;
    double tval, nval, pval, m0;
    NdkAxes r{};
    s >> version >> tval >> r.t_pl >> r.t_az >> nval >> r.n_pl >> r.n_az >> pval >> r.p_pl >>
        r.p_az >> m0;
    for (auto& p : r.plane) s >> p[0] >> p[1] >> p[2];
    if (s) out.push_back(r);
  }
  return out;
}

TEST(Fsadr2steff, MatchesTheAxesOfGlobalCmtRecords) {
  const auto records = read_ndk(std::string(KORBAST_TEST_DATA) + "/gcmt-samples.ndk");
  ASSERT_EQ(records.size(), 3u);
  for (const NdkAxes& r : records) {
    const Vec tr = axis_vector(static_cast<float>(r.t_az / kDeg), static_cast<float>(r.t_pl / kDeg));
    const Vec nr = axis_vector(static_cast<float>(r.n_az / kDeg), static_cast<float>(r.n_pl / kDeg));
    const Vec pr = axis_vector(static_cast<float>(r.p_az / kDeg), static_cast<float>(r.p_pl / kDeg));
    for (const auto& p : r.plane) {
      const Axes a = axes_deg(static_cast<float>(p[0]), static_cast<float>(p[1]),
                              static_cast<float>(p[2]));
      EXPECT_LT(line_angle(axis_vector(a.az[0], a.pl[0]), pr), 2.0) << "P of " << p[0];
      EXPECT_LT(line_angle(axis_vector(a.az[1], a.pl[1]), nr), 2.0) << "B of " << p[0];
      EXPECT_LT(line_angle(axis_vector(a.az[2], a.pl[2]), tr), 2.0) << "T of " << p[0];
    }
  }
}

// ---- The pieces.
TEST(Xy2t, QuadrantsAndAxes) {
  const float x[8] = {-1, 0, 0, 1, 0, -1, -1, 1};
  const float y[8] = {0, -1, 0, 1, 2, 1, -1, -1};
  const float pi = frame::anglerad.v[4], pi2 = frame::anglerad.v[2], pi4 = frame::anglerad.v[0];
  const float expect[8] = {pi, -pi2, pi2, pi4, pi2, 3 * pi4, -3 * pi4, -pi4};
  float t[8];
  xy2t(t, x, y, 8);
  for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(t[i], expect[i]) << i;
  // Negative zeros: x = -0 is the axis (y >= 0 gives pi/2), y = -0 counts as >= 0.
  const float xn = -0.0f, yn = -0.0f, xm = -1.0f;
  xy2t(t, &xn, &yn, 1);
  EXPECT_EQ(t[0], pi2);
  xy2t(t, &xm, &yn, 1);
  EXPECT_EQ(t[0], pi);
}

TEST(Rotations, MatrixLayoutByColumns) {
  float r[9];
  const float a = 0.3f, c = std::cos(a), s = std::sin(a);
  xrot(r, a);
  const float ex[9] = {1, 0, 0, 0, c, s, 0, -s, c};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(r[k], ex[k]);
  yrot(r, a);
  const float ey[9] = {c, 0, -s, 0, 1, 0, s, 0, c};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(r[k], ey[k]);
  zrot(r, a);
  const float ez[9] = {c, s, 0, -s, c, 0, 0, 0, 1};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(r[k], ez[k]);
}

TEST(M33x33, ProductAndAliasing) {
  const float b[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};   // by columns
  const float c[9] = {2, 0, 1, -1, 3, 0, 0, 1, 1};
  float a[9];
  m33x33(a, b, c);
  // column 1 of b*c = 2*b1 + 0*b2 + 1*b3 = (9, 12, 15)
  const float expect[9] = {9, 12, 15, 11, 13, 15, 11, 13, 15};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(a[k], expect[k]) << k;
  float bb[9], cc[9];
  std::copy(b, b + 9, bb);
  std::copy(c, c + 9, cc);
  m33x33(bb, bb, c);
  m33x33(cc, b, cc);
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(bb[k], expect[k]);
    EXPECT_EQ(cc[k], expect[k]);
  }
}

}  // namespace
}  // namespace korbast::projection
