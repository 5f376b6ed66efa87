// The two-dimensional shape helpers: the unit outlines, the capacity check that never writes
// past the caller's arrays, the affine operations (also in place) and the period reductions.
#include "maps/shapes.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "stress_support.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::test {
namespace {

using korbast::testing::Console;

class Shapes : public korbast::testing::QuietDialogTest {
 protected:
  float twopi() const { return frame::anglerad.v[6]; }
};

TEST_F(Shapes, UnitArrowRunsTipBarbJunctionTailAndBack) {
  float x[7], y[7];
  int n = 0;
  Console con;
  arrow2d(x, y, n, 7);
  ASSERT_EQ(n, 7);
  const float ex[7] = {0.0f, 0.42857143f, 0.35714287f, 1.0f, 1.0f, 0.35714287f, 0.42857143f};
  const float ey[7] = {0.0f,        0.21428572f,  0.071428575f, 0.10714286f,
                       -0.10714286f, -0.071428575f, -0.21428572f};
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(x[k], ex[k]) << k;
    EXPECT_EQ(y[k], ey[k]) << k;
  }
  // The barbs lie behind the junctions; the shaft widens towards the tail.
  EXPECT_GT(x[1], x[2]);
  EXPECT_LT(y[2], y[3]);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Shapes, UnitBarStartsAtLowerLeftAndIsMirrored) {
  float x[4], y[4];
  int n = 0;
  Console con;
  rectangle1(x, y, n, 4);
  ASSERT_EQ(n, 4);
  const float ex[4] = {0.0f, 1.0f, 1.0f, 0.0f};
  const float ey[4] = {-0.10714286f, -0.10714286f, 0.10714286f, 0.10714286f};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(x[k], ex[k]) << k;
    EXPECT_EQ(y[k], ey[k]) << k;
  }
  EXPECT_EQ(con.text(), "");
}

// A capacity below the outline is reported; when the user goes on, only nmax points are
// written and n says so.
TEST_F(Shapes, SmallCapacityIsReportedAndNeverOverrun) {
  std::vector<float> x(8, 99.0f), y(8, 99.0f);
  int n = -1;
  {
    Console con("n\n");
    arrow2d(x.data(), y.data(), n, 5);
    const std::string out = con.text();
    EXPECT_NE(out.find("plot array dimension ="), std::string::npos) << out;
    EXPECT_NE(out.find("arrow2d"), std::string::npos) << out;
  }
  EXPECT_EQ(n, 5);
  EXPECT_EQ(x[4], 1.0f);  // the lower tail corner, point 5
  EXPECT_EQ(y[4], -0.10714286f);
  for (int k = 5; k < 8; ++k) {
    EXPECT_EQ(x[static_cast<std::size_t>(k)], 99.0f) << k;
    EXPECT_EQ(y[static_cast<std::size_t>(k)], 99.0f) << k;
  }

  std::fill(x.begin(), x.end(), 99.0f);
  {
    Console con("n\n");
    rectangle1(x.data(), y.data(), n, 3);
    EXPECT_NE(con.text().find("rectangle1"), std::string::npos);
  }
  EXPECT_EQ(n, 3);
  EXPECT_EQ(x[2], 1.0f);
  EXPECT_EQ(x[3], 99.0f);

  std::fill(x.begin(), x.end(), 99.0f);
  {
    Console con("n\n");
    rectangle1(x.data(), y.data(), n, 0);
  }
  EXPECT_EQ(n, 0);
  EXPECT_EQ(x[0], 99.0f);
}

TEST_F(Shapes, SmallCapacityStopsTheRunByDefault) {
  EXPECT_EXIT(
      {
        korbast::testing::StderrConsole con("\n");
        float x[3];
        float y[3];
        int n = 0;
        arrow2d(x, y, n, 3);
      },
      ::testing::ExitedWithCode(1), "plot array dimension");
}

TEST_F(Shapes, ScalingAndTranslation) {
  const float xi[3] = {1.0f, -2.0f, 0.5f}, yi[3] = {0.0f, 3.0f, -0.25f};
  float xo[3], yo[3];
  homot02d1(xo, yo, xi, yi, 3, 2.0f);
  EXPECT_EQ(std::vector<float>(xo, xo + 3), (std::vector<float>{2.0f, -4.0f, 1.0f}));
  EXPECT_EQ(std::vector<float>(yo, yo + 3), (std::vector<float>{0.0f, 6.0f, -0.5f}));
  transl2d1(xo, yo, xi, yi, 3, 1.0f, -1.0f);
  EXPECT_EQ(std::vector<float>(xo, xo + 3), (std::vector<float>{2.0f, -1.0f, 1.5f}));
  EXPECT_EQ(std::vector<float>(yo, yo + 3), (std::vector<float>{-1.0f, 2.0f, -1.25f}));
}

TEST_F(Shapes, InPlaceGivesTheSameAsSeparateArrays) {
  const std::vector<float> x0 = {0.3f, -1.7f, 2.9f, 0.0f}, y0 = {1.1f, 0.25f, -3.5f, 0.0f};
  std::vector<float> xs(4), ys(4);
  auto check = [&](auto op) {
    std::vector<float> x = x0, y = y0;
    op(xs.data(), ys.data(), x0.data(), y0.data());
    op(x.data(), y.data(), x.data(), y.data());
    EXPECT_EQ(x, xs);
    EXPECT_EQ(y, ys);
  };
  check([](float* xo, float* yo, const float* xi, const float* yi) {
    homot02d1(xo, yo, xi, yi, 4, 1.37f);
  });
  check([](float* xo, float* yo, const float* xi, const float* yi) {
    transl2d1(xo, yo, xi, yi, 4, -0.4f, 2.2f);
  });
  check([](float* xo, float* yo, const float* xi, const float* yi) {
    rot2daff(xo, yo, xi, yi, 4, 0.7f, -1.3f, 0.91f);
  });
}

TEST_F(Shapes, RotationAboutAPoint) {
  const float xi[3] = {1.0f, 3.0f, -2.0f}, yi[3] = {2.0f, 2.0f, 5.0f};
  float xo[3], yo[3];
  // Zero leaves the points exactly where they are.
  rot2daff(xo, yo, xi, yi, 3, 1.0f, 2.0f, 0.0f);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(xo[k], xi[k]);
    EXPECT_EQ(yo[k], yi[k]);
  }
  // Pi mirrors them through the centre.
  rot2daff(xo, yo, xi, yi, 3, 1.0f, 2.0f, frame::anglerad.v[4]);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(xo[k], 2.0f - xi[k], 2e-6f) << k;
    EXPECT_NEAR(yo[k], 4.0f - yi[k], 2e-6f) << k;
  }
  // A quarter turn is counter-clockwise: +x goes to +y.
  rot2daff(xo, yo, xi, yi, 3, 1.0f, 2.0f, frame::anglerad.v[2]);
  EXPECT_NEAR(xo[1], 1.0f, 2e-6f);
  EXPECT_NEAR(yo[1], 4.0f, 2e-6f);
}

TEST_F(Shapes, CountBelowOneDoesNothing) {
  float xo[2] = {5.0f, 6.0f}, yo[2] = {7.0f, 8.0f};
  const float xi[2] = {1.0f, 2.0f}, yi[2] = {3.0f, 4.0f};
  for (int n : {0, -3}) {
    homot02d1(xo, yo, xi, yi, n, 2.0f);
    transl2d1(xo, yo, xi, yi, n, 2.0f, 2.0f);
    rot2daff(xo, yo, xi, yi, n, 0.0f, 0.0f, 1.0f);
    modulr(xo, xi, 1.5f, n);
    na2pin(yo, yi, n);
  }
  EXPECT_EQ(xo[0], 5.0f);
  EXPECT_EQ(xo[1], 6.0f);
  EXPECT_EQ(yo[0], 7.0f);
  EXPECT_EQ(yo[1], 8.0f);
}

TEST_F(Shapes, ModulrWithPeriodTwoPi) {
  const float p = twopi();
  const float in[6] = {7.0f, -1.0f, -p, 0.0f, 3.0f, 13.0f};
  float out[6];
  modulr(out, in, p, 6);
  EXPECT_EQ(out[0], 7.0f - p);
  EXPECT_EQ(out[1], p - 1.0f);
  EXPECT_EQ(out[2], 0.0f);
  EXPECT_EQ(out[3], 0.0f);
  EXPECT_EQ(out[4], 3.0f);
  EXPECT_EQ(out[5], 13.0f - p * 2.0f);
}

TEST_F(Shapes, ModulrOtherPeriodsAndNotANumber) {
  const float in[4] = {360.0f, -90.0f, 725.5f, std::numeric_limits<float>::quiet_NaN()};
  float out[4];
  modulr(out, in, 180.0f, 4);
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_EQ(out[1], 90.0f);
  EXPECT_EQ(out[2], 5.5f);
  EXPECT_TRUE(std::isnan(out[3]));
}

TEST_F(Shapes, Na2pinKeepsAnglesInsideBitForBit) {
  const float p = twopi();
  const float in[4] = {0.0f, 1e-30f, std::nextafter(p, 0.0f), 3.1415927f};
  float out[4];
  na2pin(out, in, 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(std::bit_cast<unsigned>(out[k]), std::bit_cast<unsigned>(in[k]));
}

TEST_F(Shapes, Na2pinReducesOutsideAngles) {
  const float p = twopi();
  float a[5] = {p, -1e-8f, -0.5f, p + 1.0f, -3.0f * p - 0.25f};
  na2pin(a, a, 5);
  EXPECT_EQ(a[0], 0.0f);
  // A tiny negative angle comes back as the single-precision 2 pi itself.
  EXPECT_EQ(a[1], p);
  EXPECT_EQ(a[2], p - 0.5f);
  EXPECT_NEAR(a[3], 1.0f, 1e-6f);
  EXPECT_NEAR(a[4], p - 0.25f, 4e-6f);
  for (float v : a) {
    EXPECT_GE(v, 0.0f);
    EXPECT_LE(v, p);
  }
}

}  // namespace
}  // namespace korbast::maps::test
