// The dispatcher: every code through `projlln`, in place and with separate arrays, counts of
// zero, and an unknown code.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/projection.hpp"
#include "projection/projection_support.hpp"
#include "projection/table.hpp"
#include "support/console.hpp"

namespace korbast::projection {
namespace {

using frame::rad;

// A state in which every code has its constants: the parameters of a regional map.
void set_all_parameters(int code) {
  reset_projection_blocks();
  projtype.iproj = code;
  llpparam.longp1 = rad(12);
  llpparam.longp2 = rad(14);
  llpparam.latp1 = rad(38);
  llpparam.latp2 = rad(46);
  llpparam.anglep1 = rad(100);
  set_ellipsoid_radii(6378388.0f, 6356912.0f);
  testing::set_oblique_centre(15, 42);
  const ProjectionEntry* p = find_projection(code);
  if (p != nullptr && p->constants != nullptr) p->constants();
  testing::set_origin(13, 43);
}

const float kLon[] = {2.0f, 8.5f, 12.0f, 13.0f, 15.5f, 19.0f, 24.0f};
const float kLat[] = {35.0f, 39.0f, 41.5f, 43.0f, 44.0f, 47.0f, 50.0f};
constexpr int kN = 7;

class EveryCode : public ::testing::TestWithParam<int> {};

TEST_P(EveryCode, InPlaceEqualsSeparateArrays) {
  set_all_parameters(GetParam());
  float lon[kN], lat[kN], x[kN], y[kN];
  for (int i = 0; i < kN; ++i) {
    lon[i] = rad(kLon[i]);
    lat[i] = rad(kLat[i]);
  }
  projlln(x, y, lon, lat, kN);
  projlln(lon, lat, lon, lat, kN);
  for (int i = 0; i < kN; ++i) {
    EXPECT_TRUE(std::isfinite(x[i]) && std::isfinite(y[i])) << "point " << i;
    EXPECT_EQ(lon[i], x[i]) << "point " << i;
    EXPECT_EQ(lat[i], y[i]) << "point " << i;
  }
}

TEST_P(EveryCode, OriginMapsToZero) {
  set_all_parameters(GetParam());
  float x, y;
  testing::project_deg(13, 43, x, y);
  EXPECT_NEAR(x, 0.0f, 1e-6);
  EXPECT_NEAR(y, 0.0f, 1e-6);
}

TEST_P(EveryCode, CountOfZeroTouchesNothing) {
  set_all_parameters(GetParam());
  float a[2] = {0.1f, 0.2f}, b[2] = {0.3f, 0.4f};
  float x[2] = {-5, -5}, y[2] = {-6, -6};
  projlln(x, y, a, b, 0);
  projlln(x, y, a, b, -3);
  EXPECT_EQ(x[0], -5.0f);
  EXPECT_EQ(y[1], -6.0f);
  EXPECT_EQ(a[0], 0.1f);
}

INSTANTIATE_TEST_SUITE_P(Codes, EveryCode, ::testing::Range(1, kProjections + 1));

// The error frame of projlln, by hand.
std::string unknown_code_frame(const std::string& code_field, bool pause) {
  const std::string rule = " " + std::string(43, '*');
  const std::string empty = " *** " + std::string(35, ' ') + " ***";
  std::string s = rule + "\n" + rule + "\n" + empty + "\n";
  s += " ***        subroutine projlln" + std::string(10, ' ') + " ***\n";
  s += empty + "\n";
  s += " ***                ERROR                ***\n";
  s += empty + "\n" + rule + "\n" + rule + "\n";
  s += " iproj =  " + code_field + "\n";
  s += " NO SUCH PROJECTION AVALAIBLE\n";
  s += " ==> RESET PROJECTION\n";
  if (pause) s += " ===> HIT RETURN TO CONTINUE\n";
  s += rule + "\n";
  return s;
}

// After the error frame the projection and origin of the start-up initialisation are put back
// without any dialog: the forward path prints the frame and nothing else, and asks nothing.
TEST(Projlln, UnknownCodeIsReportedAndReset) {
  reset_projection_blocks();
  const bool saved = frame::iocom.pause;
  frame::iocom.pause = true;
  testing::Console console("\n");  // the frame's pause
  float lon = rad(30), lat = rad(20);
  float x = -1, y = -1;
  projlln(&x, &y, &lon, &lat, 1);
  frame::iocom.pause = saved;
  EXPECT_EQ(console.text(), unknown_code_frame("   0", true));
  // Projected with the code put back: spherical Mercator, origin at 0 E 45 N.
  EXPECT_EQ(projtype.iproj, 15);
  EXPECT_EQ(x, rad(30));
  EXPECT_FLOAT_EQ(y, std::log(std::tan(frame::anglerad.v[0] + rad(20) / 2.0f)) - llorig.yorig);
  EXPECT_NEAR(llorig.yorig, 0.8813736f, 1e-6);
}

TEST(Projlln, CodeAboveTheTable) {
  reset_projection_blocks();
  projtype.iproj = 26;
  const bool saved = frame::iocom.pause;
  frame::iocom.pause = false;
  testing::Console console;
  float lon = 0, lat = 0, x, y;
  projlln(&x, &y, &lon, &lat, 1);
  frame::iocom.pause = saved;
  EXPECT_EQ(console.text(), unknown_code_frame("  26", false));
  EXPECT_EQ(projtype.iproj, 15);
}

}  // namespace
}  // namespace korbast::projection
