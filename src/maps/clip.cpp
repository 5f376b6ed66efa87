#include "maps/clip.hpp"

#include <cmath>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "maps/lines.hpp"
#include "plot/curves.hpp"
#include "plot/userspace.hpp"
#include "projection/projection.hpp"

namespace korbast::maps {

namespace {

namespace fmt = frame::fmt;
using frame::say;
using frame::say_int;

constexpr frame::Identity id_locate2dbox{"locate2dbox", "", ""};
constexpr float kPeriod = 360.0f;

// The remainder of a by p with the sign of a: a - p * trunc(a / p), in single precision.
float amod(float a, float p) {
  const float q = std::trunc(a / p);
  const float pq = p * q;
  return a - pq;
}

// The warning for a coordinate that cannot be compared with its bounds.
int not_comparable(char axis, float v, float vmin, float vmax, int code) {
  const std::string a(1, axis);
  frame::warninghead(id_locate2dbox);
  say(fmt::Line().item(a + " RANGE TEST FAILED FOR:").str());
  say(fmt::Line().item(a + "    =").x().g(v, 12, 5).str());
  say(fmt::Line().item(a + "min =").x().g(vmin, 12, 5).str());
  say(fmt::Line().item(a + "max =").x().g(vmax, 12, 5).str());
  say_int("=> SET LOCATION =", code, 3);
  frame::warningtail00();
  return code;
}

// The x part of a zone row: west, inside and east codes of that row.
int x_zone(float x, float xmin, float xmax, int west, int inside, int east) {
  if (x < xmin) return west;
  if (x <= xmax) return inside;
  if (x > xmax) return east;
  return not_comparable('X', x, xmin, xmax, kXNotComparable);
}

}  // namespace

void locate2dbox(int* izone, float xmin, float xmax, float ymin, float ymax, const float* x,
                 const float* y, int n) {
  for (int i = 0; i < n; ++i) {
    if (y[i] > ymax) {
      izone[i] = x_zone(x[i], xmin, xmax, kNorthWest, kNorth, kNorthEast);
    } else if (y[i] >= ymin) {
      izone[i] = x_zone(x[i], xmin, xmax, kWest, kInside, kEast);
    } else if (y[i] < ymin) {
      izone[i] = x_zone(x[i], xmin, xmax, kSouthWest, kSouth, kSouthEast);
    } else {
      izone[i] = not_comparable('Y', y[i], ymin, ymax, kYNotComparable);
    }
  }
}

void modulro(float* xout, const float* xin, float period, float xref, int n) {
  for (int i = 0; i < n; ++i) {
    const float d = xin[i] - xref;
    float r;
    if (d >= period) {
      r = amod(d, period);
    } else if (d >= 0.0f) {
      r = d;
    } else {
      r = amod(d, period);
      if (r != 0.0f) r = r + period;
    }
    xout[i] = r + xref;
  }
}

void clipping_frame(ClipFrame& f, float longmin, float longmax) {
  f.longorig = longmin;
  f.longmin2 = longmin;
  modulro(&f.longmax2, &longmax, kPeriod, longmin, 1);
  float width = f.longmax2 - longmin;
  if (width == 0.0f) {
    const float raw = longmax - longmin;
    if (raw <= 0.0f) {
      frame::warninghead(id_contours1);
      say(" INCONSISTENT BOUNDS");
      say(fmt::Line()
              .item("longitude min =").x().f(longmin, 9, 3)
              .item("longitude max =").x().f(longmax, 9, 3)
              .str());
      frame::warningtail00();
    } else if (raw >= kPeriod) {
      f.longmax2 = longmin + kPeriod;
      width = kPeriod;
    }
  }
  const float gap = kPeriod - width;
  if (gap > 0.0f) {
    float shift = gap / 2.0f;
    if (shift > 3.0f) shift = 3.0f;
    f.longorig = longmin - shift;
    modulro(&f.longmin2, &longmin, kPeriod, f.longorig, 1);
    modulro(&f.longmax2, &longmax, kPeriod, f.longorig, 1);
  }
}

void plot_point_deg(float lon, float lat, int ipen) {
  float& x = plot::cc3dbuff.xe[0];
  float& y = plot::cc3dbuff.ye[0];
  const float rlon = frame::rad(lon);
  const float rlat = frame::rad(lat);
  projection::projlln(&x, &y, &rlon, &rlat, 1);
  plot::usplot(x, y, ipen);
}

int ClippedLine::zone(float lon, float lat) const {
  int z = kInside;
  locate2dbox(&z, w_.xmin, w_.xmax, w_.ymin, w_.ymax, &lon, &lat, 1);
  return z;
}

void ClippedLine::first(float lon, float lat) {
  z1_ = zone(lon, lat);
  if (z1_ == kInside) plot_point_deg(lon, lat, 0);
  lon1_ = lon;
  lat1_ = lat;
}

void ClippedLine::next(float lon, float lat) {
  const int z2 = zone(lon, lat);
  if (std::fabs(lon - lon1_) > kPeriod / 2.0f) {
    // The two ends lie on either side of the map (a line crossing the meridian opposite the
    // window's middle): no segment, the line goes on from this point.
    if (z2 == kInside) plot_point_deg(lon, lat, 0);
  } else if (z2 == kInside) {
    if (z1_ != kInside) plot_point_deg(lon1_, lat1_, 0);
    plot_point_deg(lon, lat, 1);
  } else if (z1_ == kInside) {
    plot_point_deg(lon, lat, 1);
  }
  z1_ = z2;
  lon1_ = lon;
  lat1_ = lat;
}

bool polygon_outside(const ClipFrame& f, float latmin, float latmax, float west, float east,
                     float south, float north, float& west2, float& east2, bool& reversed) {
  modulro(&west2, &west, kPeriod, f.longorig, 1);
  modulro(&east2, &east, kPeriod, f.longorig, 1);
  reversed = east < west;
  bool outside_long;
  if (reversed) {
    outside_long = false;
  } else if (east - west >= kPeriod) {
    // Round the whole globe (headers 0/360 or -180/180): its reduced ends coincide and tell
    // nothing about where the polygon lies.
    outside_long = false;
  } else if (east2 >= west2) {
    outside_long = west2 > f.longmax2 || east2 < f.longmin2;
  } else {
    outside_long = west2 > f.longmax2 && east2 < f.longmin2;
  }
  return outside_long || south > latmax || north < latmin;
}

}  // namespace korbast::maps
