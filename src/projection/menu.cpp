// The projection selection menu: the start-up initialisation of every set-up, the menu of the
// 25 projections, and after a choice the set-ups, derived constants and origin of the chosen
// projection.
#include "projection/menu.hpp"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/constants.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"

namespace korbast::projection {

namespace fmt = frame::fmt;

namespace {

constexpr std::string_view kName = "sprojll2", kVersion = "5", kDate = "16-04-2010";

void (*contours_hook)(int mode) = nullptr;

using namespace frame::console;

bool known(int code) { return code >= 1 && code <= 25; }

// The menu body after its two number lines; "-" stands for a dashed line.
constexpr std::string_view kMenuBody[] = {
    "-",
    "I    - SPHERICAL - CONFORMAL",
    " Transverse mercator ...................1",
    " Lambert conformal conical  ............3",
    " Stereographic (inversion) polar........7",
    " Stereographic (inversion) oblique .....8",
    " Mercator .............................15",
    "-",
    "II   - SPHERICAL - EQUIVALENT",
    " Lambert azimutal equal area polar......5",
    " Lambert azimutal equal area oblique ...6",
    " Albers ...............................19",
    " Bonne ................................20",
    " Werner ...............................21",
    " Sanson-Flamsteed .....................22",
    " Lambert cylindrical normal equivalent 23",
    " Mollweide ............................24",
    "-",
    "III  - SPHERICAL - OTHERS",
    " Orthographic polar.....................9",
    " Orthographic oblique .................10",
    " Perspective polar.....................11",
    " Perspective oblique ..................12",
    " Polyconical ..........................13",
    " Gnonomic polar........................17",
    " Gnonomic oblique .....................18",
    " Van Der Grinten ......................25",
    "-",
    "IV  - ELLIPSOIDAL - CONFORMAL",
    " Transverse mercator ...................2",
    " Lambert conformal conical .............4",
    " Mercator .............................16",
    "-",
    "V   - ELLIPSOIDAL - EQUIVALENT",
    "-",
    "VI  - ELLIPSOIDAL - OTHERS",
    " Lallemand modified polyconical .......14",
    "-",
    "SET AND EXIT ..........................99",
};

void say_menu(int working) {
  const std::string dashes(43, '-');
  say_item("           EARTH MAP PROJECTIONS");
  say_item("    (longitude,latitude) -------> (x,y)");
  say_item(dashes);
  say_int(" current projection number:", projtype.iproj, 4);
  say_int(" setting projection number:", working, 4);
  for (std::string_view line : kMenuBody) say_item(line == "-" ? std::string_view(dashes) : line);
}

void say_lines(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) say_item(line);
}

// The information lines of each projection, printed after it is stored.
void say_information(int code) {
  switch (code) {
    case 1:
      say_lines({"TRANSVERSE MERCATOR SPHERICAL EARTH", "1 parameter:", "  1 central meridien"});
      break;
    case 2:
      say_lines({"TRANSVERSE MERCATOR ELLIPSOIDAL EARTH", "1 parameter:", "  1 central meridien"});
      break;
    case 3:
      say_lines({"LAMBERT CONFORMAL CONICAL SPHERICAL EARTH",
                 "3 parameters:", "  1 central meridien", "  2 standard parallels"});
      break;
    case 4:
      say_lines({"LAMBERT CONFORMAL CONICAL ELLIPSOIDAL EARTH",
                 "3 parameters:", "  1 central meridien", "  2 standard parallels"});
      break;
    case 5:
      say_lines({"AZIMUTHAL EQUAL AREA SPHERICAL EARTH", "LAMBERT (1772)", "POLAR",
                 "1 parameter:", "  1 maximum angle from center"});
      break;
    case 6:
      say_lines({"AZIMUTHAL EQUAL AREA SPHERICAL EARTH", "LAMBERT (1772)", "OBLIQUE",
                 "3 parameters:", "  1 maximum angle from center", "  1 central meridien",
                 "  1 central parallel"});
      break;
    case 7:
      say_lines({"STEREOGRAPHIC CONFORMAL SPHERICAL EARTH", "OR INVERSION SPHERICAL EARTH",
                 "POLAR ", "1 parameter:", "  1 maximum angle from center"});
      break;
    case 8:
      say_lines({"STEREOGRAPHIC CONFORMAL SPHERICAL EARTH", "OR INVERSION SPHERICAL EARTH",
                 "OBLIQUE", "3 parameters:", "  1 maximum angle from center",
                 "  1 central meridien", "  1 central parallel"});
      break;
    case 9:
      say_lines({"ORTHOGRAPHIC SPHERICAL EARTH", "POLAR ",
                 "1 parameter:", "  1 maximum angle from center"});
      break;
    case 10:
      say_lines({"ORTHOGRAPHIC SPHERICAL EARTH", "OBLIQUE", "2 parameters:", "  1 central meridien",
                 "  1 central parallel"});
      break;
    case 11:
      say_lines({"PERSPECTIVE SPHERICAL EARTH", "POLAR ", "1 parameter:", "  1 angle of view"});
      break;
    case 12:
      say_lines({"PERSPECTIVE SPHERICAL EARTH", "OBLIQUE", "3 parameters:", "  1 angle of view",
                 "  1 central meridien", "  1 central parallel"});
      break;
    case 13:
      say_lines({"POLYCONIC SPHERICAL EARTH", "1 parameter:", "  1 central meridien"});
      break;
    case 14:
      // The degree sign is the old character set's byte 0xA1, shown as UTF-8.
      say_lines({"LALLEMAND POLYCONIC ELLIPSOIDAL EARTH",
                 "Used by the International Map of the World", "4 parameters:",
                 "  1 central meridien", "  1 true scale meridien (+2\u00B0E of central)",
                 "  1 northernmost parallel", "  1 southernmost parallel"});
      break;
    case 15:
      say_lines({"MERCATOR SPHERICAL EARTH"});
      break;
    case 16:
      say_lines({"MERCATOR ELLIPSOIDAL EARTH"});
      break;
    case 17:
      say_lines({"GNOMOMIC SPHERICAL EARTH", "POLAR "});
      break;
    case 18:
      say_lines({"GNOMOMIC SPHERICAL EARTH", "OBLIQUE", "2 parameters:", "  1 central meridien",
                 "  1 central parallel"});
      break;
    case 19:
      say_lines({"ALBERS SPHERICAL EARTH", "1 parameter:", "  1 parallel",
                 "  NB: latp1 = 0 is problematic"});
      break;
    case 20:
      say_lines({"BONNE SPHERICAL EARTH", "1 parameter:", "  1 parallel",
                 "  NB: latp1 = 0 is problematic"});
      break;
    case 21:
      say_lines({"WERNER SPHERICAL EARTH"});
      break;
    case 22:
      say_lines({"SANSON-FLAMSTEED SPHERICAL EARTH"});
      break;
    case 23:
      say_lines({"LAMBERT CYLINDRICAL NORMAL EQUIVALENT", "SPHERICAL EARTH    -   LAMBERT (1772)"});
      break;
    case 24:
      say_lines({"MOLLWEIDE SPHERICAL EARTH", "1 parameter:", "  1 central meridien"});
      break;
    case 25:
      say_lines({"VAN DER GRINTEN SPHERICAL EARTH", "1 parameter:", "  1 central meridien"});
      break;
    default:
      break;
  }
}

// A parameter the chosen projection cannot work with. In an even mode the set-ups are run
// again; in an odd mode there is nobody to ask, and the warning is all that can be done.
void warn_unusable(std::initializer_list<std::string> values, std::string_view problem, bool even) {
  frame::warninghead(kName, kVersion, kDate);
  for (const std::string& v : values) say(v);
  say_item(problem);
  say_item(even ? "==> SET IT AGAIN" : "==> MAP COORDINATES WILL NOT BE FINITE");
  frame::warningtail00();
}

std::string angle_line(std::string_view text, float v) {
  return fmt::Line().item(text).x().f(v, 8, 3).str();
}

// The two standard parallels of a Lambert conic: none at a pole, and not opposite about the
// equator (the cone would be a plane).
void conic_parallels(int s) {
  for (;;) {
    float lat1 = 0.0f;
    float lat2 = 0.0f;
    slat1(lat1, s);
    slat2(lat2, s);
    std::string_view problem;
    if (std::fabs(lat1) >= 90.0f || std::fabs(lat2) >= 90.0f) {
      problem = "NO STANDARD PARALLEL AT A POLE";
    } else if (lat1 == -lat2) {
      problem = "OPPOSITE STANDARD PARALLELS GIVE NO CONE";
    } else {
      return;
    }
    const bool even = s % 2 == 0;
    warn_unusable({angle_line("first latitude  =", lat1), angle_line("second latitude =", lat2)},
                  problem, even);
    if (!even) return;
  }
}

// The two bounding parallels of a sheet of the modified polyconic must differ.
void sheet_parallels(int s) {
  for (;;) {
    float lat1 = 0.0f;
    float lat2 = 0.0f;
    slat1(lat1, s);
    slat2(lat2, s);
    if (lat1 != lat2) return;
    const bool even = s % 2 == 0;
    warn_unusable({angle_line("first latitude  =", lat1), angle_line("second latitude =", lat2)},
                  "THE SHEET NEEDS TWO DIFFERENT PARALLELS", even);
    if (!even) return;
  }
}

// The angle of view of a perspective: strictly between 0 and 180 degrees (at 180 every point
// falls onto the centre).
void view_angle(int s) {
  for (;;) {
    float alpha = 0.0f;
    sangle1(alpha, s);
    if (alpha > 0.0f && alpha < 180.0f) return;
    const bool even = s % 2 == 0;
    warn_unusable({angle_line("angle of view =", alpha)}, "THE ANGLE OF VIEW MUST LIE IN ]0,180[",
                  even);
    if (!even) return;
  }
}

// The set-ups and derived constants of a projection, in their order.
void set_up(int code, int s) {
  float tx = 0.0f;
  float ty = 0.0f;
  switch (code) {
    case 1:
    case 2:
    case 13:
    case 24:
    case 25:
      slong1(tx, s);
      break;
    case 3:
      slong1(tx, s);
      conic_parallels(s);
      slcc2();
      break;
    case 4:
      slong1(tx, s);
      conic_parallels(s);
      slcce2();
      break;
    case 5:
    case 7:
    case 9:
      sangle1(tx, s);
      break;
    case 6:
    case 8:
      sangle1(tx, s);
      soblique(tx, ty, s);
      break;
    case 10:
    case 18:
      soblique(tx, ty, s);
      break;
    case 11:
      view_angle(s);
      spers2();
      break;
    case 12:
      view_angle(s);
      spers2();
      soblique(tx, ty, s);
      break;
    case 14:
      // The true-scale meridian starts 2 degrees east of the central one at every choice.
      slong1(tx, s);
      tx += 2.0f;
      slong2(tx, s - 2);
      sheet_parallels(s);
      simwpoly2();
      break;
    case 19:
      slat1(tx, s);
      salbesph2();
      break;
    case 20:
      slat1(tx, s);
      sbonnesph2();
      break;
    default:  // 15, 16, 17, 21, 22, 23: no parameter
      break;
  }
}

bool ellipsoidal(int code) { return code == 2 || code == 4 || code == 14 || code == 16; }

}  // namespace

void set_contours_hook(void (*hook)(int mode)) { contours_hook = hook; }

void sprojll2(int& iproj, int mode) {
  float tx = 0.0f;
  float ty = 0.0f;
  int ie = 0;
  const bool even = mode % 2 == 0;
  if (mode == 2 || mode == 3) {
    iproj = projtype.iproj;
  } else if (mode == 4 || mode == 5) {
    iproj = 15;
    frame::submenuhead(kName, kVersion, kDate);
    say_item("INITIALIZING MAP PROJECTION");
    say_item("(longitude, latitude) --> (x, y)");
    screenproj();
    say_item("Default projection  = Spherical Mercator");
    say_int("projection number =", iproj, 4);
    projtype.iproj = iproj;
    sllorig(tx, ty, mode);
    slong1(tx, mode);
    slong2(tx, mode);
    slat1(tx, mode);
    slat2(tx, mode);
    sangle1(tx, mode);
    sellipsoid(ie, mode);
    soblique(tx, ty, mode);
    if (contours_hook != nullptr) contours_hook(mode);
  } else if (!known(iproj)) {
    frame::errorhead(kName, kVersion, kDate);
    say_int(" projection nb =", iproj, 4);
    say_item("==> NO SUCH PROJECTION NB");
    iproj = 15;
    say_item("==> RESETTING TO:");
    say_int(" projection nb =", iproj, 4);
    frame::errortail00();
  }

  int code = iproj;
  if (frame::iocom.lwito(2) && even) screenproj();
  if (even) {
    // Only the last valid answer before 99 counts; nothing is stored until then.
    for (;;) {
      frame::submenuhead(kName, kVersion, kDate);
      if (frame::iocom.lwito(2)) {
        say_menu(code);
        frame::menutail();
      }
      int answer = 99;
      int status = 0;
      frame::inintegdef(answer, "your choice", 99, status);
      if (answer == 99) break;
      if (known(answer)) {
        code = answer;
      } else {
        frame::warninghead(kName, kVersion, kDate);
        say_item("UNKNOWN ANSWER !");
        say_item("==> BACK TO MENU WITHOUT ACTION");
        frame::warningtail00();
      }
    }
  }

  if (!known(code)) {
    frame::errorhead(kName, kVersion, kDate);
    say_int("iproj =", code, 4);
    say_item("NO SUCH PROJECTION AVALAIBLE");
    say_item("===> NO ACTION");
    frame::errortail00();
    iproj = code;
    return;
  }

  projtype.iproj = code;
  iproj = code;
  const int s = even ? 2 : 3;
  if (ellipsoidal(code)) sellipsoid(ie, s);
  frame::submenuhead(kName, kVersion, kDate);
  say_information(code);
  set_up(code, s);
  sllorig(tx, ty, s);
}

}  // namespace korbast::projection
