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

template <class F>
void PageOps::each_path(F&& f) const {
  double width = 1.0;
  std::size_t i = 0, p = 0, v = 0;
  const std::size_t n = code_.size();
  while (i < n) {
    switch (code_[i]) {
      case kMove:
      case kLine:
      case kClose: {
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
        f(t, b, l, r);
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
}

int PageOps::reach(int y0, int y1, int height) const {
  double bottom = 0.0;
  each_path([&](double t, double b, double, double) {
    if (b >= y0 && t <= y1) bottom = std::max(bottom, b);
  });
  return std::clamp(static_cast<int>(std::ceil(bottom)) + 1, y1, height);
}

std::vector<int> PageOps::split(int bands, int height) const {
  // The drawing per row: each path's area spread over its rows, plus a share per path.
  // A path crossing a border is drawn in both bands: borders go where few paths cross.
  std::vector<double> change(static_cast<std::size_t>(height) + 1, 0.0);
  std::vector<int> crossing(static_cast<std::size_t>(height) + 1, 0);
  each_path([&](double t, double b, double l, double r) {
    const int y0 = std::clamp(static_cast<int>(t), 0, height);
    const int y1 = std::clamp(static_cast<int>(b) + 1, 0, height);
    if (y1 <= y0 || r < 0.0) return;
    const double per_row = std::max(1.0, r - std::max(l, 0.0)) + 200.0 / (y1 - y0);
    change[y0] += per_row;
    change[y1] -= per_row;
    crossing[y0 + 1] += 1;
    crossing[y1] -= 1;
  });
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

void PageOps::replay(cairo_t* cr, Cursor& at, int y0, int y1) const {
  const bool cull = y0 != INT_MIN || y1 != INT_MAX;
  const std::size_t n = code_.size();
  std::size_t i = at.code, p = at.pts, v = at.vals, t = at.texts;
  while (i < n) {
    const auto op = static_cast<Op>(code_[i]);
    switch (op) {
      case kMove:
      case kLine:
      case kClose: {
        // A path up to its paint: its rows and line width decide whether it shows here.
        double top = 0.0, bottom = 0.0;
        const std::size_t j = scan_path(i, p, v, at.width, top, bottom);
        const bool show = !cull || (bottom >= y0 && top <= y1);
        if (show) cairo_new_path(cr);
        for (; i < j; ++i) {
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
        if (i < n && show) {
          if (code_[i] == kFillStroke) {
            set_source(cr, at.fill);
            cairo_fill_preserve(cr);
          }
          set_source(cr, at.stroke);
          cairo_set_line_width(cr, at.width);
          cairo_stroke(cr);
        }
        if (i < n) ++i;
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
  // Page units of a tenth of a pixel: points are whole numbers.
  constexpr double kUnit = 10.0;
  std::string out;
  out.reserve(code_.size() * 2 + pts_.size() * 4 + 64);
  out += "q ";
  put_number(out, scale / kUnit, 7);
  out += " 0 0 ";
  put_number(out, -scale / kUnit, 7);
  out += " 0 ";
  put_number(out, height * scale, 4);
  out += " cm\n";
  Rgb stroke, fill, out_stroke, out_fill;
  double width = 1.0, out_width = 1.0;
  bool have_stroke = false, have_fill = false, have_width = false;
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
  std::size_t p = 0, v = 0, t = 0;
  for (std::uint8_t op : code_) {
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
  out += "Q\n";
  std::sort(glyphs.begin(), glyphs.end());
  glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
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
