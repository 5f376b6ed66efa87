// The forward path every projection shares. A projection is a model: a struct whose members
// are the constants it reads, taken from the state blocks when it is built (once per call of
// its routine) or given by the routine's arguments, and whose `forward` maps one point
// (radians) to map units. Each projection's routine (`tm2`, `lazea2`, ...) is the loop of its
// model over arrays of points, the origin offsets subtracted after it; the oblique forms of
// the polar azimuthal projections take the points into the oblique frame first (`lla2llb`)
// and run the polar routine on them in place.
#pragma once

#include <optional>
#include <type_traits>

#include "projection/state.hpp"

namespace korbast::projection {

struct XY {
  float x;
  float y;
};

// A model whose points may have no finite image returns std::optional<XY> from its forward,
// empty for such a point; the loop stores (kOffMap, kOffMap) for it, without the offsets.
inline constexpr float kOffMap = 1e20f;

// x(i), y(i) = the image of (rlong(i), rlat(i)) under `model`, minus (x0, y0), i = 1..n. x
// may be rlong and y may be rlat: each point is read before it is written. The model is taken
// by value: a copy of its own, which the stores into x and y cannot alias.
template <class Model>
void forward_points(const Model model, float x0, float y0, float* x, float* y,
                    const float* rlong, const float* rlat, int n) {
  for (int i = 0; i < n; ++i) {
    const auto p = model.forward(rlong[i], rlat[i]);
    if constexpr (std::is_same_v<decltype(p), const std::optional<XY>>) {
      if (!p) {
        x[i] = kOffMap;
        y[i] = kOffMap;
        continue;
      }
      x[i] = p->x - x0;
      y[i] = p->y - y0;
    } else {
      x[i] = p.x - x0;
      y[i] = p.y - y0;
    }
  }
}

// The loop of a model built from the state blocks, with the origin offsets of `llorig`: the
// body of every projection routine of five arguments.
template <class Model>
void forward_points(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points(Model{}, llorig.xorig, llorig.yorig, x, y, rlong, rlat, n);
}

// A projection routine as the dispatcher calls it: x(i), y(i) from rlong(i), rlat(i), i = 1..n.
using Forward = void (*)(float* x, float* y, const float* rlong, const float* rlat, int n);

}  // namespace korbast::projection
