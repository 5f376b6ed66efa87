// The PROJ fixtures of tests/data/projection/ (written by tests/tools/gen_proj_fixtures.sh):
// each file names a projection code, its parameters in degrees, the map origin, and a grid of
// points with the coordinates PROJ gives them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "projection/projection.hpp"

namespace korbast::testing {

struct FixturePoint {
  double lon, lat, x, y;
};

struct FixtureCase {
  std::string name;
  int code = 0;
  float longp1 = 0, longp2 = 0, latp1 = 30, latp2 = 60, anglep1 = 180;
  float centre[2] = {0, 45};
  float ell[2] = {6378137.0f, 6356752.5f};
  float origin[2] = {0, 45};
  double tolerance = 1e-5;  // relative to the distance from the map's (0, 0) beyond 1
  std::vector<FixturePoint> points;
};

inline FixtureCase read_fixture(const std::filesystem::path& path) {
  FixtureCase c;
  c.name = path.stem().string();
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    if (line.rfind("set ", 0) == 0) {
      std::string set, key;
      s >> set >> key;
      if (key == "code")
        s >> c.code;
      else if (key == "longp1")
        s >> c.longp1;
      else if (key == "longp2")
        s >> c.longp2;
      else if (key == "latp1")
        s >> c.latp1;
      else if (key == "latp2")
        s >> c.latp2;
      else if (key == "anglep1")
        s >> c.anglep1;
      else if (key == "centre")
        s >> c.centre[0] >> c.centre[1];
      else if (key == "ellipsoid")
        s >> c.ell[0] >> c.ell[1];
      else if (key == "origin")
        s >> c.origin[0] >> c.origin[1];
      else if (key == "tolerance")
        s >> c.tolerance;
      else
        ADD_FAILURE() << path << ": unknown key " << key;
      continue;
    }
    FixturePoint p{};
    s >> p.lon >> p.lat >> p.x >> p.y;
    if (s) c.points.push_back(p);
  }
  return c;
}

inline std::vector<std::filesystem::path> fixture_files() {
  std::vector<std::filesystem::path> files;
  for (const auto& e :
       std::filesystem::directory_iterator(std::filesystem::path(KORBAST_TEST_DATA) / "projection"))
    if (e.path().extension() == ".txt") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Projects the case's grid in one call, in place, as the map driver does with its work
// arrays, with the projection state as it stands, and compares with PROJ. Returns the number
// of points off (the first ten are reported).
inline int count_off_fixture(const FixtureCase& c) {
  const int n = static_cast<int>(c.points.size());
  std::vector<float> a(n), b(n);
  for (int i = 0; i < n; ++i) {
    a[i] = frame::rad(static_cast<float>(c.points[i].lon));
    b[i] = frame::rad(static_cast<float>(c.points[i].lat));
  }
  projection::projlln(a.data(), b.data(), a.data(), b.data(), n);

  int bad = 0;
  for (int i = 0; i < n; ++i) {
    const FixturePoint& p = c.points[i];
    const double t = c.tolerance * std::max(1.0, std::hypot(p.x, p.y));
    const bool ok = std::fabs(a[i] - p.x) <= t && std::fabs(b[i] - p.y) <= t;
    if (!ok && ++bad <= 10) {
      ADD_FAILURE() << c.name << " at (" << p.lon << ", " << p.lat << "): got (" << a[i] << ", "
                    << b[i] << "), PROJ (" << p.x << ", " << p.y << ")";
    }
  }
  return bad;
}

inline std::string fixture_case_name(const ::testing::TestParamInfo<std::filesystem::path>& info) {
  return info.param.stem().string();
}

}  // namespace korbast::testing
