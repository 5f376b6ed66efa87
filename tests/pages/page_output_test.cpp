// Page files written beside the dialog: the PNG decodes to the page, the PDF page rasterises
// to it, the PDF is readable after every finished page (also when SIGINT or SIGTERM ends a
// run), and failed writes are told once per file while the other files are written.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "pages/cairo_canvas.hpp"
#include "pages/canvas_text.hpp"
#include "pages/page_io.hpp"
#include "pages/page_ops.hpp"
#include "pages/pdf_content.hpp"
#include "pages/pdf_writer.hpp"
#include "support/command.hpp"
#include "support/pdf_check.hpp"
#include "support/tempfile.hpp"
#include "cairo_pixel.hpp"

namespace korbast::pages {
namespace {

namespace fs = std::filesystem;

using Dir = korbast::testing::TempDir;

using korbast::testing::have_tool;
std::string run(const std::string& cmd, int* status = nullptr) {
  return korbast::testing::run_command(cmd, status);
}

// The page count of a PDF the program wrote, or -1 when qpdf or pdfinfo finds fault with it.
int pdf_pages(const std::string& file) {
  std::string why;
  const int n = korbast::testing::checked_pdf_pages(file, &why);
  if (n < 0) ADD_FAILURE() << file << ": " << why;
  return n;
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Files whose names start with a dot: what a page write left behind.
int hidden_files(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir)) n += e.path().filename().string()[0] == '.';
  return n;
}

// pdfinfo's page count of a cut copy (poppler repairs what it can), or -1.
int poppler_pages(const std::string& file) {
  const std::string out = run("pdfinfo '" + file + "' 2>&1");
  const auto at = out.find("\nPages:");
  if (out.find("Error") != std::string::npos || at == std::string::npos) return -1;
  return std::atoi(out.c_str() + at + 7);
}

using korbast::testing::px;

std::unique_ptr<CairoCanvas> canvas(const Dir& d, int w, int h, const char* name, double scale,
                                    int bands = 0) {
  CairoCanvas::Options o;
  o.use_display = false;
  o.directory = d.path.string();
  o.pdf_piece = 300;  // the PDF content of a page in several pieces
  o.bands = bands;
  auto c = std::make_unique<CairoCanvas>(o);
  c->window_open({0, 0, h, w}, "pages \xA1", {name, scale, false});
  return c;
}

// A page like the program's: filled and outlined circles, lines in a few colours, texts.
template <class C>
void draw_page(C& c, int seed, bool many_colours) {
  for (int k = 0; k < 40; ++k) {
    const double cx = 20 + (k * 37 + seed * 11) % 160, cy = 20 + (k * 53 + seed * 7) % 110;
    const double v = many_colours ? (k * 6 + seed) / 255.0 : (k % 3) * 0.5;
    c.set_fill_rgb({v, 1.0 - v, 0.5});
    c.set_stroke_rgb({0, 0, many_colours ? v : 0.0});
    c.set_line_width(1 + k % 3);
    c.path_begin();
    for (int i = 0; i < 20; ++i) {
      const double a = i * 2 * M_PI / 19;
      if (i == 0) c.path_move(cx + 9 * std::cos(a), cy + 9 * std::sin(a));
      else c.path_line(cx + 9 * std::cos(a), cy + 9 * std::sin(a));
    }
    c.path_close();
    c.path_fill_stroke();
    c.path_begin();
    c.path_move(cx - 15, cy - 12);
    c.path_line(cx + 15, cy - 14);
    c.path_stroke();
  }
  c.set_fill_rgb({0, 0, 0});
  c.set_font_size(14);
  c.text_show(10, 130, 0.0, "Page " + std::to_string(seed) + " 45\xA1N");
  c.text_show(190, 30, M_PI / 2, "North");
}

// Pages 1 to n of the program's kind (300 x 200 pixels) drawn in the open window, each written
// when finished (and waited for, with `wait`), then the window closed.
void draw_pages_and_close(CairoCanvas& c, int n, bool wait) {
  for (int page = 1; page <= n; ++page) {
    draw_page(c, page, false);
    c.write_page();
    if (wait) c.wait_for_files();
    c.clear_white(0, 0, 300, 200);
  }
  c.window_dispose();
}

// Draws on the device and, beside it, straight into a Cairo image with the calls the device
// made when it drew its image itself (y flipped point by point): the reference pixels.
struct Mirror {
  CairoCanvas& c;
  cairo_t* cr;
  double h;
  platform::Rgb fill{}, stroke{};
  double width = 1.0, size = 10.0;
  static void source(cairo_t* cr, const platform::Rgb& v) {
    cairo_set_source_rgb(cr, v.r, v.g, v.b);
  }
  void set_fill_rgb(const platform::Rgb& v) { c.set_fill_rgb(fill = v); }
  void set_stroke_rgb(const platform::Rgb& v) { c.set_stroke_rgb(stroke = v); }
  void set_line_width(double w) { c.set_line_width(width = w); }
  void set_font_size(double s) { c.set_font_size(size = s); }
  void path_begin() { c.path_begin(); cairo_new_path(cr); }
  void path_move(double x, double y) { c.path_move(x, y); cairo_move_to(cr, x, h - y); }
  void path_line(double x, double y) { c.path_line(x, y); cairo_line_to(cr, x, h - y); }
  void path_close() { c.path_close(); cairo_close_path(cr); }
  void path_stroke() {
    c.path_stroke();
    path_stroke_ref();
  }
  void path_fill_stroke() {
    c.path_fill_stroke();
    source(cr, fill);
    cairo_fill_preserve(cr);
    path_stroke_ref();
  }
  void path_stroke_ref() {
    source(cr, stroke);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
  }
  void text_show(double x, double y, double angle, const std::string& bytes) {
    c.text_show(x, y, angle, bytes);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_font_size(cr, size);
    cairo_translate(cr, x, h - y);
    if (angle != 0.0) cairo_rotate(cr, -angle);
    cairo_move_to(cr, 0, 0);
    source(cr, fill);
    cairo_show_text(cr, text_to_utf8(bytes).c_str());
    cairo_restore(cr);
  }
  void clear_white(double x, double y, double w, double hh) {
    c.clear_white(x, y, w, hh);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, x, h - (y + hh), w, hh);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_restore(cr);
  }
};

// A crowded page of the map's and the beach balls' kinds, with much on the band borders:
// small filled and outlined polygons, large many-pointed discs, long zigzags over the whole
// height, turned texts, a white rectangle over part of it.
void draw_crowded(Mirror& m, int w, int h) {
  unsigned long long s = 7;
  auto rnd = [&] {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>((s >> 33) % 1000000) / 1000000.0;
  };
  for (int k = 0; k < 3000; ++k) {
    const double cx = rnd() * w, cy = rnd() * h, r = 2 + 6 * rnd();
    const int n = 4 + k % 17;
    m.set_fill_rgb({k % 2 * 1.0, 0.0, 0.25});
    m.set_stroke_rgb({0, 0, k % 3 * 0.5});
    m.set_line_width(0.5 + k % 3);
    m.path_begin();
    for (int i = 0; i < n; ++i) {
      const double a = i * 2 * M_PI / n;
      if (i == 0) m.path_move(cx + r * std::cos(a), cy + r * std::sin(a));
      else m.path_line(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    m.path_close();
    m.path_fill_stroke();
  }
  for (int k = 0; k < 40; ++k) {
    const double cx = rnd() * w, cy = rnd() * h;
    m.set_fill_rgb({0.8, 0.1 * (k % 10), 0.1});
    m.path_begin();
    for (int i = 0; i < 100; ++i) {
      const double a = i * 2 * M_PI / 100;
      if (i == 0) m.path_move(cx + 40 * std::cos(a), cy + 40 * std::sin(a));
      else m.path_line(cx + 40 * std::cos(a), cy + 40 * std::sin(a));
    }
    m.path_close();
    m.path_fill_stroke();
  }
  m.set_stroke_rgb({0, 0, 0});
  m.set_line_width(1);
  for (int k = 0; k < 30; ++k) {  // beach-ball outlines with their ticks
    const double cx = 60 + rnd() * (w - 120), cy = 60 + rnd() * (h - 120);
    m.path_begin();
    for (int i = 0; i <= 360; ++i) {
      const double a = i * M_PI / 180;
      if (i == 0) m.path_move(cx + 45 * std::cos(a), cy + 45 * std::sin(a));
      else m.path_line(cx + 45 * std::cos(a), cy + 45 * std::sin(a));
    }
    m.path_stroke();
    for (int i = 0; i < 36; ++i) {
      const double a = i * M_PI / 18;
      m.path_begin();
      m.path_move(cx + 45 * std::cos(a), cy + 45 * std::sin(a));
      m.path_line(cx + 49 * std::cos(a), cy + 49 * std::sin(a));
      m.path_stroke();
    }
  }
  m.set_line_width(1.3);
  for (int k = 0; k < 30; ++k) {
    m.path_begin();
    m.path_move(rnd() * w, 0);
    for (int i = 1; i <= 20; ++i) m.path_line(rnd() * w, i * h / 20.0);
    m.path_stroke();
  }
  m.set_fill_rgb({0, 0, 0});
  for (int k = 0; k < 40; ++k) {
    m.set_font_size(8 + k % 12);
    m.text_show(rnd() * w, rnd() * h, k % 4 * 0.7, "N 45\xA1 page " + std::to_string(k));
  }
  m.clear_white(w / 3.0, h / 3.0 + 0.5, w / 4.0, h / 5.0);
  // A pile many deep on the band borders: arrows with sharp tips, in three line widths.
  for (int k = 0; k < 2500; ++k) {
    const double cx = rnd() * w, cy = h / 2.0 + rnd() * 200, a = rnd() * 2 * M_PI;
    const double c = std::cos(a), sn = std::sin(a), len = 15 + 30 * rnd();
    const double u[7] = {0, len, len, len + 12, len, len, 0}, v[7] = {-3, -3, -8, 0, 8, 3, 3};
    m.set_fill_rgb({0.8, 0.8 - 0.3 * (k % 3), 0.8});
    m.set_stroke_rgb({0, 0, 0});
    m.set_line_width(0.3 + k % 3);
    m.path_begin();
    for (int i = 0; i < 7; ++i) {
      const double x = cx + u[i] * c - v[i] * sn, y = cy + u[i] * sn + v[i] * c;
      if (i == 0) m.path_move(x, y);
      else m.path_line(x, y);
    }
    m.path_close();
    m.path_fill_stroke();
  }
}

int differing(cairo_surface_t* a, cairo_surface_t* b, int w, int h) {
  cairo_surface_flush(a);
  cairo_surface_flush(b);
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += px(a, x, y) != px(b, x, y);
  return n;
}

// A pile of the map's stress arrows (filled and outlined, seven points, not convex) many
// deep, in line widths from hairline to 3 pixels, some without anti-aliasing; then the cases
// where a path must stay although later fills lie over it: a mitre tip reaching out of the
// fill over the triangle's body, a shape seen through a ring's hole (nonzero winding), one
// under a wide stroke that is not filled; and a hairline a later fill hides whole. Returns
// the path numbers of those four.
struct Pile {
  int mitre, in_hole, under_stroke, covered;
};

// A closed outline through the points, in their order.
void outline(PageOps& ops, std::initializer_list<std::pair<double, double>> pts) {
  bool first = true;
  for (auto [x, y] : pts) {
    if (first) ops.move(x, y);
    else ops.line(x, y);
    first = false;
  }
  ops.close();
}
// The rectangle from (x0, y0) to (x1, y1), first along y0.
void box(PageOps& ops, double x0, double y0, double x1, double y1) {
  outline(ops, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}
Pile draw_pile(PageOps& ops, int w) {
  unsigned long long s = 11;
  auto rnd = [&] {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>((s >> 33) % 1000000) / 1000000.0;
  };
  int path = 0;
  for (int k = 0; k < 6000; ++k) {
    if (k == 5000) ops.antialias(false);
    const double cx = w / 4.0 + rnd() * 300, cy = 100 + rnd() * 300, a = rnd() * 2 * M_PI;
    const double len = 15 + 30 * rnd();
    const double c = std::cos(a), sn = std::sin(a);
    auto at = [&](double u, double v) { return std::pair{cx + u * c - v * sn, cy + u * sn + v * c}; };
    outline(ops, {at(0, -3), at(len, -3), at(len, -8), at(len + 12, 0), at(len, 8), at(len, 3), at(0, 3)});
    const platform::Rgb fill{0.8, 0.8 - 0.3 * (k % 3), 0.8};
    ops.fill_stroke(fill, {0, 0, 0.5 * (k % 2)}, std::array{0.3, 1.0, 3.0}[k % 3]);
    ++path;
  }
  ops.antialias(true);
  Pile p{};
  outline(ops, {{100, 100}, {148, 100}, {130, 105}});  // a tip at (148, 100) mitred 22 beyond, 6 wide
  ops.fill_stroke({1, 0, 0}, {0, 0, 1}, 6.0);
  p.mitre = path++;
  outline(ops, {{300, 300}, {310, 300}, {310, 310}, {300, 310}});
  ops.fill_stroke({0, 1, 0}, {0, 0, 0}, 1.0);
  p.in_hole = path++;
  outline(ops, {{500, 500}, {510, 500}, {510, 510}, {500, 510}});
  ops.fill_stroke({0, 1, 1}, {0, 0, 0}, 1.0);
  p.under_stroke = path++;
  ops.move(600, 600);
  ops.line(640, 630);
  ops.stroke({0, 0, 0}, 0.3);
  p.covered = path++;
  outline(ops, {{90, 90}, {156, 90}, {156, 115}, {90, 115}});  // over the triangle but its mitre
  ops.fill_stroke({0.5, 0.5, 0.5}, {0, 0, 0}, 1.0);
  ++path;
  // A ring: the outer square one way round, the hole the other.
  box(ops, 250, 250, 360, 360);
  outline(ops, {{295, 295}, {295, 315}, {315, 315}, {315, 295}});
  ops.fill_stroke({0.2, 0.2, 0.2}, {0, 0, 0}, 1.0);
  ++path;
  ops.move(480, 505);
  ops.line(530, 505);
  ops.stroke({1, 0, 0}, 30.0);
  ++path;
  outline(ops, {{580, 580}, {660, 580}, {660, 650}, {580, 650}});
  ops.fill_stroke({0.9, 0.9, 0.1}, {0, 0, 0}, 1.0);
  ops.text(20, 40, 0.3, 24, {0, 0, 0}, "N 45\xC2\xB0 over the pile");
  return p;
}

cairo_surface_t* replayed(const PageOps& ops, int w, int h, const std::vector<std::uint8_t>* hidden,
                          int y0 = INT_MIN, int y1 = INT_MAX) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  setup_page_context(cr, true);
  PageOps::Cursor at;
  ops.replay(cr, at, y0, y1, hidden);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}

TEST(PageOps, PathsPaintedOverAreLeftOutAndThePixelsStayTheSame) {
  constexpr int w = 786, h = 1112;
  PageOps ops;
  const Pile pile = draw_pile(ops, w);
  const auto paths = ops.paths();
  cairo_surface_t* whole = replayed(ops, w, h, nullptr);
  const auto flags = ops.hidden(paths, 0, h, w);
  EXPECT_EQ(flags[pile.mitre], 0);
  EXPECT_EQ(flags[pile.in_hole], 0);
  EXPECT_EQ(flags[pile.under_stroke], 0);
  EXPECT_EQ(flags[pile.covered], 1);
  const auto left_out = std::count(flags.begin(), flags.end(), 1);
  EXPECT_GT(left_out, 2500) << "the pile is many deep";
  cairo_surface_t* culled = replayed(ops, w, h, &flags);
  EXPECT_EQ(differing(culled, whole, w, h), 0);
  // A band: only its own rows count, and paths outside them are left out too.
  const int y0 = 137, y1 = 411;
  const auto band = ops.hidden(paths, y0, y1, w);
  cairo_surface_t* part = replayed(ops, w, h, &band);
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < w; ++x) n += px(part, x, y) != px(whole, x, y);
  EXPECT_EQ(n, 0);
  EXPECT_GT(std::count(band.begin(), band.end(), 1), left_out);
  for (auto* s : {whole, culled, part}) cairo_surface_destroy(s);
}

// Thin overlaps: a fill drawn after a stroked path covers the path and the near half of
// its line width, but not the far half (to the left, right, top, bottom, and beyond a
// mitred corner), so the path still shows; and fills whose nonzero winding is 2 or -1 hide
// what lies under them while a ring's hole does not. Whole-page and banded replays that
// leave the flagged paths out make the very pixels of a replay of every path.
TEST(PageOps, ThinOverlapsAndWindingKeepWhatShows) {
  constexpr int w = 520, h = 420;
  PageOps ops;
  const platform::Rgb ink{0.1, 0.1, 0.4}, paper{0.9, 0.9, 0.6};
  auto rect = [&](double x0, double y0, double x1, double y1) {
    box(ops, x0, y0, x1, y1);
    ops.fill_stroke(paper, paper, 0.5);
  };
  auto line = [&](double x0, double y0, double x1, double y1) {
    ops.move(x0, y0);
    ops.line(x1, y1);
    ops.stroke(ink, 6.0);  // 3 pixels each side
  };
  // Each fill reaches 1.5 pixels past the line's middle: 1.5 pixels of the far side show.
  line(100, 50, 100, 90);  // right side showing
  rect(60, 40, 101.5, 100);
  line(200, 50, 200, 90);  // left
  rect(198.5, 40, 240, 100);
  line(50, 150, 90, 150);  // top
  rect(40, 148.5, 100, 190);
  line(50, 250, 90, 250);  // bottom
  rect(40, 210, 100, 251.5);
  // A sharp corner: its mitre reaches 6.3 pixels above the tip, the fill 3 (a line's half
  // width) and 1 more.
  ops.move(380, 260);
  ops.line(400, 200);
  ops.line(420, 260);
  ops.stroke(ink, 4.0);
  rect(360, 196, 440, 280);
  // Winding: a pentagram's middle (winding 2), a square inside a square drawn the same way
  // round (2), a square drawn the other way (-1) hide the small squares under them; a ring's
  // hole (the inner square the other way round) does not.
  const int first_small = static_cast<int>(ops.paths().size());
  auto small = [&](double x, double y) {
    box(ops, x - 2, y - 2, x + 2, y + 2);
    ops.stroke(ink, 1.0);
  };
  for (auto [x, y] : {std::pair{300.0, 340.0}, {400.0, 340.0}, {480.0, 340.0}, {300.0, 60.0}}) small(x, y);
  for (int k = 0; k < 5; ++k) {  // the pentagram round (300, 340), radius 60
    const double a = M_PI / 2 + k * 4 * M_PI / 5;
    if (k == 0) ops.move(300 + 60 * std::cos(a), 340 - 60 * std::sin(a));
    else ops.line(300 + 60 * std::cos(a), 340 - 60 * std::sin(a));
  }
  ops.close();
  ops.fill_stroke(paper, ink, 1.0);
  for (double r : {30.0, 10.0}) box(ops, 400 - r, 340 - r, 400 + r, 340 + r);  // same way round
  ops.fill_stroke(paper, ink, 1.0);
  outline(ops, {{460, 320}, {460, 360}, {500, 360}, {500, 320}});  // the other way round
  ops.fill_stroke(paper, ink, 1.0);
  box(ops, 270, 30, 330, 90);  // a ring: its hole round (300, 60)
  outline(ops, {{290, 50}, {290, 70}, {310, 70}, {310, 50}});
  ops.fill_stroke(paper, ink, 1.0);

  const auto paths = ops.paths();
  cairo_surface_t* whole = replayed(ops, w, h, nullptr);
  const auto flags = ops.hidden(paths, 0, h, w);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(flags[2 * k], 0) << "the thin overlap " << k << " shows";
  EXPECT_EQ(flags[first_small], 1) << "under the pentagram's middle";
  EXPECT_EQ(flags[first_small + 1], 1) << "under the square in a square";
  EXPECT_EQ(flags[first_small + 2], 1) << "under the square drawn the other way round";
  EXPECT_EQ(flags[first_small + 3], 0) << "in the ring's hole";
  cairo_surface_t* culled = replayed(ops, w, h, &flags);
  EXPECT_EQ(differing(culled, whole, w, h), 0);
  cairo_surface_destroy(culled);
  // Bands with borders through the cases.
  const int borders[] = {0, 70, 149, 205, 251, 340, h};
  for (int b = 0; b + 1 < 7; ++b) {
    const int y0 = borders[b], y1 = borders[b + 1];
    const auto band = ops.hidden(paths, y0, y1, w);
    cairo_surface_t* part = replayed(ops, w, h, &band);
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < w; ++x) n += px(part, x, y) != px(whole, x, y);
    EXPECT_EQ(n, 0) << "rows " << y0 << " to " << y1;
    cairo_surface_destroy(part);
  }
  cairo_surface_destroy(whole);
}

// A thick stroke's sharp corner pointing up across a band border: its mitre reaches 20
// pixels above the corner, into the band above, where it is drawn as in the whole page
// (bands culled by their rows or by the paths' flags).
TEST(PageOps, AMitreTipAcrossABandBorderIsDrawnInTheBandAbove) {
  constexpr int w = 120, h = 160;
  PageOps ops;
  ops.move(40, 140);  // sides 100 down and 20 across: the mitre is 8 / 2 / sin(atan(0.2)) = 20.4
  ops.line(60, 40);
  ops.line(80, 140);
  ops.stroke({0, 0, 0}, 8.0);
  cairo_surface_t* whole = replayed(ops, w, h, nullptr);
  const auto paths = ops.paths();
  for (int border : {25, 32, 39}) {
    const auto band = ops.hidden(paths, 0, border, w);
    cairo_surface_t* by_rows = replayed(ops, w, h, nullptr, 0, border);
    cairo_surface_t* by_flags = replayed(ops, w, h, &band);
    int rows_differ = 0, flags_differ = 0, inked = 0;
    for (int y = 0; y < border; ++y)
      for (int x = 0; x < w; ++x) {
        rows_differ += px(by_rows, x, y) != px(whole, x, y);
        flags_differ += px(by_flags, x, y) != px(whole, x, y);
        inked += px(whole, x, y) != 0xFFFFFF;
      }
    EXPECT_GT(inked, 10) << "border " << border;
    EXPECT_EQ(rows_differ, 0) << "border " << border;
    EXPECT_EQ(flags_differ, 0) << "border " << border;
    cairo_surface_destroy(by_rows);
    cairo_surface_destroy(by_flags);
  }
  cairo_surface_destroy(whole);
}

// Dots (paths of no length stroked as dots) from a hairline to 6 pixels wide, with anti-aliasing
// and without: across band borders a band draws its rows of them as the whole page does
// (culled by rows or by the paths' flags), also a hairline dot whose middle a later fill
// covers but not the rim it is drawn with when not anti-aliased; a dot in a shared drawing,
// its pixels made once and copied onto blank paper or replayed at its place, is the dot
// drawn there; and every dot inks the page.
TEST(PageOps, DotsAcrossBandBordersAndInSharedDrawingsAreDrawn) {
  constexpr int w = 160, h = 60;
  const int borders[] = {0, 20, 40, h};
  for (bool aa : {true, false}) {
    PageOps page, direct;  // the shared dots placed, or drawn where they are placed
    std::vector<std::pair<double, double>> dots;
    auto dot = [](PageOps& ops, double x, double y, double width) {
      ops.move(x, y);
      ops.line(x, y);
      ops.stroke({0, 0, 0.5}, width, true);
    };
    for (PageOps* ops : {&page, &direct}) {
      ops->antialias(aa);
      const double widths[] = {0.3, 1.0, 3.0, 6.0};
      for (int k = 0; k < 4; ++k) dot(*ops, 15 + 30.13 * k, k % 2 ? 20.4 : 19.4, widths[k]);
      dot(*ops, 10.24, 40.5, 0.3);
      box(*ops, 9.9, 38, 13, 43);
      ops->fill_stroke({0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, 0.01);
    }
    for (int k = 1; k < 4; ++k) dots.emplace_back(15 + 30.13 * k, k % 2 ? 20.4 : 19.4);
    const std::pair<double, double> placed[] = {{140.3, 45.6}, {120.7, 50.2}};
    for (int k = 0; k < 2; ++k) {
      const auto [x, y] = placed[k];
      PageOps shared;
      shared.set_origin(to_fixed(x), to_fixed(y));
      dot(shared, x, y, 2.0);
      shared.seal();
      page.place(std::make_shared<const PageOps>(std::move(shared)), to_fixed(x), to_fixed(y), k == 0);
      dot(direct, x, y, 2.0);
      dots.emplace_back(x, y);
    }
    cairo_surface_t* whole = replayed(page, w, h, nullptr);
    cairo_surface_t* drawn = replayed(direct, w, h, nullptr);
    EXPECT_EQ(differing(whole, drawn, w, h), 0) << "antialias " << aa;
    for (const auto& [x, y] : dots) {  // those a pixel wide or more
      int inked = 0;
      for (int v = static_cast<int>(y) - 1; v <= static_cast<int>(y) + 1; ++v)
        for (int u = static_cast<int>(x) - 1; u <= static_cast<int>(x) + 1; ++u)
          inked += px(whole, u, v) != 0xFFFFFFu;
      EXPECT_GT(inked, 0) << "antialias " << aa << ": dot at " << x << ", " << y;
    }
    const auto paths = page.paths();
    for (int b = 0; b + 1 < 4; ++b) {
      const int y0 = borders[b], y1 = borders[b + 1];
      const auto band = page.hidden(paths, y0, y1, w);
      cairo_surface_t* by_rows = replayed(page, w, h, nullptr, y0, y1);
      cairo_surface_t* by_flags = replayed(page, w, h, &band);
      int rows_differ = 0, flags_differ = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = 0; x < w; ++x) {
          rows_differ += px(by_rows, x, y) != px(whole, x, y);
          flags_differ += px(by_flags, x, y) != px(whole, x, y);
        }
      EXPECT_EQ(rows_differ, 0) << "antialias " << aa << ", rows " << y0 << " to " << y1;
      EXPECT_EQ(flags_differ, 0) << "antialias " << aa << ", rows " << y0 << " to " << y1;
      cairo_surface_destroy(by_rows);
      cairo_surface_destroy(by_flags);
    }
    cairo_surface_destroy(whole);
    cairo_surface_destroy(drawn);
  }
}

TEST(PageOps, PdfContentInPiecesIsTheWholeContent) {
  PageOps ops;
  draw_pile(ops, 786);
  ops.clear_rect(10, 10, 50, 20);
  ops.move(5, 5);
  ops.line(700, 900);
  ops.stroke({0, 0, 0}, 1.0);
  const PdfContent pdf(ops);
  std::vector<unsigned> glyphs;
  const std::string whole = pdf.content(0.5, 1112, glyphs);
  const auto pieces = pdf.pieces(7);
  ASSERT_GE(pieces.size(), 5u);
  std::string joined;
  std::vector<unsigned> all;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    std::vector<unsigned> g;
    joined += pdf.content(0.5, 1112, g, pieces[k], k + 1 < pieces.size() ? pieces[k + 1].code : SIZE_MAX);
    all.insert(all.end(), g.begin(), g.end());
  }
  EXPECT_TRUE(joined == whole) << joined.size() << " bytes against " << whole.size();
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  EXPECT_EQ(all, glyphs);
}

// A piece starts with the fill colour the stream before it set last (by a white clearing or
// a filled path), so it writes a fill colour only where the whole stream does.
TEST(PageOps, PdfContentPiecesKeepTheFillColourSetBeforeThem) {
  PageOps ops;
  for (int k = 0; k < 600; ++k) {
    const double x = 10 + k % 25 * 30, y = 10 + k / 25 * 40;
    if (k % 30 == 1) ops.clear_rect(x, y, 20, 30);
    ops.move(x, y);
    ops.line(x + 20, y);
    ops.line(x + 10, y + 20);
    ops.close();
    const platform::Rgb fill = k / 30 % 2 ? platform::Rgb{1, 1, 1} : platform::Rgb{0, 0, 1};
    if (k % 3 == 0) {
      ops.fill_stroke(fill, {0, 0, 0}, 1.0);
    } else {
      ops.stroke({0, 0, 0}, 1.0);
    }
  }
  const PdfContent pdf(ops);
  std::vector<unsigned> glyphs;
  const std::string whole = pdf.content(1.0, 1000, glyphs);
  const auto pieces = pdf.pieces(400);
  ASSERT_GE(pieces.size(), 200u);
  std::string joined;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const std::size_t to = k + 1 < pieces.size() ? pieces[k + 1].code : SIZE_MAX;
    joined += pdf.content(1.0, 1000, glyphs, pieces[k], to);
  }
  EXPECT_TRUE(joined == whole) << joined.size() << " bytes against " << whole.size();
}

TEST(PageOutput, ReplayedPagesAreTheDirectDrawingInBandsOrWhole) {
  constexpr int w = 786, h = 1112;  // the map's portrait page
  for (bool aa : {true, false}) {
    Dir d;
    CairoCanvas::Options o;
    o.use_display = false;
    o.directory = d.path.string();
    o.bands = 7;
    CairoCanvas c(o);
    c.window_open({0, 0, h, w}, "crowded", {"crowded.ps", 37.4, false});
    c.context_begin(aa);
    cairo_surface_t* ref = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(ref);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    setup_page_context(cr, aa);
    Mirror m{c, cr, static_cast<double>(h)};
    draw_crowded(m, w, h);
    c.write_page();
    c.wait_for_files();
    // The window's image: one replay of the whole page on this thread.
    cairo_surface_t* whole = c.page_image();
    cairo_surface_t* png = cairo_image_surface_create_from_png((d / "crowded_w1_p001.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(differing(whole, ref, w, h), 0) << "antialias " << aa;
    EXPECT_EQ(differing(png, ref, w, h), 0) << "antialias " << aa;
    cairo_surface_destroy(png);
    cairo_destroy(cr);
    cairo_surface_destroy(ref);
  }
}

TEST(PageOutput, PngIsThePageAndThePdfPageAgreesWithIt) {
  Dir d;
  // Whole pages: the second and third are drawn on the image the one before left.
  auto c = canvas(d, 200, 150, "pix.ps", 10.0, 1);
  for (int page = 1; page <= 3; ++page) {
    c->context_begin(page != 2);  // pages 1 and 3 anti-aliased (many colours), 2 not
    draw_page(*c, page, page == 3);
    // A text on white along the bottom, long enough that a clip short of its end cuts glyphs.
    c->clear_white(0, 0, 200, 16);
    c->set_font_size(10);
    c->text_show(3, 4, 0.0, "Data 1 -> 25000, korbast 45\xA1N");
    c->write_page();
    c->wait_for_files();
    cairo_surface_t* img = c->page_image();
    cairo_surface_flush(img);
    const std::string name = d / ("pix_w1_p00" + std::to_string(page) + ".png");
    cairo_surface_t* png = cairo_image_surface_create_from_png(name.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << name;
    ASSERT_EQ(cairo_image_surface_get_width(png), 200);
    ASSERT_EQ(cairo_image_surface_get_height(png), 150);
    cairo_surface_flush(png);
    int differing = 0, inked = 0;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 200; ++x) {
        differing += px(png, x, y) != px(img, x, y);
        inked += px(img, x, y) != 0xFFFFFF;
      }
    EXPECT_EQ(differing, 0) << "page " << page;
    EXPECT_GT(inked, 3000);

    if (have_tool("pdftoppm")) {
      // 10 pixels per cm at 25.4 dpi: one raster pixel per window pixel, the window at the
      // lower-left corner of the sheet.
      const std::string out = d / ("r" + std::to_string(page));
      run("pdftoppm -r 25.4 -png -f " + std::to_string(page) + " -l " + std::to_string(page) +
          " -singlefile '" + (d / "pix_w1.pdf") + "' '" + out + "'");
      cairo_surface_t* ras = cairo_image_surface_create_from_png((out + ".png").c_str());
      ASSERT_EQ(cairo_surface_status(ras), CAIRO_STATUS_SUCCESS);
      const int rh = 297;  // the sheet's 297 mm (the raster may have one more, partial row)
      cairo_surface_flush(ras);
      // Edges differ by anti-aliasing; a shifted, mirrored or missing drawing differs in
      // far more pixels. And no ink is missing: a pixel dark in the image (all three channels
      // below 64, as the texts' black) is not white in the raster (all from 240), as the
      // glyphs cut off a text clipped short would leave it.
      int far = 0, lost = 0;
      for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
          const std::uint32_t a = px(img, x, y), b = px(ras, x, rh - 150 + y);
          int dmax = 0;
          for (int s = 0; s < 24; s += 8)
            dmax = std::max(dmax, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
          far += dmax > 128;
          lost += (a & 0xC0C0C0) == 0 && (b & 0xF0F0F0) == 0xF0F0F0;
        }
      EXPECT_LT(far, inked / 20) << "page " << page << ": " << far << " of " << inked;
      EXPECT_LT(lost, 20) << "page " << page << ": " << lost << " dark pixels white in the PDF";
      cairo_surface_destroy(ras);
    }
    cairo_surface_destroy(png);
    c->clear_white(0, 0, 200, 150);
    // The PNG records its resolution before the pixels: 10 pixels per cm, 1000 (0x3E8) per
    // metre, both ways.
    const std::string bytes = file_bytes(name);
    const auto phys = bytes.find("pHYs");
    EXPECT_LT(phys, bytes.find("IDAT"));
    EXPECT_EQ(bytes.substr(phys - 4, 17), std::string("\0\0\0\x09pHYs\0\0\x03\xE8\0\0\x03\xE8\x01", 17));
  }
  c->window_dispose();
  EXPECT_EQ(pdf_pages(d / "pix_w1.pdf"), 3);
  if (have_tool("pdftotext")) {
    // The word "Page" of size 14 as poppler places it by the PDF font's widths: as wide as
    // FreeType's advances make it (through Cairo), one pixel a millimetre, 72 points an inch.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4, 4);
    cairo_t* cr = cairo_create(s);
    setup_page_context(cr, true);
    cairo_set_font_size(cr, 14);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "Page", &e);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    const std::string box = run("pdftotext -bbox -f 1 -l 1 '" + (d / "pix_w1.pdf") + "' - 2>&1");
    const auto word = box.rfind("<word", box.find(">Page</word>"));
    ASSERT_NE(word, std::string::npos) << box;
    double x0 = 0, x1 = 0;
    ASSERT_EQ(std::sscanf(box.c_str() + word, "<word xMin=\"%lf\" yMin=\"%*f\" xMax=\"%lf\"", &x0, &x1),
              2);
    EXPECT_NEAR(x1 - x0, e.x_advance * 72 / 25.4, 0.5) << box.substr(word, 100);
  }
}

TEST(PageOutput, PdfIsReadableAfterEveryFinishedPageWhileTheWindowStaysOpen) {
  if (!have_tool("pdfinfo")) GTEST_SKIP() << "pdfinfo not installed";
  Dir d;
  auto c = canvas(d, 300, 200, "open.ps", 10.0);
  for (int page = 1; page <= 3; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->wait_for_files();
    EXPECT_EQ(pdf_pages(d / "open_w1.pdf"), page);
    c->clear_white(0, 0, 300, 200);
  }
  c->window_dispose();
  EXPECT_EQ(pdf_pages(d / "open_w1.pdf"), 3);
  // The page font goes in again only with a page that shows glyphs it lacks: pages 2 and 3
  // bring their page number's digit.
  std::ifstream in(d / "open_w1.pdf", std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int fonts = 0;
  for (auto at = pdf.find("/FontFile2"); at != std::string::npos; at = pdf.find("/FontFile2", at + 1)) {
    ++fonts;
  }
  EXPECT_EQ(fonts, 3);
}

// Page files removed from under the run are told as removed when the next page is written,
// the PDF with all its pages, and are no longer counted among the files written; a file an
// earlier process of this number left at a page's hidden name is replaced. At the close every
// PNG file is looked at, also in a window of more than the few looked at with each page.
TEST(PageOutput, PageFilesRemovedFromUnderTheRunAreToldAsRemoved) {
  Dir d;
  auto c = canvas(d, 300, 200, "gone.ps", 10.0);
  ::testing::internal::CaptureStderr();
  for (int page = 1; page <= 2; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->wait_for_files();
    c->clear_white(0, 0, 300, 200);
  }
  fs::remove(d.path / "gone_w1.pdf");
  fs::remove(d.path / "gone_w1_p001.png");
  std::ofstream(d.path / (".gone_w1_p003.png.tmp-" + std::to_string(getpid()))) << "left";
  draw_page(*c, 3, false);
  c->window_dispose();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("korbast: plot pages 1 to 2 are no longer in gone_w1.pdf (Removed by another program)\n"),
            std::string::npos) << err;
  EXPECT_NE(err.find("korbast: plot page 1 is no longer in gone_w1_p001.png (Removed by another program)\n"),
            std::string::npos) << err;
  const auto failed = c->take_file_failures();
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[0].file, "gone_w1.pdf");
  EXPECT_EQ(failed[0].reason, "Removed by another program: pages 1 to 2 are not in it");
  EXPECT_EQ(failed[1].file, "gone_w1_p001.png");
  EXPECT_EQ(failed[1].reason, "Removed by another program");
  const auto files = c->files_written();
  EXPECT_EQ(std::count(files.begin(), files.end(), "gone_w1_p001.png"), 0);
  EXPECT_TRUE(fs::exists(d.path / "gone_w1_p002.png"));
  EXPECT_TRUE(fs::exists(d.path / "gone_w1_p003.png"));

  c->window_open({0, 0, 200, 300}, "thirty", {"gone.ps", 10.0, false});
  ::testing::internal::CaptureStderr();
  for (int page = 1; page <= 30; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->clear_white(0, 0, 300, 200);
  }
  c->wait_for_files();
  int removed = 0;
  for (int page = 1; page <= 30; ++page) {
    char png[32];
    std::snprintf(png, sizeof png, "gone_w2_p%03d.png", page);
    removed += fs::remove(d.path / png);
  }
  ASSERT_EQ(removed, 30);
  c->window_dispose();
  err = ::testing::internal::GetCapturedStderr();
  const auto lost = c->take_file_failures();
  EXPECT_EQ(lost.size(), 30u);
  for (int page = 1; page <= 30; ++page) {
    char png[32];
    std::snprintf(png, sizeof png, "gone_w2_p%03d.png", page);
    const std::string notice = "korbast: plot page " + std::to_string(page) + " is no longer in " +
                               png + " (Removed by another program)\n";
    EXPECT_NE(err.find(notice), std::string::npos) << notice;
    EXPECT_EQ(std::count_if(lost.begin(), lost.end(), [&](const platform::FileFailure& f) {
                return f.file == png && f.reason == "Removed by another program";
              }), 1) << png;
  }
}

// qpdf's verdict on a file: its exit status (0 clean, 2 errors, 3 warnings) and the pages it
// finds (-1 when it finds none).
struct Qpdf {
  int status = -1, pages = -1;
  std::string out;
};
Qpdf qpdf(const std::string& file) {
  Qpdf q;
  int st = 0;
  q.out = run("qpdf --check '" + file + "' 2>&1", &st);
  q.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  const std::string n = run("qpdf --show-npages '" + file + "' 2>/dev/null");
  if (!n.empty()) q.pages = std::atoi(n.c_str());
  return q;
}

// Each page is appended to the PDF after all that is already in it: a copy cut at any byte
// (a stop, a full disk, a copy taken while the run goes on) holds every page appended before
// the cut, for pdfinfo, qpdf (and ghostscript when it is installed).
TEST(PageOutput, PdfCutAnywhereHoldsEveryPageAppendedBeforeTheCut) {
  if (!have_tool("pdfinfo") || !have_tool("qpdf")) GTEST_SKIP() << "pdfinfo or qpdf not installed";
  Dir d;
  auto c = canvas(d, 300, 200, "cut.ps", 10.0);
  std::vector<std::size_t> ends;  // the file's size after each page
  for (int page = 1; page <= 4; ++page) {
    draw_page(*c, page, page == 3);
    c->write_page();
    c->wait_for_files();
    ends.push_back(fs::file_size(d.path / "cut_w1.pdf"));
    c->clear_white(0, 0, 300, 200);
  }
  c->window_dispose();
  const std::string pdf = file_bytes(d / "cut_w1.pdf");
  ASSERT_EQ(pdf.size(), ends.back());
  EXPECT_EQ(pdf_pages(d / "cut_w1.pdf"), 4);
  // Cuts across the last two pages' updates, closer together near their ends (the page
  // tree, the cross-reference section, the trailer).
  std::vector<std::size_t> cuts;
  for (std::size_t at = ends[1]; at < ends[3]; at += (ends[3] - ends[1]) / 23) cuts.push_back(at);
  for (int k : {2, 3})
    for (std::size_t back = 1; back < 1200; back = back * 3 / 2 + 1) cuts.push_back(ends[k] - back);
  cuts.push_back(ends[2]);
  const bool gs = have_tool("gs");
  int gs_runs = 0;
  // A page is in a copy cut after its update ends; a reader may also find it in a copy cut
  // inside the update's last "startxref" line (all its objects are there).
  std::vector<std::size_t> tails;
  for (std::size_t e : ends) tails.push_back(pdf.rfind("startxref", e));
  for (std::size_t cut : cuts) {
    const int want = static_cast<int>(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
    const int most = static_cast<int>(std::upper_bound(tails.begin(), tails.end(), cut) - tails.begin());
    const std::string copy = d / "copy.pdf";
    std::ofstream(copy, std::ios::binary).write(pdf.data(), static_cast<std::streamsize>(cut));
    const int poppler = poppler_pages(copy);
    EXPECT_TRUE(poppler == want || poppler == most) << "pdfinfo: " << poppler << ", cut at " << cut;
    const Qpdf q = qpdf(copy);
    EXPECT_TRUE(q.status == 0 || q.status == 3) << "cut at " << cut << "\n" << q.out;
    EXPECT_TRUE(q.pages == want || q.pages == most) << "qpdf: " << q.pages << ", cut at " << cut;
    if (gs && gs_runs++ % 8 == 0) {
      const std::string n = run("gs -q -dNODISPLAY -dNOSAFER -c '(" + copy +
                                ") (r) file runpdfbegin pdfpagecount = quit' 2>/dev/null");
      const int g = std::atoi(n.c_str());
      EXPECT_TRUE(g == want || g == most) << "ghostscript: " << g << ", cut at " << cut;
    }
  }
}

// A page file that cannot be written is told once, on the standard error and among the
// device's failed files, and nothing is left under its name; the other files are written.
TEST(PageOutput, FailedWritesAreToldOncePerFileAndTheOtherFilesWritten) {
  Dir d;
  fs::create_directory(d.path / "full_w1.pdf");
  fs::create_directory(d.path / "full_w2_p001.png");
  auto c = canvas(d, 300, 200, "full.ps", 10.0);
  ::testing::internal::CaptureStderr();
  draw_pages_and_close(*c, 2, false);
  c->window_open({0, 0, 200, 300}, "second", {"full.ps", 10.0, false});
  draw_pages_and_close(*c, 2, false);
  const std::string err = ::testing::internal::GetCapturedStderr();
  const std::string dir = std::strerror(EISDIR);
  EXPECT_EQ(err,
            "korbast: plot page 1 could not be written to full_w1.pdf (" + dir + ")\n"
            "korbast: plot page 1 written to full_w1_p001.png\n"
            "korbast: plot page 2 written to full_w1_p002.png\n"
            "korbast: plot page 1 could not be written to full_w2_p001.png (" + dir + ")\n"
            "korbast: plot page 1 written to full_w2.pdf\n"
            "korbast: plot page 2 written to full_w2_p002.png and full_w2.pdf\n");
  std::string told;
  for (const platform::FileFailure& f : c->take_file_failures())
    told += f.file + "|" + f.stage + "|" + f.reason + "|" + std::to_string(f.pages) + "\n";
  EXPECT_EQ(told, "full_w1.pdf|WHILE WRITING|" + dir + "|0\nfull_w2_p001.png|WHILE WRITING|" + dir + "|0\n");
  EXPECT_TRUE(c->take_file_failures().empty()) << "each failure is told once";
  EXPECT_TRUE(fs::is_directory(d.path / "full_w1.pdf"));
  EXPECT_TRUE(fs::is_directory(d.path / "full_w2_p001.png"));
  EXPECT_TRUE(fs::exists(d.path / "full_w1_p002.png"));
  EXPECT_EQ(hidden_files(d.path), 0);
  EXPECT_EQ(pdf_pages(d / "full_w2.pdf"), 2);

  // Under a file size limit (its signal ignored): a PDF whose first page does not fit is not
  // left, one whose second page fits half ends with the first. The sizes come from the same
  // pages written without a limit.
  auto pages = [&](const char* name, const std::string& pdf) {
    c->window_open({0, 0, 200, 300}, "limit", {name, 10.0, false});
    std::uintmax_t size[2] = {0, 0};
    for (int page = 1; page <= 2; ++page) {
      draw_page(*c, page, true);
      c->write_page();
      c->wait_for_files();
      if (!pdf.empty()) size[page - 1] = fs::file_size(d.path / pdf);
      c->clear_white(0, 0, 300, 200);
    }
    c->window_dispose();
    return std::pair{size[0], size[1]};
  };
  const auto [one, two] = pages("free.ps", "free_w3.pdf");
  ASSERT_GT(one, 1000u);
  ASSERT_GT(two, one);
  auto old_xfsz = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  for (const rlim_t size : {rlim_t{1000}, rlim_t{(one + two) / 2}}) {
    const rlimit limit{size, old_limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    pages(size == 1000 ? "nopg.ps" : "onep.ps", "");
    setrlimit(RLIMIT_FSIZE, &old_limit);
  }
  std::signal(SIGXFSZ, old_xfsz);
  EXPECT_FALSE(fs::exists(d.path / "nopg_w4.pdf"));
  EXPECT_EQ(pdf_pages(d / "onep_w5.pdf"), 1);
  EXPECT_EQ(hidden_files(d.path), 0);
}

// A link at a page file's name is never written through, whatever it points to (a device, a
// FIFO, a regular file): the page files take the place of the links themselves, and what
// they pointed to is left as it was. A FIFO at the names themselves is replaced as well (a
// PDF cannot be written into a pipe, and one without a reader would never be opened). The
// hidden files that runs which ended left under the temporary names of a window's page files,
// files or links (dangling, or to a folder), are removed by the run that takes the window's
// files; a folder or another name is left.
TEST(PageOutput, LinksAtThePageNamesAreReplacedNotFollowed) {
  Dir d;
  const fs::path fifo = d.path / "fifo", plain = d.path / "plain.txt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(plain) << "kept";
  const fs::path targets[] = {"/dev/null", fifo, plain, ""};
  const std::string left[] = {".link_w1.pdf.tmp-5x", ".link_w12.pdf.tmp-6", ".link_w1_p.png.tmp-7"};
  for (const std::string& name : left) std::ofstream(d.path / name) << "left";
  fs::create_directory(d.path / ".link_w1.pdf.tmp-5");
  std::ofstream(d.path / ".link_w1.pdf.tmp-4000000") << "stale";
  std::ofstream(d.path / ".link_w1_p0009.png.tmp-2") << "stale";
  fs::create_symlink(plain, d.path / ".link_w1_p001.png.tmp-17");
  fs::create_symlink("nowhere", d.path / ".link_w1_p002.png.tmp-18");  // removed, not followed
  fs::create_symlink(d.path, d.path / ".link_w1.pdf.tmp-19");
  auto c = canvas(d, 300, 200, "link.ps", 10.0);
  for (int w = 1; w <= 4; ++w) {
    const std::string pdf = "link_w" + std::to_string(w) + ".pdf", png = "link_w" + std::to_string(w) + "_p001.png";
    if (targets[w - 1].empty()) {
      ASSERT_EQ(mkfifo((d / pdf).c_str(), 0600), 0);
      ASSERT_EQ(mkfifo((d / png).c_str(), 0600), 0);
    } else {
      fs::create_symlink(targets[w - 1], d.path / pdf);
      fs::create_symlink(targets[w - 1], d.path / png);
    }
    if (w > 1) c->window_open({0, 0, 200, 300}, "links", {"link.ps", 10.0, false});
    draw_page(*c, w, false);
    c->window_dispose();
    EXPECT_TRUE(c->take_file_failures().empty()) << targets[w - 1];
    // Read only when they are files of their own (a link to the FIFO would wait for ever).
    const bool files = fs::is_regular_file(fs::symlink_status(d.path / pdf)) &&
                       fs::is_regular_file(fs::symlink_status(d.path / png));
    EXPECT_TRUE(files) << targets[w - 1];
    if (!files) continue;
    EXPECT_EQ(pdf_pages(d / pdf), 1) << targets[w - 1];
    cairo_surface_t* image = cairo_image_surface_create_from_png((d / png).c_str());
    EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS) << targets[w - 1];
    cairo_surface_destroy(image);
  }
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
  EXPECT_EQ(file_bytes(plain), "kept");
  for (const std::string& name : left) EXPECT_EQ(file_bytes(d / name), "left") << name;
  EXPECT_TRUE(fs::is_directory(d.path / ".link_w1.pdf.tmp-5"));
  EXPECT_EQ(hidden_files(d.path), 4) << "the stale ones are removed";
}

// Page notices that cannot reach the standard error (a pipe no one reads) are told once as
// a failure, which sets the run's status; the pages still reach their files. A PDF of an
// earlier run at the name stands until the first page replaces it whole.
TEST(PageOutput, LostNoticesAreAFailureAndThePagesAreWritten) {
  Dir d;
  std::ofstream(d / "lost_w1.pdf") << "an earlier run";
  auto c = canvas(d, 300, 200, "lost.ps", 10.0);
  const auto old_pipe = std::signal(SIGPIPE, SIG_IGN);
  std::fflush(stderr);
  const int keep = dup(2);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);
  dup2(fds[1], 2);
  close(fds[1]);
  draw_pages_and_close(*c, 2, true);
  dup2(keep, 2);
  close(keep);
  std::signal(SIGPIPE, old_pipe);
  const auto failed = c->take_file_failures();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].file, "standard error");
  EXPECT_EQ(failed[0].reason, std::string("page notices: ") + std::strerror(EPIPE));
  EXPECT_EQ(failed[0].pages, 0);
  EXPECT_TRUE(c->take_file_failures().empty());
  EXPECT_TRUE(fs::exists(d.path / "lost_w1_p002.png"));
  EXPECT_EQ(pdf_pages(d / "lost_w1.pdf"), 2);
  EXPECT_EQ(hidden_files(d.path), 0);
}

// A run that dies while the first page of its PDF is written (here by the file size limit's
// signal) leaves no PDF under the name: the file of an earlier run is still there.
TEST(PageOutput, DyingInTheFirstPdfPageLeavesTheNameAlone) {
  Dir d;
  const std::string path = (d / "die_w1.pdf");
  std::ofstream(path) << "an earlier run";
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{200, 200};
    setrlimit(RLIMIT_FSIZE, &limit);
    PdfFile pdf(path, "die", 595.0, 842.0);
    pdf.add_page({compress_content(std::string(5000, 'x'))}, {});
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  EXPECT_EQ(file_bytes(path), "an earlier run");
}

// The document title is the plot name as UTF-16BE text: a byte-order mark, characters past
// U+FFFF as surrogate pairs, a stray byte as the replacement character.
TEST(PdfFile, TitleIsUtf16WithItsByteOrderMark) {
  Dir d;
  const std::string path = (d / "title_w1.pdf");
  {
    // A-diaeresis, the euro sign, U+1F600 (a smiling face), 'a', a stray continuation byte.
    PdfFile pdf(path, "\xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80" "a\x80", 595.0, 842.0);
    ASSERT_EQ(pdf.add_page({compress_content("")}, {}), "");
    ASSERT_EQ(pdf.close(), "");
  }
  EXPECT_NE(file_bytes(path).find("/Title <FEFF00C420ACD83DDE000061FFFD> "), std::string::npos);
}

// The child of the full-disk test (its own process): four pages under a limit of 20,000
// bytes a file, or into a full file system (a tmpfs of 48 KiB in a mount namespace of its
// own, whose files are copied out at the end); the failed files go to failed.txt.
TEST(PageOutput, FullDiskChild) {
  const char* dir = std::getenv("KORBAST_FULL_CHILD");
  if (!dir) GTEST_SKIP() << "only run by PageOutput.PagesThatDoNotFitLeaveNoPartOfThem";
  const std::string out = dir, fs_dir = out + "/fs";
  if (std::getenv("KORBAST_FULL_TMPFS")) {
    fs::create_directory(fs_dir);
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", fs_dir.c_str(), "tmpfs", 0, "size=48k") != 0) {
      GTEST_SKIP() << "no tmpfs can be mounted here";
    }
  } else {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{20000, 20000};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  const bool tmpfs = std::getenv("KORBAST_FULL_TMPFS") != nullptr;
  CairoCanvas::Options o;
  o.use_display = false;
  o.directory = tmpfs ? fs_dir : out;
  o.pdf_piece = 300;
  CairoCanvas c(o);
  c.window_open({0, 0, 200, 300}, "full", {"full.ps", 10.0, false});
  for (int page = 1; page <= 4; ++page) {
    draw_page(c, page, page >= 3);
    c.write_page();
    c.clear_white(0, 0, 300, 200);
  }
  c.window_dispose();
  if (tmpfs) {
    for (const auto& e : fs::directory_iterator(fs_dir)) fs::copy(e.path(), out / e.path().filename());
  }
  std::ofstream failed(out + "/failed.txt");
  for (const platform::FileFailure& f : c.take_file_failures()) failed << f.file << "|" << f.reason << "|" << f.pages << "\n";
}

// A page that does not fit (a file size limit, a full file system) leaves nothing, not
// under its name nor under a hidden one, and is told with the reason; the PDF keeps the
// pages that fit and stays whole.
TEST(PageOutput, PagesThatDoNotFitLeaveNoPartOfThem) {
  for (const bool tmpfs : {false, true}) {
    Dir d;
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      setenv("KORBAST_FULL_CHILD", d.path.c_str(), 1);
      if (tmpfs) setenv("KORBAST_FULL_TMPFS", "1", 1);
      execl("/proc/self/exe", "child", "--gtest_filter=PageOutput.FullDiskChild", nullptr);
      _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    if (!fs::exists(d.path / "failed.txt")) continue;  // no tmpfs here
    const std::string failed = file_bytes(d / "failed.txt");
    const std::string why = std::strerror(tmpfs ? ENOSPC : EFBIG);
    int png_failed = 0, png_written = 0;
    for (int page = 1; page <= 4; ++page) {
      const std::string name = "full_w1_p00" + std::to_string(page) + ".png";
      const bool told = failed.find(name + "|" + why + "|0\n") != std::string::npos;
      EXPECT_NE(told, fs::exists(d.path / name)) << name << "\n" << failed;
      if (told) {
        ++png_failed;
        continue;
      }
      ++png_written;
      cairo_surface_t* png = cairo_image_surface_create_from_png((d / name).c_str());
      EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << name;
      cairo_surface_destroy(png);
    }
    EXPECT_GT(png_failed, 0) << failed;
    EXPECT_GT(png_written, 0) << failed;
    // The PDF: told once, with the pages it keeps.
    const auto at = failed.find("full_w1.pdf|" + why + "|");
    ASSERT_NE(at, std::string::npos) << failed;
    const int kept = std::atoi(failed.c_str() + failed.find_last_of('|', failed.find('\n', at)) + 1);
    EXPECT_GE(kept, 1);
    EXPECT_EQ(pdf_pages(d / "full_w1.pdf"), kept);
    EXPECT_EQ(hidden_files(d.path), 0);
  }
}

// A stalled file system for the page files (page_write_hook): from the `from`-th write call
// on into a page file whose path ends with `suffix` (each pair), each call waits until the test
// lets it go, and then goes through, as a call on a hung folder does when the folder is back.
class StalledWrites {
 public:
  explicit StalledWrites(std::vector<std::pair<std::string, int>> stalls) {
    std::lock_guard<std::mutex> lock(mu_);
    stalls_ = std::move(stalls);
    writes_.clear();
    held_.clear();
    go_ = false;
    page_write_hook = &wait;
  }
  ~StalledWrites() { let_go(); }
  StalledWrites(const StalledWrites&) = delete;
  StalledWrites& operator=(const StalledWrites&) = delete;
  // Lets every write go on, now and from now on.
  void let_go() {
    page_write_hook = nullptr;
    std::lock_guard<std::mutex> lock(mu_);
    go_ = true;
    cv_.notify_all();
  }
  // The bytes of the calls that waited, into the files whose paths end with `suffix`.
  static std::size_t held(const std::string& suffix) {
    std::lock_guard<std::mutex> lock(mu_);
    std::size_t n = 0;
    for (const auto& [path, bytes] : held_) n += ends_with(path, suffix) ? bytes : 0;
    return n;
  }

 private:
  static bool ends_with(const std::string& path, const std::string& suffix) {
    return path.size() >= suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
  }
  static void wait(const std::string& path, std::size_t bytes) {
    std::unique_lock<std::mutex> lock(mu_);
    const int call = ++writes_[path];
    for (const auto& [suffix, from] : stalls_) {
      if (go_ || !ends_with(path, suffix) || call < from) continue;
      held_[path] += bytes;
      cv_.wait(lock, [] { return go_; });
      return;
    }
  }
  static inline std::mutex mu_;
  static inline std::condition_variable cv_;
  static inline std::vector<std::pair<std::string, int>> stalls_;
  static inline std::map<std::string, int> writes_;
  static inline std::map<std::string, std::size_t> held_;
  static inline bool go_ = false;
};

// The threads of this process.
int threads_now() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/task")) ++n;
  return n;
}

// Page writes that take no byte (a stalled file system: the PDF of the first window from its
// second page on, the second page's PNG of the second window) are given up within the bound,
// by every wait on the writer: for room in the queue (30 pages drawn) and for the files
// (wait_for_files); the close then waits no more. A file given up is told as failed (the PDF
// with the page it keeps), the stalled page's PNG (written before its PDF) as written, every
// later page as not written; the hold on the files goes with the window. Without a bound the
// test would never get past the stalled write (its time limit ends it). Let go, the stalled
// calls land, and the writers write and rename nothing more (the PNG given up never takes its
// name, though its write ended while its window was still open), end by themselves and free
// what they hold.
TEST(PageOutput, StalledPageWritesAreGivenUpWithinTheBound) {
  Dir d;
  std::thread([] {}).join();  // a sanitizer's own thread, made with the first one, counted
  const int threads_before = threads_now();
  StalledWrites stalled({{"_w1.pdf", 2}, {"_w2_p002.png", 1}});
  auto c = canvas(d, 300, 200, "stall.ps", 10.0);
  ::testing::internal::CaptureStderr();
  draw_pages_and_close(*c, 30, false);
  EXPECT_EQ(hidden_files(d.path), 0) << "the lock file";
  EXPECT_EQ(threads_now(), threads_before + 1) << "the writer thread stalled in the window";
  c->window_open({0, 0, 200, 300}, "drain", {"stall.ps", 10.0, false});
  for (int page = 1; page <= 2; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->wait_for_files();
    c->clear_white(0, 0, 300, 200);
  }
  const std::string err = ::testing::internal::GetCapturedStderr();
  const std::string stuck = "no byte was written for 3 seconds";
  std::string want =
      "korbast: plot page 1 written to stall_w1_p001.png and stall_w1.pdf\n"
      "korbast: plot page 2 could not be written to stall_w1.pdf (" + stuck + ")\n"
      "korbast: plot page 2 written to stall_w1_p002.png\n";
  for (int page = 3; page <= 30; ++page) {
    char png[32];
    std::snprintf(png, sizeof png, "stall_w1_p%03d.png", page);
    want += "korbast: plot page " + std::to_string(page) + " could not be written to " + png +
            " and stall_w1.pdf (a write before it did not end)\n";
  }
  want += "korbast: plot page 1 written to stall_w2_p001.png and stall_w2.pdf\n"
          "korbast: plot page 2 could not be written to stall_w2_p002.png (" + stuck + ")\n";
  EXPECT_EQ(err, want);
  std::string told;
  for (const platform::FileFailure& f : c->take_file_failures())
    told += f.file + "|" + f.stage + "|" + f.reason + "|" + std::to_string(f.pages) + "\n";
  EXPECT_EQ(told, "stall_w1.pdf|WHILE WRITING|" + stuck + "|1\n"
                  "stall_w2_p002.png|WHILE WRITING|" + stuck + "|0\n");
  EXPECT_TRUE(fs::exists(d.path / "stall_w1_p002.png"));
  EXPECT_FALSE(fs::exists(d.path / "stall_w1_p003.png"));
  const auto sizes = [&] {
    return std::pair{fs::file_size(d.path / "stall_w1.pdf"),
                     fs::file_size(d.path / "stall_w2.pdf")};
  };
  const auto kept = sizes();
  stalled.let_go();
  const fs::path temp = d.path / (".stall_w2_p002.png.tmp-" + std::to_string(getpid()));
  for (int k = 0; k < 3000 && fs::exists(temp); ++k) usleep(10000);
  EXPECT_FALSE(fs::exists(temp)) << "the PNG's write did not end";
  EXPECT_FALSE(fs::exists(d.path / "stall_w2_p002.png")) << "a page given up took its name";
  c->window_dispose();
  for (int k = 0; k < 3000 && threads_now() > threads_before; ++k) usleep(10000);
  EXPECT_EQ(threads_now(), threads_before) << "the writers did not end";
  EXPECT_EQ(sizes(), std::pair(kept.first + StalledWrites::held("_w1.pdf"), kept.second))
      << "a writer given up went on writing after its stalled call";
  EXPECT_EQ(hidden_files(d.path), 0);
  // A write of two calls given up while its first one waits: that call lands, no other.
  StalledWrites again({{"two_calls", 1}});
  const std::string path = d / "two_calls";
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  const std::string bytes(2 * kWriteChunk, 'x');
  WriteWatch watch;
  bool wrote = true;
  std::thread writer([&] { wrote = write_all(fd, bytes.data(), bytes.size(), 0, path, &watch); });
  for (int k = 0; k < 3000 && StalledWrites::held("two_calls") == 0; ++k) usleep(10000);
  watch.given_up = true;
  again.let_go();
  writer.join();
  close(fd);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(fs::file_size(path), kWriteChunk) << "a write given up went on";
  // Encoders that take longer than the bound (a big map on one processor) are waited for: no
  // byte is due while the writer waits for them.
  page_encode_hook = [] {
    static std::atomic<bool> once{false};
    if (!once.exchange(true)) sleep(4);
  };
  c->window_open({0, 0, 200, 300}, "slow", {"stall.ps", 10.0, false});
  draw_page(*c, 1, false);
  c->window_dispose();
  page_encode_hook = nullptr;
  EXPECT_TRUE(c->take_file_failures().empty()) << "a page given up while it was encoded";
  EXPECT_TRUE(fs::exists(d.path / "stall_w3_p001.png"));
}

// The child of the kill test (run as its own process, so that it has its own threads):
// draws page after page until it is killed.
TEST(PageOutput, KilledChild) {
  const char* dir = std::getenv("KORBAST_KILLED_CHILD");
  if (!dir) GTEST_SKIP() << "only run by PageOutput.AKilledRunKeepsEveryAnnouncedPage";
  CairoCanvas::Options o;
  o.use_display = false;
  o.directory = dir;
  CairoCanvas c(o);
  c.window_open({0, 0, 400, 600}, "sig", {"sig.ps", 10.0, false});
  for (int page = 1;; ++page) {
    for (int k = 0; k < 20; ++k) draw_page(c, page + k, true);
    c.write_page();
    c.clear_white(0, 0, 600, 400);
  }
}

// A run killed at any moment, with no chance to tidy up, keeps every page it announced: the
// PDF holds them and each has its whole PNG.
TEST(PageOutput, AKilledRunKeepsEveryAnnouncedPage) {
  if (!have_tool("pdfinfo") || !have_tool("qpdf")) GTEST_SKIP() << "pdfinfo or qpdf not installed";
  for (int sig : {SIGKILL}) {
    Dir d;
    int err_pipe[2];
    ASSERT_EQ(pipe(err_pipe), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      dup2(err_pipe[1], 2);
      close(err_pipe[0]);
      setenv("KORBAST_KILLED_CHILD", d.path.c_str(), 1);
      execl("/proc/self/exe", "child", "--gtest_filter=PageOutput.KilledChild", nullptr);
      _exit(127);
    }
    close(err_pipe[1]);
    // Wait for three announced pages (generous bound), then interrupt the run.
    std::string err;
    FILE* in = fdopen(err_pipe[0], "r");
    char line[512];
    int notices = 0;
    while (notices < 3 && fgets(line, sizeof line, in)) {
      err += line;
      notices += std::string(line).find(" written to ") != std::string::npos;
    }
    ASSERT_EQ(notices, 3) << err;
    kill(pid, sig);
    while (fgets(line, sizeof line, in)) {
      err += line;
      notices += std::string(line).find(" written to sig_w1_p") != std::string::npos;
    }
    fclose(in);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    // Every announced page is in the PDF and has its PNG. The kill may cut the next page's
    // update (readers then recover what stands before it) or come after that page is written
    // but before it is announced.
    const std::string pdf = d / "sig_w1.pdf";
    const int poppler = poppler_pages(pdf);
    EXPECT_TRUE(poppler == notices || poppler == notices + 1) << poppler << "\n" << err;
    const Qpdf q = qpdf(pdf);
    EXPECT_TRUE(q.status == 0 || q.status == 3) << q.out;
    EXPECT_TRUE(q.pages == notices || q.pages == notices + 1) << q.pages << "\n" << err;
    char png[64];
    std::snprintf(png, sizeof png, "sig_w1_p%03d.png", notices);
    EXPECT_TRUE(fs::exists(d.path / png)) << err;
  }
}

}  // namespace
}  // namespace korbast::pages
