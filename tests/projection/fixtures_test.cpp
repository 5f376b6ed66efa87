// Every projection code against PROJ: the fixtures of tests/data/projection/ were written by
// tests/tools/gen_proj_fixtures.sh for grids of points with non-default parameters and a
// non-default map origin. Each case sets the projection state as the set-ups would and
// projects the grid through `projlln`.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "projection/ellipsoids.hpp"
#include "projection/projection.hpp"
#include "projection/proj_fixtures.hpp"
#include "projection/projection_support.hpp"
#include "projection/table.hpp"

namespace korbast::projection {
namespace {

namespace fs = std::filesystem;

using Case = testing::FixtureCase;
using testing::fixture_files;
using testing::read_fixture;

// The projection state of a case, set as the projection menu leaves it after the choice.
void apply(const Case& c) {
  using frame::rad;
  reset_projection_blocks();
  projtype.iproj = c.code;
  llpparam.longp1 = rad(c.longp1);
  llpparam.longp2 = rad(c.longp2);
  llpparam.latp1 = rad(c.latp1);
  llpparam.latp2 = rad(c.latp2);
  llpparam.anglep1 = rad(c.anglep1);
  set_ellipsoid_radii(c.ell[0], c.ell[1]);
  testing::set_oblique_centre(c.centre[0], c.centre[1]);
  const ProjectionEntry* p = find_projection(c.code);
  if (p != nullptr && p->constants != nullptr) p->constants();
  testing::set_origin(c.origin[0], c.origin[1]);
}

class ProjFixture : public ::testing::TestWithParam<fs::path> {};

TEST_P(ProjFixture, MatchesProj) {
  const Case c = read_fixture(GetParam());
  ASSERT_GE(c.code, 1);
  ASSERT_LE(c.code, kProjections);
  ASSERT_GE(c.points.size(), 20u) << "too few points in " << c.name;
  apply(c);

  const int bad = testing::count_off_fixture(c);
  EXPECT_EQ(bad, 0) << c.name << ": " << bad << " of " << c.points.size() << " points off";
}

INSTANTIATE_TEST_SUITE_P(AllCodes, ProjFixture, ::testing::ValuesIn(fixture_files()),
                         testing::fixture_case_name);

// Every code of the projection table has at least one fixture.
TEST(ProjFixtureSet, CoversAllCodes) {
  std::vector<bool> seen(kProjections + 1, false);
  for (const auto& f : fixture_files()) {
    const int code = read_fixture(f).code;
    if (code >= 1 && code <= kProjections) seen[code] = true;
  }
  for (int code = 1; code <= kProjections; ++code) EXPECT_TRUE(seen[code]) << "no fixture for code " << code;
}

}  // namespace
}  // namespace korbast::projection
