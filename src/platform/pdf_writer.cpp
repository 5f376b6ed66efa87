#include "platform/pdf_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/page_io.hpp"

namespace korbast::platform {

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

// A UTF-8 text as a PDF text string: UTF-16BE with its byte-order mark, in hex.
std::string pdf_text(std::string_view utf8) {
  static const char* hex = "0123456789ABCDEF";
  std::string out = "<FEFF";
  auto unit = [&](unsigned u) {
    for (int s = 12; s >= 0; s -= 4) out += hex[(u >> s) & 0xF];
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    unsigned cp = 0xFFFD;
    int len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6 && i + 1 < utf8.size()) {
      cp = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
      len = 2;
    } else if ((c >> 4) == 14 && i + 2 < utf8.size()) {
      cp = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
      len = 3;
    } else if ((c >> 3) == 30 && i + 3 < utf8.size()) {
      cp = ((c & 0x07) << 18) | ((utf8[i + 1] & 0x3F) << 12) | ((utf8[i + 2] & 0x3F) << 6) |
           (utf8[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 | (cp >> 10));
      unit(0xDC00 | (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out + ">";
}

std::string fixed(double v, int decimals) {
  std::string s;
  put_number(s, v, decimals);
  return s;
}

}  // namespace

// ---------------------------------------------------------------- content streams

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

std::string compress_content(const std::string& text) {
  return zlib_compress(text.data(), text.size(), kPdfLevel);
}

// ---------------------------------------------------------------- the file

PdfFile::PdfFile(std::string path, std::string title, double sheet_w, double sheet_h)
    : path_(std::move(path)), title_(std::move(title)), sheet_w_(sheet_w), sheet_h_(sheet_h) {}

PdfFile::~PdfFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string PdfFile::add_page(const std::vector<std::string>& streams,
                              const std::vector<unsigned>& glyphs) {
  const bool first = fd_ < 0;
  if (first) {
    fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return std::strerror(errno);
    struct stat st {};
    made_ = fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
  }
  // The page goes in as two updates, made apart and committed only once both are in the
  // file. The first holds the page's own objects under new numbers, so that readers which
  // rebuild a cut file's cross-reference table from its objects find the page tree as it
  // was; the second rewrites the page tree nodes above the page, and is short enough that
  // in a copy cut inside it readers still find the first one's startxref near the end.
  int objects = objects_;
  std::vector<std::pair<unsigned, int>> defined = glyph_objs_;
  Node root = root_;
  std::array<Node, kLevels> path = last_;
  std::string body;
  std::vector<std::pair<int, long long>> at;  // object, offset: what the update writes
  auto object = [&](int num, const std::string& dict, const std::string& data) {
    at.emplace_back(num, end_ + static_cast<long long>(body.size()));
    body += std::to_string(num) + " 0 obj\n" + dict;
    if (!data.empty() || dict.find("/Length") != std::string::npos) {
      body += "\nstream\n";
      body += data;
      body += "\nendstream";
    }
    body += "\nendobj\n";
    return num;
  };
  // The update's cross-reference section, in runs of consecutive object numbers, pointing
  // back to the one before; its trailer and end.
  long long prev = first ? -1 : xref_at_;
  auto end_update = [&] {
    const long long xref_at = end_ + static_cast<long long>(body.size());
    std::sort(at.begin(), at.end());
    body += "xref\n";
    char entry[32];
    for (std::size_t i = 0; i < at.size();) {
      std::size_t j = i + 1;
      while (j < at.size() && at[j].first == at[j - 1].first + 1) ++j;
      body += std::to_string(at[i].first) + " " + std::to_string(j - i) + "\n";
      for (; i < j; ++i) {
        if (at[i].first == 0) std::snprintf(entry, sizeof entry, "0000000000 65535 f \n");
        else std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", at[i].second);
        body += entry;
      }
    }
    body += "trailer\n<< /Size " + std::to_string(objects + 1) + " /Root 1 0 R /Info 3 0 R";
    if (prev >= 0) body += " /Prev " + std::to_string(prev);
    body += " >>\nstartxref\n" + std::to_string(xref_at) + "\n%%EOF\n";
    at.clear();
    prev = xref_at;
  };
  if (first) {
    body = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    at.emplace_back(0, 0);  // the head of the free list
    object(1, "<< /Type /Catalog /Pages 2 0 R >>", "");
    object(2, "<< /Type /Pages /Kids [ ] /Count 0 >>", "");
    object(3, "<< /Title " + pdf_text(title_) + " /Creator (korbast) /Producer (korbast) >>", "");
  }
  std::string xobjects;
  for (unsigned g : glyphs) {
    auto it = std::lower_bound(defined.begin(), defined.end(), std::make_pair(g, 0));
    if (it == defined.end() || it->first != g) {
      const GlyphForm form = glyph_form(g);
      const int obj = object(++objects,
                             "<< /Type /XObject /Subtype /Form /BBox [" + form.bbox +
                                 "] /Length " + std::to_string(form.content.size()) + " >>",
                             form.content);
      it = defined.insert(it, {g, obj});
    }
    xobjects += " /g" + std::to_string(g) + " " + std::to_string(it->second) + " 0 R";
  }
  std::string contents;
  for (const std::string& stream : streams) {
    const int obj = object(
        ++objects, "<< /Length " + std::to_string(stream.size()) + " /Filter /FlateDecode >>", stream);
    contents += (contents.empty() ? "" : " ") + std::to_string(obj) + " 0 R";
  }
  if (streams.size() != 1) contents = "[" + contents + "]";
  // The page tree: the root (object 2) over kLevels levels of nodes of up to kFan kids, the
  // pages below the last. New nodes where the last ones are full.
  int full = 0;
  while (full < kLevels && (path[full].num == 0 || path[full].kids.size() == kFan)) ++full;
  for (int l = full - 1; l >= 0; --l) {
    path[l] = Node{++objects, {}, 0};
    (l + 1 < kLevels ? path[l + 1] : root).kids.push_back(path[l].num);
  }
  const std::string resources =
      xobjects.empty() ? "<< >>" : "<< /XObject <<" + xobjects + " >> >>";
  const int page_obj = object(++objects, "<< /Type /Page /Parent " + std::to_string(path[0].num) +
                                             " 0 R /MediaBox [0 0 " + fixed(sheet_w_, 3) + " " +
                                             fixed(sheet_h_, 3) + "] /Contents " + contents +
                                             " /Resources " + resources + " >>",
                              "");
  end_update();
  path[0].kids.push_back(page_obj);
  for (Node& n : path) ++n.count;
  ++root.count;
  auto node = [&](const Node& n, int parent) {
    std::string d = "<< /Type /Pages";
    if (parent > 0) d += " /Parent " + std::to_string(parent) + " 0 R";
    d += " /Kids [";
    for (int k : n.kids) d += " " + std::to_string(k) + " 0 R";
    object(n.num, d + " ] /Count " + std::to_string(n.count) + " >>", "");
  };
  for (int l = 0; l < kLevels; ++l) node(path[l], l + 1 < kLevels ? path[l + 1].num : 2);
  node(root, 0);
  end_update();
  // Appended after all that is written; a failed append is cut off again, so that the
  // file keeps its pages and ends with the last one's update.
  if (!write_all(fd_, body.data(), body.size(), end_)) {
    const std::string err = std::strerror(errno);
    if (ftruncate(fd_, end_) != 0) {
      // The bytes stay after the last update: readers look past them.
    }
    if (pages_ == 0) {
      ::close(fd_);
      fd_ = -1;
      if (made_) unlink(path_.c_str());  // no page reached it: no file is left
    }
    return err;
  }
  ++pages_;
  end_ += static_cast<long long>(body.size());
  xref_at_ = prev;
  objects_ = objects;
  glyph_objs_ = std::move(defined);
  root_ = std::move(root);
  last_ = std::move(path);
  return "";
}

std::string PdfFile::close() {
  if (fd_ < 0) return "";
  const int fd = fd_;
  fd_ = -1;
  return ::close(fd) == 0 ? "" : std::strerror(errno);
}

}  // namespace korbast::platform
