#include "pages/canvas_clip.hpp"

#include <algorithm>
#include <cmath>

namespace korbast::pages {

namespace {

bool finite(const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Liang-Barsky: cuts the segment a-b to the box; false when nothing is inside. t0/t1 are
// the parameters of the visible part.
bool clip_segment(const Point& a, const Point& b, const Box& box, double& t0, double& t1) {
  t0 = 0.0;
  t1 = 1.0;
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  return true;
}

Point lerp(const Point& a, const Point& b, double t) {
  if (t <= 0.0) return a;
  if (t >= 1.0) return b;
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// One edge of Sutherland-Hodgman. side(p) >= 0 is inside; cross(a, b) the crossing point.
template <class Inside, class Cross>
std::vector<Point> clip_edge(const std::vector<Point>& in, Inside inside, Cross cross) {
  std::vector<Point> out;
  if (in.empty()) return out;
  out.reserve(in.size() + 4);
  Point prev = in.back();
  bool prev_in = inside(prev);
  for (const Point& cur : in) {
    const bool cur_in = inside(cur);
    if (cur_in) {
      if (!prev_in) out.push_back(cross(prev, cur));
      out.push_back(cur);
    } else if (prev_in) {
      out.push_back(cross(prev, cur));
    }
    prev = cur;
    prev_in = cur_in;
  }
  return out;
}

Point cross_x(const Point& a, const Point& b, double x) {
  const double t = (x - a.x) / (b.x - a.x);
  return {x, a.y + (b.y - a.y) * t};
}

Point cross_y(const Point& a, const Point& b, double y) {
  const double t = (y - a.y) / (b.y - a.y);
  return {a.x + (b.x - a.x) * t, y};
}

}  // namespace

Box guard_box(double w, double h) {
  const double m = 4.0 * std::max(w, h);
  return {-m, -m, w + m, h + m};
}

std::vector<std::vector<Point>> clip_polyline(const std::vector<Point>& pts, const Box& box) {
  std::vector<std::vector<Point>> runs;
  std::vector<Point> run;
  auto end_run = [&] {
    if (!run.empty()) runs.push_back(std::move(run));
    run.clear();
  };
  bool have_prev = false;
  Point prev;
  for (const Point& p : pts) {
    if (!finite(p)) {
      end_run();
      have_prev = false;
      continue;
    }
    if (!have_prev) {
      // Start of a run; a lone point is kept only when inside.
      if (box.contains(p)) run.push_back(p);
      prev = p;
      have_prev = true;
      // A line of one point is its own run.
      continue;
    }
    double t0, t1;
    if (clip_segment(prev, p, box, t0, t1)) {
      const Point a = lerp(prev, p, t0);
      const Point b = lerp(prev, p, t1);
      if (run.empty() || t0 > 0.0) {
        end_run();
        run.push_back(a);
      }
      run.push_back(b);
      if (t1 < 1.0) end_run();
    } else {
      end_run();
    }
    prev = p;
  }
  end_run();
  return runs;
}

std::vector<Point> clip_polygon(const std::vector<Point>& pts, const Box& box) {
  std::vector<Point> poly;
  poly.reserve(pts.size());
  bool all_inside = true;
  for (const Point& p : pts) {
    if (!finite(p)) continue;
    poly.push_back(p);
    if (!box.contains(p)) all_inside = false;
  }
  if (all_inside) return poly;
  poly = clip_edge(poly, [&](const Point& p) { return p.x >= box.x0; },
                   [&](const Point& a, const Point& b) { return cross_x(a, b, box.x0); });
  poly = clip_edge(poly, [&](const Point& p) { return p.x <= box.x1; },
                   [&](const Point& a, const Point& b) { return cross_x(a, b, box.x1); });
  poly = clip_edge(poly, [&](const Point& p) { return p.y >= box.y0; },
                   [&](const Point& a, const Point& b) { return cross_y(a, b, box.y0); });
  poly = clip_edge(poly, [&](const Point& p) { return p.y <= box.y1; },
                   [&](const Point& a, const Point& b) { return cross_y(a, b, box.y1); });
  return poly;
}

}  // namespace korbast::pages
