// Point symbols through the logging device: the pixel template of each code, which pieces are
// filled and which stroked, the centre going through the user transform while the shape does
// not, and nothing drawn for an empty list. Expected points are worked out here in double
// precision from the geometry of each shape.
#include "plot/symbols.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "plot/primitives.hpp"
#include "plot/userspace.hpp"
#include "plot_fixture.hpp"
#include "support/command.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
// A piece of a symbol: a device path, closed when handed to the polygon primitive.
using Piece = LogPath;

constexpr double kPi = 3.14159265358979323846;
constexpr double kScale = 35.43307;  // pixels per cm of the page

void expect_points(const Pts& got, const Pts& want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].first, want[i].first, 2e-3) << what << " point " << i;
    EXPECT_NEAR(got[i].second, want[i].second, 2e-3) << what << " point " << i;
  }
}

// Offsets added to a centre.
Pts at(double xc, double yc, const Pts& offsets) {
  Pts p;
  for (const auto& [dx, dy] : offsets) p.emplace_back(xc + dx, yc + dy);
  return p;
}

// The 20-point circle of radius r from angle 0, in steps of 360/19 degrees.
Pts circle(double r) {
  Pts p;
  for (int i = 0; i < 20; ++i) {
    const double a = i * 2 * kPi / 19;
    p.emplace_back(r * std::cos(a), r * std::sin(a));
  }
  return p;
}

class Symbols : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    plt2blk.linecolor = 1;
    plt2blk.fillcolor = 8;
    plt2blk.fillstyle = 1;
    open_log_window({0, 0, 600, 800});
    plt1blk.isub = 1;
    // User point (x, y) is device (100 + x, 200 + y).
    plt1blk.ustode[0][0][0] = plt1blk.ustode[0][1][1] = 1;
    plt1blk.us0tode[0][0] = 100;
    plt1blk.us0tode[0][1] = 200;
    log_->clear();
  }

  std::vector<Piece> draw(int type, float size_cm, float x = 0, float y = 0) {
    plt2blk.symboltype = type;
    plt2blk.symbolsize = size_cm;
    log_->clear();
    ussymbol(&x, &y, 1);
    return log_paths(log_lines());
  }
};

TEST_F(Symbols, TriangleOutlineAndFilled) {
  const double r = kScale;  // size 2 cm: the radius is one cm
  const double c30 = r * std::cos(kPi / 6);
  const Pts tri = at(100, 200, {{0, r}, {-c30, -r / 2}, {c30, -r / 2}, {0, r}});
  auto p = draw(3, 2.0f);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_FALSE(p[0].closed);
  expect_points(p[0].pts, tri, "code 3");

  p = draw(-3, 2.0f);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_TRUE(p[0].closed);
  expect_points(p[0].pts, tri, "code -3");
  EXPECT_NE(log_->text().find("fill_stroke"), std::string::npos);
}

TEST_F(Symbols, SquaresOnACornerAndOnASide) {
  const double r = 0.5 * kScale;  // size 1 cm
  auto p = draw(4, 1.0f);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_FALSE(p[0].closed);
  expect_points(p[0].pts, at(100, 200, {{0, r}, {-r, 0}, {0, -r}, {r, 0}, {0, r}}), "code 4");

  const double d = r / std::sqrt(2.0);
  p = draw(40, 1.0f);
  ASSERT_EQ(p.size(), 1u);
  expect_points(p[0].pts, at(100, 200, {{d, d}, {-d, d}, {-d, -d}, {d, -d}, {d, d}}), "code 40");
  p = draw(-40, 1.0f);
  EXPECT_TRUE(p[0].closed);
}

TEST_F(Symbols, MarksAreNeverFilled) {
  const double r = 0.5 * 0.4 * kScale;
  auto p = draw(-13, 0.4f);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_FALSE(p[0].closed);
  EXPECT_FALSE(p[1].closed);
  expect_points(p[0].pts, at(100, 200, {{-r, 0}, {r, 0}}), "-13 horizontal");
  expect_points(p[1].pts, at(100, 200, {{0, -r}, {0, r}}), "-13 vertical");
  EXPECT_EQ(log_->text().find("fill_stroke"), std::string::npos);

  p = draw(11, 0.4f);
  ASSERT_EQ(p.size(), 1u);
  expect_points(p[0].pts, at(100, 200, {{-r, 0}, {r, 0}}), "11");
  p = draw(12, 0.4f);
  ASSERT_EQ(p.size(), 1u);
  expect_points(p[0].pts, at(100, 200, {{0, -r}, {0, r}}), "12");
}

TEST_F(Symbols, FilledCircleWithBothMarks) {
  const double r = 0.5 * kScale;
  auto p = draw(-23, 1.0f, 5, -5);
  ASSERT_EQ(p.size(), 3u);
  EXPECT_TRUE(p[0].closed);
  expect_points(p[0].pts, at(105, 195, circle(r)), "-23 circle");
  EXPECT_FALSE(p[1].closed);
  expect_points(p[1].pts, at(105, 195, {{0, -r}, {0, r}}), "-23 vertical");
  EXPECT_FALSE(p[2].closed);
  expect_points(p[2].pts, at(105, 195, {{-r, 0}, {r, 0}}), "-23 horizontal");
  // The horizontal mark stands in buffer positions 3 and 4.
  EXPECT_NEAR(pltbuff1.xdevbuff[2], 105 - r, 2e-3);
  EXPECT_NEAR(pltbuff1.xdevbuff[3], 105 + r, 2e-3);

  p = draw(20, 1.0f);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_FALSE(p[0].closed);
  expect_points(p[1].pts, {{100, 200}, {100, 200}}, "20 dot");
  p = draw(21, 1.0f);
  ASSERT_EQ(p.size(), 2u);
  expect_points(p[1].pts, at(100, 200, {{-r, 0}, {r, 0}}), "21");
  p = draw(22, 1.0f);
  ASSERT_EQ(p.size(), 2u);
  expect_points(p[1].pts, at(100, 200, {{0, -r}, {0, r}}), "22");
}

TEST_F(Symbols, UnknownCodesDrawTheCircle) {
  const double r = 0.5 * kScale;
  for (int code : {0, 1, 2, 18, 19, 24, 39, 41, 99, -99, 1000000}) {
    auto p = draw(code, 1.0f);
    ASSERT_EQ(p.size(), 1u) << code;
    EXPECT_EQ(p[0].closed, code < 0) << code;
    expect_points(p[0].pts, at(100, 200, circle(r)), std::to_string(code).c_str());
    EXPECT_NEAR(p[0].pts[0].first, 100 + r, 2e-3);  // starts at (r, 0)
  }
}

// Every code of the type table draws a shape of its own: the codes the table names "circle"
// draw what an unlisted code draws, every other code something else than the circle and than
// every other listed code, reaching the symbol's radius (the dot only its centre). A code
// listed without a drawing of its own fails here.
TEST_F(Symbols, EveryListedCodeDrawsItsOwnShape) {
  const double r = 0.5 * kScale;
  const auto log_of = [&](int code) {
    draw(code, 1.0f);
    return log_->text();
  };
  const std::string unlisted = log_of(99);
  std::map<std::string, int> drawn;  // the log of each code not a circle
  int previous = -1;
  for (const SymbolType& t : symbol_types()) {
    SCOPED_TRACE(std::string(t.line));
    EXPECT_GT(t.code, previous);  // in code order, each once
    previous = t.code;
    // The menu line ends with its code.
    const std::string number = std::to_string(t.code);
    ASSERT_GT(t.line.size(), number.size());
    EXPECT_TRUE(t.line.ends_with(number));
    const char before = t.line[t.line.size() - number.size() - 1];
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(before)));

    // The shape's name: the first nine characters, blanks around it left out.
    std::string name(t.line.substr(0, 9));
    name.erase(name.find_last_not_of(' ') + 1);
    name.erase(0, name.find_first_not_of(' '));
    const std::string log = log_of(t.code);
    if (name == "circle") {
      EXPECT_TRUE(log == unlisted) << "does not draw the circle";
      continue;
    }
    EXPECT_TRUE(log != unlisted) << "draws the circle";
    const auto [other, fresh] = drawn.emplace(log, t.code);
    EXPECT_TRUE(fresh) << "draws as code " << other->second;
    double reach = 0;
    for (const Piece& p : log_paths(log_lines()))
      for (const auto& [x, y] : p.pts) reach = std::max(reach, std::hypot(x - 100, y - 200));
    EXPECT_NEAR(reach, name == "." ? 0.0 : r, 2e-3);
  }
  EXPECT_GE(drawn.size(), 20u);  // the codes listed besides the circle's
}

TEST_F(Symbols, PolygonsDotCrossStarAndRays) {
  const double r = 0.5 * kScale;
  for (int a = 5; a <= 9; ++a) {
    auto p = draw(a, 1.0f);
    ASSERT_EQ(p.size(), 1u);
    Pts want;
    for (int i = 0; i <= a; ++i) {
      const double t = kPi / 2 + i * 2 * kPi / a;
      want.emplace_back(r * std::cos(t), r * std::sin(t));
    }
    expect_points(p[0].pts, at(100, 200, want), std::to_string(a).c_str());
  }

  auto p = draw(10, 1.0f);
  ASSERT_EQ(p.size(), 1u);
  expect_points(p[0].pts, {{100, 200}, {100, 200}}, "10");

  const double d = r * std::sqrt(2.0) / 2;
  p = draw(-14, 1.0f);
  ASSERT_EQ(p.size(), 2u);
  expect_points(p[0].pts, at(100, 200, {{d, d}, {-d, -d}}), "14 first");
  expect_points(p[1].pts, at(100, 200, {{-d, d}, {d, -d}}), "14 second");

  const double h = r * std::sqrt(3.0) / 2;
  p = draw(15, 1.0f);
  ASSERT_EQ(p.size(), 3u);
  expect_points(p[0].pts, at(100, 200, {{h, r / 2}, {-h, -r / 2}}), "15 first");
  expect_points(p[1].pts, at(100, 200, {{0, r}, {0, -r}}), "15 second");
  expect_points(p[2].pts, at(100, 200, {{-h, r / 2}, {h, -r / 2}}), "15 third");

  p = draw(-16, 1.0f);
  ASSERT_EQ(p.size(), 3u);
  const Pts rays16 = {{h, -r / 2}, {0, r}, {-h, -r / 2}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_FALSE(p[i].closed);
    expect_points(p[i].pts, at(100, 200, {{0, 0}, rays16[i]}), "16");
  }

  p = draw(17, 1.0f);
  ASSERT_EQ(p.size(), 5u);
  const double c54 = r * std::cos(54 * kPi / 180), s54 = r * std::sin(54 * kPi / 180);
  const double c18 = r * std::cos(18 * kPi / 180), s18 = r * std::sin(18 * kPi / 180);
  const Pts rays17 = {{c54, -s54}, {c18, s18}, {0, r}, {-c18, s18}, {-c54, -s54}};
  for (std::size_t i = 0; i < 5; ++i) expect_points(p[i].pts, at(100, 200, {{0, 0}, rays17[i]}), "17");
}

TEST_F(Symbols, ShapeIgnoresTheUserScalingAndEveryPointIsDrawn) {
  // x stretched by 3, y by 0.5 and swapped in sign: centres move, the circle stays round.
  plt1blk.ustode[0][0][0] = 3;
  plt1blk.ustode[0][1][1] = -0.5f;
  plt2blk.symboltype = 1;
  plt2blk.symbolsize = 1.0f;
  const float x[3] = {0, 10, -4};
  const float y[3] = {0, 20, 8};
  ussymbol(x, y, 3);
  const auto p = log_paths(log_lines());
  ASSERT_EQ(p.size(), 3u);
  const double r = 0.5 * kScale;
  const Pts centres = {{100, 200}, {130, 190}, {88, 196}};
  for (std::size_t k = 0; k < 3; ++k) {
    for (const auto& [px, py] : p[k].pts)
      EXPECT_NEAR(std::hypot(px - centres[k].first, py - centres[k].second), r, 2e-3) << k;
  }
  EXPECT_EQ(x[1], 10.0f);
  EXPECT_EQ(y[2], 8.0f);
}

TEST_F(Symbols, NegativeSizeMirrorsAndZeroSizeCollapses) {
  const double r = 0.5 * kScale;
  auto p = draw(3, -1.0f);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_NEAR(p[0].pts[0].second, 200 - r, 2e-3);  // the first vertex points down
  p = draw(40, 0.0f);
  for (const auto& pt : p[0].pts) EXPECT_EQ(pt, (std::pair<double, double>{100, 200}));
}

TEST_F(Symbols, NoPointDrawsNothingAndKeepsTheBuffer) {
  pltbuff1.xdevbuff[0] = 123;
  pltbuff1.ydevbuff[4] = -7;
  const Pltbuff1 before = pltbuff1;
  plt2blk.symboltype = -23;
  plt2blk.symbolsize = 1;
  const float x = 1, y = 1;
  Console con;
  ussymbol(&x, &y, 0);
  ussymbol(&x, &y, -2);
  EXPECT_TRUE(log_lines().empty());
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(std::memcmp(&before, &pltbuff1, sizeof before), 0);
}

// The dot of code 10 and the centre of code 20 through the program's device, anti-aliased
// and not, at centres on and off the pixel grid: in the PNG every dot leaves ink (with
// anti-aliasing the ink of a disc as wide as the line, no more), and 20 has ink at its
// centre where the plain circle (code 1) has none; the same in the PDF page as poppler
// rasterises it, three raster pixels a window pixel. A polygon of one point, and a line or a
// polygon of no points (their arrays holding a first point), leave no ink.
TEST_F(Symbols, DotsLeaveInkOnThePageFiles) {
  pages::CairoCanvas& c = use_cairo();
  const int w = 200, h = 60;
  const float frac[5] = {0.0f, 0.25f, 0.5f, 0.75f, 0.37f};
  float dx[5], dy[5];
  for (int k = 0; k < 5; ++k) {
    dx[k] = 20.0f + 35.0f * static_cast<float>(k) + frac[k];
    dy[k] = 15.0f + frac[(k + 2) % 5];
  }
  const float cx[2] = {30.0f, 100.5f}, mx[3] = {65.0f, 135.25f, 170.6f};
  const float cy[2] = {42.0f, 42.0f}, my[3] = {42.0f, 42.75f, 41.5f};
  const float nx[3] = {190.0f, 189.75f, 190.4f}, ny[3] = {15.0f, 30.5f, 45.0f};
  for (bool aa : {true, false}) {
    open_window(c, {0, 0, h, w}, 10.0f, aa);  // 10 pixels per cm
    plt1blk.us0tode[0][0] = plt1blk.us0tode[0][1] = 0;  // user units are device pixels
    plt2blk.symbolsize = 1.0f;  // radius 5 pixels
    plt2blk.symboltype = 10;
    ussymbol(dx, dy, 5);
    plt2blk.symboltype = 1;
    ussymbol(cx, cy, 2);
    plt2blk.symboltype = 20;
    ussymbol(mx, my, 3);
    depolygon(&nx[0], &ny[0], 1);
    depolygon(&nx[1], &ny[1], 0);
    deline(&nx[2], &ny[2], 0);
    c.window_dispose();
  }
  for (int k = 1; k <= 2; ++k) {
    const std::string base = (dir() / ("test_w" + std::to_string(k))).string();
    cairo_surface_t* png = cairo_image_surface_create_from_png((base + "_p001.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << base;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(inked_near(png, dx[i], h - dy[i], 1)) << base << " dot " << i;
    // Anti-aliased (window 1), a dot is a disc as wide as the line (1 pixel): pi / 4 of a
    // pixel's ink (a little less, Cairo drawing so small a disc as a polygon), where the
    // dot widened to the narrowest one (1.5 pixels) would leave 1.77.
    if (k == 1) {
      for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(ink_near(png, dx[i], h - dy[i], 4), kPi / 4, 0.3) << base << " dot " << i;
    }
    for (int i = 0; i < 2; ++i) {
      EXPECT_FALSE(inked_near(png, cx[i], h - cy[i], 1)) << base << " circle " << i;
      EXPECT_TRUE(inked_near(png, cx[i] + 5, h - cy[i], 1)) << base << " circle " << i;
    }
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(inked_near(png, mx[i], h - my[i], 1)) << base << " 20: " << i;
    for (int i = 0; i < 3; ++i)
      EXPECT_FALSE(inked_near(png, nx[i], h - ny[i], 3)) << base << " no dot " << i;
    cairo_surface_destroy(png);

    if (!korbast::testing::have_tool("pdftoppm")) continue;
    cairo_surface_t* ras = pdf_window_raster(base + ".pdf", w, h);
    ASSERT_NE(ras, nullptr) << base;
    auto at = [](float x, float y) { return std::pair{3.0 * x, 3.0 * (h - y)}; };
    for (int i = 0; i < 5; ++i) {
      const auto [x, y] = at(dx[i], dy[i]);
      EXPECT_TRUE(inked_near(ras, x, y, 2, 128)) << base << ".pdf dot " << i;
    }
    for (int i = 0; i < 2; ++i) {
      const auto [x, y] = at(cx[i], cy[i]);
      EXPECT_FALSE(inked_near(ras, x, y, 2)) << base << ".pdf circle " << i;
      EXPECT_TRUE(inked_near(ras, x + 15, y, 2, 128)) << base << ".pdf circle " << i;
    }
    for (int i = 0; i < 3; ++i) {
      const auto [x, y] = at(mx[i], my[i]);
      EXPECT_TRUE(inked_near(ras, x, y, 2, 128)) << base << ".pdf 20: " << i;
    }
    for (int i = 0; i < 3; ++i) {  // poppler may leave a faint trace of a fill of no area
      const auto [x, y] = at(nx[i], ny[i]);
      EXPECT_FALSE(inked_near(ras, x, y, 6, 240)) << base << ".pdf no dot " << i;
    }
    cairo_surface_destroy(ras);
  }
}

}  // namespace
}  // namespace korbast::plot::test
