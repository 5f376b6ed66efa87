// The forward path every projection shares. A projection is a model: a struct whose members
// are the constants it reads, taken from the state blocks when it is built (once per call of
// the dispatcher), and whose `forward` maps one point (radians) to map units. One loop applies
// a model to arrays of points: the oblique step before it, the origin offsets after it.
#pragma once

#include <optional>
#include <type_traits>

#include "projection/geometry_detail.hpp"
#include "projection/state.hpp"

namespace korbast::projection {

struct XY {
  float x;
  float y;
};

// A model whose points may have no finite image returns std::optional<XY> from its forward,
// empty for such a point; the loop stores (kOffMap, kOffMap) for it, without the offsets.
inline constexpr float kOffMap = 1e20f;

namespace detail {

// The loop with or without the oblique step, each a function of its own: inlined side by side
// into forward_points they would share one body's registers and run slower.
template <class Model, bool kOblique>
[[gnu::noinline]] void forward_loop(float* x, float* y, const float* rlong, const float* rlat,
                                    int n) {
  const Model model{};
  const float x0 = llorig.xorig;
  const float y0 = llorig.yorig;
  for (int i = 0; i < n; ++i) {
    float lam = rlong[i];
    float phi = rlat[i];
    if constexpr (kOblique) lla2llb_point(lam, phi);
    const auto p = model.forward(lam, phi);
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

}  // namespace detail

// x(i), y(i) = the model's image of (rlong(i), rlat(i)), minus the origin offsets, i = 1..n;
// the point is first taken into the oblique frame of `a2b` when `oblique`. x may be rlong and
// y may be rlat: each point is read before it is written.
template <class Model>
void forward_points(float* x, float* y, const float* rlong, const float* rlat, int n,
                    bool oblique) {
  if (oblique) {
    detail::forward_loop<Model, true>(x, y, rlong, rlat, n);
  } else {
    detail::forward_loop<Model, false>(x, y, rlong, rlat, n);
  }
}

// The loop of one model, as the projection table holds it.
using Forward = void (*)(float* x, float* y, const float* rlong, const float* rlat, int n,
                         bool oblique);

}  // namespace korbast::projection
