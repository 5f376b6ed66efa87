// Shared set-up of the focal-mechanism tests: the plot tests' fresh plot state with a logging
// device, the focal blocks back at program start, and the drawn log read back as paths and
// texts (in device pixels, or in the user units of a known scaling).
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "focal/axissymbols.hpp"
#include "focal/beachball.hpp"
#include "focal/greatcircles.hpp"
#include "focal/reset.hpp"
#include "focal/stereoframe.hpp"
#include "focal/stereonet.hpp"
#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "plot/curves.hpp"
#include "plot/plot_fixture.hpp"
#include "support/console.hpp"

namespace korbast::focal::test {

using korbast::testing::Console;
using Pt = std::pair<double, double>;

struct Path {
  std::vector<Pt> pts;
  bool closed = false;
  bool filled = false;
};

struct Shown {
  double x = 0, y = 0, angle = 0, size = 0;
  std::string text;
};

struct Drawn {
  std::vector<Path> paths;
  std::vector<Shown> texts;
};

inline Drawn drawn_of(const std::vector<std::string>& lines) {
  Drawn d;
  for (const auto& l : lines) {
    double x = 0, y = 0, a = 0, s = 0;
    int off = 0;
    if (l == "begin") {
      d.paths.emplace_back();
    } else if (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
               std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2) {
      d.paths.back().pts.emplace_back(x, y);
    } else if (l == "close") {
      d.paths.back().closed = true;
    } else if (l.rfind("fill_stroke", 0) == 0) {
      d.paths.back().filled = true;
    } else if (std::sscanf(l.c_str(), "text %lf %lf a=%lf s=%lf %n", &x, &y, &a, &s, &off) == 4) {
      const auto q1 = l.find('"');
      const auto q2 = l.rfind('"');
      d.texts.push_back({x, y, a, s, l.substr(q1 + 1, q2 - q1 - 1)});
    }
  }
  return d;
}

// The centre of a symbol outline: the mean of its points, a closing repeat of the first
// point left out.
inline Pt centre(const Path& p) {
  std::size_t n = p.pts.size();
  if (n > 1 && std::fabs(p.pts.front().first - p.pts.back().first) < 1e-6 &&
      std::fabs(p.pts.front().second - p.pts.back().second) < 1e-6)
    --n;
  double sx = 0, sy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sx += p.pts[i].first;
    sy += p.pts[i].second;
  }
  return {sx / static_cast<double>(n), sy / static_cast<double>(n)};
}

inline double dist(const Pt& a, const Pt& b) {
  return std::hypot(a.first - b.first, a.second - b.second);
}

// Distance from a point to a polyline.
inline double dist_to_polyline(const Pt& q, const std::vector<Pt>& line) {
  double best = 1e300;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const Pt& a = line[i];
    const Pt& b = line[i + 1];
    const double vx = b.first - a.first, vy = b.second - a.second;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((q.first - a.first) * vx + (q.second - a.second) * vy) / len2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    best = std::min(best, dist(q, {a.first + t * vx, a.second + t * vy}));
  }
  if (line.size() == 1) best = dist(q, line[0]);
  return best;
}

// The stereonet projection chosen silently (the set-up of the nets runs as the menu would).
inline void use_projection(int code) {
  Console quiet;
  int c = code;
  sspro(c, 1);
}

// A plot window on the logging device, drawing in user units of subplot 1 at 10000 pixels per
// unit about the pixel (300, 400); texts 0.5 cm high with a 10-pixel font (5 pixels of
// advance per character).
class FocalTest : public plot::test::PlotTest {
 protected:
  static constexpr double kScale = 10000.0;
  static constexpr double kOx = 300.0;
  static constexpr double kOy = 400.0;

  void SetUp() override {
    PlotTest::SetUp();
    focal::reset();
    frame::iocom.pause = false;
    colour_table();
    plot::plt2blk.linecolor = 1;
    plot::plt2blk.fillcolor = 8;
    plot::plt2blk.textcolor = 1;
    plot::plt2blk.fillstyle = 1;
    plot::plt2blk.textalign = -1;
    plot::plt2blk.textheight = 0.5f;
    plot::plt2blk.symbolsize = 0.3f;
    plot::plt2blk.symboltype = 1;
    open_log_window({0, 0, 600, 800});
    log_->set_font_size(10.0);
    frame::iocom.plot_open = true;
    plot::plt1blk.isub = 1;
    auto& b = plot::plt1blk;
    b.ustode[0][0][0] = static_cast<float>(kScale);
    b.ustode[0][1][0] = 0.0f;
    b.ustode[0][0][1] = 0.0f;
    b.ustode[0][1][1] = static_cast<float>(kScale);
    b.us0tode[0][0] = static_cast<float>(kOx);
    b.us0tode[0][1] = static_cast<float>(kOy);
    use_projection(4);
    log_->clear();
  }

  Drawn drawn() const { return drawn_of(log_lines()); }
  static Pt user(const Pt& px) { return {(px.first - kOx) / kScale, (px.second - kOy) / kScale}; }
  static std::vector<Pt> user(const std::vector<Pt>& px) {
    std::vector<Pt> u;
    for (const auto& p : px) u.push_back(user(p));
    return u;
  }
  // The pixel height of the text, as the device primitives place aligned texts.
  static double text_height_px() {
    return static_cast<double>(plot::plt2blk.textheight * plot::plt1blk.devscale);
  }
};

inline float pi() { return frame::anglerad.v[4]; }
inline float halfpi() { return frame::anglerad.v[2]; }

}  // namespace korbast::focal::test
