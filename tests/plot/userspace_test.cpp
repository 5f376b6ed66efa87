// The user-space primitives through the logging device: chunks of the point buffer, polygon
// pieces and their warning, the empty list, arrow heads, pen steps and texts, and the caller's
// arrays left as they were.
#include "plot/userspace.hpp"

#include <utility>

#include "plot/chain.hpp"
#include "plot/primitives.hpp"
#include "plot_fixture.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using Path = LogPath;

class UserSpace : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    plt2blk.linecolor = 1;
    plt2blk.fillcolor = 8;
    plt2blk.textcolor = 1;
    plt2blk.fillstyle = 1;
    plt2blk.textalign = 1;
    plt2blk.textheight = 0.5f;
    frame::iocom.pause = false;
    open_log_window({0, 0, 600, 800});
    log_->set_font_size(14.173228);
    plt1blk.isub = 1;
    transform(1, 0, 0, 1, 0, 0);
    log_->clear();
  }

  // The user-to-device transform of subplot 1: p -> (ox, oy) + [[a, b], [c, d]] p.
  static void transform(float a, float b, float c, float d, float ox, float oy) {
    plt1blk.ustode[0][0][0] = a;
    plt1blk.ustode[0][1][0] = b;
    plt1blk.ustode[0][0][1] = c;
    plt1blk.ustode[0][1][1] = d;
    plt1blk.us0tode[0][0] = ox;
    plt1blk.us0tode[0][1] = oy;
  }

  std::vector<Path> paths() const { return log_paths(log_lines()); }
};

void fill_points(std::vector<float>& x, std::vector<float>& y, int n) {
  x.resize(static_cast<std::size_t>(n));
  y.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    x[static_cast<std::size_t>(i)] = static_cast<float>(i + 1);
    y[static_cast<std::size_t>(i)] = 0.5f * static_cast<float>(i + 1);
  }
}

TEST_F(UserSpace, LineOf1001PointsIsTwoChunksSharingPoint501) {
  std::vector<float> x, y;
  fill_points(x, y, 1001);
  const auto x0 = x, y0 = y;
  Console con;
  usline(x.data(), y.data(), 1001);
  const auto p = paths();
  ASSERT_EQ(p.size(), 2u);
  ASSERT_EQ(p[0].pts.size(), 501u);
  ASSERT_EQ(p[1].pts.size(), 501u);
  EXPECT_EQ(p[0].pts.front(), (std::pair<double, double>{1, 0.5}));
  EXPECT_EQ(p[0].pts.back(), (std::pair<double, double>{501, 250.5}));
  EXPECT_EQ(p[1].pts.front(), (std::pair<double, double>{501, 250.5}));
  EXPECT_EQ(p[1].pts.back(), (std::pair<double, double>{1001, 500.5}));
  EXPECT_FALSE(p[0].closed);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(x, x0);
  EXPECT_EQ(y, y0);
}

TEST_F(UserSpace, LineChunkBoundaries) {
  std::vector<float> x, y;
  for (const auto& [n, sizes] : std::vector<std::pair<int, std::vector<std::size_t>>>{
           {501, {501}}, {502, {501, 2}}, {1000, {501, 500}}, {1002, {501, 501, 2}}}) {
    fill_points(x, y, n);
    log_->clear();
    usline(x.data(), y.data(), n);
    const auto p = paths();
    ASSERT_EQ(p.size(), sizes.size()) << n;
    for (std::size_t k = 0; k < sizes.size(); ++k) EXPECT_EQ(p[k].pts.size(), sizes[k]) << n;
    EXPECT_EQ(p.back().pts.back().first, n) << n;
  }
}

TEST_F(UserSpace, LineOfOnePointIsOneChunkOfOnePoint) {
  transform(2, 0, 0, 3, 10, 20);
  const float x = 1.5f, y = 2.0f;
  usline(&x, &y, 1);
  // The device draws one point as a segment of length 0.
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].pts, (Pts{{13, 26}, {13, 26}}));
}

TEST_F(UserSpace, EmptyListsReportAndDrawNothing) {
  const float x[1] = {7}, y[1] = {8};
  Console con;
  usline(x, y, 0);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" is =       1  > nx =      0", " attempt to read past array"}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("subroutine buffer2"), std::string::npos);
  EXPECT_TRUE(log_lines().empty());

  con.clear();
  uspolygon(x, y, 0);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" is =       1  > nx =      0", " attempt to read past array"}),
            0);
  EXPECT_TRUE(log_lines().empty());

  con.clear();
  usline(x, y, -5);
  EXPECT_NE(con.text().find(" is =       1  > nx =     -5"), std::string::npos) << con.text();
  EXPECT_TRUE(log_lines().empty());
  EXPECT_EQ(x[0], 7.0f);
}

TEST_F(UserSpace, BufferChunkAndItsNextStart) {
  const float x[5] = {1, 2, 3, 4, 5};
  const float y[5] = {6, 7, 8, 9, 10};
  float xb[3] = {}, yb[3] = {};
  int nb = -1, is = 1;
  buffer2(xb, yb, 3, nb, x, y, 5, is);
  EXPECT_EQ(nb, 3);
  EXPECT_EQ(is, 3);
  EXPECT_EQ(xb[2], 3.0f);
  buffer2(xb, yb, 3, nb, x, y, 5, is);
  EXPECT_EQ(nb, 3);
  EXPECT_EQ(is, 5);
  EXPECT_EQ(xb[0], 3.0f);
  EXPECT_EQ(yb[2], 10.0f);
  buffer2(xb, yb, 3, nb, x, y, 5, is);  // the last point alone
  EXPECT_EQ(nb, 1);
  EXPECT_EQ(is, 5);
  EXPECT_EQ(xb[0], 5.0f);

  Console con;
  is = 6;
  nb = 42;
  buffer2(xb, yb, 3, nb, x, y, 5, is);
  EXPECT_EQ(nb, 42);
  EXPECT_EQ(is, 6);
  EXPECT_EQ(xb[0], 5.0f);
  EXPECT_NE(con.text().find(" is =       6  > nx =      5\n"), std::string::npos) << con.text();
}

TEST_F(UserSpace, PolygonPiecesAndTheirWarning) {
  std::vector<float> x, y;
  fill_points(x, y, 501);
  {
    Console con;
    uspolygon(x.data(), y.data(), 501);
    const auto p = paths();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].pts.size(), 501u);
    EXPECT_TRUE(p[0].closed);
    EXPECT_TRUE(p[0].filled);
    EXPECT_EQ(con.text(), "");
  }
  fill_points(x, y, 502);
  const auto x0 = x, y0 = y;
  {
    log_->clear();
    Console con;
    uspolygon(x.data(), y.data(), 502);
    const auto p = paths();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].pts.size(), 501u);
    EXPECT_EQ(p[1].pts, (Pts{{501, 250.5}, {502, 251}}));
    EXPECT_TRUE(p[1].closed);
    const auto out = split_lines(con.text());
    EXPECT_GE(find_sequence(out, {" Polygone vertices =    502", " Plot buffer size  =    501",
                                  " ==> Decomposing in smaller polygons"}),
              0)
        << con.text();
    int warnings = 0;
    for (const auto& l : out) warnings += l == " ==> Decomposing in smaller polygons";
    EXPECT_EQ(warnings, 1);
    EXPECT_NE(con.text().find("subroutine uspolygon"), std::string::npos);
    EXPECT_EQ(x, x0);
    EXPECT_EQ(y, y0);
  }
  fill_points(x, y, 1002);
  {
    log_->clear();
    Console con;
    uspolygon(x.data(), y.data(), 1002);
    EXPECT_EQ(paths().size(), 3u);
    int warnings = 0;
    for (const auto& l : split_lines(con.text()))
      warnings += l == " ==> Decomposing in smaller polygons";
    EXPECT_EQ(warnings, 2);
  }
}

TEST_F(UserSpace, ArrowShaftAndHead) {
  const float x1[1] = {0}, y1[1] = {0}, x2[1] = {10}, y2[1] = {0};
  usarrow1(x1, y1, x2, y2, 1);
  auto p = paths();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].pts, (Pts{{0, 0}, {6, 0}}));
  EXPECT_EQ(p[1].pts, (Pts{{6, 1.5}, {6, -1.5}, {10, 0}, {6, 1.5}}));
  EXPECT_FALSE(p[1].closed);
  EXPECT_FALSE(p[1].filled);

  // The head is built in user units: unequal scales stretch it with the drawing.
  log_->clear();
  transform(2, 0, 0, 1, 0, 0);
  usarrow1(x1, y1, x2, y2, 1);
  p = paths();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].pts, (Pts{{0, 0}, {12, 0}}));
  EXPECT_EQ(p[1].pts, (Pts{{12, 1.5}, {12, -1.5}, {20, 0}, {12, 1.5}}));
}

TEST_F(UserSpace, ArrowsInOrderAndNoneForAnEmptyList) {
  const float x1[2] = {1, 0}, y1[2] = {1, 0}, x2[2] = {1, -10}, y2[2] = {6, 0};
  usarrow1(x1, y1, x2, y2, 2);
  const auto p = paths();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].pts, (Pts{{1, 1}, {1, 4}}));
  EXPECT_EQ(p[1].pts, (Pts{{0.25, 4}, {1.75, 4}, {1, 6}, {0.25, 4}}));
  EXPECT_EQ(p[2].pts, (Pts{{0, 0}, {-6, 0}}));
  EXPECT_EQ(p[3].pts, (Pts{{-6, -1.5}, {-6, 1.5}, {-10, 0}, {-6, -1.5}}));
  log_->clear();
  Console con;
  usarrow1(x1, y1, x2, y2, 0);
  EXPECT_TRUE(log_lines().empty());
  EXPECT_EQ(con.text(), "");
}

TEST_F(UserSpace, PenStepsAndTextAtTheConvertedPoint) {
  transform(2, 0, 0, 2, 1, 3);
  usplot(1, 1, 0);
  usplot(2, 3, 1);
  endpath();
  auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].pts, (Pts{{3, 5}, {5, 9}}));

  log_->clear();
  ustext2(10, 10, "AB");
  ASSERT_FALSE(log_lines().empty());
  EXPECT_EQ(log_lines()[log_lines().size() - 2].rfind("text 21.000 23.000 a=0.000", 0), 0u)
      << log_->text();
}

TEST_F(UserSpace, ThroughTheWholeChain) {
  windevsize.isetup = 3;
  windevsize.pxpcm = 35.43307f;
  frame::iocom.plot_open = true;
  scm2de();
  float v[6] = {10, 8, 2.5f, 0, 0, 2.5f};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 1);
  const float x[2] = {0, 2}, y[2] = {0, -1};
  usline(x, y, 2);
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].pts.size(), 2u);
  EXPECT_NEAR(p[0].pts[0].first, 10 * 35.43307, 1e-3);
  EXPECT_NEAR(p[0].pts[0].second, 8 * 35.43307, 1e-3);
  EXPECT_NEAR(p[0].pts[1].first, 15 * 35.43307, 1e-3);
  EXPECT_NEAR(p[0].pts[1].second, 5.5 * 35.43307, 1e-3);
}

}  // namespace
}  // namespace korbast::plot::test
