// The record step: derived quality values, the position, polygon and rake tests and the
// quality limits, on records put straight into the store.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "catalogue/derived.hpp"
#include "catalogue/gcmtblk.hpp"
#include "catalogue/seistest.hpp"
#include "catalogue_support.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::catalogue;
using cattest::CatalogueTest;

Gcmtblk& g = gcmtblk;
Seistest2& c = seistest2;

// A double-couple record at (long, lat) with well-defined derived values.
void put_record(int k, float rlong, float rlat, float depth = 10.0f, float rake1 = 0.0f,
                float rake2 = 0.0f) {
  const int i = k - 1;
  g.rlong[i] = rlong;
  g.rlat[i] = rlat;
  g.depth[i] = depth;
  g.rakd0[0][i] = rake1;
  g.rakd0[1][i] = rake2;
  g.tmval[0][i] = 1.0f;
  g.tmval[1][i] = 0.0f;
  g.tmval[2][i] = -1.0f;
  for (int j = 0; j < 6; ++j) {
    g.tmomt[i][j] = j == 0 ? 1.0f : (j == 1 ? -1.0f : 0.0f);
    g.tmomte[i][j] = 0.01f;
  }
}

// record_step with the warnings' pauses answered.
bool step(int k, std::string* out = nullptr) {
  korbast::testing::Console console("\n\n\n\n");
  const bool keep = record_step(k);
  if (out) *out = console.text();
  return keep;
}

class Derived : public CatalogueTest {};

TEST_F(Derived, ClvdRatioOfTheWorkedExample) {
  float m = 0.0f;
  bool defined = false;
  EXPECT_EQ(clvd_ratio(1.0f, -0.2f, -0.8f, m, defined), 0.2f);
  EXPECT_TRUE(defined);
  EXPECT_EQ(m, 1.0f);
  // The larger of |T| and |P| is the divisor, whichever it is.
  EXPECT_EQ(clvd_ratio(0.5f, 0.5f, -1.0f, m, defined), -0.5f);
  EXPECT_EQ(clvd_ratio(0.0f, 0.0f, 0.0f, m, defined), 10.0f);
  EXPECT_FALSE(defined);
}

TEST_F(Derived, RelativeMomentErrorWeighsOffDiagonalTwice) {
  float n = 0.0f, d = 0.0f;
  bool defined = false;
  const float t1[6] = {1, -1, 0, 0, 0, 0};
  const float e1[6] = {0.1f, 0.1f, 0, 0, 0, 0};
  EXPECT_FLOAT_EQ(relative_moment_error(t1, e1, n, d, defined), 0.1f);
  EXPECT_EQ(n, 2.0f);
  EXPECT_FLOAT_EQ(d, 0.02f);
  const float t2[6] = {0, 0, 0, 1, 0, 0};
  const float e2[6] = {0, 0, 0, 0.1f, 0, 0};
  EXPECT_FLOAT_EQ(relative_moment_error(t2, e2, n, d, defined), 0.1f);
  EXPECT_EQ(n, 2.0f);
  EXPECT_FLOAT_EQ(d, 0.02f);
  // A component and its error are not swapped: error on component 1 only.
  const float t3[6] = {3, 0, 0, 0, 0, 2};   // N = 9 + 8 = 17
  const float e3[6] = {0, 0, 0, 0, 0, 0.5f}; // D = 0.5
  EXPECT_FLOAT_EQ(relative_moment_error(t3, e3, n, d, defined), 0.171498585f);
  const float zero[6] = {0, 0, 0, 0, 0, 0};
  EXPECT_EQ(relative_moment_error(zero, e1, n, d, defined), 10.0f);
  EXPECT_FALSE(defined);
}

TEST_F(Derived, FreeComponentsCountErrorsFromOneThousandth) {
  const float e[6] = {0.001f, 0.0009f, 0, 0, 0, 0.5f};
  EXPECT_EQ(free_components(e), 2);
  const float all[6] = {0.01f, 0.01f, 0.01f, 0.01f, 0.01f, 0.01f};
  EXPECT_EQ(free_components(all), 6);
}

TEST_F(Derived, FallbackWarningsAndStoredValues) {
  put_record(1, 0, 0);
  for (int a = 0; a < 3; ++a) g.tmval[a][0] = 0.0f;
  for (int j = 0; j < 6; ++j) {
    g.tmomt[0][j] = 0.0f;
    g.tmomte[0][j] = j == 0 ? 0.3f : 0.0f;
  }
  std::string out;
  EXPECT_TRUE(step(1, &out));  // no test on: kept whatever the values
  EXPECT_EQ(g.fclvd[0], 10.0f);
  EXPECT_EQ(g.erelm[0], 10.0f);
  EXPECT_EQ(g.nmfree[0], 1);
  const std::string w = ex::text(ex::warning_head("gcmtreadex1"));
  const std::string pause = " ===> HIT RETURN TO CONTINUE\n";
  const std::string close = ex::rule('/') + "\n";
  EXPECT_EQ(out, w + " Max(|mT|,|mP|) =        0.000\n setting fclvd  =       10.000\n" + pause +
                     close + w + " ||M0||**2  =        0.000\n ||DM0||**2 =        0.090\n" +
                     " Setting ||DM0||/||M0|| =       10.000\n" + pause + close);
}

TEST_F(Derived, GeneralSwitchOffKeepsEverythingAndStillDerives) {
  c.testlat = c.testlong = c.testdepth = c.testpoly = c.testqual = true;
  c.testrake[0] = true;
  c.latmin = 50.0f;
  put_record(1, 0.0f, 0.0f);
  g.tmval[0][0] = 1.0f;
  g.tmval[1][0] = -0.2f;
  g.tmval[2][0] = -0.8f;
  EXPECT_TRUE(step(1));
  EXPECT_EQ(g.fclvd[0], 0.2f);
  EXPECT_EQ(g.nmfree[0], 6);
  // On with every test off: kept as well.
  c = Seistest2{};
  c.testgen = true;
  EXPECT_TRUE(step(1));
}

TEST_F(Derived, BoundsAreInclusive) {
  c.testgen = c.testlat = c.testlong = c.testdepth = true;
  c.latmin = 13.78f;
  c.latmax = 20.0f;
  c.longmin = -88.78f;
  c.longmax = 0.0f;
  c.depthmin = 0.0f;
  c.depthmax = 193.1f;
  put_record(1, -88.78f, 13.78f, 193.1f);
  EXPECT_TRUE(step(1));
  put_record(1, 0.0f, 20.0f, 0.0f);  // on the other three bounds
  EXPECT_TRUE(step(1));
  put_record(1, -88.78f, 13.77f, 193.1f);
  EXPECT_FALSE(step(1));
  put_record(1, -88.79f, 13.78f, 193.1f);
  EXPECT_FALSE(step(1));
  put_record(1, -88.78f, 13.78f, 193.2f);
  EXPECT_FALSE(step(1));
  // An interval that would span the antimeridian holds nothing: no wrap.
  c.testlat = c.testdepth = false;
  c.longmin = 170.0f;
  c.longmax = -170.0f;
  for (float lon : {175.0f, -175.0f, 0.0f, 180.0f}) {
    put_record(1, lon, 0.0f);
    EXPECT_FALSE(step(1)) << lon;
  }
}

TEST_F(Derived, DerivedValuesNotComputedForRecordsDroppedByPosition) {
  c.testgen = c.testlat = true;
  c.latmin = 10.0f;
  put_record(1, 0.0f, 0.0f);
  g.fclvd[0] = 123.0f;
  EXPECT_FALSE(step(1));
  EXPECT_EQ(g.fclvd[0], 123.0f);
}

void set_polygon(std::initializer_list<std::pair<float, float>> v, bool gc) {
  int k = 0;
  for (auto [lon, lat] : v) {
    c.vrtxlong[k] = lon;
    c.vrtxlat[k] = lat;
    ++k;
  }
  c.nvertex = k;
  c.polygc = gc;
  korbast::testing::Console quiet("\n\n\n\n\n\n\n\n\n\n");
  int ierr = -1;
  spolygontst(ierr, 0);
  EXPECT_EQ(ierr, 0);
}

TEST_F(Derived, CounterClockwiseTriangleKeepsItsInside) {
  c.testgen = c.testpoly = true;
  for (bool gc : {true, false}) {
    set_polygon({{0, 0}, {60, 0}, {0, 60}}, gc);
    EXPECT_TRUE(polygon_test(20.0f, 20.0f)) << gc;
    EXPECT_FALSE(polygon_test(-10.0f, 10.0f)) << gc;
    EXPECT_FALSE(polygon_test(40.0f, 40.0f)) << gc;
    // Points on a side are inside: the equator is a great circle and a straight line.
    EXPECT_TRUE(polygon_test(30.0f, 0.0f)) << gc;
    put_record(1, 20.0f, 20.0f);
    EXPECT_TRUE(step(1));
    put_record(1, -10.0f, 10.0f);
    EXPECT_FALSE(step(1));
  }
}

TEST_F(Derived, DefaultClockwiseTriangleSelectsTheOutside) {
  c.testgen = c.testpoly = true;
  // The defaults, (0, 0), (0, 60), (60, 0), with great-circle sides.
  EXPECT_TRUE(c.polygc);
  EXPECT_FALSE(polygon_test(20.0f, 20.0f));
  EXPECT_TRUE(polygon_test(-160.0f, -20.0f));  // inside the antipodal triangle
  EXPECT_FALSE(polygon_test(-10.0f, 10.0f));
  // Straight sides: nothing at all.
  set_polygon({{0, 0}, {0, 60}, {60, 0}}, false);
  for (auto [lon, lat] : {std::pair{20.0f, 20.0f}, {-160.0f, -20.0f}, {-10.0f, 10.0f}, {100.0f, 80.0f}}) {
    EXPECT_FALSE(polygon_test(lon, lat)) << lon << " " << lat;
  }
}

TEST_F(Derived, NoVertexKeepsEveryRecord) {
  c.testgen = c.testpoly = true;
  c.nvertex = 0;
  EXPECT_TRUE(polygon_test(20.0f, 20.0f));
  EXPECT_TRUE(polygon_test(-170.0f, -80.0f));
}

TEST_F(Derived, StraightSidesCompareLongitudesAsNumbers) {
  c.testgen = c.testpoly = true;
  // A box from longitude 170 to -170 runs westward over longitude 0.
  set_polygon({{170, -10}, {170, 10}, {-170, 10}, {-170, -10}}, false);
  EXPECT_TRUE(polygon_test(0.0f, 0.0f));
  EXPECT_FALSE(polygon_test(179.0f, 0.0f));
}

TEST_F(Derived, RakeIntervalsEitherAndBothPlanes) {
  c.testgen = true;
  c.testrake[0] = true;
  c.rakeint[0][0] = -180.0f;
  c.rakeint[0][1] = -150.0f;
  c.rakeint[1][0] = 150.0f;
  c.rakeint[1][1] = 180.0f;
  c.testrake[1] = true;
  c.rakeboth = true;
  put_record(1, 0, 0, 10, 170.0f, -160.0f);  // the planes in different intervals
  EXPECT_TRUE(step(1));
  put_record(1, 0, 0, 10, 170.0f, 0.0f);
  EXPECT_FALSE(step(1));
  c.rakeboth = false;
  EXPECT_TRUE(step(1));
  // Interval 1 off: intervals 2 and 3 are ignored and no rake test runs.
  c.testrake[0] = false;
  put_record(1, 0, 0, 10, 0.0f, 0.0f);
  EXPECT_TRUE(step(1));

  // Rakes 90 and 0 against [45, 135].
  c.testrake[0] = true;
  c.testrake[1] = false;
  c.rakeint[0][0] = 45.0f;
  c.rakeint[0][1] = 135.0f;
  put_record(1, 0, 0, 10, 90.0f, 0.0f);
  EXPECT_TRUE(step(1));
  c.rakeboth = true;
  EXPECT_FALSE(step(1));
  // Interval bounds are inclusive, and one whose minimum exceeds its maximum holds nothing.
  put_record(1, 0, 0, 10, 45.0f, 135.0f);
  EXPECT_TRUE(step(1));
  c.rakeint[0][0] = 135.0f;
  c.rakeint[0][1] = 45.0f;
  put_record(1, 0, 0, 10, 90.0f, 90.0f);
  EXPECT_FALSE(step(1));
  // Interval 3 alone with interval 1: a rake in 3 passes.
  c.rakeint[0][0] = -10.0f;
  c.rakeint[0][1] = 10.0f;
  c.testrake[2] = true;
  c.rakeint[2][0] = 80.0f;
  c.rakeint[2][1] = 100.0f;
  put_record(1, 0, 0, 10, 0.0f, 90.0f);
  EXPECT_TRUE(step(1));
}

TEST_F(Derived, QualityLimitsPassAtEquality) {
  c.testgen = c.testqual = true;
  put_record(1, 0, 0);
  g.tmval[0][0] = 1.0f;
  g.tmval[1][0] = -0.2f;
  g.tmval[2][0] = -0.8f;  // fclvd = 0.2
  c.fclvdmax = 0.2f;
  EXPECT_TRUE(step(1));
  c.fclvdmax = 0.19999999f;
  EXPECT_FALSE(step(1));
  c.fclvdmax = 0.2f;
  // The limit bounds the magnitude: a negative ratio beyond it drops the record too.
  g.tmval[0][0] = 0.746f;
  g.tmval[1][0] = 0.254f;
  g.tmval[2][0] = -1.0f;  // fclvd = -0.254
  EXPECT_FALSE(step(1));
  EXPECT_EQ(g.fclvd[0], -0.254f);
  put_record(1, 0, 0);  // fclvd 0 again

  // erelm of components (1, -1, 0, 0, 0, 0) with errors 0.1 on the first two.
  for (int j = 0; j < 6; ++j) g.tmomte[0][j] = j < 2 ? 0.1f : 0.001f;
  ASSERT_TRUE(step(1));
  const float e = g.erelm[0];
  c.erelmax = e;
  EXPECT_TRUE(step(1));
  c.erelmax = std::nextafter(e, 0.0f);
  EXPECT_FALSE(step(1));
  c.erelmax = 0.15f;

  // nmfree: the default minimum 6 drops a record with one error below 0.001.
  g.tmomte[0][5] = 0.0009f;
  EXPECT_FALSE(step(1));
  EXPECT_EQ(g.nmfree[0], 5);
  c.nfreemin = 5;
  EXPECT_TRUE(step(1));

  // A fallback value of 10 fails unless the limit is 10 or more.
  for (int a = 0; a < 3; ++a) g.tmval[a][0] = 0.0f;
  EXPECT_FALSE(step(1));
  c.fclvdmax = 10.0f;
  EXPECT_TRUE(step(1));
}

TEST_F(Derived, CriteriaDefaultsAndBounds) {
  EXPECT_EQ(c.nfreemin, 6);
  EXPECT_EQ(c.nvertex, 3);
  EXPECT_EQ(c.fclvdmax, 0.2f);
  EXPECT_EQ(c.erelmax, 0.15f);
  EXPECT_FALSE(c.testgen || c.testlat || c.testlong || c.testdepth || c.testpoly || c.testqual ||
               c.rakeboth || c.testrake[0] || c.testrake[1] || c.testrake[2]);
  EXPECT_TRUE(c.polygc);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(c.rakeint[i][0], -180.0f);
    EXPECT_EQ(c.rakeint[i][1], 180.0f);
  }
  float a, b, d1, d2, e1, e2;
  gscseistest(a, b, d1, d2, e1, e2);
  EXPECT_EQ(a, -90.0f);
  EXPECT_EQ(b, 90.0f);
  EXPECT_EQ(d1, -180.0f);
  EXPECT_EQ(d2, 180.0f);
  EXPECT_EQ(e1, 0.0f);
  EXPECT_EQ(e2, 50.0f);
  // The default triangle's normals are those of unit vectors (0,0), (0,60), (60,0).
  EXPECT_FLOAT_EQ(c.vrtx1[1][2], 0.866025388f);
  EXPECT_FLOAT_EQ(c.vnrm1[0][1], -0.866025388f);
}

}  // namespace
