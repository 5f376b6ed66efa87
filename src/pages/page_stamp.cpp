#include "pages/page_stamp.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <memory>
#include <vector>

#include "pages/page_ops.hpp"

namespace korbast::pages {

namespace {

// The image of a drawing at one sub-pixel offset: its pixels that are not white, as runs.
struct Stamp {
  std::uint64_t drawing = 0;
  int fx = 0, fy = 0;
  bool antialias = true;
  int left = 0, top = 0;  // the image's first column and row from the placing point's pixel
  struct Run {
    int row, col, length;
    std::size_t at;  // into px
  };
  std::vector<Run> runs;  // by row, then column
  std::vector<std::uint32_t> px;
};

constexpr std::size_t kKept = 64;
constexpr std::size_t kAhead = 8;  // runs

int floor_div256(std::int64_t v) { return static_cast<int>(v >= 0 ? v / 256 : -((-v + 255) / 256)); }

std::shared_ptr<const Stamp> make_stamp(
    const SharedPlace& p, int fx, int fy,
    const std::function<void(cairo_t*, std::int32_t, std::int32_t)>& draw) {
  auto s = std::make_shared<Stamp>();
  s->drawing = p.drawing;
  s->fx = fx;
  s->fy = fy;
  s->antialias = p.antialias;
  // One pixel more all round than the drawing's reach.
  s->left = floor_div256(static_cast<std::int64_t>(p.left) + fx) - 1;
  s->top = floor_div256(static_cast<std::int64_t>(p.top) + fy) - 1;
  const int w = floor_div256(static_cast<std::int64_t>(p.right) + fx) + 2 - s->left;
  const int h = floor_div256(static_cast<std::int64_t>(p.bottom) + fy) + 2 - s->top;
  if (w <= 0 || h <= 0 || static_cast<std::int64_t>(w) * h > (1 << 24)) return s;
  cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(img);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  setup_page_context(cr, p.antialias);
  draw(cr, fx - 256 * s->left, fy - 256 * s->top);
  cairo_destroy(cr);
  cairo_surface_flush(img);
  const unsigned char* data = cairo_image_surface_get_data(img);
  const int stride = cairo_image_surface_get_stride(img);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < w;) {
      if ((row[x] & 0xFFFFFFu) == 0xFFFFFFu) {
        ++x;
        continue;
      }
      Stamp::Run r{y, x, 0, s->px.size()};
      for (; x < w && (row[x] & 0xFFFFFFu) != 0xFFFFFFu; ++x) s->px.push_back(row[x] | 0xFF000000u);
      r.length = x - r.col;
      s->runs.push_back(r);
    }
  }
  cairo_surface_destroy(img);
  return s;
}

// A channel of the product of two colours, rounded as pixman multiplies.
inline std::uint32_t times(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t t = a * b + 0x80;
  return (t + (t >> 8)) >> 8;
}

}  // namespace

bool put_shared(cairo_surface_t* target, const SharedPlace& p, int y0, int y1,
                const std::function<void(cairo_t*, std::int32_t, std::int32_t)>& draw) {
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_RGB24) {
    return false;
  }
  const int fx = p.x & 255, fy = p.y & 255;  // two's complement: the offset below the point
  const int px0 = floor_div256(p.x), py0 = floor_div256(p.y);
  thread_local std::vector<std::shared_ptr<const Stamp>> kept;
  std::shared_ptr<const Stamp> stamp;
  for (auto it = kept.begin(); it != kept.end(); ++it) {
    const Stamp& s = **it;
    if (s.drawing == p.drawing && s.fx == fx && s.fy == fy && s.antialias == p.antialias) {
      stamp = *it;
      kept.erase(it);
      break;
    }
  }
  if (!stamp) {
    stamp = make_stamp(p, fx, fy, draw);
    if (kept.size() >= kKept) kept.erase(kept.begin());
  }
  kept.push_back(stamp);  // the most recently used last

  cairo_surface_flush(target);
  unsigned char* data = cairo_image_surface_get_data(target);
  const int stride = cairo_image_surface_get_stride(target);
  const int w = cairo_image_surface_get_width(target);
  const int h = cairo_image_surface_get_height(target);
  const int lo = std::max(y0, 0), hi = std::min(y1, h);
  const int left = px0 + stamp->left, top = py0 + stamp->top;
  bool any = false;
  const std::size_t runs = stamp->runs.size();
  for (std::size_t i = 0; i < runs; ++i) {
    const Stamp::Run& r = stamp->runs[i];
    if (i + kAhead < runs) {
      // The page row of a run further on asked for now: each run's row is a fresh line of
      // the page's memory.
      const Stamp::Run& q = stamp->runs[i + kAhead];
      const int qy = top + q.row, qx = std::clamp(left + q.col, 0, std::max(w - 1, 0));
      if (qy >= lo && qy < hi)
        __builtin_prefetch(data + static_cast<std::size_t>(qy) * stride + static_cast<std::size_t>(qx) * 4, 1);
    }
    const int y = top + r.row;
    if (y < lo) continue;
    if (y >= hi) break;  // the runs go down the rows
    const int x0 = left + r.col;
    const int from = std::max(0, -x0), to = std::min(r.length, w - x0);
    if (from >= to) continue;
    any = true;
    std::uint32_t* d = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride) + x0;
    const std::uint32_t* src = stamp->px.data() + r.at;
    auto put = [&](int k) {
      const std::uint32_t s = src[k], v = d[k];
      d[k] = (v & 0xFFFFFFu) == 0xFFFFFFu
                 ? s
                 : 0xFF000000u | times((v >> 16) & 0xFF, (s >> 16) & 0xFF) << 16 |
                       times((v >> 8) & 0xFF, (s >> 8) & 0xFF) << 8 | times(v & 0xFF, s & 0xFF);
    };
    int k = from;
#if defined(__SSE2__)
    // Four pixels on white (the most, a stamp going on a blank page) take the stamp's.
    const __m128i ones = _mm_set1_epi32(-1), alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; k + 4 <= to; k += 4) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k));
      if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(v, alpha), ones)) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + k),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k)));
      } else {
        for (int e = k + 4; k < e; ++k) put(k);
        k -= 4;
      }
    }
#endif
    for (; k < to; ++k) put(k);
  }
  if (any) cairo_surface_mark_dirty(target);
  return true;
}

}  // namespace korbast::pages
