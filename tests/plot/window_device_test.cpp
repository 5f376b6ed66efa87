// The window device: the settings file, the set-up dialog, the window rectangles and the
// tables of the opening and of the white page, through the logging device.
#include "plot/window_device.hpp"
#include "plot_fixture.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;

const fs::path kSettings = "vomek1_ini_u.txt";

class WindowDevice : public PlotTest {
 protected:
  // Opens the window with these answers; gives the console text.
  std::string open(const std::string& answers, int idev = 2, const char* name = "seis.ps") {
    Console con(answers);
    intplinit(name, idev);
    return con.text();
  }
  std::string window_line() const {
    for (const auto& l : log_lines())
      if (l.rfind("window ", 0) == 0) return l;
    return "<no window>";
  }
  bool logged(const std::string& line) const {
    for (const auto& l : log_lines())
      if (l == line) return true;
    return false;
  }
};

TEST_F(WindowDevice, MissingFileMeansFitPortraitWithAliasingAndIsCreated) {
  const auto out = split_lines(open("\n\n"));
  EXPECT_GE(find_sequence(out, {"              Default Settings:",
                                " -------------------------------------------",
                                " Page setup = Fit Portrait A4          ",
                                " Aliasing on",
                                " -------------------------------------------"}),
            0);
  EXPECT_GE(find_sequence(out, {" -------------------------------------------",
                                " vomek1_ini_u.txt updated or created",
                                " -------------------------------------------"}),
            0);
  EXPECT_EQ(read_file(kSettings), " 1 1\n    \n");
  EXPECT_EQ(read_file(kSettings).size(), 10u);
  EXPECT_EQ(window_line(), "window 44 1134 1156 1920 \"VK Fit A4P\" page=\"seis.ps\" scale=37.441 portrait");
  EXPECT_TRUE(logged("context aa=1"));
  EXPECT_EQ(windevsize.isetup, 1);
  EXPECT_FLOAT_EQ(windevsize.pxpcm, 35.43307f);
  EXPECT_EQ(view.context, log_.get());
  EXPECT_EQ(view.pathopen, 0);
}

TEST_F(WindowDevice, TheOpeningTables) {
  const auto out = split_lines(open("\n\n"));
  const std::string bar = " |-------------------------------------------------|";
  const std::string rule51 = " ---------------------------------------------------";
  EXPECT_GE(find_sequence(out, {" -------------------------------------------",
                                " OPENING QUARTZ WINDOW"}),
            0);
  EXPECT_GE(find_sequence(out, {rule51,
                                " |                                Bounds in pixels:|",
                                bar,
                                " |                   Domain|  Top|Botto| Left|Right|",
                                bar,
                                " |              Full screen|   0 |1200 |   0 |1920 |",
                                bar,
                                " | Requested Window content|  44 |1156 |1134 |1920 |",
                                bar,
                                " |  Obtained Window content|  44 |1156 |1134 |1920 |",
                                bar,
                                " |     Obtained Window Port|  44 |1156 |1134 |1920 |",
                                bar,
                                " |     Obtained Full Window|  44 |1156 |1134 |1920 |",
                                bar,
                                " |Obtained Window Title Bar|  44 |1156 |1134 |1920 |",
                                rule51,
                                " Obtained Window Content: Collapsed => 0 ?",
                                " Obtained Window Port   : Collapsed => not 0 ?",
                                " -------------------------------------------",
                                " Starting VK context"}),
            0);
}

TEST_F(WindowDevice, EmptyFirstLineIsSetupZeroWithoutAliasingAndIsKept) {
  write_file(kSettings, "\n");
  const std::string text = open("\n\n");
  const auto out = split_lines(text);
  EXPECT_GE(find_sequence(out, {" Page setup = Fit Portrait A4 + Full sc", " Aliasing off"}), 0);
  EXPECT_EQ(text.find("updated or created"), std::string::npos);
  EXPECT_EQ(read_file(kSettings), "\n");
  EXPECT_EQ(window_line(),
            "window 44 0 1156 1920 \"VK Fit A4P + Full width\" page=\"seis.ps\" scale=37.441 portrait");
  EXPECT_TRUE(logged("context aa=0"));
}

TEST_F(WindowDevice, HundredPercentPortraitFromTheFile) {
  write_file(kSettings, " 3 0\n");
  const std::string text = open("\n\n");
  EXPECT_NE(text.find(" Page setup = 100% Portrait A4         \n"), std::string::npos) << text;
  EXPECT_EQ(text.find("updated or created"), std::string::npos);
  EXPECT_EQ(read_file(kSettings), " 3 0\n");
  EXPECT_EQ(window_line(),
            "window 104 1176 1156 1920 \"VK 100% A4P\" page=\"seis.ps\" scale=35.433 portrait");
  EXPECT_TRUE(logged("context aa=0"));
}

TEST_F(WindowDevice, HundredPercentIsCutOnASmallScreen) {
  write_file(kSettings, " 3 1\n");
  log_->set_screen({0, 0, 768, 1024});
  open("\n\n");
  EXPECT_EQ(window_line(),
            "window 44 280 724 1024 \"VK 100% A4P\" page=\"seis.ps\" scale=35.433 portrait");
}

TEST_F(WindowDevice, CarriageReturnLineEndsAreRead) {
  write_file(kSettings, " 4 0\r\n    \r\n");
  open("\n\n");
  EXPECT_EQ(windevsize.isetup, 4);
  EXPECT_TRUE(logged("context aa=0"));
  EXPECT_EQ(read_file(kSettings), " 4 0\r\n    \r\n");
}

TEST_F(WindowDevice, UnreadableFilesMeanTheDefaultsAndAreRewritten) {
  for (const std::string bad : {" a 1\n", " 3 x\n", "", " - 0\n", " 3 \t\n", " 3 +\n"}) {
    write_file(kSettings, bad);
    log_->clear();
    const std::string text = open("\n\n");
    EXPECT_NE(text.find(" Page setup = Fit Portrait A4          \n"), std::string::npos) << bad;
    EXPECT_NE(text.find(" Aliasing on\n"), std::string::npos) << bad;
    EXPECT_NE(text.find(" vomek1_ini_u.txt updated or created\n"), std::string::npos) << bad;
    EXPECT_EQ(read_file(kSettings), " 1 1\n    \n") << bad;
    EXPECT_EQ(windevsize.isetup, 1) << bad;
    log_->window_dispose();
  }
}

// Links found at the temporary file's names are neither followed nor removed: the settings
// are made under the next free name and take their own.
TEST_F(WindowDevice, LinksAtTheTemporaryNamesAreLeftAlone) {
  write_file("elsewhere.txt", "not the settings\n");
  fs::create_symlink("elsewhere.txt", "vomek1_ini_u.txt.new");
  fs::create_symlink("absent.txt", "vomek1_ini_u.txt.new1");
  const std::string text = open("\n\n");
  EXPECT_NE(text.find(" vomek1_ini_u.txt updated or created\n"), std::string::npos) << text;
  EXPECT_FALSE(fs::is_symlink(kSettings));
  EXPECT_EQ(read_file(kSettings), " 1 1\n    \n");
  EXPECT_EQ(fs::read_symlink("vomek1_ini_u.txt.new"), "elsewhere.txt");
  EXPECT_EQ(fs::read_symlink("vomek1_ini_u.txt.new1"), "absent.txt");
  EXPECT_EQ(read_file("elsewhere.txt"), "not the settings\n");
  EXPECT_FALSE(fs::exists("absent.txt"));
  int names = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++names;
  EXPECT_EQ(names, 4);  // no temporary file left
}

TEST_F(WindowDevice, OnlyColumnsTwoAndFourCount) {
  write_file(kSettings, "x2\t1 and the rest\nsecond line ignored\n");
  open("\n\n");
  EXPECT_EQ(windevsize.isetup, 2);
  EXPECT_TRUE(logged("context aa=1"));
  write_file(kSettings, " 2");  // a short line: column 4 is blank, so 0
  log_->clear();
  open("\n\n");
  EXPECT_TRUE(logged("context aa=0"));
}

TEST_F(WindowDevice, AnsweringNoAndKeepingBothDefaultsRewritesTheFile) {
  write_file(kSettings, " 3 0\n");
  const auto out = split_lines(open("n\n\n\n\n"));
  EXPECT_GE(find_sequence(out, {" -------------------------------------------",
                                "        Updating Default Settings:",
                                "          N.B. 100% scale is for",
                                "           90 dpi or 0.28 pitch",
                                " -------------------------------------------",
                                " Page set up .................Command",
                                " Fit  Portrait  A4 + Full screen...0",
                                " Fit  Portrait  A4 ................1",
                                " Fit  Landscape A4.................2",
                                " 100% Portrait  A4.................3",
                                " 100% Landscape A4.................4",
                                " -------------------------------------------"}),
            0);
  EXPECT_GE(find_sequence(out, {" -------------------------------------------",
                                " Aliasing set up .............Command",
                                " Off ..............................0",
                                " On ...............................1",
                                " -------------------------------------------"}),
            0);
  EXPECT_EQ(read_file(kSettings), " 3 0\n    \n");
  EXPECT_EQ(windevsize.isetup, 3);
}

TEST_F(WindowDevice, AnsweringNoAndChoosingLandscape) {
  open("n\n2\n1\n\n");
  EXPECT_EQ(read_file(kSettings), " 2 1\n    \n");
  EXPECT_EQ(window_line(),
            "window 44 348 1156 1920 \"VK Fit A4L\" page=\"seis.ps\" scale=52.929 landscape");
}

TEST_F(WindowDevice, UnexpectedSetupDigitTakesTheWholeScreen) {
  write_file(kSettings, " 7 1\n");
  const std::string text = open("\n\n");
  EXPECT_NE(text.find(" Page setup = ERROR: Unexpected set up \n"), std::string::npos);
  EXPECT_EQ(window_line(),
            "window 44 0 1156 1920 \"ERROR: Unexpected set up\" page=\"seis.ps\" scale=1.000 portrait");
  EXPECT_EQ(read_file(kSettings), " 7 1\n");
}

TEST_F(WindowDevice, AFileThatCannotBeWrittenIsReportedNotClaimed) {
  fs::create_directory(kSettings);  // neither readable nor writable as a file
  // The unit table's error frame (its pause takes an answer), then the window's warning.
  const std::string text = open("\n\n\n\n");
  const auto out = split_lines(text);
  const int claimed = find_sequence(out, {" vomek1_ini_u.txt updated or created"});
  EXPECT_GE(find_sequence(out, {"   OUTPUT FILE FAILED WHILE RENAMING",
                                "   UNIT 50 FILE: vomek1_ini_u.txt"}), 0);
  const int warned = find_sequence(out, {" cannot write vomek1_ini_u.txt",
                                         " ==> settings used for this window only"});
  EXPECT_LT(claimed, 0);  // announced only once it is written
  EXPECT_GE(warned, 0);
  EXPECT_TRUE(fs::is_directory(kSettings));
  EXPECT_EQ(window_line(), "window 44 1134 1156 1920 \"VK Fit A4P\" page=\"seis.ps\" scale=37.441 portrait");
}

TEST_F(WindowDevice, OddDeviceCodeAsksNoTitle) {
  const std::string text = open("\n", 1);
  EXPECT_EQ(text.find("plot window name"), std::string::npos);
  EXPECT_NE(window_line().find("\"VK Fit A4P\""), std::string::npos);
}

TEST_F(WindowDevice, TitleIsTheAnswerWithoutSurroundingBlanks) {
  const std::string text = open("\nMy plot   \n");
  EXPECT_NE(text.find("plot window name"), std::string::npos);
  EXPECT_NE(window_line().find(" \"My plot\" "), std::string::npos) << window_line();
}

// Window rectangles (top, left, bottom, right) and page scales for several screens and every
// set-up, worked out by hand in single precision (tests/plot: python3 with float32 rounding
// by struct, kept here as numbers).
struct RectCase {
  int width, height, setup;
  int top, left, bottom, right;
  const char* scale;
};

TEST_F(WindowDevice, WindowRectanglesForScreensAndSetups) {
  const RectCase cases[] = {
      {1920, 1200, 0, 44, 0, 1156, 1920, "37.441"},  {1920, 1200, 1, 44, 1134, 1156, 1920, "37.441"},
      {1920, 1200, 2, 44, 348, 1156, 1920, "52.929"}, {1920, 1200, 3, 104, 1176, 1156, 1920, "35.433"},
      {1920, 1200, 4, 412, 868, 1156, 1920, "35.433"}, {1280, 1024, 0, 44, 0, 980, 1280, "31.515"},
      {1280, 1024, 1, 44, 619, 980, 1280, "31.515"},   {1280, 1024, 2, 44, 0, 980, 1280, "43.098"},
      {1280, 1024, 3, 44, 536, 980, 1280, "35.433"},   {1280, 1024, 4, 236, 228, 980, 1280, "35.433"},
      {1024, 768, 0, 44, 0, 724, 1024, "22.896"},      {1024, 768, 1, 44, 544, 724, 1024, "22.896"},
      {1024, 768, 2, 44, 63, 724, 1024, "32.357"},     {1024, 768, 3, 44, 280, 724, 1024, "35.433"},
      {1024, 768, 4, 44, 0, 724, 1024, "35.433"},      {800, 600, 1, 44, 438, 556, 800, "17.239"},
      {800, 600, 2, 44, 76, 556, 800, "24.377"},       {800, 600, 3, 44, 56, 556, 800, "35.433"},
      {2560, 1440, 1, 44, 1605, 1396, 2560, "45.522"}, {2560, 1440, 2, 44, 648, 1396, 2560, "64.377"},
      {2560, 1440, 4, 652, 1508, 1396, 2560, "35.433"}, {640, 480, 3, 44, 0, 436, 640, "35.433"},
  };
  for (const RectCase& c : cases) {
    write_file(kSettings, std::string(" ").append(std::to_string(c.setup)).append(" 1\n"));
    log_->set_screen({0, 0, c.height, c.width});
    log_->clear();
    open("\n", 1);
    const std::string where = std::to_string(c.width) + "x" + std::to_string(c.height) +
                              " set-up " + std::to_string(c.setup);
    EXPECT_EQ(windevsize.top, c.top) << where;
    EXPECT_EQ(windevsize.left, c.left) << where;
    EXPECT_EQ(windevsize.bottom, c.bottom) << where;
    EXPECT_EQ(windevsize.right, c.right) << where;
    EXPECT_NE(window_line().find(std::string("scale=") + c.scale), std::string::npos)
        << where << ": " << window_line();
    log_->window_dispose();
  }
}

// The rectangles worked by hand: usable screen = screen less 44 at top and bottom;
// trunc(0.70707 x height) wide (set-up 1); landscape trunc(0.70707 x width) high, when that
// does not fit trunc(1.4143 x height) wide (2); 744 x 1052 at 100 % (3, 4, 35.43307 px/cm).
TEST(WindowGeometry, IsThePageOfTheSetupOnTheUsableScreen) {
  struct Case {
    int setup;
    platform::ScreenRect screen, window;  // top, left, bottom, right
  } const cases[] = {
      // A screen not at the origin: usable 64..776 (712 high), 100..1300 (1200 wide).
      {0, {20, 100, 820, 1300}, {64, 100, 776, 1300}},
      {1, {20, 100, 820, 1300}, {64, 797, 776, 1300}},   // 503.43 wide
      {2, {20, 100, 820, 1300}, {64, 294, 776, 1300}},   // 848.48 > 712, so 1006.98 wide
      {3, {20, 100, 820, 1300}, {64, 556, 776, 1300}},   // 744 wide, 1052 cut to 712
      {4, {20, 100, 820, 1300}, {64, 248, 776, 1300}},   // 1052 wide, 744 cut to 712
      {7, {20, 100, 820, 1300}, {64, 100, 776, 1300}},
      // Landscape just fitting (707.07 high on 707) keeps the whole usable screen; one pixel
      // less and it is 998.50 wide.
      {2, {0, 0, 795, 1000}, {44, 0, 751, 1000}},
      {2, {0, 0, 794, 1000}, {44, 2, 750, 1000}},
      // The factors as the program takes them, not the exact ratios: 0.70707 x 99 = 69.99993
      // (1/sqrt 2 would give 70) and 1.4143 x 70 = 99.001 (sqrt 2 would give 98).
      {1, {0, 0, 187, 500}, {44, 431, 143, 500}},
      {2, {0, 0, 158, 200}, {44, 101, 114, 200}},
      // 100 % on a large screen: the whole page, flush right and bottom.
      {3, {0, 0, 1200, 1920}, {104, 1176, 1156, 1920}},
      {4, {0, 0, 1200, 1920}, {412, 868, 1156, 1920}},
  };
  for (const Case& c : cases) {
    const Windevsize g = window_geometry(c.setup, c.screen);
    const std::string where = "set-up " + std::to_string(c.setup) + " on " +
                              std::to_string(c.screen.bottom) + "x" + std::to_string(c.screen.right);
    EXPECT_EQ((platform::ScreenRect{g.top, g.left, g.bottom, g.right}), c.window) << where;
    EXPECT_EQ(g.isetup, c.setup) << where;
    EXPECT_FLOAT_EQ(g.pxpcm, 35.43307f) << where;
  }
}

TEST(PageScale, FollowsTheSetup) {
  EXPECT_FLOAT_EQ(page_scale(1, 0, 0, 900, 636, 35.43307f), 900 / 29.7f);
  EXPECT_FLOAT_EQ(page_scale(0, 44, 0, 944, 1920, 35.43307f), 900 / 29.7f);
  EXPECT_FLOAT_EQ(page_scale(2, 0, 100, 500, 1000, 35.43307f), 900 / 29.7f);
  EXPECT_FLOAT_EQ(page_scale(3, 0, 0, 10, 10, 35.43307f), 35.43307f);
  EXPECT_FLOAT_EQ(page_scale(4, 0, 0, 10, 10, 35.43307f), 35.43307f);
  EXPECT_FLOAT_EQ(page_scale(9, 0, 0, 10, 10, 35.43307f), 1.0f);
}

TEST_F(WindowDevice, WhitePageTableAndClearing) {
  open_log_window({44, 388, 980, 1024});
  Console con;
  intnewpage();
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" -------------------------------------------",
                                " |           Domain|  Top|Botto| Left|Right|",
                                " |      Window Port|  44 | 980 | 388 |1024 |",
                                " | Quartz rectangle| 936 |   0 |   0 | 636 |",
                                " -------------------------------------------"}),
            0)
      << con.text();
  EXPECT_EQ(log_lines(), (std::vector<std::string>{"flush", "write_page", "region 40",
                                                   "clear_white 0.000 0.000 636.000 936.000",
                                                   "flush"}));
}

TEST_F(WindowDevice, WhitePageStrokesAPendingPathFirstAndKeepsTheFillColour) {
  open_log_window({0, 0, 100, 100});
  log_->set_fill_rgb({0, 0, 0});
  log_->path_begin();
  log_->path_move(1, 1);
  view.pathopen = 1;
  log_->clear();
  Console con;
  intnewpage();
  const auto lines = log_lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("stroke ", 0), 0u);
  EXPECT_EQ(lines[1], "sync");
  EXPECT_EQ(lines[2], "flush");
  EXPECT_EQ(view.pathopen, 0);
  for (const auto& l : lines) EXPECT_EQ(l.rfind("fill_rgb", 0), std::string::npos) << l;
  EXPECT_EQ(log_->fill_rgb(), (platform::Rgb{0, 0, 0}));
}

TEST_F(WindowDevice, ClosingStrokesFlushesWritesThenWaitsAndDisposes) {
  open("\n\n");
  log_->path_begin();
  log_->path_move(1, 1);
  view.pathopen = 1;
  log_->clear();
  Console con("\n");
  intplend();
  const auto lines = log_lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].rfind("stroke ", 0), 0u);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
            (std::vector<std::string>{"sync", "flush", "write_page", "context_end", "dispose"}));
  const auto out = split_lines(con.text());
  const int ready = find_sequence(out, {" Ready to close the Quartz plot window"});
  const int ending = find_sequence(out, {" Ending VK context"});
  const int closed = find_sequence(out, {" The plot window is closed"});
  EXPECT_GE(ready, 0);
  EXPECT_GT(ending, ready);
  EXPECT_GT(closed, ending);
  EXPECT_NE(con.text().find("CR = Return to dispose of the plot"), std::string::npos);
  EXPECT_EQ(view.context, nullptr);
  EXPECT_EQ(view.pathopen, 0);
}

TEST_F(WindowDevice, EndpathOnlyWithAPendingPath) {
  open_log_window({0, 0, 100, 100});
  endpath();
  EXPECT_TRUE(log_lines().empty());
  view.pathopen = 1;
  endpath();
  EXPECT_EQ(log_lines().size(), 2u);
  EXPECT_EQ(view.pathopen, 0);
}

}  // namespace
}  // namespace korbast::plot::test
