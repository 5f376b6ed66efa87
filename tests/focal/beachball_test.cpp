// The beach-ball page driver through the logging device: the initialising mode, the menu at
// both output levels, pages of 0, 20, 21 and 45 balls (page questions, captions, ball places
// column by column), what one ball holds, the attributes given back on leaving, the scaling
// command starting from the saved settings, a new window between pages, a count beyond the
// arrays, the symbol and projection commands, and angles in radians.
#include "focal/beachball.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "focal_fixture.hpp"
#include "frame/runinfo.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/life_cycle.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/subplots.hpp"
#include "plot/symboltype.hpp"
#include "plot/window_device.hpp"
#include "support/command.hpp"
#include "support/expected_lines.hpp"

namespace korbast::focal::test {
namespace {

namespace ex = korbast::testing::expected;
using plot::test::find_sequence;
using plot::test::split_lines;

constexpr int kCapacity = 50;
constexpr int kSubplot = 2;

// The nodal planes of the three records of tests/data/gcmt-samples.ndk (strike, dip, rake).
constexpr float kPlanes[3][2][3] = {{{9, 29, 142}, {133, 72, 66}},
                                    {{282, 48, -23}, {28, 73, -136}},
                                    {{49, 30, 106}, {211, 61, 81}}};

// A catalogue's planes and dates, the sample records over and over.
struct Events {
  float az[2][kCapacity], dip[2][kCapacity], rake[2][kCapacity];
  frame::Text<10> date[kCapacity];
  explicit Events(float factor = 1.0f) {
    for (int i = 0; i < kCapacity; ++i) {
      for (int k = 0; k < 2; ++k) {
        az[k][i] = factor * kPlanes[i % 3][k][0];
        dip[k][i] = factor * kPlanes[i % 3][k][1];
        rake[k][i] = factor * kPlanes[i % 3][k][2];
      }
      char buf[16];
      std::snprintf(buf, sizeof buf, "E%03d", i + 1);
      date[i] = buf;
    }
  }
};

class BeachBalls : public plot::test::PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    focal::reset();
    frame::iocom.pause = false;
    Console quiet;
    frame::smaininfo({"korbast", " 8.0", "06-05-2010"}, 0);
    int iproj = 1;
    sspro(iproj, 5);
    call(0, 5);
  }

  // The driver with the answers given; the console text is returned.
  std::string call(int n, int mode, const std::string& answers = "", int iangunit = 1,
                   int nmax = kCapacity) {
    Console con(answers);
    const Events& e = iangunit == 1 ? degrees_ : radians_;
    fpsbchbll({e.az[0], e.dip[0], e.rake[0]}, {e.az[1], e.dip[1], e.rake[1]}, e.date, nmax, n,
              kSubplot, iangunit, mode);
    return con.text();
  }

  // A window open before the driver is called, as command 10 of the main menu leaves it.
  void open_window() {
    Console con("\n\n");
    plot::plinit("seis.ps", 2);
    log_->clear();
  }

  // Where each ball's frame circle stands (cm), with the number of new pages before it.
  struct Ball {
    double x, y;
    int page;
  };
  std::vector<Ball> balls() const {
    std::vector<Ball> out;
    int pages = 0;
    const double s = plot::plt1blk.devscale;
    Path current;
    bool in_path = false;
    auto finish = [&] {
      if (in_path && current.pts.size() == 200) {
        double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
        for (const auto& p : current.pts) {
          x0 = std::min(x0, p.first), x1 = std::max(x1, p.first);
          y0 = std::min(y0, p.second), y1 = std::max(y1, p.second);
        }
        out.push_back({(x0 + x1) / 2 / s, (y0 + y1) / 2 / s, pages});
      }
      in_path = false;
    };
    for (const auto& l : log_lines()) {
      double x = 0, y = 0;
      if (l == "begin") {
        finish();
        current = Path{};
        in_path = true;
      } else if (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
                 std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2) {
        current.pts.emplace_back(x, y);
      } else if (l.rfind("clear_white", 0) == 0) {
        finish();
        ++pages;
      }
    }
    finish();
    return out;
  }

  // The texts drawn, in cm.
  std::vector<Shown> texts_cm() const {
    auto t = drawn_of(log_lines()).texts;
    for (auto& s : t) {
      s.x /= plot::plt1blk.devscale;
      s.y /= plot::plt1blk.devscale;
    }
    return t;
  }

  static int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
  }

  // The ball centres of a full page, in drawing order: columns left to right, each bottom up.
  static std::vector<Pt> page_places(int count) {
    std::vector<Pt> p;
    for (int j = 0; j < count; ++j) p.emplace_back(4.0 + 4.5 * (j / 5), 4.0 + 4.5 * (j % 5));
    return p;
  }

  static void expect_places(const std::vector<Ball>& b, std::size_t from,
                            const std::vector<Pt>& want, int page) {
    for (std::size_t j = 0; j < want.size(); ++j) {
      ASSERT_LT(from + j, b.size());
      EXPECT_NEAR(b[from + j].x, want[j].first, 1e-3) << j;
      EXPECT_NEAR(b[from + j].y, want[j].second, 1e-3) << j;
      EXPECT_EQ(b[from + j].page, page) << j;
    }
  }

  Events degrees_{1.0f};
  Events radians_{static_cast<float>(M_PI / 180.0)};
};

TEST_F(BeachBalls, InitialisingModeSetsTheDefaults) {
  fpsbchbll_settings = BeachBallSettings{};
  for (int mode : {4, 5}) {
    const std::string out = call(0, mode);
    EXPECT_EQ(split_lines(out),
              ex::join({ex::head("fpsbchbll"), {" INITIALIZING FPS PLOT PARAMETERS"}}));
  }
  const BeachBallSettings& s = fpsbchbll_settings;
  EXPECT_EQ(s.plotname.str(), ex::padded("fps_bb.ps", 50));
  EXPECT_EQ(s.symbolsize, 0.3f);
  EXPECT_EQ(s.xcm0, 4.0f);
  EXPECT_EQ(s.ycm0, 4.0f);
  EXPECT_EQ(s.xx, 1.5f);
  EXPECT_EQ(s.xy, 0.0f);
  EXPECT_EQ(s.yx, 0.0f);
  EXPECT_EQ(s.yy, 1.5f);
  const int codes[3][2] = {{1, -1}, {4, -4}, {3, -3}};
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(s.ipbtsymb[m][0], codes[m][0]);
    EXPECT_EQ(s.ipbtsymb[m][1], codes[m][1]);
  }
  EXPECT_FALSE(frame::iocom.plot_open);
}

ex::Lines menu_lines(int nmax, int n, const char* radians) {
  auto i6 = [](int v) {
    std::string s = std::to_string(v);
    return std::string(6 - s.size(), ' ') + s;
  };
  return ex::join({ex::head("fpsbchbll"),
                   {ex::rule('-'), " SET UP:", ex::rule('-', 32), " DATA:",
                    " maximum nb of data =" + i6(nmax), " current nb of data =" + i6(n),
                    std::string(" angles in radians  : ") + radians, ex::rule('-', 32), " PLOT:",
                    " plot file name: fps_bb.ps           ", " open plot file  ..............10",
                    " scaling ......................11", " plot parameters ..............12",
                    " close file = end plot ........20", " stereo type..................300",
                    " symbol types ................310", ex::rule('-'),
                    " RUN = PLOT FPS .............1000", " EXIT .........................99",
                    ex::rule('@')}});
}

TEST_F(BeachBalls, EntryResetsTheFrameAndShowsTheMenu) {
  stefram2.label[0] = "Nord";
  const std::string out = call(3, 0, "\n");
  EXPECT_EQ(stefram2.label[0].str(), "North          ");
  ex::Lines want = ex::join({ex::head("srepstereo0"), {" INITIALIZING STEREO FRAME"},
                             menu_lines(kCapacity, 3, "F"),
                             {ex::dots(), " Enter your choice", " or return for default value",
                              " Default =           99", " New value =            99",
                              ex::dots()}});
  EXPECT_EQ(split_lines(out), want);
  EXPECT_EQ(frame::runinfocom.subname.str(), "fpsbchbll  ");
  EXPECT_EQ(frame::runinfocom.subversion.str(), " 7.0");
  EXPECT_FALSE(frame::iocom.plot_open);
}

TEST_F(BeachBalls, OnlyTheHeadWithoutOutputLevelTwo) {
  frame::iocom.lwito(2) = false;
  const std::string out = call(3, 0, "\n");
  ex::Lines want = ex::join({ex::head("srepstereo0"), {" INITIALIZING STEREO FRAME"},
                             ex::head("fpsbchbll"),
                             {" Enter your choice", " New value =            99"}});
  EXPECT_EQ(split_lines(out), want);
}

TEST_F(BeachBalls, NoEventOpensTheWindowAndDrawsNothing) {
  const std::string out = call(0, 0, "1000\n\n\n99\n");
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_EQ(count(out, "OPENING QUARTZ WINDOW"), 1);
  EXPECT_EQ(count(out, "IT IS SUGGESTED TO CLEAR THE PLOT"), 0);
  EXPECT_EQ(count(out, "PLOTTING"), 0);
  EXPECT_TRUE(balls().empty());
  EXPECT_TRUE(texts_cm().empty());
  // The run set the fill style before finding no page to draw.
  EXPECT_NE(find_sequence(split_lines(out), ex::join({ex::head("sfillstyle"),
                                                      {" INITIALISING FILL STYLE TO: filled"},
                                                      ex::head("fpsbchbll")})),
            -1);
}

TEST_F(BeachBalls, TwentyEventsFillOnePage) {
  open_window();
  const std::string out = call(20, 0, "1000\n\n99\n");
  EXPECT_EQ(count(out, "IT IS SUGGESTED TO CLEAR THE PLOT"), 1);
  EXPECT_EQ(count(out, "OPENING QUARTZ WINDOW"), 0);
  const auto lines = split_lines(out);
  EXPECT_NE(find_sequence(lines, {" PLOTTING Page 1/1" + std::string(27, ' '),
                                  " Data 1 -> 20" + std::string(23, ' ')}),
            -1);
  const auto b = balls();
  ASSERT_EQ(b.size(), 20u);
  expect_places(b, 0, page_places(20), 1);
  // The captions: page and data at (2.0, 28.0) cm, 0.2 cm high and 0.3 cm apart; the run
  // information centred on 10.5 cm.
  const auto t = texts_cm();
  auto find = [&](const std::string& s) {
    return std::find_if(t.begin(), t.end(), [&](const Shown& x) { return x.text == s; });
  };
  auto page = find("Page 1/1");
  ASSERT_NE(page, t.end());
  EXPECT_NEAR(page->x, 2.0, 1e-4);
  EXPECT_NEAR(page->y, 28.0, 1e-4);
  auto data = find("Data 1 -> 20");
  ASSERT_NE(data, t.end());
  EXPECT_NEAR(data->x, 2.0, 1e-4);
  EXPECT_NEAR(data->y, 27.7, 1e-4);
  EXPECT_NEAR(data->size, page->size, 1e-9);
  auto info = std::find_if(t.begin(), t.end(), [](const Shown& x) {
    return x.text.rfind("Subroutine fpsbchbll", 0) == 0;
  });
  ASSERT_NE(info, t.end());
  EXPECT_NEAR(info->y, 27.7, 1e-4);
  // Each label centred 1.8 cm under its ball (the label's middle on the point), 0.4 cm high.
  for (int j = 0; j < 20; ++j) {
    char name[8];
    std::snprintf(name, sizeof name, "E%03d", j + 1);
    auto l = find(name);
    ASSERT_NE(l, t.end()) << name;
    const double w_cm = 0.5 * l->size * 4 / plot::plt1blk.devscale;
    EXPECT_NEAR(l->x + w_cm / 2, b[static_cast<std::size_t>(j)].x, 3e-4) << name;
    EXPECT_NEAR(l->y + 0.2, b[static_cast<std::size_t>(j)].y - 1.8, 3e-4) << name;
  }
}

// The stereonet under each ball is one shared drawing, its pixels made once and copied:
// the page is the one drawn ball by ball but for a few edge pixels (at most 1 in 1,000).
TEST_F(BeachBalls, NetDrawnOnceLeavesThePageAsDrawnBallByBall) {
  std::vector<std::uint32_t> page[2];
  int w = 0, h = 0;
  for (int k = 0; k < 2; ++k) {
    pages::CairoCanvas::Options o;
    o.use_display = false;
    o.share = k == 1;
    auto c = std::make_unique<pages::CairoCanvas>(o);
    plot::use_device(c.get());
    open_window();
    call(20, 0, "1000\n\n99\n");
    cairo_surface_t* img = c->page_image();
    cairo_surface_flush(img);
    w = cairo_image_surface_get_width(img);
    h = cairo_image_surface_get_height(img);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(
          cairo_image_surface_get_data(img) + y * cairo_image_surface_get_stride(img));
      for (int x = 0; x < w; ++x) page[k].push_back(row[x] & 0xFFFFFF);
    }
    Console con("\n");
    plot::plend();
    plot::use_device(log_.get());
  }
  // The PDF page, its nets placed as one form, rasterised at the page's pixels per cm: its
  // drawing where the page image has it (edges differ by anti-aliasing).
  if (korbast::testing::have_tool("pdftoppm")) {
    const double dpi = w / 21.0 * 2.54;  // the page is 21 cm wide
    korbast::testing::run_command("pdftoppm -r " + std::to_string(dpi) +
                                  " -png -singlefile seis_w1.pdf raster");
    cairo_surface_t* ras = cairo_image_surface_create_from_png("raster.png");
    ASSERT_EQ(cairo_surface_status(ras), CAIRO_STATUS_SUCCESS);
    const int rh = cairo_image_surface_get_height(ras), rw = cairo_image_surface_get_width(ras);
    int far = 0, inked = 0;
    for (int y = 0; y < h && y < rh; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(
          cairo_image_surface_get_data(ras) + (rh - h + y) * cairo_image_surface_get_stride(ras));
      for (int x = 0; x < w && x < rw; ++x) {
        const std::uint32_t a = page[1][static_cast<std::size_t>(y) * w + x], b = row[x];
        int dmax = 0;
        for (int sh = 0; sh < 24; sh += 8)
          dmax = std::max(dmax, std::abs(int((a >> sh) & 0xFF) - int((b >> sh) & 0xFF)));
        far += dmax > 128;
        inked += a != 0xFFFFFF;
      }
    }
    EXPECT_LT(far, inked / 20) << far << " of " << inked;
    cairo_surface_destroy(ras);
  }
  ASSERT_EQ(page[0].size(), page[1].size());
  ASSERT_GT(w * h, 700000);  // an A4 page
  int differing = 0, inked = 0;
  for (std::size_t i = 0; i < page[0].size(); ++i) {
    differing += page[0][i] != page[1][i];
    inked += page[0][i] != 0xFFFFFF;
  }
  EXPECT_LE(differing, w * h / 1000) << differing;
  EXPECT_GT(inked, 20000);
}

TEST_F(BeachBalls, TwentyOneEventsMakeTwoPages) {
  open_window();
  const std::string out = call(21, 0, "1000\n\n\n99\n");
  EXPECT_EQ(count(out, "IT IS SUGGESTED TO CLEAR THE PLOT"), 2);
  const auto lines = split_lines(out);
  const int p1 = find_sequence(lines, {" PLOTTING Page 1/2" + std::string(27, ' ')});
  const int p2 = find_sequence(lines, {" PLOTTING Page 2/2" + std::string(27, ' '),
                                       ex::padded(" Data 21 -> 21", 36)});
  ASSERT_NE(p1, -1);
  ASSERT_NE(p2, -1);
  // The page question comes between the pages.
  const int q = find_sequence(lines, {" IT IS SUGGESTED TO CLEAR THE PLOT"}, static_cast<std::size_t>(p1));
  EXPECT_GT(q, p1);
  EXPECT_LT(q, p2);
  const auto b = balls();
  ASSERT_EQ(b.size(), 21u);
  expect_places(b, 0, page_places(20), 1);
  expect_places(b, 20, {{4.0, 4.0}}, 2);
}

TEST_F(BeachBalls, FortyFiveEventsMakeThreePages) {
  // The window opens with the run: no page question before the first page.
  const std::string out = call(45, 0, "1000\n\n\n\n\n99\n");
  EXPECT_EQ(count(out, "OPENING QUARTZ WINDOW"), 1);
  EXPECT_EQ(count(out, "IT IS SUGGESTED TO CLEAR THE PLOT"), 2);
  EXPECT_EQ(count(out, " PLOTTING Page "), 3);
  EXPECT_NE(out.find(" Data 21 -> 40"), std::string::npos);
  EXPECT_NE(out.find(" PLOTTING Page 3/3"), std::string::npos);
  EXPECT_NE(out.find(" Data 41 -> 45"), std::string::npos);
  const auto b = balls();
  ASSERT_EQ(b.size(), 45u);
  expect_places(b, 0, page_places(20), 0);
  expect_places(b, 20, page_places(20), 1);
  expect_places(b, 40, page_places(5), 2);
  EXPECT_TRUE(frame::iocom.plot_open);  // the window stays open after the run
}

TEST_F(BeachBalls, WhatOneBallHolds) {
  open_window();
  call(1, 0, "1000\n\n99\n");
  const Drawn d = drawn_of(log_lines());
  int circles = 0, two_point = 0, planes = 0, symbols = 0;
  for (const auto& p : d.paths) {
    const std::size_t n = p.pts.size();
    if (n == 200) ++circles;
    else if (n == 2) ++two_point;
    else if (n == 40) ++planes;
    else ++symbols;
  }
  EXPECT_EQ(circles, 1);
  EXPECT_EQ(two_point, 42);  // diameters and ticks
  EXPECT_EQ(planes, 2);
  EXPECT_EQ(symbols, 6);     // P, B and T from each nodal plane
  std::vector<std::string> words;
  for (const auto& t : d.texts) words.push_back(t.text);
  EXPECT_NE(std::find(words.begin(), words.end(), "North"), words.end());
  EXPECT_NE(std::find(words.begin(), words.end(), "East"), words.end());
  EXPECT_NE(std::find(words.begin(), words.end(), "E001"), words.end());
  // Each plane has its own great circle: the arcs begin on the net's rim at their strikes
  // (9 and 133 degrees), at least 56 degrees of the rim apart.
  std::vector<const Path*> arcs;
  for (const auto& p : d.paths)
    if (p.pts.size() == 40) arcs.push_back(&p);
  const double radius = 1.5 * plot::plt1blk.devscale;  // one user unit of 1.5 cm
  EXPECT_GT(dist(arcs[0]->pts.front(), arcs[1]->pts.front()), 0.9 * radius);
  // The axes drawn from the two planes of a consistent pair fall on the same points.
  std::vector<Pt> c;
  for (const auto& p : d.paths)
    if (p.pts.size() != 200 && p.pts.size() != 2 && p.pts.size() != 40) c.push_back(centre(p));
  ASSERT_EQ(c.size(), 6u);
  const double tol = 0.03 * plot::plt1blk.devscale;  // whole-degree catalogue angles
  for (int m = 0; m < 3; ++m) EXPECT_LT(dist(c[static_cast<std::size_t>(m)], c[static_cast<std::size_t>(m) + 3]), tol) << m;
}

TEST_F(BeachBalls, LeavingGivesBackTheAttributes) {
  open_window();
  {
    Console quiet;
    float size = 0.7f, height = 0.9f, angle = 15.0f;
    int align = 3;
    plot::ssymbolsize(size, 1);
    plot::stextsize(height, 1);
    plot::stextangle(angle, 1);
    plot::stextalign(align, 1);
  }
  call(3, 0, "1000\n\n99\n");
  EXPECT_EQ(plot::plt2blk.symbolsize, 0.7f);
  EXPECT_EQ(plot::plt2blk.textheight, 0.9f);
  EXPECT_EQ(plot::plt2blk.textalign, 3);
  EXPECT_EQ(plot::plt2blk.textangle, 0.0f);
  EXPECT_EQ(plot::plt2blk.fillstyle, 1);
  EXPECT_EQ(plot::plt1blk.isub, kSubplot);
}

TEST_F(BeachBalls, ScalingStartsFromTheSavedLowerLeftBall) {
  open_window();
  call(20, 0, "1000\n\n99\n");
  // The ball subplot now holds the last ball (17.5, 22.0); the menu must start from (4, 4).
  EXPECT_EQ(plot::plt1blk.us0tocm[kSubplot - 1][0], 17.5f);
  const std::string out = call(20, 0, "11\nn\n99\n");
  EXPECT_EQ(fpsbchbll_settings.xcm0, 4.0f);
  EXPECT_EQ(fpsbchbll_settings.ycm0, 4.0f);
  EXPECT_EQ(fpsbchbll_settings.xx, 1.5f);
  EXPECT_EQ(plot::plt1blk.us0tocm[kSubplot - 1][0], 4.0f);
  EXPECT_EQ(plot::plt1blk.us0tocm[kSubplot - 1][1], 4.0f);
  EXPECT_NE(find_sequence(split_lines(out), {" ===============================",
                                             "  SCALING FOR LOWER LEFT STEREO ",
                                             " ==============================="}),
            -1);
  // A new origin and y scale (yy = 2) accepted there move every later ball: columns 3 xx =
  // 4.5 cm apart, rows 3 yy = 6 cm apart.
  log_->clear();
  call(20, 0, "11\ny\n2.5\n3\n\n\n\n2\n1000\n\n99\n");
  EXPECT_EQ(fpsbchbll_settings.xcm0, 2.5f);
  EXPECT_EQ(fpsbchbll_settings.ycm0, 3.0f);
  EXPECT_EQ(fpsbchbll_settings.yy, 2.0f);
  const auto b = balls();
  ASSERT_EQ(b.size(), 20u);
  for (std::size_t j = 0; j < 20; ++j) {
    EXPECT_NEAR(b[j].x, 2.5 + 4.5 * static_cast<double>(j / 5), 1e-3) << j;
    EXPECT_NEAR(b[j].y, 3.0 + 6.0 * static_cast<double>(j % 5), 1e-3) << j;
  }
}

TEST_F(BeachBalls, NewWindowBetweenPagesKeepsTheBallsInTheirSubplot) {
  open_window();
  {
    // The map's subplot 1 holds a transform of its own.
    Console quiet;
    int one = 1;
    plot::ssubplot(one, 1);
    float a = 1.0f, b = 2.0f, c = 3.0f, d = 0.0f, e = 0.0f, f = 3.0f;
    plot::sus2cm1(a, b, c, d, e, f, 1);
  }
  // Page question before page 2: 1 = close the window (RETURN) and open a new one.
  call(21, 0, "1000\n\n1\n\n\n\n99\n");
  EXPECT_EQ(plot::plt1blk.us0tocm[0][0], 1.0f);
  EXPECT_EQ(plot::plt1blk.us0tocm[0][1], 2.0f);
  EXPECT_EQ(plot::plt1blk.ustocm[0][0][0], 3.0f);
  EXPECT_EQ(plot::plt1blk.us0tocm[kSubplot - 1][0], 4.0f);
  EXPECT_EQ(plot::plt1blk.us0tocm[kSubplot - 1][1], 4.0f);
  EXPECT_EQ(plot::plt1blk.isub, kSubplot);
  const auto b = balls();
  ASSERT_EQ(b.size(), 21u);
  EXPECT_NEAR(b.back().x, 4.0, 1e-3);
  EXPECT_NEAR(b.back().y, 4.0, 1e-3);
}

TEST_F(BeachBalls, CountBeyondTheArraysIsHeld) {
  open_window();
  const std::string out = call(7, 0, "1000\n\n99\n", 1, 5);
  ex::Lines want = ex::warning_head("fpsbchbll");
  ex::append(want, {" current nb of data =     7", " outside [     0 ,     5 ]",
                    " ==> RESET TO:     5", ex::rule('/')});
  EXPECT_NE(find_sequence(split_lines(out), want), -1);
  EXPECT_EQ(balls().size(), 5u);
  EXPECT_NE(out.find(" current nb of data =     5"), std::string::npos);
  log_->clear();
  const std::string neg = call(-3, 0, "1000\n\n99\n", 1, 5);
  EXPECT_NE(neg.find(" ==> RESET TO:     0"), std::string::npos);
  EXPECT_TRUE(balls().empty());
  // A full event store, its capacity of 25,000 events, is no count beyond the arrays: no
  // warning (the menu left at once reads no event).
  const std::string full = call(25000, 0, "99\n", 1, 25000);
  EXPECT_EQ(full.find("WARNING"), std::string::npos) << full;
  EXPECT_NE(full.find(" current nb of data = 25000\n"), std::string::npos);
}

TEST_F(BeachBalls, SymbolTypesAreEditedForTheDriverOnly) {
  dspaxbk = {7, -7};
  const std::string out = call(3, 0, "310\n10\n100\n\n\n\n99\n");
  EXPECT_EQ(fpsbchbll_settings.ipbtsymb[0][0], 100);
  EXPECT_EQ(fpsbchbll_settings.ipbtsymb[0][1], -1);
  EXPECT_EQ(fpsbchbll_settings.ipbtsymb[2][0], 3);
  EXPECT_EQ(dspaxbk.standard, 7);
  EXPECT_EQ(dspaxbk.alternate, -7);
  const auto lines = split_lines(out);
  for (const char* axis : {"P", "B", "T"}) {
    EXPECT_NE(find_sequence(lines, {ex::rule(':'), ex::padded(std::string(" choose symbols for ") + axis, 36),
                                    ex::rule(':')}),
              -1)
        << axis;
  }
  // P is now a radial line: from each plane one line of two points, besides the ticks.
  open_window();
  call(1, 0, "1000\n\n99\n");
  const Drawn d = drawn_of(log_lines());
  int symbols = 0;
  for (const auto& p : d.paths)
    if (p.pts.size() != 200 && p.pts.size() != 2 && p.pts.size() != 40) ++symbols;
  EXPECT_EQ(symbols, 4);
}

TEST_F(BeachBalls, StereoTypeCommandChoosesTheNet) {
  const std::string out = call(3, 0, "300\n1\n99\n");
  EXPECT_EQ(sprojtype.iproj, 1);
  EXPECT_NE(out.find(" STEREOGRAPHIC PROJECTION SET UP"), std::string::npos);
  EXPECT_NE(out.find(" current projection number =    4"), std::string::npos);
}

TEST_F(BeachBalls, WindowCommandsOpenAndClose) {
  std::string out = call(3, 0, "10\n\n\n10\n20\n\n20\n99\n");
  EXPECT_FALSE(frame::iocom.plot_open);
  EXPECT_EQ(count(out, "OPENING QUARTZ WINDOW"), 1);
  EXPECT_NE(out.find("Plot file or window is already opened"), std::string::npos);
  EXPECT_NE(out.find("The plot window or file is already closed"), std::string::npos);
}

TEST_F(BeachBalls, RadiansAreUsedAsGiven) {
  open_window();
  const std::string deg = call(3, 0, "1000\n\n99\n");
  const auto by_degrees = drawn_of(log_lines());
  open_window();
  const std::string rad = call(3, 0, "1000\n\n99\n", 2);
  const auto by_radians = drawn_of(log_lines());
  EXPECT_NE(split_lines(rad).size(), 0u);
  EXPECT_NE(find_sequence(split_lines(rad), {" angles in radians  : T"}), -1);
  EXPECT_NE(find_sequence(split_lines(deg), {" angles in radians  : F"}), -1);
  ASSERT_EQ(by_degrees.paths.size(), by_radians.paths.size());
  for (std::size_t k = 0; k < by_degrees.paths.size(); ++k) {
    const auto& a = by_degrees.paths[k].pts;
    const auto& b = by_radians.paths[k].pts;
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(dist(a[i], b[i]), 0, 0.01);
  }
}

// One reset gives every block of the subsystem its start value.
TEST(FocalState, ResetGivesEveryBlockItsStartValue) {
  sprojtype.iproj = 2;
  schmidtparams.factor = 3.0f;
  wulfparams.maxcolat = 4.0f;
  stefram2.label[0] = "x";
  dspgcbk.np = 5;
  dspaxbk.alternate = 6;
  fpsbchbll_settings.ipbtsymb[2][1] = 7;
  focal::reset();
  EXPECT_EQ(sprojtype.iproj, 0);
  EXPECT_EQ(schmidtparams.factor, 0.0f);
  EXPECT_EQ(wulfparams.maxcolat, 0.0f);
  EXPECT_EQ(stefram2.label[0].view(), frame::Text<15>::zeros().view());
  EXPECT_EQ(dspgcbk.np, 0);
  EXPECT_EQ(dspaxbk.alternate, -1);
  EXPECT_EQ(fpsbchbll_settings.ipbtsymb[2][1], 0);
}

}  // namespace
}  // namespace korbast::focal::test
