// The coordinate chain: user-to-cm settings of the subplots, the page scale, the derived
// transforms with the plot window open and closed, the point conversions and the 2x2 helpers,
// checked against products and inverses worked out independently in double precision.
#include "plot/chain.hpp"

#include <cmath>
#include <cstring>

#include "plot_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;

// An independent 2x2 affine map in double precision, rows first: p -> o + M p.
struct Affine {
  double m11, m12, m21, m22, o1, o2;
  void apply(double x, double y, double& ox, double& oy) const {
    ox = o1 + m11 * x + m12 * y;
    oy = o2 + m21 * x + m22 * y;
  }
};

// The stored user-to-cm transform of subplot k, read field by field.
Affine stored_ustocm(int k) {
  const int s = k - 1;
  return {plt1blk.ustocm[s][0][0], plt1blk.ustocm[s][1][0], plt1blk.ustocm[s][0][1],
          plt1blk.ustocm[s][1][1], plt1blk.us0tocm[s][0],   plt1blk.us0tocm[s][1]};
}

class Chain : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    frame::iocom.pause = false;
    plt1blk.isub = 1;
  }

  // The window open with the given page set-up and content rectangle (screen pixels).
  void open_plot(int isetup = 1, int top = 44, int left = 0, int bottom = 944, int right = 700) {
    windevsize.isetup = isetup;
    windevsize.top = top;
    windevsize.left = left;
    windevsize.bottom = bottom;
    windevsize.right = right;
    windevsize.pxpcm = 35.43307f;
    frame::iocom.plot_open = true;
    scm2de();
  }

  // The user point (x, y) in cm through the stored user-to-cm transform of subplot k.
  static void user_to_cm(int k, double x, double y, double& xc, double& yc) {
    stored_ustocm(k).apply(x, y, xc, yc);
  }

  static void set1(float xcm0, float ycm0, float xx, float xy, float yx, float yy, int inter = 1) {
    sus2cm1(xcm0, ycm0, xx, xy, yx, yy, inter);
  }

  static void set3(float xcm0, float ycm0, float xlcm, float ylcm, float xumin, float xumax,
                   float yumin, float yumax, int ixy, int inter = 1) {
    sus2cm3(xcm0, ycm0, xlcm, ylcm, xumin, xumax, yumin, yumax, ixy, inter);
  }
};

// ---- User to centimetres ----

TEST_F(Chain, DefaultsOfTheOriginAndMatrixForm) {
  Console con;
  float v[6] = {};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 5);
  EXPECT_EQ(std::vector<float>(v, v + 6), (std::vector<float>{10, 10, 1, 0, 0, 1}));
  double xc = 0, yc = 0;
  user_to_cm(1, 0, 0, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 10.0);
  EXPECT_DOUBLE_EQ(yc, 10.0);
  user_to_cm(1, 1, 2, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 11.0);
  EXPECT_DOUBLE_EQ(yc, 12.0);
  EXPECT_EQ(con.text(), "");  // mode 5 asks nothing
}

TEST_F(Chain, DefaultsOfTheBoxForm) {
  Console con;
  float v[8] = {};
  int ixy = 0;
  sus2cm3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], ixy, 5);
  EXPECT_EQ(std::vector<float>(v, v + 8), (std::vector<float>{2, 2, 15, 15, -10, 10, -10, 10}));
  EXPECT_EQ(ixy, 1);
  double xc = 0, yc = 0;
  user_to_cm(1, -10, -10, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 2.0);
  EXPECT_DOUBLE_EQ(yc, 2.0);
  user_to_cm(1, 10, 10, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 17.0);
  EXPECT_DOUBLE_EQ(yc, 17.0);
}

TEST_F(Chain, EqualScalesTakeTheSmallerAndAnchorTheMinimumCorner) {
  set3(2, 2, 15, 15, -10, 10, -5, 5, 1);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], 0.75f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][1][1], 0.75f);
  double xc = 0, yc = 0;
  user_to_cm(1, -10, -5, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 2.0);
  EXPECT_DOUBLE_EQ(yc, 2.0);
  user_to_cm(1, 10, 5, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 17.0);
  EXPECT_DOUBLE_EQ(yc, 9.5);

  set3(2, 2, 15, 15, -10, 10, -5, 5, 0);
  user_to_cm(1, 10, 5, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 17.0);
  EXPECT_DOUBLE_EQ(yc, 17.0);

  // Any flag but exactly 1 leaves the scales apart.
  set3(2, 2, 15, 15, -10, 10, -5, 5, 2);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][1][1], 1.5f);
  EXPECT_EQ(plt1blk.isoxy[0], 2);
}

TEST_F(Chain, ReversedLimitsGiveANegativeScaleThatKeepsItsSign) {
  // The x scale -0.75 is the larger magnitude: y is reduced to +0.75.
  set3(2, 2, 15, 15, 10, -10, -5, 5, 1);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], -0.75f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][1][1], 0.75f);
  double xc = 0, yc = 0;
  user_to_cm(1, 10, -5, xc, yc);  // the minimum corner as given
  EXPECT_DOUBLE_EQ(xc, 2.0);
  EXPECT_DOUBLE_EQ(yc, 2.0);
  user_to_cm(1, -10, 5, xc, yc);
  EXPECT_DOUBLE_EQ(xc, 17.0);
  EXPECT_DOUBLE_EQ(yc, 9.5);

  // Here the negative x scale is reduced: it becomes -0.375.
  set3(2, 2, 15, 15, 10, -10, -20, 20, 1);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], -0.375f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][1][1], 0.375f);
  // A tie changes nothing.
  set3(0, 0, 10, 10, 5, -5, -5, 5, 1);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], -1.0f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][1][1], 1.0f);
}

TEST_F(Chain, ModeThreeHandsBackTheStoredValues) {
  set1(3, 4, 2, 0.5f, -0.5f, 3);
  float v[6] = {0, 0, 0, 0, 0, 0};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 3);
  EXPECT_EQ(std::vector<float>(v, v + 6), (std::vector<float>{3, 4, 2, 0.5f, -0.5f, 3}));

  set3(1, 2, 10, 12, -3, 7, 0, 4, 0);
  float w[8] = {};
  int ixy = 9;
  // Mode 3 of the box form changes nothing, not even the transform stored by sus2cm1 since.
  set1(5, 5, 1, 0, 0, 1);
  sus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy, 3);
  EXPECT_EQ(std::vector<float>(w, w + 8), (std::vector<float>{1, 2, 10, 12, -3, 7, 0, 4}));
  EXPECT_EQ(ixy, 0);
  EXPECT_FLOAT_EQ(plt1blk.us0tocm[0][0], 5.0f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], 1.0f);
}

TEST_F(Chain, ModeThreeOfTheMatrixFormRefreshesTheDerivedTransforms) {
  set1(3, 4, 2, 0, 0, 2);  // stored while the window is closed: nothing derived
  EXPECT_FLOAT_EQ(plt1blk.ustode[0][0][0], 0.0f);
  open_plot(3);
  float v[6] = {};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 3);
  EXPECT_FLOAT_EQ(plt1blk.ustode[0][0][0], 2 * 35.43307f);
  EXPECT_FLOAT_EQ(plt1blk.us0tode[0][1], 4 * 35.43307f);
  EXPECT_FLOAT_EQ(plt1blk.cmtous[0][1][1], 0.5f);
}

TEST_F(Chain, OnlyTheCurrentSubplotIsSet) {
  plt1blk.isub = 4;
  set1(1, 2, 3, 4, 5, 6);
  EXPECT_FLOAT_EQ(plt1blk.us0tocm[3][0], 1.0f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[3][1][0], 4.0f);  // xy: row 1, column 2
  EXPECT_FLOAT_EQ(plt1blk.ustocm[3][0][1], 5.0f);  // yx: row 2, column 1
  for (int s = 0; s < kSubplots; ++s) {
    if (s == 3) continue;
    EXPECT_FLOAT_EQ(plt1blk.us0tocm[s][0], 0.0f) << s;
    EXPECT_FLOAT_EQ(plt1blk.ustocm[s][0][0], 0.0f) << s;
  }
}

TEST_F(Chain, ModeSevenSetsAllSubplotsAndDerivesEachOfThem) {
  open_plot(3);
  plt1blk.isub = 6;
  float v[6] = {};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 7);
  const float d = 35.43307f;
  for (int s = 0; s < kSubplots; ++s) {
    EXPECT_FLOAT_EQ(plt1blk.us0tocm[s][0], 10.0f) << s;
    EXPECT_FLOAT_EQ(plt1blk.ustocm[s][1][1], 1.0f) << s;
    EXPECT_FLOAT_EQ(plt1blk.us0tode[s][0], 10 * d) << s;
    EXPECT_FLOAT_EQ(plt1blk.ustode[s][0][0], d) << s;
    EXPECT_FLOAT_EQ(plt1blk.cm0tous[s][1], -10.0f) << s;
    EXPECT_FLOAT_EQ(plt1blk.cmtous[s][0][0], 1.0f) << s;
  }
  EXPECT_EQ(plt1blk.isub, 6);

  float w[8] = {};
  int ixy = 0;
  sus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy, 7);
  for (int s = 0; s < kSubplots; ++s) {
    EXPECT_FLOAT_EQ(plt1blk.ustocm[s][0][0], 0.75f) << s;
    EXPECT_FLOAT_EQ(plt1blk.us0tocm[s][0], 9.5f) << s;
    EXPECT_FLOAT_EQ(plt1blk.us0tode[s][1], 9.5f * d) << s;
    EXPECT_FLOAT_EQ(plt1blk.cmtous[s][1][1], 1 / 0.75f) << s;
    EXPECT_EQ(plt1blk.isoxy[s], 1) << s;
  }
}

TEST_F(Chain, WithTheWindowClosedNothingIsDerived) {
  set1(10, 10, 2, 0, 0, 4);
  for (int s = 0; s < kSubplots; ++s) {
    EXPECT_FLOAT_EQ(plt1blk.ustode[s][0][0], 0.0f);
    EXPECT_FLOAT_EQ(plt1blk.cmtous[s][0][0], 0.0f);
  }
  // cm2us uses what the subplot held before: zero at the start.
  float x = 12, y = 14;
  cm2us(&x, &y, &x, &y, 1);
  EXPECT_FLOAT_EQ(x, 0.0f);
  EXPECT_FLOAT_EQ(y, 0.0f);
}

// ---- Centimetres to device ----

TEST_F(Chain, PageScaleOfEachSetUp) {
  open_plot(1, 44, 0, 944, 700);  // 900 pixels high
  EXPECT_FLOAT_EQ(plt1blk.devscale, 900 / 29.7f);
  EXPECT_NEAR(plt1blk.devscale, 30.30, 0.01);
  EXPECT_FLOAT_EQ(plt1blk.cmtode[0][0], plt1blk.devscale);
  EXPECT_FLOAT_EQ(plt1blk.cmtode[1][1], plt1blk.devscale);
  EXPECT_FLOAT_EQ(plt1blk.cmtode[0][1], 0.0f);
  EXPECT_FLOAT_EQ(plt1blk.cmtode[1][0], 0.0f);
  open_plot(0, 44, 0, 944, 700);
  EXPECT_FLOAT_EQ(plt1blk.devscale, 900 / 29.7f);
  open_plot(2, 44, 348, 1156, 1920);  // landscape: the width
  EXPECT_FLOAT_EQ(plt1blk.devscale, 1572 / 29.7f);
  open_plot(3, 44, 0, 300, 200);
  EXPECT_FLOAT_EQ(plt1blk.devscale, 35.43307f);
  open_plot(4, 44, 0, 300, 200);
  EXPECT_FLOAT_EQ(plt1blk.devscale, 35.43307f);
  open_plot(7, 44, 0, 944, 700);
  EXPECT_FLOAT_EQ(plt1blk.devscale, 1.0f);
  plt1blk.cm0tode[12][0] = 5;
  open_plot(3);
  EXPECT_FLOAT_EQ(plt1blk.cm0tode[12][0], 0.0f);

  float l = 0;
  lengthcm2de(l, 2.0f);
  EXPECT_FLOAT_EQ(l, 2 * 35.43307f);
}

TEST_F(Chain, CentimetresToDevice) {
  open_plot(3);
  float x[2] = {0, 10};
  float y[2] = {0, 28};
  float xd[2], yd[2];
  cm2de(xd, yd, x, y, 2);
  EXPECT_FLOAT_EQ(xd[0], 0.0f);
  EXPECT_FLOAT_EQ(yd[0], 0.0f);
  EXPECT_FLOAT_EQ(xd[1], 354.3307f);
  EXPECT_FLOAT_EQ(yd[1], 28 * 35.43307f);
}

// ---- Derived transforms and conversions ----

TEST_F(Chain, CentimetresBackToUserUnits) {
  open_plot();
  set1(10, 10, 2, 0, 0, 4);
  float x = 12, y = 14;
  cm2us(&x, &y, &x, &y, 1);
  EXPECT_FLOAT_EQ(x, 1.0f);
  EXPECT_FLOAT_EQ(y, 1.0f);
}

TEST_F(Chain, UserToDeviceAgainstAnIndependentComposition) {
  open_plot(1, 44, 0, 944, 700);
  const double d = 900 / 29.7;
  set1(3.5f, -2.25f, 1.5f, -0.75f, 0.25f, 2.0f);
  // device = d * (cm origin + M user)
  const Affine dev{d * 1.5, d * -0.75, d * 0.25, d * 2.0, d * 3.5, d * -2.25};
  const float xs[4] = {0, 1, -7.5f, 123.25f};
  const float ys[4] = {0, 2, 3.25f, -44.5f};
  float xd[4], yd[4];
  us2de(xd, yd, xs, ys, 4);
  for (int i = 0; i < 4; ++i) {
    double ex = 0, ey = 0;
    dev.apply(xs[i], ys[i], ex, ey);
    EXPECT_NEAR(xd[i], ex, 1e-5 * (1 + std::fabs(ex))) << i;
    EXPECT_NEAR(yd[i], ey, 1e-5 * (1 + std::fabs(ey))) << i;
  }
  // And back: the cm-to-user transform is the inverse of the user-to-cm one.
  const double det = 1.5 * 2.0 - (-0.75 * 0.25);
  const Affine inv{2.0 / det, 0.75 / det, -0.25 / det, 1.5 / det, 0, 0};
  for (int i = 0; i < 4; ++i) {
    double cx = 0, cy = 0;
    user_to_cm(1, xs[i], ys[i], cx, cy);
    double ux = 0, uy = 0;
    inv.apply(cx - 3.5, cy + 2.25, ux, uy);
    float fx = static_cast<float>(cx), fy = static_cast<float>(cy);
    cm2us(&fx, &fy, &fx, &fy, 1);
    EXPECT_NEAR(fx, ux, 1e-4 * (1 + std::fabs(ux))) << i;
    EXPECT_NEAR(fy, uy, 1e-4 * (1 + std::fabs(uy))) << i;
    EXPECT_NEAR(fx, xs[i], 1e-3 * (1 + std::fabs(xs[i]))) << i;
  }
}

TEST_F(Chain, ConversionsInPlaceAndOfNoPoint) {
  open_plot(3);
  set1(1, 2, 1, 0, 0, 1);
  float x[2] = {1, 2};
  float y[2] = {3, 4};
  us2de(x, y, x, y, 0);
  EXPECT_EQ(x[0], 1.0f);
  EXPECT_EQ(y[1], 4.0f);
  us2de(x, y, x, y, -3);
  EXPECT_EQ(x[1], 2.0f);
  // In place: y must be converted from the x it had, not the converted one.
  set1(0, 0, 0, 1, 1, 0);  // swaps x and y
  us2de(x, y, x, y, 2);
  EXPECT_FLOAT_EQ(x[0], 3 * 35.43307f);
  EXPECT_FLOAT_EQ(y[0], 1 * 35.43307f);
  EXPECT_FLOAT_EQ(x[1], 4 * 35.43307f);
  EXPECT_FLOAT_EQ(y[1], 2 * 35.43307f);
  // Output into the swapped arrays: both results are formed first.
  float a = 5, b = 6;
  us2de(&b, &a, &a, &b, 1);
  EXPECT_FLOAT_EQ(b, 6 * 35.43307f);
  EXPECT_FLOAT_EQ(a, 5 * 35.43307f);
}

TEST_F(Chain, SelectingASubplotUsesItsOwnTransforms) {
  open_plot(3);
  plt1blk.isub = 2;
  set1(0, 0, 2, 0, 0, 2);
  plt1blk.isub = 3;
  set1(1, 1, 1, 0, 0, 1);
  float x = 1, y = 1;
  us2de(&x, &y, &x, &y, 1);
  EXPECT_FLOAT_EQ(x, 2 * 35.43307f);
  plt1blk.isub = 2;
  x = y = 1;
  us2de(&x, &y, &x, &y, 1);
  EXPECT_FLOAT_EQ(x, 2 * 35.43307f);
  EXPECT_FLOAT_EQ(y, 2 * 35.43307f);
}

// ---- The 2x2 helpers ----

TEST_F(Chain, MatrixProductsAgainstDoublePrecision) {
  const Mat22 b = {{1.5f, -2.0f}, {0.25f, 3.0f}};   // columns: b = [[1.5, 0.25], [-2, 3]]
  const Mat22 c = {{-1.0f, 4.5f}, {2.0f, 0.5f}};    // c = [[-1, 2], [4.5, 0.5]]
  const double B[2][2] = {{1.5, 0.25}, {-2.0, 3.0}};  // rows
  const double C[2][2] = {{-1.0, 2.0}, {4.5, 0.5}};
  Mat22 a;
  m22x22(a, b, c);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      EXPECT_NEAR(a[j][i], B[i][0] * C[0][j] + B[i][1] * C[1][j], 1e-6) << i << j;

  // The output may be either input.
  Mat22 bb = {{1.5f, -2.0f}, {0.25f, 3.0f}};
  m22x22(bb, bb, c);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) EXPECT_FLOAT_EQ(bb[j][i], a[j][i]);
  Mat22 cc = {{-1.0f, 4.5f}, {2.0f, 0.5f}};
  m22x22(cc, b, cc);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) EXPECT_FLOAT_EQ(cc[j][i], a[j][i]);

  Vec2 v = {2.0f, -3.0f};
  m22x21(v, b, v);
  EXPECT_FLOAT_EQ(v[0], 1.5f * 2 + 0.25f * -3);
  EXPECT_FLOAT_EQ(v[1], -2.0f * 2 + 3.0f * -3);

  float u[3] = {1, 2, 3};
  const float w[3] = {0.5f, -2, 10};
  vsum(u, u, w, 3);
  EXPECT_EQ(std::vector<float>(u, u + 3), (std::vector<float>{1.5f, 0, 13}));
  vsum(u, u, w, 0);
  EXPECT_EQ(u[0], 1.5f);
}

TEST_F(Chain, InverseAgainstDoublePrecision) {
  Mat22 b = {{3.0f, -1.25f}, {0.5f, 2.0f}};  // [[3, 0.5], [-1.25, 2]]
  const double det = 3.0 * 2.0 - 0.5 * -1.25;
  Mat22 a;
  ASSERT_TRUE(minv2d(a, b));
  EXPECT_NEAR(a[0][0], 2.0 / det, 1e-6);
  EXPECT_NEAR(a[1][0], -0.5 / det, 1e-6);
  EXPECT_NEAR(a[0][1], 1.25 / det, 1e-6);
  EXPECT_NEAR(a[1][1], 3.0 / det, 1e-6);
  ASSERT_TRUE(minv2d(b, b));  // in place
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) EXPECT_FLOAT_EQ(b[j][i], a[j][i]);
}

TEST_F(Chain, SingularMatrixIsReportedAndTheOldInverseKept) {
  open_plot(3);
  set1(10, 10, 2, 0, 0, 4);
  const float keep_cm0 = plt1blk.cm0tous[0][0];
  const float keep_m = plt1blk.cmtous[0][1][1];
  ASSERT_FLOAT_EQ(keep_m, 0.25f);
  Console con("\n");  // RESUME: the default yes
  set1(1, 1, 1, 2, 2, 4);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" det(B) =       0.000    ",
                                " b(1,1) =        1.00     b(1,2) =        2.00    ",
                                " b(2,1) =        2.00     b(2,2) =        4.00    ",
                                " => Cannot Invert B",
                                " RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED"}),
            0)
      << con.text();
  // The box is closed as every error box is (the pause is off here).
  EXPECT_GE(find_sequence(out, {" RESUMING EXECUTION", ex::rule('*')}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("subroutine minv2d"), std::string::npos);
  EXPECT_FLOAT_EQ(plt1blk.cm0tous[0][0], keep_cm0);
  EXPECT_FLOAT_EQ(plt1blk.cmtous[0][1][1], keep_m);
  // The user-to-device transform does not depend on it and is derived all the same.
  EXPECT_FLOAT_EQ(plt1blk.ustode[0][1][0], 2 * 35.43307f);

  // minv2d alone leaves its output as it was.
  Console con2("\n");
  const Mat22 z = {{0, 0}, {0, 0}};
  Mat22 a = {{7, 7}, {7, 7}};
  EXPECT_FALSE(minv2d(a, z));
  EXPECT_EQ(a[0][0], 7.0f);
  EXPECT_EQ(a[1][1], 7.0f);
}

TEST_F(Chain, ZeroUserRangeIsRefusedAndTheSubplotKept) {
  open_plot(3);
  set3(2, 2, 15, 15, -10, 10, -10, 10, 1);
  const Plt1blk before = plt1blk;
  Console con;
  set3(1, 1, 10, 10, 4, 4, -1, 1, 1);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" Cannot fit the X user limits into the page box:",
                                " xumin =     4.00000     xumax =     4.00000    ",
                                " xlcm =     10.0000    ",
                                " ==> scaling of subplot  1 kept as it was"}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("subroutine sus2cm3"), std::string::npos);
  EXPECT_EQ(con.text().find("Y user limits"), std::string::npos);
  EXPECT_EQ(std::memcmp(&before, &plt1blk, sizeof before), 0);

  con.clear();
  set3(1, 1, 10, 10, 0, 1, 3, 3, 0);
  EXPECT_NE(con.text().find(" Cannot fit the Y user limits into the page box:"),
            std::string::npos);
  EXPECT_EQ(std::memcmp(&before, &plt1blk, sizeof before), 0);
}

}  // namespace
}  // namespace korbast::plot::test
