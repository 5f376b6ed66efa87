// The device drawing primitives through the logging device: the pen-path state machine,
// polylines and polygons with their colours, text placement, line width and font size.
#include "plot/primitives.hpp"

#include "plot_fixture.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using Lines = std::vector<std::string>;

class Primitives : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    plt2blk.linecolor = 2;   // red 50 %
    plt2blk.fillcolor = 8;   // grey 80 %
    plt2blk.textcolor = 4;   // blue 50 %
    plt2blk.fillstyle = 1;
    plt2blk.textheight = 0.5f;
    plt2blk.textalign = -1;
    open_log_window({0, 0, 600, 800});
    log_->set_font_size(14.173228);
    log_->clear();
  }
};

const std::string kRed = "stroke_rgb 0.50,0.00,0.00";

TEST_F(Primitives, PenPathIsStrokedByTheNextMove) {
  Console con;
  deplot(1, 2, 0);
  deplot(3, 4, 1);
  deplot(5, 6, 1);
  deplot(7, 8, 0);
  deplot(9, 10, 1);
  EXPECT_EQ(log_lines(), (Lines{kRed, "begin", "move 1.000 2.000", "line 3.000 4.000",
                                "line 5.000 6.000", "stroke rgb=0.50,0.00,0.00 w=1.000", "sync",
                                kRed, "begin", "move 7.000 8.000", "line 9.000 10.000"}));
  EXPECT_EQ(view.pathopen, 1);
  EXPECT_EQ(con.text(), "");
  log_->clear();
  endpath();
  EXPECT_EQ(log_lines(), (Lines{"stroke rgb=0.50,0.00,0.00 w=1.000", "sync"}));
  EXPECT_EQ(view.pathopen, 0);
}

TEST_F(Primitives, DrawWithoutMoveWarnsAndStartsAtThePoint) {
  Console con("\n");
  deplot(4, 5, 1);
  deplot(6, 7, 1);
  EXPECT_EQ(log_lines(),
            (Lines{kRed, "begin", "move 4.000 5.000", "line 4.000 5.000", "line 6.000 7.000"}));
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" Path begins with Draw instead of Move",
                                " => Start new path at current point"}),
            0)
      << con.text();
  EXPECT_NE(con.text().find("deplot.vk"), std::string::npos);
}

TEST_F(Primitives, OtherPenCodesWarnAndKeepTheOpenPath) {
  deplot(1, 1, 0);
  log_->clear();
  Console con("\n\n");
  deplot(2, 2, 2);
  deplot(3, 3, -1);
  EXPECT_TRUE(log_lines().empty());
  EXPECT_EQ(view.pathopen, 1);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" deplot called with ipen =      2", " => NO ACTION"}), 0) << con.text();
  EXPECT_GE(find_sequence(out, {" deplot called with ipen =     -1", " => NO ACTION"}), 0);
}

TEST_F(Primitives, BlackAndWhiteSetsNoColour) {
  plt2blk.colormode = 0;
  const float x[3] = {1, 2, 3};
  const float y[3] = {4, 5, 6};
  deplot(1, 1, 0);
  deline(x, y, 3);
  depolygon(x, y, 3);
  detext2(10, 10, "AB");
  for (const auto& l : log_lines()) {
    EXPECT_EQ(l.rfind("stroke_rgb", 0), std::string::npos) << l;
    EXPECT_EQ(l.rfind("fill_rgb", 0), std::string::npos) << l;
  }
}

TEST_F(Primitives, LineOfOneTwoAndManyPoints) {
  const float x[3] = {10, 20, 30};
  const float y[3] = {1, 2, 3};
  deline(x, y, 1);
  EXPECT_EQ(log_lines(), (Lines{kRed, "begin", "move 10.000 1.000", "line 10.000 1.000",
                                "stroke rgb=0.50,0.00,0.00 w=1.000", "sync"}));
  log_->clear();
  deline(x, y, 3);
  EXPECT_EQ(log_lines(), (Lines{kRed, "begin", "move 10.000 1.000", "line 20.000 2.000",
                                "line 30.000 3.000", "stroke rgb=0.50,0.00,0.00 w=1.000", "sync"}));
  log_->clear();
  deline(x, y, 0);  // nothing visible: the first point alone
  EXPECT_EQ(log_lines(), (Lines{kRed, "begin", "move 10.000 1.000",
                                "stroke rgb=0.50,0.00,0.00 w=1.000", "sync"}));
}

TEST_F(Primitives, LineStrokesAPendingPenPathFirst) {
  deplot(0, 0, 0);
  deplot(1, 1, 1);
  log_->clear();
  const float x[2] = {5, 6};
  const float y[2] = {5, 6};
  deline(x, y, 2);
  EXPECT_EQ(log_lines()[0], "stroke rgb=0.50,0.00,0.00 w=1.000");
  EXPECT_EQ(log_lines()[1], "sync");
  EXPECT_EQ(view.pathopen, 0);
}

TEST_F(Primitives, PolygonHollowAndFilled) {
  const float x[3] = {0, 10, 5};
  const float y[3] = {0, 0, 8};
  plt2blk.fillstyle = 0;
  depolygon(x, y, 3);
  EXPECT_EQ(log_lines(), (Lines{kRed, "begin", "move 0.000 0.000", "line 10.000 0.000",
                                "line 5.000 8.000", "close", "stroke rgb=0.50,0.00,0.00 w=1.000",
                                "sync"}));
  log_->clear();
  plt2blk.fillstyle = 1;
  depolygon(x, y, 3);
  EXPECT_EQ(log_lines(),
            (Lines{kRed, "fill_rgb 0.80,0.80,0.80", "begin", "move 0.000 0.000",
                   "line 10.000 0.000", "line 5.000 8.000", "close",
                   "fill_stroke fill=0.80,0.80,0.80 rgb=0.50,0.00,0.00 w=1.000", "sync"}));
}

TEST_F(Primitives, LineWidthAndFontSize) {
  intslinewidth(0.3f);
  intslinewidth(2.5f);
  intstextsize(0.5f);  // devscale 35.43307
  EXPECT_EQ(log_lines(), (Lines{"line_width 1.000", "line_width 2.500", "font_size 14.173"}));
  EXPECT_NEAR(log_->font_size(), 14.173228, 1e-5);
  plt1blk.devscale = 1112 / 29.7f;  // set-up 1 on a 1920 x 1200 screen
  intstextsize(0.5f);
  EXPECT_NEAR(log_->font_size(), 14.976431, 1e-5);
}

TEST_F(Primitives, SettingsStrokeAPendingPathFirst) {
  deplot(0, 0, 0);
  log_->clear();
  intslinewidth(3.0f);
  EXPECT_EQ(log_lines(), (Lines{"stroke rgb=0.50,0.00,0.00 w=1.000", "sync", "line_width 3.000"}));
  deplot(0, 0, 0);
  log_->clear();
  intstextsize(0.5f);
  EXPECT_EQ(log_lines()[0], "stroke rgb=0.50,0.00,0.00 w=3.000");
}

// Text placement with the logging device's advance of half the font size (14.173) per
// character; the text height 0.5 cm is H = 17.717 pixels at devscale 35.43307.
struct TextCase {
  int align;
  float angle;
  const char* text;
  const char* expected;
};

TEST_F(Primitives, TextPlacementForAlignmentsAndAngles) {
  const TextCase cases[] = {
      {1, 0.0f, "AB", "text 100.000 50.000 a=0.000"},
      {-2, 0.0f, "  AB  ", "text 92.913 50.000 a=0.000"},   // trimmed: w = 14.173
      {2, 0.0f, "  AB  ", "text 78.740 50.000 a=0.000"},    // blanks count: w = 42.520
      {3, 0.0f, "AB", "text 85.827 50.000 a=0.000"},
      {5, 0.0f, "AB", "text 100.000 41.142 a=0.000"},       // e = H / 2
      {6, 0.0f, "AB", "text 92.913 41.142 a=0.000"},
      {-7, 0.0f, "AB", "text 85.827 41.142 a=0.000"},
      {9, 0.0f, "AB", "text 100.000 32.283 a=0.000"},       // e = H
      {-10, 0.0f, "AB", "text 92.913 32.283 a=0.000"},
      {11, 0.0f, "AB", "text 85.827 32.283 a=0.000"},
      {9, 90.0f, "AB", "text 117.717 50.000 a=1.571"},      // top-left: moved by H to +x
      {3, 90.0f, "AB", "text 100.000 35.827 a=1.571"},      // right end: moved down by w
      {1, -90.0f, "AB", "text 100.000 50.000 a=-1.571"},
  };
  for (const TextCase& c : cases) {
    plt2blk.textalign = c.align;
    plt2blk.textangle = c.angle;
    log_->clear();
    detext2(100, 50, c.text);
    std::string shown;
    for (const auto& l : log_lines())
      if (l.rfind("text ", 0) == 0) shown = l.substr(0, l.find(" s="));
    EXPECT_EQ(shown, c.expected) << "align " << c.align << " angle " << c.angle;
  }
}

TEST_F(Primitives, TextColourTrimmingAndMeasuring) {
  plt2blk.textalign = -2;
  detext2(100, 50, "  AB  ");
  EXPECT_EQ(log_lines(),
            (Lines{"stroke_rgb 0.00,0.00,0.50", "fill_rgb 0.00,0.00,0.50", "advance \"AB\" = 14.173",
                   "text 92.913 50.000 a=0.000 s=14.173 fill=0.00,0.00,0.50 \"AB\"", "sync"}));
  log_->clear();
  plt2blk.textalign = -1;
  detext2(1, 1, "   ");  // all blank: its last character alone
  EXPECT_EQ(log_lines()[2], "text 1.000 1.000 a=0.000 s=14.173 fill=0.00,0.00,0.50 \" \"");
  log_->clear();
  plt2blk.textalign = 1;
  detext2(1, 1, std::string(250, 'x'));
  EXPECT_NE(log_lines()[2].find("\"" + std::string(199, 'x') + "\""), std::string::npos);
  EXPECT_EQ(log_lines()[2].find(std::string(200, 'x')), std::string::npos);
}

TEST_F(Primitives, TextStrokesAPendingPathFirst) {
  deplot(0, 0, 0);
  log_->clear();
  detext2(1, 1, "A");
  EXPECT_EQ(log_lines()[0], "stroke rgb=0.50,0.00,0.00 w=1.000");
  EXPECT_EQ(view.pathopen, 0);
}

TEST_F(Primitives, NothingHappensWithoutAWindow) {
  view = View{};
  Console con;
  const float x[2] = {1, 2};
  deplot(1, 1, 0);
  deplot(1, 1, 1);
  deplot(1, 1, 5);
  deline(x, x, 2);
  depolygon(x, x, 2);
  detext2(1, 1, "A");
  intslinewidth(2);
  intstextsize(0.5f);
  endpath();
  EXPECT_TRUE(log_lines().empty());
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(view.pathopen, 0);
}

}  // namespace
}  // namespace korbast::plot::test
