// Band planning and hidden-path culling: where a page image is cut into bands, and which
// paths a band may leave out because later fills paint over them.
#include <algorithm>
#include <cmath>

#include "pages/page_ops.hpp"

namespace korbast::pages {

namespace {

// The pixel row or column of a coordinate, rounded down or up, held within +-2^30 (a line
// width can make a path's reach as large as it likes).
int floor_px(double v) {
  constexpr double kFar = 1073741824.0;
  return static_cast<int>(std::floor(v > -kFar ? (v < kFar ? v : kFar) : -kFar));
}
int ceil_px(double v) { return -floor_px(-v); }

}  // namespace

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
        const bool dot = i < n && code_[i] == kDot;
        s.width = static_cast<float>(dot ? std::max(width, kNarrowestDot) : width);
        s.fill = i < n && code_[i] == kFillStroke;
        out.push_back(s);
        if (i < n && !paints(code_[i])) continue;  // no paint
        break;
      }
      case kStrokeRgb:
      case kFillRgb: v += 3; break;
      case kWidth: width = vals_[v++]; break;
      case kAntialias: ++v; break;
      case kClearRect:
      case kText: v += 4; break;
      case kPlace: v += 4; break;
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

}  // namespace korbast::pages
