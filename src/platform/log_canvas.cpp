#include "platform/log_canvas.hpp"

#include <cstdio>

namespace korbast::platform {

namespace {

std::string num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

std::string rgb(const Rgb& c) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.2f,%.2f,%.2f", c.r, c.g, c.b);
  return buf;
}

std::string rect(const ScreenRect& r) {
  return std::to_string(r.top) + " " + std::to_string(r.left) + " " +
         std::to_string(r.bottom) + " " + std::to_string(r.right);
}

}  // namespace

std::string LogCanvas::text() const {
  std::string all;
  for (const auto& l : lines_) {
    all += l;
    all += '\n';
  }
  return all;
}

ScreenRect LogCanvas::screen_bounds() {
  log("screen " + rect(screen_));
  return screen_;
}

void LogCanvas::window_open(const ScreenRect& content, std::string_view title,
                            const PageInfo& page) {
  content_ = content;
  open_ = true;
  log("window " + rect(content) + " \"" + std::string(title) + "\" page=\"" + page.name +
      "\" scale=" + num(page.scale) + (page.landscape ? " landscape" : " portrait"));
}

ScreenRect LogCanvas::window_region(int code) {
  log("region " + std::to_string(code));
  return content_;
}

void LogCanvas::context_begin(bool antialias) {
  stroke_ = {};
  fill_ = {};
  line_width_ = 1.0;
  log(std::string("context aa=") + (antialias ? "1" : "0"));
}

void LogCanvas::set_stroke_rgb(const Rgb& c) {
  stroke_ = c;
  log("stroke_rgb " + rgb(c));
}

void LogCanvas::set_fill_rgb(const Rgb& c) {
  fill_ = c;
  log("fill_rgb " + rgb(c));
}

void LogCanvas::set_line_width(double w) {
  line_width_ = w;
  log("line_width " + num(w));
}

void LogCanvas::select_font(double size) {
  font_size_ = size;
  log("font " + num(size));
}

void LogCanvas::set_font_size(double size) {
  font_size_ = size;
  log("font_size " + num(size));
}

void LogCanvas::path_begin() { log("begin"); }
void LogCanvas::path_move(double x, double y) { log("move " + num(x) + " " + num(y)); }
void LogCanvas::path_line(double x, double y) { log("line " + num(x) + " " + num(y)); }
void LogCanvas::path_close() { log("close"); }

void LogCanvas::path_stroke() {
  log("stroke rgb=" + rgb(stroke_) + " w=" + num(line_width_));
}

void LogCanvas::path_stroke_dot() {
  log("stroke_dot rgb=" + rgb(stroke_) + " w=" + num(line_width_));
}

void LogCanvas::path_fill_stroke() {
  log("fill_stroke fill=" + rgb(fill_) + " rgb=" + rgb(stroke_) + " w=" + num(line_width_));
}

double LogCanvas::text_advance(std::string_view bytes) {
  const double w = 0.5 * font_size_ * static_cast<double>(bytes.size());
  log("advance \"" + std::string(bytes) + "\" = " + num(w));
  return w;
}

void LogCanvas::text_show(double x, double y, double angle, std::string_view bytes) {
  log("text " + num(x) + " " + num(y) + " a=" + num(angle) + " s=" + num(font_size_) +
      " fill=" + rgb(fill_) + " \"" + std::string(bytes) + "\"");
}

void LogCanvas::clear_white(double x, double y, double w, double h) {
  log("clear_white " + num(x) + " " + num(y) + " " + num(w) + " " + num(h));
}

void LogCanvas::flush() { log("flush"); }
void LogCanvas::sync() { log("sync"); }
void LogCanvas::write_page() { log("write_page"); }
void LogCanvas::context_end() { log("context_end"); }

void LogCanvas::window_dispose() {
  open_ = false;
  log("dispose");
}

}  // namespace korbast::platform
