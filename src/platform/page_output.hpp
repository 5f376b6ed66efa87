// Page files of the drawing device, written beside the dialog.
//
// A finished page is handed over as a copy of its pixels and its drawing in a compact form
// (PageOps: one byte per operation, single-precision numbers); worker threads encode the
// PNG and the PDF content stream, and one writer thread puts the pages into their files in
// page order. The PDF is valid after every page: each page's objects go where the previous
// tail (page tree, cross-reference table, trailer) stood, followed by a fresh tail. A page is
// announced on the standard error only when its bytes are in the files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.hpp"

namespace korbast::platform {

// The drawing of one page for its PDF: paths in window pixels, y upwards, already cut to the
// guard box; colours and line widths written only where they change.
class PageOps {
 public:
  void clear();
  bool empty() const { return code_.empty(); }
  std::size_t bytes() const { return code_.capacity() + num_.capacity() * sizeof(float); }

  void move(double x, double y);
  void line(double x, double y);
  void curve(double x1, double y1, double x2, double y2, double x3, double y3);
  void close();
  void stroke(const Rgb& colour, double width);
  void fill_stroke(const Rgb& fill, const Rgb& stroke, double width);
  void fill(const Rgb& colour);

  // The PDF content stream: pixels scaled by `scale` points.
  std::string content(double scale) const;

 private:
  enum Op : std::uint8_t { kMove, kLine, kCurve, kClose, kStrokeRgb, kFillRgb, kWidth, kStroke,
                           kFillStroke, kFill };
  void put(Op op, std::initializer_list<double> v);
  void path_op(Op op, std::initializer_list<double> v);
  void paint(Op op, const Rgb* fill, const Rgb* stroke, double width);

  std::vector<std::uint8_t> code_;
  std::vector<float> num_;
  bool have_stroke_ = false, have_fill_ = false, have_width_ = false;
  Rgb stroke_, fill_;
  double width_ = 1.0;
  bool in_path_ = false;
  std::size_t path_code_ = 0, path_num_ = 0;
};

// A PNG file image of w x h pixels of Cairo's RGB24 layout (rows `stride` bytes apart):
// indexed colour when the page has at most 256 colours, 8-bit RGB otherwise; fast deflate.
std::string encode_png(const unsigned char* data, int w, int h, int stride);

// The page files of one window.
class PageWriter {
 public:
  struct Setup {
    std::string pdf_name;    // as told in the notices
    std::string pdf_path;    // where it is written
    std::string title;       // UTF-8
    double sheet_w = 0.0;    // points
    double sheet_h = 0.0;
    double scale = 1.0;      // points per pixel
  };
  explicit PageWriter(Setup setup);
  ~PageWriter();  // finish()
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;

  // Queues a finished page; waits only while too many pages are still being encoded.
  void submit(int page, std::string png_name, std::string png_path, const unsigned char* data,
              int w, int h, int stride, PageOps ops);
  // Waits until every queued page is in its files.
  void drain();
  // drain(), then closes the PDF and ends the threads.
  void finish();
  // The files written so far (PNG names and the PDF name once it holds a page).
  std::vector<std::string> files() const;

  struct Impl;

 private:
  Impl* impl_;
};

// SIGINT and SIGTERM finish the live writer's queued pages before the program ends (the
// signal's default action then follows). Installed once; the live writer is set by the device.
void install_page_signal_handlers();
void set_live_page_writer(PageWriter* w);

}  // namespace korbast::platform
