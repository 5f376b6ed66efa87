#include "focal/stereonet.hpp"

#include <cmath>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"

namespace korbast::focal {

Sprojtype sprojtype;
Schmidtparams schmidtparams;
Wulfparams wulfparams;

namespace {

namespace fmt = frame::fmt;
using frame::Identity;

constexpr Identity kSspro{"sspro", " 5.3", "07-10-2009"};
constexpr Identity kSschmidt{"sschmidt", "1.20", "06-01-99"};
constexpr Identity kSwulf{"swulf", " 1.3", "07-10-2009"};
constexpr Identity kSpron{"spron", " 2.4", "07-10-2009"};

using frame::say_item;
using frame::say_rule;

// The picture of the menu: a direction projected onto the plane of the net.
constexpr std::string_view kPicture[11] = {
    "          &&&&&&&&&&&&&             ", "           &&&&&&&&&&&              ",
    "             &&&&&#&                ", "               &&& .                ",
    "                    .               ", "     /***************.*************/",
    "    /                 .           / ", "   /                  |          /  ",
    "  /                   V         /   ", " /                    #        /    ",
    "/*****************************/     ",
};

void sspro_menu(int iproj) {
  frame::submenuhead(kSspro);
  say_item("STEREOGRAPHIC PROJECTION SET UP");
  say_item("(azimuth,plunge) ---> (x,y) in plane");
  say_rule();
  for (std::string_view line : kPicture) say_item(line);
  say_rule();
  frame::say_int("current projection number =", iproj, 4);
  say_rule();
  say_item("Projection                   command");
  say_item("Wulff = conformal = Inversion");
  say_item("   direct     X,Y axis ............1");
  say_item("   retrograde X,Y axis ............2");
  say_item("Schmidt = Lambert Azimuthal equal area");
  say_item("   direct     X,Y axis ............3");
  say_item("   retrograde X,Y axis ............4");
  frame::menutail();
}

// The colatitude of a plunge, held at the net's largest one. A NaN is passed on as it is.
float colatitude(float plunge, float maxcolat) {
  float d = frame::angle::half_pi - plunge;
  if (maxcolat < d) d = maxcolat;
  return d;
}

// The set-up shared by the two nets: banner, name frame, stored colatitude.
void net_setup(const Identity& id, std::string_view init_line, std::string_view name_line,
               std::string_view kind_line, float& maxcolat, frame::Mode mode) {
  if (mode.initialising()) {
    frame::submenuhead(id);
    say_item(init_line);
    say_item(kind_line);
    maxcolat = 180.0f;
  }
  if (mode.menu()) {
    frame::submenuhead(id);
    say_item(name_line);
    say_item(kind_line);
    frame::menutail();
  }
}

}  // namespace

void schmidtn(float* u, float* v, const float* az, const float* pl, int n) {
  const float maxcolat = schmidtparams.maxcolat;
  const float factor = schmidtparams.factor;
  for (int i = 0; i < n; ++i) {
    const float a = az[i];
    const float d = colatitude(pl[i], maxcolat);
    const float r = std::sin(d / 2.0f) * factor;
    u[i] = r * std::cos(a);
    v[i] = r * std::sin(a);
  }
}

void wulfn(float* u, float* v, const float* az, const float* pl, int n) {
  const float maxcolat = wulfparams.maxcolat;
  for (int i = 0; i < n; ++i) {
    const float a = az[i];
    const float d = colatitude(pl[i], maxcolat);
    const float r = std::tan(d / 2.0f);
    u[i] = r * std::cos(a);
    v[i] = r * std::sin(a);
  }
}

void spron(float* x, float* y, const float* az, const float* pl, int n) {
  for (;;) {
    switch (sprojtype.iproj) {
      case 1: wulfn(x, y, az, pl, n); return;
      case 2: wulfn(y, x, az, pl, n); return;
      case 3: schmidtn(x, y, az, pl, n); return;
      case 4: schmidtn(y, x, az, pl, n); return;
      default: break;
    }
    frame::errorhead(kSpron);
    frame::say_int("iproj = ", sprojtype.iproj, 5);
    say_item("NO SUCH PROJECTION AVALAIBLE");
    frame::errortail00();
    int iproj = 4;
    sspro(iproj, 0);
  }
}

void sspro(int& iproj, frame::Mode mode) {
  bool bad = false;
  if (mode.from_stored()) iproj = sprojtype.iproj;
  if (mode.initialising()) {
    iproj = 4;
    frame::submenuhead(kSspro);
    say_item("INITIALIZING STEREOGRAPHIC PROJECTION");
    frame::say_int("projection number =", iproj, 4);
    say_item("projection = Schmidt, retrograde X,Y axis");
  }
  for (;;) {
    if (bad || mode.menu()) {
      sspro_menu(iproj);
      int status = 0;
      frame::inintegvindef(iproj, "projection number", iproj, 1, 4, status);
    }
    sprojtype.iproj = iproj;
    float maxcolat = 180.0f;
    if (iproj == 1 || iproj == 2) {
      swulf(maxcolat, 5);
      return;
    }
    if (iproj == 3 || iproj == 4) {
      sschmidt(maxcolat, 5);
      return;
    }
    frame::errorhead(kSspro);
    frame::say_int("iproj = ", iproj, 4);
    say_item("NO SUCH PROJECTION AVALAIBLE");
    frame::errortail00();
    bad = true;
  }
}

void sschmidt(float& maxcolat, frame::Mode mode) {
  net_setup(kSschmidt, "INITIALIZING SCHMIDT PROJECTION", "SCHMIDT PROJECTION",
            "Azimuthal Equal Area (Lambert,1772)", maxcolat, mode);
  schmidtparams.maxcolat = frame::rad(maxcolat);
  schmidtparams.factor = std::sqrt(2.0f);
}

void swulf(float& maxcolat, frame::Mode mode) {
  net_setup(kSwulf, "INITIALIZING WULFF PROJECTION", "WULFF PROJECTION",
            "Inversion or stereographic conformal", maxcolat, mode);
  wulfparams.maxcolat = frame::rad(maxcolat);
}

}  // namespace korbast::focal
