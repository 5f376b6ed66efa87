// Shared pieces of the stress-layer tests: the start-up report of the angle constants, the
// fixture files, and the events of tests/data/gcmt-samples.ndk read by their columns.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "support/console.hpp"

namespace korbast::maps::test {

// The start-up report of the angle constants, silenced (the constants themselves are fixed).
inline void angle_constants() {
  korbast::testing::Console quiet;
  frame::trigoset();
}

inline std::string data_path(const std::string& rel) {
  return std::string(KORBAST_TEST_DATA) + "/" + rel;
}

inline std::vector<std::string> file_lines(const std::string& path) {
  std::vector<std::string> out;
  std::ifstream in(path);
  std::string l;
  while (std::getline(in, l)) out.push_back(l);
  return out;
}

inline std::vector<std::string> text_lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

inline float field(const std::string& line, std::size_t first, std::size_t len) {
  return std::strtof(line.substr(first - 1, len).c_str(), nullptr);
}

// One event of the sample catalogue: what the map reads of it, and the catalogue's own
// principal axes (plunge and azimuth in degrees) for the cross-checks.
struct NdkEvent {
  std::string date, time;
  float lat = 0, lon = 0, depth = 0;
  float plane[2][3] = {};  // strike, dip, rake of planes 1 and 2
  float t_axis[2] = {}, n_axis[2] = {}, p_axis[2] = {};  // plunge, azimuth
};

inline std::vector<NdkEvent> sample_events() {
  const auto lines = file_lines(data_path("gcmt-samples.ndk"));
  std::vector<NdkEvent> ev;
  for (std::size_t k = 0; k + 4 < lines.size(); k += 5) {
    NdkEvent e;
    const std::string& l1 = lines[k];
    e.date = l1.substr(5, 10);
    e.time = l1.substr(16, 10);
    e.lat = field(l1, 28, 6);
    e.lon = field(l1, 35, 7);
    e.depth = field(l1, 43, 5);
    // Line 5: after the version code, value, plunge and azimuth of T, N and P, the scalar
    // moment and the two planes, separated by blanks.
    std::vector<float> v;
    const std::string rest = lines[k + 4].substr(3);
    const char* p = rest.c_str();
    char* end = nullptr;
    for (float x = std::strtof(p, &end); end != p; x = std::strtof(p, &end)) {
      v.push_back(x);
      p = end;
    }
    EXPECT_EQ(v.size(), 16u);
    if (v.size() != 16u) break;
    e.t_axis[0] = v[1]; e.t_axis[1] = v[2];
    e.n_axis[0] = v[4]; e.n_axis[1] = v[5];
    e.p_axis[0] = v[7]; e.p_axis[1] = v[8];
    for (int j = 0; j < 3; ++j) {
      e.plane[0][j] = v[10 + static_cast<std::size_t>(j)];
      e.plane[1][j] = v[13 + static_cast<std::size_t>(j)];
    }
    ev.push_back(e);
  }
  return ev;
}

// The difference of two directions of lines (degrees), in [0, 90].
inline double line_difference_deg(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 180.0);
  return d > 90.0 ? 180.0 - d : d;
}

}  // namespace korbast::maps::test
