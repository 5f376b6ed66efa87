// Page drawings (PageOps): paths painted over are left out of a replay without changing a
// pixel, in bands or whole, and the PDF content in pieces is the whole content; a crowded page
// replayed in bands is the direct drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "pages/canvas_text.hpp"
#include "pages/page_ops.hpp"
#include "pages/pdf_content.hpp"
#include "page_files.hpp"

namespace korbast::pages {
namespace {

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
    circle_path(m, cx, cy, r, n, 2 * M_PI / n);
    m.path_fill_stroke();
  }
  for (int k = 0; k < 40; ++k) {
    const double cx = rnd() * w, cy = rnd() * h;
    m.set_fill_rgb({0.8, 0.1 * (k % 10), 0.1});
    circle_path(m, cx, cy, 40, 100, 2 * M_PI / 100);
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

// The PDF content of `ops` in `count` pieces (at least `least` made), one after the other, is
// the whole content, and the pieces show the glyphs it shows.
void expect_pieces_make_the_whole(const PageOps& ops, double scale, int h, std::size_t count,
                                  std::size_t least) {
  const PdfContent pdf(ops);
  std::vector<unsigned> glyphs, all;
  const std::string whole = pdf.content(scale, h, glyphs);
  const auto pieces = pdf.pieces(count);
  ASSERT_GE(pieces.size(), least);
  std::string joined;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const std::size_t to = k + 1 < pieces.size() ? pieces[k + 1].code : SIZE_MAX;
    joined += pdf.content(scale, h, all, pieces[k], to);
  }
  EXPECT_TRUE(joined == whole) << joined.size() << " bytes against " << whole.size();
  EXPECT_EQ(all, glyphs);
}

TEST(PageOps, PdfContentInPiecesIsTheWholeContent) {
  PageOps ops;
  draw_pile(ops, 786);
  ops.clear_rect(10, 10, 50, 20);
  ops.move(5, 5);
  ops.line(700, 900);
  ops.stroke({0, 0, 0}, 1.0);
  expect_pieces_make_the_whole(ops, 0.5, 1112, 7, 5);
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
  expect_pieces_make_the_whole(ops, 1.0, 1000, 400, 200);
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

}  // namespace
}  // namespace korbast::pages
