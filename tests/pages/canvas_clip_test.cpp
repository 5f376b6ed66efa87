#include "pages/canvas_clip.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korbast::pages {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(GuardBox, FourWindowSizesAround) {
  const Box b = guard_box(100, 50);
  EXPECT_EQ(b.x0, -400);
  EXPECT_EQ(b.y0, -400);
  EXPECT_EQ(b.x1, 500);
  EXPECT_EQ(b.y1, 450);
}

TEST(ClipPolyline, InsideIsUnchanged) {
  const Box b{0, 0, 100, 100};
  const std::vector<Point> pts{{1, 1}, {50, 2}, {99, 99}};
  const auto runs = clip_polyline(pts, b);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], pts);
}

TEST(ClipPolyline, LonePointAndZeroLengthSegment) {
  const Box b{0, 0, 100, 100};
  EXPECT_EQ(clip_polyline({{5, 5}}, b).size(), 1u);
  const auto runs = clip_polyline({{5, 5}, {5, 5}}, b);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].size(), 2u);
  EXPECT_TRUE(clip_polyline({{500, 5}}, b).empty());
}

TEST(ClipPolyline, FarEndIsCutAtTheBox) {
  const Box b{-400, -400, 500, 500};
  const auto runs = clip_polyline({{10, 40}, {1e12, 40}}, b);
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].size(), 2u);
  EXPECT_EQ(runs[0][0], (Point{10, 40}));
  EXPECT_DOUBLE_EQ(runs[0][1].x, 500);
  EXPECT_DOUBLE_EQ(runs[0][1].y, 40);
}

TEST(ClipPolyline, LeavingAndComingBackMakesTwoRuns) {
  const Box b{0, 0, 10, 10};
  const auto runs = clip_polyline({{5, 5}, {5, 20}, {8, 20}, {8, 5}}, b);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (std::vector<Point>{{5, 5}, {5, 10}}));
  EXPECT_EQ(runs[1], (std::vector<Point>{{8, 10}, {8, 5}}));
}

TEST(ClipPolyline, CrossingTheBoxKeepsTheMiddle) {
  const Box b{0, 0, 10, 10};
  const auto runs = clip_polyline({{-10, 5}, {20, 5}}, b);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (std::vector<Point>{{0, 5}, {10, 5}}));
  EXPECT_TRUE(clip_polyline({{-10, 20}, {20, 20}}, b).empty());
}

TEST(ClipPolyline, NonFinitePointsBreakTheLine) {
  const Box b{0, 0, 10, 10};
  const auto runs = clip_polyline({{1, 1}, {2, 2}, {kNaN, 3}, {4, 4}, {5, kInf}, {6, 6}, {7, 7}}, b);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], (std::vector<Point>{{1, 1}, {2, 2}}));
  EXPECT_EQ(runs[1], (std::vector<Point>{{4, 4}}));
  EXPECT_EQ(runs[2], (std::vector<Point>{{6, 6}, {7, 7}}));
}

TEST(ClipPolygon, InsideIsUnchangedAndNonFiniteDropped) {
  const Box b{0, 0, 10, 10};
  const std::vector<Point> tri{{1, 1}, {9, 1}, {kNaN, 0}, {5, 9}};
  EXPECT_EQ(clip_polygon(tri, b), (std::vector<Point>{{1, 1}, {9, 1}, {5, 9}}));
}

TEST(ClipPolygon, HugeSquareBecomesTheBox) {
  const Box b{0, 0, 10, 10};
  const auto poly = clip_polygon({{-1e15, -1e15}, {1e15, -1e15}, {1e15, 1e15}, {-1e15, 1e15}}, b);
  ASSERT_EQ(poly.size(), 4u);
  for (const Point& p : poly) {
    EXPECT_TRUE(p.x == 0 || p.x == 10) << p.x;
    EXPECT_TRUE(p.y == 0 || p.y == 10) << p.y;
  }
}

TEST(ClipPolygon, HalfOutside) {
  const Box b{0, 0, 10, 10};
  const auto poly = clip_polygon({{5, 2}, {20, 2}, {20, 8}, {5, 8}}, b);
  EXPECT_EQ(poly, (std::vector<Point>{{5, 2}, {10, 2}, {10, 8}, {5, 8}}));
  EXPECT_TRUE(clip_polygon({{20, 2}, {30, 2}, {30, 8}}, b).empty());
}

}  // namespace
}  // namespace korbast::pages
