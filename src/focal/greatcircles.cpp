#include "focal/greatcircles.hpp"

#include <cmath>
#include <string_view>

#include "focal/stereonet.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot/userspace.hpp"
#include "projection/geometry.hpp"

namespace korbast::focal {

Dspgcbk dspgcbk;

namespace {

namespace fmt = frame::fmt;
using frame::Identity;

constexpr Identity kSdspgc{"sdspgc", " 1.1", "12-04-2000"};

using frame::say_item;
using frame::say_rule;

}  // namespace

void dspgcfadn(const float* strike, const float* dip, int n) {
  using plot::cc2dbuff;
  using plot::cc3dbuff;
  using plot::ptblock;
  plot::set_running_point(dspgcbk.np, 0.0f, frame::angle::pi, 101);

  // The unit half circle, t from 0 to pi.
  const int np = ptblock.np;
  for (ptblock.ipt = 1; ptblock.ipt <= np; ++ptblock.ipt) {
    ptblock.pt = static_cast<float>(ptblock.ipt - 1) * ptblock.ptd;
    cc2dbuff.xp[ptblock.ipt - 1] = std::cos(ptblock.pt);
    cc2dbuff.yp[ptblock.ipt - 1] = std::sin(ptblock.pt);
  }

  for (int j = 0; j < n; ++j) {
    const float c1 = std::cos(strike[j]);
    const float s1 = std::sin(strike[j]);
    const float c2 = std::cos(dip[j]);
    const float s2 = std::sin(dip[j]);
    // cos t times the strike direction plus sin t times the down-dip direction (x North,
    // y East, z down): the lower half of the plane's great circle.
    for (int i = 0; i < np; ++i) {
      const float xp = cc2dbuff.xp[i];
      const float yp = cc2dbuff.yp[i];
      cc3dbuff.xe[i] = c1 * xp - s1 * c2 * yp;
      cc3dbuff.ye[i] = s1 * xp + c1 * c2 * yp;
      cc3dbuff.ze[i] = s2 * yp;
    }
    projection::cc2lln(cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.ze, np);
    spron(cc3dbuff.xe, cc3dbuff.ye, cc3dbuff.xe, cc3dbuff.ye, np);
    plot::usline(cc3dbuff.xe, cc3dbuff.ye, np);
  }
}

void sdspgc(int& np, frame::Mode mode) {
  if (mode.from_stored()) np = dspgcbk.np;
  if (mode.from_default()) {
    frame::submenuhead(kSdspgc);
    say_item("INITIALIZING GREAT CIRCLE PARAMETERS");
    np = 40;
  }
  if (mode.menu()) {
    for (;;) {
      frame::submenuhead(kSdspgc);
      say_rule();
      say_item("      GREAT CIRCLES PARAMETERS: ");
      say_rule();
      frame::say_int("nb of points to draw ..........10", np, 6);
      say_rule();
      say_item("EXIT ..........................99");
      say_rule();
      int choice = 99;
      int status = 0;
      frame::inintegdefnp(choice, "your choice", 99, status);
      frame::take_choice(choice, {10, 99});
      if (choice == 99) break;
      if (choice == 10) {
        frame::inintegvindef(np, "nb of pts per great circle", np, 1, 1000, status);
      }
    }
  }
  dspgcbk.np = np;
}

}  // namespace korbast::focal
