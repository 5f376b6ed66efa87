// Axis symbols through the logging device: the standard and alternate symbols by the sign of
// the plunge, the symbol type given back, the radial line and arrow (codes 100, 101) outwards
// and inwards, at the centre and past it, codes that draw nothing; and the settings routine
// with its checks, its set-up mode 200 and its menu.
#include "focal/axissymbols.hpp"

#include <cmath>
#include <string>

#include "focal_fixture.hpp"
#include "plot/plt2blk.hpp"
#include "support/expected_lines.hpp"

namespace korbast::focal::test {
namespace {

namespace ex = korbast::testing::expected;
using plot::test::find_sequence;
using plot::test::split_lines;

class Axes : public FocalTest {
 protected:
  // Draws one axis with the given codes.
  Drawn axis(int standard, int alternate, float az, float pl) {
    dspaxbk.standard = standard;
    dspaxbk.alternate = alternate;
    log_->clear();
    dspaxfapn2(&az, &pl, 1);
    return drawn();
  }
  static Pt net(float az, float pl) {
    float x = 0, y = 0;
    spron(&x, &y, &az, &pl, 1);
    return {x, y};
  }
};

TEST_F(Axes, DownwardAxisGetsTheStandardSymbol) {
  const Drawn d = axis(1, -1, 0.0f, 0.3f);
  ASSERT_EQ(d.paths.size(), 1u);
  EXPECT_FALSE(d.paths[0].filled);
  EXPECT_EQ(d.paths[0].pts.size(), 20u);  // the circle
  EXPECT_NEAR(dist(user(centre(d.paths[0])), net(0.0f, 0.3f)), 0, 1e-5);
}

TEST_F(Axes, UpwardAxisGetsTheAlternateSymbolAtItsLowerEnd) {
  const Drawn d = axis(1, -1, 0.0f, -0.3f);
  ASSERT_EQ(d.paths.size(), 1u);
  EXPECT_TRUE(d.paths[0].filled);
  EXPECT_NEAR(dist(user(centre(d.paths[0])), net(pi(), 0.3f)), 0, 1e-5);
  // The opposite end of an upward axis lies across the centre.
  EXPECT_LT(user(centre(d.paths[0])).second, 0.0);
}

TEST_F(Axes, HorizontalAxisIsStandardOnTheRim) {
  const Drawn d = axis(3, -3, 1.0f, 0.0f);
  ASSERT_EQ(d.paths.size(), 1u);
  EXPECT_FALSE(d.paths[0].filled);
  EXPECT_EQ(d.paths[0].pts.size(), 4u);  // the triangle
  const Pt c = user(centre(d.paths[0]));
  EXPECT_NEAR(std::hypot(c.first, c.second), 1.0, 1e-5);
}

TEST_F(Axes, SymbolTypeGivenBack) {
  plot::plt2blk.symboltype = 7;
  Console con;
  const float az[3] = {0.1f, 2.0f, 4.0f}, pl[3] = {0.2f, -0.5f, 1.0f};
  dspaxbk = {4, -4};
  dspaxfapn2(az, pl, 3);
  EXPECT_EQ(plot::plt2blk.symboltype, 7);
  EXPECT_EQ(con.text(), "");
  const Drawn d = drawn();
  ASSERT_EQ(d.paths.size(), 3u);
  EXPECT_FALSE(d.paths[0].filled);
  EXPECT_TRUE(d.paths[1].filled);
  EXPECT_FALSE(d.paths[2].filled);
  // Lines and arrows leave the type alone.
  plot::plt2blk.symboltype = 9;
  dspaxbk = {100, 4};
  dspaxfapn2(az, pl, 3);
  EXPECT_EQ(plot::plt2blk.symboltype, 9);
}

TEST_F(Axes, AlternateLineCodeInTheSymbolBranchIsACircle) {
  const Drawn d = axis(5, 100, 0.0f, -0.3f);
  ASSERT_EQ(d.paths.size(), 1u);
  EXPECT_EQ(d.paths[0].pts.size(), 20u);
}

TEST_F(Axes, RadialLineOutwards) {
  const Drawn d = axis(100, 0, halfpi(), 0.0f);
  ASSERT_EQ(d.paths.size(), 1u);
  const auto l = user(d.paths[0].pts);
  ASSERT_EQ(l.size(), 2u);
  EXPECT_NEAR(dist(l[0], {1.0, 0.0}), 0, 1e-5);
  EXPECT_NEAR(dist(l[1], {1.2, 0.0}), 0, 1e-5);
}

TEST_F(Axes, RadialLineInwardsForAnUpwardAxis) {
  const Drawn d = axis(100, 0, halfpi(), -0.1f);
  ASSERT_EQ(d.paths.size(), 1u);
  const auto l = user(d.paths[0].pts);
  ASSERT_EQ(l.size(), 2u);
  const Pt p = net(3.0f * halfpi(), 0.1f);
  const double r = std::hypot(p.first, p.second);
  EXPECT_LT(r, 1.0);
  EXPECT_NEAR(dist(l[0], {-r, 0.0}), 0, 1e-5);
  EXPECT_NEAR(dist(l[1], {-(r - 0.2), 0.0}), 0, 1e-5);
}

TEST_F(Axes, RadialLinePastTheCentre) {
  // An upward axis whose lower end lies at radius 0.1 of the Schmidt net: the line runs
  // through the centre to radius 0.1 on the other side.
  const double d = 2.0 * std::asin(0.1 / std::sqrt(2.0));
  const float pl = -static_cast<float>(M_PI / 2 - d);
  const Drawn dr = axis(100, 0, pi(), pl);
  const auto l = user(dr.paths.at(0).pts);
  EXPECT_NEAR(dist(l[0], {0.0, 0.1}), 0, 1e-5);
  EXPECT_NEAR(dist(l[1], {0.0, -0.1}), 0, 1e-5);
}

TEST_F(Axes, ArrowAtTheCentreForAVerticalAxis) {
  const Drawn d = axis(101, 0, 0.0f, -halfpi());
  ASSERT_FALSE(d.paths.empty());
  for (const auto& p : d.paths)
    for (const auto& q : user(p.pts)) EXPECT_NEAR(dist(q, {0, 0}), 0, 1e-5);
}

TEST_F(Axes, ArrowOutwardsFromThePoint) {
  const Drawn d = axis(101, 0, 0.0f, 0.0f);
  ASSERT_EQ(d.paths.size(), 2u);  // shaft and head
  const auto shaft = user(d.paths[0].pts);
  EXPECT_NEAR(dist(shaft[0], {0.0, 1.0}), 0, 1e-5);
  const auto head = user(d.paths[1].pts);
  ASSERT_EQ(head.size(), 4u);
  EXPECT_NEAR(dist(head[2], {0.0, 1.2}), 0, 1e-5);
}

TEST_F(Axes, OtherCodesDrawNothing) {
  Console con;
  for (int code : {102, 150, -100, -500}) {
    EXPECT_TRUE(axis(code, 1, 0.0f, 0.3f).paths.empty()) << code;
  }
  const float az = 0.0f, pl = 0.2f;
  dspaxfapn2(&az, &pl, 0);
  EXPECT_TRUE(drawn().paths.empty());
  EXPECT_EQ(con.text(), "");
}

TEST_F(Axes, SilentStoreAndInitialisation) {
  Console con;
  int s = 4, a = -4;
  sdspaxsymb(s, a, 1);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(dspaxbk.standard, 4);
  EXPECT_EQ(dspaxbk.alternate, -4);
  s = 200;  // mode 1 takes the codes as they come
  sdspaxsymb(s, a, 1);
  EXPECT_EQ(dspaxbk.standard, 200);
  sdspaxsymb(s, a, 5);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(dspaxbk.standard, 1);
  EXPECT_EQ(split_lines(con.text()),
            ex::join({ex::head("sdspaxsymb"), {" INITIALIZING STEREOPLOT AXIS SYMBOLS"}}));
  con.clear();
  dspaxbk = {3, -3};
  sdspaxsymb(s, a, 3);
  EXPECT_EQ(s, 3);
  EXPECT_EQ(a, -3);
  EXPECT_EQ(con.text(), "");
}

ex::Lines warning(const std::string& what, const std::string& value, const std::string& reset) {
  ex::Lines l = ex::warning_head("sdspaxsymb");
  ex::append(l, {" " + what + " " + value, " outside [  -99 ,  101 ]", " ==> RESETTING TO:",
                 " " + what + " " + reset, ex::rule('/')});
  return l;
}

TEST_F(Axes, SetUpModeChecksEditsAndStoresNothing) {
  dspaxbk = {3, -3};
  Console con("99\n");
  int s = 150, a = -120;
  sdspaxsymb(s, a, 200);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(dspaxbk.standard, 3);
  EXPECT_EQ(dspaxbk.alternate, -3);
  const auto lines = split_lines(con.text());
  ex::Lines want = warning("Standard  symbol =", " 150", "   1");
  ex::append(want, warning("Alternate symbol =", "-120", "  -1"));
  ex::append(want, ex::head("sdspaxsymb"));
  ex::append(want, {ex::rule('-'), " STEREOPLOT AXIS SYMBOLS",
                    " Standard  symbol <-> standard hemisphere",
                    " Alternate symbol <-> opposite hemisphere", ex::rule('-'), " set up:",
                    " standard  type =    1", " alternate type =   -1", ex::rule('-'),
                    " Axis symbol ... symbol number", " arrow    ................ 101",
                    " line     ................ 100", " circle   .................. 0"});
  EXPECT_EQ(find_sequence(lines, want), 0);
  EXPECT_NE(find_sequence(lines, {" circle   ....... other values", ex::rule('-'), " MODIFY:",
                                  "  standard type ............... 10",
                                  "  alternate type .............. 20",
                                  " SET UP IS OK ==> EXIT ........ 99", ex::rule('@')}),
            -1);
}

TEST_F(Axes, MenuEditsWithinTheRange) {
  dspaxbk = {3, -3};
  Console con("10\n102\n101\n20\n-100\n-99\n\n");
  int s = 1, a = -1;
  sdspaxsymb(s, a, 0);
  EXPECT_EQ(s, 101);
  EXPECT_EQ(a, -99);
  EXPECT_EQ(dspaxbk.standard, 101);
  EXPECT_EQ(dspaxbk.alternate, -99);
  const auto lines = split_lines(con.text());
  EXPECT_NE(find_sequence(lines, {" currently stored:", " standard  type =    3",
                                  " alternate type =   -3", " ---------------------",
                                  " ready to store:", " standard  type =    1",
                                  " alternate type =   -1"}),
            -1);
  EXPECT_NE(find_sequence(lines, {" STORE AND EXIT ............... 99", ex::rule('@')}), -1);
}

TEST_F(Axes, MenuBodyOnlyAtOutputLevelTwo) {
  frame::iocom.lwito(2) = false;
  Console con("\n");
  int s = 4, a = -4;
  sdspaxsymb(s, a, 200);
  EXPECT_EQ(split_lines(con.text()),
            ex::join({ex::head("sdspaxsymb"),
                      {" Enter your choice", " New value =            99"}}));
}

}  // namespace
}  // namespace korbast::focal::test
