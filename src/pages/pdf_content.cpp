// The content streams of the PDF page files: a page's drawing (PageOps) as PDF operators,
// runs of short segments written as curves, a page cut into pieces for the writer threads,
// shared drawings as forms, and the compression of a stream.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "pages/page_io.hpp"
#include "pages/page_ops.hpp"
#include "pages/pdf_content.hpp"
#include "pages/pdf_font.hpp"
#include "pages/pdf_writer.hpp"

namespace korbast::pages {

namespace {

constexpr int kPdfLevel = 1;

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
  cairo_font_face_t* face = page_font_face();
  cairo_matrix_t fm, ctm;
  cairo_matrix_init_scale(&fm, size, size);
  cairo_matrix_init_identity(&ctm);
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_scaled_font_t* sf = cairo_scaled_font_create(face, &fm, &ctm, fo);
  cairo_font_options_destroy(fo);
  if (cache.fonts.size() >= 8) {
    cairo_scaled_font_destroy(cache.fonts.front().second);
    cache.fonts.erase(cache.fonts.begin());
  }
  cache.fonts.emplace_back(size, sf);
  return sf;
}

// How far a curve written for a run of segments may stray from them: a twelfth of a pixel
// (anti-aliased edges change by a few levels at most).
constexpr double kCurveTolerance = 1.0 / 12.0;

// The cubic Bezier from q[0] to q[k] (points as x, y pairs) that comes nearest points
// q[1..k-1] at their chord-length parameters; false when it strays from the points, or
// from the segments' middles, by more than the tolerance.
bool fit_cubic(const double* q, int k, double c[4]) {
  double len[16];
  len[0] = 0.0;
  for (int j = 1; j <= k; ++j)
    len[j] = len[j - 1] + std::sqrt((q[2 * j] - q[2 * j - 2]) * (q[2 * j] - q[2 * j - 2]) +
                                    (q[2 * j + 1] - q[2 * j - 1]) * (q[2 * j + 1] - q[2 * j - 1]));
  if (!(len[k] > 0.0)) return false;
  const double x0 = q[0], y0 = q[1], x3 = q[2 * k], y3 = q[2 * k + 1];
  double a11 = 0, a12 = 0, a22 = 0, bx1 = 0, bx2 = 0, by1 = 0, by2 = 0;
  for (int j = 1; j < k; ++j) {
    const double t = len[j] / len[k], u = 1.0 - t;
    const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
    const double rx = q[2 * j] - b0 * x0 - b3 * x3, ry = q[2 * j + 1] - b0 * y0 - b3 * y3;
    a11 += b1 * b1;
    a12 += b1 * b2;
    a22 += b2 * b2;
    bx1 += b1 * rx;
    bx2 += b2 * rx;
    by1 += b1 * ry;
    by2 += b2 * ry;
  }
  const double det = a11 * a22 - a12 * a12;
  if (!(std::fabs(det) > 1e-12)) return false;
  c[0] = (bx1 * a22 - bx2 * a12) / det;
  c[1] = (by1 * a22 - by2 * a12) / det;
  c[2] = (a11 * bx2 - a12 * bx1) / det;
  c[3] = (a11 * by2 - a12 * by1) / det;
  // The squared distance of the curve at t from (x, y).
  auto off = [&](double t, double x, double y) {
    const double u = 1.0 - t;
    const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
    const double dx = b0 * x0 + b1 * c[0] + b2 * c[2] + b3 * x3 - x;
    const double dy = b0 * y0 + b1 * c[1] + b2 * c[3] + b3 * y3 - y;
    return dx * dx + dy * dy;
  };
  constexpr double kFar = kCurveTolerance * kCurveTolerance;
  for (int j = 0; j < k; ++j) {
    if (j > 0 && !(off(len[j] / len[k], q[2 * j], q[2 * j + 1]) <= kFar)) return false;
    const double mid = (len[j] + len[j + 1]) / 2.0 / len[k];
    if (!(off(mid, (q[2 * j] + q[2 * j + 2]) / 2.0, (q[2 * j + 1] + q[2 * j + 3]) / 2.0) <= kFar)) {
      return false;
    }
  }
  return true;
}

// A subpath (image pixels, x, y pairs) in content units: runs of short segments along a
// smooth line become cubic curves that keep within the tolerance of them, the rest lines.
// A subpath begun by a line (after a closed one) starts with that line, not a move.
void put_subpath(std::string& out, const std::vector<double>& pts, double unit, bool move) {
  const int n = static_cast<int>(pts.size() / 2);
  if (n == 0) return;
  auto put = [&](double x, double y) {
    put_number(out, x * unit, 0);
    out += ' ';
    put_number(out, y * unit, 0);
  };
  put(pts[0], pts[1]);
  out += move ? " m\n" : " l\n";
  int i = 0;
  while (i + 1 < n) {
    bool curved = false;
    for (const int k : {12, 6}) {
      if (i + k >= n) continue;
      double c[4];
      if (!fit_cubic(&pts[2 * i], k, c)) continue;
      put(c[0], c[1]);
      out += ' ';
      put(c[2], c[3]);
      out += ' ';
      put(pts[2 * (i + k)], pts[2 * (i + k) + 1]);
      out += " c\n";
      i += k;
      curved = true;
      break;
    }
    if (curved) continue;
    ++i;
    put(pts[2 * i], pts[2 * i + 1]);
    out += " l\n";
  }
}

}  // namespace

std::string PdfContent::content(double scale, double height,
                                std::vector<unsigned>& glyphs) const {
  return content(scale, height, glyphs, PageOps::Cursor{}, SIZE_MAX);
}

std::string PdfContent::content(double scale, double height, std::vector<unsigned>& glyphs,
                                const PageOps::Cursor& from, std::size_t to) const {
  return content_of(scale, height, glyphs, from, to, true);
}

std::string PdfContent::form_content(std::string& bbox, std::vector<unsigned>& glyphs) const {
  const PageOps::Reach r = ops_.reach_from_origin();
  // In the form's space, the page content's units from the placing point.
  bbox = std::to_string(static_cast<long long>(std::floor(r.left * (10.0 / 256.0)))) + " " +
         std::to_string(static_cast<long long>(std::floor(r.top * (10.0 / 256.0)))) + " " +
         std::to_string(static_cast<long long>(std::ceil(r.right * (10.0 / 256.0)))) + " " +
         std::to_string(static_cast<long long>(std::ceil(r.bottom * (10.0 / 256.0))));
  return content_of(1.0, 0.0, glyphs, PageOps::Cursor{}, SIZE_MAX, false);
}

namespace {

// Page units of a tenth of a pixel: points are whole numbers.
constexpr double kUnit = 10.0;

// The page's turn from image pixels (y downwards) to page units on a sheet `height` pixels
// high, pixels scaled by `scale` points.
void put_page_matrix(std::string& out, double scale, double height) {
  out += "q ";
  put_number(out, scale / kUnit, 7);
  out += " 0 0 ";
  put_number(out, -scale / kUnit, 7);
  out += " 0 ";
  put_number(out, height * scale, 4);
  out += " cm\n";
}

// The colours and line width a content stream has set, and those the drawing has in hand:
// each is written only before a paint that needs it changed.
struct PaintState {
  std::string& out;
  platform::Rgb stroke, fill, out_stroke, out_fill;
  double width, out_width;
  bool have_stroke, have_fill, have_width;

  // A piece starts after a paint: the stroke colour and width are set as they are.
  PaintState(std::string& o, const PageOps::Cursor& from)
      : out(o), stroke(from.stroke), fill(from.fill), out_stroke(from.stroke),
        out_fill(from.set_fill), width(from.width), out_width(from.width),
        have_stroke(from.code > 0), have_fill(from.fill_set), have_width(from.code > 0) {}

  void put_rgb(const platform::Rgb& c, const char* op) {
    put_number(out, c.r, 4);
    out += ' ';
    put_number(out, c.g, 4);
    out += ' ';
    put_number(out, c.b, 4);
    out += op;
  }
  void set_fill(const platform::Rgb& c) {
    if (have_fill && c == out_fill) return;
    put_rgb(c, " rg\n");
    have_fill = true;
    out_fill = c;
  }
  void set_stroke() {
    if (!have_stroke || !(stroke == out_stroke)) put_rgb(stroke, " RG\n");
    if (!have_width || width != out_width) {
      put_number(out, width * kUnit, 3);
      out += " w\n";
    }
    have_stroke = have_width = true;
    out_stroke = stroke;
    out_width = width;
  }
};

// The path in hand, written as its subpaths end; its paint appends it to the stream.
struct PathText {
  std::string text;
  std::vector<double> sub;  // the points of the subpath in hand, image pixels
  bool sub_moved = true;    // it began with a move

  void flush() {
    put_subpath(text, sub, kUnit, sub_moved);
    sub.clear();
  }
  void point(const std::int32_t* xy) {
    sub.push_back(xy[0] / 256.0);
    sub.push_back(xy[1] / 256.0);
  }
  void paint(std::string& out, const char* op) {
    out += text;
    out += op;
    text.clear();
  }
};

// The rectangle (x, y top, w, h in image pixels) filled in the fill colour.
void put_rect(std::string& out, const double* r) {
  for (int k = 0; k < 4; ++k) {
    put_number(out, r[k] * kUnit, 1);
    out += ' ';
  }
  out += "re f\n";
}

// The glyphs of a text, `count` of them as the page font at `size` sets them, in the text
// space `c`, `s` turns (the cosine and sine of the text's angle) from (x, y) in image pixels.
// Text space: one unit per size, y upwards, turned as the text is, starting at the first
// glyph; the glyphs by their indices in the embedded page font, each following the one
// before by its width. The page sets them so too: its unhinted advances are the font's own
// widths, which the PDF font holds to a millionth of the size, so that no glyph of a text
// (at most 199 bytes) stands a ten-thousandth of the size from where the page has it. The
// glyphs' outlines cut out a rectangle painted in the fill colour (text mode 7): readers
// find and select the text, and draw the outlines as they draw paths, at the very places
// the page image has them.
void put_glyphs(std::string& out, const cairo_glyph_t* gl, int count, double x, double y,
                double c, double s, double size, std::vector<unsigned>& glyphs) {
  const double size_u = size * kUnit;
  out += "q ";
  put_number(out, size_u * c, 4);
  out += ' ';
  put_number(out, -size_u * s, 4);
  out += ' ';
  put_number(out, -size_u * s, 4);
  out += ' ';
  put_number(out, -size_u * c, 4);
  out += ' ';
  put_number(out, (x + c * gl[0].x + s * gl[0].y) * kUnit, 1);
  out += ' ';
  put_number(out, (y - s * gl[0].x + c * gl[0].y) * kUnit, 1);
  out += " cm BT 7 Tr /F1 1 Tf <";
  double width = 0.0;  // of the glyphs, 1/1000 of the size
  static const char* hex = "0123456789ABCDEF";
  for (int g = 0; g < count; ++g) {
    const unsigned index = static_cast<unsigned>(gl[g].index) & 0xFFFF;
    for (int b = 12; b >= 0; b -= 4) out += hex[(index >> b) & 0xF];
    width += pdf_glyph_width(index);
    glyphs.push_back(index);
  }
  out += "> Tj ET -2 -1 ";
  put_number(out, width / 1000.0 + 4.0, 1);
  out += " 3 re f Q\n";
}

// A text (x, y, angle, size as recorded) set in the page font; nothing when Cairo cannot
// set it.
void put_text(std::string& out, const double* v, const std::string& utf8,
              std::vector<unsigned>& glyphs) {
  const double x = v[0], y = v[1], angle = v[2], size = v[3];
  cairo_glyph_t* gl = nullptr;
  int count = 0;
  cairo_scaled_font_t* sf = page_font(size);
  if (cairo_scaled_font_text_to_glyphs(sf, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &gl,
                                       &count, nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
    return;
  }
  if (count > 0) {
    const double c = angle != 0.0 ? std::cos(angle) : 1.0;
    const double s = angle != 0.0 ? std::sin(angle) : 0.0;
    put_glyphs(out, gl, count, x, y, c, s, size, glyphs);
  }
  cairo_glyph_free(gl);
}

// The form of shared drawing `number` placed by image point (x, y) (24.8 fixed).
void put_place(std::string& out, std::uint64_t number, double x, double y) {
  out += "q 1 0 0 1 ";
  put_number(out, x * (kUnit / 256.0), 1);
  out += ' ';
  put_number(out, y * (kUnit / 256.0), 1);
  out += " cm /D";
  out += std::to_string(number);
  out += " Do Q\n";
}

}  // namespace

std::string PdfContent::content_of(double scale, double height, std::vector<unsigned>& glyphs,
                                   const PageOps::Cursor& from, std::size_t to, bool page) const {
  using enum PageOps::Op;
  const auto& code = ops_.code_;
  const auto& pts = ops_.pts_;
  const auto& vals = ops_.vals_;
  const auto& texts = ops_.texts_;
  const auto& drawings = ops_.drawings_;
  const std::size_t end = std::min(to, code.size());
  std::string out;
  out.reserve((end - from.code) * 2 + (pts.size() - from.pts) * 4 + 64);
  if (page && from.code == 0) put_page_matrix(out, scale, height);
  PaintState state(out, from);
  PathText path;
  std::size_t p = from.pts, v = from.vals, t = from.texts;
  for (std::size_t i = from.code; i < end; ++i) {
    const std::uint8_t op = code[i];
    if (!path.sub.empty() && op != kLine) path.flush();
    switch (op) {
      case kMove:
        path.sub_moved = true;
        path.point(&pts[p]);
        p += 2;
        break;
      case kLine:
        if (path.sub.empty()) path.sub_moved = false;
        path.point(&pts[p]);
        p += 2;
        break;
      case kClose: path.text += "h\n"; break;
      case kStrokeRgb: state.stroke = {vals[v], vals[v + 1], vals[v + 2]}; v += 3; break;
      case kFillRgb: state.fill = {vals[v], vals[v + 1], vals[v + 2]}; v += 3; break;
      case kWidth: state.width = vals[v++]; break;
      case kAntialias: ++v; break;
      case kStroke:
      case kDot:
      case kFillStroke:
        if (op == kFillStroke) state.set_fill(state.fill);
        state.set_stroke();
        // Dots are stroked with round line ends, which draw a disc at a subpath of no length.
        if (op == kDot) out += "1 J\n";
        path.paint(out, op == kFillStroke ? "B\n" : "S\n");  // the subpath in hand flushed above
        if (op == kDot) out += "0 J\n";
        break;
      case kClearRect:
        state.set_fill({1, 1, 1});
        put_rect(out, &vals[v]);
        v += 4;
        break;
      case kText:
        state.set_fill(state.fill);
        put_text(out, &vals[v], texts[t++], glyphs);
        v += 4;
        break;
      case kPlace:
        put_place(out, drawings[static_cast<std::size_t>(vals[v])]->number(), vals[v + 1],
                  vals[v + 2]);
        v += 4;
        break;
      default: break;
    }
  }
  if (page && end == code.size()) out += "Q\n";
  std::sort(glyphs.begin(), glyphs.end());
  glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
  return out;
}

std::vector<PageOps::Cursor> PdfContent::pieces(std::size_t count) const {
  using enum PageOps::Op;
  const auto& code = ops_.code_;
  const auto& vals = ops_.vals_;
  std::vector<PageOps::Cursor> out{PageOps::Cursor{}};
  const std::size_t n = code.size(), step = n / std::max<std::size_t>(count, 1) + 1;
  PageOps::Cursor at;
  for (std::size_t i = 0; i < n; ++i) {
    switch (code[i]) {
      case kMove:
      case kLine: at.pts += 2; break;
      case kStrokeRgb: at.stroke = {vals[at.vals], vals[at.vals + 1], vals[at.vals + 2]}; at.vals += 3; break;
      case kFillRgb: at.fill = {vals[at.vals], vals[at.vals + 1], vals[at.vals + 2]}; at.vals += 3; break;
      case kWidth: at.width = vals[at.vals++]; break;
      case kAntialias: ++at.vals; break;
      case kPlace: at.vals += 4; break;
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
    if (PageOps::paints(code[i]) && i + 1 < n &&
        i + 1 - out.back().code >= step) {
      at.code = i + 1;
      out.push_back(at);
    }
  }
  return out;
}

std::string compress_content(const std::string& text) {
  return zlib_compress(text.data(), text.size(), kPdfLevel);
}

}  // namespace korbast::pages
