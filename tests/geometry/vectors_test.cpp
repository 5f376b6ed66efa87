// Column-wise scalar products, norms, cross products and the cyclic index reduction.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vectors.hpp"

namespace korbast::geometry {
namespace {

TEST(Scalprodn, ColumnWiseProducts) {
  const float u[6] = {1, 2, 3, -1, 0.5f, 2};
  const float v[6] = {4, 5, 6, 2, 2, 0.25f};
  float sp[2] = {-7, -7};
  scalprodn(sp, u, v, 3, 2);
  EXPECT_FLOAT_EQ(sp[0], 32.0f);
  EXPECT_FLOAT_EQ(sp[1], -0.5f);
}

TEST(Scalprodn, LeadingDimensionTwo) {
  // The catalogue's straight-sided polygon test uses vectors of length 2.
  const float u[4] = {1, 2, 3, 4};
  const float v[4] = {5, 6, 7, 8};
  float sp[2];
  scalprodn(sp, u, v, 2, 2);
  EXPECT_FLOAT_EQ(sp[0], 17.0f);
  EXPECT_FLOAT_EQ(sp[1], 53.0f);
}

TEST(Scalprodn, CountsOfZero) {
  const float u[3] = {1, 2, 3};
  float sp[2] = {-7, -7};
  scalprodn(sp, u, u, 3, 0);  // no vector: nothing written
  EXPECT_EQ(sp[0], -7.0f);
  scalprodn(sp, u, u, 0, 2);  // empty vectors: sums of nothing
  EXPECT_EQ(sp[0], 0.0f);
  EXPECT_EQ(sp[1], 0.0f);
}

TEST(Vecnorm, EuclideanNormPerColumn) {
  const float v[6] = {3, 4, 0, 1, 2, 2};
  float vn[2];
  vecnorm(vn, v, 3, 2);
  EXPECT_FLOAT_EQ(vn[0], 5.0f);
  EXPECT_FLOAT_EQ(vn[1], 3.0f);
  float untouched = -1;
  vecnorm(&untouched, v, 3, 0);
  EXPECT_EQ(untouched, -1.0f);
}

TEST(Vecprod3d, RightHandedCrossProducts) {
  const float u[6] = {1, 0, 0, 0, 1, 0};
  const float v[6] = {0, 1, 0, 0, 0, 1};
  float w[6];
  vecprod3d(w, u, v, 2);
  EXPECT_EQ(w[0], 0.0f);
  EXPECT_EQ(w[1], 0.0f);
  EXPECT_EQ(w[2], 1.0f);  // x cross y = z
  EXPECT_EQ(w[3], 1.0f);  // y cross z = x
  EXPECT_EQ(w[4], 0.0f);
  EXPECT_EQ(w[5], 0.0f);
}

TEST(Vecprod3d, OutputMayBeEitherOperand) {
  const float u0[3] = {1, 2, 3};
  const float v0[3] = {-2, 0.5f, 4};
  float expect[3];
  vecprod3d(expect, u0, v0, 1);
  EXPECT_FLOAT_EQ(expect[0], 6.5f);
  EXPECT_FLOAT_EQ(expect[1], -10.0f);
  EXPECT_FLOAT_EQ(expect[2], 4.5f);

  float u[3] = {1, 2, 3};
  vecprod3d(u, u, v0, 1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(u[k], expect[k]);
  float v[3] = {-2, 0.5f, 4};
  vecprod3d(v, u0, v, 1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(v[k], expect[k]);

  // A result crossed with a further vector in place, as the map-line layer does.
  float w[3] = {1, 0, 0};
  const float y[3] = {0, 1, 0};
  const float z[3] = {0, 0, 1};
  vecprod3d(w, w, y, 1);  // z
  vecprod3d(w, w, z, 1);  // z x z = 0
  EXPECT_EQ(w[0], 0.0f);
  EXPECT_EQ(w[1], 0.0f);
  EXPECT_EQ(w[2], 0.0f);
}

TEST(Vecprod3d, CountOfZeroWritesNothing) {
  const float u[3] = {1, 2, 3};
  float w[3] = {9, 9, 9};
  vecprod3d(w, u, u, 0);
  vecprod3d(w, u, u, -1);
  EXPECT_EQ(w[0], 9.0f);
  EXPECT_EQ(w[2], 9.0f);
}

TEST(Moduri, ReducesIntoOneToM) {
  const int in[12] = {4, 6, 0, -1, -3, 2, 1, 3, 7, -4, -5, 100};
  const int expect[12] = {1, 3, 3, 2, 3, 2, 1, 3, 1, 2, 1, 1};
  int out[12];
  moduri(out, in, 3, 12);
  for (int k = 0; k < 12; ++k) EXPECT_EQ(out[k], expect[k]) << "for " << in[k];
}

TEST(Moduri, AgreesWithTheModuloRule) {
  for (int m = 1; m <= 7; ++m) {
    for (int v = -30; v <= 30; ++v) {
      int out = 0;
      moduri(&out, &v, m, 1);
      const int expect = ((v - 1) % m + m) % m + 1;
      EXPECT_EQ(out, expect) << "v " << v << " m " << m;
    }
  }
}

TEST(Moduri, InPlace) {
  int v[4] = {4, 5, 6, -2};
  moduri(v, v, 3, 4);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[1], 2);
  EXPECT_EQ(v[2], 3);
  EXPECT_EQ(v[3], 1);
}

// A cycle of length 0 or less has no element to reduce into: the output is left alone
// instead of dividing by zero.
TEST(Moduri, NonPositiveCycleTouchesNothing) {
  const int in[3] = {1, 5, -2};
  int out[3] = {-9, -9, -9};
  moduri(out, in, 0, 3);
  moduri(out, in, -3, 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(out[k], -9);
}

}  // namespace
}  // namespace korbast::geometry
