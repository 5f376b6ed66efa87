#include <gtest/gtest.h>

#include "frame/runinfo.hpp"
#include "support/console.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::frame;

std::string describe(const char* kernel, const char* machine, const unsigned long long* hz) {
  std::string k = kernel ? kernel : "", m = machine ? machine : "";
  return hostname_from({kernel ? &k : nullptr, machine ? &m : nullptr, hz});
}

TEST(SystemDescription, JoinsThePartsAndFallsBackPartByPart) {
  unsigned long long hz = 3000000000ull;
  EXPECT_EQ(describe("61", "x86_64", &hz), "Linux61-x86_64-3GHz");
  EXPECT_EQ(describe(nullptr, nullptr, nullptr), "Linux?-CPU?-?MHz");
  EXPECT_EQ(describe("510", nullptr, &hz), "Linux510-CPU?-3GHz");
}

TEST(SystemDescription, ClockRateIsTruncatedNotRounded) {
  const unsigned long long one_g = 1000000000ull, g18 = 1800000000ull, g25 = 2500000000ull,
                           m999 = 999000000ull;
  EXPECT_EQ(describe("61", "x86_64", &one_g), "Linux61-x86_64-1GHz");
  EXPECT_EQ(describe("61", "x86_64", &g18), "Linux61-x86_64-1GHz");
  EXPECT_EQ(describe("61", "x86_64", &g25), "Linux61-x86_64-2GHz");
  EXPECT_EQ(describe("61", "x86_64", &m999), "Linux61-x86_64-999MHz");
}

TEST(SystemDescription, PartsKeepTheirWidths) {
  unsigned long long hz = 2000000000ull;
  // System part at most 9 characters, processor part at most 8, all at most 25.
  EXPECT_EQ(describe("1234567", "averyverylongmachine", &hz), "Linux1234-averyver-2GHz");
}

TEST(RunInformation, PlottingRoutineFieldsAreEmptyUntilSet) {
  EXPECT_EQ(runinfocom.subname.view(), "");
  ssubinfo({"mapseis", " 6.6", "06-05-2010"}, 0, 0);
  EXPECT_EQ(runinfocom.subname.view(), "mapseis    ");
  EXPECT_EQ(runinfocom.subversion.view(), " 6.6");
}

TEST(RunInformation, MainInfoStoresIdentityClockAndUser) {
  korbast::testing::Console console;
  smaininfo({"korbast", " 8.0", "06-05-2010"}, 0);
  EXPECT_EQ(runinfocom.mainname.view(), "korbast    ");
  EXPECT_EQ(runinfocom.user.view(), "Mac user  ");
  EXPECT_EQ(runinfocom.rundate.view().size(), 10u);
  EXPECT_EQ(runinfocom.rundate[2], '-');
  EXPECT_EQ(runinfocom.runtime[5], ':');
  EXPECT_EQ(console.text(), "");
}

TEST(EndBanner, PictureFollowsTheLastDigitOfTheTime) {
  korbast::testing::Console console;
  maintail_at({" korbast ", " 8.0", ""}, "12:34:54");
  const std::string text = console.text();
  const std::string at = ex::rule('@');
  const std::string head = ex::text({at, " @ PROGRAM korbast", " @ Version:  8.0",
                                     " @ EXECUTION TERMINATED AT: 12:34:54",
                                     " @" + std::string(42, '-')});
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - at.size() - 1), at + "\n");
  // Digits 4 and 9 both draw the ten-point triangle.
  korbast::testing::Console other;
  maintail_at({"korbast", " 8.0", ""}, "12:34:59");
  EXPECT_EQ(other.text().substr(head.size()), text.substr(head.size()));
}

}  // namespace
