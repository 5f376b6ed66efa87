// What the page writer's tests share: a canvas writing page files into a folder, pages of the
// program's kind drawn on it, and looks at the files it wrote (PDF pages, hidden files left).
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "pages/cairo_canvas.hpp"
#include "support/command.hpp"
#include "support/pdf_check.hpp"
#include "support/tempfile.hpp"
#include "cairo_pixel.hpp"

namespace korbast::pages {

namespace fs = std::filesystem;

using Dir = korbast::testing::TempDir;

using korbast::testing::have_tool;
inline std::string run(const std::string& cmd, int* status = nullptr) {
  return korbast::testing::run_command(cmd, status);
}

// The page count of a PDF the program wrote, or -1 when qpdf or pdfinfo finds fault with it.
inline int pdf_pages(const std::string& file) {
  std::string why;
  const int n = korbast::testing::checked_pdf_pages(file, &why);
  if (n < 0) ADD_FAILURE() << file << ": " << why;
  return n;
}

inline std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Files whose names start with a dot: what a page write left behind.
inline int hidden_files(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir)) n += e.path().filename().string()[0] == '.';
  return n;
}

// pdfinfo's page count of a cut copy (poppler repairs what it can), or -1.
inline int poppler_pages(const std::string& file) {
  const std::string out = run("pdfinfo '" + file + "' 2>&1");
  const auto at = out.find("\nPages:");
  if (out.find("Error") != std::string::npos || at == std::string::npos) return -1;
  return std::atoi(out.c_str() + at + 7);
}

using korbast::testing::px;

inline std::unique_ptr<CairoCanvas> canvas(const Dir& d, int w, int h, const char* name, double scale,
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

// A closed path through n points on the circle of radius r about (cx, cy), `step` radians
// apart, begun afresh (not painted).
template <class C>
void circle_path(C& c, double cx, double cy, double r, int n, double step) {
  c.path_begin();
  for (int i = 0; i < n; ++i) {
    const double a = i * step;
    if (i == 0) c.path_move(cx + r * std::cos(a), cy + r * std::sin(a));
    else c.path_line(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  c.path_close();
}

// A page like the program's: filled and outlined circles, lines in a few colours, texts.
template <class C>
inline void draw_page(C& c, int seed, bool many_colours) {
  for (int k = 0; k < 40; ++k) {
    const double cx = 20 + (k * 37 + seed * 11) % 160, cy = 20 + (k * 53 + seed * 7) % 110;
    const double v = many_colours ? (k * 6 + seed) / 255.0 : (k % 3) * 0.5;
    c.set_fill_rgb({v, 1.0 - v, 0.5});
    c.set_stroke_rgb({0, 0, many_colours ? v : 0.0});
    c.set_line_width(1 + k % 3);
    circle_path(c, cx, cy, 9, 20, 2 * M_PI / 19);
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
inline void draw_pages_and_close(CairoCanvas& c, int n, bool wait) {
  for (int page = 1; page <= n; ++page) {
    draw_page(c, page, false);
    c.write_page();
    if (wait) c.wait_for_files();
    c.clear_white(0, 0, 300, 200);
  }
  c.window_dispose();
}

// qpdf's verdict on a file: its exit status (0 clean, 2 errors, 3 warnings) and the pages it
// finds (-1 when it finds none).
struct Qpdf {
  int status = -1, pages = -1;
  std::string out;
};
inline Qpdf qpdf(const std::string& file) {
  Qpdf q;
  int st = 0;
  q.out = run("qpdf --check '" + file + "' 2>&1", &st);
  q.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  const std::string n = run("qpdf --show-npages '" + file + "' 2>/dev/null");
  if (!n.empty()) q.pages = std::atoi(n.c_str());
  return q;
}

}  // namespace korbast::pages
