// The projection routines one by one: their stated edge cases, the guards at poles, far
// sides and degenerate parameters, and the derived constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "frame/angles.hpp"
#include "projection/azimuthal.hpp"
#include "projection/conic.hpp"
#include "projection/cylindrical.hpp"
#include "projection/ellipsoidal.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/projection.hpp"
#include "projection/projection_support.hpp"

namespace korbast::projection {
namespace {

const float& kPi = frame::anglerad.v[4];
const float& kPi2 = frame::anglerad.v[2];
using frame::rad;

class ProjectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_projection_blocks();
    llpparam.latp1 = rad(30);
    llpparam.latp2 = rad(60);
    llpparam.anglep1 = rad(180);
    set_ellipsoid_radii(6378137.0f, 6356752.5f);
  }
  // One point in degrees with code `code`, no origin offsets unless set.
  XY at(int code, float lon, float lat) {
    projtype.iproj = code;
    XY p{};
    testing::project_deg(lon, lat, p.x, p.y);
    return p;
  }
};

// ---- Cylindrical and pseudo-cylindrical.

TEST_F(ProjectionTest, MercatorDefaultOrigin) {
  projtype.iproj = 15;
  testing::set_origin(0, 45);
  EXPECT_EQ(llorig.xorig, 0.0f);
  EXPECT_NEAR(llorig.yorig, 0.8813736f, 2e-7);
  const XY o = at(15, 0, 45);
  EXPECT_EQ(o.x, 0.0f);
  EXPECT_EQ(o.y, 0.0f);
  const XY e = at(15, 0, 0);
  EXPECT_NEAR(e.y, -0.8813736f, 2e-7);
}

// Latitudes at the poles would give NaN (north: the tangent's argument passes the float pi/2)
// and -infinity (south); within 1e-5 of a pole the latitude is held there instead.
TEST_F(ProjectionTest, MercatorPolesAreFinite) {
  for (int code : {15, 16}) {
    const XY n = at(code, 10, 90);
    const XY s = at(code, 10, -90);
    ASSERT_TRUE(std::isfinite(n.y)) << code;
    ASSERT_TRUE(std::isfinite(s.y)) << code;
    EXPECT_GT(n.y, 10.0f);
    EXPECT_LT(s.y, -10.0f);
    EXPECT_NEAR(n.y, -s.y, 1e-4);
    EXPECT_EQ(n.x, rad(10));
  }
  // Near the pole the ordinate is that of the latitude as given (the plain single-precision
  // formula is 4e-4 off at 89.99 degrees); away from the poles nothing changes.
  const float phi = rad(89.99f);
  const double exact = std::log(std::tan(M_PI / 4 + static_cast<double>(phi) / 2));
  EXPECT_NEAR(at(15, 10, 89.99f).y, exact, 2e-6 * exact);
  const float mid = rad(60.0f);
  EXPECT_EQ(at(15, 10, 60.0f).y, std::log(std::tan(frame::anglerad.v[0] + mid / 2.0f)));
}

TEST_F(ProjectionTest, EllipsoidalMercatorAgainstTheSphere) {
  const XY sph = at(15, 20, 50);
  const XY ell = at(16, 20, 50);
  EXPECT_LT(ell.y, sph.y);
  set_ellipsoid_radii(1.0f, 1.0f);  // e = 0
  const XY round = at(16, 20, 50);
  EXPECT_EQ(round.y, sph.y);
  EXPECT_EQ(round.x, sph.x);
}

TEST_F(ProjectionTest, NoCentralMeridianForSinusoidalAndEqualArea) {
  const XY s0 = at(22, 40, 30);
  const XY c0 = at(23, 40, 30);
  llpparam.longp1 = rad(25);
  const XY s1 = at(22, 40, 30);
  const XY c1 = at(23, 40, 30);
  EXPECT_EQ(s0.x, s1.x);
  EXPECT_EQ(c0.x, c1.x);
  EXPECT_EQ(s0.y, rad(30));
  EXPECT_EQ(c0.y, std::sin(rad(30)));
  // Longitudes are not folded.
  EXPECT_NEAR(at(23, 400, 0).x - at(23, 40, 0).x, 2 * kPi, 1e-5);
}

TEST_F(ProjectionTest, MollweideTableRows) {
  EXPECT_EQ(rmolle[0], 0.0f);
  EXPECT_EQ(rmolle[1], 0.8f);
  EXPECT_EQ(rmolle[10], 7.9f);
  EXPECT_EQ(rmolle[30], 23.8f);
  EXPECT_EQ(rmolle[44], 35.5f);
  EXPECT_EQ(rmolle[45], 36.3f);
  EXPECT_EQ(rmolle[60], 49.7f);
  EXPECT_EQ(rmolle[72], 61.6f);
  EXPECT_EQ(rmolle[80], 71.0f);
  EXPECT_EQ(rmolle[88], 83.5f);
  EXPECT_EQ(rmolle[89], 85.9f);
  EXPECT_EQ(rmolle[90], 90.0f);
  EXPECT_EQ(rmolle[91], 90.0f);
  // Every other row is the auxiliary angle rounded to 0.1 degree.
  for (int k = 0; k <= 90; ++k) {
    if (k == 44 || k == 72) continue;
    const double target = 3.14159265358979323846 * std::sin(k * 3.14159265358979323846 / 180);
    double th = k * 3.14159265358979323846 / 180 * 0.8;
    for (int it = 0; it < 100; ++it) {
      const double f = 2 * th + std::sin(2 * th) - target;
      const double df = 2 + 2 * std::cos(2 * th);
      if (df < 1e-12) break;
      th -= f / df;
    }
    const double deg = (k == 90) ? 90.0 : th * 180 / 3.14159265358979323846;
    EXPECT_NEAR(rmolle[k], std::round(deg * 10) / 10, 1e-4) << "row " << k;
  }
}

TEST_F(ProjectionTest, MollweideLatitudes) {
  llpparam.longp1 = rad(30);
  const XY pole = at(24, 100, 90);
  EXPECT_FLOAT_EQ(pole.y, 1.0f);
  EXPECT_NEAR(pole.x, 0.0f, 1e-6);
  EXPECT_NEAR(at(24, 30, -45).y, std::sin(rad(-36.3f)), 1e-6);
  EXPECT_NEAR(at(24, 30, 44.5f).y, std::sin(rad(35.9f)), 1e-5);
  EXPECT_FLOAT_EQ(at(24, 210, 0).x, 2.0f);       // the equator spans -2..2
  EXPECT_GT(at(24, 240, 0).x, 2.0f);             // beyond: not folded
  EXPECT_FLOAT_EQ(at(24, -60, 0).x, -1.0f);
}

TEST_F(ProjectionTest, VanDerGrintenSnapPolesAndEquator) {
  llpparam.longp1 = rad(-45);
  EXPECT_EQ(at(25, -44.6f, 30).x, 0.0f);  // 0.4 degree off the central meridian: on it
  EXPECT_NE(at(25, -44.4f, 30).x, 0.0f);  // 0.6 degree off: not
  const XY n = at(25, 10, 90);
  const XY s = at(25, 10, -90);
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_FLOAT_EQ(n.y, 1.0f);
  EXPECT_EQ(s.x, 0.0f);
  EXPECT_FLOAT_EQ(s.y, -1.0f);
  EXPECT_FLOAT_EQ(at(25, 135, 0).x, 1.0f);
  EXPECT_FLOAT_EQ(at(25, -225, 0).x, -1.0f);
  // x has the sign of the longitude difference, y that of the latitude.
  const XY ne = at(25, 0, 20), sw = at(25, -90, -20);
  EXPECT_GT(ne.x, 0.0f);
  EXPECT_GT(ne.y, 0.0f);
  EXPECT_FLOAT_EQ(sw.x, -ne.x);
  EXPECT_FLOAT_EQ(sw.y, -ne.y);
}

// Close to the equator the construction keeps its accuracy in single precision.
TEST_F(ProjectionTest, VanDerGrintenNearTheEquator) {
  const XY e = at(25, 90, 0);
  for (float lat : {0.1f, 0.5f, 1.0f}) {
    const XY p = at(25, 90, lat);
    EXPECT_GT(p.y, 0.0f);
    EXPECT_LT(p.y, rad(lat) * 1.01f / kPi * 1.5f) << lat;
    EXPECT_NEAR(p.x, e.x, 1e-4) << lat;
  }
  // The published formula's ordinate at 0.1 degree latitude, 90 degrees east (PROJ's vandg
  // on a sphere of radius 1/pi gives 0.0005556329).
  EXPECT_NEAR(at(25, 90, 0.1f).y, 0.0005556329, 5e-9);
}

TEST_F(ProjectionTest, TransverseMercatorBranches) {
  llpparam.longp1 = rad(20);
  const XY east = at(1, 110, 0);
  const XY west = at(1, -70, 0);
  EXPECT_EQ(east.x, 1e20f);
  EXPECT_EQ(east.y, 0.0f);
  EXPECT_EQ(west.x, -1e20f);
  for (float lon : {-150.0f, 20.0f, 111.0f, 200.0f}) EXPECT_EQ(at(1, lon, 90).y, kPi2) << lon;
  EXPECT_EQ(at(1, 21, -90).y, -kPi2);
  EXPECT_EQ(at(1, 200, -90).y, frame::anglerad.v[5]);
  // Beyond 90 degrees the ordinate goes on past pi/2 instead of folding back.
  EXPECT_NEAR(at(1, 200, -30).y, kPi + kPi / 6, 1e-5);
  EXPECT_NEAR(at(1, 200, 30).y, kPi - kPi / 6, 1e-5);
  EXPECT_EQ(at(1, 110, 40).y, kPi2);  // on the 90-degree meridian
}

// ---- Azimuthal.

TEST_F(ProjectionTest, PolarCentreMapsToTheOrigin) {
  llorig.xorig = 0.25f;
  llorig.yorig = -0.5f;
  for (int code : {5, 7, 9, 17}) {
    const XY p = at(code, 33, 90);
    EXPECT_NEAR(p.x, -0.25f, 1e-6) << code;
    EXPECT_NEAR(p.y, 0.5f, 1e-6) << code;
  }
  llpparam.anglep1 = rad(60);
  spers2();
  const XY p = at(11, 33, 90);
  EXPECT_NEAR(p.x, -0.25f, 1e-6);
  EXPECT_NEAR(p.y, 0.5f, 1e-6);
}

TEST_F(ProjectionTest, PolarRadiiAndAzimuths) {
  const XY lon0 = at(7, 0, 0);
  EXPECT_NEAR(lon0.x, 0.0f, 1e-7);  // longitude 0 points down
  EXPECT_FLOAT_EQ(lon0.y, -1.0f);   // stereographic equator on the unit circle
  const XY lon90 = at(7, 90, 0);
  EXPECT_FLOAT_EQ(lon90.x, 1.0f);
  EXPECT_NEAR(lon90.y, 0.0f, 1e-7);
  EXPECT_NEAR(std::hypot(at(9, 40, -30).x, at(9, 40, -30).y),
              std::hypot(at(9, 40, 30).x, at(9, 40, 30).y), 1e-6);
  EXPECT_FLOAT_EQ(std::hypot(at(17, 120, 45).x, at(17, 120, 45).y), 1.0f);
}

TEST_F(ProjectionTest, ClampAngleOfLambertAzimuthal) {
  llpparam.anglep1 = rad(90);
  for (float lat : {-10.0f, -45.0f, -89.0f}) {
    const XY p = at(5, 70, lat);
    EXPECT_NEAR(std::hypot(p.x, p.y), std::sin(rad(45)), 1e-6) << lat;
    EXPECT_NEAR(std::atan2(p.x, -p.y), rad(70), 1e-5);
  }
  EXPECT_LT(std::hypot(at(5, 70, 10).x, at(5, 70, 10).y), std::sin(rad(45)));
}

// The gnomonic has no image for the frame's equator and the far hemisphere: both go off the
// map (radius 1e20) at their own azimuth instead of being mirrored through the centre.
TEST_F(ProjectionTest, GnomonicFarSideGoesOffTheMap) {
  const XY eq = at(17, 0, 0);
  EXPECT_EQ(eq.y, -1e20f);
  const XY far = at(17, 0, -45);
  EXPECT_EQ(far.y, -1e20f);  // not +1 (the mirror image)
  const XY far90 = at(17, 90, -10);
  EXPECT_EQ(far90.x, 1e20f);
  const XY near = at(17, 0, 45);
  EXPECT_FLOAT_EQ(near.y, -1.0f);
}

TEST_F(ProjectionTest, ObliqueWithTheIdentityEqualsPolar) {
  testing::set_oblique_centre(0, 90);
  const float pts[][2] = {{10, 60}, {-120, 20}, {170, -30}, {45, 5}, {-60, 0}};
  for (const auto& pt : pts) {
    for (const auto& pair : {std::pair{6, 5}, std::pair{8, 7}, std::pair{18, 17}}) {
      const XY o = at(pair.first, pt[0], pt[1]);
      const XY p = at(pair.second, pt[0], pt[1]);
      if (pair.first == 18 && pt[1] <= 0) {
        EXPECT_GE(std::fabs(o.x) + std::fabs(o.y), 1e19f);
        // The polar one 1e20 away, in the direction of the same longitude's near side.
        const XY n = at(17, pt[0], 60);
        EXPECT_NEAR(std::hypot(p.x, p.y), 1e20f, 1e14f) << pt[0];
        EXPECT_GT(p.x * n.x + p.y * n.y, 0.0f) << pt[0];
        continue;
      }
      EXPECT_NEAR(o.x, p.x, 2e-6 * std::max(1.0f, std::fabs(p.x))) << pair.first << " " << pt[0];
      EXPECT_NEAR(o.y, p.y, 2e-6 * std::max(1.0f, std::fabs(p.y))) << pair.first << " " << pt[0];
    }
  }
}

TEST_F(ProjectionTest, OrthographicObliqueKeepsTheFarSide) {
  testing::set_oblique_centre(0, 0);
  const XY near = at(10, 30, 0);
  const XY far = at(10, 150, 0);  // behind the globe: drawn over the near side
  EXPECT_NEAR(near.x, far.x, 1e-6);
  EXPECT_NEAR(near.y, far.y, 1e-6);
}

// With an angle of view of 180 degrees the perspective centre has a zero denominator: the
// point goes off the map instead of becoming NaN or infinite.
TEST_F(ProjectionTest, PerspectiveZeroDenominator) {
  llpparam.anglep1 = rad(180);
  spers2();
  EXPECT_EQ(derived.perspective.sin_half, 1.0f);
  EXPECT_NEAR(derived.perspective.cos_half, 0.0f, 1e-7);
  const XY c = at(11, 0, 90);
  EXPECT_EQ(c.x, 1e20f);
  EXPECT_EQ(c.y, 1e20f);
  testing::set_oblique_centre(20, 30);
  const XY o = at(12, 20, 30);
  EXPECT_TRUE(std::isfinite(o.x) || o.x == 1e20f);
  EXPECT_FALSE(std::isnan(o.x));
  EXPECT_FALSE(std::isnan(o.y));
}

// A point without image is stored as it is: the origin offsets are left off, even when they
// are those of an origin without image.
TEST_F(ProjectionTest, NoImageTakesNoOffsets) {
  llpparam.anglep1 = rad(180);
  spers2();
  llorig.xorig = 1e20f;
  llorig.yorig = -1e20f;
  const XY c = at(11, 0, 90);
  EXPECT_EQ(c.x, 1e20f);
  EXPECT_EQ(c.y, 1e20f);
  const XY p = at(11, 0, 0);
  EXPECT_EQ(p.x, -1e20f);
  EXPECT_EQ(p.y, 1e20f);
}

TEST_F(ProjectionTest, PerspectiveHorizonOnTheUnitCircle) {
  llpparam.anglep1 = rad(60);
  spers2();
  // The horizon of a viewpoint seeing 60 degrees lies 60 degrees from the centre.
  const XY h = at(11, 90, 30);
  EXPECT_NEAR(h.x, 1.0f, 1e-6);
}

// ---- Conic and polyconic.

TEST_F(ProjectionTest, LambertConicSampleConstants) {
  slcc2();
  EXPECT_NEAR(derived.lambert.n, 0.715567f, 2e-6);
  EXPECT_NEAR(derived.lambert.f, 1.793026f, 4e-6);
  slcce2();
  EXPECT_NEAR(derived.lambert.n, 0.715671f, 2e-6);
  EXPECT_NEAR(derived.lambert.f, 1.790074f, 4e-6);
}

TEST_F(ProjectionTest, LambertConicApexAndFarPole) {
  llpparam.longp1 = rad(10);
  slcc2();
  const float f = derived.lambert.f;
  for (float lon : {-100.0f, 10.0f, 77.0f}) {
    const XY p = at(3, lon, 90);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, f);
  }
  const XY s = at(3, 40, -90);  // the far pole: a large finite value, not NaN or infinite
  EXPECT_TRUE(std::isfinite(s.x));
  EXPECT_TRUE(std::isfinite(s.y));
  EXPECT_LT(s.y, -100.0f);
  EXPECT_EQ(at(3, 10, -20).x, 0.0f);  // the central meridian is vertical
  slcce2();
  const XY e = at(4, 40, -90);
  EXPECT_TRUE(std::isfinite(e.y));
  EXPECT_EQ(at(4, 40, 90).y, derived.lambert.f);
}

TEST_F(ProjectionTest, LambertConicSouthernCone) {
  llpparam.latp1 = rad(-20);
  llpparam.latp2 = rad(-50);
  slcc2();
  ASSERT_LT(derived.lambert.n, 0.0f);
  const XY apex = at(3, 30, -90);
  EXPECT_EQ(apex.y, derived.lambert.f);
  const XY far = at(3, 30, 90);
  EXPECT_TRUE(std::isfinite(far.y));
}

// Equal standard parallels: the tangent cone (n = sin of the parallel) instead of 0/0.
TEST_F(ProjectionTest, LambertConicTangentCone) {
  llpparam.latp1 = rad(40);
  llpparam.latp2 = rad(40);
  slcc2();
  EXPECT_FLOAT_EQ(derived.lambert.n, std::sin(rad(40)));
  EXPECT_TRUE(std::isfinite(derived.lambert.f));
  slcce2();
  EXPECT_FLOAT_EQ(derived.lambert.n, std::sin(rad(40)));
  EXPECT_TRUE(std::isfinite(derived.lambert.f));
  // With e = 0 the ellipsoidal conic is the spherical one.
  set_ellipsoid_radii(1.0f, 1.0f);
  llpparam.latp2 = rad(65);
  slcc2();
  const float n3 = derived.lambert.n, f3 = derived.lambert.f;
  const XY s = at(3, 25, 35);
  slcce2();
  EXPECT_NEAR(derived.lambert.n, n3, 1e-6);
  EXPECT_NEAR(derived.lambert.f, f3, 1e-5);
  const XY e = at(4, 25, 35);
  EXPECT_NEAR(e.x, s.x, 1e-5);
  EXPECT_NEAR(e.y, s.y, 1e-5);
}

TEST_F(ProjectionTest, AlbersConstantsAndPole) {
  salbesph2();
  EXPECT_FLOAT_EQ(derived.albers.n, 0.5f);
  EXPECT_NEAR(derived.albers.cos_phi1, 0.8660254f, 1e-6);
  EXPECT_FLOAT_EQ(derived.albers.c, 1.25f);
  const float cy = 2 * std::cos(rad(30));
  for (float lon : {-120.0f, 0.0f, 75.0f}) {
    const XY p = at(19, lon, 90);
    EXPECT_NEAR(std::hypot(p.x, p.y - cy), 1.0f, 1e-6) << lon;
  }
}

// A standard parallel on the equator: Albers takes its limit, the cylindrical equal-area.
TEST_F(ProjectionTest, AlbersOnTheEquator) {
  llpparam.latp1 = 0.0f;
  salbesph2();
  for (float lon : {-150.0f, 0.0f, 60.0f}) {
    const XY a = at(19, lon, 35);
    const XY c = at(23, lon, 35);
    EXPECT_EQ(a.x, c.x);
    EXPECT_EQ(a.y, c.y);
  }
}

TEST_F(ProjectionTest, BonneConstantsAndStandardParallel) {
  sbonnesph2();
  EXPECT_NEAR(derived.bonne.cot_phi1, 1.7321f, 1e-4);
  EXPECT_NEAR(derived.bonne.rho1, 2.2556f, 1e-4);
  const float cot = derived.bonne.cot_phi1;
  for (float lon : {-100.0f, -20.0f, 50.0f}) {
    const XY p = at(20, lon, 30);
    EXPECT_NEAR(std::hypot(p.x, p.y - cot), cot, 1e-5) << lon;
  }
  EXPECT_EQ(at(20, 0, -40).x, 0.0f);  // longitude 0 is the vertical through the centre
}

// A standard parallel on the equator: Bonne becomes the sinusoidal. At the pole the apex
// point is (0, cot of the parallel) instead of 0/0.
TEST_F(ProjectionTest, BonneDegenerateParallels) {
  llpparam.latp1 = 0.0f;
  sbonnesph2();
  for (float lon : {-150.0f, 0.0f, 60.0f}) {
    const XY b = at(20, lon, 35);
    const XY s = at(22, lon, 35);
    EXPECT_EQ(b.x, s.x);
    EXPECT_EQ(b.y, s.y);
  }
  llpparam.latp1 = kPi2;
  sbonnesph2();
  const XY pole = at(20, 40, 90);
  EXPECT_EQ(pole.x, 0.0f);
  EXPECT_EQ(pole.y, derived.bonne.cot_phi1);
  const XY other = at(20, 40, 60);
  EXPECT_TRUE(std::isfinite(other.x));
}

TEST_F(ProjectionTest, WernerPoleAndCentralMeridian) {
  llorig.xorig = 0.125f;
  llorig.yorig = -0.25f;
  const XY pole = at(21, 60, 90);
  EXPECT_EQ(pole.x, -0.125f);
  EXPECT_EQ(pole.y, 0.25f);
  EXPECT_EQ(at(21, 0, -30).x, -0.125f);
}

TEST_F(ProjectionTest, PolyconicEquator) {
  llpparam.longp1 = rad(-100);
  llorig.xorig = 0.5f;
  llorig.yorig = 0.25f;
  const XY p = at(13, -70, 0);
  EXPECT_FLOAT_EQ(p.x, rad(-70) - rad(-100) - 0.5f);
  EXPECT_EQ(p.y, -0.25f);
}

// Near the equator (below 5.7 degrees) against Snyder's formulas in double precision, with
// 1 - cos E written 2 sin^2(E/2): single precision stays within a few units in the last
// place, where 1 - cos E in single precision would lose most digits.
TEST_F(ProjectionTest, PolyconicNearTheEquatorAgainstDoublePrecision) {
  llpparam.longp1 = rad(-100);
  for (const float lat : {0.001f, -0.001f, 0.01f, -0.3f, 1.0f, 3.0f, -5.5f}) {
    for (const float lon : {-100.5f, -99.0f, -70.0f, 0.0f, 79.0f}) {
      const double phi = rad(lat);
      const double dlam = static_cast<double>(rad(lon)) - static_cast<double>(llpparam.longp1);
      const double e = dlam * std::sin(phi);
      const double x = std::sin(e) / std::tan(phi);
      const double y = phi + 2.0 * std::pow(std::sin(e / 2.0), 2) / std::tan(phi);
      const XY p = at(13, lon, lat);
      EXPECT_NEAR(p.x, x, 1e-6 * std::fabs(x)) << lon << " " << lat;
      EXPECT_NEAR(p.y, y, 1e-6 * std::fabs(y)) << lon << " " << lat;
    }
  }
}

// ---- Ellipsoidal.

TEST_F(ProjectionTest, MeridianDistance) {
  float in[4] = {0.0f, rad(45), -rad(45), kPi2};
  float d[4];
  lat2disel(d, in, 4);
  EXPECT_EQ(d[0], 0.0f);
  EXPECT_EQ(d[2], -d[1]);
  EXPECT_NEAR(d[3], ellipsoid.cmer0 * kPi2, 1e-6);
  // GRS80 quarter meridian 10001965.73 m, at 45 degrees 4984944.38 m.
  EXPECT_NEAR(d[3] * 6378137.0, 10001965.73, 3.0);
  EXPECT_NEAR(d[1] * 6378137.0, 4984944.38, 3.0);
  lat2disel(in, in, 4);  // in place
  EXPECT_EQ(in[1], d[1]);
}

TEST_F(ProjectionTest, EllipsoidalTransverseMercatorAxes) {
  llpparam.longp1 = rad(9);
  float m;
  const float phi = rad(48);
  lat2disel(&m, &phi, 1);
  const XY cm = at(2, 9, 48);
  EXPECT_EQ(cm.x, 0.0f);
  EXPECT_EQ(cm.y, m);
  const XY eq = at(2, 12, 0);
  const float a = rad(3), ep2 = ellipsoid.eccp2;
  const float expect = a + (1 + ep2) * a * a * a / 6 + (5 + 14 * ep2) * a * a * a * a * a / 120;
  EXPECT_FLOAT_EQ(eq.x, expect);
  EXPECT_EQ(eq.y, 0.0f);
}

TEST_F(ProjectionTest, ImwSheetEquatorPoleAndOrder) {
  llpparam.longp1 = rad(10);
  llpparam.longp2 = rad(12);
  llpparam.latp1 = rad(40);
  llpparam.latp2 = rad(44);
  simwpoly2();
  const ForimwpolyBlock sorted = forimwpoly;
  EXPECT_EQ(sorted.lat00[0], rad(40));
  EXPECT_EQ(sorted.lat00[1], rad(44));
  const XY a = at(14, 13, 42.5f);
  // The sheet given north first is the same sheet.
  llpparam.latp1 = rad(44);
  llpparam.latp2 = rad(40);
  simwpoly2();
  EXPECT_EQ(forimwpoly.lat00[0], sorted.lat00[0]);
  EXPECT_EQ(forimwpoly.yshift, sorted.yshift);
  EXPECT_EQ(forimwpoly.ylin1, sorted.ylin1);
  const XY b = at(14, 13, 42.5f);
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_GT(at(14, 10, 44).y, at(14, 10, 40).y);  // north up
  // The equator and the pole.
  llorig.xorig = 0.5f;
  llorig.yorig = 0.25f;
  const XY e = at(14, 13, 0);
  EXPECT_FLOAT_EQ(e.x, rad(13) - rad(10) - 0.5f);
  EXPECT_EQ(e.y, -0.25f);
  const XY p = at(14, 30, 90);
  EXPECT_TRUE(std::isfinite(p.x));
  EXPECT_TRUE(std::isfinite(p.y));
}

TEST_F(ProjectionTest, ImwSheetConstantEdges) {
  llpparam.longp1 = rad(-60);
  llpparam.longp2 = rad(-58);
  llpparam.latp1 = 0.0f;
  llpparam.latp2 = rad(89.9999f);
  forimwpoly.r00[0] = 7.0f;  // kept for a parallel exactly on the equator
  simwpoly2();
  EXPECT_EQ(forimwpoly.r00[0], 7.0f);
  EXPECT_EQ(forimwpoly.r00[1], 0.0f);  // within 1e-5 of the pole
  // The true-scale meridian runs from (2 degrees, 0) on the equator to (0, 0) at the pole.
  float m[2];
  lat2disel(m, forimwpoly.lat00, 2);
  EXPECT_NEAR(forimwpoly.xlin0 + forimwpoly.xlin1 * m[0], rad(2), 1e-6);
  EXPECT_NEAR(forimwpoly.xlin0 + forimwpoly.xlin1 * m[1], 0.0f, 1e-6);
  EXPECT_NEAR(forimwpoly.ylin0 + forimwpoly.ylin1 * m[0], 0.0f, 1e-6);
}

TEST_F(ProjectionTest, ImwSheetWideSpanTakesTheRootOfZero) {
  // Two parallels close together and 170 degrees apart in longitude: (x2 - x1)^2 exceeds
  // (M2 - M1)^2 and the root is taken of 0, so the second point lies level with the first.
  llpparam.longp1 = 0.0f;
  llpparam.longp2 = rad(170);
  llpparam.latp1 = rad(10);
  llpparam.latp2 = rad(10.5f);
  simwpoly2();
  float m[2];
  lat2disel(m, forimwpoly.lat00, 2);
  const float y1 = forimwpoly.ylin0 + forimwpoly.ylin1 * m[0];
  const float yc = forimwpoly.ylin0 + forimwpoly.ylin1 * m[1];
  EXPECT_NEAR(yc, y1, 1e-5);
}

// A meridian line level with the parallels has no intersection to keep: the point goes off
// the map instead of dividing by zero.
TEST_F(ProjectionTest, ImwLevelMeridianGoesOffTheMap) {
  projtype.iproj = 14;
  forimwpoly = ForimwpolyBlock{};
  forimwpoly.lat00[0] = rad(40);
  forimwpoly.lat00[1] = rad(44);
  forimwpoly.yshift = 0.0f;  // with r00 = 0 both meridian points lie at y = 0
  const XY p = at(14, 5, 42);
  EXPECT_EQ(p.x, 1e20f);
  EXPECT_EQ(p.y, 1e20f);
}

}  // namespace
}  // namespace korbast::projection
