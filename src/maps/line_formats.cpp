// The readers of the six map line file types. Every reader draws curve by curve from the two
// shared point buffers, so a file of any length fits in them.
#include "maps/line_formats.hpp"

#include <cmath>
#include <initializer_list>
#include <span>
#include <string>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/fields.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/units.hpp"
#include "geometry/sphere.hpp"
#include "geometry/vectors.hpp"
#include "maps/lines.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot/userspace.hpp"
#include "projection/geometry.hpp"
#include "projection/projection.hpp"

namespace korbast::maps {

namespace {

namespace fmt = frame::fmt;
namespace units = frame::units;
using frame::iocom;
using frame::say;
using frame::say_int;
using plot::cc2dbuff;
using plot::cc3dbuff;

constexpr int kBuffer = plot::kMaxCurvePoints;

// How one read went.
enum class Got { Ok, Eof, Error };

Got line_of(std::string& line) {
  switch (units::read_line(kLineUnit, line)) {
    case units::Read::Ok: return Got::Ok;
    case units::Read::Eof: return Got::Eof;
    default: return Got::Error;
  }
}

Got status_of(const frame::ListReader& r) {
  switch (r.status()) {
    case frame::ListStatus::Ok: return Got::Ok;
    case frame::ListStatus::Eof: return Got::Eof;
    default: return Got::Error;
  }
}

// A list-directed record of two reals.
Got read_pair(float& a, float& b) {
  frame::ListReader r(kLineUnit);
  r.f(a).f(b);
  return status_of(r);
}

void list(std::initializer_list<int> ints) {
  if (!iocom.lwito(2)) return;
  say(listing_line(ints.begin(), static_cast<int>(ints.size()), nullptr, 0));
}

// The curve of n points held in xp/yp (degrees) drawn whole: radians in place, projected
// into xe/ye, one polyline.
void draw_curve(int n) {
  if (n < 1) return;
  frame::deg2rad(cc2dbuff.xp, cc2dbuff.xp, n);
  frame::deg2rad(cc2dbuff.yp, cc2dbuff.yp, n);
  projection::projlln(cc3dbuff.xe, cc3dbuff.ye, cc2dbuff.xp, cc2dbuff.yp, n);
  plot::usline(cc3dbuff.xe, cc3dbuff.ye, n);
}

// End of file inside the points of a curve: what was read is drawn and the file ends as at
// its normal end.
void early_end_warning() { say(" END OF FILE INSIDE A CURVE"); }

// ---- Type 1: UTIG coast file, packed increments ----

LineEnd read_utig(LineFile& f) {
  float* lon = cc2dbuff.xp;
  float* lat = cc2dbuff.yp;
  for (;;) {
    std::string line;
    Got g = line_of(line);
    if (g == Got::Eof) return LineEnd::Normal;
    if (g == Got::Error) return LineEnd::ReadError;
    // (i3,f6.1,f7.1,32f2.1)
    frame::FieldReader r(line);
    int c = 0;
    float lat1 = 0.0f, lon1 = 0.0f;
    float code[40];
    r.i(3, c);
    r.f(6, 1, lat1);
    r.f(7, 1, lon1);
    for (int k = 0; k < 32; ++k) {
      code[k] = 0.0f;
      r.f(2, 1, code[k]);
    }
    if (!r.ok()) return LineEnd::ReadError;
    const int n = c / 2;  // at most 499 with a three-column count
    ++f.curves;
    list({f.curves, n});
    if (n >= 1) {
      lat[0] = lat1;
      lon[0] = lon1;
    }
    // Points 2..17 from the first record, then 20 per continuation record.
    auto decode = [&](int i, float latcode, float loncode) {
      lat[i - 1] = (5.0f - latcode) + lat[i - 2];
      lon[i - 1] = (5.0f - loncode) + lon[i - 2];
    };
    for (int i = 2; i <= n && i <= 17; ++i) decode(i, code[2 * (i - 2)], code[2 * (i - 2) + 1]);
    for (int first = 18; first <= n; first += 20) {
      g = line_of(line);
      // The end of the file inside a curve ends the file as its normal end would.
      if (g == Got::Eof) return LineEnd::Normal;
      if (g == Got::Error) return LineEnd::ReadError;
      frame::FieldReader rc(line);
      for (int k = 0; k < 40; ++k) {
        code[k] = 0.0f;
        rc.f(2, 1, code[k]);
      }
      if (!rc.ok()) return LineEnd::ReadError;
      for (int i = first; i <= n && i < first + 20; ++i)
        decode(i, code[2 * (i - first)], code[2 * (i - first) + 1]);
    }
    if (f.clip) {
      if (n >= 1) {
        ClippedLine cl(f.window);
        cl.first(lon[0], lat[0]);
        for (int i = 1; i < n; ++i) cl.next(lon[i], lat[i]);
      }
    } else {
      draw_curve(n);
    }
  }
}

// ---- Type 2: IGN coast file, one point per record ----

LineEnd read_ign(LineFile& f) {
  bool in_line = false;
  int code1 = 0, code2 = 0;
  ClippedLine cl(f.window);
  for (;;) {
    std::string line;
    const Got g = line_of(line);
    if (g == Got::Eof) return LineEnd::Normal;
    if (g == Got::Error) return LineEnd::ReadError;
    // (i1,i1,2(1x,f9.4))
    frame::FieldReader r(line);
    int c1 = 0, c2 = 0;
    float lon = 0.0f, lat = 0.0f;
    r.i(1, c1);
    r.i(1, c2);
    r.x(1);
    r.f(9, 4, lon);
    r.x(1);
    r.f(9, 4, lat);
    if (!r.ok()) return LineEnd::ReadError;
    const bool starts = !in_line || c1 != code1 || c2 != code2 || c1 == 3 || c1 == 4;
    if (starts) {
      ++f.curves;
      list({f.curves});
      code1 = c1;
      code2 = c2;
      in_line = true;
      if (f.clip) {
        cl = ClippedLine(f.window);
        cl.first(lon, lat);
      } else {
        plot_point_deg(lon, lat, 0);
      }
    } else if (f.clip) {
      cl.next(lon, lat);
    } else {
      plot_point_deg(lon, lat, 1);
    }
  }
}

// ---- Type 3: GEBCO file, a header "code n" and n points "latitude longitude" ----

LineEnd read_gebco(LineFile& f) {
  for (;;) {
    int code = 0, n = 0;
    frame::ListReader h(kLineUnit);
    h.i(code).i(n);
    Got g = status_of(h);
    if (g == Got::Eof) return LineEnd::Normal;
    if (g == Got::Error) return LineEnd::ReadError;
    ++f.curves;
    list({f.curves, code, n});
    // The first point record is read whatever n is.
    for (int i = 1; i == 1 || i <= n; ++i) {
      float lat = 0.0f, lon = 0.0f;
      g = read_pair(lat, lon);
      if (g == Got::Eof) {
        early_end_warning();
        return LineEnd::Normal;
      }
      if (g == Got::Error) return LineEnd::ReadError;
      plot_point_deg(lon, lat, i == 1 ? 0 : 1);
    }
  }
}

// ---- Type 4: USGS ASCII dump, lines ended by blank records or break markers ----

LineEnd read_usgs(LineFile& f) {
  bool open = false;
  for (;;) {
    std::string line;
    const Got g = line_of(line);
    if (g == Got::Eof) return LineEnd::Normal;
    if (g == Got::Error) return LineEnd::ReadError;
    // (a25): the record as 25 characters.
    line.resize(25, ' ');
    if (line.find_first_not_of(' ') == std::string::npos) {
      open = false;
      continue;
    }
    // (2(f10.5,5x))
    frame::FieldReader r(line);
    float lat = 0.0f, lon = 0.0f;
    r.f(10, 5, lat);
    r.x(5);
    r.f(10, 5, lon);
    if (!r.ok()) return LineEnd::ReadError;
    const bool marker = lat <= -998.0f;
    if (!open) {
      ++f.curves;
      list({f.curves});
      if (!marker) {
        plot_point_deg(lon, lat, 0);
        open = true;
      }
    } else if (marker) {
      open = false;
    } else {
      plot_point_deg(lon, lat, 1);
    }
  }
}

// ---- Type 5: GSHHS ASCII polygons, a header and n points "longitude latitude" ----

struct GshhsHeader {
  int id = 0, n = 0, level = 0;
  float area = 0.0f, west = 0.0f, east = 0.0f, south = 0.0f, north = 0.0f;
};

std::string gshhs_listing(int curve, const GshhsHeader& h) {
  const int ints[4] = {curve, h.id, h.n, h.level};
  const float reals[4] = {h.west, h.east, h.south, h.north};
  return listing_line(ints, 4, reals, 4);
}

void reversed_header_warning(int curve, const GshhsHeader& h) {
  frame::warninghead(id_contours1);
  say(" PROBLEM IN INPUT FILE ?");
  frame::say_rule('-', 65);
  say(listing_titles(5));
  say(gshhs_listing(curve, h));
  frame::say_rule('-', 65);
  say(" longitude mini > maxi");
  say(" => No global longitude clipping for this polygon");
  frame::warningtail00();
}

// The polygon drawn whole, in chunks of at most 1000 points sharing their end points.
LineEnd gshhs_unclipped(const GshhsHeader& h) {
  float* xp = cc2dbuff.xp;
  float* yp = cc2dbuff.yp;
  Got g = read_pair(xp[0], yp[0]);
  if (g == Got::Eof) {
    early_end_warning();
    return LineEnd::Normal;
  }
  if (g == Got::Error) return LineEnd::ReadError;
  if (h.n < 2) return LineEnd::Normal;
  xp[0] = frame::rad(xp[0]);
  yp[0] = frame::rad(yp[0]);
  const int last_chunk = (h.n - 1 + (kBuffer - 2)) / (kBuffer - 1) - 1;
  for (int k = 0; k <= last_chunk; ++k) {
    const int m = k < last_chunk ? kBuffer : h.n - (kBuffer - 1) * last_chunk;
    int got = 1;
    for (int i = 1; i < m; ++i) {
      g = read_pair(xp[i], yp[i]);
      if (g != Got::Ok) break;
      ++got;
    }
    frame::deg2rad(xp + 1, xp + 1, got - 1);
    frame::deg2rad(yp + 1, yp + 1, got - 1);
    if (got >= 2) {
      projection::projlln(cc3dbuff.xe, cc3dbuff.ye, xp, yp, got);
      plot::usline(cc3dbuff.xe, cc3dbuff.ye, got);
    }
    if (g == Got::Error) return LineEnd::ReadError;
    if (g == Got::Eof) {
      early_end_warning();
      return LineEnd::Normal;
    }
    xp[0] = xp[m - 1];
    yp[0] = yp[m - 1];
  }
  return LineEnd::Normal;
}

// A point's longitude reduced about the frame's origin (period 360), except a longitude equal
// to the window's reduced eastern bound, which stays at that bound: on a window of a whole
// turn (-180 to 180) a point at 180 lies on the eastern edge, not on the western one.
float clip_longitude(const ClipFrame& frame, float lon) {
  if (lon == frame.longmax2) return lon;
  float r = 0.0f;
  modulro(&r, &lon, 360.0f, frame.longorig, 1);
  return r;
}

// The polygon drawn point by point with the segment rule, on longitudes reduced about the
// clipping frame's origin (a point on the window's eastern bound stays there).
LineEnd gshhs_clipped(const LineFile& f, const GshhsHeader& h) {
  const ClipWindow w{f.frame.longmin2, f.frame.longmax2, f.window.ymin, f.window.ymax};
  ClippedLine cl(w);
  for (int i = 1; i == 1 || i <= h.n; ++i) {
    float lon = 0.0f, lat = 0.0f;
    const Got g = read_pair(lon, lat);
    if (g == Got::Eof) {
      early_end_warning();
      return LineEnd::Normal;
    }
    if (g == Got::Error) return LineEnd::ReadError;
    lon = clip_longitude(f.frame, lon);
    if (i == 1) {
      cl.first(lon, lat);
    } else {
      cl.next(lon, lat);
    }
  }
  return LineEnd::Normal;
}

LineEnd read_gshhs(LineFile& f) {
  for (;;) {
    std::string line;
    Got g = line_of(line);
    if (g == Got::Eof) return LineEnd::Normal;
    if (g == Got::Error) return LineEnd::ReadError;
    // (2x,i6,i8,i2,2x,f13.3,4(f10.5))
    GshhsHeader h;
    frame::FieldReader r(line);
    r.x(2);
    r.i(6, h.id);
    r.i(8, h.n);
    r.i(2, h.level);
    r.x(2);
    r.f(13, 3, h.area);
    r.f(10, 5, h.west);
    r.f(10, 5, h.east);
    r.f(10, 5, h.south);
    r.f(10, 5, h.north);
    if (!r.ok()) return LineEnd::ReadError;

    LineEnd end;
    if (!f.clip) {
      ++f.curves;
      if (iocom.lwito(2)) say(gshhs_listing(f.curves, h));
      end = gshhs_unclipped(h);
    } else {
      float west2 = 0.0f, east2 = 0.0f;
      bool reversed = false;
      const bool outside = polygon_outside(f.frame, f.window.ymin, f.window.ymax, h.west, h.east,
                                           h.south, h.north, west2, east2, reversed);
      if (reversed) reversed_header_warning(f.curves, h);
      if (outside) {
        // Its points are read and passed over; it is neither counted nor listed.
        for (int i = 1; i <= h.n; ++i) {
          float a = 0.0f, b = 0.0f;
          g = read_pair(a, b);
          if (g == Got::Eof) {
            early_end_warning();
            return LineEnd::Normal;
          }
          if (g == Got::Error) return LineEnd::ReadError;
        }
        continue;
      }
      ++f.curves;
      if (iocom.lwito(2)) {
        say(gshhs_listing(f.curves, h));
        say(listing_reduced(west2, east2));
      }
      end = gshhs_clipped(f, h);
    }
    if (end != LineEnd::Normal) return end;
    // A file that ended inside a polygon has been reported; the next header read ends it.
  }
}

// ---- Type 6: selection polygon ----

void type6_first_line_error(const LineFile& f) {
  frame::errorhead(id_contours1);
  say(fmt::Line().item("WHILE READING 1st LINE OF FILE").item(f.name).str());
  frame::errortail00();
}

void type6_vertex_error(const LineFile& f, int i) {
  frame::errorhead(id_contours1);
  say_int("WHILE READING DATA LINE #", i, 6);
  say(fmt::Line().item("IN FILE").item(f.name).str());
  frame::errortail00();
}

void vertex_count_lines(long long n, long long m) {
  say_int("Number of vertices to read     =", n, 6);
  say_int("Number of vertices to plot     =", m, 6);
}

// Points along a side: the integer part of a * q, at least 2. The product is held at 1001
// before it becomes an integer (the running point then keeps 1000 of them, with a warning).
int side_points(float a, float q) {
  const float aq = a * q;
  if (!(aq >= 2.0f)) return 2;
  if (aq >= 1001.0f) return 1001;
  return static_cast<int>(aq);
}

// The angle between two unit vectors; a dot product that rounds beyond 1 (equal or nearly
// equal vertices) is taken as 1.
float side_angle(const float* v1, const float* v2) {
  float dot = 0.0f;
  geometry::scalprodn(&dot, v1, v2, 3, 1);
  if (dot > 1.0f) dot = 1.0f;
  if (dot < -1.0f) dot = -1.0f;
  return std::acos(dot);
}

void vertex_cosines(float* v, int i) {
  geometry::ll2ccn(&v[0], &v[1], &v[2], &cc2dbuff.xp[i - 1], &cc2dbuff.yp[i - 1], 1);
}

void name_running_point(std::string name) {
  plot::scptnam(std::span<char>(name.data(), name.size()), 1);
}

void side_report(int i, float a) {
  if (!iocom.lwito(2)) return;
  say(fmt::Line().item("Side # ").x().i(i, 3).item("Angle =").x().f(frame::deg(a), 10, 4).str());
  say(fmt::Line().item(plot::ptblock.ptinfo.view()).str());
}

void inconsistent_side(int i) {
  frame::errorhead(id_contours1);
  say(" INCONSISTENT POLYGON CONTOUR:");
  say_int("Side # ", i, 6);
  say(fmt::Line().x().a("Vertex #", 8).x().a("longitude", 8).x().a("latitude", 8).str());
  for (int k = i; k <= i + 1; ++k)
    say(fmt::Line()
            .x()
            .i(k, 8)
            .x()
            .f(frame::deg(cc2dbuff.xp[k - 1]), 8, 3)
            .x()
            .f(frame::deg(cc2dbuff.yp[k - 1]), 8, 3)
            .str());
  say(" ||(OV1 x OV2) x OV1|| = 0");
  say(" V2 = V1 ?");
  say(" ==> SKIPPING THIS SIDE");
  frame::errortail00();
}

// Points per radian of arc.
float points_per_radian(float ptsperdeg) {
  float r180 = 180.0f;
  frame::deg2rad(&r180, &r180, 1);
  return ptsperdeg * 180.0f / r180;
}

void great_circle_sides(int m, float ptsperdeg) {
  if (iocom.lwito(2)) say(" Boundaries = great circles");
  name_running_point("Angle (radians)");
  const float q = points_per_radian(ptsperdeg);
  auto& pb = plot::ptblock;
  for (int i = 1; i <= m - 1; ++i) {
    float v1[3], v2[3], w[3];
    vertex_cosines(v1, i);
    vertex_cosines(v2, i + 1);
    geometry::vecprod3d(w, v1, v2, 1);
    geometry::vecprod3d(w, w, v1, 1);
    float r = 0.0f;
    geometry::vecnorm(&r, w, 3, 1);
    if (!(r > 0.0f)) {
      inconsistent_side(i);
      continue;
    }
    const float w03[3] = {w[0] / r, w[1] / r, w[2] / r};
    const float a = side_angle(v1, v2);
    int np = side_points(a, q);
    plot::set_running_point(np, 0.0f, a, 1);
    side_report(i, a);
    for (pb.ipt = 1; pb.ipt <= np; ++pb.ipt) {
      pb.pt = pb.pti + static_cast<float>(pb.ipt - 1) * pb.ptd;
      const float c = std::cos(pb.pt);
      const float s = std::sin(pb.pt);
      const int k = pb.ipt - 1;
      cc3dbuff.xe[k] = c * v1[0] + s * w03[0];
      cc3dbuff.ye[k] = c * v1[1] + s * w03[1];
      cc3dbuff.ze[k] = c * v1[2] + s * w03[2];
    }
    projection::cc2lln(cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.ze, np);
    projection::projlln(cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.xe, cc3dbuff.ye, np);
    plot::usline(cc3dbuff.xe, cc3dbuff.ye, np);
  }
}

void lonlat_sides(int m, float ptsperdeg) {
  if (iocom.lwito(2)) say(" Boundaries = long,lat lines");
  name_running_point("Barycentic coef");
  const float q = points_per_radian(ptsperdeg);
  auto& pb = plot::ptblock;
  for (int i = 1; i <= m - 1; ++i) {
    float v1[3], v2[3];
    vertex_cosines(v1, i);
    vertex_cosines(v2, i + 1);
    const float a = side_angle(v1, v2);
    int np = side_points(a, q);
    plot::set_running_point(np, 0.0f, 1.0f, 1);
    side_report(i, a);
    const float lon1 = cc2dbuff.xp[i - 1], lat1 = cc2dbuff.yp[i - 1];
    const float lon2 = cc2dbuff.xp[i], lat2 = cc2dbuff.yp[i];
    for (pb.ipt = 1; pb.ipt <= np; ++pb.ipt) {
      pb.pt = pb.pti + static_cast<float>(pb.ipt - 1) * pb.ptd;
      const float t = pb.pt;
      const float c = 1.0f - t;
      const int k = pb.ipt - 1;
      cc3dbuff.xe[k] = c * lon1 + t * lon2;
      cc3dbuff.ye[k] = c * lat1 + t * lat2;
    }
    projection::projlln(cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.xe, cc3dbuff.ye, np);
    plot::usline(cc3dbuff.xe, cc3dbuff.ye, np);
  }
}

void straight_sides(int m) {
  if (iocom.lwito(2)) {
    say(" Boundaries = Xp-Yp lines");
    say_int("Number of sides =", m - 1, 6);
  }
  projection::projlln(cc2dbuff.xp, cc2dbuff.yp, cc2dbuff.xp, cc2dbuff.yp, m);
  plot::usline(cc2dbuff.xp, cc2dbuff.yp, m);
}

LineEnd read_selection(LineFile& f) {
  int n = 0, side = 0, closed = 0;
  float pts = 0.0f;
  {
    frame::ListReader r(kLineUnit);
    r.i(n).i(side).i(closed).f(pts);
    if (!r.ok()) {
      type6_first_line_error(f);
      return LineEnd::ReadError;
    }
  }
  *f.ptsperdeg = pts;
  const bool is_closed = closed == 1;
  // With no vertex there is nothing to read or draw; the file still counts one curve.
  if (n >= 1) {
    const long long wanted = is_closed ? static_cast<long long>(n) + 1 : n;
    int m = static_cast<int>(wanted > kBuffer ? kBuffer : wanted);
    if (wanted > kBuffer) {
      frame::warninghead(id_contours1);
      vertex_count_lines(n, wanted);
      say_int("Max number of vertices to plot =", kBuffer, 6);
      say(" => RESETTING TO:");
      n = is_closed ? kBuffer - 1 : kBuffer;
      vertex_count_lines(n, m);
      frame::warningtail00();
    }
    for (int i = 1; i <= n; ++i) {
      if (read_pair(cc2dbuff.xp[i - 1], cc2dbuff.yp[i - 1]) != Got::Ok) {
        type6_vertex_error(f, i);
        return LineEnd::ReadError;
      }
    }
    if (is_closed) {
      cc2dbuff.xp[m - 1] = cc2dbuff.xp[0];
      cc2dbuff.yp[m - 1] = cc2dbuff.yp[0];
    }
    frame::deg2rad(cc2dbuff.xp, cc2dbuff.xp, m);
    frame::deg2rad(cc2dbuff.yp, cc2dbuff.yp, m);
    if (side == 1) {
      great_circle_sides(m, pts);
    } else if (side == 2) {
      lonlat_sides(m, pts);
    } else {
      straight_sides(m);
    }
  }
  f.curves = 1;
  return LineEnd::Normal;
}

}  // namespace

LineEnd read_line_file(LineFile& f) {
  switch (f.type) {
    case 1: return read_utig(f);
    case 2: return read_ign(f);
    case 3: return read_gebco(f);
    case 4: return read_usgs(f);
    case 5: return read_gshhs(f);
    case 6: return read_selection(f);
    default: return LineEnd::Normal;
  }
}

}  // namespace korbast::maps
