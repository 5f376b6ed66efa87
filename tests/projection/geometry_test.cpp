// Direction cosines back to longitude and latitude with the normalisation rule and warning,
// the oblique frame change and the oblique-frame matrix set-up.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "geometry/sphere.hpp"
#include "projection/geometry.hpp"
#include "projection/geometry_dialog.hpp"
#include "projection/projection.hpp"
#include "projection/projection_support.hpp"
#include "support/console.hpp"
#include "support/expected_lines.hpp"

namespace korbast::projection {
namespace {

const float& kPi = frame::anglerad.v[4];
const float& kPi2 = frame::anglerad.v[2];

// The warning frame of cc2lln for a vector, by hand: box head, the message lines, box tail.
std::string warning_frame(const std::string& index_final, const std::string& index,
                          const std::string& components, const std::string& norm,
                          bool pause) {
  const std::string rule = ex::rule('/');
  std::string s = rule + "\n";
  s += " ///        subroutine cc2lln" + std::string(11, ' ') + " ///\n";
  s += " ///               WARNING               ///\n";
  s += rule + "\n";
  s += " Expecting unitary V = (Vx,Vy,Vz)\n";
  s += " Loop final   index = " + index_final + "\n";
  s += " Loop current index = " + index + "\n";
  s += components + "\n";
  s += " ||V|| = " + norm + "\n";
  s += " V is not unitary\n";
  s += " ==> Normalizing it to 1\n";
  if (pause) s += " ===> HIT RETURN TO CONTINUE\n";
  s += rule + "\n";
  return s;
}

class GeometryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_projection_blocks();
    saved_pause_ = frame::iocom.pause;
    frame::iocom.pause = false;
  }
  void TearDown() override { frame::iocom.pause = saved_pause_; }
  bool saved_pause_ = true;
};

TEST_F(GeometryTest, Cc2llnLongitudeBranches) {
  testing::Console console;
  struct Row {
    float vx, vy, vz;
    float lon, lat;
  };
  const Row rows[] = {
      {0.0f, 0.0f, 1.0f, 0.0f, kPi2},       // pole: longitude 0
      {-1.0f, 0.0f, 0.0f, kPi, 0.0f},       // negative x axis: +pi
      {-1.0f, -0.0f, 0.0f, kPi, 0.0f},      // also with a negative zero y
      {0.0f, -1.0f, 0.0f, -kPi2, 0.0f},     // vx = 0, vy < 0
      {0.0f, 1.0f, 0.0f, kPi2, 0.0f},       // vx = 0, vy > 0
      {-0.0f, 0.0f, -1.0f, 0.0f, -kPi2},    // south pole, negative zero x
      {1.0f, 0.0f, 0.0f, 0.0f, 0.0f},
  };
  for (const Row& r : rows) {
    float lon = -9, lat = -9;
    cc2lln(&lon, &lat, &r.vx, &r.vy, &r.vz, 1);
    EXPECT_EQ(lon, r.lon) << r.vx << " " << r.vy << " " << r.vz;
    EXPECT_FLOAT_EQ(lat, r.lat);
  }
  // Just below the negative x axis: near -pi, not +pi.
  const float v[3] = {-1.0f, -1e-7f, 0.0f};
  float lon, lat;
  cc2lln(&lon, &lat, &v[0], &v[1], &v[2], 1);
  EXPECT_NEAR(lon, -kPi, 1e-6);
  EXPECT_LT(lon, 0.0f);
  EXPECT_EQ(console.text(), "");
}

TEST_F(GeometryTest, Cc2llnRoundTripInPlace) {
  testing::Console console;
  float a[5] = {-3.0f, -1.0f, 0.0f, 1.5f, 3.1f};
  float b[5] = {-1.4f, 0.2f, 0.7f, -0.3f, 1.2f};
  float c[5];
  const float a0[5] = {-3.0f, -1.0f, 0.0f, 1.5f, 3.1f};
  const float b0[5] = {-1.4f, 0.2f, 0.7f, -0.3f, 1.2f};
  geometry::ll2ccn(a, b, c, a, b, 5);
  cc2lln(a, b, a, b, c, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_NEAR(a[i], a0[i], 2e-6);
    EXPECT_NEAR(b[i], b0[i], 2e-6);
  }
  EXPECT_EQ(console.text(), "");
}

TEST_F(GeometryTest, Cc2llnNormalisationThresholds) {
  testing::Console console;
  float lon, lat;
  // Squared norm 1.00004: used as it is (the latitude is that of the raw z component).
  float k = 1.00002f;
  float vx = 0.6f * k, vy = 0.0f, vz = 0.8f * k;
  cc2lln(&lon, &lat, &vx, &vy, &vz, 1);
  EXPECT_EQ(lat, std::asin(vz));
  EXPECT_EQ(console.text(), "");

  // Squared norm 1.00008, norm 1.00004: normalised without a message.
  k = 1.00004f;
  vx = 0.6f * k;
  vz = 0.8f * k;
  cc2lln(&lon, &lat, &vx, &vy, &vz, 1);
  EXPECT_NEAR(lat, std::asin(0.8), 2e-7);
  EXPECT_GT(std::fabs(lat - std::asin(vz)), 1e-5);
  EXPECT_EQ(console.text(), "");

  // Norm 1.0002: normalised after the warning.
  k = 1.0002f;
  vx = 0.6f * k;
  vz = 0.8f * k;
  cc2lln(&lon, &lat, &vx, &vy, &vz, 1);
  EXPECT_NEAR(lat, std::asin(0.8), 2e-7);
  EXPECT_EQ(lon, 0.0f);
  EXPECT_EQ(console.text(),
            warning_frame("     1", "     1", " Vx =   0.6001 Vy =   0.0000 Vz =   0.8002",
                          "  1.0002", false));
}

TEST_F(GeometryTest, Cc2llnWarningNamesTheLoopIndexAndPauses) {
  frame::iocom.pause = true;
  testing::Console console("\n");
  const float cx[3] = {1.0f, 0.0f, 0.0f};
  const float cy[3] = {0.0f, -2.0f, 0.0f};
  const float cz[3] = {0.0f, 0.0f, 1.0f};
  float lon[3], lat[3];
  cc2lln(lon, lat, cx, cy, cz, 3);
  EXPECT_EQ(console.text(),
            warning_frame("     3", "     2", " Vx =   0.0000 Vy =  -2.0000 Vz =   0.0000",
                          "  2.0000", true));
  EXPECT_FLOAT_EQ(lon[1], -kPi2);
  EXPECT_EQ(lat[1], 0.0f);
}

// A zero vector has no direction: after the warning it gives longitude 0, latitude 0.
TEST_F(GeometryTest, Cc2llnZeroVector) {
  testing::Console console;
  const float zero = 0.0f;
  float lon = -9, lat = -9;
  cc2lln(&lon, &lat, &zero, &zero, &zero, 1);
  EXPECT_EQ(lon, 0.0f);
  EXPECT_EQ(lat, 0.0f);
  EXPECT_EQ(console.text(),
            warning_frame("     1", "     1", " Vx =   0.0000 Vy =   0.0000 Vz =   0.0000",
                          "  0.0000", false));
}

// A unit vector whose z component rounds a hair above 1 still has a latitude.
TEST_F(GeometryTest, Cc2llnZJustAboveOne) {
  const float vx = 0.0f, vy = 0.0f, vz = 1.00002f;
  float lon, lat;
  cc2lln(&lon, &lat, &vx, &vy, &vz, 1);
  EXPECT_EQ(lat, kPi2);
}

TEST_F(GeometryTest, Cca2ccbAppliesAbInPlace) {
  const float m[9] = {1, 2, 3, 4, 5, 6, 7, 8, 10};  // by columns
  for (int k = 0; k < 9; ++k) a2b.ab[k] = m[k];
  float v[3] = {1.0f, -1.0f, 2.0f};
  cca2ccb(v, v);
  EXPECT_EQ(v[0], 1 - 4 + 14);
  EXPECT_EQ(v[1], 2 - 5 + 16);
  EXPECT_EQ(v[2], 3 - 6 + 20);
}

TEST_F(GeometryTest, Lla2llbWithTheIdentity) {
  float id[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  smatab33(id, 1);
  float lon[4] = {0.5f, -2.0f, 4.0f, 3.0f};
  float lat[4] = {0.3f, -1.2f, 0.1f, 0.0f};
  const float expect_lon[4] = {0.5f, -2.0f, 4.0f - 2.0f * kPi, 3.0f};  // folded into (-pi, pi]
  lla2llb(lon, lat, lon, lat, 4);
  EXPECT_NEAR(lon[0], expect_lon[0], 1e-6);
  EXPECT_NEAR(lon[1], expect_lon[1], 1e-6);
  EXPECT_NEAR(lon[2], expect_lon[2], 1e-6);
  EXPECT_NEAR(lon[3], expect_lon[3], 1e-6);
  EXPECT_NEAR(lat[0], 0.3f, 1e-6);
  EXPECT_NEAR(lat[1], -1.2f, 1e-6);
}

TEST_F(GeometryTest, Lla2llbObliqueFrameOfTheDefaultCentre) {
  testing::set_oblique_centre(0.0f, 45.0f);
  const float r = std::sqrt(0.5f);
  const float expect[9] = {r, 0, r, 0, 1, 0, -r, 0, r};  // rows (r,0,-r), (0,1,0), (r,0,r)
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(a2b.ab[k], expect[k], 1e-7);
  // The centre becomes the pole; the north pole lies 45 degrees from it toward -x (north).
  float lon[2] = {0.0f, 0.0f};
  float lat[2] = {frame::rad(45.0f), kPi2};
  float lonb[2], latb[2];
  lla2llb(lonb, latb, lon, lat, 2);
  EXPECT_NEAR(latb[0], kPi2, 1e-3);
  EXPECT_NEAR(latb[1], frame::rad(45.0f), 1e-6);
  EXPECT_NEAR(std::fabs(lonb[1]), kPi, 1e-6);
  // In place gives the same.
  lla2llb(lon, lat, lon, lat, 2);
  EXPECT_EQ(lon[1], lonb[1]);
  EXPECT_EQ(lat[1], latb[1]);
}

TEST_F(GeometryTest, Smatab33Modes) {
  testing::Console console;
  float m[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  smatab33(m, 1);  // the caller's matrix, silently
  for (int k = 0; k < 9; ++k) EXPECT_EQ(a2b.ab[k], static_cast<float>(k + 1));
  EXPECT_EQ(console.text(), "");

  float other[9] = {};
  smatab33(other, 3);  // the stored matrix back, unchanged
  for (int k = 0; k < 9; ++k) EXPECT_EQ(other[k], static_cast<float>(k + 1));
  EXPECT_EQ(console.text(), "");

  smatab33(other, 5);  // the identity, with its initialising lines
  for (int k = 0; k < 9; ++k) EXPECT_EQ(a2b.ab[k], (k % 4 == 0) ? 1.0f : 0.0f);
  EXPECT_EQ(console.text(),
            ex::text(ex::join({ex::head("smatab33"), {" INITIALIZING Ab matrix: Ab = Identity"}})));
}

TEST_F(GeometryTest, Smatab33MenuEditsAnElement) {
  // 5 edits Ab(2,2), 12 is no entry, 99 leaves.
  testing::Console console("5\n0.5\n12\n99\n");
  float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  smatab33(m, 0);
  EXPECT_EQ(a2b.ab[4], 0.5f);
  EXPECT_EQ(m[4], 0.5f);
  const std::string out = console.text();
  EXPECT_NE(out.find(ex::rule('-') + "\n Ab MATRIX SET UP\n"), std::string::npos);
  EXPECT_NE(out.find("\n Ab(1,1).....1    1.000\n Ab(1,2).....2    0.000\n"), std::string::npos);
  EXPECT_NE(out.find("\n Ab(2,2).....5    0.500\n"), std::string::npos);
  EXPECT_NE(out.find("\n Ab(3,3).....9    1.000\n" + ex::rule('-') + "\n UPDATE & EXIT ........99\n"),
            std::string::npos);
  EXPECT_NE(out.find(" UNKNOWN ANSWER !\n ==> BACK TO MENU WITHOUT ACTION\n"), std::string::npos);
}

}  // namespace
}  // namespace korbast::projection
