// The program's drawing device without a display: pixels of the page image, and the page
// files (PNG size, PDF pages and geometry through poppler's tools where installed).
#include "pages/cairo_canvas.hpp"
#include "support/command.hpp"
#include "support/pdf_check.hpp"
#include "support/tempfile.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

namespace korbast::pages {
namespace {

namespace fs = std::filesystem;

using korbast::testing::TempDir;

struct Pixel {
  int r, g, b;
};

Pixel pixel(cairo_surface_t* img, int x, int row) {
  cairo_surface_flush(img);
  const unsigned char* data = cairo_image_surface_get_data(img);
  const int stride = cairo_image_surface_get_stride(img);
  const auto v = *reinterpret_cast<const std::uint32_t*>(data + row * stride + x * 4);
  return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
          static_cast<int>(v & 0xFF)};
}

bool near(Pixel p, int r, int g, int b, int tol = 2) {
  return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}

bool white(Pixel p) { return p.r == 255 && p.g == 255 && p.b == 255; }

bool all_white(cairo_surface_t* img) {
  const int w = cairo_image_surface_get_width(img);
  const int h = cairo_image_surface_get_height(img);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!white(pixel(img, x, y))) return false;
  return true;
}

std::string run(const std::string& cmd) { return korbast::testing::run_command(cmd); }

// The value of one "Label:   value" line of pdfinfo's report.
std::string info_field(const std::string& info, const std::string& label) {
  std::istringstream in(info);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(label + ":", 0) != 0) continue;
    const auto b = line.find_first_not_of(' ', label.size() + 1);
    return b == std::string::npos ? "" : line.substr(b);
  }
  return "<none>";
}

using korbast::testing::have_tool;

// A headless device with a 100 x 80 window, anti-aliasing off, files into a temp folder.
struct Small {
  TempDir dir;
  std::unique_ptr<CairoCanvas> c;
  explicit Small(const char* name = "t.ps", double scale = 10.0, bool landscape = false) {
    CairoCanvas::Options o;
    o.use_display = false;
    o.directory = dir.path.string();
    c = std::make_unique<CairoCanvas>(o);
    c->window_open({20, 30, 100, 130}, "test", {name, scale, landscape});
    c->context_begin(false);
  }
  cairo_surface_t* img() const { return c->page_image(); }
  bool exists(const std::string& f) const { return fs::exists(dir.path / f); }
};

TEST(CairoCanvas, HeadlessScreenIsVirtual) {
  CairoCanvas::Options o;
  o.use_display = false;
  CairoCanvas c(o);
  EXPECT_EQ(c.screen_bounds(), (platform::ScreenRect{0, 0, 1200, 1920}));
  EXPECT_FALSE(c.has_display());
}

TEST(CairoCanvas, WindowStartsWhiteWithTheContentSize) {
  Small s;
  EXPECT_EQ(cairo_image_surface_get_width(s.img()), 100);
  EXPECT_EQ(cairo_image_surface_get_height(s.img()), 80);
  EXPECT_TRUE(all_white(s.img()));
  EXPECT_EQ(s.c->window_region(33), (platform::ScreenRect{20, 30, 100, 130}));
  EXPECT_EQ(s.c->window_region(40), (platform::ScreenRect{20, 30, 100, 130}));
  EXPECT_FALSE(s.c->page_drawn());
}

TEST(CairoCanvas, YUpwardsLandsInImageRowHeightMinusY) {
  Small s;
  s.c->set_line_width(2.0);
  s.c->path_begin();
  s.c->path_move(10, 10);
  s.c->path_line(90, 10);
  s.c->path_stroke();
  // Width 2 about y = 10 covers device rows 9..11, image rows 69 and 70.
  EXPECT_TRUE(near(pixel(s.img(), 50, 69), 0, 0, 0));
  EXPECT_TRUE(near(pixel(s.img(), 50, 70), 0, 0, 0));
  EXPECT_TRUE(white(pixel(s.img(), 50, 68)));
  EXPECT_TRUE(white(pixel(s.img(), 50, 71)));
  EXPECT_TRUE(white(pixel(s.img(), 50, 10)));
  EXPECT_TRUE(s.c->page_drawn());
}

TEST(CairoCanvas, FillThenOutlineInTheirOwnColours) {
  Small s;
  s.c->set_fill_rgb({0.5, 0.0, 0.0});
  s.c->set_stroke_rgb({0.0, 0.5, 0.0});
  s.c->set_line_width(2.0);
  s.c->path_begin();
  s.c->path_move(10, 10);
  s.c->path_line(50, 10);
  s.c->path_line(50, 40);
  s.c->path_line(10, 40);
  s.c->path_close();
  s.c->path_fill_stroke();
  EXPECT_TRUE(near(pixel(s.img(), 30, 80 - 25), 128, 0, 0));  // interior
  EXPECT_TRUE(near(pixel(s.img(), 10, 80 - 25), 0, 128, 0));  // left edge
  EXPECT_TRUE(near(pixel(s.img(), 30, 80 - 40), 0, 128, 0));  // top edge (y = 40)
  EXPECT_TRUE(white(pixel(s.img(), 60, 80 - 25)));
  EXPECT_TRUE(white(pixel(s.img(), 30, 80 - 45)));
}

TEST(CairoCanvas, ClearWhiteStartsAPageAndKeepsTheColours) {
  Small s;
  s.c->set_fill_rgb({0.0, 0.0, 0.0});
  s.c->path_begin();
  s.c->path_move(0, 0);
  s.c->path_line(100, 0);
  s.c->path_line(100, 80);
  s.c->path_close();
  s.c->path_fill_stroke();
  EXPECT_FALSE(all_white(s.img()));
  s.c->clear_white(0, 0, 100, 80);
  EXPECT_TRUE(all_white(s.img()));
  EXPECT_FALSE(s.c->page_drawn());
  EXPECT_EQ(s.c->fill_rgb(), (platform::Rgb{0, 0, 0}));
  // Black text after the white page (a black-and-white plot goes on in black).
  s.c->set_font_size(30);
  s.c->text_show(10, 20, 0.0, "WWW");
  bool black = false;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) black = black || near(pixel(s.img(), x, y), 0, 0, 0, 10);
  EXPECT_TRUE(black);
}

TEST(CairoCanvas, OldCharacterSetTextKeepsTheContextWorking) {
  Small s;
  s.c->set_font_size(20);
  std::string all;
  for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
  s.c->text_show(5, 40, 0.0, all);
  EXPECT_GT(s.c->text_advance("\xA1\xA4"), 0.0);
  s.c->set_line_width(2.0);
  s.c->path_begin();
  s.c->path_move(0, 75);
  s.c->path_line(100, 75);
  s.c->path_stroke();
  EXPECT_TRUE(near(pixel(s.img(), 95, 4), 0, 0, 0));  // rows 4 and 5 are y = 75
  EXPECT_EQ(cairo_surface_status(s.img()), CAIRO_STATUS_SUCCESS);
}

TEST(CairoCanvas, FarAndNonFinitePointsDrawOnlyTheVisiblePart) {
  Small s;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  s.c->set_line_width(2.0);
  s.c->path_begin();
  s.c->path_move(10, 40);
  s.c->path_line(1e12, 40);
  s.c->path_stroke();
  s.c->path_begin();
  s.c->path_move(nan, 5);
  s.c->path_line(20, nan);
  s.c->path_stroke();
  s.c->text_show(nan, 5, nan, "X");
  s.c->text_show(1e15, 5, 0.0, "X");
  for (int x = 10; x < 100; x += 7) {
    EXPECT_TRUE(near(pixel(s.img(), x, 39), 0, 0, 0)) << x;
    EXPECT_TRUE(near(pixel(s.img(), x, 40), 0, 0, 0)) << x;
  }
  int inked = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) inked += !white(pixel(s.img(), x, y));
  EXPECT_EQ(inked, 2 * 90);
}

TEST(CairoCanvas, TurnedTextRunsUpwards) {
  Small s;
  s.c->set_font_size(16);
  s.c->text_show(50, 10, M_PI / 2, "IIIIIIII");
  // Ink above the point, to its left (the glyphs' tops face -x), none below it.
  int above = 0, below = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) {
      if (white(pixel(s.img(), x, y))) continue;
      EXPECT_LE(x, 51);
      if (80 - y > 10) ++above; else ++below;
    }
  EXPECT_GT(above, 20);
  EXPECT_EQ(below, 0);
}

TEST(CairoCanvas, TextAdvanceGrowsWithTheTextAndIsUnmarked) {
  Small s;
  s.c->set_font_size(20);
  const double one = s.c->text_advance("A");
  const double two = s.c->text_advance("AA");
  EXPECT_GT(one, 5.0);
  EXPECT_NEAR(two, 2 * one, 1e-6);
  EXPECT_TRUE(all_white(s.img()));
  EXPECT_FALSE(s.c->page_drawn());
}

TEST(CairoCanvasFiles, DrawnPagesOnly) {
  Small s("seis.ps");
  s.c->write_page();  // nothing drawn yet
  EXPECT_FALSE(s.exists("seis_w1_p001.png"));
  s.c->path_begin();
  s.c->path_move(1, 1);
  s.c->path_line(50, 50);
  s.c->path_stroke();
  s.c->write_page();
  s.c->wait_for_files();
  EXPECT_TRUE(s.exists("seis_w1_p001.png"));
  s.c->write_page();  // nothing new
  s.c->clear_white(0, 0, 100, 80);
  s.c->window_dispose();
  EXPECT_FALSE(s.exists("seis_w1_p002.png"));
  EXPECT_TRUE(s.exists("seis_w1.pdf"));

  cairo_surface_t* png = cairo_image_surface_create_from_png((s.dir.path / "seis_w1_p001.png").c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), 100);
  EXPECT_EQ(cairo_image_surface_get_height(png), 80);
  cairo_surface_destroy(png);
}

TEST(CairoCanvasFiles, AnUndrawnWindowWritesNothing) {
  Small s("empty.ps");
  s.c->window_dispose();
  EXPECT_TRUE(fs::is_empty(s.dir.path));
}

TEST(CairoCanvasFiles, WindowsAndPagesAreNumbered) {
  Small s("fps_bb.ps");
  for (int k = 0; k < 2; ++k) {
    s.c->path_begin();
    s.c->path_move(1, 1);
    s.c->path_line(9, 9);
    s.c->path_stroke();
    s.c->write_page();
    s.c->clear_white(0, 0, 100, 80);
  }
  s.c->window_dispose();
  s.c->window_open({0, 0, 50, 50}, "second", {"fps_bb.ps", 10.0, true});
  s.c->text_show(5, 5, 0.0, "x");
  s.c->window_dispose();  // the closing writes the last drawn page
  EXPECT_TRUE(s.exists("fps_bb_w1_p001.png"));
  EXPECT_TRUE(s.exists("fps_bb_w1_p002.png"));
  EXPECT_TRUE(s.exists("fps_bb_w2_p001.png"));
  EXPECT_TRUE(s.exists("fps_bb_w1.pdf"));
  EXPECT_TRUE(s.exists("fps_bb_w2.pdf"));
  EXPECT_EQ(s.c->window_number(), 2);

  if (!have_tool("pdfinfo")) GTEST_SKIP() << "pdfinfo (poppler-utils) not installed";
  const std::string one = run("pdfinfo '" + (s.dir.path / "fps_bb_w1.pdf").string() + "'");
  EXPECT_EQ(info_field(one, "Pages"), "2");
  EXPECT_EQ(info_field(one, "Page size"), "595.276 x 841.89 pts (A4)");
  const std::string two = run("pdfinfo '" + (s.dir.path / "fps_bb_w2.pdf").string() + "'");
  EXPECT_EQ(info_field(two, "Pages"), "1");
  for (const char* f : {"fps_bb_w1.pdf", "fps_bb_w2.pdf"}) {
    std::string why;
    EXPECT_GT(korbast::testing::checked_pdf_pages((s.dir.path / f).string(), &why), 0) << f << why;
  }
  EXPECT_EQ(info_field(two, "Page size"), "841.89 x 595.276 pts (A4)");
  EXPECT_EQ(info_field(two, "Title"), "second");
}

TEST(CairoCanvasFiles, PdfPutsPageCentimetresOnTheSheet) {
  if (!have_tool("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) not installed";
  // 10 pixels per cm: a black square over page cm 1..3 x 1..3 is pixels 10..30.
  Small s("geo.ps", 10.0);
  s.c->set_fill_rgb({0, 0, 0});
  s.c->path_begin();
  s.c->path_move(10, 10);
  s.c->path_line(30, 10);
  s.c->path_line(30, 30);
  s.c->path_line(10, 30);
  s.c->path_close();
  s.c->path_fill_stroke();
  s.c->window_dispose();
  // pdftoppm at 2.54 dpi x 10 = 25.4 dpi: one pixel per mm of the sheet (210 x 297).
  const fs::path out = s.dir.path / "geo";
  run("pdftoppm -r 25.4 -png -singlefile '" + (s.dir.path / "geo_w1.pdf").string() + "' '" +
      out.string() + "'");
  cairo_surface_t* png = cairo_image_surface_create_from_png((out.string() + ".png").c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  const int h = cairo_image_surface_get_height(png);
  EXPECT_NEAR(cairo_image_surface_get_width(png), 210, 1);
  EXPECT_NEAR(h, 297, 1);
  cairo_surface_flush(png);
  EXPECT_TRUE(near(pixel(png, 20, h - 20), 0, 0, 0, 40));  // page cm (2, 2): inside
  EXPECT_TRUE(white(pixel(png, 20, h - 40)));              // page cm (2, 4): outside
  EXPECT_TRUE(white(pixel(png, 40, h - 20)));              // page cm (4, 2): outside
  EXPECT_TRUE(white(pixel(png, 20, 20)));                  // the top of the sheet
  cairo_surface_destroy(png);
}

TEST(CairoCanvasFiles, UnwritableFolderIsReportedAndDrawingGoesOn) {
  // A folder that does not exist (root could write into a read-only one).
  CairoCanvas::Options o;
  o.use_display = false;
  o.directory = "/nonexistent-korbast-folder";
  CairoCanvas c(o);
  c.window_open({0, 0, 40, 40}, "t", {"t.ps", 10.0, false});
  c.path_begin();
  c.path_move(1, 1);
  c.path_line(30, 30);
  c.path_stroke();
  ::testing::internal::CaptureStderr();
  c.write_page();
  c.path_begin();
  c.path_move(1, 30);
  c.path_line(30, 1);
  c.path_stroke();
  c.window_dispose();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("korbast: plot page 1 could not be written to t_w1_p001.png"), std::string::npos)
      << err;
  EXPECT_TRUE(c.files_written().empty());
}

TEST(CairoCanvasFiles, OneNoticePerPage) {
  Small s("seis.ps");
  s.c->path_begin();
  s.c->path_move(1, 1);
  s.c->path_line(30, 30);
  s.c->path_stroke();
  ::testing::internal::CaptureStderr();
  s.c->write_page();
  s.c->window_dispose();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "korbast: plot page 1 written to seis_w1_p001.png and seis_w1.pdf\n");
}

TEST(CairoCanvas, CallsWithoutAWindowDoNothing) {
  CairoCanvas::Options o;
  o.use_display = false;
  CairoCanvas c(o);
  c.set_line_width(3);
  c.path_begin();
  c.path_move(1, 1);
  c.path_line(2, 2);
  c.path_stroke();
  c.path_fill_stroke();
  c.text_show(1, 1, 0.0, "x");
  EXPECT_EQ(c.text_advance("x"), 0.0);
  c.clear_white(0, 0, 10, 10);
  c.flush();
  c.sync();
  c.write_page();
  c.window_dispose();
  EXPECT_FALSE(c.window_is_open());
}

}  // namespace
}  // namespace korbast::pages
