#include "pages/page_ops.hpp"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>

#include "pages/page_stamp.hpp"

namespace korbast::pages {

namespace {

void set_source(cairo_t* cr, const platform::Rgb& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

}  // namespace

std::int32_t to_fixed(double v) {
  // The magic-number rounding Cairo uses: the low word of v + 1.5 * 2^44 holds v * 256
  // rounded to the nearest (ties to even).
  const double magic = 26388279066624.0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(v + magic)));
}

void put_number(std::string& out, double v, int decimals) {
  static constexpr long long kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
  const long long scale = kScale[decimals];
  long long q = std::llround(v * static_cast<double>(scale));
  char buf[40];
  char* p = buf;
  if (q < 0) {
    *p++ = '-';
    q = -q;
  }
  if (q / scale != 0 || q == 0) p = std::to_chars(p, buf + sizeof buf, q / scale).ptr;
  long long frac = q % scale;
  if (frac != 0) {
    *p++ = '.';
    for (long long d = scale / 10; d > 0 && frac != 0; d /= 10) {
      *p++ = static_cast<char>('0' + frac / d);
      frac %= d;
    }
  }
  out.append(buf, p);
}

cairo_font_face_t* page_font_face() {
  // Made as the toy face "DejaVu Sans" is (family, upright, medium weight), but one for each
  // thread: Cairo shares a face's scaled fonts, and threads drawing or measuring text with a
  // shared one wait on each other's every text.
  struct Face {
    cairo_font_face_t* face;
    Face() {
      FcPattern* pattern = FcPatternCreate();
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
      FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
      FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_MEDIUM);
      face = cairo_ft_font_face_create_for_pattern(pattern);
      FcPatternDestroy(pattern);
    }
    ~Face() { cairo_font_face_destroy(face); }
  };
  thread_local Face mine;
  return mine.face;
}

void setup_page_context(cairo_t* cr, bool antialias) {
  // Shapes use the fast anti-aliasing (crowded pages draw several times quicker); the
  // glyphs keep grey-level anti-aliasing through the font options.
  cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_FAST : CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1.0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_miter_limit(cr, 10.0);
  cairo_set_font_face(cr, page_font_face());
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(fo, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr, fo);
  cairo_font_options_destroy(fo);
}

// ---------------------------------------------------------------- recording

void PageOps::clear() { *this = PageOps{}; }

std::size_t PageOps::bytes() const {
  std::size_t n = code_.capacity() + pts_.capacity() * sizeof(std::int32_t) +
                  vals_.capacity() * sizeof(double);
  for (const auto& t : texts_) n += sizeof t + t.capacity();
  return n;
}

void PageOps::state(Op op, const platform::Rgb* colour, double v) {
  code_.push_back(op);
  if (colour) {
    vals_.insert(vals_.end(), {colour->r, colour->g, colour->b});
  } else {
    vals_.push_back(v);
  }
}

void PageOps::set_stroke(const platform::Rgb& c, double width) {
  if (!have_stroke_ || !(c == stroke_)) state(kStrokeRgb, &c, 0.0);
  if (!have_width_ || width != width_) state(kWidth, nullptr, width);
  have_stroke_ = have_width_ = true;
  stroke_ = c;
  width_ = width;
}

void PageOps::set_fill(const platform::Rgb& c) {
  if (!have_fill_ || !(c == fill_)) state(kFillRgb, &c, 0.0);
  have_fill_ = true;
  fill_ = c;
}

void PageOps::antialias(bool on) {
  if (have_aa_ && on == aa_) return;
  have_aa_ = true;
  aa_ = on;
  state(kAntialias, nullptr, on ? 1.0 : 0.0);
}

void PageOps::move(double x, double y) {
  code_.push_back(kMove);
  pts_.insert(pts_.end(), {to_fixed(x) - origin_x_, to_fixed(y) - origin_y_});
}

void PageOps::line(double x, double y) {
  code_.push_back(kLine);
  pts_.insert(pts_.end(), {to_fixed(x) - origin_x_, to_fixed(y) - origin_y_});
}

void PageOps::close() { code_.push_back(kClose); }

// A paint without a path before it draws nothing and is not kept.
namespace {
bool ends_path(const std::vector<std::uint8_t>& code, std::uint8_t close) {
  return !code.empty() && code.back() <= close;
}
}  // namespace

void PageOps::stroke(const platform::Rgb& colour, double width, bool dot) {
  if (!ends_path(code_, kClose)) return;
  set_stroke(colour, width);
  code_.push_back(dot ? kDot : kStroke);
}

void PageOps::fill_stroke(const platform::Rgb& fill, const platform::Rgb& stroke, double width) {
  if (!ends_path(code_, kClose)) return;
  set_fill(fill);
  set_stroke(stroke, width);
  code_.push_back(kFillStroke);
}

void PageOps::clear_rect(double x, double y, double w, double h) {
  code_.push_back(kClearRect);
  vals_.insert(vals_.end(), {x, y, w, h});
}

void PageOps::text(double x, double y, double angle, double size, const platform::Rgb& colour,
                   std::string utf8) {
  set_fill(colour);
  code_.push_back(kText);
  vals_.insert(vals_.end(), {x - origin_x_ / 256.0, y - origin_y_ / 256.0, angle, size});
  texts_.push_back(std::move(utf8));
}

// ---------------------------------------------------------------- shared drawings

void PageOps::set_origin(std::int32_t x, std::int32_t y) {
  static std::atomic<std::uint64_t> drawings{0};
  origin_x_ = x;
  origin_y_ = y;
  number_ = ++drawings;
}

bool PageOps::same_drawing(const PageOps& o) const {
  if (code_ != o.code_ || vals_.size() != o.vals_.size() || texts_ != o.texts_ ||
      pts_.size() != o.pts_.size() || !drawings_.empty() || !o.drawings_.empty()) {
    return false;
  }
  for (std::size_t i = 0; i < vals_.size(); ++i) {
    if (!(std::fabs(vals_[i] - o.vals_[i]) <= 1.0 / 256.0)) return false;
  }
  for (std::size_t i = 0; i < pts_.size(); ++i) {
    const std::int64_t d = static_cast<std::int64_t>(pts_[i]) - o.pts_[i];
    if (d < -1 || d > 1) return false;
  }
  return true;
}

void PageOps::place(std::shared_ptr<const PageOps> drawing, std::int32_t x, std::int32_t y,
                    bool blank) {
  if (!drawing || drawing->empty()) return;
  std::size_t k = 0;
  while (k < drawings_.size() && drawings_[k] != drawing) ++k;
  if (k == drawings_.size()) drawings_.push_back(std::move(drawing));
  code_.push_back(kPlace);
  vals_.insert(vals_.end(), {static_cast<double>(k), static_cast<double>(x), static_cast<double>(y),
                             blank ? 1.0 : 0.0});
}

int PageOps::placed_reach(int y0, int y1, int height) const {
  int bottom = y1;
  if (drawings_.empty()) return bottom;
  std::size_t v = 0;
  for (const std::uint8_t op : code_) {
    switch (op) {
      case kStrokeRgb:
      case kFillRgb: v += 3; break;
      case kWidth:
      case kAntialias: ++v; break;
      case kClearRect:
      case kText: v += 4; break;
      case kPlace: {
        if (vals_[v + 3] == 0.0) {
          const Reach& r = drawings_[static_cast<std::size_t>(vals_[v])]->reach_;
          const double top = (vals_[v + 2] + r.top) / 256.0, low = (vals_[v + 2] + r.bottom) / 256.0;
          if (low >= y0 && top <= y1) bottom = std::max(bottom, static_cast<int>(std::ceil(low)) + 1);
        }
        v += 4;
        break;
      }
      default: break;
    }
  }
  return std::min(bottom, std::max(height, y1));
}

PageOps::Reach PageOps::reach_from_origin() const {
  Reach r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  double width = 1.0, widest = 1.0;
  std::size_t p = 0, v = 0, t = 0;
  for (const std::uint8_t op : code_) {
    switch (op) {
      case kMove:
      case kLine:
        r.left = std::min(r.left, pts_[p]);
        r.right = std::max(r.right, pts_[p]);
        r.top = std::min(r.top, pts_[p + 1]);
        r.bottom = std::max(r.bottom, pts_[p + 1]);
        p += 2;
        break;
      case kStrokeRgb:
      case kFillRgb: v += 3; break;
      case kWidth:
        width = vals_[v++];
        widest = std::max(widest, width);
        break;
      case kAntialias: ++v; break;
      case kClearRect: v += 4; break;
      case kText: {
        // No glyph reaches further from a text's start than two sizes per byte.
        const double far = vals_[v + 3] * (2.0 + 2.0 * static_cast<double>(texts_[t++].size()));
        const double x = vals_[v] * 256.0, y = vals_[v + 1] * 256.0, f = far * 256.0;
        auto fit = [](double q) { return static_cast<std::int32_t>(std::clamp(q, -2e9, 2e9)); };
        r.left = std::min(r.left, fit(x - f));
        r.right = std::max(r.right, fit(x + f));
        r.top = std::min(r.top, fit(y - f));
        r.bottom = std::max(r.bottom, fit(y + f));
        v += 4;
        break;
      }
      case kPlace: v += 4; break;
      default: break;
    }
  }
  if (r.left > r.right) return {};
  // Mitre joins reach at most 5 line widths (the limit 10 over 2) beyond a point.
  const double pad = std::min((5.0 * widest + 2.0) * 256.0, 1e9);
  auto out = [&](std::int32_t v0, double d) {
    return static_cast<std::int32_t>(std::clamp(v0 + d, -2e9, 2e9));
  };
  return {out(r.left, -pad), out(r.top, -pad), out(r.right, pad), out(r.bottom, pad)};
}

// ---------------------------------------------------------------- replay

std::size_t PageOps::scan_path(std::size_t i, std::size_t p, std::size_t u, double width,
                               double& top, double& bottom, double* left, double* right) const {
  std::int32_t lo = INT32_MAX, hi = INT32_MIN, xlo = INT32_MAX, xhi = INT32_MIN;
  const std::size_t n = code_.size();
  for (; i < n; ++i) {
    const auto o = static_cast<Op>(code_[i]);
    if (o == kMove || o == kLine) {
      lo = std::min(lo, pts_[p + 1]);
      hi = std::max(hi, pts_[p + 1]);
      if (left) {
        xlo = std::min(xlo, pts_[p]);
        xhi = std::max(xhi, pts_[p]);
      }
      p += 2;
    } else if (o == kStrokeRgb || o == kFillRgb) {
      u += 3;
    } else if (o == kWidth) {
      width = vals_[u++];
    } else if (o != kClose) {
      break;
    }
  }
  // Mitre joins reach at most 5 line widths (the limit 10 over 2) beyond a point.
  const double pad = 5.0 * width + 2.0;
  top = lo / 256.0 - pad;
  bottom = hi / 256.0 + pad;
  if (left) {
    *left = xlo / 256.0 - pad;
    *right = xhi / 256.0 + pad;
  }
  return i;
}

std::size_t PageOps::replay_path(cairo_t* cr, Cursor& at, std::size_t i, std::size_t j,
                                 bool show, std::size_t& p, std::size_t& v) const {
  const std::size_t n = code_.size();
  if (show) cairo_new_path(cr);
  for (; i < j && code_[i] <= kWidth; ++i) {
    switch (code_[i]) {
      case kMove:
        if (show) cairo_move_to(cr, (pts_[p] + at.dx) / 256.0, (pts_[p + 1] + at.dy) / 256.0);
        p += 2;
        break;
      case kLine:
        if (show) cairo_line_to(cr, (pts_[p] + at.dx) / 256.0, (pts_[p + 1] + at.dy) / 256.0);
        p += 2;
        break;
      case kClose:
        if (show) cairo_close_path(cr);
        break;
      case kStrokeRgb: at.stroke = {vals_[v], vals_[v + 1], vals_[v + 2]}; v += 3; break;
      case kFillRgb: at.fill = {vals_[v], vals_[v + 1], vals_[v + 2]}; v += 3; break;
      case kWidth: at.width = vals_[v++]; break;
      default: break;
    }
  }
  const bool paint = i < n && paints(code_[i]);
  if (paint && show) {
    if (code_[i] == kFillStroke) {
      set_source(cr, at.fill);
      cairo_fill_preserve(cr);
    }
    set_source(cr, at.stroke);
    if (code_[i] == kDot) {
      const bool aa = cairo_get_antialias(cr) != CAIRO_ANTIALIAS_NONE;
      cairo_set_line_width(cr, aa ? at.width : std::max(at.width, kNarrowestDot));
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_stroke(cr);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    } else {
      cairo_set_line_width(cr, at.width);
      cairo_stroke(cr);
    }
  }
  return paint ? i + 1 : i;
}

void PageOps::replay_text(cairo_t* cr, const Cursor& at, std::size_t v, std::size_t t,
                          bool cull, int y0, int y1) const {
  const double angle = vals_[v + 2];
  // A text far from the rows in hand is left out: no glyph reaches further from its start
  // than two sizes per byte.
  const double tx = vals_[v] + at.dx / 256.0, ty = vals_[v + 1] + at.dy / 256.0;
  const double far = vals_[v + 3] * (2.0 + 2.0 * static_cast<double>(texts_[t].size()));
  if (cull && (ty + far < y0 || ty - far > y1)) return;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_set_font_size(cr, vals_[v + 3]);
  cairo_translate(cr, tx, ty);
  if (angle != 0.0) cairo_rotate(cr, -angle);
  cairo_move_to(cr, 0, 0);
  set_source(cr, at.fill);
  cairo_show_text(cr, texts_[t].c_str());
  cairo_restore(cr);
}

void PageOps::replay_place(cairo_t* cr, const Cursor& at, std::size_t v, bool cull, int y0,
                           int y1) const {
  const PageOps& d = *drawings_[static_cast<std::size_t>(vals_[v])];
  SharedPlace place;
  place.drawing = d.number_;
  const Reach r = d.reach_;
  place.left = r.left;
  place.top = r.top;
  place.right = r.right;
  place.bottom = r.bottom;
  place.x = static_cast<std::int32_t>(vals_[v + 1]) + at.dx;
  place.y = static_cast<std::int32_t>(vals_[v + 2]) + at.dy;
  place.antialias = cairo_get_antialias(cr) != CAIRO_ANTIALIAS_NONE;
  const bool blank = vals_[v + 3] != 0.0;
  auto draw = [&d](cairo_t* c, std::int32_t dx, std::int32_t dy) {
    Cursor from;
    from.dx = dx;
    from.dy = dy;
    d.replay(c, from);
  };
  if (blank && put_shared(cairo_get_target(cr), place, y0, y1, draw)) return;
  // Replayed at its place, like the paths: left out when wholly outside the rows.
  if (cull && ((place.y + static_cast<double>(r.bottom)) / 256.0 < y0 ||
               (place.y + static_cast<double>(r.top)) / 256.0 > y1)) {
    return;
  }
  draw(cr, place.x, place.y);
}

void PageOps::replay(cairo_t* cr, Cursor& at, int y0, int y1,
                     const std::vector<std::uint8_t>* hidden) const {
  const bool cull = y0 != INT_MIN || y1 != INT_MAX;
  std::size_t path = 0;
  const std::size_t n = code_.size();
  std::size_t i = at.code, p = at.pts, v = at.vals, t = at.texts;
  while (i < n) {
    const auto op = static_cast<Op>(code_[i]);
    switch (op) {
      case kMove:
      case kLine:
      case kClose: {
        // A path up to its paint: its flag, or its rows and line width, decide whether it
        // shows here.
        bool show = true;
        std::size_t j = n;
        if (hidden) {
          show = !(path < hidden->size() && (*hidden)[path]);
        } else {
          double top = 0.0, bottom = 0.0;
          j = scan_path(i, p, v, at.width, top, bottom);
          show = !cull || (bottom >= y0 && top <= y1);
        }
        ++path;
        i = replay_path(cr, at, i, j, show, p, v);
        continue;
      }
      case kStrokeRgb: at.stroke = {vals_[v], vals_[v + 1], vals_[v + 2]}; v += 3; break;
      case kFillRgb: at.fill = {vals_[v], vals_[v + 1], vals_[v + 2]}; v += 3; break;
      case kWidth: at.width = vals_[v++]; break;
      case kAntialias: setup_page_context(cr, vals_[v++] != 0.0); break;
      case kClearRect:
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_rectangle(cr, vals_[v], vals_[v + 1], vals_[v + 2], vals_[v + 3]);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
        cairo_restore(cr);
        v += 4;
        break;
      case kText:
        replay_text(cr, at, v, t++, cull, y0, y1);
        v += 4;
        break;
      case kPlace:
        replay_place(cr, at, v, cull, y0, y1);
        v += 4;
        break;
      default: break;  // a paint without a path is never kept
    }
    ++i;
  }
  at.code = i;
  at.pts = p;
  at.vals = v;
  at.texts = t;
}

}  // namespace korbast::pages
