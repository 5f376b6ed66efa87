// The stress-direction symbols through the logging device: the geometry of the arrow and bar
// pairs (tips and tails), which axis gives arrows or bars, the five Sh types, the unit length
// taken from the page, the order of the passes, the epicentre symbol, the warnings for an
// index outside 1..3 and the symbol size and type left as found; and the settings routine
// with its checks, resets and menu.
#include "maps/stress_symbols.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "maps/reset.hpp"
#include "plot/chain.hpp"
#include "plot/plot_fixture.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "stress_support.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::test {
namespace {

using korbast::testing::Console;
namespace ex = korbast::testing::expected;

struct Pt {
  double x, y;
};

// One closed device path as the log shows it.
struct Shape {
  std::vector<Pt> pts;
  bool closed = false;
};

std::vector<Shape> shapes_of(const std::vector<std::string>& lines) {
  std::vector<Shape> out;
  for (const auto& l : lines) {
    double x = 0, y = 0;
    if (l == "begin") {
      out.emplace_back();
    } else if (!out.empty() && (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
                                std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2)) {
      out.back().pts.push_back({x, y});
    } else if (l == "close" && !out.empty()) {
      out.back().closed = true;
    }
  }
  return out;
}

Pt mid(const Pt& a, const Pt& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }
// Tip and tail (middle of the two tail corners) of an arrow; the two ends (middles of the
// short sides) of a bar.
Pt arrow_tip(const Shape& s) { return s.pts[0]; }
Pt arrow_tail(const Shape& s) { return mid(s.pts[3], s.pts[4]); }
Pt bar_start(const Shape& s) { return mid(s.pts[0], s.pts[3]); }
Pt bar_end(const Shape& s) { return mid(s.pts[1], s.pts[2]); }
double dist(const Pt& a, const Pt& b) { return std::hypot(a.x - b.x, a.y - b.y); }

#define EXPECT_PT(p, ex, ey)          \
  do {                                \
    EXPECT_NEAR((p).x, (ex), 2e-3);   \
    EXPECT_NEAR((p).y, (ey), 2e-3);   \
  } while (0)

class StressSymbols : public plot::test::PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    frame::iocom.pause = false;
    plot::plt2blk.linecolor = 1;
    plot::plt2blk.fillcolor = 8;
    plot::plt2blk.fillstyle = 1;
    plot::plt2blk.symbolsize = 0.33f;
    plot::plt2blk.symboltype = 7;
    open_log_window({0, 0, 600, 800});
    plot::plt1blk.isub = 1;
    // Device pixels equal user units, and 2.5 cm of page per user unit: 5 cm are 2 user
    // units, so a major size s gives full symbols of 2 s user units.
    identity_device();
    cm_to_user(0.4f);
    maps::reset();
    mapshpar.iepi = 0;
    log_->clear();
  }
  void TearDown() override {
    maps::reset();
    PlotTest::TearDown();
  }

  static void identity_device() {
    plot::plt1blk.ustode[0][0][0] = 1.0f;
    plot::plt1blk.ustode[0][1][0] = 0.0f;
    plot::plt1blk.ustode[0][0][1] = 0.0f;
    plot::plt1blk.ustode[0][1][1] = 1.0f;
    plot::plt1blk.us0tode[0][0] = 0.0f;
    plot::plt1blk.us0tode[0][1] = 0.0f;
  }
  // User units per cm of page, on both axes.
  static void cm_to_user(float f) {
    plot::plt1blk.cmtous[0][0][0] = f;
    plot::plt1blk.cmtous[0][1][0] = 0.0f;
    plot::plt1blk.cmtous[0][0][1] = 0.0f;
    plot::plt1blk.cmtous[0][1][1] = f;
    plot::plt1blk.cm0tous[0][0] = -4.0f;
    plot::plt1blk.cm0tous[0][1] = -3.2f;
  }

  std::vector<Shape> draw(float x, float y, float az, int isv) {
    log_->clear();
    dmapsh2(&x, &y, &az, &isv, 1);
    return shapes_of(log_lines());
  }
};

// The example of an eastward SHmax with S2 vertical and M = 1: SHmax arrows point in with
// tips at 0.2 and tails at 1.2, SHmin arrows point out along north and south.
TEST_F(StressSymbols, EastwardShmaxWithS2VerticalGivesFourArrows) {
  mapshpar.sizmax = 0.5f;  // M = 1
  Console con;
  const auto s = draw(0.0f, 0.0f, frame::anglerad.v[2], 2);
  ASSERT_EQ(s.size(), 4u);
  for (const auto& sh : s) {
    EXPECT_EQ(sh.pts.size(), 7u);
    EXPECT_TRUE(sh.closed);
  }
  EXPECT_PT(arrow_tip(s[0]), 0.2, 0.0);
  EXPECT_PT(arrow_tail(s[0]), 1.2, 0.0);
  EXPECT_PT(arrow_tip(s[1]), -0.2, 0.0);
  EXPECT_PT(arrow_tail(s[1]), -1.2, 0.0);
  EXPECT_PT(arrow_tail(s[2]), 0.0, 0.2);
  EXPECT_PT(arrow_tip(s[2]), 0.0, 1.2);
  EXPECT_PT(arrow_tail(s[3]), 0.0, -0.2);
  EXPECT_PT(arrow_tip(s[3]), 0.0, -1.2);
  EXPECT_EQ(con.text(), "");
}

// Each direction's second shape is the first one turned half a turn about the epicentre.
TEST_F(StressSymbols, PairsAreSymmetricAboutTheEpicentre) {
  const float x0 = 1.5f, y0 = -0.75f;
  const auto s = draw(x0, y0, 0.6f, 3);
  ASSERT_EQ(s.size(), 4u);
  for (std::size_t k = 0; k < 4; k += 2) {
    ASSERT_EQ(s[k].pts.size(), s[k + 1].pts.size());
    for (std::size_t i = 0; i < s[k].pts.size(); ++i) {
      EXPECT_NEAR(s[k].pts[i].x + s[k + 1].pts[i].x, 2 * x0, 2e-3);
      EXPECT_NEAR(s[k].pts[i].y + s[k + 1].pts[i].y, 2 * y0, 2e-3);
    }
  }
}

TEST_F(StressSymbols, NorthwardShmaxLiesAlongY) {
  const auto s = draw(0.0f, 0.0f, 0.0f, 2);  // default M = 0.8
  ASSERT_EQ(s.size(), 4u);
  EXPECT_PT(arrow_tip(s[0]), 0.0, 0.16);
  EXPECT_PT(arrow_tail(s[0]), 0.0, 0.96);
  EXPECT_PT(arrow_tip(s[1]), 0.0, -0.16);
  EXPECT_PT(arrow_tip(s[2]), -0.96, 0.0);  // SHmin points out along x, west first
  EXPECT_PT(arrow_tail(s[2]), -0.16, 0.0);
  EXPECT_PT(arrow_tip(s[3]), 0.96, 0.0);
}

// S1 vertical: SHmax along S2 (bars), SHmin along S3 (arrows out). S3 vertical: SHmax along
// S1 (arrows in), SHmin along S2 (bars).
TEST_F(StressSymbols, TheVerticalAxisChoosesArrowsOrBars) {
  auto s = draw(0.0f, 0.0f, frame::anglerad.v[2], 1);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].pts.size(), 4u);
  EXPECT_EQ(s[1].pts.size(), 4u);
  EXPECT_PT(bar_start(s[0]), 0.16, 0.0);
  EXPECT_PT(bar_end(s[0]), 0.96, 0.0);
  EXPECT_PT(bar_start(s[1]), -0.16, 0.0);
  EXPECT_PT(bar_end(s[1]), -0.96, 0.0);
  EXPECT_EQ(s[2].pts.size(), 7u);
  EXPECT_PT(arrow_tip(s[2]), 0.0, 0.96);
  EXPECT_PT(arrow_tail(s[2]), 0.0, 0.16);

  s = draw(0.0f, 0.0f, frame::anglerad.v[2], 3);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].pts.size(), 7u);
  EXPECT_PT(arrow_tip(s[0]), 0.16, 0.0);
  EXPECT_EQ(s[2].pts.size(), 4u);
  EXPECT_EQ(s[3].pts.size(), 4u);
  EXPECT_PT(bar_start(s[2]), 0.0, -0.16);  // south first: turned from +x by -90 degrees
  EXPECT_PT(bar_end(s[2]), 0.0, -0.96);
  EXPECT_PT(bar_end(s[3]), 0.0, 0.96);
  // The bar is as wide as the arrow's tail: 2 x 3/28 of its length.
  EXPECT_NEAR(dist(s[2].pts[0], s[2].pts[3]), 0.8 * 6.0 / 28.0, 2e-3);
}

// The five Sh types with S2 vertical (arrows only): which directions are drawn, and which
// are small (length m = 0.26 with the default minor size 0.13).
TEST_F(StressSymbols, ShTypes) {
  const double full = 0.8, small = 0.26, gap = 0.16;
  struct Case {
    int ish;
    std::vector<double> lengths;  // shape lengths in drawing order
  };
  const Case cases[] = {{-2, {full, full}},
                        {-1, {small, small, full, full}},
                        {0, {full, full, full, full}},
                        {1, {full, full, small, small}},
                        {2, {full, full}}};
  for (const auto& c : cases) {
    mapshpar.ish = c.ish;
    const auto s = draw(0.0f, 0.0f, frame::anglerad.v[2], 2);
    ASSERT_EQ(s.size(), c.lengths.size()) << c.ish;
    for (std::size_t k = 0; k < s.size(); ++k) {
      EXPECT_NEAR(dist(arrow_tip(s[k]), arrow_tail(s[k])), c.lengths[k], 2e-3)
          << c.ish << " shape " << k;
    }
    // SHmax shapes lie along x, SHmin shapes along y, each starting at the gap.
    const bool shmax_first = c.ish != -2;
    EXPECT_NEAR(std::fabs(arrow_tip(s[0]).y), shmax_first ? 0.0 : 0.96, 2e-3) << c.ish;
    if (c.ish == 1) {
      // small SHmin arrows: tails at the gap, tips at gap + m
      EXPECT_PT(arrow_tail(s[2]), 0.0, gap);
      EXPECT_PT(arrow_tip(s[2]), 0.0, gap + small);
    }
    if (c.ish == -1) {
      // small SHmax arrows: tips at the gap
      EXPECT_PT(arrow_tip(s[0]), gap, 0.0);
      EXPECT_PT(arrow_tail(s[0]), gap + small, 0.0);
    }
  }
}

TEST_F(StressSymbols, SmallBarsForShTypesOneAndMinusOne) {
  mapshpar.ish = 1;
  auto s = draw(0.0f, 0.0f, frame::anglerad.v[2], 3);  // SHmin along S2: small bars
  ASSERT_EQ(s.size(), 4u);
  EXPECT_PT(bar_start(s[2]), 0.0, -0.16);
  EXPECT_PT(bar_end(s[2]), 0.0, -0.42);
  mapshpar.ish = -1;
  s = draw(0.0f, 0.0f, frame::anglerad.v[2], 1);  // SHmax along S2: small bars
  ASSERT_EQ(s.size(), 4u);
  EXPECT_PT(bar_start(s[0]), 0.16, 0.0);
  EXPECT_PT(bar_end(s[0]), 0.42, 0.0);
  EXPECT_PT(arrow_tip(s[2]), 0.0, 0.96);  // full SHmin arrows
}

// The unit length comes from the page: with the map driver's own transform (origin (10, 8)
// cm, 2.5 cm per user unit) the default full symbol spans 0.16 to 0.96 user units.
TEST_F(StressSymbols, UnitLengthFromTheDriversTransform) {
  float xcm0 = 10.0f, ycm0 = 8.0f, xx = 2.5f, xy = 0.0f, yx = 0.0f, yy = 2.5f;
  plot::sus2cm1(xcm0, ycm0, xx, xy, yx, yy, 1);
  const float x0 = 0.5f, y0 = -1.0f;
  const auto s = draw(x0, y0, frame::anglerad.v[2], 2);
  ASSERT_EQ(s.size(), 4u);
  const float ux[4] = {x0 + 0.16f, x0 + 0.96f, x0, x0};
  const float uy[4] = {y0, y0, y0 + 0.96f, y0 + 0.16f};
  float dx[4], dy[4];
  plot::us2de(dx, dy, ux, uy, 4);
  EXPECT_NEAR(arrow_tip(s[0]).x, dx[0], 2e-3);
  EXPECT_NEAR(arrow_tip(s[0]).y, dy[0], 2e-3);
  EXPECT_NEAR(arrow_tail(s[0]).x, dx[1], 2e-3);
  EXPECT_NEAR(arrow_tail(s[0]).y, dy[1], 2e-3);
  EXPECT_NEAR(arrow_tip(s[2]).x, dx[2], 2e-3);
  EXPECT_NEAR(arrow_tip(s[2]).y, dy[2], 2e-3);
  EXPECT_NEAR(arrow_tail(s[2]).x, dx[3], 2e-3);
  EXPECT_NEAR(arrow_tail(s[2]).y, dy[3], 2e-3);
}

// All SHmax pairs are drawn before any SHmin pair.
TEST_F(StressSymbols, ShmaxPassBeforeShminPass) {
  const float x[2] = {0.0f, 5.0f}, y[2] = {0.0f, 0.0f};
  const float az[2] = {frame::anglerad.v[2], frame::anglerad.v[2]};
  const int isv[2] = {2, 2};
  log_->clear();
  dmapsh2(x, y, az, isv, 2);
  const auto s = shapes_of(log_lines());
  ASSERT_EQ(s.size(), 8u);
  const double centre_x[8] = {0, 0, 5, 5, 0, 0, 5, 5};
  for (std::size_t k = 0; k < 8; ++k) {
    const Pt tip = arrow_tip(s[k]);
    EXPECT_NEAR(std::fabs(tip.x - centre_x[k]) + std::fabs(tip.y), k < 4 ? 0.16 : 0.96, 2e-3)
        << k;
  }
}

// The epicentre symbol: the type of the settings at the major size as diameter (cm), drawn
// first; type 0 draws none. The plot's symbol size and type are left as found.
TEST_F(StressSymbols, EpicentreSymbolAndAttributesLeftAsFound) {
  mapshpar.iepi = -1;
  auto s = draw(100.0f, 200.0f, 0.0f, 2);
  ASSERT_EQ(s.size(), 5u);
  double xmin = 1e9, xmax = -1e9;
  for (const auto& p : s[0].pts) {
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
  }
  EXPECT_NEAR(xmax - xmin, 0.4 * 35.43307, 0.5);  // 0.4 cm of page in device pixels
  EXPECT_NEAR((xmax + xmin) / 2, 100.0, 0.5);
  EXPECT_EQ(plot::plt2blk.symbolsize, 0.33f);
  EXPECT_EQ(plot::plt2blk.symboltype, 7);

  mapshpar.iepi = 0;
  s = draw(100.0f, 200.0f, 0.0f, 2);
  EXPECT_EQ(s.size(), 4u);
  EXPECT_EQ(plot::plt2blk.symbolsize, 0.33f);
  EXPECT_EQ(plot::plt2blk.symboltype, 7);
}

TEST_F(StressSymbols, IndexOutsideOneToThreeDrawsBarsAfterWarnings) {
  for (int bad : {0, 4, -2}) {
    Console con;
    const auto s = draw(0.0f, 0.0f, frame::anglerad.v[2], bad);
    ASSERT_EQ(s.size(), 4u);
    for (const auto& sh : s) EXPECT_EQ(sh.pts.size(), 4u) << bad;
    char isv_line[32];
    std::snprintf(isv_line, sizeof isv_line, " isv     = %4d", bad);
    ex::Lines expected;
    for (const char* which : {"Shmax", "Shmin"}) {
      ex::append(expected, ex::warning_head("dmapsh2"));
      ex::append(expected, {" data nb =    1", isv_line, " isv outside [1,3]",
                            std::string(" => will plot bars for ") + which, ex::rule('/')});
    }
    EXPECT_EQ(text_lines(con.text()), expected) << bad;
  }
}

TEST_F(StressSymbols, NoPointsDrawNothing) {
  mapshpar.iepi = -1;
  const float x = 0, y = 0, az = 0;
  const int isv = 2;
  log_->clear();
  dmapsh2(&x, &y, &az, &isv, 0);
  EXPECT_TRUE(shapes_of(log_lines()).empty());
  EXPECT_EQ(plot::plt2blk.symbolsize, 0.33f);
  EXPECT_EQ(plot::plt2blk.symboltype, 7);
}

// ---- The settings ----

class StressSettings : public korbast::testing::QuietDialogTest {
 protected:
  void SetUp() override {
    QuietDialogTest::SetUp();
    maps::reset();
  }
  void TearDown() override {
    maps::reset();
    QuietDialogTest::TearDown();
  }
  static void expect_stored(float a, float b, int c, int d) {
    EXPECT_EQ(mapshpar.sizmax, a);
    EXPECT_EQ(mapshpar.sizmin, b);
    EXPECT_EQ(mapshpar.iepi, c);
    EXPECT_EQ(mapshpar.ish, d);
  }
};

TEST_F(StressSettings, InitialisingSetsTheDefaults) {
  mapshpar = Mapshpar{1.0f, 2.0f, 3, 1};
  float a = 9, b = 9;
  int c = 9, d = 9;
  Console con;
  smapsh2(a, b, c, d, 5);
  EXPECT_EQ(a, 0.4f);
  EXPECT_EQ(b, 0.13f);
  EXPECT_EQ(c, -1);
  EXPECT_EQ(d, 0);
  expect_stored(0.4f, 0.13f, -1, 0);
  ex::Lines expected = ex::head("smapsh2");
  expected.push_back(" INITIALIZING Sh MAP PARAMETERS");
  EXPECT_EQ(text_lines(con.text()), expected);
}

TEST_F(StressSettings, QueryReturnsTheStoredValuesQuietly) {
  mapshpar = Mapshpar{1.5f, 0.5f, 4, -2};
  float a = 0, b = 0;
  int c = 0, d = 0;
  Console con;
  smapsh2(a, b, c, d, 3);
  EXPECT_EQ(a, 1.5f);
  EXPECT_EQ(b, 0.5f);
  EXPECT_EQ(c, 4);
  EXPECT_EQ(d, -2);
  EXPECT_EQ(con.text(), "");
}

TEST_F(StressSettings, CheckedValuesAreStoredQuietly) {
  float a = 2.0f, b = 0.01f;
  int c = 123, d = -2;  // the epicentre type is not checked
  Console con;
  smapsh2(a, b, c, d, 1);
  expect_stored(2.0f, 0.01f, 123, -2);
  EXPECT_EQ(con.text(), "");
}

// A size of 0 or less and a Sh type outside -2..2 are reset with warnings; the minor size
// goes back to 0.2, not to its default.
TEST_F(StressSettings, RefusedValuesAreResetWithWarnings) {
  float a = 0.0f, b = -1.0f;
  int c = 5, d = 3;
  Console con;
  smapsh2(a, b, c, d, 1);
  EXPECT_EQ(a, 0.4f);
  EXPECT_EQ(b, 0.2f);
  EXPECT_EQ(d, 0);
  expect_stored(0.4f, 0.2f, 5, 0);
  ex::Lines expected;
  ex::append(expected, ex::warning_head("smapsh2"));
  ex::append(expected, {" sizmaxa =      0.000", " ==> RESET TO:", " sizmaxa =      0.400",
                        ex::rule('/')});
  ex::append(expected, ex::warning_head("smapsh2"));
  ex::append(expected, {" sizmina =     -1.000", " ==> RESET TO:", " sizmina =      0.200",
                        ex::rule('/')});
  ex::append(expected, ex::warning_head("smapsh2"));
  ex::append(expected,
             {" isha =      3", " ==> RESET TO:", " isha =      0", ex::rule('/')});
  EXPECT_EQ(text_lines(con.text()), expected);
}

ex::Lines menu_lines(const std::string& major, const std::string& minor, const std::string& epi,
                     const std::string& sh) {
  ex::Lines l = ex::head("smapsh2");
  ex::append(l, {ex::rule('-'), " Sh MAP PARAMETERS :", ex::rule('-'), ex::rule('-', 30),
                 " Major size ................10 " + major,
                 " Minor size ................20 " + minor,
                 " Epicenter type ............30 " + epi,
                 " Sh type ...................40 " + sh, ex::rule('-', 30),
                 " EXIT ..........................99", ex::rule('@')});
  return l;
}

// The menu starts from the stored values, accepts a size of 0 (its interval is closed; only
// the checks refuse it), and keeps the Sh type inside -2..2.
TEST_F(StressSettings, MenuChangesTheValues) {
  mapshpar = Mapshpar{0.4f, 0.13f, -1, 0};
  float a = 0, b = 0;
  int c = 0, d = 0;
  Console con("10\n0\n30\n0\n40\n3\n-2\n99\n");
  smapsh2(a, b, c, d, 2);
  expect_stored(0.0f, 0.13f, 0, -2);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(d, -2);
  const auto lines = text_lines(con.text());
  using plot::test::find_sequence;
  EXPECT_EQ(find_sequence(lines, menu_lines("     0.400", "     0.130", "    -1", "     0")), 0);
  EXPECT_GE(find_sequence(lines, menu_lines("     0.000", "     0.130", "     0", "    -2")), 0);
  EXPECT_GE(find_sequence(lines, {ex::rule('-', 30), " epicenter type:", " 0 => no plot",
                                  " else = symbol #", ex::rule('-', 30)}),
            0);
  EXPECT_GE(find_sequence(lines, {ex::rule('-', 30), " Sh type:", " -2 => Shmin only",
                                  " -1 => Shmin + Shmax small", " 0  => Shmin + Shmax",
                                  " +1 => Shmax + Shmin small", " +2 => Shmax only",
                                  ex::rule('-', 30)}),
            0);
}

// Mode 0 checks the caller's values first, then shows the menu.
TEST_F(StressSettings, ModeZeroChecksThenShowsTheMenu) {
  float a = -3.0f, b = 0.5f;
  int c = 2, d = 1;
  Console con("99\n");
  smapsh2(a, b, c, d, 0);
  expect_stored(0.4f, 0.5f, 2, 1);
  const auto lines = text_lines(con.text());
  const int warn = plot::test::find_sequence(lines, ex::warning_head("smapsh2"));
  const int menu =
      plot::test::find_sequence(lines, menu_lines("     0.400", "     0.500", "     2", "     1"));
  EXPECT_EQ(warn, 0);
  EXPECT_GT(menu, warn);
}

}  // namespace
}  // namespace korbast::maps::test
