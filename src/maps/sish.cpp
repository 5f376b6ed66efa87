#include "maps/sish.hpp"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::maps {

namespace fmt = frame::fmt;

namespace {

// A stored 10-character text as the line shows it: all 10 characters, left as they stand.
std::string as_stored(const frame::Text<10>& t) {
  std::string s(t.view());
  s.resize(10, ' ');
  return s;
}

// The SHmax field (6 characters, 1 decimal): degrees modulo 180, in [0, 180) also after the
// rounding, where a value that rounds up to 180 is the direction 0.
std::string shmax_field(float azshmax) {
  const float sh = std::fmod(frame::deg(azshmax), 180.0f);
  std::string field = fmt::F(sh, 6, 1);
  if (field == fmt::F(180.0, 6, 1)) field = fmt::F(0.0, 6, 1);
  return field;
}

}  // namespace

std::string sish_header_line() {
  fmt::Line l;
  l.x(1).a("Date", 10).x(1).a("Time", 10).x(1).a("Latitude", 6).x(1).a("Longitude", 7);
  l.x(1).a("Depth", 5).x(1).a("Strike", 5).x(1).a("Dip", 4).x(1).a("Rake", 5);
  for (std::string_view s : {"S1", "S2", "S3"}) {
    l.x(1).a(std::string(s) + "_azi", 6).x(1).a(std::string(s) + "_plg", 5);
  }
  l.x(1).a("Sv", 2).x(1).a("AzSHmx", 6);
  return l.str();
}

std::string sish_record_line(const frame::Text<10>& date, const frame::Text<10>& time, float lat,
                             float lon, float depth, const geometry::PlaneAngles& plane,
                             const geometry::Axes& axes, int isv, float azshmax) {
  fmt::Line l;
  l.x(1).a(as_stored(date)).x(1).a(as_stored(time));
  l.x(1).f(lat, 6, 2).x(1).f(lon, 7, 2).x(1).f(depth, 5, 1);
  l.x(1).f(plane.strike, 5, 0).x(1).f(plane.dip, 4, 0).x(1).f(plane.rake, 5, 0);
  for (int k = 0; k < 3; ++k) {
    l.x(1).f(frame::deg(axes.azimuth[k]), 6, 1).x(1).f(frame::deg(axes.plunge[k]), 5, 1);
  }
  l.x(1).i(std::abs(isv), 1).x(2).a(shmax_field(azshmax));
  return l.str();
}

int sish_begin(int kout, const frame::Identity& caller) {
  const bool slot_ok = kout >= 1 && kout <= frame::max_output_slots;
  if (slot_ok && frame::fiocom.iopou[kout - 1]) {
    const int unit = frame::fiocom.iouf[kout - 1];
    frame::units::write_line(unit, sish_header_line());
    return unit;
  }
  frame::warninghead(caller);
  frame::say(fmt::Line().item("Si-Sh output slot").x(1).i(kout, 3).item("is not open").str());
  frame::say_item("==> NO Si-Sh LINES WRITTEN IN THIS RUN");
  frame::warningtail00();
  return 0;
}

void sish_write_record(int unit, const frame::Text<10>& date, const frame::Text<10>& time,
                       float lat, float lon, float depth, const geometry::PlaneAngles& plane,
                       const geometry::Axes& axes, int isv, float azshmax) {
  if (unit == 0) return;
  frame::units::write_line(unit,
                           sish_record_line(date, time, lat, lon, depth, plane, axes, isv, azshmax));
}

}  // namespace korbast::maps
