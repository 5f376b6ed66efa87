// Circles and arcs: the point count in single precision, the running-point set-up, the angle
// accumulated point by point, one polyline.
#include "plot/circles.hpp"

#include <cmath>

#include "frame/angles.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot/userspace.hpp"

namespace korbast::plot {

void usacircle(float xc, float yc, float r, float a1, float a2, int npfull) {
  const float twopi = frame::angle::two_pi;
  // The product is rounded to single precision before the division; a huge count is held
  // before it becomes an integer, and the running point then keeps 1000 of it.
  const float turns = static_cast<float>(npfull) * std::fabs(a2 - a1);
  int n = truncated_count(turns / twopi);
  scptnp(n, 1);
  float ti = a1;
  float tf = a2;
  scptif(ti, tf, 1);
  scptend(101, 1);

  Ptblock& p = ptblock;
  p.pt = p.pti - p.ptd;
  for (p.ipt = 1; p.ipt <= p.np; ++p.ipt) {
    p.pt = p.pt + p.ptd;
    cc2dbuff.xp[p.ipt - 1] = xc + r * std::cos(p.pt);
    cc2dbuff.yp[p.ipt - 1] = yc + r * std::sin(p.pt);
  }
  usline(cc2dbuff.xp, cc2dbuff.yp, p.np);
}

void uscircle(float xc, float yc, float r, int npfull) {
  usacircle(xc, yc, r, 0.0f, frame::angle::two_pi, npfull);
}

}  // namespace korbast::plot
