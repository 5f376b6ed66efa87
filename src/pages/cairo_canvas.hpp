// The program's drawing device.
//
// The window's page is kept as its drawing in a compact form (PageOps); its pixels are made
// only by replaying that drawing: into the window's image when the window shows it or the
// image is asked for, and on worker threads for the page files. When an X display opens, a
// real X11 window shows the image, brought up to date and copied at most every 50 ms while
// drawing goes on and at once on a flush or an exposure; its close button is ignored. Without a display the screen
// is a virtual 1920 x 1200 one and nothing is shown.
//
// The X connection lives on a thread of its own, the only one that calls Xlib: the dialog
// hands it copies of the image and waits for it only within bounds. When the X server goes
// away, Xlib's I/O error path ends on that thread and never returns (a return would leave
// Xlib and Cairo waiting for replies that never come); the dialog then drops the window and
// the run goes on writing every page to its files.
//
// Page files, in the current directory (or the directory given): every page that holds a
// drawing when it is written becomes <base>_w<k>_p<nnn>.png, and all pages of window k go
// into <base>_w<k>.pdf (A4, landscape for landscape pages, page cm (0, 0) at the lower left).
// They are encoded and written on worker threads beside the dialog (page_output.hpp), in page
// order; the PDF grows by appended updates and is valid after every page, a PNG appears
// whole or not at all. One notice line per page goes to the standard error once the page is
// in its files; files that fail are kept for take_file_failures(). Closing the window waits
// for every queued page (at most 3 seconds for a write that does not end).
#pragma once

#include <cairo.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.hpp"
#include "pages/canvas_clip.hpp"
#include "platform/idle.hpp"
#include "pages/page_output.hpp"

namespace korbast::pages {

// The X thread and what it shares with the dialog (cairo_canvas.cpp).
struct XMirror;

class CairoCanvas final : public platform::Canvas, public platform::IdleClient {
 public:
  struct Options {
    bool use_display = true;                     // try to open the X display
    platform::ScreenRect virtual_screen{0, 0, 1200, 1920};  // the screen when none opens
    std::string directory;                       // where page files go ("" = current)
    int bands = 0;  // bands each page image is replayed in (0: as the threads allow)
    std::size_t pdf_piece = 250000;  // operations per piece of a page's PDF content
    bool share = true;  // a shared drawing is kept once and placed (false: drawn each time)
  };

  CairoCanvas();
  explicit CairoCanvas(Options options);
  ~CairoCanvas() override;
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  // --- Canvas
  platform::ScreenRect screen_bounds() override;
  void window_open(const platform::ScreenRect& content, std::string_view title,
                   const platform::PageInfo& page) override;
  platform::ScreenRect window_region(int code) override;
  bool window_is_open() const override { return open_; }
  void context_begin(bool antialias) override;
  void set_stroke_rgb(const platform::Rgb& c) override { stroke_ = c; }
  void set_fill_rgb(const platform::Rgb& c) override { fill_ = c; }
  platform::Rgb fill_rgb() const override { return fill_; }
  void set_line_width(double w) override;
  void select_font(double size) override;
  void set_font_size(double size) override;
  void path_begin() override;
  void path_move(double x, double y) override;
  void path_line(double x, double y) override;
  void path_close() override;
  void path_stroke() override;
  void path_fill_stroke() override;
  void path_stroke_dot() override;
  void shared_begin(double x, double y, bool blank) override;
  void shared_end() override;
  double text_advance(std::string_view bytes) override;
  void text_show(double x, double y, double angle, std::string_view bytes) override;
  void clear_white(double x, double y, double w, double h) override;
  void flush() override;
  void sync() override;
  void write_page() override;
  void context_end() override {}
  void window_dispose() override;
  std::vector<platform::FileFailure> take_file_failures() override;

  // --- IdleClient
  int event_fd() override;
  void service() override;

  // --- for tests and tools
  bool has_display();
  unsigned long x_window() const { return xwin_; }  // 0 when no X window is shown
  // The page as drawn so far (replayed up to the last drawing call).
  cairo_surface_t* page_image();
  bool page_drawn() const { return drawn_; }
  int window_number() const { return window_no_; }
  // The files written so far (pages still queued are not in them yet).
  std::vector<std::string> files_written() const;
  // Waits until every finished page is in its files.
  void wait_for_files();
  // Closes the X display and ends its thread (the end of the program does this).
  void end_display();

 private:
  struct Subpath {
    std::vector<Point> pts;
    bool closed = false;
  };

  void open_display();
  void drop_display();
  bool display_lost();
  void create_x_window(const platform::ScreenRect& content, const std::string& title);
  // Hands the window a copy of the image; with `wait`, until it shows it (bounded).
  void copy_to_window(bool wait);
  template <class Sink>
  void visit_path(Sink&& sink) const;
  void record_path();
  // Records the path stroked (as dots when asked) and ends it.
  void stroke_path(bool dot);
  void catch_up();
  void finish_files();
  std::string path_in_dir(const std::string& name) const;

  Options options_;
  bool display_tried_ = false;
  std::shared_ptr<XMirror> mirror_;  // the X thread, while the display is there
  platform::ScreenRect unshown_screen_;  // the display's, where no X thread could be started
  unsigned long xwin_ = 0;
  bool x_dirty_ = false;
  std::chrono::steady_clock::time_point last_copy_{};

  bool open_ = false;
  platform::ScreenRect content_;
  int w_ = 0;
  int h_ = 0;
  Box guard_;
  platform::PageInfo page_;
  std::string title_;
  cairo_surface_t* image_ = nullptr;
  cairo_t* cr_image_ = nullptr;
  bool image_fresh_ = false;      // the image holds the current page up to cursor_
  PageOps::Cursor cursor_;
  cairo_surface_t* metrics_ = nullptr;  // a scratch context for text metrics
  cairo_t* cr_metrics_ = nullptr;
  PageOps ops_;
  // The shared drawing being recorded (points from its placing point), and the window's
  // shared drawings so far, newest last.
  bool sharing_ = false;
  bool shared_blank_ = false;
  PageOps shared_;
  std::int32_t shared_x_ = 0, shared_y_ = 0;
  std::vector<std::shared_ptr<const PageOps>> drawings_;
  std::unique_ptr<PageWriter> writer_;
  bool antialias_ = true;

  platform::Rgb stroke_;
  platform::Rgb fill_;
  double line_width_ = 1.0;
  double font_size_ = 10.0;
  std::vector<Subpath> path_;

  bool drawn_ = false;
  int window_no_ = 0;
  int page_no_ = 0;
  std::string base_;
  std::vector<std::string> files_;
  std::vector<platform::FileFailure> failures_;  // of finished writers, not yet taken
};

}  // namespace korbast::pages
