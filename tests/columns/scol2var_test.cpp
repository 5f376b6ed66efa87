// The column assignment editor: start values by settings mode, the checks of the columns, the
// tables, the commands of each alteration level, and what is stored.
#include <gtest/gtest.h>

#include <string>

#include "columns/header_readers.hpp"
#include "columns/readrealsetup.hpp"
#include "columns/scol2var.hpp"
#include "columns_support.hpp"
#include "expected_dialog.hpp"
#include "frame/format.hpp"
#include "frame/text.hpp"
#include "support/console.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::testing::column_names;
using korbast::columns::scol2var2;
using korbast::columns::TextArray;
using Name10 = frame::Text<10>;
using namespace std::string_view_literals;

const std::string kDash = ex::rule('-');

// The status display down to the listing switch.
Lines status(const std::string& fname, const std::string& title, int m, int nvar, int ncol,
             int ncolused, int nfcol, int ilist) {
  auto i3 = [](int v) { return frame::fmt::I(v, 3); };
  return join({cols::head("scol2var"),
               {"         PROGRAM            <-->  INPUT FILE", kDash,
                " VARIABLE <--> ARRAY COLUMN <--> FILE COLUMN",
                " RECORD   <--> ARRAY LINE   <--> FILE LINE",
                "  CAN ALTER THE COLUMN CORRESPONDANCE ONLY ", kDash, "     Input file status",
                " Input file name: " + fname, " Title: " + title, "     Number of variable status",
                " Could read up to     : " + i3(m), " Planning to read     : " + i3(nvar),
                "     Number of array columns status", " Can use up to        : " + i3(ncol),
                " Planning to use up to: " + i3(ncolused),
                "     Number of input file columns status", " Can read up to       :  99",
                " Planning to read     : " + i3(nfcol), "     Listing type",
                " ilist                : " + i3(ilist)}});
}

const Lines kTableHead = {" |-----------------------------------------|",
                          " |          CORRESPONDANCE STATUS          |",
                          " |-----------------------------------------|",
                          " |   VARIABLE  |  ARRAY col  |  FILE col   |",
                          " |-------------|-------------|-------------|",
                          " |nb|   name   |nb|   name   |nb|   name   |",
                          " |--|----------|--|----------|--|----------|"};
const Lines kTableTail = {" ------------------------------------------- |",
                          " Command to modify correspondance <----------+"};
const Lines kCommands = {" Change listing type .............300", " SET UP IS OK, EXIT AND PROCEED ...99",
                         cols::at43()};

Lines names_listing(const std::string& path, const Lines& names) {
  Lines l = join({cols::head("getfnamcol"), {" Input file name  : " + path}});
  for (std::size_t k = 0; k < names.size(); ++k)
    l.push_back(" Name of column " + frame::fmt::I(static_cast<int>(k) + 1, 3) + " " + names[k]);
  l.push_back(" INPUT FILE " + path + " IS REWOUND");
  l.push_back(cols::at43());
  return l;
}

class Editor : public kt::ColumnsTest {
 protected:
  void SetUp() override {
    kt::ColumnsTest::SetUp();
    readrealsetup.ititle = 1;
    readrealsetup.iheader = 2;
  }
};

TEST_F(Editor, PointLayerCallChangesOnlyTheFileColumn) {
  const std::string path = file("p.dat", "'Stations'\n'lon' 'lat'\n1 2\n");
  ASSERT_TRUE(open(path));
  Name10 names[2] = {"X-long"sv, "Y-lat"sv};
  Name10 rcol[2];
  int jcola[2] = {1, 2}, jfcola[2] = {1, 2};
  int ierr = 7, nvar = 2, ncolused = -1;
  // Variable 2 is read from file column 1; then leave.
  kt::Console console("2\n1\n\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 2, path, kUnit, 1, 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(nvar, 2);
  EXPECT_EQ(jfcola[0], 1);
  EXPECT_EQ(jfcola[1], 1);
  EXPECT_EQ(jcola[0], 1);
  EXPECT_EQ(jcola[1], 2);
  EXPECT_EQ(names[0].str(), "X-long    ");
  EXPECT_EQ(names[1].str(), "Y-lat     ");
  EXPECT_EQ(rcol[0].str(), "lon       ");
  EXPECT_EQ(rcol[1].str(), "lon       ");
  EXPECT_EQ(ncolused, 2);
  EXPECT_EQ(readrealsetup.nvar, 2);
  EXPECT_EQ(readrealsetup.jfcol[1], 1);
  EXPECT_EQ(readrealsetup.jcol[1], 2);
  EXPECT_EQ(readrealsetup.nfcol, 1);
  EXPECT_EQ(readrealsetup.namvar[1].str(), "Y-lat      ");
  const Lines expected = join({
      names_listing(path, {"lon", "lat"}),
      status(path, "Stations", 2, 2, 2, 2, 2, 0), kTableHead,
      {" | 1|X-long    | 1|lon       | 1|lon       | 1", " | 2|Y-lat     | 2|lat       | 2|lat       | 2"},
      kTableTail, kCommands, cols::answer("your choice", 99, 2),
      {" Modifying correspondance", "  Variable name  = Y-lat", "  Array col nb   =   2",
       "  Array col name = lat", "  File col nb    =   2", "  File col name  = lat"},
      cols::ask_in("New file column nb", "[1,99]", 2), cols::echo(1),
      // Only the names of the file columns now used are read again.
      names_listing(path, {"lon"}),
      status(path, "Stations", 2, 2, 2, 2, 1, 0), kTableHead,
      {" | 1|X-long    | 1|lon       | 1|lon       | 1", " | 2|Y-lat     | 2|lon       | 1|lon       | 2"},
      kTableTail, kCommands, cols::answer("your choice", 99, 99)});
  EXPECT_EQ(console.text(), cols::text(expected));
  std::string line;
  frame::units::read_line(kUnit, line);
  EXPECT_EQ(line, "'Stations'") << "the file is left rewound";
}

TEST_F(Editor, InitialisingModeFiveSetsDefaultsQuietly) {
  Name10 names[3];
  Name10 rcol[2];
  int jcola[3] = {9, 9, 9}, jfcola[3] = {9, 9, 9};
  int ierr = 7, nvar = 3, ncolused = 5;
  kt::Console console;
  scol2var2(ierr, jcola, jfcola, names, nvar, 3, rcol, ncolused, 2, "", kUnit, 1, 5);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(nvar, 0);
  EXPECT_EQ(ncolused, 0);
  EXPECT_EQ(jfcola[2], 3);
  EXPECT_EQ(jcola[2], 2);
  EXPECT_EQ(names[2].str(), "Variable.3");
  EXPECT_EQ(rcol[0].str(), "Nodata.1  ");
  EXPECT_EQ(rcol[1].str(), "Nodata.2  ");
  EXPECT_EQ(readrealsetup.nvar, 0);
  EXPECT_EQ(readrealsetup.jfcol[98], 99);
  EXPECT_EQ(readrealsetup.jcol[98], 2);
  EXPECT_EQ(readrealsetup.namvar[98].str(), "Variable.99");
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("scol2var"), {" INITIALIZING VARIABLES<->COLUMNS"},
                              cols::head("scol2var"),
                              {" Input file not yet open", " ===> initializing header"}})));
}

TEST_F(Editor, InitialisingModeFourShowsTheEmptyAssignment) {
  Name10 names[2];
  Name10 rcol[2];
  int jcola[2] = {}, jfcola[2] = {};
  int ierr = 0, nvar = 2, ncolused = 0;
  kt::Console console("300\n1\n\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 2, "none.dat", kUnit, 1, 4);
  const Lines start = join({cols::head("scol2var"), {" INITIALIZING VARIABLES<->COLUMNS"},
                            cols::head("scol2var"),
                            {" Input file not yet open", " ===> initializing title = Untitled"}});
  const Lines header = join({cols::head("scol2var"), {" Input file not yet open", " ===> initializing header"}});
  const Lines array_table = {" |-----------------------------------------|",
                             " |               ARRAY STATUS              |",
                             " |-----------------------------------------|",
                             " |  ARRAY col  |                           |",
                             " |-------------|---------------------------|",
                             " |nb|   name   |                           |",
                             " |--|----------|---------------------------|",
                             " | 1|Nodata.1  |",
                             " | 2|Nodata.2  |"};
  EXPECT_EQ(console.text(),
            cols::text(join({start, header, status("none.dat", "Untitled", 2, 0, 2, 0, 0, 0), kTableHead,
                             kTableTail, kCommands, cols::answer("your choice", 99, 300),
                             cols::ask_in("Show array status ? (0/1)", "[0,1]", 0), cols::echo(1),
                             header, status("none.dat", "Untitled", 2, 0, 2, 0, 0, 1), array_table,
                             kTableHead, kTableTail, kCommands, cols::answer("your choice", 99, 99)})));
}

TEST_F(Editor, FileNotOpenInTheUsualModesWarnsAndUsesDefaultNames) {
  // Names of 6 characters: shorter than the table's 10 columns.
  frame::Text<6> names[1] = {"v"sv};
  Name10 rcol[1];
  int jcola[1] = {1}, jfcola[1] = {3};
  int ierr = 0, nvar = 1, ncolused = 0;
  kt::Console console("\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 1, rcol, ncolused, 1, "gone.dat", kUnit, 1, 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(rcol[0].str(), "File.col.3");
  EXPECT_EQ(readrealsetup.namfcol[2].str(), "File.col.3 ");
  const std::string text = console.text();
  EXPECT_NE(text.find(cols::text(join({cols::warning("scol2var"),
                                       {" Input file is not opened", " ===> cannot read title",
                                        " setting title = Untitled", cols::slashes43()},
                                       cols::warning("scol2var"),
                                       {" Input file is not opened", " ===> cannot read header",
                                        " ===> setting default header", cols::slashes43()}}))),
            std::string::npos);
  EXPECT_NE(text.find(" | 1|    v     | 1|File.col.3| 3|File.col.3| 1\n"), std::string::npos)
      << "a text declared shorter than 10 stands right-aligned: " << text;
}

TEST_F(Editor, ChangingTheCountGivesDefaultsOnlyToNewVariables) {
  const std::string path = file("p.dat", "'T'\n'a' 'b' 'c' 'd'\n1 2 3 4\n");
  ASSERT_TRUE(open(path));
  Name10 names[4] = {"first"sv, "second"sv};
  Name10 rcol[2];
  int jcola[4] = {2, 1, 0, 0}, jfcola[4] = {3, 4, 0, 0};
  int ierr = 0, nvar = 2, ncolused = 0;
  // 200 -> 3 variables; 200 keeping 3; 200 -> 1; leave.
  kt::Console console("200\n3\n200\n\n200\n1\n99\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 4, rcol, ncolused, 2, path, kUnit, 4, 0);
  EXPECT_EQ(nvar, 1);
  // The existing variables kept their assignment through all three changes of the count.
  EXPECT_EQ(jcola[1], 1);
  EXPECT_EQ(jfcola[1], 4);
  EXPECT_EQ(names[1].str(), "second    ");
  EXPECT_EQ(jcola[2], 2);
  EXPECT_EQ(jfcola[2], 3);
  EXPECT_EQ(names[2].str(), "Variable.3");
  EXPECT_EQ(readrealsetup.nvar, 1);
  EXPECT_EQ(readrealsetup.jfcol[0], 3);
  EXPECT_EQ(readrealsetup.nfcol, 3);
  const std::string text = console.text();
  EXPECT_NE(text.find(" Change nb of variables to read...200\n Change listing type"), std::string::npos);
  EXPECT_NE(text.find(cols::text(cols::ask_in("total nb of variables to store", "[0,4]", 2))),
            std::string::npos);
  EXPECT_NE(text.find(" | 3|Variable.3| 2|c         | 3|c         | 3\n"), std::string::npos);
}

TEST_F(Editor, CountCommandOnlyAtLevelFour) {
  Name10 names[2] = {"a"sv, "b"sv};
  Name10 rcol[2];
  int jcola[2] = {1, 2}, jfcola[2] = {1, 2};
  int ierr = 0, nvar = 2, ncolused = 0;
  kt::Console console("200\n\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 2, "f", kUnit, 3, 0);
  EXPECT_EQ(nvar, 2);
  EXPECT_EQ(console.text().find("total nb of variables"), std::string::npos);
  EXPECT_EQ(console.text().find("...200"), std::string::npos);
}

TEST_F(Editor, NinetyNineLeavesEvenWithNinetyNineVariables) {
  Name10 names[99];
  Name10 rcol[99];
  int jcola[99], jfcola[99];
  for (int v = 0; v < 99; ++v) {
    jcola[v] = v + 1;
    jfcola[v] = v + 1;
    names[v] = std::string("v").append(std::to_string(v + 1));
  }
  int ierr = 0, nvar = 99, ncolused = 0;
  // The default answer and a typed 99 both end the set-up: no variable question follows.
  for (const char* answer : {"\n", "99\n"}) {
    kt::Console console(answer);
    scol2var2(ierr, jcola, jfcola, names, nvar, 99, rcol, ncolused, 99, "f", kUnit, 1, 0);
    EXPECT_EQ(console.text().find("Modifying correspondance"), std::string::npos);
    EXPECT_EQ(jfcola[98], 99);
    EXPECT_EQ(readrealsetup.nvar, 99);
  }
}

TEST_F(Editor, ColumnsBelowOneOrAboveTheirLimitsAreReset) {
  Name10 names[2] = {"a"sv, "b"sv};
  Name10 rcol[2];
  int jcola[2] = {0, 5}, jfcola[2] = {-1, 120};
  int ierr = 0, nvar = 2, ncolused = 0;
  kt::Console console;
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 2, "f", kUnit, 1, 1);
  EXPECT_EQ(jfcola[0], 1);
  EXPECT_EQ(jfcola[1], 1);
  EXPECT_EQ(jcola[0], 1);
  EXPECT_EQ(jcola[1], 2);
  EXPECT_EQ(ncolused, 2);
  EXPECT_EQ(readrealsetup.nfcol, 1);
  auto file_col = [](int v, int col) {
    return join({cols::warning("scol2var"),
                 {"             variable nb = " + frame::fmt::I(v, 3),
                  "     file col nb to read = " + frame::fmt::I(col, 3),
                  " max file col nb to read =  99", " ====> RESET file col nb =   1",
                  cols::slashes43()}});
  };
  auto array_col = [](int v, int col) {
    return join({cols::warning("scol2var"),
                 {"                variable nb = " + frame::fmt::I(v, 3),
                  "     array col nb to store  = " + frame::fmt::I(col, 3),
                  " max array col nb available =   2", cols::slashes43()}});
  };
  EXPECT_EQ(console.text(),
            cols::text(join({file_col(1, -1), file_col(2, 120), array_col(1, 0), array_col(2, 5),
                             cols::warning("scol2var"),
                             {" Input file is not opened", " ===> cannot read header",
                              " ===> setting default header", cols::slashes43()}})));
}

TEST_F(Editor, TooManyVariablesFromTheCallerAreCut) {
  Name10 names[2] = {"a"sv, "b"sv};
  Name10 rcol[2];
  int jcola[2] = {1, 2}, jfcola[2] = {1, 2};
  int ierr = 0, nvar = 5, ncolused = 0;
  kt::Console console;
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 2, "f", kUnit, 1, 1);
  EXPECT_EQ(nvar, 2);
  EXPECT_EQ(readrealsetup.nvar, 2);
  const std::string warning =
      cols::text(join({cols::warning("scol2var"),
                       {" Trying to set nvar =   5 variables", " Max nb of variables =   2",
                        " ===> RESET nvar =   2", cols::slashes43()}}));
  EXPECT_EQ(console.text().substr(0, warning.size()), warning);
}

TEST_F(Editor, StoredAssignmentInModeTwo) {
  auto& s = readrealsetup;
  s.nvar = 3;
  s.jcol[0] = 2; s.jcol[1] = 1; s.jcol[2] = 2;
  s.jfcol[0] = 5; s.jfcol[1] = 6; s.jfcol[2] = 7;
  s.namvar[0] = "stored.one"; s.namvar[1] = "stored.two"; s.namvar[2] = "stored.3";
  Name10 names[2];
  Name10 rcol[2];
  int jcola[2] = {}, jfcola[2] = {};
  int ierr = 0, nvar = 0, ncolused = 0;
  kt::Console console;
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 2, "f", kUnit, 1, 3);
  EXPECT_EQ(nvar, 2);
  EXPECT_EQ(s.nvar, 2);
  EXPECT_EQ(jcola[0], 2);
  EXPECT_EQ(jfcola[1], 6);
  EXPECT_EQ(names[0].str(), "stored.one");
  EXPECT_EQ(s.nfcol, 6);
  EXPECT_EQ(console.text().substr(0, cols::text(cols::error("scol2var")).size()),
            cols::text(cols::error("scol2var")));
  EXPECT_NE(console.text().find(" Currently set nvar =   3 variables\n Max nb of variables =   2\n"
                                " ===> RESET nvar =   2\n"),
            std::string::npos);
}

TEST_F(Editor, LaterVariableInTheSameArrayColumnNamesIt) {
  const std::string path = file("p.dat", "'T'\n'a' 'b' 'c'\n");
  ASSERT_TRUE(open(path));
  Name10 names[2] = {"x"sv, "y"sv};
  Name10 rcol[3];
  int jcola[2] = {2, 2}, jfcola[2] = {1, 3};
  int ierr = 0, nvar = 2, ncolused = 0;
  kt::Console console;
  scol2var2(ierr, jcola, jfcola, names, nvar, 2, rcol, ncolused, 3, path, kUnit, 1, 1);
  EXPECT_EQ(rcol[0].str(), "Nodata.1  ");
  EXPECT_EQ(rcol[1].str(), "c         ");
  EXPECT_EQ(rcol[2].str(), "Nodata.3  ");
  EXPECT_EQ(ncolused, 2);
}

TEST_F(Editor, LevelThreeAsksNameArrayAndFileColumn) {
  const std::string path = file("p.dat", "'T'\n'a' 'b' 'c'\n");
  ASSERT_TRUE(open(path));
  Name10 names[1] = {"x"sv};
  Name10 rcol[3];
  int jcola[1] = {1}, jfcola[1] = {1};
  int ierr = 0, nvar = 1, ncolused = 0;
  kt::Console console("1\nheight\n3\n2\n\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 1, rcol, ncolused, 3, path, kUnit, 3, 0);
  EXPECT_EQ(names[0].str(), "height    ");
  EXPECT_EQ(jcola[0], 3);
  EXPECT_EQ(jfcola[0], 2);
  EXPECT_EQ(rcol[2].str(), "b         ");
  EXPECT_EQ(readrealsetup.namvar[0].str(), "height     ");
  const std::string text = console.text();
  const auto name_q = text.find(" Enter New variable name");
  const auto array_q = text.find(" Enter New array column nb\n inside  [1,3]");
  const auto file_q = text.find(" Enter New file column nb\n inside  [1,99]");
  ASSERT_NE(name_q, std::string::npos);
  ASSERT_NE(array_q, std::string::npos);
  ASSERT_NE(file_q, std::string::npos);
  EXPECT_LT(name_q, array_q);
  EXPECT_LT(array_q, file_q);
}

TEST_F(Editor, NoAlterationLevelShowsTablesWithoutCommands) {
  Name10 names[1] = {"x"sv};
  Name10 rcol[1];
  int jcola[1] = {1}, jfcola[1] = {1};
  int ierr = 0, nvar = 1, ncolused = 0;
  kt::Console console("1\n\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 1, rcol, ncolused, 1, "f", kUnit, 0, 0);
  const std::string text = console.text();
  EXPECT_EQ(text.find("Modifying"), std::string::npos);
  EXPECT_NE(text.find(" | 1|x         | 1|File.col.1| 1|File.col.1|\n" + kDash + "\n Change listing"),
            std::string::npos);
}

TEST_F(Editor, UnreadableNamesFailTheEditorButKeepItGoing) {
  const std::string path = file("p.dat", "'T'\n'a'b\n");
  ASSERT_TRUE(open(path));
  Name10 names[1] = {"x"sv};
  Name10 rcol[1];
  int jcola[1] = {1}, jfcola[1] = {1};
  int ierr = 0, nvar = 1, ncolused = 0;
  kt::Console console("\n");
  scol2var2(ierr, jcola, jfcola, names, nvar, 1, rcol, ncolused, 1, path, kUnit, 1, 0);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(rcol[0].str(), "File.col.1");
  EXPECT_NE(console.text().find(cols::text(join({cols::error("scol2var"),
                                                 {" COULD NOT READ COLUMN HEADERS", " IN FILE: " + path,
                                                  " ===> setting default header", cols::stars43()}}))),
            std::string::npos);
}

TEST_F(Editor, ListsShorterThanTheCallerSaysAreNotOverrun) {
  Name10 names[2] = {"a"sv, "b"sv};
  Name10 rcol[2];
  int jcola[2] = {1, 2}, jfcola[2] = {1, 2};
  int ierr = 0, nvar = 2, ncolused = 0;
  kt::Console console;
  // nvarmax 50 but room for 2: the initialising loop stops at the lists' end.
  scol2var2(ierr, jcola, jfcola, TextArray(names, 2), nvar, 50, rcol, ncolused, 2, "f", kUnit, 1, 5);
  EXPECT_EQ(names[1].str(), "Variable.2");
}

}  // namespace
