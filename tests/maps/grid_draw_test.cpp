// The grid drawing through the logging device: the default grid line by line, its ticks and
// labels, the labels of an uneven span, the frame types, reversed bounds and the settings that
// would divide by zero.
#include <cmath>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "lines_fixture.hpp"
#include "maps/grid.hpp"
#include "support/expected_lines.hpp"

namespace korbast::maps::test {
namespace {

namespace ex = korbast::testing::expected;
constexpr double kTol = 2e-4;  // degrees

// The grid stored by sllgrid2 in mode 1 (silently), from degrees.
void set_grid(float latmin, float latmax, float longmin, float longmax, float latinc,
              float longinc, int nptline, float ticsize, int npttick, int type) {
  sllgrid2(latmin, latmax, longmin, longmax, latinc, longinc, nptline, ticsize, npttick, type, 1);
}

std::vector<std::string> texts(const std::vector<Label>& ls) {
  std::vector<std::string> t;
  for (const auto& l : ls) t.push_back(l.text);
  return t;
}

// The console report of a grid: type, meridian and parallel counts.
std::string report(int type, const std::string& meridians, const std::string& parallels) {
  ex::Lines l = ex::head("drawllgrid");
  l.push_back(" LAT-LONG GRID TYPE =    " + std::to_string(type));
  l.push_back(" nb of meridians = " + meridians);
  l.push_back(" nb of parallels = " + parallels);
  l.push_back(ex::rule('@'));
  std::string s;
  for (const auto& x : l) s += x + "\n";
  return s;
}

class GridDraw : public MapDrawTest {};

TEST_F(GridDraw, DefaultGridLinesTicksAndLabelsInOrder) {
  {
    Console quiet;
    float a, b, c, d, e, f, t;
    int p, q, k;
    sllgrid2(a, b, c, d, e, f, p, t, q, k, 5);
  }
  Console con;
  drawllgrid();
  EXPECT_EQ(con.text(), report(1, "  17", "  17"));

  const auto items = drawn();
  ASSERT_EQ(items.size(), 17u + 2 * 34u + 17u + 2 * 34u);
  std::size_t at = 0;
  // 17 meridians from 80 westwards to -80, each from -80 to 80 in 3 segments (the first
  // drawn point is the start point).
  const double third = 160.0 / 3.0;
  for (int i = 0; i <= 16; ++i) {
    const auto& pts = items[at++].path.pts;
    const double lon = 80.0 - 10.0 * i;
    ASSERT_EQ(pts.size(), 5u) << i;
    EXPECT_PT(pts[0], lon, -80.0, kTol);
    EXPECT_PT(pts[1], lon, -80.0, kTol);
    EXPECT_PT(pts[2], lon, -80.0 + third, kTol);
    EXPECT_PT(pts[3], lon, -80.0 + 2 * third, kTol);
    EXPECT_PT(pts[4], lon, 80.0, kTol);
  }
  // Southern ticks (1 degree outward in 2 segments) with their labels 1.5 degrees south,
  // then the northern ones.
  for (int side = 0; side < 2; ++side) {
    const double lat = side == 0 ? -80.0 : 80.0;
    const double out = side == 0 ? -1.0 : 1.0;
    for (int i = 0; i <= 16; ++i) {
      const double lon = 80.0 - 10.0 * i;
      const auto& tick = items[at++];
      ASSERT_FALSE(tick.is_text);
      ASSERT_EQ(tick.path.pts.size(), 4u);
      EXPECT_PT(tick.path.pts[0], lon, lat, kTol);
      EXPECT_PT(tick.path.pts[1], lon, lat, kTol);
      EXPECT_PT(tick.path.pts[2], lon, lat + 0.5 * out, kTol);
      EXPECT_PT(tick.path.pts[3], lon, lat + out, kTol);
      const auto& label = items[at++];
      ASSERT_TRUE(label.is_text);
      EXPECT_PT(label.label.at, lon, lat + 1.5 * out, kTol);
    }
  }
  // 17 parallels from -80 northwards, each from 80 to -80.
  for (int i = 0; i <= 16; ++i) {
    const auto& pts = items[at++].path.pts;
    const double lat = -80.0 + 10.0 * i;
    ASSERT_EQ(pts.size(), 5u);
    EXPECT_PT(pts[0], 80.0, lat, kTol);
    EXPECT_PT(pts[2], 80.0 - third, lat, kTol);
    EXPECT_PT(pts[4], -80.0, lat, kTol);
  }
  // Eastern then western ticks and labels, south to north.
  for (int side = 0; side < 2; ++side) {
    const double lon = side == 0 ? 80.0 : -80.0;
    const double out = side == 0 ? 1.0 : -1.0;
    for (int i = 0; i <= 16; ++i) {
      const double lat = -80.0 + 10.0 * i;
      const auto& tick = items[at++];
      ASSERT_EQ(tick.path.pts.size(), 4u);
      EXPECT_PT(tick.path.pts[0], lon, lat, kTol);
      EXPECT_PT(tick.path.pts[3], lon + out, lat, kTol);
      const auto& label = items[at++];
      ASSERT_TRUE(label.is_text);
      EXPECT_PT(label.label.at, lon + 1.5 * out, lat, kTol);
    }
  }

  // Labels: the position in degrees with one decimal, blanks trimmed by the alignment.
  std::vector<std::string> lons, lats;
  for (int i = 0; i <= 16; ++i) {
    char b[16];
    std::snprintf(b, sizeof b, "%.1f", 80.0 - 10.0 * i);
    lons.push_back(b);
    std::snprintf(b, sizeof b, "%.1f", -80.0 + 10.0 * i);
    lats.push_back(b);
  }
  std::vector<std::string> want;
  for (int k = 0; k < 2; ++k) want.insert(want.end(), lons.begin(), lons.end());
  for (int k = 0; k < 2; ++k) want.insert(want.end(), lats.begin(), lats.end());
  EXPECT_EQ(texts(labels_only(items)), want);
  // The drawing leaves the alignment of its last labels.
  EXPECT_EQ(plot::plt2blk.textalign, -7);
}

TEST_F(GridDraw, UnevenSpanLabelsFollowSinglePrecision) {
  set_grid(-80, 80, -80, 85, 10, 10, 3, 1, 2, 1);
  Console con;
  drawllgrid();
  EXPECT_EQ(con.text(), report(1, "  17", "  17"));
  const auto labels = labels_only(drawn());
  ASSERT_EQ(labels.size(), 68u);
  const std::vector<std::string> south = {"85.0",  "74.7",  "64.4",  "54.1",  "43.7",  "33.4",
                                          "23.1",  "12.8",  "2.5",   "-7.8",  "-18.1", "-28.4",
                                          "-38.7", "-49.1", "-59.4", "-69.7", "-80.0"};
  for (std::size_t i = 0; i < south.size(); ++i) {
    EXPECT_EQ(labels[i].text, south[i]) << i;
    EXPECT_EQ(labels[17 + i].text, south[i]) << i;  // the northern side
    // 16 intervals of 10.3125 degrees.
    EXPECT_NEAR(labels[i].at.lon, 85.0 - 10.3125 * static_cast<double>(i), kTol);
  }
}

TEST_F(GridDraw, FrameTypesDrawFourLinesButEveryTick) {
  for (int type : {2, 3}) {
    set_grid(-80, 80, -80, 80, 10, 10, 3, 1, 2, type);
    log_->clear();
    Console con;
    drawllgrid();
    EXPECT_EQ(con.text(), report(type, "  17", "  17")) << type;
    const auto items = drawn();
    const auto paths = paths_only(items);
    ASSERT_EQ(paths.size(), 2u + 34u + 2u + 34u) << type;
    EXPECT_EQ(labels_only(items).size(), 68u);
    // The eastern and western bounds, then the southern and northern ones.
    EXPECT_PT(paths[0].pts[0], 80.0, -80.0, kTol);
    EXPECT_PT(paths[1].pts[0], -80.0, -80.0, kTol);
    EXPECT_PT(paths[1].pts[4], -80.0, 80.0, kTol);
    EXPECT_PT(paths[36].pts[0], 80.0, -80.0, kTol);
    EXPECT_PT(paths[37].pts[0], 80.0, 80.0, kTol);
    EXPECT_PT(paths[37].pts[4], -80.0, 80.0, kTol);
    // Ticks: outward for type 2, inward for type 3; labels outside for both.
    const double dir = type == 2 ? 1.0 : -1.0;
    EXPECT_PT(paths[2].pts[3], 80.0, -80.0 - dir, kTol);    // southern side
    EXPECT_PT(paths[19].pts[3], 80.0, 80.0 + dir, kTol);    // northern side
    EXPECT_PT(paths[38].pts[3], 80.0 + dir, -80.0, kTol);   // eastern side
    EXPECT_PT(paths[55].pts[3], -80.0 - dir, -80.0, kTol);  // western side
    const auto labels = labels_only(items);
    EXPECT_PT(labels[0].at, 80.0, -81.5, kTol);
    EXPECT_PT(labels[17].at, 80.0, 81.5, kTol);
    EXPECT_PT(labels[34].at, 81.5, -80.0, kTol);
    EXPECT_PT(labels[51].at, -81.5, -80.0, kTol);
  }
}

TEST_F(GridDraw, NoGridDrawsNothingAndKeepsTheAlignment) {
  set_grid(-80, 80, -80, 80, 10, 10, 3, 1, 2, 0);
  plot::plt2blk.textalign = 3;
  Console con;
  drawllgrid();
  ex::Lines l = ex::head("drawllgrid");
  l.push_back(" NO LAT-LONG GRID");
  l.push_back(ex::rule('@'));
  std::string want;
  for (const auto& x : l) want += x + "\n";
  EXPECT_EQ(con.text(), want);
  EXPECT_TRUE(drawn().empty());
  EXPECT_EQ(plot::plt2blk.textalign, 3);
}

TEST_F(GridDraw, ReversedLatitudeBoundsDrawMeridiansOnly) {
  set_grid(80, -80, -80, 80, 10, 10, 3, 1, 2, 1);
  Console con;
  drawllgrid();
  // (-160 / 10 + 0.0005) truncates to -15: reported as -14.
  EXPECT_EQ(con.text(), report(1, "  17", " -14"));
  const auto items = drawn();
  const auto paths = paths_only(items);
  ASSERT_EQ(paths.size(), 17u + 34u);
  EXPECT_PT(paths[0].pts[0], 80.0, 80.0, kTol);  // from latitude 80 ...
  EXPECT_PT(paths[0].pts[4], 80.0, -80.0, kTol);  // ... down to -80
  const auto labels = labels_only(items);
  ASSERT_EQ(labels.size(), 34u);  // longitude labels only
  EXPECT_EQ(labels.front().text, "80.0");
  EXPECT_EQ(labels.back().text, "-80.0");
  EXPECT_EQ(plot::plt2blk.textalign, -7);
}

TEST_F(GridDraw, LongitudesAreNeitherWrappedNorNormalised) {
  set_grid(-10, 10, 170, 210, 10, 10, 3, 1, 2, 1);
  Console con;
  drawllgrid();
  const auto labels = labels_only(drawn());
  ASSERT_EQ(labels.size(), 2u * 5u + 2u * 3u);
  const std::vector<std::string> want = {"210.0", "200.0", "190.0", "180.0", "170.0"};
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(labels[i].text, want[i]);
    EXPECT_NEAR(labels[i].at.lon, 210.0 - 10.0 * static_cast<double>(i), kTol);
  }
}

// A span shorter than one increment: both bounds get their line, ticks and labels.
TEST_F(GridDraw, SpanShorterThanOneIncrementUsesBothBounds) {
  set_grid(-2, 2, 10, 15, 10, 10, 3, 1, 2, 1);
  Console con;
  drawllgrid();
  EXPECT_EQ(con.text(), report(1, "   1", "   1"));
  const auto items = drawn();
  const auto paths = paths_only(items);
  ASSERT_EQ(paths.size(), 2u + 4u + 2u + 4u);
  EXPECT_PT(paths[0].pts[0], 15.0, -2.0, kTol);
  EXPECT_PT(paths[1].pts[0], 10.0, -2.0, kTol);
  EXPECT_PT(paths[6].pts[0], 15.0, -2.0, kTol);
  EXPECT_PT(paths[7].pts[0], 15.0, 2.0, kTol);
  const auto labels = texts(labels_only(items));
  const std::vector<std::string> want = {"15.0", "10.0", "15.0", "10.0",
                                         "-2.0", "2.0",  "-2.0", "2.0"};
  EXPECT_EQ(labels, want);
  for (const auto& p : paths)
    for (const auto& q : p.pts) EXPECT_TRUE(std::isfinite(q.lon) && std::isfinite(q.lat));
}

// An increment of 0 (stored without the menu) gives an endless count: it is reduced with a
// warning, and no point that is not a number reaches the device.
TEST_F(GridDraw, ZeroIncrementIsCappedWithAWarning) {
  set_grid(-5, 5, -5, 5, 0, 10, 3, 1, 2, 1);
  Console con;
  drawllgrid();
  const std::string text = con.text();
  EXPECT_GE(find_lines(text, {" nb of parallels = ****"}), 0) << text;
  const auto warning = ex::warning_head("drawllgrid");
  ASSERT_GE(find_lines(text, warning), 0) << text;
  EXPECT_GE(find_lines(text, {" TOO MANY GRID LINES: nb of parallels =   1073741825",
                              " => RESETTING TO:         1001"}),
            0)
      << text;
  const auto paths = drawn_paths();
  // 2 meridians, 2 x 2 longitude ticks, 1001 parallels, 2 x 1001 latitude ticks.
  ASSERT_EQ(paths.size(), 2u + 4u + 1001u + 2002u);
  for (const auto& p : paths)
    for (const auto& q : p.pts) ASSERT_TRUE(std::isfinite(q.lon) && std::isfinite(q.lat));
  EXPECT_PT(paths[6].pts[0], 5.0, -5.0, kTol);
  EXPECT_PT(paths[6 + 1000].pts[0], 5.0, 5.0, kTol);
}

TEST_F(GridDraw, ZeroSpanOverZeroIncrementCountsNothing) {
  set_grid(0, 0, -5, 5, 0, 10, 3, 1, 2, 1);
  Console con;
  drawllgrid();
  EXPECT_EQ(con.text(), report(1, "   2", "   1"));
  for (const auto& p : drawn_paths())
    for (const auto& q : p.pts) ASSERT_TRUE(std::isfinite(q.lon) && std::isfinite(q.lat));
}

TEST_F(GridDraw, NoSegmentsMeansMovesOnlyButLabelsStay) {
  set_grid(-10, 10, -10, 10, 10, 10, 0, 1, 0, 1);
  Console con;
  drawllgrid();
  const auto items = drawn();
  const auto paths = paths_only(items);
  ASSERT_EQ(paths.size(), 3u + 6u + 3u + 6u);
  for (const auto& p : paths) EXPECT_EQ(p.pts.size(), 1u);  // the move alone
  EXPECT_EQ(labels_only(items).size(), 12u);

  set_grid(-10, 10, -10, 10, 10, 10, -2, 1, -1, 2);
  log_->clear();
  drawllgrid();
  const auto again = drawn();
  for (const auto& p : paths_only(again)) EXPECT_EQ(p.pts.size(), 1u);
  EXPECT_EQ(labels_only(again).size(), 12u);
}

TEST_F(GridDraw, HugePointCountsDrawAThousandSegmentsAndEnd) {
  set_grid(-10, 10, -10, 10, 10, 10, 3, 1, 2, 1);
  llgrid.nptline = 2147483647;  // as no menu lets it through
  llgrid.npttick = 2147483647;
  Console con;
  drawllgrid();
  const auto paths = drawn_paths();
  ASSERT_EQ(paths.size(), 3u + 6u + 3u + 6u);
  for (const auto& p : paths) EXPECT_EQ(p.pts.size(), 1002u);  // the move and 1001 points
}

TEST_F(GridDraw, ExtentOfTheFourCorners) {
  set_grid(-60, 30, -20, 40, 10, 10, 3, 1, 2, 1);
  float xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  extrllgrid(xmin, ymin, xmax, ymax);
  auto merc = [](double lat) { return std::log(std::tan(kPi / 4 + lat * kPi / 360.0)); };
  EXPECT_NEAR(xmin, -20.0 * kPi / 180.0, 1e-6);
  EXPECT_NEAR(xmax, 40.0 * kPi / 180.0, 1e-6);
  EXPECT_NEAR(ymin, merc(-60.0), 1e-5);
  EXPECT_NEAR(ymax, merc(30.0), 1e-5);
  // Reversed bounds give the same extent.
  set_grid(30, -60, 40, -20, 10, 10, 3, 1, 2, 1);
  float a = 0, b = 0, c = 0, d = 0;
  extrllgrid(a, b, c, d);
  EXPECT_EQ(a, xmin);
  EXPECT_EQ(b, ymin);
  EXPECT_EQ(c, xmax);
  EXPECT_EQ(d, ymax);
}

TEST_F(GridDraw, ExtentLeavesOutCornersWithoutImage) {
  set_grid(-60, 30, -20, 40, 10, 10, 3, 1, 2, 1);
  llgrid.latmin = std::nanf("");  // the first two corners cannot be mapped
  float xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  extrllgrid(xmin, ymin, xmax, ymax);
  EXPECT_NEAR(xmin, -20.0 * kPi / 180.0, 1e-6);
  EXPECT_NEAR(xmax, 40.0 * kPi / 180.0, 1e-6);
  EXPECT_EQ(ymin, ymax);
  EXPECT_TRUE(std::isfinite(ymin));
}

}  // namespace
}  // namespace korbast::maps::test
