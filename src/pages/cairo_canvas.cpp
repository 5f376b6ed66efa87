#include "pages/cairo_canvas.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "pages/canvas_text.hpp"
#include "pages/display_look.hpp"
#include "platform/run_threads.hpp"

namespace korbast::pages {

namespace {

constexpr auto kCopyInterval = std::chrono::milliseconds(50);
constexpr double kA4Short = 210.0 / 25.4 * 72.0;  // points
constexpr double kA4Long = 297.0 / 25.4 * 72.0;

// The canvas whose files the end of the program must finish.
CairoCanvas* g_live = nullptr;
bool g_atexit_set = false;

int on_x_error(Display*, XErrorEvent*) { return 0; }  // protocol errors: the window is a mirror
int on_x_io_error(Display*) { return 0; }  // the exit handler below decides

// Xlib and xcb check their own state and abort when it does not hold, which a connection
// broken in the middle of a request can cause. An abort on an X thread parks that thread for
// good, as a lost connection does, and the run goes on without the window; an abort on any
// other thread ends the program as usual.
thread_local std::atomic<bool>* t_x_aborted = nullptr;

void on_abort(int sig) {
  if (std::atomic<bool>* aborted = t_x_aborted) {
    aborted->store(true);
    for (;;) pause();
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Called on an X thread before its first Xlib call. The handler is set once, and only where
// nobody else handles SIGABRT (a caller's or a checker's handler stays).
void park_aborts_of_this_thread(std::atomic<bool>* aborted) {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction old {};
    if (sigaction(SIGABRT, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return;
    struct sigaction act {};
    act.sa_handler = on_abort;
    sigemptyset(&act.sa_mask);
    sigaction(SIGABRT, &act, nullptr);
  });
  t_x_aborted = aborted;
}

void finish_at_exit() {
  if (g_live) {
    g_live->window_dispose();
    g_live->end_display();
  }
}

// Bounds of the dialog's waits for the X thread: opening the display and a window, showing a
// copy on a flush, closing. A server that does not answer within them is left behind.
constexpr auto kOpenBound = std::chrono::seconds(5);
constexpr auto kShowBound = std::chrono::seconds(1);
constexpr auto kCloseBound = std::chrono::seconds(3);

bool finite(double v) { return std::isfinite(v); }

}  // namespace

// ---------------------------------------------------------------- the X thread

// The X connection, its window and the last copy of the image, all on one thread (the only
// one calling Xlib). The dialog asks through `orders` and waits on `cv` for `done` to reach
// its order's number, or for `lost`.
struct XMirror {
  enum class Kind { Open, Show, Close, Quit };
  struct Order {
    Order(Kind k) : kind(k) {}  // NOLINT: orders are written {Kind::...}
    Kind kind;
    std::uint64_t number = 0;
    platform::ScreenRect content;
    std::string title;  // Latin-1 and UTF-8 for Open
    std::string utf8;
    int w = 0, h = 0;
  };

  std::mutex mu;
  std::condition_variable cv;
  bool ready = false;  // the display was tried
  bool closed = false;  // the connection was closed: the thread is ending
  bool lost = false;   // the connection broke: the thread is parked for good
  platform::ScreenRect screen;
  std::deque<Order> orders;
  std::uint64_t ordered = 0, done = 0;
  unsigned long window = 0;
  // The newest copy of the image not yet taken by the thread.
  std::vector<unsigned char> frame;
  int frame_w = 0, frame_h = 0, frame_stride = 0;
  bool frame_new = false;
  int wake[2] = {-1, -1};  // the dialog writes a byte to wake the thread
  std::thread thread;
  std::atomic<bool> aborted{false};  // Xlib or xcb aborted on the thread: parked for good

  ~XMirror() {
    for (int fd : wake)
      if (fd >= 0) ::close(fd);
  }

  // Where Xlib ends when the connection breaks. It must not return; the thread marks the
  // display lost and waits for ever with every signal blocked (the thread leaves the rest of
  // the process alone; its Xlib and Cairo state is never touched again).
  static void on_io_exit(Display*, void* self) {
    auto* m = static_cast<XMirror*>(self);
    {
      std::lock_guard<std::mutex> lock(m->mu);
      m->lost = true;
    }
    m->cv.notify_all();
    for (;;) pause();
  }

  // --- the dialog's side

  std::uint64_t order(Order o) {
    std::uint64_t n;
    {
      std::lock_guard<std::mutex> lock(mu);
      n = o.number = ++ordered;
      orders.push_back(std::move(o));
    }
    poke();
    return n;
  }
  void poke() {
    const char byte = 1;
    (void)!::write(wake[1], &byte, 1);
  }
  // Waits until order n is done (true), the display is lost or the bound passes (false).
  bool wait_done(std::uint64_t n, std::chrono::steady_clock::duration bound) {
    std::unique_lock<std::mutex> lock(mu);
    cv.wait_for(lock, bound, [&] { return lost || aborted || done >= n; });
    return !lost && !aborted && done >= n;
  }
  bool is_lost() {
    std::lock_guard<std::mutex> lock(mu);
    return lost || aborted;
  }
  // Hands over a copy of the image; with `wait`, until the window shows it (bounded). The
  // wait is skipped while an earlier one is still not done: a server that has fallen behind
  // costs the dialog one bound, not one per page.
  void show(cairo_surface_t* image, bool wait) {
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const int h = cairo_image_surface_get_height(image);
    bool behind;
    {
      std::lock_guard<std::mutex> lock(mu);
      behind = done < ordered;
      frame.assign(data, data + static_cast<std::size_t>(stride) * h);
      frame_w = cairo_image_surface_get_width(image);
      frame_h = h;
      frame_stride = stride;
      frame_new = true;
    }
    if (!wait) {
      poke();
      return;
    }
    const std::uint64_t n = order({Kind::Show});
    if (!behind) wait_done(n, kShowBound);
  }

  // --- the thread

  void run() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);  // signals are the dialog's business
    park_aborts_of_this_thread(&aborted);
    XSetErrorHandler(on_x_error);
    XSetIOErrorHandler(on_x_io_error);
    Display* dpy = XOpenDisplay(nullptr);
    {
      std::lock_guard<std::mutex> lock(mu);
      ready = true;
      if (dpy) {
        const int scr = DefaultScreen(dpy);
        screen = {0, 0, DisplayHeight(dpy, scr), DisplayWidth(dpy, scr)};
      }
    }
    cv.notify_all();
    if (!dpy) return;
    XSetIOErrorExitHandler(dpy, on_io_exit, this);
    serve(dpy);
    XCloseDisplay(dpy);  // a server lost now parks the thread here
    {
      std::lock_guard<std::mutex> lock(mu);
      closed = true;
    }
    cv.notify_all();
  }

  void serve(Display* dpy) {
    Window win = 0;
    cairo_surface_t* xsurface = nullptr;
    cairo_surface_t* shown = nullptr;  // the last copy taken
    std::vector<unsigned char> pixels;
    auto close_window = [&] {
      if (xsurface) cairo_surface_destroy(xsurface);
      xsurface = nullptr;
      if (win) XDestroyWindow(dpy, win);
      win = 0;
      XSync(dpy, False);
    };
    for (bool quit = false; !quit;) {
      bool paint = false;
      while (XPending(dpy) > 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (win && ev.xany.window == win && (ev.type == Expose || ev.type == MapNotify)) paint = true;
        // ClientMessage (the close button) and the rest: nothing to do.
      }
      std::deque<Order> todo;
      std::uint64_t last = 0;
      {
        std::lock_guard<std::mutex> lock(mu);
        todo.swap(orders);
        if (frame_new) {
          pixels.swap(frame);
          frame_new = false;
          if (shown) cairo_surface_destroy(shown);
          shown = cairo_image_surface_create_for_data(pixels.data(), CAIRO_FORMAT_RGB24, frame_w,
                                                      frame_h, frame_stride);
          paint = true;
        }
      }
      bool sync = false;
      for (Order& o : todo) {
        last = o.number;
        switch (o.kind) {
          case Kind::Open:
            close_window();
            win = create_window(dpy, o);
            xsurface = cairo_xlib_surface_create(dpy, win, DefaultVisual(dpy, DefaultScreen(dpy)),
                                                 o.w, o.h);
            sync = true;
            break;
          case Kind::Show: sync = true; break;
          case Kind::Close:
            close_window();
            if (shown) cairo_surface_destroy(shown);
            shown = nullptr;
            paint = false;
            break;
          case Kind::Quit: quit = true; break;
        }
      }
      if (quit) close_window();
      if (paint && xsurface && shown) {
        cairo_t* cr = cairo_create(xsurface);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, shown, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(xsurface);
      }
      if (sync) XSync(dpy, False);
      else XFlush(dpy);
      if (last) {
        {
          std::lock_guard<std::mutex> lock(mu);
          done = last;
          window = win;
        }
        cv.notify_all();
      }
      if (quit) break;
      if (XEventsQueued(dpy, QueuedAlready) > 0) continue;
      pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {wake[0], POLLIN, 0}};
      if (poll(fds, 2, -1) < 0 && errno != EINTR) break;
      if (fds[1].revents) {
        char buf[64];
        while (::read(wake[0], buf, sizeof buf) > 0) {
        }
      }
    }
    if (shown) cairo_surface_destroy(shown);
  }

  static Window create_window(Display* dpy, const Order& o) {
    const int scr = DefaultScreen(dpy);
    Window win = XCreateSimpleWindow(dpy, RootWindow(dpy, scr), o.content.left, o.content.top,
                                     static_cast<unsigned>(o.w), static_cast<unsigned>(o.h), 0,
                                     BlackPixel(dpy, scr), WhitePixel(dpy, scr));
    XSizeHints* hints = XAllocSizeHints();
    if (hints) {
      hints->flags = USPosition | PPosition | PSize | PMinSize | PMaxSize;
      hints->x = o.content.left;
      hints->y = o.content.top;
      hints->width = hints->min_width = hints->max_width = o.w;
      hints->height = hints->min_height = hints->max_height = o.h;
      XSetWMNormalHints(dpy, win, hints);
      XFree(hints);
    }
    XStoreName(dpy, win, o.title.c_str());
    XChangeProperty(dpy, win, XInternAtom(dpy, "_NET_WM_NAME", False),
                    XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(o.utf8.data()),
                    static_cast<int>(o.utf8.size()));
    // The close button must not end the program (pages and files would be lost): take the
    // protocol and ignore its message.
    Atom del = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, win, &del, 1);
    XSelectInput(dpy, win, ExposureMask | StructureNotifyMask);
    XMapWindow(dpy, win);
    return win;
  }
};

CairoCanvas::CairoCanvas() : CairoCanvas(Options{}) {}

CairoCanvas::CairoCanvas(Options options) : options_(std::move(options)) {}

CairoCanvas::~CairoCanvas() {
  if (open_) window_dispose();
  if (g_live == this) g_live = nullptr;
  end_display();
  if (cr_metrics_) cairo_destroy(cr_metrics_);
  if (metrics_) cairo_surface_destroy(metrics_);
}

std::string CairoCanvas::path_in_dir(const std::string& name) const {
  if (options_.directory.empty()) return name;
  return options_.directory + "/" + name;
}

// ---------------------------------------------------------------- screen and X display

void CairoCanvas::open_display() {
  if (display_tried_) return;
  display_tried_ = true;
  // No display named: no thread is spent on finding none (under a process limit, the page
  // writer may need it).
  const char* display = std::getenv("DISPLAY");
  if (!options_.use_display || !display || !*display) return;
  auto m = std::make_shared<XMirror>();
  if (pipe2(m->wake, O_CLOEXEC | O_NONBLOCK) != 0) return;
  if (const int e = platform::start_thread(m->thread, [m] { m->run(); }); e != 0) {
    // No thread for the window (a process limit reached): drawn as without a display, on
    // pages of the display's size, and told.
    std::fprintf(stderr,
                 "korbast: no thread to show the plot window (%s): the pages go to their files only\n",
                 std::strerror(e));
    unshown_screen_ = screen_here(kOpenBound);
    return;
  }
  std::unique_lock<std::mutex> lock(m->mu);
  const bool ready = m->cv.wait_for(lock, kOpenBound, [&] { return m->ready; });
  const bool opened = ready && m->screen.width() > 0;
  lock.unlock();
  if (opened) {
    mirror_ = std::move(m);
  } else if (ready) {
    m->thread.join();  // no display: the thread has ended
  } else {
    platform::leave_behind(m->thread);  // a server that does not answer
  }
}

void CairoCanvas::drop_display() {
  // The connection is gone (or does not answer): its thread is left where it waits, with
  // the mirror it shares; drawing goes on into the image and the page files.
  if (mirror_) platform::leave_behind(mirror_->thread);
  mirror_.reset();
  xwin_ = 0;
  x_dirty_ = false;
}

bool CairoCanvas::display_lost() {
  if (mirror_ && mirror_->is_lost()) drop_display();
  return !mirror_;
}

bool CairoCanvas::has_display() { return !display_lost(); }

void CairoCanvas::end_display() {
  if (!mirror_) return;
  const std::uint64_t n = mirror_->order({XMirror::Kind::Quit});
  bool closed = false;
  if (mirror_->wait_done(n, kCloseBound)) {
    // The server may go while the connection is closed: join only a thread that got past it.
    std::unique_lock<std::mutex> lock(mirror_->mu);
    closed = mirror_->cv.wait_for(lock, kCloseBound, [&] { return mirror_->closed; });
  }
  if (!closed) {
    drop_display();
    return;
  }
  mirror_->thread.join();
  mirror_.reset();
  xwin_ = 0;
}

platform::ScreenRect CairoCanvas::screen_bounds() {
  open_display();
  if (!display_lost()) return mirror_->screen;
  return unshown_screen_.width() > 0 ? unshown_screen_ : options_.virtual_screen;
}

void CairoCanvas::create_x_window(const platform::ScreenRect& content, const std::string& title) {
  XMirror::Order o{XMirror::Kind::Open};
  o.content = content;
  o.title = text_to_latin1(title);
  o.utf8 = text_to_utf8(title);
  o.w = w_;
  o.h = h_;
  const std::uint64_t n = mirror_->order(std::move(o));
  if (!mirror_->wait_done(n, kOpenBound)) {
    drop_display();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mirror_->mu);
    xwin_ = mirror_->window;
  }
  copy_to_window(true);
}

void CairoCanvas::copy_to_window(bool wait) {
  if (display_lost() || !xwin_) return;
  catch_up();
  mirror_->show(image_, wait);
  if (wait) display_lost();
  x_dirty_ = false;
  last_copy_ = std::chrono::steady_clock::now();
}

int CairoCanvas::event_fd() { return -1; }  // the X thread takes the window's events

void CairoCanvas::service() {
  if (display_lost()) return;
  if (xwin_ && x_dirty_ && std::chrono::steady_clock::now() - last_copy_ >= kCopyInterval) {
    copy_to_window(false);
  }
}

// ---------------------------------------------------------------- window and context

void CairoCanvas::window_open(const platform::ScreenRect& content, std::string_view title,
                              const platform::PageInfo& page) {
  if (open_) window_dispose();
  open_display();
  content_ = content;
  w_ = std::max(1, content.width());
  h_ = std::max(1, content.height());
  guard_ = guard_box(w_, h_);
  page_ = page;
  if (!(page_.scale > 0.0) || !finite(page_.scale)) page_.scale = 1.0;
  title_ = std::string(title);
  ++window_no_;
  page_no_ = 0;
  base_ = page_file_base(page.name);
  drawn_ = false;
  path_.clear();

  image_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w_, h_);
  cr_image_ = cairo_create(image_);
  image_fresh_ = false;
  if (!cr_metrics_) {
    metrics_ = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cr_metrics_ = cairo_create(metrics_);
    setup_page_context(cr_metrics_, true);
  }
  ops_.clear();
  open_ = true;
  context_begin(true);

  if (!display_lost()) create_x_window(content, title_);
  if (xwin_) platform::set_idle_client(this);

  g_live = this;
  if (!g_atexit_set) {
    g_atexit_set = true;
    std::atexit(finish_at_exit);
  }
}

platform::ScreenRect CairoCanvas::window_region(int) {
  // The content, the port, the whole window and its title bar are all reported as the
  // content rectangle: the window manager owns the frame.
  return content_;
}

void CairoCanvas::context_begin(bool antialias) {
  if (sharing_) shared_end();
  stroke_ = {};
  fill_ = {};
  line_width_ = 1.0;
  antialias_ = antialias;
  path_.clear();
  if (open_) ops_.antialias(antialias);
}

void CairoCanvas::set_line_width(double w) {
  if (finite(w) && w > 0.0) line_width_ = w;
}

void CairoCanvas::select_font(double size) { set_font_size(size); }

void CairoCanvas::set_font_size(double size) { font_size_ = size; }

// ---------------------------------------------------------------- paths

void CairoCanvas::path_begin() { path_.clear(); }

void CairoCanvas::path_move(double x, double y) { path_.push_back({{{x, y}}, false}); }

void CairoCanvas::path_line(double x, double y) {
  if (path_.empty()) {
    path_.push_back({{{x, y}}, false});
    return;
  }
  if (path_.back().closed) {
    // A segment after a closed figure starts from that figure's first point.
    const Point start = path_.back().pts.front();
    path_.push_back({{start}, false});
  }
  path_.back().pts.push_back({x, y});
}

void CairoCanvas::path_close() {
  if (!path_.empty()) path_.back().closed = true;
}

// Hands the visible part of the path to the sink (move, line, close), y upwards.
template <class Sink>
void CairoCanvas::visit_path(Sink&& sink) const {
  for (const Subpath& sp : path_) {
    bool plain = true;  // finite and inside the guard box: no cutting needed
    for (const Point& p : sp.pts) {
      if (!guard_.contains(p)) {  // false for NaN too
        plain = false;
        break;
      }
    }
    if (plain) {
      sink.move(sp.pts[0]);
      if (sp.pts.size() == 1 && !sp.closed) sink.line(sp.pts[0]);
      for (std::size_t i = 1; i < sp.pts.size(); ++i) sink.line(sp.pts[i]);
      if (sp.closed) sink.close();
    } else if (sp.closed) {
      const auto poly = clip_polygon(sp.pts, guard_);
      if (poly.empty()) continue;
      sink.move(poly[0]);
      for (std::size_t i = 1; i < poly.size(); ++i) sink.line(poly[i]);
      sink.close();
    } else {
      for (const auto& run : clip_polyline(sp.pts, guard_)) {
        sink.move(run[0]);
        if (run.size() == 1) sink.line(run[0]);
        for (std::size_t i = 1; i < run.size(); ++i) sink.line(run[i]);
      }
    }
  }
}

void CairoCanvas::record_path() {
  // Points arrive in the upward y of the context; the page image has y downwards, so every
  // point is flipped here (the glyphs keep their orientation).
  struct Sink {
    PageOps& ops;
    double hh;

    void move(const Point& p) { ops.move(p.x, hh - p.y); }
    void line(const Point& p) { ops.line(p.x, hh - p.y); }
    void close() { ops.close(); }
  };
  visit_path(Sink{sharing_ ? shared_ : ops_, static_cast<double>(h_)});
}

void CairoCanvas::stroke_path(bool dot) {
  if (!open_) return;
  record_path();
  (sharing_ ? shared_ : ops_).stroke(stroke_, line_width_, dot);
  path_.clear();
  drawn_ = true;
}

void CairoCanvas::path_stroke() { stroke_path(false); }

void CairoCanvas::path_stroke_dot() { stroke_path(true); }

void CairoCanvas::path_fill_stroke() {
  if (!open_) return;
  record_path();
  (sharing_ ? shared_ : ops_).fill_stroke(fill_, stroke_, line_width_);
  path_.clear();
  drawn_ = true;
}

// ---------------------------------------------------------------- shared drawings

void CairoCanvas::shared_begin(double x, double y, bool blank) {
  if (!open_) return;
  if (sharing_) shared_end();
  if (!options_.share || !finite(x) || !finite(y) || !guard_.contains({x, y})) return;
  sharing_ = true;
  shared_blank_ = blank;
  shared_x_ = to_fixed(x);
  shared_y_ = to_fixed(h_ - y);
  shared_.clear();
  shared_.set_origin(shared_x_, shared_y_);
}

void CairoCanvas::shared_end() {
  if (!sharing_) return;
  sharing_ = false;
  if (shared_.empty()) return;
  // The same drawing as one kept (points within 1/256 pixel) is placed again.
  std::shared_ptr<const PageOps> drawing;
  for (auto it = drawings_.rbegin(); it != drawings_.rend() && !drawing; ++it) {
    if ((*it)->same_drawing(shared_)) drawing = *it;
  }
  if (!drawing) {
    shared_.seal();
    if (drawings_.size() >= 16) drawings_.erase(drawings_.begin());
    drawing = std::make_shared<const PageOps>(std::move(shared_));
    drawings_.push_back(drawing);
  }
  shared_.clear();
  ops_.place(drawing, shared_x_, shared_y_, shared_blank_);
}

// ---------------------------------------------------------------- text

double CairoCanvas::text_advance(std::string_view bytes) {
  if (!open_ || !(font_size_ > 0.0) || !finite(font_size_)) return 0.0;
  const std::string utf8 = text_to_utf8(bytes);
  cairo_set_font_size(cr_metrics_, font_size_);
  cairo_text_extents_t ext;
  cairo_text_extents(cr_metrics_, utf8.c_str(), &ext);
  return finite(ext.x_advance) ? ext.x_advance : 0.0;
}

void CairoCanvas::text_show(double x, double y, double angle, std::string_view bytes) {
  if (!open_) return;
  drawn_ = true;
  if (!finite(x) || !finite(y) || !guard_.contains({x, y})) return;
  if (!(font_size_ > 0.0) || !finite(font_size_)) return;
  (sharing_ ? shared_ : ops_)
      .text(x, h_ - y, finite(angle) ? angle : 0.0, font_size_, fill_, text_to_utf8(bytes));
}

// ---------------------------------------------------------------- pages

void CairoCanvas::clear_white(double x, double y, double w, double h) {
  if (!open_) return;
  if (sharing_) shared_end();
  if (!finite(x) || !finite(y) || !finite(w) || !finite(h)) return;
  const bool whole = x <= 0.0 && y <= 0.0 && x + w >= w_ && y + h >= h_;
  if (whole) {
    // A new page: the drawing kept is gone with it, and the image starts white again.
    ops_.clear();
    image_fresh_ = false;
    const platform::Rgb keep_stroke = stroke_, keep_fill = fill_;
    const double keep_width = line_width_;
    context_begin(antialias_);
    stroke_ = keep_stroke;
    fill_ = keep_fill;
    line_width_ = keep_width;
    drawn_ = false;
  } else {
    ops_.clear_rect(x, h_ - (y + h), w, h);
  }
  x_dirty_ = true;
}

void CairoCanvas::catch_up() {
  if (!image_) return;
  if (sharing_) shared_end();
  if (!image_fresh_) {
    cairo_set_source_rgb(cr_image_, 1, 1, 1);
    cairo_paint(cr_image_);
    setup_page_context(cr_image_, true);
    cursor_ = {};
    image_fresh_ = true;
  }
  ops_.replay(cr_image_, cursor_);
  cairo_surface_flush(image_);
}

cairo_surface_t* CairoCanvas::page_image() {
  catch_up();
  return image_;
}

void CairoCanvas::flush() {
  if (!open_) return;
  copy_to_window(true);
}

void CairoCanvas::sync() {
  if (!open_) return;
  x_dirty_ = true;
  if (std::chrono::steady_clock::now() - last_copy_ >= kCopyInterval) copy_to_window(false);
}

void CairoCanvas::write_page() {
  if (sharing_) shared_end();
  if (!open_ || !drawn_) return;
  drawn_ = false;
  ++page_no_;
  const std::string png = page_png_name(base_, window_no_, page_no_);
  if (!writer_) {
    PageWriter::Setup setup;
    setup.pdf_name = page_pdf_name(base_, window_no_);
    setup.pdf_path = path_in_dir(setup.pdf_name);
    setup.title = text_to_utf8(title_);
    setup.sheet_w = page_.landscape ? kA4Long : kA4Short;
    setup.sheet_h = page_.landscape ? kA4Short : kA4Long;
    // Pixels to points at the page scale; pixel (0, 0) of the context, page cm (0, 0), is
    // the lower-left corner of the sheet.
    setup.scale = 72.0 / (2.54 * page_.scale);
    setup.bands = options_.bands;
    setup.piece = options_.pdf_piece;
    // The page's pixels per metre: its points per pixel at 72 points to the inch.
    setup.pixels_per_metre = static_cast<std::uint32_t>(std::lround(72.0 / setup.scale / 0.0254));
    writer_ = std::make_unique<PageWriter>(std::move(setup));
  }
  // The page stays on show (drawing may go on): the writer gets a copy of its drawing.
  writer_->submit(page_no_, png, path_in_dir(png), w_, h_, ops_);
}

void CairoCanvas::wait_for_files() {
  if (writer_) writer_->drain();
}

std::vector<std::string> CairoCanvas::files_written() const {
  std::vector<std::string> all = files_;
  if (writer_) {
    const auto now = writer_->files();
    all.insert(all.end(), now.begin(), now.end());
  }
  return all;
}

void CairoCanvas::finish_files() {
  if (!writer_) return;
  writer_->finish();
  const auto done = writer_->files();
  files_.insert(files_.end(), done.begin(), done.end());
  auto failed = writer_->take_failures();
  failures_.insert(failures_.end(), failed.begin(), failed.end());
  writer_.reset();
}

std::vector<platform::FileFailure> CairoCanvas::take_file_failures() {
  std::vector<platform::FileFailure> all = std::exchange(failures_, {});
  if (writer_) {
    auto now = writer_->take_failures();
    all.insert(all.end(), now.begin(), now.end());
  }
  return all;
}

void CairoCanvas::window_dispose() {
  if (!open_) return;
  write_page();
  finish_files();
  if (platform::idle_client() == this) platform::set_idle_client(nullptr);
  if (!display_lost() && xwin_) {
    const std::uint64_t n = mirror_->order({XMirror::Kind::Close});
    if (!mirror_->wait_done(n, kCloseBound)) drop_display();
  }
  xwin_ = 0;
  cairo_destroy(cr_image_);
  cairo_surface_destroy(image_);
  cr_image_ = nullptr;
  image_ = nullptr;
  image_fresh_ = false;
  path_.clear();
  ops_.clear();
  drawings_.clear();
  open_ = false;
  if (g_live == this) g_live = nullptr;
}

}  // namespace korbast::pages
