#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "frame/angles.hpp"
#include "support/console.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::frame;

std::uint32_t bits(float f) { return std::bit_cast<std::uint32_t>(f); }

class Angles : public ::testing::Test {
 protected:
  void SetUp() override {
    korbast::testing::Console console;
    trigoset();
    printed = console.text();
  }
  std::string printed;
};

TEST_F(Angles, BlocksHoldTheTabledBitPatterns) {
  const std::uint32_t trig_bits[6] = {0x40490FDB, 0x3FC90FDB, 0x3F490FDB,
                                      0x3C8EFA35, 0x3FC90F87, 0x3FC9102F};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(bits(trig.v[k]), trig_bits[k]) << "trig " << k + 1;

  const std::uint32_t rad_bits[9] = {0x3F490FDB, 0x3F860A92, 0x3FC90FDB, 0x4016CBE4, 0x40490FDB,
                                     0x4096CBE4, 0x40C90FDB, 0x3C8EFA35, 0x42652EE0};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(bits(anglerad.v[k]), rad_bits[k]) << "anglerad " << k + 1;

  const std::uint32_t lower[7] = {0x3F490F33, 0x3F860A3E, 0x3FC90F87, 0x4016CBBA,
                                  0x40490FB1, 0x4096CBCF, 0x40C90FC6};
  const std::uint32_t upper[7] = {0x3F491083, 0x3F860AE6, 0x3FC9102F, 0x4016CC0E,
                                  0x40491005, 0x4096CBF9, 0x40C90FF0};
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(bits(angleradi.v[k]), lower[k]) << "angleradi " << k + 1;
    EXPECT_EQ(bits(anglerads.v[k]), upper[k]) << "anglerads " << k + 1;
  }
}

// The constants hold before anything runs: a projection set up before trigoset has printed
// its lines must not see pi/2 = 0.
static_assert(rad(90.0f) == anglerad.v[2] && deg(anglerad.v[4]) == 180.0f);
static_assert(trig.v[3] == anglerad.v[7] && trig.v[4] == angleradi.v[2]);

TEST_F(Angles, ReportsItselfWithoutClosingTheFrame) {
  const std::string expected = ex::text(ex::join(
      {ex::head("trigoset"), {" Initializing /trig/ block", " Initializing /anglerad/ block"}}));
  EXPECT_EQ(printed, expected);
}

TEST_F(Angles, ConversionsAreOneProductByTheStoredFactor) {
  EXPECT_EQ(bits(rad(180.0f)), 0x40490FDBu);
  EXPECT_EQ(rad(90.0f), anglerad.v[2]);
  EXPECT_EQ(rad(360.0f), anglerad.v[6]);
  EXPECT_EQ(deg(anglerad.v[4]), 180.0f);
  EXPECT_EQ(deg(anglerad.v[2]), 90.0f);

  float a[3] = {0.0f, 90.0f, -45.0f};
  float untouched[3] = {7.0f, 7.0f, 7.0f};
  deg2rad(untouched, a, 0);
  EXPECT_EQ(untouched[0], 7.0f);
  deg2rad(a, a, 3);  // in place
  EXPECT_EQ(a[1], 90.0f * anglerad.v[7]);
  EXPECT_EQ(a[2], -45.0f * anglerad.v[7]);
  rad2deg(a, a, 3);
  EXPECT_EQ(a[1], (90.0f * anglerad.v[7]) * anglerad.v[8]);
}

}  // namespace
