// The plot attributes menu and the initialising modes: what a window opening resets, what the
// full reset does with the window closed, and the menu with the window closed and open.
#include <cstring>

#include "plot/attributes.hpp"
#include "plot/colortable.hpp"
#include "plot/life_cycle.hpp"
#include "plot/plotparam.hpp"
#include "plot_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using namespace korbast::testing::expected;

const Lines kMenuTop = {rule('-'),
                        "          SETTING PLOT ATTRIBUTES",
                        rule('-'),
                        " GET SETTINGS",
                        "  from currently stored..... 1 T",
                        "  from initialisation....... 1 F",
                        rule('-'),
                        " COLOR TABLE:",
                        "  nb of color ..............50",
                        "  rgb values ...............51",
                        "  color table ..............52"};
const Lines kClosedPart = {" THE PLOT IS CLOSED:", "  => OTHER SETTINGS WILL BE RESET",
                           "     UPON PLOT OPENING", rule('-'), " EXIT THIS SET UP  .........99",
                           rule('@')};
const Lines kOpenPart = {" LINE ATTRIBUTES:",
                         "  thickness ................10",
                         "  style ....................11",
                         "  color ....................12",
                         " POLYGON FILL ATTRIBUTES:",
                         "  interior style ...........20",
                         "  interior color ...........21",
                         " TEXT ATTRIBUTES:",
                         "  font .....................30",
                         "  size .....................31",
                         "  justification ............32",
                         "  angle ....................33",
                         "  color ....................34",
                         " SYMBOL ATTRIBUTES:",
                         "  type .....................40",
                         "  size .....................41",
                         rule('-'),
                         " EXIT THIS SET UP  .........99",
                         rule('@')};

class PlotParam : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    dialog_without_pauses();
  }
  void open_window() {
    frame::iocom.plot_open = true;
    windevsize = {0, 0, 1112, 786, 1, 35.43307f};
    open_log_window({0, 0, 1112, 786}, 1112 / 29.7f);
  }
};

TEST_F(PlotParam, WindowOpeningModeWithTheWindowClosed) {
  plt1blk.isub = 9;
  plt2blk.textheight = 3.0f;
  Console con;
  splotparam2(7);
  EXPECT_EQ(split_lines(con.text()),
            join({head("splotparam2"),
                  {" INITIALIZING PLOT PARAMETERS", " INITIALIZING SUBPLOT SCALING",
                   "  1: CM <-> DE: untouched (plot file closed)", "  2: US <-> CM unchanged",
                   "     US <-> DE: untouched (plot file closed)"},
                  head("ssubplot"),
                  {" INITIALISING SUBPLOT =  1"}}));
  EXPECT_EQ(plt1blk.isub, 1);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 3.0f);
}

TEST_F(PlotParam, WindowOpeningModeResetsEveryAttributeInOrder) {
  open_window();
  plt1blk.devscale = 0.0f;
  plt1blk.ustocm[4][0][0] = 2.0f;  // subplot 5: 2 cm per user unit in x, origin (1, 3) cm
  plt1blk.ustocm[4][1][1] = 1.0f;
  plt1blk.us0tocm[4][0] = 1.0f;
  plt1blk.us0tocm[4][1] = 3.0f;
  plt2blk.thickness = 0.3f;
  plt2blk.textheight = 2.0f;
  plt2blk.textalign = 5;
  plt2blk.linecolor = 4;
  plt2blk.fillcolor = 2;
  plt2blk.fillstyle = 0;
  plt2blk.symbolsize = 1.0f;
  plt2blk.symboltype = 12;
  plt2blk.red[3] = 7.0f;
  Console con;
  splotparam2(7);
  const auto out = split_lines(con.text());
  EXPECT_EQ(find_sequence(out, join({head("splotparam2"),
                                     {" INITIALIZING PLOT PARAMETERS",
                                      " INITIALIZING SUBPLOT SCALING", "  1: CM <-> DE",
                                      "  2: US <-> CM unchanged", "     US <-> DE"},
                                     head("ssubplot"),
                                     {" INITIALISING SUBPLOT =  1"}})),
            0)
      << con.text();
  // The twelve setters in their order, each with its initialising frame left open.
  std::vector<std::string> order;
  for (const auto& l : out)
    if (l.rfind(" @ subroutine ", 0) == 0) order.push_back(l.substr(14));
  EXPECT_EQ(order, (Lines{"splotparam2", "ssubplot   ", "slinewidth ", "slinecolor ",
                          "stextsize  ", "stextfont  ", "stextangle ", "stextalign ",
                          "stextcolor ", "sfillstyle ", "sfillcolor ", "ssymbolsize",
                          "ssymboltype"}));
  EXPECT_EQ(count(out, rule('@')), 13);  // one per head, no tails
  EXPECT_EQ(con.text().find("WARNING"), std::string::npos);

  EXPECT_FLOAT_EQ(plt1blk.devscale, 1112 / 29.7f);
  EXPECT_FLOAT_EQ(plt1blk.ustode[4][0][0], 2.0f * plt1blk.devscale);
  EXPECT_FLOAT_EQ(plt1blk.us0tode[4][1], 3.0f * plt1blk.devscale);
  EXPECT_EQ(plt1blk.isub, 1);
  EXPECT_FLOAT_EQ(plt2blk.thickness, 0.02f);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.5f);
  EXPECT_EQ(plt2blk.textalign, -1);
  EXPECT_EQ(plt2blk.textfont, 1);
  EXPECT_EQ(plt2blk.linecolor, 1);
  EXPECT_EQ(plt2blk.textcolor, 1);
  EXPECT_EQ(plt2blk.fillcolor, 8);
  EXPECT_EQ(plt2blk.fillstyle, 1);
  EXPECT_FLOAT_EQ(plt2blk.symbolsize, 0.4f);
  EXPECT_EQ(plt2blk.symboltype, 1);
  EXPECT_FLOAT_EQ(plt2blk.red[3], 7.0f);  // the colour table stays
  // The device got the line width and the font of the defaults.
  bool width = false, font = false;
  for (const auto& l : log_lines()) {
    width = width || l.rfind("line_width ", 0) == 0;
    font = font || l.rfind("font ", 0) == 0;
  }
  EXPECT_TRUE(width);
  EXPECT_TRUE(font);
}

TEST_F(PlotParam, FullResetWithTheWindowClosed) {
  plt1blk.isub = 4;
  plt1blk.us0tocm[20][0] = 99.0f;
  plt1blk.ustocm[20][1][0] = 5.0f;
  plt2blk.red[3] = 7.0f;
  plt2blk.ncolors = 4;
  plt2blk.textheight = 3.0f;
  Console con;
  splotparam2(5);
  const auto out = split_lines(con.text());
  EXPECT_EQ(find_sequence(out, join({head("trigoset"),
                                     {" Initializing /trig/ block",
                                      " Initializing /anglerad/ block"},
                                     head("splotparam2"),
                                     {" INITIALIZING PLOT PARAMETERS",
                                      " INITIALIZING SUBPLOT SCALING",
                                      "  1: CM <-> DE: untouched (plot file closed)",
                                      "  2: US <-> CM",
                                      "     US <-> DE: untouched (plot file closed)"},
                                     head("ssubplot"),
                                     {" INITIALISING SUBPLOT =  1"}})),
            0)
      << con.text();
  EXPECT_GE(find_sequence(out, join({head("scolortable"), {" INITIALIZING COLOR TABLE:"}})), 0);
  EXPECT_EQ(plt1blk.isub, 1);
  for (int k = 0; k < kSubplots; ++k) {
    EXPECT_FLOAT_EQ(plt1blk.us0tocm[k][0], 10.0f);
    EXPECT_FLOAT_EQ(plt1blk.ustocm[k][0][0], 1.0f);
    EXPECT_FLOAT_EQ(plt1blk.ustocm[k][1][0], 0.0f);
  }
  EXPECT_EQ(plt2blk.ncolors, 12);
  EXPECT_FLOAT_EQ(plt2blk.red[3], 0.0f);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 3.0f);  // no window: the attributes wait for one
  EXPECT_EQ(con.text().find("slinewidth"), std::string::npos);
}

TEST_F(PlotParam, OddModesOfNoMeaningDoNothing) {
  Console con;
  splotparam2(1);
  splotparam2(3);
  splotparam2(11);
  EXPECT_EQ(con.text(), "");
}

TEST_F(PlotParam, MenuWithTheWindowClosed) {
  // 10..50 do nothing while closed; 52 shows the colour table; 99 leaves.
  Console con("10\n31\n50\n52\n99\n\n");
  const Plt2blk before = plt2blk;
  splotparam2(0);
  const auto out = split_lines(con.text());
  const Lines menu = join({head("splotparam2"), kMenuTop, kClosedPart});
  EXPECT_EQ(find_sequence(out, menu), 0) << con.text();
  int menus = 0;
  for (std::size_t at = 0;; ++menus) {
    const int k = find_sequence(out, menu, at);
    if (k < 0) break;
    at = static_cast<std::size_t>(k) + 1;
  }
  EXPECT_EQ(menus, 5);
  EXPECT_GE(find_sequence(out, join({head("scolortable"), {" SETTING COLOR TABLE"}})), 0);
  EXPECT_EQ(con.text().find("LINE ATTRIBUTES"), std::string::npos);
  EXPECT_EQ(std::memcmp(&before, &plt2blk, sizeof before), 0);
}

TEST_F(PlotParam, MenuWithTheWindowOpenStartsTheSetters) {
  open_window();
  plt2blk.linecolor = 5;
  // 1: no (from initialisation), then 12: the line colour menu starts from colour 1.
  Console con("12\n\n1\nn\n12\n\n99\n");
  splotparam2(0);
  const auto out = split_lines(con.text());
  EXPECT_EQ(find_sequence(out, join({head("splotparam2"), kMenuTop, kOpenPart})), 0)
      << con.text();
  const int first = find_sequence(out, {" current value:      5", " new     value:      5"});
  EXPECT_GE(first, 0);
  EXPECT_GE(find_sequence(out, {"  from currently stored..... 1 F",
                                "  from initialisation....... 1 T"}),
            0);
  EXPECT_GT(find_sequence(out, {" current value:      5", " new     value:      1"}), first);
  EXPECT_EQ(plt2blk.linecolor, 1);
}

TEST_F(PlotParam, ColourChoiceListsTheTableAndRefusesTheBackground) {
  plt2blk.ncolors = 4;
  // 51: the table of colours 0..4; 0 and 5 are refused, 3 is edited (cancelled); then 99.
  Console con("51\n0\n5\n3\n98\n99\n");
  splotparam2(0);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {rule('-'), " |index|      name|   red% | green% |  blue% |",
                                " |   0 |White-bk  |  100.0 |  100.0 |  100.0 |",
                                " |   1 |Black     |    0.0 |    0.0 |    0.0 |",
                                " |   2 |Red       |   50.0 |    0.0 |    0.0 |",
                                " |   3 |Green     |    0.0 |   50.0 |    0.0 |",
                                " |   4 |Blue      |    0.0 |    0.0 |   50.0 |", rule('-'),
                                ex::dots(), " Enter index of color to modify",
                                " inside  [1,4]"}),
            0)
      << con.text();
  EXPECT_EQ(count(out, " outside [1,4]"), 2);
  EXPECT_GE(find_sequence(out, {" color index ...................10   3"}), 0);
  EXPECT_FLOAT_EQ(plt2blk.green[3], 50.0f);
}

TEST_F(PlotParam, ColourChoiceFromInitialisationResetsTheFirstEntries) {
  plt2blk.red[2] = 50.0f;
  Console con("1\nn\n51\n2\n99\n99\n");
  splotparam2(0);
  EXPECT_NE(con.text().find(" INITIALIZING RGB: 4 COLORS + BKG\n"), std::string::npos);
  EXPECT_FLOAT_EQ(plt2blk.red[2], 100.0f);
}

TEST_F(PlotParam, MenuBodyOnlyWithMoreOutput) {
  frame::iocom.lwito(2) = false;
  Console con("\n");
  splotparam2(0);
  EXPECT_EQ(split_lines(con.text()),
            join({head("splotparam2"), {" Enter your choice", " New value =            99"}}));
}

TEST_F(PlotParam, OpeningTheWindowResetsWhatTheMenuSet) {
  // A whole opening through the life cycle: settings and title questions, then mode 7.
  Console con("\n\n");
  plt2blk.symboltype = -5;
  plinit("seis.ps", 2);
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_EQ(plt2blk.symboltype, 1);
  EXPECT_EQ(con.text().find("WARNING"), std::string::npos);
}

}  // namespace
}  // namespace korbast::plot::test
