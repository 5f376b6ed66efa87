#include "maps/stress.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "maps/shapes.hpp"

namespace korbast::maps {

namespace fmt = frame::fmt;

namespace {

constexpr frame::Identity kSiap2sv{"siap2sv", " 1.0", "10-07-2002"};

void plunge_report(int axis, int datum) {
  frame::errorhead(kSiap2sv);
  frame::say_item("Out of range plunge for");
  frame::say_int("iSi     =", axis, 10);
  frame::say_int("data nb =", datum, 10);
  frame::errortail00();
}

void combination_report(int ishmax, int isv, int datum) {
  frame::errorhead(kSiap2sv);
  frame::say_item("Out of range value");
  frame::say_int("iShmax  =", ishmax, 10);
  frame::say_int("iSv     =", isv, 10);
  frame::say_int("data nb =", datum, 10);
  frame::errortail00();
}

}  // namespace

void siap2sv(float* azshmax, int* isv, geometry::AxesView axes, float thr, int n) {
  if (n < 1) return;
  const float* const az1 = axes.azimuth[0];
  const float* const az2 = axes.azimuth[1];
  const float* const az3 = axes.azimuth[2];
  const float halfpi = frame::angle::half_pi;
  const float plmax = frame::angle::half_pi_above;
  for (int i = 0; i < n; ++i) {
    int iv = 0;
    int ih = 0;
    float vmax = 0.0f;
    float vmin = 2.0f;  // above any valid plunge
    float a[3] = {std::fabs(axes.plunge[0][i]), std::fabs(axes.plunge[1][i]),
                  std::fabs(axes.plunge[2][i])};
    for (int k = 0; k < 3; ++k) {
      int status = 0;
      frame::crevin2("plunge", a[k], 0.0f, plmax, "siap2sv", 1, status);
      if (status != 0) plunge_report(k + 1, i + 1);
    }
    // Plunges within the angle tolerance of one another are one plunge: a later axis takes
    // the place of a kept one only when it is steeper (flatter) by more than that, so ties
    // keep the lower axis number also where the last bits of equal plunges differ, and one
    // mechanism written two ways (rake 180 or -180) gives one answer. The first axis steeper
    // than 0 is kept whatever its plunge.
    const float tol = frame::angle::tolerance;
    float steepest = 0.0f;
    for (int k = 0; k < 3; ++k) {
      if (a[k] > vmax + (iv == 0 ? 0.0f : tol)) {
        iv = k + 1;
        vmax = a[k];
      }
      if (a[k] < vmin - tol) {
        ih = k + 1;
        vmin = a[k];
      }
      if (a[k] > steepest) steepest = a[k];
    }
    if (ih == 1) {
      azshmax[i] = az1[i];
    } else if (ih == 2 && iv == 1) {
      azshmax[i] = az2[i];
    } else if (ih == 2 && iv == 3) {
      azshmax[i] = az2[i] + halfpi;
    } else if (ih == 3) {
      azshmax[i] = az3[i] + halfpi;
    } else {
      // No direction can be derived: the map and the Si-Sh line get 0 rather than whatever
      // the caller's array held.
      combination_report(ih, iv, i + 1);
      azshmax[i] = 0.0f;
    }
    // The flag looks at the steepest plunge itself, not at the kept axis's (which may lie
    // below it by up to the tolerance).
    if (steepest < thr) iv = -iv;
    isv[i] = iv;
  }
  na2pin(azshmax, azshmax, n);
}

void writepbsv(const float* azshmax, const int* isv, geometry::AxesView axes, int n, int iunit) {
  const bool console = iunit == 6;
  const std::string_view sep = console ? "|" : "\t";
  const std::string dashes = frame::rule_line('-', 74);
  if (console) frame::units::write_line(iunit, dashes);
  fmt::Line head;
  head.x(1).a("data nb", 7).a(sep).a("isv", 3);
  for (std::string_view w :
       {"azshmax", "azim.S1", "plung.S1", "azim.S2", "plung.S2", "azim.S3", "plung.S3"}) {
    head.a(sep).a(w, 8);
  }
  frame::units::write_line(iunit, head.str());
  if (console) frame::units::write_line(iunit, dashes);
  for (int i = 0; i < n; ++i) {
    if (isv[i] >= 1 && isv[i] <= 3) continue;
    fmt::Line rec;
    rec.x(1).i(i + 1, 7).a(sep).i(isv[i], 3);
    for (float v : {azshmax[i], axes.azimuth[0][i], axes.plunge[0][i], axes.azimuth[1][i],
                    axes.plunge[1][i], axes.azimuth[2][i], axes.plunge[2][i]}) {
      rec.a(sep).f(frame::deg(v), 8, 1);
    }
    frame::units::write_line(iunit, rec.str());
  }
}

}  // namespace korbast::maps
