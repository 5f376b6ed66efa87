// The column-data reader as the map's point layer calls it: the whole dialog of a read, the
// retry menu after each kind of failure, the initialising and the one-shot modes.
#include <gtest/gtest.h>

#include <string>

#include "columns/getfreal.hpp"
#include "columns/header_readers.hpp"
#include "columns/readreal.hpp"
#include "columns/readrealsetup.hpp"
#include "columns/reset.hpp"
#include "columns/sfheader.hpp"
#include "columns_support.hpp"
#include "expected_dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/text.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::testing::column_names;
using korbast::columns::readreal6;
using korbast::columns::RealArray;
using namespace std::string_view_literals;

// The point layer's arguments, passed anew at every read.
class PointLayer : public kt::ColumnsTest {
 protected:
  struct Call {
    int inotread = -1;
    frame::Text<20> title;
    frame::FileName<40> fname;
    int ndisp = 4, iskip = 2, ititle = 1, iheader = 2;
    int jacol[2] = {1, 2}, jfcol[2] = {1, 2};
    frame::Text<10> varnam[2] = {"X-long"sv, "Y-lat"sv};
    int nvar = 2;
    frame::Text<10> rvarcolnam[2];
    int nrow = -1, ncolused = -1;
  };
  float xp[1000] = {}, yp[1000] = {};

  void run(Call& c, int inter = 0) {
    readreal6(c.inotread, c.title, c.fname, "long-lat data input", kUnit, c.ndisp, c.iskip,
              c.ititle, c.iheader, c.jacol, c.jfcol, c.varnam, c.nvar, 2,
              RealArray({xp, yp}, 1000), c.rvarcolnam, c.nrow, c.ncolused, 1000, 2, 1, inter);
  }
  // Runs the reader with the given keyboard answers and returns what it printed.
  std::string run(Call& c, const std::string& answers, int inter = 0) {
    kt::Console console(answers);
    run(c, inter);
    return console.text();
  }
  static std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
  }
};

const std::string kStations = "'Stations'\n'lon' 'lat'\n10.5 45.25\n11 46\n-12.75 -3.5\n";

Lines opening() {
  return join({cols::head("opef2"),
               {" OPENING long-lat data input FILE", cols::at43(),
                " Choose long-lat data input file name", " path (asked again until a file opens):"}});
}

TEST_F(PointLayer, WholeDialogOfARead) {
  const std::string path = file("st.dat", kStations);
  ASSERT_LE(path.size(), 40u);
  Call c;
  const std::string text = run(c, path + "\n\n\n\n");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 3);
  EXPECT_EQ(c.ncolused, 2);
  EXPECT_EQ(c.title.str(), "Stations            ");
  EXPECT_EQ(c.fname.shown.str(), std::string(frame::Text<40>(path).view()));
  EXPECT_EQ(c.fname.whole, path);  // the next read's default
  EXPECT_EQ(c.rvarcolnam[0].str(), "lon       ");
  EXPECT_EQ(c.rvarcolnam[1].str(), "lat       ");
  EXPECT_EQ(xp[0], 10.5f);
  EXPECT_EQ(yp[0], 45.25f);
  EXPECT_EQ(xp[2], -12.75f);
  EXPECT_EQ(yp[2], -3.5f);
  EXPECT_FALSE(frame::units::is_open(kUnit));
  const std::string dash = ex::rule('-');
  const Lines expected = join({
      opening(),
      // Header set-up: the display, then the menu.
      cols::head("showfhead1"),
      {"          DISPLAYING FILE HEADER            ", " OF FILE: " + path, dash,
       " ==>Line nb:   1 = Header: Title ===========", " 'Stations'",
       " ==>Line nb:   2 = Header: Column names ====", " 'lon' 'lat'",
       " ==>Line nb:   3 = Data ====================", " 10.5 45.25",
       " ==>Line nb:   4 = Data ====================", " 11 46", ex::rule('='),
       " ==> FILE " + path + " IS REWOUND", cols::at43()},
      cols::head("sfheader1"),
      {"             FILE HEADER SET UP             ", dash,
       " nb of lines to display in dialog.100   4", " nb of header lines without data .110   2",
       " line nb to read title ...........120   1", " line nb to read column header....130   2",
       " HELP ............................900", " SET UP IS OK, EXIT AND PROCEED ...99", cols::at43()},
      cols::answer("your choice", 99, 99),
      // The title.
      cols::head("getftitle1"),
      {" Input file name: " + path, " Read title from header: Stations",
       " INPUT FILE " + path + " IS REWOUND", cols::at43()},
      // The column assignment.
      cols::head("getfnamcol"),
      {" Input file name  : " + path, " Name of column   1 lon", " Name of column   2 lat",
       " INPUT FILE " + path + " IS REWOUND", cols::at43()},
      cols::head("scol2var"),
      {"         PROGRAM            <-->  INPUT FILE", dash,
       " VARIABLE <--> ARRAY COLUMN <--> FILE COLUMN", " RECORD   <--> ARRAY LINE   <--> FILE LINE",
       "  CAN ALTER THE COLUMN CORRESPONDANCE ONLY ", dash, "     Input file status",
       " Input file name: " + path, " Title: Stations", "     Number of variable status",
       " Could read up to     :   2", " Planning to read     :   2",
       "     Number of array columns status", " Can use up to        :   2",
       " Planning to use up to:   2", "     Number of input file columns status",
       " Can read up to       :  99", " Planning to read     :   2", "     Listing type",
       " ilist                :   0", " |-----------------------------------------|",
       " |          CORRESPONDANCE STATUS          |", " |-----------------------------------------|",
       " |   VARIABLE  |  ARRAY col  |  FILE col   |", " |-------------|-------------|-------------|",
       " |nb|   name   |nb|   name   |nb|   name   |", " |--|----------|--|----------|--|----------|",
       " | 1|X-long    | 1|lon       | 1|lon       | 1", " | 2|Y-lat     | 2|lat       | 2|lat       | 2",
       " ------------------------------------------- |", " Command to modify correspondance <----------+",
       " Change listing type .............300", " SET UP IS OK, EXIT AND PROCEED ...99", cols::at43()},
      cols::answer("your choice", 99, 99),
      // The read menu.
      cols::head("readreal6"),
      {" READ AND EXIT ..................1000", " EXIT WITHOUT READING .............99", cols::at43()},
      cols::answer("your choice", 1000, 1000),
      // The read: the title once more, then the summary.
      cols::head("getftitle1"),
      {" Input file name: " + path, " Read title from header: Stations",
       " INPUT FILE " + path + " IS REWOUND", cols::at43()},
      cols::head("getfreal"),
      {" Input file name: " + path, " Title: Stations", "     Number of variable status",
       " Could read up to:  99", " Actually read   :   2", "         Array status             ",
       " Could read up to:  1000 lines", " Actually read   :     3 lines",
       " Can use up to   :   2 columns", " Actually used   :   2 columns",
       " input file " + path + " closed", cols::at43()}});
  EXPECT_EQ(text, cols::text(expected));
}

TEST_F(PointLayer, FileOfOnePointIsReadWithTheDefaultDisplay) {
  const std::string path = file("one.dat", "'One'\n'lon' 'lat'\n7 8\n");
  Call c;
  const std::string text = run(c, path + "\n\n\n\n");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 1);
  EXPECT_EQ(xp[0], 7.0f);
  EXPECT_EQ(yp[0], 8.0f);
  EXPECT_NE(text.find(" REACHED END OF FILE"), std::string::npos);
  EXPECT_EQ(text.find("WHILE READING HEADER LINES"), std::string::npos);
}

Lines retry_menu(const std::string& path) {
  return {" IN FILE: " + path, " " + std::string(30, '-'), " Try again on same file ......1",
          " New file ....................0", " Exit .......................99", cols::stars43()};
}

TEST_F(PointLayer, DataErrorThenLeaving) {
  const std::string path = file("bad.dat", "'T'\n'lon' 'lat'\n1 2\n3 x\n");
  Call c;
  const std::string text = run(c, path + "\n\n\n\n99\n");
  EXPECT_EQ(c.inotread, 1);
  EXPECT_FALSE(frame::units::is_open(kUnit));
  const std::string tail =
      cols::text(join({cols::error("getfreal"),
                       {" WHILE READING   2 th DATA LINE", " IN FILE: " + path,
                        " input file " + path + " rewound", cols::stars43()},
                       cols::error("readreal6"), {" WHILE READING DATA"}, retry_menu(path),
                       cols::answer("your choice", 0, 99), {" input file " + path + " closed"}}));
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(PointLayer, SameFileAgainRepeatsTheWholeSetUp) {
  const std::string path = file("bad.dat", "'T'\n'lon' 'lat'\n1 2\n3 x\n");
  Call c;
  // Read fails; 1: the same file; set-up again; then leave at the read menu.
  const std::string text = run(c, path + "\n\n\n\n1\n\n\n99\n");
  EXPECT_EQ(c.inotread, 1);
  EXPECT_FALSE(frame::units::is_open(kUnit));
  EXPECT_NE(text.find(cols::text(join({cols::answer("your choice", 0, 1),
                                       {" input file " + path + " rewound"},
                                       cols::head("showfhead1")}))),
            std::string::npos);
  EXPECT_EQ(count(text, "FILE HEADER SET UP"), 2u);
  EXPECT_EQ(count(text, "CORRESPONDANCE STATUS"), 2u);
  const std::string tail =
      cols::text(join({cols::answer("your choice", 1000, 99), cols::head("readreal6"),
                       {" EXITING WITHOUT READING DATA FILE", " input file " + path + " closed",
                        cols::at43()}}));
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(PointLayer, NewFileAfterAFailure) {
  const std::string bad = file("bad.dat", "'T'\n'lon' 'lat'\nwest north\n");
  const std::string good = file("st.dat", kStations);
  Call c;
  // Default answer of the retry menu: a new file.
  const std::string text = run(c, bad + "\n\n\n\n\n" + good + "\n\n\n\n");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 3);
  EXPECT_EQ(c.fname.shown.trimmed(), good);
  EXPECT_EQ(xp[1], 11.0f);
  EXPECT_NE(text.find(cols::text(join({cols::answer("your choice", 0, 0),
                                       {" input file " + bad + " closed"}, opening()}))),
            std::string::npos);
}

TEST_F(PointLayer, OtherReadMenuAnswerGoesToTheRetryMenuWithoutAnError) {
  const std::string path = file("st.dat", kStations);
  Call c;
  const std::string text = run(c, path + "\n\n\n5\n7\n");
  EXPECT_EQ(c.inotread, 1);
  const std::string tail = cols::text(join({cols::answer("your choice", 1000, 5), retry_menu(path),
                                            cols::answer("your choice", 0, 7),
                                            {" input file " + path + " closed"}}));
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(text.find("ERROR"), std::string::npos);
}

TEST_F(PointLayer, UnreadableTitleAndNamesGoToTheRetryMenu) {
  {
    const std::string path = file("t.dat", "'T'x\n'lon' 'lat'\n1 2\n");
    Call c;
    const std::string text = run(c, path + "\n\n99\n");
    EXPECT_EQ(c.inotread, 1);
    EXPECT_NE(text.find(cols::text(join({cols::error("readreal6"), {" WHILE READING TITLE"},
                                         retry_menu(path)}))),
              std::string::npos);
  }
  {
    const std::string path = file("n.dat", "'T'\n'lon'x 'lat'\n1 2\n");
    Call c;
    const std::string text = run(c, path + "\n\n\n99\n");
    EXPECT_EQ(c.inotread, 1);
    EXPECT_NE(text.find(cols::text(join({cols::error("readreal6"), {" WHILE READING COLUMN HEADERS"},
                                         retry_menu(path)}))),
              std::string::npos);
  }
}

TEST_F(PointLayer, FileColumnChangedInTheEditor) {
  const std::string path = file("st.dat", "'T'\n'lat' 'lon'\n45 10\n46 11\n");
  Call c;
  // Swap: X-long from file column 2, Y-lat from file column 1.
  run(c, path + "\n\n1\n2\n2\n1\n\n\n");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.jfcol[0], 2);
  EXPECT_EQ(c.jfcol[1], 1);
  EXPECT_EQ(c.rvarcolnam[0].str(), "lon       ");
  EXPECT_EQ(xp[0], 10.0f);
  EXPECT_EQ(yp[1], 46.0f);
}

TEST_F(PointLayer, InitialisingOpensNothing) {
  Call c;
  c.ndisp = c.iskip = c.ititle = c.iheader = 9;
  const std::string text = run(c, "", 5);
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.ndisp, 3);
  EXPECT_EQ(c.iskip, 2);
  EXPECT_EQ(c.nvar, 0);
  EXPECT_EQ(c.varnam[1].str(), "Variable.2");
  EXPECT_FALSE(frame::units::is_open(kUnit));
  EXPECT_EQ(text, cols::text(join({cols::head("readreal6"), {" INITIALIZING INPUT FILE TYPE"},
                                   cols::head("sfheader1"), {" INITIALIZING INPUT FILE HEADER"},
                                   cols::head("scol2var"), {" INITIALIZING VARIABLES<->COLUMNS"},
                                   cols::head("scol2var"),
                                   {" Input file not yet open", " ===> initializing header"}})));
}

TEST_F(PointLayer, OneShotModeAsksNothing) {
  const std::string path = file("st.dat", kStations);
  Call c;
  c.fname.whole = path;
  const std::string text = run(c, "", 1);
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 3);
  EXPECT_EQ(text.find("Enter"), std::string::npos);
  // The frames of the title and column-name readers still print.
  EXPECT_NE(text.find(" Read title from header: Stations"), std::string::npos);
  EXPECT_NE(text.find(" Name of column   1 lon"), std::string::npos);
  EXPECT_NE(text.find(" Stored   2 variables and   3 lines"), std::string::npos);
}

TEST_F(PointLayer, OneShotModeStopsTheRunWhenTheFileIsMissing) {
  Call c;
  c.fname.whole = (dir_ / "missing.dat").string();
  EXPECT_EXIT(
      {
        kt::StderrConsole console;
        run(c, 1);
      },
      ::testing::ExitedWithCode(1), "COULD NOT OPEN FILE");
}

TEST_F(PointLayer, MoreThanAThousandPointsKeepsTheFirstThousand) {
  std::string content = "'Many'\n'lon' 'lat'\n";
  for (int i = 1; i <= 1001; ++i) content += std::to_string(i) + " " + std::to_string(-i) + "\n";
  const std::string path = file("many.dat", content);
  Call c;
  const std::string text = run(c, path + "\n\n\n\n");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 1000);
  EXPECT_EQ(xp[999], 1000.0f);
  EXPECT_EQ(yp[999], -1000.0f);
  EXPECT_NE(text.find(" The array size has been reached"), std::string::npos);
  EXPECT_NE(text.find(" Actually read   :  1000 lines"), std::string::npos);
}

TEST_F(PointLayer, EmptyFileReadsNoPoint) {
  const std::string path = file("empty.dat", "");
  Call c;
  const std::string text = run(c, path + "\n\n\n\n");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 0);
  EXPECT_EQ(c.title.str(), "Untitled            ");
  EXPECT_EQ(c.rvarcolnam[0].str(), "File.col.1");
  EXPECT_NE(text.find(" REACHED END OF FILE"), std::string::npos);
}

TEST_F(PointLayer, PausesReadTheKeyboardAfterErrors) {
  frame::iocom.pause = true;
  const std::string path = file("bad.dat", "'T'\n'lon' 'lat'\n1 2\n3 x\n");
  Call c;
  // Each error tail waits for RETURN: two after the failed read, before the retry answer.
  const std::string text = run(c, path + "\n\n\n\n\n\n99\n");
  EXPECT_EQ(c.inotread, 1);
  EXPECT_EQ(count(text, " ===> HIT RETURN TO CONTINUE"), 2u);
}

TEST_F(PointLayer, AnswersFromACommandFile) {
  const std::string path = file("st.dat", kStations);
  const std::string answers = file("answers.txt", path + "\n\n\n\n");
  ASSERT_TRUE(frame::units::open(15, answers, frame::units::Status::Old));
  frame::iocom.stdin_unit = 15;
  frame::iocom.command_file = true;
  frame::iocom.lwito(2) = false;
  Call c;
  const std::string text = run(c, "");
  EXPECT_EQ(c.inotread, 0);
  EXPECT_EQ(c.nrow, 3);
  // The reader's own menus print in full at every output level.
  EXPECT_NE(text.find(" Change listing type .............300"), std::string::npos);
  EXPECT_NE(text.find(" Could read up to:  1000 lines"), std::string::npos);
}

TEST_F(PointLayer, KeyboardRunningOutEndsTheRun) {
  const std::string path = file("st.dat", kStations);
  Call c;
  EXPECT_EXIT(
      {
        kt::StderrConsole console(path + "\n");
        run(c, 0);
      },
      ::testing::ExitedWithCode(1), "");
}

// One reset gives the reader's settings their start value.
TEST(ColumnsState, ResetGivesTheSettingsTheirStartValue) {
  korbast::columns::readrealsetup.iskip = 3;
  korbast::columns::reset();
  EXPECT_EQ(korbast::columns::readrealsetup.iskip, 0);
}

}  // namespace
