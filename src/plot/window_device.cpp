#include "plot/window_device.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/stop.hpp"
#include "frame/text.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "pages/cairo_canvas.hpp"
#include "platform/idle.hpp"

namespace korbast::plot {

View view;
Windevsize windevsize;

namespace {

namespace units = frame::units;
namespace fmt = frame::fmt;
using frame::iocom;

platform::Canvas* g_device = nullptr;

constexpr frame::Identity id_intplinit{"intplinit", " 6.0", "19-03-2009"};
constexpr frame::Identity id_intplend{"intplend", " 6.0", "17-03-2009"};
constexpr frame::Identity id_intnewpage{"intnewpage", " 6.0", "17-03-2009"};

using frame::say;
using frame::say_item;
using frame::say_rule;

// The window geometry. Above the window content the screen keeps the menu bar and the
// window's own title bar, 22 pixels each; as much is left free below it, for the Dock.
constexpr int kScreenMargin = 44;
// Pixels per centimetre at 100 %: a screen of 90 dots per inch (90 / 2.54).
constexpr float kPixelsPerCm = 35.43307f;
// The sides of an A4 page in cm, and the ratio of every A-series page: short side over
// long side 1/sqrt(2), long over short sqrt(2). The program has always taken them as 0.70707
// and 1.4143 (not 0.70711 and 1.41421): the windows depend on these values to the pixel.
constexpr float kA4ShortCm = 21.0f;
constexpr float kA4LongCm = 29.7f;
constexpr float kShortOverLong = 0.70707f;
constexpr float kLongOverShort = 1.4143f;

// The page set-ups: printed name and default window title.
struct Setup {
  std::string_view name;
  std::string_view title;
};

Setup setup_texts(int isetup) {
  switch (isetup) {
    case 0: return {"Fit Portrait A4 + Full screen", "VK Fit A4P + Full width"};
    case 1: return {"Fit Portrait A4", "VK Fit A4P"};
    case 2: return {"Fit Landscape A4", "VK Fit A4L"};
    case 3: return {"100% Portrait A4", "VK 100% A4P"};
    case 4: return {"100% Landscape A4", "VK 100% A4L"};
    default: return {"ERROR: Unexpected set up", "ERROR: Unexpected set up"};
  }
}

// One column of the settings line: a blank reads as 0, a digit as its value, anything else
// is a read error. Columns past the end of the line are blank.
bool settings_digit(const std::string& line, std::size_t col, int& value) {
  const char c = col < line.size() ? line[col] : ' ';
  if (c == ' ') {
    value = 0;
    return true;
  }
  if (c >= '0' && c <= '9') {
    value = c - '0';
    return true;
  }
  return false;
}

// The first line of the settings file: columns 2 and 4. False when the file is missing or
// its first line cannot be read; then nothing is changed. Only a regular file is read: a
// FIFO or a device at its name is unreadable, and its open never waits for a writer.
bool read_settings(int& isetup, int& antialias) {
  if (!units::open(kSettingsUnit, kSettingsFile, units::Status::Regular)) return false;
  std::string line;
  const units::Read r = units::read_line(kSettingsUnit, line);
  units::close(kSettingsUnit);
  if (r != units::Read::Ok) return false;
  int s = 0;
  int a = 0;
  if (!settings_digit(line, 1, s) || !settings_digit(line, 3, a)) return false;
  isetup = s;
  antialias = a;
  return true;
}

// Writes the two lines of the settings file, whole or not at all; false when it cannot be
// created or written (then the previous file is kept).
bool write_settings(int isetup, int antialias) {
  if (!units::open(kSettingsUnit, kSettingsFile, units::Status::Whole)) return false;
  bool ok = units::write_line(kSettingsUnit,
                              fmt::Line().x(1).i(isetup, 1).x(1).i(antialias, 1).str());
  ok = units::write_line(kSettingsUnit, "    ") && ok;
  // The close puts the file in place once it is on disk: a failure there has its own error
  // frame from the unit table.
  return units::close(kSettingsUnit) && ok;
}

// While a window shows, a wait on the keyboard keeps it painted.
void keyboard_wait() { platform::wait_console_readable(0, frame::stop::wake_fd()); }

// Page files the window could not write, each in the unit table's error frame (the run
// then ends with status 1).
void report_page_failures() {
  if (!view.window) return;
  for (const platform::FileFailure& f : view.window->take_file_failures())
    units::report_failed_file(f.file, f.stage, f.reason, "PAGES", f.pages);
}

// At a stop of the program the shown page still reaches its files.
void finish_on_stop() {
  if (view.window && view.window->window_is_open()) {
    view.window->write_page();
    view.window->window_dispose();
  }
  report_page_failures();
  view.context = nullptr;
  view.pathopen = 0;
}

void register_hooks() {
  static bool done = false;
  if (done) return;
  done = true;
  units::set_keyboard_wait_hook(keyboard_wait);
  units::at_stop(finish_on_stop);
}

std::string rect_row(std::string_view label, int width, int top, int bottom, int left,
                     int right) {
  fmt::Line l;
  l.x(1).a("|").a(label, width).a("|");
  for (int v : {top, bottom, left, right}) l.i(v, 4).a(" |");
  return l.str();
}

std::string head_row(int width) {
  fmt::Line l;
  l.x(1).a("|").a("Domain", width).a("|");
  for (std::string_view t : {"Top", "Bottom", "Left", "Right"}) l.a(t, 5).a("|");
  return l.str();
}

int nearest(double v) { return static_cast<int>(std::lround(v)); }

// The settings in force, shown; a missing or unreadable file means set-up 1 with
// anti-aliasing.
bool read_and_show_settings(int& isetup, int& antialias) {
  const bool read = read_settings(isetup, antialias);
  if (!read) {
    isetup = 1;
    antialias = 1;
  }
  frame::submenuhead(id_intplinit);
  say_item("             Default Settings:");
  say_rule();
  // The name is a text of 25 characters: cut or padded with blanks.
  const frame::Text<25> setup_name(setup_texts(isetup).name);
  say(fmt::Line().item("Page setup =").item(setup_name.view()).str());
  say_item(antialias == 1 ? "Aliasing on" : "Aliasing off");
  say_rule();
  return read;
}

// The menus of a new choice of set-up and anti-aliasing.
void choose_settings(int& isetup, int& antialias) {
  int status = 0;
  say_rule();
  say_item("       Updating Default Settings:");
  say_item("         N.B. 100% scale is for");
  say_item("          90 dpi or 0.28 pitch");
  say_rule();
  say_item("Page set up .................Command");
  say_item("Fit  Portrait  A4 + Full screen...0");
  say_item("Fit  Portrait  A4 ................1");
  say_item("Fit  Landscape A4.................2");
  say_item("100% Portrait  A4.................3");
  say_item("100% Landscape A4.................4");
  say_rule();
  frame::inintegvindef(isetup, "page setup command", isetup, 0, 4, status);
  say_rule();
  say_item("Aliasing set up .............Command");
  say_item("Off ..............................0");
  say_item("On ...............................1");
  say_rule();
  frame::inintegvindef(antialias, "aliasing set up", antialias, 0, 1, status);
}

// The settings file written anew. A directory that refuses it gets a warning; the settings
// then hold for this window only.
void rewrite_settings(int isetup, int antialias) {
  if (write_settings(isetup, antialias)) {
    say_rule();
    say_item("vomek1_ini_u.txt updated or created");
    say_rule();
    return;
  }
  // Lost output like any other file: the run ends with status 1.
  units::mark_output_lost();
  frame::warninghead(id_intplinit);
  say_item("cannot write vomek1_ini_u.txt");
  say_item("==> settings used for this window only");
  frame::warningtail00();
}

// The set-up and anti-aliasing of the window: from the settings file, kept or chosen again;
// the file is (re)written when it was not read or the user chose again.
void settle_settings(int& isetup, int& antialias) {
  bool rewrite = !read_and_show_settings(isetup, antialias);
  int status = 0;
  bool keep = true;
  frame::inlogicdef(keep, "Use default settings", true, status);
  if (!keep) {
    choose_settings(isetup, antialias);
    rewrite = true;
  }
  if (rewrite) rewrite_settings(isetup, antialias);
}

// The window title: the set-up's own, or (even device codes) the user's answer; without
// its surrounding blanks.
std::string ask_title(int isetup, int idev) {
  int status = 0;
  say_rule();
  say_item("OPENING QUARTZ WINDOW");
  frame::Text<25> title(setup_texts(isetup).title);
  if (idev % 2 == 0) {
    frame::inchardef(title, "plot window name", setup_texts(isetup).title, status);
  }
  int first = 0;
  int last = 0;
  frame::textlen(first, last, title.view());
  if (last < first || first < 1) return {};
  return std::string(title.view().substr(static_cast<std::size_t>(first - 1),
                                         static_cast<std::size_t>(last - first + 1)));
}

// What was asked and what was obtained: the screen, the requested window content and the
// regions of the window opened.
void report_bounds(platform::Canvas& dev, const platform::ScreenRect& screen, const Windevsize& g) {
  frame::say_rule('-', 51);
  say(fmt::Line().x(1).a("|").a("Bounds in pixels:", 49).a("|").str());
  const std::string bar = fmt::Line().x(1).a("|").a(std::string(49, '-')).a("|").str();
  say(bar);
  say(head_row(25));
  say(bar);
  say(rect_row("Full screen", 25, screen.top, screen.bottom, screen.left, screen.right));
  say(bar);
  say(rect_row("Requested Window content", 25, g.top, g.bottom, g.left, g.right));
  const struct {
    std::string_view label;
    int code;
  } regions[] = {{"Obtained Window content", 33},
                 {"Obtained Window Port", 40},
                 {"Obtained Full Window", 32},
                 {"Obtained Window Title Bar", 0}};
  for (const auto& r : regions) {
    const platform::ScreenRect b = dev.window_region(r.code);
    say(bar);
    say(rect_row(r.label, 25, b.top, b.bottom, b.left, b.right));
  }
  frame::say_rule('-', 51);
}

}  // namespace

void use_device(platform::Canvas* device) { g_device = device; }

platform::Canvas& device() {
  if (g_device) return *g_device;
  static pages::CairoCanvas program_device;
  return program_device;
}

float page_scale(int isetup, int top, int left, int bottom, int right, float pxpcm) {
  switch (isetup) {
    case 0:
    case 1: return static_cast<float>(bottom - top) / kA4LongCm;
    case 2: return static_cast<float>(right - left) / kA4LongCm;
    case 3:
    case 4: return pxpcm;
    default: return 1.0f;
  }
}

void endpath() {
  if (view.pathopen != 1) return;
  if (view.context) {
    view.context->path_stroke();
    view.context->sync();
  }
  view.pathopen = 0;
}

Windevsize window_geometry(int isetup, const platform::ScreenRect& screen) {
  Windevsize g;
  g.top = screen.top + kScreenMargin;
  g.left = screen.left;
  g.bottom = screen.bottom - kScreenMargin;
  g.right = screen.right;
  g.isetup = isetup;
  g.pxpcm = kPixelsPerCm;
  switch (isetup) {
    case 1: {  // the page's height, its width flush right
      const int w = static_cast<int>(kShortOverLong * static_cast<float>(g.bottom - g.top));
      g.left = std::max(g.left, g.right - w);
      break;
    }
    case 2: {  // the page's width; when its height does not fit, the page's height flush right
      const int h = static_cast<int>(kShortOverLong * static_cast<float>(g.right - g.left));
      if (g.top + h > g.bottom) {
        const int w = static_cast<int>(kLongOverShort * static_cast<float>(g.bottom - g.top));
        g.left = std::max(g.left, g.right - w);
      }
      break;
    }
    case 3:
    case 4: {  // the page at 100 %, flush right and bottom, cut where the screen is smaller
      const int w = static_cast<int>(g.pxpcm * (isetup == 3 ? kA4ShortCm : kA4LongCm));
      const int h = static_cast<int>(g.pxpcm * (isetup == 3 ? kA4LongCm : kA4ShortCm));
      g.left = std::max(g.left, g.right - w);
      g.top = std::max(g.top, g.bottom - h);
      break;
    }
    default:
      break;  // set-up 0 and unknown set-ups: the whole usable screen
  }
  return g;
}

void intplinit(std::string_view name, int idev) {
  register_hooks();
  int isetup = 1;
  int antialias = 1;
  settle_settings(isetup, antialias);

  platform::Canvas& dev = device();
  const platform::ScreenRect screen = dev.screen_bounds();
  windevsize = window_geometry(isetup, screen);
  const Windevsize& g = windevsize;

  const std::string title = ask_title(isetup, idev);
  platform::PageInfo page;
  page.name = std::string(name);
  page.scale = page_scale(isetup, g.top, g.left, g.bottom, g.right, g.pxpcm);
  page.landscape = isetup == 2 || isetup == 4;
  dev.window_open({g.top, g.left, g.bottom, g.right}, title, page);
  view.window = &dev;
  view.port = &dev;

  report_bounds(dev, screen, g);
  say_item("Obtained Window Content: Collapsed => 0 ?");
  say_item("Obtained Window Port   : Collapsed => not 0 ?");
  say_rule();
  say_item("Starting VK context");
  frame::menutail();

  dev.context_begin(antialias == 1);
  view.context = &dev;
  view.pathopen = 0;
}

void intplend() {
  int status = 0;
  if (view.pathopen == 1) endpath();
  if (view.context) {
    view.context->flush();
    // The page reaches its files before the wait, while the window still shows it.
    view.context->write_page();
  }
  report_page_failures();

  frame::submenuhead(id_intplend);
  say_item("Ready to close the Quartz plot window");
  frame::Text<1> answer;
  frame::inchar1(answer, "CR = Return to dispose of the plot ", status);

  say_item("Ending VK context");
  if (view.context) view.context->context_end();
  view.context = nullptr;
  if (view.window) view.window->window_dispose();
  report_page_failures();
  view.pathopen = 0;
  say_item("The plot window is closed");
  frame::menutail();
}

void intnewpage() {
  if (view.pathopen == 1) endpath();
  platform::Canvas* ctx = view.context;
  if (ctx) {
    ctx->flush();
    ctx->write_page();
  }
  report_page_failures();

  // The port rectangle and the drawing rectangle in context units.
  const platform::ScreenRect port = ctx ? ctx->window_region(40) : platform::ScreenRect{};
  const double x = 0.0;
  const double y = 0.0;
  const double w = port.right - port.left;
  const double h = port.bottom - port.top;

  // Their table.
  frame::submenuhead(id_intnewpage);
  say_rule();
  say(head_row(17));
  say(rect_row("Window Port", 17, port.top, port.bottom, port.left, port.right));
  say(rect_row("Quartz rectangle", 17, nearest(y + h), nearest(y), nearest(x), nearest(x + w)));
  say_rule();
  frame::menutail();

  // A white page. The colours the context holds stay as they were, so that a
  // black-and-white plot (where no primitive sets a colour) keeps drawing in black.
  if (ctx) {
    ctx->clear_white(x, y, w, h);
    ctx->flush();
  }
}

}  // namespace korbast::plot
