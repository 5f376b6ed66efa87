// The attribute setters: the five-step mode pattern, the colour, style, range and alignment
// checks with their modulo rules, the menus, the closed-plot text size and the device
// effects; the symbol size and type with the type table and its own modes.
#include "plot/attributes.hpp"

#include <cmath>
#include <cstring>

#include "plot/colortable.hpp"
#include "plot/symboltype.hpp"
#include "plot_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using namespace korbast::testing::expected;

class Attributes : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    dialog_without_pauses();
  }
  // The number of colours without the dialog (the colours in use are left as they are).
  static void colours(int n) {
    plt2blk.ncolors = n;
    plt2blk.colormode = n == 1 ? 0 : 1;
  }
};

// ---- Colour index check ----

TEST_F(Attributes, ColourAboveTheTableIsTakenModuloAndZeroBecomesOne) {
  Console con;
  int c = 13;
  sfillcolor(c, 1);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(plt2blk.fillcolor, 1);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("sfillcolor"),
                  {" trying to set color nb =     13", " when max color nb      =     12",
                   " ===> RESET color nb    =      1", rule('/')}}));

  colours(4);
  c = 12;
  sfillcolor(c, 1);
  EXPECT_EQ(plt2blk.fillcolor, 2);  // 12 modulo 5
}

TEST_F(Attributes, NegativeColourBecomesOneAndTheBackgroundIsValid) {
  Console con;
  int c = -3;
  stextcolor(c, 1);
  EXPECT_EQ(plt2blk.textcolor, 1);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("stextcolor"),
                  {" trying to set color nb =     -3", " when min color nb      = 0",
                   " ===> RESET color nb    =      1", rule('/')}}));
  con.clear();
  c = 0;
  slinecolor(c, 1);
  EXPECT_EQ(plt2blk.linecolor, 0);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Attributes, ModeThreeRechecksTheStoredColourAfterTheTableShrank) {
  plt2blk.linecolor = 7;
  colours(4);
  Console con;
  int c = 0;
  slinecolor(c, 3);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(plt2blk.linecolor, 2);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" trying to set color nb =      7", " when max color nb      =      4",
                                " ===> RESET color nb    =      2"}),
            0)
      << con.text();
}

TEST_F(Attributes, InitialisingTheFillColourWithFourColours) {
  colours(4);
  Console con;
  int c = 0;
  sfillcolor(c, 5);
  EXPECT_EQ(plt2blk.fillcolor, 3);  // 8 modulo 5
  EXPECT_EQ(split_lines(con.text()),
            join({head("sfillcolor"),
                  {" INITIALISING FILL COLOR TO: Grey20  "},
                  warning_head("sfillcolor"),
                  {" trying to set color nb =      8", " when max color nb      =      4",
                   " ===> RESET color nb    =      3", rule('/')}}));
}

TEST_F(Attributes, ColourMenuListsTheColoursInForce) {
  colours(4);
  plt2blk.linecolor = 2;
  Console con("3\n");
  int c = 0;
  slinecolor(c, 2);
  EXPECT_EQ(plt2blk.linecolor, 3);
  EXPECT_EQ(split_lines(con.text()),
            join({head("slinecolor"),
                  {rule('-'), "      LINE COLOR", rule('-'), " current value:      2",
                   " new     value:      2", " White-bk.................  0",
                   " Black   .................  1", " Red     .................  2",
                   " Green   .................  3", " Blue    .................  4", rule('@'), dots(),
                   " Enter your choice", " inside  [0,4]", " or return for default value",
                   " Default =            2", " New value =             3", dots()}}));
}

TEST_F(Attributes, ColourMenuRefusesAnIndexAboveTheTable) {
  colours(4);
  Console con("5\n1\n");
  int c = 0;
  sfillcolor(c, 4);
  EXPECT_EQ(plt2blk.fillcolor, 1);
  EXPECT_NE(con.text().find(" outside [0,4]\n"), std::string::npos) << con.text();
}

// ---- Fill style ----

TEST_F(Attributes, FillStyleModuloRules) {
  Console con;
  int s = 3;
  sfillstyle(s, 1);
  EXPECT_EQ(plt2blk.fillstyle, 1);
  s = 2;
  sfillstyle(s, 1);
  EXPECT_EQ(plt2blk.fillstyle, 0);
  s = -1;
  sfillstyle(s, 1);
  EXPECT_EQ(plt2blk.fillstyle, 1);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" trying to set style nb =      3", " max style nb =      1",
                                " ===> RESET style nb =      1"}),
            0);
  EXPECT_GE(find_sequence(out, {" trying to set nb of style  =     -1", " min style nb = 0",
                                " ===> RESET style nb =      1"}),
            0);
  // Mode 3 hands back what is stored without a check.
  plt2blk.fillstyle = 5;
  con.clear();
  s = 0;
  sfillstyle(s, 3);
  EXPECT_EQ(s, 5);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Attributes, FillStyleMenu) {
  plt2blk.fillstyle = 1;
  Console con("0\n");
  int s = 0;
  sfillstyle(s, 2);
  EXPECT_EQ(plt2blk.fillstyle, 0);
  EXPECT_EQ(split_lines(con.text()),
            join({head("sfillstyle"),
                  {rule('-'), "      POLYGON FILL STYLES", rule('-'), " currently stored   :      1",
                   " suggested new value:      1", " hollow ....................0",
                   " filled ....................1", rule('@'), dots(), " Enter your choice",
                   " inside  [0,1]", " or return for default value", " Default =            1",
                   " New value =             0", dots()}}));
}

// ---- Real ranges ----

TEST_F(Attributes, TextSizeOnTheLowerBoundIsResetButTypedIsAccepted) {
  frame::iocom.plot_open = true;
  open_log_window({0, 0, 600, 800});
  Console con;
  float h = 0.02f;
  stextsize(h, 1);
  EXPECT_FLOAT_EQ(h, 0.5f);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("stextsize"),
                  {" TEXT SIZE OUT OF RANGE:", "  txtheight =   0.02", "  min =   0.02",
                   "  max = ******", " ==> RESET txtheight =   0.50", rule('/')}}));
  Console typed("0.02\n");
  stextsize(h, 0);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.02f);
  EXPECT_EQ(find_sequence(split_lines(typed.text()), {" TEXT SIZE OUT OF RANGE:"}), -1);
  EXPECT_GE(find_sequence(split_lines(typed.text()),
                          {rule('-'), "                 TEXT SIZE", rule('-'),
                           " present value in cm ..........    0.50", rule('@')}),
            0)
      << typed.text();
}

TEST_F(Attributes, LineThicknessRangeAndDeviceWidth) {
  frame::iocom.plot_open = true;
  open_log_window({0, 0, 600, 800}, 20.0f);
  Console con;
  float w = 0.01f;
  slinewidth(w, 1);
  EXPECT_FLOAT_EQ(plt2blk.thickness, 0.02f);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("slinewidth"),
                  {" LINE THICKNESS OUT OF RANGE:", "  line thickness (cm) =    0.010",
                   "  min =    0.010", "  max = 1000.000",
                   " ==> RESET line thickness =    0.020", rule('/')}}));
  // 0.02 cm at 20 pixels per cm is under one pixel: the device takes one.
  EXPECT_EQ(log_lines(), (Lines{"line_width 1.000"}));
  log_->clear();
  w = 0.5f;
  slinewidth(w, 1);
  EXPECT_EQ(log_lines(), (Lines{"line_width 10.000"}));
  // Mode 3 stores again and sets the device again; a NaN is out of range.
  log_->clear();
  w = std::nanf("");
  slinewidth(w, 1);
  EXPECT_FLOAT_EQ(w, 0.02f);
}

TEST_F(Attributes, LineThicknessMenuAcceptsTheLowerBound) {
  Console con("0.01\n");
  float w = 0.3f;
  slinewidth(w, 0);
  EXPECT_FLOAT_EQ(plt2blk.thickness, 0.01f);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {rule('-'), "           LINE THICKNESS", rule('-'),
                           " present value in cm .......     0.300", rule('@')}),
            0)
      << con.text();
}

// ---- The text size while no window is open ----

TEST_F(Attributes, TextSizeWithTheWindowClosedIsStoredWithAWarning) {
  plt2blk.textheight = 0.8f;
  Console con;
  float h = 0.0f;
  stextsize(h, 3);
  EXPECT_FLOAT_EQ(h, 0.8f);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.8f);
  const Lines closed = join({warning_head("stextsize"),
                             {" inter =      3", " Attempting to set textsize with",
                              " a closed plot file",
                              " ===> Value stored but no further call to lib", rule('/')}});
  EXPECT_EQ(split_lines(con.text()), closed);
  con.clear();
  h = 1.2f;
  stextsize(h, 1);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 1.2f);
  Lines with_one = closed;
  with_one[4] = " inter =      1";
  EXPECT_EQ(split_lines(con.text()), with_one);
  EXPECT_TRUE(log_lines().empty());
}

TEST_F(Attributes, TextSizeWithTheWindowOpenSetsTheFontSize) {
  frame::iocom.plot_open = true;
  open_log_window({0, 0, 600, 800});
  Console con;
  float h = 0.5f;
  stextsize(h, 1);
  EXPECT_EQ(con.text(), "");
  // 0.5 cm at 100 %: 72 / 2.54 * 0.5 points.
  EXPECT_EQ(log_lines(), (Lines{"font_size 14.173"}));
}

// ---- Angle, alignment, font ----

TEST_F(Attributes, AnyTextAngleIsAccepted) {
  Console con;
  float a = -725.5f;
  stextangle(a, 1);
  EXPECT_FLOAT_EQ(plt2blk.textangle, -725.5f);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Attributes, AlignmentCodes) {
  Console con;
  int j = 12;
  stextalign(j, 1);
  EXPECT_EQ(plt2blk.textalign, -1);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("stextalign"),
                  {" trying to set justif =     12", " justif must be in [-11,11]",
                   " ===> RESET justif =     -1", rule('/')}}));
  con.clear();
  j = 4;
  stextalign(j, 1);
  EXPECT_EQ(plt2blk.textalign, 1);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("stextalign"),
                  {" just =      4", " ===> RESET just =      1", rule('/')}}));
  for (int code : {-8, -4, 0}) {
    j = code;
    stextalign(j, 1);
    EXPECT_EQ(plt2blk.textalign, -1) << code;
  }
  j = 8;
  stextalign(j, 1);
  EXPECT_EQ(plt2blk.textalign, 1);
  con.clear();
  j = -10;
  stextalign(j, 1);
  EXPECT_EQ(plt2blk.textalign, -10);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Attributes, AlignmentMenuAndTheReplacementOfItsAnswer) {
  plt2blk.textalign = 3;
  Console con("-4\n");
  int j = 0;
  stextalign(j, 2);
  EXPECT_EQ(plt2blk.textalign, -1);
  const std::string bar = "    |---------------|---------------|";
  EXPECT_EQ(split_lines(con.text()),
            join({head("stextalign"),
                  {rule('-'), "           SETTING TEXT ALIGNMENT", rule('-'),
                   "  |just| indicates where the x,y point", "       is relative to the textstring",
                   "  if just < 0 leading and trailing blanks", "       will be ignored", " ",
                   "    9              10              11", bar,
                   "    5<==textstring==6==============>7", bar,
                   "    1               2               3", " ", rule('-'),
                   " currently stored   :      3", " suggested new value:      3", rule('@'), dots(),
                   " Enter value of just", " inside  [-11,11]", " or return for default value",
                   " Default =            3", " New value =            -4", dots()},
                  warning_head("stextalign"),
                  {" just =     -4", " ===> RESET just =     -1", rule('/')}}));
}

TEST_F(Attributes, FontOutsideTheTableDoesNothing) {
  plt2blk.textfont = 1;
  Console con;
  int f = 16;
  stextfont(f, 1);
  EXPECT_EQ(f, 16);
  EXPECT_EQ(plt2blk.textfont, 1);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("stextfont"),
                  {" font number =     16", " ===> NO ACTION", rule('/')}}));
  // The font check wins over the mode check.
  con.clear();
  f = 0;
  stextfont(f, 9);
  EXPECT_NE(con.text().find(" font number =      0\n"), std::string::npos);
  EXPECT_EQ(con.text().find("inter ="), std::string::npos);
}

TEST_F(Attributes, FontSelectsTheOneFontAtTheTextSizeAndEndsAPath) {
  frame::iocom.plot_open = true;
  open_log_window({0, 0, 600, 800}, 30.0f);
  plt2blk.textheight = 0.5f;
  view.pathopen = 1;
  Console con;
  int f = 7;
  stextfont(f, 1);
  EXPECT_EQ(plt2blk.textfont, 7);
  EXPECT_EQ(view.pathopen, 0);
  ASSERT_GE(log_lines().size(), 2u);
  EXPECT_EQ(log_lines()[0].rfind("stroke", 0), 0u);
  // 0.5 cm * 28.346457 * 30 / 35.43307 = 12 pixels.
  EXPECT_EQ(log_lines().back(), "font 12.000");
}

TEST_F(Attributes, ModeOutsideTheSettingsModesStoresNothing) {
  plt2blk.linecolor = 2;
  Console con;
  int c = 14;
  slinecolor(c, 6);
  // The colour check still runs, the result is handed back but not stored.
  EXPECT_EQ(c, 1);
  EXPECT_EQ(plt2blk.linecolor, 2);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" ===> RESET color nb    =      1", rule('/')}), 0);
  EXPECT_GE(find_sequence(out, {" inter =      6", " ===> NO ACTION", rule('/')}), 0);

  con.clear();
  float w = 0.5f;
  const float before = plt2blk.thickness;
  slinewidth(w, 6);
  EXPECT_FLOAT_EQ(plt2blk.thickness, before);
  float h = 2.0f;
  stextsize(h, -1);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.0f);
  float a = 3.0f;
  stextangle(a, 6);
  EXPECT_FLOAT_EQ(plt2blk.textangle, 0.0f);
  int j = 20;
  stextalign(j, 7);
  EXPECT_EQ(j, -1);
  EXPECT_EQ(plt2blk.textalign, 0);
  int s = 4;
  sfillstyle(s, 8);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(plt2blk.fillstyle, 0);
  const auto all = split_lines(con.text());
  int no_action = 0;
  for (const auto& l : all) no_action += l == " ===> NO ACTION";
  EXPECT_EQ(no_action, 5);
  EXPECT_GE(find_sequence(all, {" inter =     -1", " ===> NO ACTION"}), 0);
}

TEST_F(Attributes, LineStyleIsIgnored) {
  const Plt2blk before = plt2blk;
  Console con;
  int style = 5;
  slinestyle(style, 0);
  slinestyle(style, 9);
  EXPECT_EQ(style, 5);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(std::memcmp(&before, &plt2blk, sizeof before), 0);
}

TEST_F(Attributes, InitialisingLinesOfModeFive) {
  Console con;
  float r = 0.0f;
  int i = 0;
  slinewidth(r, 5);
  stextsize(r, 5);   // closed window: the warning follows
  stextangle(r, 5);
  stextalign(i, 5);
  stextfont(i, 5);
  slinecolor(i, 5);
  sfillstyle(i, 5);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({head("slinewidth"),
                                     {" INITIALISING LINE THICKNESS TO:    0.020 cm"},
                                     head("stextsize"),
                                     {" INITIALISING TEXT SIZE TO:   0.50 cm"}})),
            0)
      << con.text();
  EXPECT_GE(find_sequence(out, join({head("stextangle"), {" INITIALISING TEXT ANGLE TO: 0.0"},
                                     head("stextalign"),
                                     {" INITIALISING TEXT ALIGNMENT TO: -1",
                                      " =====> left-bottom trimmed"},
                                     head("stextfont"),
                                     {" INITIALISING TEXT FONT TO: 1 =  Geneva"},
                                     head("slinecolor"), {" INITIALISING LINE COLOR TO: Black   "},
                                     head("sfillstyle"),
                                     {" INITIALISING FILL STYLE TO: filled"}})),
            0)
      << con.text();
  EXPECT_FLOAT_EQ(plt2blk.thickness, 0.02f);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.5f);
  EXPECT_EQ(plt2blk.textalign, -1);
  EXPECT_EQ(plt2blk.textfont, 1);
  EXPECT_EQ(plt2blk.linecolor, 1);
  EXPECT_EQ(plt2blk.fillstyle, 1);
}

// ---- Symbol size and type ----

TEST_F(Attributes, SymbolSizeInitialisesAndTakesAnyValue) {
  Console con;
  float size = 9.0f;
  ssymbolsize(size, 5);
  EXPECT_FLOAT_EQ(size, 0.4f);
  EXPECT_EQ(split_lines(con.text()),
            join({head("ssymbolsize"), {" INITIALISING SYMBOL SIZE (cm) =    0.400"}}));
  con.clear();
  size = -0.3f;
  ssymbolsize(size, 1);
  EXPECT_FLOAT_EQ(plt2blk.symbolsize, -0.3f);
  EXPECT_EQ(con.text(), "");
  size = 1.0f;
  ssymbolsize(size, 7);
  EXPECT_FLOAT_EQ(plt2blk.symbolsize, -0.3f);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("ssymbolsize"),
                  {" inter =      7", " ===> NO ACTION", rule('/')}}));
}

TEST_F(Attributes, SymbolSizeMenuAtBothOutputLevels) {
  plt2blk.symbolsize = 0.25f;
  Console con("0.6\n");
  float size = 0.0f;
  ssymbolsize(size, 2);
  EXPECT_FLOAT_EQ(plt2blk.symbolsize, 0.6f);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          join({head("ssymbolsize"),
                                {rule('-'), " SYMBOL SIZE (cm):", rule('-'),
                                 " currently stored size =    0.250",
                                 " ready to  store  size =    0.250", rule('@'), dots(),
                                 " Enter symbol size in cm"}})),
            0)
      << con.text();

  frame::iocom.lwito(2) = false;
  Console quiet("\n");
  ssymbolsize(size, 4);
  EXPECT_FLOAT_EQ(plt2blk.symbolsize, 0.4f);
  EXPECT_EQ(split_lines(quiet.text()),
            join({head("ssymbolsize"),
                  {" Enter symbol size in cm", " New value =  0.400000    "}}));
}

const Lines kTypeTable = {
    " circle   .................. 0", " circle   .................. 1",
    " circle   .................. 2", " triangle .................. 3",
    " square   .................. 4", " pentagon .................. 5",
    " hexagon  .................. 6", " heptagon .................. 7",
    " octogon  .................. 8", " enneagon .................. 9",
    "    .     ................. 10", "    -     ................. 11",
    "    |     ................. 12", "    +     ................. 13",
    "    x     ................. 14", "    *     ................. 15",
    "    *     ................. 16", "    *     ................. 17",
    " circle . ................. 20", " circle - ................. 21",
    " circle | ................. 22", " circle + ................. 23",
    " square   ..................40", " circle   ....... other values",
};

TEST_F(Attributes, SymbolTypeInitialisesInModeFiveOnly) {
  Console con("\n");
  int t = 7;
  ssymboltype(t, 5);
  EXPECT_EQ(t, 1);
  EXPECT_EQ(split_lines(con.text()),
            join({head("ssymboltype"), {" INITIALISING SYMBOL TYPE =    1"}}));
  con.clear();
  plt2blk.symboltype = 9;
  t = 7;
  ssymboltype(t, 4);
  EXPECT_EQ(plt2blk.symboltype, 1);
  EXPECT_EQ(split_lines(con.text()),
            join({head("ssymboltype"),
                  {rule('-'), " SYMBOL TYPE:", "  Negative number => filled symbol",
                   "  N.B. Symbols also depend on", "       polygon & line attributes", rule('-'),
                   " currently stored type =    9", " ready to  store  type =    1", rule('-'),
                   " Symbol type ... symbol number"},
                  kTypeTable,
                  {rule('@'), dots(), " Enter symbol number", " or return for default value",
                   " Default =            1", " New value =             1", dots()}}));
}

TEST_F(Attributes, SymbolTypeTableAloneAskingNothingAtEitherLevel) {
  plt2blk.symboltype = 4;
  Console con("-5\n");
  int t = 3;
  ssymboltype(t, 102);
  EXPECT_EQ(split_lines(con.text()), kTypeTable);
  EXPECT_EQ(plt2blk.symboltype, 4);
  EXPECT_EQ(t, 3);

  // Without menu bodies (a command file runs) it prints nothing and reads nothing: the
  // answer waiting is still there for the next question.
  frame::iocom.lwito(2) = false;
  con.clear();
  ssymboltype(t, 102);
  EXPECT_EQ(con.text(), "");
  ssymboltype(t, 2);
  EXPECT_EQ(plt2blk.symboltype, -5);
}

TEST_F(Attributes, SymbolTypeChosenWithoutStoring) {
  plt2blk.symboltype = 4;
  Console con("13\n");
  int t = 20;
  ssymboltype(t, 200);
  EXPECT_EQ(t, 13);
  EXPECT_EQ(plt2blk.symboltype, 4);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {rule('-'), " ready to set type =   20", rule('-')}), 0) << con.text();
  EXPECT_EQ(con.text().find("currently stored"), std::string::npos);
  EXPECT_EQ(con.text().find("WARNING"), std::string::npos);
}

TEST_F(Attributes, SymbolTypeOtherEvenModeAsksThenRefuses) {
  plt2blk.symboltype = 4;
  Console con("-5\n\n");
  int t = 3;
  ssymboltype(t, 6);
  EXPECT_EQ(t, -5);
  EXPECT_EQ(plt2blk.symboltype, 4);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({warning_head("ssymboltype"),
                                     {" inter =    6", " ===> NO ACTION", rule('/')}})),
            0)
      << con.text();
  con.clear();
  ssymboltype(t, 2);  // an empty answer would keep the stored 4
  EXPECT_EQ(plt2blk.symboltype, 4);
}

TEST_F(Attributes, WarningsPauseWhenPausingIsOn) {
  frame::iocom.pause = true;
  Console con("\n");
  int c = 30;
  slinecolor(c, 1);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" ===> RESET color nb    =      4", " ===> HIT RETURN TO CONTINUE",
                           rule('/')}),
            0)
      << con.text();
}

// ---- Plain accessors ----

// Each accessor checks, warns and stores exactly as its setter in the silent caller's mode 1,
// and each getter reads what was stored.
TEST_F(Attributes, AccessorsStoreAndWarnAsTheSilentSetters) {
  colours(4);
  auto same = [](auto setter, auto accessor, auto getter, auto value) {
    Console con;
    auto v = value;
    setter(v, 1);
    const std::string by_setter = con.text();
    const auto stored = getter();
    accessor(decltype(value){});  // something else in between
    con.clear();
    accessor(value);
    EXPECT_EQ(con.text(), by_setter) << value;
    EXPECT_EQ(getter(), stored) << value;
  };
  for (int c : {-3, 0, 2, 7}) {
    same(slinecolor, set_line_color, line_color, c);
    same(sfillcolor, set_fill_color, fill_color, c);
    same(stextcolor, set_text_color, text_color, c);
  }
  for (int style : {-1, 0, 1, 5}) same(sfillstyle, set_fill_style, fill_style, style);
  for (int just : {-12, -8, -6, 0, 4, 11}) same(stextalign, set_text_align, text_align, just);
  for (int font : {0, 1, 16}) same(stextfont, set_text_font, text_font, font);
  for (float cm : {0.005f, 0.3f, 2000.0f}) {
    same(slinewidth, set_line_width, line_width, cm);
    same(stextsize, set_text_size, text_size, cm);
    same(ssymbolsize, set_symbol_size, symbol_size, cm);
  }
  same(stextangle, set_text_angle, text_angle, 30.0f);
  same(ssymboltype, set_symbol_type, symbol_type, -4);
}

TEST_F(Attributes, AlignmentAccessorResetsTheCodesThatNameNoAlignment) {
  Console con;
  set_text_align(-6);
  EXPECT_EQ(text_align(), -6);
  EXPECT_EQ(con.text(), "");
  // The ends of [-11,11] are alignments, kept without a word.
  for (int just : {-11, 11}) {
    set_text_align(just);
    EXPECT_EQ(text_align(), just);
    EXPECT_EQ(con.text(), "") << just;
  }
  set_text_align(8);
  EXPECT_EQ(text_align(), 1);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("stextalign"),
                  {" just =      8", " ===> RESET just =      1", rule('/')}}));
}

}  // namespace
}  // namespace korbast::plot::test
