// The parameter set-ups: the five single angles, the map origin, the oblique centre and the
// picture of the projection idea.
#include "projection/setups.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "geometry/sphere.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/geometry.hpp"
#include "projection/geometry_dialog.hpp"
#include "projection/projection.hpp"

namespace korbast::projection {

namespace fmt = frame::fmt;

namespace {

using namespace frame::console;

constexpr float kLatMin = -90.0f;
constexpr float kLatMax = 90.0f;

bool is_latitude(float v) { return kLatMin <= v && v <= kLatMax; }

// A value outside its interval that reached a set-up from its caller: reported, and the value
// held before is kept.
void report_refused(const frame::Identity& id, std::string_view label, float value, float lower,
                    float upper, float kept, bool open = false) {
  frame::warninghead(id);
  say_real(label, value, 8, 3);
  say(frame::interval_line(false, fmt::F(lower, 8, 3), fmt::F(upper, 8, 3), open));
  say_real("==> VALUE KEPT =", kept, 8, 3);
  frame::warningtail00();
}

// ---- The single-angle set-ups ----

struct AngleSetup {
  frame::Identity id;
  float LlpparamBlock::*field;
  float def;
  std::string_view init_line, value_line, title, menu_line, prompt;
  bool checked;  // only values inside [lower, upper] are taken
  float lower, upper;
  bool open = false;  // the bounds themselves are refused: ]lower, upper[
};

// Each set-up's identity, field and default; its console lines (initialising, value, title,
// menu line, prompt); and the interval it takes values in, if any.
constexpr AngleSetup kSlong1{
    {"slong1", " 2.0", "27-08-2002"}, &LlpparamBlock::longp1, 0.0f,
    "INITIALIZING CENTRAL LONGITUDE", "central longitude =", "CENTRAL LONGITUDE SET UP",
    "central longitude .....1", "central longitude in degrees", false, 0.0f, 0.0f};
constexpr AngleSetup kSlong2{
    {"slong2", " 2.0", "29-08-2002"}, &LlpparamBlock::longp2, 0.0f,
    "INITIALIZING CENTRAL LONGITUDE", "central longitude =", "CENTRAL LONGITUDE SET UP",
    "central longitude .....1", "central longitude in degrees", false, 0.0f, 0.0f};
constexpr AngleSetup kSlat1{
    {"slat1", " 1.0", "28-08-2002"}, &LlpparamBlock::latp1, 30.0f,
    "INITIALIZING FIRST LATITUDE", "first latitude =", "FIRST LATITUDE SET UP",
    "first latitude ........1", "first latitude in degrees", true, kLatMin, kLatMax};
constexpr AngleSetup kSlat2{
    {"slat2", " 1.0", "29-08-2002"}, &LlpparamBlock::latp2, 60.0f,
    "INITIALIZING SECOND LATITUDE", "second latitude =", "SECOND LATITUDE SET UP",
    "second latitude ........1", "second latitude in degrees", true, kLatMin, kLatMax};
constexpr AngleSetup kSangle1{
    {"sangle1", " 1.0", "29-08-2002"}, &LlpparamBlock::anglep1, 180.0f,
    "INITIALIZING CENTRAL ANGLE", "central angle =", "CENTRAL ANGLE SET UP",
    "central angle .........1", "central angle in degrees", true, 0.0f, 180.0f};
// The same angle as the perspectives use it, their angle of view: at 180 degrees the eye is on
// the sphere and every point falls onto the centre, at 0 it is infinitely far. A held angle
// they cannot take (the central angle's default of 180) gives way to 90 degrees, the middle of
// what they take: the sphere seen from sqrt(2) radii, the cap within 45 degrees of the centre.
constexpr AngleSetup kViewAngle{
    kSangle1.id, kSangle1.field, 90.0f, kSangle1.init_line, kSangle1.value_line,
    kSangle1.title, kSangle1.menu_line, kSangle1.prompt, true, 0.0f, 180.0f, true};

void angle_setup(const AngleSetup& s, float& value, frame::Mode mode) {
  float& field = llpparam.*s.field;
  const auto inside = [&s](float v) {
    if (!s.checked) return true;
    return s.open ? s.lower < v && v < s.upper : s.lower <= v && v <= s.upper;
  };
  if (mode.from_stored()) {
    value = frame::deg(field);
    // A held value the set-up does not take starts its menu from the default; without a
    // menu it stays, for the caller to judge.
    if (mode.menu() && !inside(value)) value = s.def;
  } else if (mode.from_default()) {
    value = s.def;
    frame::submenuhead(s.id);
    say_item(s.init_line);
    say_real(s.value_line, value, 8, 3);
  } else if (!inside(value)) {
    const float held = frame::deg(field);
    const float kept = inside(held) ? held : s.def;
    report_refused(s.id, s.value_line, value, s.lower, s.upper, kept, s.open);
    value = kept;
  }
  if (mode.menu()) {
    for (;;) {
      frame::submenuhead(s.id);
      say_rule();
      say_item(s.title);
      say_rule();
      say_real(s.menu_line, value, 8, 3);
      const int answer = frame::close_menu("UPDATE & EXIT ........99");
      frame::take_choice(answer, {1, 99});
      int status = 0;
      if (answer == 99) break;
      if (answer != 1) continue;
      if (s.checked && s.open) {
        frame::inrealvinopen(value, s.prompt, value, s.lower, s.upper, status);
      } else if (s.checked) {
        frame::inrealvindef(value, s.prompt, value, s.lower, s.upper, status);
      } else {
        frame::inrealdef(value, s.prompt, value, status);
      }
    }
  }
  field = frame::rad(value);
}

// ---- Map origin ----

constexpr frame::Identity id_sllorig{"sllorig", " 2.0", "11-08-2002"};

// Beyond this an offset is the sentinel of a point without image, or worse.
constexpr float kNoImage = 1e19f;

bool finite_offset(float v) { return std::fabs(v) < kNoImage; }

// The raw map position of the origin (radians) in the current projection: the offsets are
// zero while it is projected. Should the projection have to be reset on the way (no code
// stored yet), the origin is projected again with the code put back.
void project_origin(float rlong, float rlat, float& x0, float& y0) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int code = projtype.iproj;
    llorig.xorig = 0.0f;
    llorig.yorig = 0.0f;
    projlln(&x0, &y0, &rlong, &rlat, 1);
    if (projtype.iproj == code) return;
  }
}

void store_origin(float rlong, float rlat, float x0, float y0) {
  llorig.rlongorig = rlong;
  llorig.rlatorig = rlat;
  llorig.xorig = x0;
  llorig.yorig = y0;
}

void report_no_image(float lon, float lat, bool can_change) {
  frame::warninghead(id_sllorig);
  say_item("THE ORIGIN HAS NO FINITE IMAGE");
  say_item("IN THE CURRENT PROJECTION");
  say_real("longitude =", lon, 8, 3);
  say_real("latitude  =", lat, 8, 3);
  say_item(can_change ? "==> CHOOSE ANOTHER ORIGIN" : "==> MAP COORDINATES WILL NOT BE FINITE");
  frame::warningtail00();
}

// The origin the set-up starts from, in degrees (lon, lat) and radians (rlong, rlat).
void start_origin(float& lon, float& lat, float& rlong, float& rlat, frame::Mode mode) {
  if (mode.from_stored()) {
    // The stored radians are used as they are; only the dialog sees degrees.
    rlong = llorig.rlongorig;
    rlat = llorig.rlatorig;
    lon = frame::deg(rlong);
    lat = frame::deg(rlat);
    return;
  }
  if (mode.from_default()) {
    lon = kDefaultOriginLon;
    lat = kDefaultOriginLat;
    frame::submenuhead(id_sllorig);
    say_item("MAP PROJECTION ORIGIN SET UP");
    say_item("INITIALIZING ORIGIN TO");
    say_real("longitude =", lon, 8, 3);
    say_real("latitude  =", lat, 8, 3);
  } else if (!is_latitude(lat)) {
    const float held = frame::deg(llorig.rlatorig);
    const float kept = is_latitude(held) ? held : kDefaultOriginLat;
    report_refused(id_sllorig, "latitude  =", lat, kLatMin, kLatMax, kept);
    lat = kept;
  }
  rlong = frame::rad(lon);
  rlat = frame::rad(lat);
}

// The origin: degrees for the dialog, radians, and its map position.
struct Origin {
  float lon, lat, rlong, rlat, x0, y0;
};

// The origin's menu until 99; the origin is projected again after every change.
void origin_menu(Origin& o) {
  for (;;) {
    frame::submenuhead(id_sllorig);
    if (frame::iocom.lwito(2)) {
      say_rule();
      say_item("MAP PROJECTION ORIGIN SET UP");
      say_rule();
      say_real("central longitude .....1", o.lon, 8, 3);
      say_real("central latitude  .....2", o.lat, 8, 3);
      say_real("X offset ...............", o.x0, 8, 3);
      say_real("Y offset ...............", o.y0, 8, 3);
      say_rule();
      say_item("UPDATE & EXIT ........99");
      frame::menutail();
    }
    const int answer = frame::menu_choice();
    frame::take_choice(answer, {1, 2, 99});  // 99 may yet be refused (ask_origin)
    int status = 0;
    if (answer == 99) return;
    if (answer == 1) {
      frame::inrealdef(o.lon, "origin longitude in degrees", o.lon, status);
      o.rlong = frame::rad(o.lon);
    } else if (answer == 2) {
      frame::inrealvindef(o.lat, "origin latitude in degrees", o.lat, kLatMin, kLatMax, status);
      o.rlat = frame::rad(o.lat);
    }
    project_origin(o.rlong, o.rlat, o.x0, o.y0);
  }
}

// The origin's menu until it is left with an origin that has a finite image; after a refusal
// the menu starts again from the origin held before.
void ask_origin(Origin& origin) {
  frame::ask_until_taken(origin, origin_menu, [](const Origin& o) {
    if (finite_offset(o.x0) && finite_offset(o.y0)) return true;
    report_no_image(o.lon, o.lat, true);
    return false;
  });
}

// ---- Oblique centre ----

constexpr frame::Identity id_soblique{"soblique", " 3.0", "25-10-2002"};

// The centre last applied, radians; zero before the first call.
float kept_centre_long = 0.0f;
float kept_centre_lat = 0.0f;

// The centre's menu until 99.
void centre_menu(float& lon, float& lat) {
  for (;;) {
    frame::submenuhead(id_soblique);
    say_rule();
    say_item("OBLIQUE PROJECTIONS CENTRAL LOCATION SET UP");
    say_rule();
    say_real("central longitude .....1", lon, 8, 3);
    say_real("central latitude ......2", lat, 8, 3);
    const int answer = frame::close_menu("UPDATE & EXIT ........99");
    frame::take_choice(answer, {1, 2, 99});
    int status = 0;
    if (answer == 99) return;
    if (answer == 1) {
      frame::inrealdef(lon, "central longitude in degrees", lon, status);
    } else if (answer == 2) {
      frame::inrealvindef(lat, "central latitude in degrees", lat, kLatMin, kLatMax, status);
    }
  }
}

}  // namespace

void slong1(float& value, frame::Mode mode) { angle_setup(kSlong1, value, mode); }
void slong2(float& value, frame::Mode mode) { angle_setup(kSlong2, value, mode); }
void slat1(float& value, frame::Mode mode) { angle_setup(kSlat1, value, mode); }
void slat2(float& value, frame::Mode mode) { angle_setup(kSlat2, value, mode); }
void sangle1(float& value, frame::Mode mode) { angle_setup(kSangle1, value, mode); }
void sviewangle(float& value, frame::Mode mode) { angle_setup(kViewAngle, value, mode); }

void sllorig(float& lon, float& lat, frame::Mode mode) {
  Origin o{lon, lat, 0.0f, 0.0f, 0.0f, 0.0f};
  start_origin(o.lon, o.lat, o.rlong, o.rlat, mode);
  project_origin(o.rlong, o.rlat, o.x0, o.y0);
  if (mode.menu()) {
    ask_origin(o);
  } else if (!finite_offset(o.x0) || !finite_offset(o.y0)) {
    report_no_image(o.lon, o.lat, false);
  }
  store_origin(o.rlong, o.rlat, o.x0, o.y0);
  lon = o.lon;
  lat = o.lat;
}

void place_origin(float rlong, float rlat) {
  float x0 = 0.0f;
  float y0 = 0.0f;
  project_origin(rlong, rlat, x0, y0);
  store_origin(rlong, rlat, x0, y0);
}

void soblique(float& lon, float& lat, frame::Mode mode) {
  if (mode.from_stored()) {
    lon = frame::deg(kept_centre_long);
    lat = frame::deg(kept_centre_lat);
  } else if (mode.from_default()) {
    lon = 0.0f;
    lat = 45.0f;
    frame::submenuhead(id_soblique);
    say_item("INITIALIZING CENTRAL LOCATION");
    say_item("FOR OBLIQUE PROJECTIONS");
    say_real("central longitude =", lon, 8, 3);
    say_real("central latitude  =", lat, 8, 3);
  }
  if (!is_latitude(lat)) {
    const float held = frame::deg(kept_centre_lat);
    const float kept = is_latitude(held) ? held : 45.0f;
    report_refused(id_soblique, "central latitude  =", lat, kLatMin, kLatMax, kept);
    lat = kept;
  }
  if (mode.menu()) centre_menu(lon, lat);
  const float lam0 = frame::rad(lon);
  const float phi0 = frame::rad(lat);
  kept_centre_long = lam0;
  kept_centre_lat = phi0;
  set_oblique_frame(lam0, phi0);
}

void set_oblique_frame(float lam0, float phi0) {
  // Columns: toward the south along the centre's meridian, toward the east, the centre.
  const float pi2 = frame::angle::half_pi;
  const float lons[3] = {lam0, lam0 + pi2, lam0};
  const float lats[3] = {phi0 - pi2, 0.0f, phi0};
  float m[9];
  for (int k = 0; k < 3; ++k)
    geometry::ll2ccn(&m[3 * k], &m[3 * k + 1], &m[3 * k + 2], &lons[k], &lats[k], 1);
  geometry::mtrans(m, m);
  smatab33(m, frame::Mode::kCaller);
}

void screenproj() {
  static constexpr std::string_view kPicture[14] = {
      "                     &&&",
      "                   &&&&&&&",
      "                 &&&&&&&&&&&",
      "                &&&&&&&&&&&&&",
      "                 &&&&&&&&&&&",
      "                   &#&&&&&",
      "                    |&&&",
      "                    |",
      "     /**************|********************/",
      "    /               |                   /",
      "   /                V                  /",
      "  /                 #                 /",
      " /                                   /",
      "/***********************************/",
  };
  for (std::string_view line : kPicture) {
    std::string s(line);
    s.resize(kRuleWidth, ' ');  // every line as wide as the rules
    say_item(s);
  }
}

namespace detail {

void reset_setup_state() {
  kept_centre_long = 0.0f;
  kept_centre_lat = 0.0f;
  reset_ellipsoid_number();
}

}  // namespace detail

}  // namespace korbast::projection
