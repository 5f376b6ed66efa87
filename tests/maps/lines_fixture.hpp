// Shared set-up of the map drawing tests: the logging device with a window open, subplot 1
// mapping user units to device pixels by a plain scale, the spherical Mercator projection
// (code 15) about (0, 0), so that a drawn point can be turned back into degrees with the
// textbook inverse, and helpers that cut the device log into paths and texts.
#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "frame/iocom.hpp"
#include "maps/contours.hpp"
#include "maps/grid.hpp"
#include "maps/lines.hpp"
#include "maps/reset.hpp"
#include "plot/plot_fixture.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"

namespace korbast::maps::test {

using korbast::testing::Console;

// Device pixels per map unit.
constexpr double kScale = 10000.0;
constexpr double kPi = 3.14159265358979323846;

struct Pt {
  double lon, lat;  // degrees, from the device point by the inverse spherical Mercator
};

struct Path {
  std::vector<Pt> pts;
};

struct Label {
  Pt at;
  std::string text;
};

// One drawing step of the log, in order: a path or a text.
struct Item {
  bool is_text = false;
  Path path;
  Label label;
};

inline Pt to_degrees(double x, double y) {
  const double lam = x / kScale;
  const double yy = y / kScale;
  return {lam * 180.0 / kPi, (2.0 * std::atan(std::exp(yy)) - kPi / 2.0) * 180.0 / kPi};
}

inline std::vector<Item> items_of(const std::vector<std::string>& lines) {
  std::vector<Item> items;
  for (const auto& l : lines) {
    double x = 0, y = 0;
    if (l == "begin") {
      items.emplace_back();
    } else if (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
               std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2) {
      items.back().path.pts.push_back(to_degrees(x, y));
    } else if (l.rfind("text ", 0) == 0) {
      Item t;
      t.is_text = true;
      std::sscanf(l.c_str(), "text %lf %lf", &x, &y);
      t.label.at = to_degrees(x, y);
      const auto q = l.find('"');
      t.label.text = l.substr(q + 1, l.size() - q - 2);
      items.push_back(t);
    }
  }
  return items;
}

inline std::vector<Path> paths_only(const std::vector<Item>& items) {
  std::vector<Path> p;
  for (const auto& i : items)
    if (!i.is_text) p.push_back(i.path);
  return p;
}

inline std::vector<Label> labels_only(const std::vector<Item>& items) {
  std::vector<Label> p;
  for (const auto& i : items)
    if (i.is_text) p.push_back(i.label);
  return p;
}

// The degree value of a stored radian angle (the grid keeps its bounds in radians).
inline double stored_deg(double degrees) {
  return static_cast<double>(frame::rad(static_cast<float>(degrees))) * 180.0 / kPi;
}

class MapDrawTest : public plot::test::PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    frame::iocom.pause = false;
    open_log_window({0, 0, 600, 800});
    // Texts of no size: a label is shown at its anchor point whatever its alignment.
    log_->set_font_size(0.0);
    plot::plt2blk.textheight = 0.0f;
    plot::plt2blk.textangle = 0.0f;
    plot::plt2blk.textalign = 1;
    plot::plt1blk.isub = 1;
    const float s = static_cast<float>(kScale);
    plot::plt1blk.ustode[0][0][0] = s;
    plot::plt1blk.ustode[0][1][0] = 0;
    plot::plt1blk.ustode[0][0][1] = 0;
    plot::plt1blk.ustode[0][1][1] = s;
    plot::plt1blk.us0tode[0][0] = 0;
    plot::plt1blk.us0tode[0][1] = 0;
    projection::reset_projection_blocks();
    projection::projtype.iproj = 15;
    maps::reset();
    log_->clear();
  }

  // The contours menu run with the answers over the window given (degrees); what it printed.
  static std::string run_contours(const std::string& answers, float longmin, float longmax,
                                  float latmin, float latmax) {
    korbast::testing::Console con(answers);
    contours1(longmin, longmax, latmin, latmax, 1);
    return con.text();
  }

  std::vector<Item> drawn() const { return items_of(log_lines()); }
  std::vector<Path> drawn_paths() const { return paths_only(drawn()); }
};

// Expects a point within tol degrees of (lon, lat).
#define EXPECT_PT(p, LON, LAT, TOL)           \
  do {                                        \
    EXPECT_NEAR((p).lon, (LON), (TOL)) << #p; \
    EXPECT_NEAR((p).lat, (LAT), (TOL)) << #p; \
  } while (0)

inline std::vector<std::string> split(const std::string& text) {
  return plot::test::split_lines(text);
}

// Where the lines of seq stand one after the other in text; -1 when they do not.
inline int find_lines(const std::string& text, const std::vector<std::string>& seq,
                      std::size_t from = 0) {
  return plot::test::find_sequence(split(text), seq, from);
}

inline std::string data_file(const std::string& name) {
  return std::string(KORBAST_TEST_DATA) + "/maps/" + name;
}

}  // namespace korbast::maps::test
