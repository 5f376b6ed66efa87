// The stereonet frame through the logging device: what is drawn with the default settings on
// the North-up and the direct nets, the ticks, the labels and their places, the text angle
// and alignment given back; and the three settings routines with their menus and reports.
#include "focal/stereoframe.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "focal_fixture.hpp"
#include "plot/plt2blk.hpp"
#include "support/expected_lines.hpp"

namespace korbast::focal::test {
namespace {

namespace ex = korbast::testing::expected;
using plot::test::find_sequence;
using plot::test::split_lines;

class Frame : public FocalTest {
 protected:
  void SetUp() override {
    FocalTest::SetUp();
    Console quiet;
    srepstereo0(5);
  }
  // Where a text of n characters shown with alignment -2 (centred on its baseline) or -5
  // (vertically centred, from its left end) at user point (x, y) begins, in pixels.
  static Pt centred(double x, double y, std::size_t n) {
    return {kOx + kScale * x - 2.5 * static_cast<double>(n), kOy + kScale * y};
  }
  static Pt from_left(double x, double y) {
    return {kOx + kScale * x, kOy + kScale * y - text_height_px() / 2.0};
  }
  static Pt to_right(double x, double y, std::size_t n) {
    return {kOx + kScale * x - 5.0 * static_cast<double>(n),
            kOy + kScale * y - text_height_px() / 2.0};
  }
};

void expect_at(const Shown& t, const Pt& p, const std::string& text) {
  EXPECT_EQ(t.text, text);
  EXPECT_NEAR(t.x, p.first, 5e-3) << text;
  EXPECT_NEAR(t.y, p.second, 5e-3) << text;
  EXPECT_EQ(t.angle, 0.0) << text;
}

TEST_F(Frame, DefaultsOnTheNorthUpNet) {
  repstereo();
  const Drawn d = drawn();
  ASSERT_EQ(d.paths.size(), 43u);  // circle, two diameters, 40 ticks
  // The circle: 200 points of radius 1 about the origin, closed.
  const auto circle = user(d.paths[0].pts);
  EXPECT_EQ(circle.size(), 200u);
  for (const auto& p : circle) EXPECT_NEAR(std::hypot(p.first, p.second), 1.0, 1e-5);
  EXPECT_NEAR(dist(circle.front(), circle.back()), 0.0, 1e-5);
  // The diameters, horizontal first.
  const std::vector<Pt> h = user(d.paths[1].pts), v = user(d.paths[2].pts);
  ASSERT_EQ(h.size(), 2u);
  ASSERT_EQ(v.size(), 2u);
  EXPECT_NEAR(dist(h[0], {-1, 0}), 0, 1e-6);
  EXPECT_NEAR(dist(h[1], {1, 0}), 0, 1e-6);
  EXPECT_NEAR(dist(v[0], {0, -1}), 0, 1e-6);
  EXPECT_NEAR(dist(v[1], {0, 1}), 0, 1e-6);
  // North above the circle, East right of it; no corner label.
  ASSERT_EQ(d.texts.size(), 2u);
  expect_at(d.texts[0], centred(0.0, 1.1, 5), "North");
  expect_at(d.texts[1], from_left(1.1, 0.0), "East");
}

TEST_F(Frame, TicksEveryTenDegreesThoseOnTheAxesTwice) {
  repstereo();
  const Drawn d = drawn();
  std::map<int, int> count;
  for (std::size_t k = 3; k < d.paths.size(); ++k) {
    const auto t = user(d.paths[k].pts);
    ASSERT_EQ(t.size(), 2u);
    const double r0 = std::hypot(t[0].first, t[0].second);
    const double r1 = std::hypot(t[1].first, t[1].second);
    EXPECT_NEAR(r0, 1.02, 1e-5);
    EXPECT_NEAR(r1, 1.08, 1e-5);
    const double a0 = std::atan2(t[0].second, t[0].first) * 180.0 / M_PI;
    const double a1 = std::atan2(t[1].second, t[1].first) * 180.0 / M_PI;
    EXPECT_NEAR(a0, a1, 1e-3);  // radial
    const double deg = std::fmod(a0 + 360.0, 360.0);
    const int ten = static_cast<int>(std::lround(deg / 10.0)) % 36;
    EXPECT_NEAR(deg, 10.0 * ten + (ten == 0 && deg > 350 ? 360 : 0), 1e-3);
    ++count[ten * 10];
  }
  ASSERT_EQ(count.size(), 36u);
  for (const auto& [angle, n] : count) EXPECT_EQ(n, angle % 90 == 0 ? 2 : 1) << angle;
  // The first base angle's eight ticks come in the stated order: 0, 90, 180, 270 (the ticks
  // at a, 90 - a, 180 - a, 270 + a for a = 0).
  const double first[4] = {0, 90, 180, 270};
  for (int k = 0; k < 4; ++k) {
    const auto t = user(d.paths[3 + static_cast<std::size_t>(k)].pts);
    const double a = std::fmod(std::atan2(t[0].second, t[0].first) * 180.0 / M_PI + 360.0, 360.0);
    EXPECT_NEAR(std::fmod(a + 0.5, 360.0) - 0.5, first[k], 1e-3) << k;
  }
}

TEST_F(Frame, DirectNetPutsNorthOnTheXAxis) {
  use_projection(3);
  log_->clear();
  repstereo();
  const Drawn d = drawn();
  ASSERT_EQ(d.texts.size(), 2u);
  expect_at(d.texts[0], from_left(1.1, 0.0), "North");
  expect_at(d.texts[1], centred(0.0, 1.1, 4), "East");
  // The same on the Wulff nets.
  for (int code : {1, 2}) {
    use_projection(code);
    log_->clear();
    repstereo();
    const Drawn w = drawn();
    ASSERT_EQ(w.texts.size(), 2u);
    EXPECT_EQ(w.paths.size(), 43u);
    expect_at(w.texts[0], code == 1 ? from_left(1.1, 0.0) : centred(0.0, 1.1, 5), "North");
  }
}

TEST_F(Frame, LabelsOnlyWhenAsked) {
  stefram2.llabel[0] = 0;
  repstereo();
  Drawn d = drawn();
  ASSERT_EQ(d.texts.size(), 1u);
  EXPECT_EQ(d.texts[0].text, "East");
  // Flags count only when they hold 1.
  stefram2.llabel[1] = 2;
  log_->clear();
  repstereo();
  EXPECT_TRUE(drawn().texts.empty());
}

TEST_F(Frame, OnlyTheCircleWithoutAxesAndTicks) {
  stefram2.laxis = 0;
  stefram2.ltics = 0;
  repstereo();
  const Drawn d = drawn();
  EXPECT_EQ(d.paths.size(), 1u);
  EXPECT_EQ(d.texts.size(), 2u);
}

TEST_F(Frame, CornerLabelsUseTenCharacters) {
  for (int k = 0; k < 6; ++k) {
    stefram2.llabel[k] = 1;
    stefram2.label[k] = "ABCDEFGHIJKLMNO";
  }
  repstereo();
  const Drawn d = drawn();
  ASSERT_EQ(d.texts.size(), 6u);
  expect_at(d.texts[0], centred(0.0, 1.1, 15), "ABCDEFGHIJKLMNO");
  expect_at(d.texts[1], from_left(1.1, 0.0), "ABCDEFGHIJKLMNO");
  expect_at(d.texts[2], from_left(0.5, 1.0), "ABCDEFGHIJ");
  expect_at(d.texts[3], from_left(0.5, -1.0), "ABCDEFGHIJ");
  expect_at(d.texts[4], to_right(-0.5, -1.0, 10), "ABCDEFGHIJ");
  expect_at(d.texts[5], to_right(-0.5, 1.0, 10), "ABCDEFGHIJ");
}

TEST_F(Frame, TextAngleAndAlignmentGivenBack) {
  plot::plt2blk.textangle = 25.0f;
  plot::plt2blk.textalign = 9;
  Console con;
  repstereo();
  EXPECT_EQ(plot::plt2blk.textangle, 25.0f);
  EXPECT_EQ(plot::plt2blk.textalign, 9);
  for (const auto& t : drawn().texts) EXPECT_EQ(t.angle, 0.0);
  EXPECT_EQ(con.text(), "");
  // Also when nothing is labelled.
  stefram2.llabel[0] = stefram2.llabel[1] = 0;
  plot::plt2blk.textalign = -10;
  repstereo();
  EXPECT_EQ(plot::plt2blk.textalign, -10);
  EXPECT_EQ(plot::plt2blk.textangle, 25.0f);
}

ex::Lines frame_menu(const std::string& corner_flags, const std::string& corner_text) {
  ex::Lines l = ex::join({ex::head("srepstereo0"),
                          {ex::rule('-'), " STEREO FRAME PARAMETERS", ex::rule('-'),
                           " position   :     label     :?:command",
                           " X axis     :North          :T:..1",
                           " Y axis     :East           :T:..2"}});
  const char* names[4] = {"Upper Right", "Lower Right", "Lower Left ", "Upper Left "};
  for (int k = 0; k < 4; ++k) {
    l.push_back(std::string(" ") + names[k] + ":" + ex::padded(corner_text, 15) + ":" +
                corner_flags[static_cast<std::size_t>(k)] + ":.." + std::to_string(k + 3));
  }
  ex::append(l, {" nb of points to draw ..........10     200",
                 " draw axis......................20 T", " draw tics......................30 T",
                 ex::rule('-'), " EXIT ..........................99", ex::rule('@')});
  return l;
}

TEST_F(Frame, SettingsInitialiseAndShowTheMenu) {
  {
    Console con;
    stefram2 = Stefram2{};
    srepstereo0(5);
    EXPECT_EQ(split_lines(con.text()),
              ex::join({ex::head("srepstereo0"), {" INITIALIZING STEREO FRAME"}}));
    EXPECT_EQ(stefram2.npcirc, 200);
    EXPECT_EQ(stefram2.label[1].str(), "East           ");
    EXPECT_EQ(stefram2.label[5].str(), "None           ");
  }
  {
    // Odd modes other than the initialising ones change and print nothing.
    stefram2.label[3] = "Mine";
    stefram2.llabel[3] = 1;
    Console con;
    srepstereo0(1);
    srepstereo0(3);
    EXPECT_EQ(con.text(), "");
    EXPECT_EQ(stefram2.label[3].str(), "Mine           ");
  }
  {
    // Mode 6 resets the corner labels only, then shows the menu.
    stefram2.npcirc = 200;
    stefram2.label[0] = "North";
    Console con("99\n");
    srepstereo0(6);
    EXPECT_EQ(stefram2.label[3].str(), "None           ");
    EXPECT_EQ(stefram2.llabel[3], 0);
    const auto lines = split_lines(con.text());
    EXPECT_EQ(find_sequence(lines, frame_menu("FFFF", "None")), 0);
    EXPECT_NE(find_sequence(lines, {" Enter your choice", " or return for default value",
                                    " Default =           99", " New value =            99"}),
              -1);
  }
}

TEST_F(Frame, MenuEditsTheFlagsAndTheCount) {
  Console con("20\nn\n30\nn\n10\n10\n0\n1001\n1000\n99\n99\n");
  srepstereo0(2);
  EXPECT_EQ(stefram2.laxis, 0);
  EXPECT_EQ(stefram2.ltics, 0);
  EXPECT_EQ(stefram2.npcirc, 1000);
  const auto lines = split_lines(con.text());
  EXPECT_NE(find_sequence(lines, {" draw axis......................20 F",
                                  " draw tics......................30 F"}),
            -1);
  EXPECT_NE(find_sequence(lines, ex::join({ex::head("srepstereon"),
                                           {ex::rule('-'),
                                            " STEREO FRAME NUMBER OF POINT:" + std::string(14, ' '),
                                            ex::rule('-'),
                                            " nb of points to draw ..........10   200",
                                            ex::rule('-'),
                                            " EXIT ..........................99",
                                            ex::rule('@')}})),
            -1);
}

TEST_F(Frame, LabelNumberOutsideTheTableIsReset) {
  Console con("99\n");
  frame::Text<35> text("ignored");
  int idraw = 1;
  int ilabel = 0;
  srepstereolabel1(text, idraw, ilabel, 1);
  EXPECT_EQ(ilabel, 6);
  EXPECT_EQ(idraw, 0);  // loaded from label 6
  EXPECT_EQ(text.str(), ex::padded("None", 35));
  ex::Lines want = ex::error_head("srepstereol");
  ex::append(want, {" label number =    0", " label number must be in [1,6]",
                    " ==> label number reset to =    6", ex::rule('*')});
  ex::append(want, ex::head("srepstereol"));
  ex::append(want, {ex::rule('-'), " STEREO FRAME LABELS", ex::rule('-'),
                    " label position        : Upper Left ", " label index...........1    6",
                    " label text............2 " + ex::padded("None", 35),
                    " draw label (0/1)......3    0", ex::rule('-'), " EXIT ................99",
                    ex::rule('@')});
  const auto lines = split_lines(con.text());
  EXPECT_EQ(find_sequence(lines, want), 0);
  // Label 7 the same way.
  Console con2("99\n");
  ilabel = 7;
  srepstereolabel1(text, idraw, ilabel, 3);
  EXPECT_EQ(ilabel, 6);
}

TEST_F(Frame, BadDrawFlagIsReportedAndTheCallersTextStored) {
  Console con("99\n");
  frame::Text<35> text("Strike");
  int idraw = 2;
  int ilabel = 4;
  srepstereolabel1(text, idraw, ilabel, 0);
  EXPECT_EQ(idraw, 0);
  EXPECT_EQ(stefram2.label[3].str(), "Strike         ");
  EXPECT_EQ(stefram2.llabel[3], 0);
  ex::Lines want = ex::error_head("srepstereol");
  ex::append(want, {" draw or not (0/1) =    2", " should be in [0,1]", " ==>reset to =    0",
                    ex::rule('*')});
  EXPECT_EQ(find_sequence(split_lines(con.text()), want), 0);
}

TEST_F(Frame, LabelEditorStoresAtTheNumberShown) {
  // A new number does not reload the text: what is on display goes to the new number.
  Console con("2\nA very long label text\n3\n1\n1\n5\n99\n");
  frame::Text<35> text;
  int idraw = 0;
  int ilabel = 3;
  srepstereolabel1(text, idraw, ilabel, 2);
  EXPECT_EQ(ilabel, 5);
  EXPECT_EQ(stefram2.label[4].str(), "A very long lab");
  EXPECT_EQ(stefram2.llabel[4], 1);
  EXPECT_EQ(stefram2.label[2].str(), "None           ");
  EXPECT_EQ(stefram2.llabel[2], 0);
}

TEST_F(Frame, LabelDefaultsAndSilentStore) {
  Console con;
  frame::Text<35> text("x");
  int idraw = 0;
  int ilabel = 2;
  srepstereolabel1(text, idraw, ilabel, 5);
  EXPECT_EQ(idraw, 1);
  EXPECT_EQ(text.str(), ex::padded("East", 35));
  EXPECT_EQ(split_lines(con.text()),
            ex::join({ex::head("srepstereol"), {" INITIALIZING STEREO FRAME LABEL"}}));
  con.clear();
  text = "Up";
  idraw = 1;
  ilabel = 3;
  srepstereolabel1(text, idraw, ilabel, 1);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(stefram2.label[2].str(), "Up             ");
  EXPECT_EQ(stefram2.llabel[2], 1);
}

TEST_F(Frame, PointCountSettings) {
  Console con;
  int np = 17;
  srepstereonp(np, 1);
  EXPECT_EQ(stefram2.npcirc, 17);
  EXPECT_EQ(con.text(), "");
  srepstereonp(np, 5);
  EXPECT_EQ(np, 200);
  EXPECT_EQ(split_lines(con.text()),
            ex::join({ex::head("srepstereon"), {" INITIALIZING STEREO FRAME: number of points"}}));
}

}  // namespace
}  // namespace korbast::focal::test
