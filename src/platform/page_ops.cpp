#include "platform/page_ops.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

namespace korbast::platform {

namespace {

void set_source(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

// The page font at one size, as the page draws it (no hinting, unhinted metrics); a few
// sizes are kept per thread.
cairo_scaled_font_t* page_font(double size) {
  struct Cache {
    std::vector<std::pair<double, cairo_scaled_font_t*>> fonts;
    ~Cache() {
      for (auto& f : fonts) cairo_scaled_font_destroy(f.second);
    }
  };
  thread_local Cache cache;
  for (auto& f : cache.fonts)
    if (f.first == size) return f.second;
  cairo_font_face_t* face =
      cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_matrix_t fm, ctm;
  cairo_matrix_init_scale(&fm, size, size);
  cairo_matrix_init_identity(&ctm);
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_scaled_font_t* sf = cairo_scaled_font_create(face, &fm, &ctm, fo);
  cairo_font_options_destroy(fo);
  cairo_font_face_destroy(face);
  if (cache.fonts.size() >= 8) {
    cairo_scaled_font_destroy(cache.fonts.front().second);
    cache.fonts.erase(cache.fonts.begin());
  }
  cache.fonts.emplace_back(size, sf);
  return sf;
}

// The pixel row or column of a coordinate, rounded down or up, held within +-2^30 (a line
// width can make a path's reach as large as it likes).
int floor_px(double v) {
  constexpr double kFar = 1073741824.0;
  return static_cast<int>(std::floor(v > -kFar ? (v < kFar ? v : kFar) : -kFar));
}
int ceil_px(double v) { return -floor_px(-v); }

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

void setup_page_context(cairo_t* cr, bool antialias) {
  // Shapes use the fast anti-aliasing (crowded pages draw several times quicker); the
  // glyphs keep grey-level anti-aliasing through the font options.
  cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_FAST : CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1.0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_miter_limit(cr, 10.0);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
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

void PageOps::state(Op op, const Rgb* colour, double v) {
  code_.push_back(op);
  if (colour) {
    vals_.insert(vals_.end(), {colour->r, colour->g, colour->b});
  } else {
    vals_.push_back(v);
  }
}

void PageOps::set_stroke(const Rgb& c, double width) {
  if (!have_stroke_ || !(c == stroke_)) state(kStrokeRgb, &c, 0.0);
  if (!have_width_ || width != width_) state(kWidth, nullptr, width);
  have_stroke_ = have_width_ = true;
  stroke_ = c;
  width_ = width;
}

void PageOps::set_fill(const Rgb& c) {
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
  pts_.insert(pts_.end(), {to_fixed(x), to_fixed(y)});
}

void PageOps::line(double x, double y) {
  code_.push_back(kLine);
  pts_.insert(pts_.end(), {to_fixed(x), to_fixed(y)});
}

void PageOps::close() { code_.push_back(kClose); }

// A paint without a path before it draws nothing and is not kept.
namespace {
bool ends_path(const std::vector<std::uint8_t>& code, std::uint8_t close) {
  return !code.empty() && code.back() <= close;
}
}  // namespace

void PageOps::stroke(const Rgb& colour, double width) {
  if (!ends_path(code_, kClose)) return;
  set_stroke(colour, width);
  code_.push_back(kStroke);
}

void PageOps::fill_stroke(const Rgb& fill, const Rgb& stroke, double width) {
  if (!ends_path(code_, kClose)) return;
  set_fill(fill);
  set_stroke(stroke, width);
  code_.push_back(kFillStroke);
}

void PageOps::clear_rect(double x, double y, double w, double h) {
  code_.push_back(kClearRect);
  vals_.insert(vals_.end(), {x, y, w, h});
}

void PageOps::text(double x, double y, double angle, double size, const Rgb& colour,
                   std::string utf8) {
  set_fill(colour);
  code_.push_back(kText);
  vals_.insert(vals_.end(), {x, y, angle, size});
  texts_.push_back(std::move(utf8));
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

std::vector<PageOps::PathSpan> PageOps::paths() const {
  std::vector<PathSpan> out;
  double width = 1.0;
  std::size_t i = 0, p = 0, v = 0;
  const std::size_t n = code_.size();
  while (i < n) {
    switch (code_[i]) {
      case kMove:
      case kLine:
      case kClose: {
        PathSpan s;
        s.code = static_cast<std::uint32_t>(i);
        s.pts = static_cast<std::uint32_t>(p);
        double t = 0.0, b = 0.0, l = 0.0, r = 0.0;
        const std::size_t j = scan_path(i, p, v, width, t, b, &l, &r);
        for (; i < j; ++i) {
          switch (code_[i]) {
            case kMove:
            case kLine: p += 2; break;
            case kStrokeRgb:
            case kFillRgb: v += 3; break;
            case kWidth: width = vals_[v++]; break;
            default: break;
          }
        }
        // Rounded outwards to single precision: the spans may be wider, never narrower.
        s.top = std::nextafter(static_cast<float>(t), -HUGE_VALF);
        s.bottom = std::nextafter(static_cast<float>(b), HUGE_VALF);
        s.left = std::nextafter(static_cast<float>(l), -HUGE_VALF);
        s.right = std::nextafter(static_cast<float>(r), HUGE_VALF);
        s.width = static_cast<float>(width);
        s.fill = i < n && code_[i] == kFillStroke;
        out.push_back(s);
        if (i < n && code_[i] != kStroke && code_[i] != kFillStroke) continue;  // no paint
        break;
      }
      case kStrokeRgb:
      case kFillRgb: v += 3; break;
      case kWidth: width = vals_[v++]; break;
      case kAntialias: ++v; break;
      case kClearRect:
      case kText: v += 4; break;
      default: break;
    }
    ++i;
  }
  return out;
}

int PageOps::reach(const std::vector<PathSpan>& paths, const std::vector<std::uint8_t>& hidden,
                   int y0, int y1, int height) {
  double bottom = 0.0;
  for (std::size_t k = 0; k < paths.size(); ++k) {
    const PathSpan& s = paths[k];
    if (s.bottom >= y0 && s.top <= y1 && !(k < hidden.size() && hidden[k]))
      bottom = std::max(bottom, static_cast<double>(s.bottom));
  }
  return std::clamp(ceil_px(bottom) + 1, y1, height);
}

std::vector<int> PageOps::split(const std::vector<PathSpan>& paths, int bands, int height) {
  // The drawing per row: each path's area spread over its rows, plus a share per path.
  // A path crossing a border is drawn in both bands: borders go where few paths cross.
  std::vector<double> change(static_cast<std::size_t>(height) + 1, 0.0);
  std::vector<int> crossing(static_cast<std::size_t>(height) + 1, 0);
  for (const PathSpan& s : paths) {
    const double t = s.top, b = s.bottom, l = s.left, r = s.right;
    const int y0 = std::clamp(floor_px(t), 0, height);
    const int y1 = std::clamp(floor_px(b) + 1, 0, height);
    if (y1 <= y0 || r < 0.0) continue;
    const double per_row = std::max(1.0, r - std::max(l, 0.0)) + 200.0 / (y1 - y0);
    change[y0] += per_row;
    change[y1] -= per_row;
    crossing[y0 + 1] += 1;
    crossing[y1] -= 1;
  }
  for (int y = 1; y <= height; ++y) crossing[y] += crossing[y - 1];
  std::vector<double> upto(static_cast<std::size_t>(height) + 1, 0.0);
  double row = 0.0;
  for (int y = 0; y < height; ++y) {
    row += change[y];
    upto[y + 1] = upto[y] + row + 1.0;  // and a little for every row
  }
  std::vector<int> edges{0};
  for (int k = 1; k < bands; ++k) {
    const double goal = upto[height] * k / bands;
    const int mid = static_cast<int>(std::lower_bound(upto.begin(), upto.end(), goal) - upto.begin());
    const int span = height / bands / 4;
    int y = mid;
    for (int d = 1; d <= span; ++d) {
      for (int c : {mid - d, mid + d}) {
        if (c > 0 && c < height && crossing[c] < crossing[y]) y = c;
      }
    }
    if (y > edges.back() && y < height) edges.push_back(y);
  }
  edges.push_back(height);
  return edges;
}

// ---------------------------------------------------------------- paths painted over

struct PageOps::Outline {
  std::vector<double> x, y;        // the points in image pixels
  std::vector<std::size_t> start;  // where each subpath starts; then the end
  void clear() {
    x.clear();
    y.clear();
    start.clear();
  }
};

void PageOps::outline(std::size_t i, std::size_t p, Outline& o) const {
  o.clear();
  bool closed = false;
  for (const std::size_t n = code_.size(); i < n; ++i) {
    const auto op = static_cast<Op>(code_[i]);
    if (op == kMove || op == kLine) {
      // A line after a close (or with no point before it) starts a subpath, at the closed
      // subpath's first point.
      if (op == kMove || o.start.empty() || closed) {
        const bool again = op == kLine && !o.start.empty();
        const double fx = again ? o.x[o.start.back()] : 0.0, fy = again ? o.y[o.start.back()] : 0.0;
        o.start.push_back(o.x.size());
        if (again) {
          o.x.push_back(fx);
          o.y.push_back(fy);
        }
      }
      closed = false;
      o.x.push_back(pts_[p] / 256.0);
      o.y.push_back(pts_[p + 1] / 256.0);
      p += 2;
    } else if (op == kClose) {
      closed = true;
    } else if (op != kStrokeRgb && op != kFillRgb && op != kWidth) {
      break;
    }
  }
  o.start.push_back(o.x.size());
}

namespace {

// The rows of a band as bits, one per pixel: set where a later opaque fill covers the pixel
// in full.
class Cover {
 public:
  Cover(int y0, int y1, int width)
      : y0_(y0), y1_(y1), width_(width), words_((width + 63) / 64),
        bits_(static_cast<std::size_t>(std::max(0, y1 - y0)) * words_, 0),
        any_(static_cast<std::size_t>(std::max(0, y1 - y0)), 0) {}
  // Whether pixels [x0, x1] of row y are all covered (pixels off the image count as covered).
  bool covered(int y, int x0, int x1) const {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    if (y < y0_ || y >= y1_ || x0 > x1) return true;
    const std::uint64_t* row = &bits_[static_cast<std::size_t>(y - y0_) * words_];
    for (int w = x0 / 64; w <= x1 / 64; ++w) {
      const std::uint64_t need = span_mask(w, x0, x1);
      if ((row[w] & need) != need) return false;
    }
    return true;
  }
  void cover(int y, int x0, int x1) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    if (y < y0_ || y >= y1_ || x0 > x1) return;
    std::uint64_t* row = &bits_[static_cast<std::size_t>(y - y0_) * words_];
    for (int w = x0 / 64; w <= x1 / 64; ++w) row[w] |= span_mask(w, x0, x1);
    any_[static_cast<std::size_t>(y - y0_)] = 1;
  }
  // Whether row y (in the band) has no pixel covered yet.
  bool bare(int y) const { return y >= y0_ && y < y1_ && !any_[static_cast<std::size_t>(y - y0_)]; }

 private:
  static std::uint64_t span_mask(int w, int x0, int x1) {
    const int lo = std::max(x0 - 64 * w, 0), hi = std::min(x1 - 64 * w, 63);
    const std::uint64_t upto = hi == 63 ? ~0ULL : (2ULL << hi) - 1;
    return upto & ~((1ULL << lo) - 1);
  }
  int y0_, y1_, width_, words_;
  std::vector<std::uint64_t> bits_;
  std::vector<std::uint8_t> any_;  // per row: some pixel covered
};

struct Edge {
  double xa, ya, xb, yb;  // ya <= yb
  double slope;           // dx / dy (0 for a level edge)
  int dir;                // +1 drawn downwards, -1 upwards, 0 level
  Edge(double x0, double y0, double x1, double y1, int d)
      : xa(x0), ya(y0), xb(x1), yb(y1), slope(y1 > y0 ? (x1 - x0) / (y1 - y0) : 0.0), dir(d) {}
  double x_at(double y) const { return xa + (y - ya) * slope; }
};

// The edges of an outline, each subpath closed (as a fill closes it).
void edges_of(const std::vector<double>& x, const std::vector<double>& y,
              const std::vector<std::size_t>& start, std::vector<Edge>& out) {
  out.clear();
  for (std::size_t s = 0; s + 1 < start.size(); ++s) {
    const std::size_t a = start[s], b = start[s + 1];
    for (std::size_t k = a; k < b; ++k) {
      const std::size_t m = k + 1 < b ? k + 1 : a;
      const double x0 = x[k], y0 = y[k], x1 = x[m], y1 = y[m];
      if (y0 <= y1) out.emplace_back(x0, y0, x1, y1, y1 > y0 ? 1 : 0);
      else out.emplace_back(x1, y1, x0, y0, -1);
    }
  }
}

// How far a stroke of this width reaches beyond its outline: half the width, or the mitre
// of the sharpest join Cairo mitres (a mitre longer than the limit 10 becomes a bevel).
double stroke_reach(const std::vector<double>& x, const std::vector<double>& y,
                    const std::vector<std::size_t>& start, double width) {
  double ratio = 1.0;
  for (std::size_t s = 0; s + 1 < start.size(); ++s) {
    // The directions of the subpath's segments that have a length, round it (every join a
    // closed subpath would have, and more).
    double px = 0.0, py = 0.0, fx = 0.0, fy = 0.0;
    bool have = false, first = true;
    const std::size_t a = start[s], b = start[s + 1];
    for (std::size_t k = a; k < b; ++k) {
      const std::size_t m = k + 1 < b ? k + 1 : a;
      const double dx = x[m] - x[k], dy = y[m] - y[k], len = std::sqrt(dx * dx + dy * dy);
      if (len == 0.0) continue;
      const double ux = dx / len, uy = dy / len;
      if (have) {
        const double d = 1.0 + px * ux + py * uy;  // 2 / d is the mitre ratio squared
        if (d * 101.0 >= 2.0) ratio = std::max(ratio, std::sqrt(2.0 / d));
      }
      if (first) {
        fx = ux;
        fy = uy;
        first = false;
      }
      px = ux;
      py = uy;
      have = true;
    }
    if (have) {
      const double d = 1.0 + px * fx + py * fy;
      if (d * 101.0 >= 2.0) ratio = std::max(ratio, std::sqrt(2.0 / d));
    }
  }
  // A little more for the stroker's rounding to Cairo's fixed point.
  return 0.5 * width * std::min(ratio, 10.05) + 0.05;
}

// Marks in `cover` the pixels the nonzero fill of `edges` covers in full: in each pixel row,
// the stretches between the edges where the winding number is not 0 in every part of the
// row (split at the corners inside it).
void cover_fill(const std::vector<Edge>& edges, Cover& cover, int y0, int y1) {
  double top = HUGE_VAL, bottom = -HUGE_VAL;
  for (const Edge& e : edges) {
    top = std::min(top, e.ya);
    bottom = std::max(bottom, e.yb);
  }
  const int r0 = std::max(y0, ceil_px(top));
  const int r1 = std::min(y1, floor_px(bottom));
  struct Cross {
    double lo, hi;
    int dir;
  };
  std::vector<double> cuts;
  std::vector<Cross> cross;
  std::vector<std::pair<double, double>> inside, part, both;
  constexpr double kMargin = 1.0 / 64.0;
  for (int row = r0; row < r1; ++row) {
    cuts.assign({static_cast<double>(row), row + 1.0});
    for (const Edge& e : edges) {
      if (e.dir == 0 || e.yb <= row || e.ya >= row + 1) continue;
      if (e.ya > row) cuts.push_back(e.ya);
      if (e.yb < row + 1) cuts.push_back(e.yb);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    bool first = true;
    for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
      const double a = cuts[c], b = cuts[c + 1];
      cross.clear();
      for (const Edge& e : edges) {
        if (e.dir == 0 || e.yb <= a || e.ya >= b) continue;
        const double xa = e.x_at(a), xb = e.x_at(b);
        cross.push_back({std::min(xa, xb), std::max(xa, xb), e.dir});
      }
      std::sort(cross.begin(), cross.end(), [](const Cross& l, const Cross& r) { return l.lo < r.lo; });
      part.clear();
      int wind = 0;
      double reach = -HUGE_VAL;
      for (const Cross& k : cross) {
        if (wind != 0 && k.lo > reach) part.emplace_back(reach, k.lo);
        wind += k.dir;
        reach = std::max(reach, k.hi);
      }
      if (first) {
        inside.swap(part);
        first = false;
      } else {  // what every part of the row has inside
        both.clear();
        std::size_t u = 0, v = 0;
        while (u < inside.size() && v < part.size()) {
          const double lo = std::max(inside[u].first, part[v].first);
          const double hi = std::min(inside[u].second, part[v].second);
          if (lo < hi) both.emplace_back(lo, hi);
          (inside[u].second < part[v].second ? u : v) += 1;
        }
        inside.swap(both);
      }
      if (inside.empty()) break;
    }
    for (const auto& [lo, hi] : inside) {
      const int x0 = ceil_px(lo + kMargin);
      const int x1 = floor_px(hi - kMargin) - 1;
      if (x0 <= x1) cover.cover(row, x0, x1);
    }
  }
}

}  // namespace

std::vector<std::uint8_t> PageOps::hidden(const std::vector<PathSpan>& paths, int y0, int y1,
                                          int width) const {
  std::vector<std::uint8_t> flags(paths.size(), 0);
  Cover cover(y0, y1, width);
  Outline o;
  std::vector<Edge> edges;
  std::vector<double> lo, hi;
  // From the last path back: a path is hidden when the fills after it cover all it touches.
  for (std::size_t k = paths.size(); k-- > 0;) {
    const PathSpan& s = paths[k];
    if (s.bottom < y0 || s.top > y1) {
      flags[k] = 1;  // not in these rows at all
      continue;
    }
    // A path whose first point lies in a row nothing covers yet shows: only a fill's own
    // cover is then wanted.
    if (s.pts + 1 >= pts_.size() || cover.bare(floor_px(pts_[s.pts + 1] / 256.0))) {
      if (s.fill) {
        outline(s.code, s.pts, o);
        edges_of(o.x, o.y, o.start, edges);
        cover_fill(edges, cover, y0, y1);
      }
      continue;
    }
    outline(s.code, s.pts, o);
    edges_of(o.x, o.y, o.start, edges);
    if (edges.empty()) continue;
    // The pixels the path touches, row by row: those within the stroke's reach of an edge
    // passing the row.
    const double r = stroke_reach(o.x, o.y, o.start, s.width);
    const int first = std::max(y0, floor_px(s.top));
    const int last = std::min(y1 - 1, floor_px(s.bottom));
    bool shown = false;
    if (first <= last) {
      lo.assign(static_cast<std::size_t>(last - first + 1), HUGE_VAL);
      hi.assign(lo.size(), -HUGE_VAL);
      for (const Edge& e : edges) {
        const int ra = std::max(first, ceil_px(e.ya - 1.0 - r));
        const int rb = std::min(last, floor_px(e.yb + r));
        for (int row = ra; row <= rb; ++row) {
          const double ya = std::max(e.ya, row - r), yb = std::min(e.yb, row + 1.0 + r);
          const double xa = e.x_at(ya), xb = e.x_at(yb);
          auto& l = lo[static_cast<std::size_t>(row - first)];
          auto& h = hi[static_cast<std::size_t>(row - first)];
          l = std::min(l, std::min(xa, xb));
          h = std::max(h, std::max(xa, xb));
        }
      }
      for (int row = first; row <= last && !shown; ++row) {
        const double l = lo[static_cast<std::size_t>(row - first)];
        const double h = hi[static_cast<std::size_t>(row - first)];
        if (l > h) continue;
        shown = !cover.covered(row, floor_px(l - r), floor_px(h + r));
      }
    }
    if (!shown) {
      flags[k] = 1;
      continue;
    }
    if (s.fill) cover_fill(edges, cover, y0, y1);
  }
  return flags;
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
        if (show) cairo_new_path(cr);
        for (; i < j && code_[i] <= kWidth; ++i) {
          switch (code_[i]) {
            case kMove:
              if (show) cairo_move_to(cr, pts_[p] / 256.0, pts_[p + 1] / 256.0);
              p += 2;
              break;
            case kLine:
              if (show) cairo_line_to(cr, pts_[p] / 256.0, pts_[p + 1] / 256.0);
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
        const bool paint = i < n && (code_[i] == kStroke || code_[i] == kFillStroke);
        if (paint && show) {
          if (code_[i] == kFillStroke) {
            set_source(cr, at.fill);
            cairo_fill_preserve(cr);
          }
          set_source(cr, at.stroke);
          cairo_set_line_width(cr, at.width);
          cairo_stroke(cr);
        }
        if (paint) ++i;
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
      case kText: {
        const double angle = vals_[v + 2];
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_set_font_size(cr, vals_[v + 3]);
        cairo_translate(cr, vals_[v], vals_[v + 1]);
        if (angle != 0.0) cairo_rotate(cr, -angle);
        cairo_move_to(cr, 0, 0);
        set_source(cr, at.fill);
        cairo_show_text(cr, texts_[t].c_str());
        cairo_restore(cr);
        v += 4;
        ++t;
        break;
      }
      default: break;  // a paint without a path is never kept
    }
    ++i;
  }
  at.code = i;
  at.pts = p;
  at.vals = v;
  at.texts = t;
}

// ---------------------------------------------------------------- PDF content

std::string PageOps::content(double scale, double height, std::vector<unsigned>& glyphs) const {
  return content(scale, height, glyphs, Cursor{}, SIZE_MAX);
}

std::string PageOps::content(double scale, double height, std::vector<unsigned>& glyphs,
                             const Cursor& from, std::size_t to) const {
  // Page units of a tenth of a pixel: points are whole numbers.
  constexpr double kUnit = 10.0;
  const std::size_t end = std::min(to, code_.size());
  std::string out;
  out.reserve((end - from.code) * 2 + (pts_.size() - from.pts) * 4 + 64);
  if (from.code == 0) {
    out += "q ";
    put_number(out, scale / kUnit, 7);
    out += " 0 0 ";
    put_number(out, -scale / kUnit, 7);
    out += " 0 ";
    put_number(out, height * scale, 4);
    out += " cm\n";
  }
  // A piece starts after a paint: the stroke colour and width are set as they are.
  Rgb stroke = from.stroke, fill = from.fill, out_stroke = from.stroke, out_fill = from.set_fill;
  double width = from.width, out_width = from.width;
  bool have_stroke = from.code > 0, have_fill = from.fill_set, have_width = from.code > 0;
  auto put_rgb = [&](const Rgb& c, const char* op) {
    put_number(out, c.r, 4);
    out += ' ';
    put_number(out, c.g, 4);
    out += ' ';
    put_number(out, c.b, 4);
    out += op;
  };
  auto emit_fill = [&](const Rgb& c) {
    if (have_fill && c == out_fill) return;
    put_rgb(c, " rg\n");
    have_fill = true;
    out_fill = c;
  };
  auto emit_stroke = [&] {
    if (!have_stroke || !(stroke == out_stroke)) put_rgb(stroke, " RG\n");
    if (!have_width || width != out_width) {
      put_number(out, width * kUnit, 3);
      out += " w\n";
    }
    have_stroke = have_width = true;
    out_stroke = stroke;
    out_width = width;
  };
  std::string path;
  auto xy = [&](std::size_t& p, const char* op) {
    put_number(path, pts_[p] * (kUnit / 256.0), 0);
    path += ' ';
    put_number(path, pts_[p + 1] * (kUnit / 256.0), 0);
    path += op;
    p += 2;
  };
  std::size_t p = from.pts, v = from.vals, t = from.texts;
  for (std::size_t i = from.code; i < end; ++i) {
    const std::uint8_t op = code_[i];
    switch (op) {
      case kMove: xy(p, " m\n"); break;
      case kLine: xy(p, " l\n"); break;
      case kClose: path += "h\n"; break;
      case kStrokeRgb: stroke = {vals_[v], vals_[v + 1], vals_[v + 2]}; v += 3; break;
      case kFillRgb: fill = {vals_[v], vals_[v + 1], vals_[v + 2]}; v += 3; break;
      case kWidth: width = vals_[v++]; break;
      case kAntialias: ++v; break;
      case kStroke:
      case kFillStroke:
        if (op == kFillStroke) emit_fill(fill);
        emit_stroke();
        out += path;
        out += op == kStroke ? "S\n" : "B\n";
        path.clear();
        break;
      case kClearRect:
        emit_fill({1, 1, 1});
        for (int k = 0; k < 4; ++k) {
          put_number(out, vals_[v + k] * kUnit, 1);
          out += ' ';
        }
        out += "re f\n";
        v += 4;
        break;
      case kText: {
        emit_fill(fill);
        const double x = vals_[v], y = vals_[v + 1], angle = vals_[v + 2], size = vals_[v + 3];
        v += 4;
        const std::string& utf8 = texts_[t++];
        cairo_glyph_t* gl = nullptr;
        int count = 0;
        cairo_scaled_font_t* sf = page_font(size);
        if (cairo_scaled_font_text_to_glyphs(sf, 0, 0, utf8.data(), static_cast<int>(utf8.size()),
                                             &gl, &count, nullptr, nullptr, nullptr) !=
            CAIRO_STATUS_SUCCESS) {
          break;
        }
        const double c = angle != 0.0 ? std::cos(angle) : 1.0;
        const double s = angle != 0.0 ? std::sin(angle) : 0.0;
        const double k = size / 1000.0;
        // Glyph space (1/1000 of the size) runs like the image, y downwards, turned as the
        // text is; the first glyph placed, the others moved to from it.
        double u = 0.0, w = 0.0;  // where the last glyph was put, in glyph space
        for (int g = 0; g < count; ++g) {
          const double gx = gl[g].x, gy = gl[g].y;
          if (g == 0) {
            out += "q ";
            put_number(out, k * c * kUnit, 6);
            out += ' ';
            put_number(out, -k * s * kUnit, 6);
            out += ' ';
            put_number(out, k * s * kUnit, 6);
            out += ' ';
            put_number(out, k * c * kUnit, 6);
            out += ' ';
            put_number(out, (x + c * gx + s * gy) * kUnit, 1);
            out += ' ';
            put_number(out, (y - s * gx + c * gy) * kUnit, 1);
            out += " cm";
          } else {
            const double du = std::round(((gx - gl[0].x) / k - u) * 10.0) / 10.0;
            const double dv = std::round(((gy - gl[0].y) / k - w) * 10.0) / 10.0;
            u += du;
            w += dv;
            out += " 1 0 0 1 ";
            put_number(out, du, 1);
            out += ' ';
            put_number(out, dv, 1);
            out += " cm";
          }
          out += " /g";
          out += std::to_string(gl[g].index);
          out += " Do\n";
          glyphs.push_back(static_cast<unsigned>(gl[g].index));
        }
        if (count > 0) out += "Q\n";
        cairo_glyph_free(gl);
        break;
      }
      default: break;
    }
  }
  if (end == code_.size()) out += "Q\n";
  std::sort(glyphs.begin(), glyphs.end());
  glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
  return out;
}

std::vector<PageOps::Cursor> PageOps::pieces(std::size_t count) const {
  std::vector<Cursor> out{Cursor{}};
  const std::size_t n = code_.size(), step = n / std::max<std::size_t>(count, 1) + 1;
  Cursor at;
  for (std::size_t i = 0; i < n; ++i) {
    switch (code_[i]) {
      case kMove:
      case kLine: at.pts += 2; break;
      case kStrokeRgb: at.stroke = {vals_[at.vals], vals_[at.vals + 1], vals_[at.vals + 2]}; at.vals += 3; break;
      case kFillRgb: at.fill = {vals_[at.vals], vals_[at.vals + 1], vals_[at.vals + 2]}; at.vals += 3; break;
      case kWidth: at.width = vals_[at.vals++]; break;
      case kAntialias: ++at.vals; break;
      case kClearRect:
        at.vals += 4;
        at.fill_set = true;
        at.set_fill = {1, 1, 1};
        break;
      case kText:
        at.vals += 4;
        ++at.texts;
        at.fill_set = true;
        at.set_fill = at.fill;
        break;
      case kFillStroke:
        at.fill_set = true;
        at.set_fill = at.fill;
        break;
      default: break;
    }
    // After a paint, once the piece is long enough.
    if ((code_[i] == kStroke || code_[i] == kFillStroke) && i + 1 < n &&
        i + 1 - out.back().code >= step) {
      at.code = i + 1;
      out.push_back(at);
    }
  }
  return out;
}

GlyphForm glyph_form(unsigned index) {
  GlyphForm form;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(s);
  cairo_set_scaled_font(cr, page_font(1000.0));
  cairo_glyph_t g{index, 0.0, 0.0};
  cairo_glyph_path(cr, &g, 1);
  cairo_path_t* path = cairo_copy_path(cr);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool any = false;
  auto pt = [&](const cairo_path_data_t& d) {
    put_number(form.content, d.point.x, 1);
    form.content += ' ';
    put_number(form.content, d.point.y, 1);
    form.content += ' ';
    if (!any) {
      x0 = x1 = d.point.x;
      y0 = y1 = d.point.y;
      any = true;
    }
    x0 = std::min(x0, d.point.x);
    x1 = std::max(x1, d.point.x);
    y0 = std::min(y0, d.point.y);
    y1 = std::max(y1, d.point.y);
  };
  if (path && path->status == CAIRO_STATUS_SUCCESS) {
    for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
      const cairo_path_data_t* d = &path->data[i];
      switch (d->header.type) {
        case CAIRO_PATH_MOVE_TO: pt(d[1]); form.content += "m\n"; break;
        case CAIRO_PATH_LINE_TO: pt(d[1]); form.content += "l\n"; break;
        case CAIRO_PATH_CURVE_TO: pt(d[1]); pt(d[2]); pt(d[3]); form.content += "c\n"; break;
        case CAIRO_PATH_CLOSE_PATH: form.content += "h\n"; break;
      }
    }
  }
  if (path) cairo_path_destroy(path);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  if (!form.content.empty()) form.content += "f\n";
  form.bbox = std::to_string(static_cast<long>(std::floor(x0)) - 1) + " " +
              std::to_string(static_cast<long>(std::floor(y0)) - 1) + " " +
              std::to_string(static_cast<long>(std::ceil(x1)) + 1) + " " +
              std::to_string(static_cast<long>(std::ceil(y1)) + 1);
  return form;
}

}  // namespace korbast::platform
