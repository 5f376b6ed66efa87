// Geometry guards of the drawing device: points that are not finite are dropped and shapes
// reaching far beyond the window are cut at a box around it, so that the rasteriser (whose
// fixed-point coordinates end near 8e6 pixels) never sees them.
#pragma once

#include <vector>

namespace korbast::pages {

struct Point {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const Point&) const = default;
};

struct Box {
  double x0 = 0.0;
  double y0 = 0.0;
  double x1 = 0.0;
  double y1 = 0.0;
  bool contains(const Point& p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

// The guard box of a window of w x h pixels: the window enlarged by 4 max(w, h) on each side.
Box guard_box(double w, double h);

// An open polyline cut to the box: the visible runs, each of at least one point (a lone
// point stays a run of one point when it lies inside). A point that is not finite ends the
// run before it.
std::vector<std::vector<Point>> clip_polyline(const std::vector<Point>& pts, const Box& box);

// A closed polygon cut to the box (points that are not finite left out first); empty when
// nothing of it lies inside.
std::vector<Point> clip_polygon(const std::vector<Point>& pts, const Box& box);

}  // namespace korbast::pages
