// Clipping of map lines to the map window: zone codes of points against a rectangle, the
// reduction of longitudes into one period, the clipping frame (a longitude origin just west
// of the window, so that longitudes compare across the 360-degree wrap), the segment rule of
// a clipped line and the window test of a whole polygon. Segments are never cut at the
// window edge: a segment is drawn whole when one of its ends lies in the window, unless its
// ends lie more than 180 degrees of longitude apart (it would cross the whole map).
#pragma once

namespace korbast::maps {

// Zone codes of locate2dbox.
enum Zone : int {
  kInside = 0, kNorthWest = 1, kNorth = 2, kNorthEast = 3, kEast = 4,
  kSouthEast = 5, kSouth = 6, kSouthWest = 7, kWest = 8,
  kXNotComparable = -1,  // y comparable, x not (not a number): warned
  kYNotComparable = -2,  // y not comparable with the bounds: warned
};

// One zone code per point (x the longitude, y the latitude; the edges are inside). A point
// that cannot be compared is reported in a warning box and counts as outside. n < 1: nothing.
void locate2dbox(int* izone, float xmin, float xmax, float ymin, float ymax, const float* x,
                 const float* y, int n);

// Reduces n values into [xref, xref + period): xout may be xin. n < 1: nothing.
void modulro(float* xout, const float* xin, float period, float xref, int n);

// The clipping frame of a window (degrees): the longitude origin and the window's longitudes
// reduced about it.
struct ClipFrame {
  float longorig = 0.0f;
  float longmin2 = 0.0f;
  float longmax2 = 0.0f;
};
// Computes the frame of the window [longmin, longmax]; a window of no width whose bounds are
// equal or reversed is reported ("INCONSISTENT BOUNDS") in a warning box of contours1.
void clipping_frame(ClipFrame& frame, float longmin, float longmax);

// The rectangle a clipped line is compared with (degrees).
struct ClipWindow {
  float xmin, xmax, ymin, ymax;
};

// The segment rule of one clipped line. Points come in degrees; every move or draw is
// converted to radians, projected and handed to the pen (usplot).
class ClippedLine {
 public:
  explicit ClippedLine(const ClipWindow& window) : w_(window) {}
  // The line's first point: moved to when inside.
  void first(float lon, float lat);
  // The next point: a segment with at least one end inside is drawn whole; one whose ends
  // lie more than 180 degrees of longitude apart is not drawn, the pen moves to the point
  // when it is inside.
  void next(float lon, float lat);

 private:
  int zone(float lon, float lat) const;
  ClipWindow w_;
  int z1_ = kXNotComparable;
  float lon1_ = 0.0f;
  float lat1_ = 0.0f;
};

// The window test of a polygon from its header bounds (degrees). Returns true when the
// polygon lies outside the window and is skipped. west2 and east2 receive the header's west
// and east reduced about the frame's origin. `reversed` is set when east < west: the
// longitude part of the test is then false (the caller warns). A polygon spanning 360
// degrees or more in longitude is never outside in longitude.
bool polygon_outside(const ClipFrame& frame, float latmin, float latmax, float west, float east,
                     float south, float north, float& west2, float& east2, bool& reversed);

// One point in degrees converted to radians, projected and handed to usplot with the pen.
void plot_point_deg(float lon, float lat, int ipen);

}  // namespace korbast::maps
