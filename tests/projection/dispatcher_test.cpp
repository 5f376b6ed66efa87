// The dispatcher: every code through `projlln`, in place and with separate arrays, counts of
// zero, an unknown code, and each projection routine called by its name.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "projection/azimuthal.hpp"
#include "projection/conic.hpp"
#include "projection/cylindrical.hpp"
#include "projection/ellipsoidal.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/geometry.hpp"
#include "projection/projection.hpp"
#include "projection/projection_support.hpp"
#include "projection/table.hpp"
#include "support/console.hpp"
#include "support/expected_lines.hpp"

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
  const std::string rule = ex::rule('*');
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
  projtype.iproj = testing::kUnknownProjection;
  const bool saved = frame::iocom.pause;
  frame::iocom.pause = false;
  testing::Console console;
  float lon = 0, lat = 0, x, y;
  projlln(&x, &y, &lon, &lat, 1);
  frame::iocom.pause = saved;
  EXPECT_EQ(console.text(),
            unknown_code_frame(testing::code_field(testing::kUnknownProjection), false));
  EXPECT_EQ(projtype.iproj, 15);
}

// Each projection routine called by its name gives what projlln gives for its code: the
// routines with arguments beyond the five take them from the blocks here, and the oblique codes
// are the polar routine run on the points lla2llb has turned.
using Xf = float*;
using Cf = const float*;
void inverspsll_b(Xf x, Xf y, Cf lo, Cf la, int n) {
  inverspsll(x, y, lo, la, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
}
void orthogpsll_b(Xf x, Xf y, Cf lo, Cf la, int n) {
  orthogpsll(x, y, lo, la, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
}
void perspvpsll2_b(Xf x, Xf y, Cf lo, Cf la, int n) {
  const PerspectiveConstants& c = derived.perspective;
  perspvpsll2(x, y, lo, la, n, c.cos_half, c.sin_half, llorig.xorig, llorig.yorig);
}
void gnomopsll_b(Xf x, Xf y, Cf lo, Cf la, int n) {
  gnomopsll(x, y, lo, la, n, llorig.xorig, llorig.yorig);
}
template <Forward kPolar>
void oblique(Xf x, Xf y, Cf lo, Cf la, int n) {
  lla2llb(x, y, lo, la, n);
  kPolar(x, y, x, y, n);
}

TEST(Projlln, EachRoutineByItsName) {
  struct Row {
    int code;
    const char* name;
    Forward routine;
  };
  const Row rows[] = {
      {1, "tm2", tm2}, {2, "tme2", tme2},
      {3, "lcc2", lcc2}, {4, "lcce2", lcce2},
      {5, "lazea2", lazea2}, {6, "lazea2", oblique<lazea2>},
      {7, "inverspsll", inverspsll_b}, {8, "inverspsll", oblique<inverspsll_b>},
      {9, "orthogpsll", orthogpsll_b}, {10, "orthobl2", orthobl2},
      {11, "perspvpsll2", perspvpsll2_b}, {12, "persobl2", persobl2},
      {13, "polyco2", polyco2}, {14, "imwpoly2", imwpoly2},
      {15, "mersphe2", mersphe2}, {16, "merel2", merel2},
      {17, "gnomopsll", gnomopsll_b}, {18, "gnomopsll", oblique<gnomopsll_b>},
      {19, "albesph2", albesph2}, {20, "bonnesph2", bonnesph2},
      {21, "wernesphe2", wernesphe2}, {22, "sanflamsph2", sanflamsph2},
      {23, "lcnesphe2", lcnesphe2}, {24, "mollw2", mollw2},
      {25, "grinte2", grinte2},
  };
  // Points of the regional map and far from it: the other hemisphere, a pole, past 180 E.
  const float lon_deg[] = {2.0f, 13.0f, 24.0f, -150.0f, 100.0f, 200.0f, 13.0f};
  const float lat_deg[] = {35.0f, 43.0f, 50.0f, -60.0f, 0.0f, 10.0f, 90.0f};
  constexpr int n = 7;
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.name) + " for code " + std::to_string(r.code));
    set_all_parameters(r.code);
    float lon[n], lat[n], xe[n], ye[n], x[n], y[n];
    for (int i = 0; i < n; ++i) {
      lon[i] = rad(lon_deg[i]);
      lat[i] = rad(lat_deg[i]);
    }
    projlln(xe, ye, lon, lat, n);
    r.routine(x, y, lon, lat, n);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(x[i], xe[i]) << "point " << i;
      EXPECT_EQ(y[i], ye[i]) << "point " << i;
    }
  }
}

// The routines of codes 7, 9, 11 and 17 read their constants and offsets from their arguments,
// not from the blocks (which hold other values here). Radii by hand: tan 30 deg (the equator
// clamped at 60 degrees from the centre), sin 120 deg, the perspective's k = cos_half on the
// frame's equator, cot 45 deg.
TEST(Projlln, PolarRoutinesTakeTheirArguments) {
  set_all_parameters(15);
  const float x0 = 0.25f, y0 = -0.5f;
  float x, y;
  float lon = rad(90), lat = 0.0f;
  inverspsll(&x, &y, &lon, &lat, 1, rad(60), x0, y0);
  EXPECT_NEAR(x, 0.5773503f - x0, 1e-6);
  EXPECT_NEAR(y, -y0, 1e-6);
  lon = rad(180);
  lat = rad(-30);
  orthogpsll(&x, &y, &lon, &lat, 1, rad(180), x0, y0);
  EXPECT_NEAR(x, -x0, 1e-6);
  EXPECT_NEAR(y, 0.8660254f - y0, 1e-6);
  lon = rad(90);
  lat = 0.0f;
  perspvpsll2(&x, &y, &lon, &lat, 1, 0.6f, 0.8f, x0, y0);
  EXPECT_NEAR(x, 0.6f - x0, 1e-6);
  EXPECT_NEAR(y, -y0, 1e-6);
  lon = rad(-90);
  lat = rad(45);
  gnomopsll(&x, &y, &lon, &lat, 1, x0, y0);
  EXPECT_NEAR(x, -1.0f - x0, 1e-6);
  EXPECT_NEAR(y, -y0, 1e-6);
}

}  // namespace
}  // namespace korbast::projection
