// The X11 window of the drawing device, under a virtual X server (xvfb-run). The test
// starts itself again under xvfb-run and checks there that the window shows exactly the
// pixels of the page file, that it repaints while the program waits on the console, and
// that its close button does not end the program. Skipped where xvfb-run is missing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "pages/cairo_canvas.hpp"
#include "platform/idle.hpp"
#include "support/command.hpp"
#include "support/tempfile.hpp"

// Xlib last: its macros (None, Status, Bool) would break the test framework's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace korbast::pages {
namespace {

namespace fs = std::filesystem;

constexpr const char* kChildVar = "KORBAST_XVFB_CHILD";

enum class Run { Here, Done, NoXvfb };

// Runs this very test again under xvfb-run and checks its result (Done), unless this is that
// run (Here) or xvfb-run is missing (NoXvfb).
Run run_under_xvfb(const char* test_name) {
  if (std::getenv(kChildVar)) return Run::Here;
  if (!korbast::testing::have_tool("xvfb-run")) return Run::NoXvfb;
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string cmd = std::string(kChildVar) + "=1 xvfb-run -a -s '-screen 0 1280x1024x24' '" +
                          self + "' --gtest_filter=" + test_name + " 2>&1";
  int st = 0;
  const std::string out = korbast::testing::run_command(cmd, &st);
  EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << out;
  EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
  return Run::Done;
}

#define UNDER_XVFB(name)                                         \
  switch (run_under_xvfb(name)) {                                \
    case Run::NoXvfb: GTEST_SKIP() << "xvfb-run is not installed"; \
    case Run::Done: return;                                      \
    case Run::Here: break;                                       \
  }

using korbast::testing::TempDir;

std::uint32_t image_pixel(cairo_surface_t* img, int x, int y) {
  const unsigned char* data = cairo_image_surface_get_data(img);
  const int stride = cairo_image_surface_get_stride(img);
  return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
}

// Keeps servicing the window until the X server shows it (or, on a server that never
// does, thirty seconds pass).
bool wait_viewable(CairoCanvas& c, Display* watcher) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < end) {
    XWindowAttributes a;
    if (XGetWindowAttributes(watcher, c.x_window(), &a) && a.map_state == IsViewable) return true;
    c.service();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Pixels of the window (as the server shows it) that differ from the image.
int differing_pixels(Display* watcher, Window win, cairo_surface_t* img) {
  const int w = cairo_image_surface_get_width(img);
  const int h = cairo_image_surface_get_height(img);
  XSync(watcher, False);
  XImage* shot = XGetImage(watcher, win, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h),
                           AllPlanes, ZPixmap);
  if (!shot) return -1;
  cairo_surface_flush(img);
  int diff = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((XGetPixel(shot, x, y) & 0xFFFFFF) != image_pixel(img, x, y)) ++diff;
  XDestroyImage(shot);
  return diff;
}

void draw_something(CairoCanvas& c) {
  c.set_fill_rgb({0.5, 0.0, 0.0});
  c.set_stroke_rgb({0.0, 0.0, 0.5});
  c.set_line_width(3.0);
  c.path_begin();
  c.path_move(20, 20);
  c.path_line(200, 20);
  c.path_line(200, 150);
  c.path_close();
  c.path_fill_stroke();
  c.set_fill_rgb({0, 0, 0});
  c.set_font_size(24);
  c.text_show(30, 250, 0.0, "Seismicity 45\xA1N");
}

TEST(X11Window, ShowsThePagePixels) {
  UNDER_XVFB("X11Window.ShowsThePagePixels");
  TempDir dir;
  CairoCanvas::Options o;
  o.directory = dir.path.string();
  CairoCanvas c(o);
  ASSERT_EQ(c.screen_bounds(), (platform::ScreenRect{0, 0, 1024, 1280}));
  ASSERT_TRUE(c.has_display());
  c.window_open({100, 300, 400, 700}, "VK Fit A4P", {"shot.ps", 10.0, false});
  c.context_begin(true);
  ASSERT_NE(c.x_window(), 0u);
  Display* watcher = XOpenDisplay(nullptr);
  ASSERT_NE(watcher, nullptr);
  ASSERT_TRUE(wait_viewable(c, watcher));
  EXPECT_EQ(platform::idle_client(), &c);

  draw_something(c);
  c.flush();
  EXPECT_EQ(differing_pixels(watcher, c.x_window(), c.page_image()), 0);

  // The same pixels went to the page file.
  c.write_page();
  c.wait_for_files();
  cairo_surface_t* png =
      cairo_image_surface_create_from_png((dir.path / "shot_w1_p001.png").c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(differing_pixels(watcher, c.x_window(), png), 0);
  cairo_surface_destroy(png);

  // Title and fixed size as asked.
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(watcher, c.x_window(), &name));
  EXPECT_STREQ(name, "VK Fit A4P");
  XFree(name);
  XWindowAttributes a;
  XGetWindowAttributes(watcher, c.x_window(), &a);
  EXPECT_EQ(a.width, 400);
  EXPECT_EQ(a.height, 300);

  const Window win = c.x_window();
  c.window_dispose();
  EXPECT_EQ(platform::idle_client(), nullptr);
  XSync(watcher, False);
  XWindowAttributes gone;
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  EXPECT_FALSE(XGetWindowAttributes(watcher, win, &gone));
  XCloseDisplay(watcher);
}

TEST(X11Window, RepaintsWhileWaitingOnTheConsoleAndIgnoresTheCloseButton) {
  UNDER_XVFB("X11Window.RepaintsWhileWaitingOnTheConsoleAndIgnoresTheCloseButton");
  TempDir dir;
  CairoCanvas::Options o;
  o.directory = dir.path.string();
  CairoCanvas c(o);
  c.window_open({0, 0, 300, 300}, "wait", {"wait.ps", 10.0, false});
  Display* watcher = XOpenDisplay(nullptr);
  ASSERT_NE(watcher, nullptr);
  ASSERT_TRUE(wait_viewable(c, watcher));
  c.flush();

  // Drawn just after a copy: the throttled sync leaves the window behind the page...
  const auto copied = std::chrono::steady_clock::now();
  draw_something(c);
  c.sync();
  if (std::chrono::steady_clock::now() - copied < std::chrono::milliseconds(40)) {
    EXPECT_GT(differing_pixels(watcher, c.x_window(), c.page_image()), 0);
  }
  // ...until the program waits on its console, which repaints it. The "keyboard" is a pipe
  // that gets its line after 300 ms.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::thread typist([w = fds[1]] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    (void)!write(w, "\n", 1);
  });

  // The window manager's close button sends this message; it must change nothing.
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = c.x_window();
  ev.xclient.message_type = XInternAtom(watcher, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(watcher, "WM_DELETE_WINDOW", False));
  XSendEvent(watcher, c.x_window(), False, NoEventMask, &ev);
  XFlush(watcher);

  platform::wait_console_readable(fds[0]);
  // The wait ended because the line came: it is there to read without waiting.
  ASSERT_EQ(fcntl(fds[0], F_SETFL, O_NONBLOCK), 0);
  char ch = 0;
  EXPECT_EQ(read(fds[0], &ch, 1), 1);
  typist.join();
  close(fds[0]);
  close(fds[1]);

  EXPECT_EQ(differing_pixels(watcher, c.x_window(), c.page_image()), 0);
  EXPECT_TRUE(c.window_is_open());
  c.window_dispose();
  XCloseDisplay(watcher);
}

TEST(IdleWait, ReturnsAtOnceWithoutAWindow) {
  ASSERT_EQ(platform::idle_client(), nullptr);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  // Nothing to read and no window: the wait is the read's business, not this one's. Nothing
  // is ever written to the pipe, so a wait for it would never return (the test's time limit
  // ends it).
  platform::wait_console_readable(fds[0]);
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
}  // namespace korbast::pages
