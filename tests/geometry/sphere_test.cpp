// Direction cosines of longitude and latitude, and the transpose.
#include <gtest/gtest.h>

#include <cmath>

#include "frame/angles.hpp"
#include "geometry/sphere.hpp"

namespace korbast::geometry {
namespace {

constexpr float kPi2 = frame::angle::half_pi;

TEST(Ll2ccn, KnownPoints) {
  const float lon[4] = {0.0f, kPi2, 1.234f, 0.3f};
  const float lat[4] = {0.0f, 0.0f, kPi2, -0.5f};
  float cx[4], cy[4], cz[4];
  ll2ccn(cx, cy, cz, lon, lat, 4);
  EXPECT_EQ(cx[0], 1.0f);
  EXPECT_EQ(cy[0], 0.0f);
  EXPECT_EQ(cz[0], 0.0f);
  EXPECT_NEAR(cx[1], 0.0f, 1e-7);
  EXPECT_FLOAT_EQ(cy[1], 1.0f);
  EXPECT_NEAR(cx[2], 0.0f, 1e-7);  // the pole, whatever the longitude
  EXPECT_NEAR(cy[2], 0.0f, 1e-7);
  EXPECT_FLOAT_EQ(cz[2], 1.0f);
  EXPECT_NEAR(cx[3], std::cos(0.5) * std::cos(0.3), 1e-6);
  EXPECT_NEAR(cy[3], std::cos(0.5) * std::sin(0.3), 1e-6);
  EXPECT_NEAR(cz[3], -std::sin(0.5), 1e-6);
}

TEST(Ll2ccn, InPlaceOnAWorkVector) {
  // The catalogue converts an epicentre held in the first two elements of a 3-vector.
  float w[3] = {0.7f, -0.4f, 99.0f};
  float cx, cy, cz;
  ll2ccn(&cx, &cy, &cz, &w[0], &w[1], 1);
  ll2ccn(&w[0], &w[1], &w[2], &w[0], &w[1], 1);
  EXPECT_EQ(w[0], cx);
  EXPECT_EQ(w[1], cy);
  EXPECT_EQ(w[2], cz);
  float none = 5.0f;
  ll2ccn(&none, &none, &none, w, w, 0);
  EXPECT_EQ(none, 5.0f);
}

TEST(Mtrans, InPlace) {
  float m[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  float t[9];
  mtrans(t, m);
  mtrans(m, m);
  const float expect[9] = {1, 4, 7, 2, 5, 8, 3, 6, 9};
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(t[k], expect[k]);
    EXPECT_EQ(m[k], expect[k]);
  }
}

// The axes give the program's own pi and pi/2, bit for bit, with explicit branches for the
// zero components; a NaN stays a NaN.
TEST(LongitudeOf, AxesGiveTheProgramsAngleConstants) {
  EXPECT_EQ(longitude_of(-1.0f, 0.0f), frame::angle::pi);
  EXPECT_EQ(longitude_of(-1.0f, -0.0f), frame::angle::pi);
  EXPECT_EQ(longitude_of(0.0f, 2.0f), frame::angle::half_pi);
  EXPECT_EQ(longitude_of(0.0f, -2.0f), -frame::angle::half_pi);
  EXPECT_EQ(longitude_of(0.0f, 0.0f), 0.0f);
  EXPECT_EQ(longitude_of(1.0f, 1.0f), std::atan(1.0f));
  EXPECT_EQ(longitude_of(-1.0f, -1.0f), std::atan(1.0f) - frame::angle::pi);
  EXPECT_TRUE(std::isnan(longitude_of(std::nanf(""), 1.0f)));
}

}  // namespace
}  // namespace korbast::geometry
