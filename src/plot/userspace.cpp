#include "plot/userspace.hpp"

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/chain.hpp"
#include "plot/primitives.hpp"

namespace korbast::plot {

constexpr frame::Identity id_buffer2{"buffer2", " 2.3", "16-03-2009"};
constexpr frame::Identity id_uspolygon{"uspolygon", " 3.1", "16-03-2009"};

Pltbuff1 pltbuff1;

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using namespace frame::console;

}  // namespace

void buffer2(float* xb, float* yb, int nbmax, int& nb, const float* x, const float* y, int nx,
             int& is) {
  if (is > nx || is < 1) {
    frame::errorhead(id_buffer2);
    say(fmt::Line().item("is = ").x(1).i(is, 6).item(" > nx =").x(1).i(nx, 6).str());
    say_item("attempt to read past array");
    frame::errortail00();
    return;
  }
  int last = is + nbmax - 1;
  nb = nbmax;
  if (last > nx) {
    nb = nx - is + 1;
    last = nx;
  }
  for (int k = 0; k < nb; ++k) {
    xb[k] = x[is - 1 + k];
    yb[k] = y[is - 1 + k];
  }
  is = last;
}

namespace {

// The next buffer-full of the points from point `is` on, converted to device units and
// drawn by `draw`; `is` moves to the last point taken. False when `is` was past the points
// (buffer2 has reported it) and nothing was drawn.
bool draw_next_chunk(const float* x, const float* y, int n, int& is,
                     void (*draw)(const float*, const float*, int)) {
  const int start = is;
  int nb = 0;
  buffer2(pltbuff1.xdevbuff, pltbuff1.ydevbuff, kPlotBuffer, nb, x, y, n, is);
  if (start > n) return false;
  us2de(pltbuff1.xdevbuff, pltbuff1.ydevbuff, pltbuff1.xdevbuff, pltbuff1.ydevbuff, nb);
  draw(pltbuff1.xdevbuff, pltbuff1.ydevbuff, nb);
  return true;
}

}  // namespace

void usline(const float* x, const float* y, int n) {
  // A list with no point reports the empty chunk in buffer2 and draws nothing.
  int is = 1;
  do {
    if (!draw_next_chunk(x, y, n, is, deline)) return;
  } while (is < n);
}

void usplot(float x, float y, int ipen) {
  float xde = 0.0f;
  float yde = 0.0f;
  us2de(&xde, &yde, &x, &y, 1);
  deplot(xde, yde, ipen);
}

void uspolygon(const float* x, const float* y, int n) {
  int is = 1;
  for (;;) {
    if (!draw_next_chunk(x, y, n, is, depolygon)) return;
    if (is >= n) return;
    frame::warninghead(id_uspolygon);
    say_int("Polygone vertices =", n, 6);
    say_int("Plot buffer size  =", kPlotBuffer, 6);
    say_item("==> Decomposing in smaller polygons");
    frame::warningtail00();
  }
}

void usarrow1(const float* x1, const float* y1, const float* x2, const float* y2, int n) {
  for (int i = 0; i < n; ++i) {
    const float tx = x1[i];
    const float ty = y1[i];
    const float hx = x2[i];
    const float hy = y2[i];
    // The head's base lies 60 % of the way from the tail; its half-width is a quarter of that.
    const float dx = 0.6f * (hx - tx);
    const float dy = 0.6f * (hy - ty);
    const float bx = tx + dx;
    const float by = ty + dy;
    const float wx = -0.25f * dy;
    const float wy = 0.25f * dx;
    const float shaft_x[2] = {tx, bx};
    const float shaft_y[2] = {ty, by};
    usline(shaft_x, shaft_y, 2);
    const float head_x[4] = {bx + wx, bx - wx, hx, bx + wx};
    const float head_y[4] = {by + wy, by - wy, hy, by + wy};
    usline(head_x, head_y, 4);
  }
}

void usshared_begin(float x, float y, bool blank) {
  float xde = 0.0f;
  float yde = 0.0f;
  us2de(&xde, &yde, &x, &y, 1);
  deshared_begin(xde, yde, blank);
}

void usshared_end() { deshared_end(); }

void ustext2(float x, float y, std::string_view text) {
  float xde = 0.0f;
  float yde = 0.0f;
  us2de(&xde, &yde, &x, &y, 1);
  detext2(xde, yde, text);
}

}  // namespace korbast::plot
