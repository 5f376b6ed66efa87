#include "plot/primitives.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

constexpr frame::Identity id_deplot_vk{"deplot.vk", " 1.0", "12-11-2005"};
constexpr std::size_t kTextMax = 199;

using frame::say;
using frame::say_item;

// The platform colour of a colour index (indices outside the table are taken at its ends).
platform::Rgb colour(int index) {
  const int i = std::clamp(index, 0, 12);
  return {plt2blk.red[i] / 100.0f, plt2blk.green[i] / 100.0f, plt2blk.blue[i] / 100.0f};
}

bool colour_plot() { return plt2blk.colormode == 1; }

// The path of points 1..n; one point gives a segment of length 0 at it.
void build_path(platform::Canvas& c, const float* x, const float* y, int n) {
  c.path_begin();
  if (!x || !y) return;
  c.path_move(x[0], y[0]);
  if (n == 1) {
    c.path_line(x[0], y[0]);
  } else {
    for (int i = 1; i < n; ++i) c.path_line(x[i], y[i]);
  }
}

// The open polyline through points 1..n, stroked (as a dot when asked).
void stroke_line(const float* x, const float* y, int n, bool dot) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  if (colour_plot()) c->set_stroke_rgb(colour(plt2blk.linecolor));
  build_path(*c, x, y, n);
  if (dot) {
    c->path_stroke_dot();
  } else {
    c->path_stroke();
  }
  c->sync();
}

}  // namespace

void deplot(float x, float y, int ipen) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1 && ipen == 0) endpath();
  if (view.pathopen == 0 && (ipen == 0 || ipen == 1)) {
    if (ipen == 1) {
      frame::warninghead(id_deplot_vk);
      say_item("Path begins with Draw instead of Move");
      say_item("=> Start new path at current point");
      frame::warningtail00();
    }
    if (colour_plot()) c->set_stroke_rgb(colour(plt2blk.linecolor));
    view.pathopen = 1;
    c->path_begin();
    c->path_move(x, y);
  }
  if (ipen == 1) {
    c->path_line(x, y);
  } else if (ipen != 0) {
    frame::warninghead(id_deplot_vk);
    frame::units::write_line(iocom.stdout_unit,
                             fmt::Line().item("deplot called with ipen =").x(1).i(ipen, 6).str());
    say_item("=> NO ACTION");
    frame::warningtail00();
  }
}

void deline(const float* x, const float* y, int n) { stroke_line(x, y, n, false); }

void dedot(float x, float y) { stroke_line(&x, &y, 1, true); }

void depolygon(const float* x, const float* y, int n) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  if (colour_plot()) {
    c->set_stroke_rgb(colour(plt2blk.linecolor));
    if (plt2blk.fillstyle != 0) c->set_fill_rgb(colour(plt2blk.fillcolor));
  }
  build_path(*c, x, y, n);
  c->path_close();
  if (plt2blk.fillstyle == 0) {
    c->path_stroke();
  } else {
    c->path_fill_stroke();
  }
  c->sync();
}

void detext2(float x, float y, std::string_view text) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  if (colour_plot()) {
    c->set_stroke_rgb(colour(plt2blk.textcolor));
    c->set_fill_rgb(colour(plt2blk.textcolor));
  }

  // The characters: trimmed for negative codes, at most 199.
  std::string_view chars = text;
  const int code = plt2blk.textalign;
  if (code < 0) {
    int first = 0;
    int last = 0;
    frame::textlen(first, last, text);
    if (first >= 1 && last >= first) {
      chars = text.substr(static_cast<std::size_t>(first - 1),
                          static_cast<std::size_t>(last - first + 1));
    } else {
      chars = {};
    }
  }
  if (chars.size() > kTextMax) chars = chars.substr(0, kTextMax);

  // Horizontal offset along the text: none, half the width or the width.
  const int a = std::abs(code);
  double d = 0.0;
  if (a == 2 || a == 6 || a == 10 || a == 3 || a == 7 || a == 11) {
    const double w = std::fabs(c->text_advance(chars));
    d = (a == 2 || a == 6 || a == 10) ? w / 2.0 : w;
  }

  // Vertical offset below the point: none, half the text height or the text height.
  const float hpix = plt2blk.textheight * plt1blk.devscale;
  float e = 0.0f;
  if (a >= 5 && a <= 8) {
    e = hpix / 2.0f;
  } else if (a >= 9 && a <= 11) {
    e = hpix;
  }

  // The turn of the text.
  double cs = 1.0;
  double sn = 0.0;
  double angle = 0.0;
  if (plt2blk.textangle != 0.0f) {
    float radians = 0.0f;
    const float degrees = plt2blk.textangle;
    frame::deg2rad(&radians, &degrees, 1);
    angle = radians;
    cs = std::cos(angle);
    sn = std::sin(angle);
  }

  // 7, 8. The drawing point, moved back along the text by d and down across it by e.
  const double xd = x - d * cs + e * sn;
  const double yd = y - d * sn - e * cs;
  c->text_show(xd, yd, angle, chars);
  c->sync();
}

void deshared_begin(float x, float y, bool blank) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  c->shared_begin(x, y, blank);
}

void deshared_end() {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  c->shared_end();
}

void intslinewidth(float w) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  c->set_line_width(w < 1.0f ? 1.0f : w);
}

void intstextsize(float h) {
  platform::Canvas* c = view.context;
  if (!c) return;
  if (view.pathopen == 1) endpath();
  c->set_font_size(h * 28.346457f * plt1blk.devscale / windevsize.pxpcm);
}

}  // namespace korbast::plot
