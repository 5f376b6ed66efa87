#include "plot/symbols.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "frame/angles.hpp"
#include "plot/chain.hpp"
#include "plot/plt2blk.hpp"
#include "plot/primitives.hpp"
#include "plot/userspace.hpp"

namespace korbast::plot {

namespace {

constexpr int kTemplate = 20;
constexpr int kCirclePoints = 20;

using Shape = SymbolShape;

// The symbol type table. A new code is a line here, in code order, with its shape; a new
// shape is also its template in `build` and its drawing in `ussymbol`.
constexpr SymbolType kTypes[] = {
    {0, Shape::Circle, "circle   .................. 0"},
    {1, Shape::Circle, "circle   .................. 1"},
    {2, Shape::Circle, "circle   .................. 2"},
    {3, Shape::Polygon, "triangle .................. 3"},
    {4, Shape::Polygon, "square   .................. 4"},
    {5, Shape::Polygon, "pentagon .................. 5"},
    {6, Shape::Polygon, "hexagon  .................. 6"},
    {7, Shape::Polygon, "heptagon .................. 7"},
    {8, Shape::Polygon, "octogon  .................. 8"},
    {9, Shape::Polygon, "enneagon .................. 9"},
    {10, Shape::Dot, "   .     ................. 10"},
    {11, Shape::Bars, "   -     ................. 11"},
    {12, Shape::Bars, "   |     ................. 12"},
    {13, Shape::Bars, "   +     ................. 13"},
    {14, Shape::Cross, "   x     ................. 14"},
    {15, Shape::Star, "   *     ................. 15"},
    {16, Shape::Rays, "   *     ................. 16"},
    {17, Shape::Rays, "   *     ................. 17"},
    {20, Shape::CircleMarks, "circle . ................. 20"},
    {21, Shape::CircleMarks, "circle - ................. 21"},
    {22, Shape::CircleMarks, "circle | ................. 22"},
    {23, Shape::CircleMarks, "circle + ................. 23"},
    {40, Shape::Square, "square   ..................40"},
};

// A polygon has as many vertices as its code, and the template holds them and the closing one.
constexpr bool polygons_fit() {
  for (const SymbolType& t : kTypes) {
    if (t.shape == Shape::Polygon && (t.code < 3 || t.code >= kTemplate)) return false;
  }
  return true;
}
static_assert(polygons_fit(), "a polygon code must lie in 3..19");

// The shape of a code without its sign: its table line's, or the circle.
Shape shape_of(long long a) {
  for (const SymbolType& t : kTypes) {
    if (t.code == a) return t.shape;
  }
  return Shape::Circle;
}

// The template of one symbol, offsets from the centre in pixels.
struct Template {
  Shape shape = Shape::Circle;
  int a = 0;             // the code without its sign
  bool fill = false;     // closed outlines are filled
  int np = 0;            // points in xs1, ys1
  float xs1[kTemplate] = {};
  float ys1[kTemplate] = {};
  float xs2[4] = {};     // inner marks of the circle codes 21..23
  float ys2[4] = {};
};

void circle(Template& t, float r) {
  const float step = frame::rad(360.0f / 19.0f);
  for (int i = 0; i < kCirclePoints; ++i) {
    const float angle = static_cast<float>(i) * step;
    t.xs1[i] = r * std::cos(angle);
    t.ys1[i] = r * std::sin(angle);
  }
  t.np = kCirclePoints;
}

// The outline of a symbol from its points: xs1, ys1 and their number.
template <std::size_t N>
void outline(Template& t, const float (&x)[N], const float (&y)[N]) {
  std::copy_n(x, N, t.xs1);
  std::copy_n(y, N, t.ys1);
  t.np = static_cast<int>(N);
}

Template build(int type, float r) {
  Template t;
  const long long code = type;
  const long long a = code < 0 ? -code : code;
  t.fill = code < 0;
  t.a = a <= 1000 ? static_cast<int>(a) : 1000;
  t.shape = shape_of(a);
  switch (t.shape) {
    case Shape::Polygon: {
      const float start = frame::rad(90.0f);
      const float step = frame::rad(360.0f / static_cast<float>(a));
      for (int i = 0; i <= t.a; ++i) {
        const float angle = start + static_cast<float>(i) * step;
        t.xs1[i] = r * std::cos(angle);
        t.ys1[i] = r * std::sin(angle);
      }
      t.np = t.a + 1;
      break;
    }
    case Shape::Dot:
      break;
    case Shape::Bars: {
      const float x[4] = {-r, r, 0.0f, 0.0f};
      const float y[4] = {0.0f, 0.0f, -r, r};
      outline(t, x, y);
      break;
    }
    case Shape::Cross: {
      const float d = (std::sqrt(2.0f) / 2.0f) * r;
      const float x[4] = {d, -d, -d, d};
      const float y[4] = {d, -d, d, -d};
      outline(t, x, y);
      break;
    }
    case Shape::Star: {
      const float h = (std::sqrt(3.0f) / 2.0f) * r;
      const float x[6] = {h, -h, 0.0f, 0.0f, -h, h};
      const float y[6] = {r / 2.0f, -r / 2.0f, r, -r, r / 2.0f, -r / 2.0f};
      outline(t, x, y);
      break;
    }
    case Shape::Rays:
      if (t.a == 16) {
        const float h = (std::sqrt(3.0f) / 2.0f) * r;
        const float x[3] = {h, 0.0f, -h};
        const float y[3] = {-r / 2.0f, r, -r / 2.0f};
        outline(t, x, y);
      } else if (t.a == 17) {
        const float c54 = r * std::cos(frame::rad(54.0f));
        const float s54 = r * std::sin(frame::rad(54.0f));
        const float c18 = r * std::cos(frame::rad(18.0f));
        const float s18 = r * std::sin(frame::rad(18.0f));
        const float x[5] = {c54, c18, 0.0f, -c18, -c54};
        const float y[5] = {-s54, s18, r, s18, -s54};
        outline(t, x, y);
      }
      break;
    case Shape::CircleMarks: {
      circle(t, r);
      const float x[4] = {0.0f, 0.0f, -r, r};
      const float y[4] = {-r, r, 0.0f, 0.0f};
      for (int i = 0; i < 4; ++i) {
        t.xs2[i] = x[i];
        t.ys2[i] = y[i];
      }
      break;
    }
    case Shape::Square: {
      const float d = r / std::sqrt(2.0f);
      const float x[5] = {d, -d, -d, d, d};
      const float y[5] = {d, d, -d, -d, d};
      outline(t, x, y);
      break;
    }
    case Shape::Circle:
      circle(t, r);
      break;
  }
  return t;
}

float* xb() { return pltbuff1.xdevbuff; }
float* yb() { return pltbuff1.ydevbuff; }

// A closed outline at the centre: filled for negative codes, else stroked as a polyline.
void closed(const Template& t, float xc, float yc) {
  for (int i = 0; i < t.np; ++i) {
    xb()[i] = xc + t.xs1[i];
    yb()[i] = yc + t.ys1[i];
  }
  if (t.fill) {
    depolygon(xb(), yb(), t.np);
  } else {
    deline(xb(), yb(), t.np);
  }
}

// The stroke between template points i and j (from 0), in buffer positions 1 and 2.
void stroke(const Template& t, int i, int j, float xc, float yc) {
  xb()[0] = xc + t.xs1[i];
  yb()[0] = yc + t.ys1[i];
  xb()[1] = xc + t.xs1[j];
  yb()[1] = yc + t.ys1[j];
  deline(xb(), yb(), 2);
}

// The segment from the centre to itself (buffer positions 1 and 2), drawn as a dot.
void dot(float xc, float yc) {
  xb()[0] = xb()[1] = xc;
  yb()[0] = yb()[1] = yc;
  dedot(xc, yc);
}

}  // namespace

std::span<const SymbolType> symbol_types() { return kTypes; }

void ussymbol(const float* x, const float* y, int n) {
  if (n < 1) return;
  float r = 0.0f;
  lengthcm2de(r, plt2blk.symbolsize);
  r = r * 0.5f;
  const Template t = build(plt2blk.symboltype, r);

  for (int j = 0; j < n; ++j) {
    float xc = 0.0f;
    float yc = 0.0f;
    us2de(&xc, &yc, &x[j], &y[j], 1);
    switch (t.shape) {
      case Shape::Polygon:
      case Shape::Square:
      case Shape::Circle:
        closed(t, xc, yc);
        break;
      case Shape::Dot:
        dot(xc, yc);
        break;
      case Shape::Bars:
        if (t.a == 11 || t.a == 13) stroke(t, 0, 1, xc, yc);
        if (t.a == 12 || t.a == 13) stroke(t, 2, 3, xc, yc);
        break;
      case Shape::Cross:
        stroke(t, 0, 1, xc, yc);
        stroke(t, 2, 3, xc, yc);
        break;
      case Shape::Star:
        stroke(t, 0, 1, xc, yc);
        stroke(t, 2, 3, xc, yc);
        stroke(t, 4, 5, xc, yc);
        break;
      case Shape::Rays:
        us2de(xb(), yb(), &x[j], &y[j], 1);
        for (int i = 0; i < t.np; ++i) {
          xb()[1] = xb()[0] + t.xs1[i];
          yb()[1] = yb()[0] + t.ys1[i];
          deline(xb(), yb(), 2);
        }
        break;
      case Shape::CircleMarks:
        closed(t, xc, yc);
        if (t.a == 20) dot(xc, yc);
        if (t.a == 22 || t.a == 23) {
          for (int i = 0; i < 2; ++i) {
            xb()[i] = xc + t.xs2[i];
            yb()[i] = yc + t.ys2[i];
          }
          deline(xb(), yb(), 2);
        }
        if (t.a == 21 || t.a == 23) {
          for (int i = 2; i < 4; ++i) {
            xb()[i] = xc + t.xs2[i];
            yb()[i] = yc + t.ys2[i];
          }
          deline(xb() + 2, yb() + 2, 2);
        }
        break;
    }
  }
}

}  // namespace korbast::plot
