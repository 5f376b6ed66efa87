// Every projection code against PROJ: the fixtures of tests/data/projection/ were written by
// tests/tools/gen_proj_fixtures.sh for grids of points with non-default parameters and a
// non-default map origin. Each case sets the projection state as the set-ups would and
// projects the grid through `projlln`.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "projection/constants.hpp"
#include "projection/projection.hpp"
#include "projection/projection_support.hpp"

namespace korbast::projection {
namespace {

namespace fs = std::filesystem;

struct Point {
  double lon, lat, x, y;
};

struct Case {
  std::string name;
  int code = 0;
  float longp1 = 0, longp2 = 0, latp1 = 30, latp2 = 60, anglep1 = 180;
  float centre[2] = {0, 45};
  float ell[2] = {6378137.0f, 6356752.5f};
  float origin[2] = {0, 45};
  double tolerance = 2e-5;
  std::vector<Point> points;
};

Case read_case(const fs::path& path) {
  Case c;
  c.name = path.stem().string();
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    if (line.rfind("set ", 0) == 0) {
      std::string set, key;
      s >> set >> key;
      if (key == "code") s >> c.code;
      else if (key == "longp1") s >> c.longp1;
      else if (key == "longp2") s >> c.longp2;
      else if (key == "latp1") s >> c.latp1;
      else if (key == "latp2") s >> c.latp2;
      else if (key == "anglep1") s >> c.anglep1;
      else if (key == "centre") s >> c.centre[0] >> c.centre[1];
      else if (key == "ellipsoid") s >> c.ell[0] >> c.ell[1];
      else if (key == "origin") s >> c.origin[0] >> c.origin[1];
      else if (key == "tolerance") s >> c.tolerance;
      else ADD_FAILURE() << path << ": unknown key " << key;
      continue;
    }
    Point p{};
    s >> p.lon >> p.lat >> p.x >> p.y;
    if (s) c.points.push_back(p);
  }
  return c;
}

std::vector<fs::path> fixture_files() {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(fs::path(KORBAST_TEST_DATA) / "projection"))
    if (e.path().extension() == ".txt") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// The projection state of a case, set as the projection menu leaves it after the choice.
void apply(const Case& c) {
  using angles::rad;
  reset_projection_blocks();
  projtype.iproj = c.code;
  llpparam.longp1 = rad(c.longp1);
  llpparam.longp2 = rad(c.longp2);
  llpparam.latp1 = rad(c.latp1);
  llpparam.latp2 = rad(c.latp2);
  llpparam.anglep1 = rad(c.anglep1);
  testing::set_ellipsoid(c.ell[0], c.ell[1]);
  testing::set_oblique_centre(c.centre[0], c.centre[1]);
  switch (c.code) {
    case 3: slcc2(); break;
    case 4: slcce2(); break;
    case 11: case 12: spers2(); break;
    case 14: simwpoly2(); break;
    case 19: salbesph2(); break;
    case 20: sbonnesph2(); break;
    default: break;
  }
  testing::set_origin(c.origin[0], c.origin[1]);
}

class ProjFixture : public ::testing::TestWithParam<fs::path> {};

TEST_P(ProjFixture, MatchesProj) {
  const Case c = read_case(GetParam());
  ASSERT_GE(c.code, 1);
  ASSERT_LE(c.code, 25);
  ASSERT_GE(c.points.size(), 20u) << "too few points in " << c.name;
  apply(c);

  // Projected in one call, in place, as the map driver does with its work arrays.
  const int n = static_cast<int>(c.points.size());
  std::vector<float> a(n), b(n);
  for (int i = 0; i < n; ++i) {
    a[i] = angles::rad(static_cast<float>(c.points[i].lon));
    b[i] = angles::rad(static_cast<float>(c.points[i].lat));
  }
  projlln(a.data(), b.data(), a.data(), b.data(), n);

  int bad = 0;
  for (int i = 0; i < n; ++i) {
    const Point& p = c.points[i];
    double tol = c.tolerance;
    // The oblique codes that go through longitude and latitude in the oblique frame take the
    // latitude as the arcsine of a single-precision cosine: at the centre itself that is good
    // to about 3e-4 only.
    const bool oblique_via_ll = c.code == 6 || c.code == 8 || c.code == 18;
    if (oblique_via_ll && p.lon == c.centre[0] && p.lat == c.centre[1]) tol = 5e-4;
    const double tx = tol * std::max(1.0, std::fabs(p.x));
    const double ty = tol * std::max(1.0, std::fabs(p.y));
    const bool ok = std::fabs(a[i] - p.x) <= tx && std::fabs(b[i] - p.y) <= ty;
    if (!ok && ++bad <= 10) {
      ADD_FAILURE() << c.name << " at (" << p.lon << ", " << p.lat << "): got (" << a[i] << ", "
                    << b[i] << "), PROJ (" << p.x << ", " << p.y << ")";
    }
  }
  EXPECT_EQ(bad, 0) << c.name << ": " << bad << " of " << n << " points off";
}

std::string case_name(const ::testing::TestParamInfo<fs::path>& info) {
  return info.param.stem().string();
}

INSTANTIATE_TEST_SUITE_P(AllCodes, ProjFixture, ::testing::ValuesIn(fixture_files()), case_name);

// Every one of the 25 codes has at least one fixture.
TEST(ProjFixtureSet, CoversAllCodes) {
  std::vector<bool> seen(26, false);
  for (const auto& f : fixture_files()) {
    const int code = read_case(f).code;
    if (code >= 1 && code <= 25) seen[code] = true;
  }
  for (int code = 1; code <= 25; ++code) EXPECT_TRUE(seen[code]) << "no fixture for code " << code;
}

}  // namespace
}  // namespace korbast::projection
