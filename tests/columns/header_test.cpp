// The header layout menu, the header display, and the title and column-name readers: console
// text derived by hand from their rules, file positions and statuses.
#include <gtest/gtest.h>

#include <string>

#include "columns/header_readers.hpp"
#include "columns/readrealsetup.hpp"
#include "columns/sfheader.hpp"
#include "columns_support.hpp"
#include "expected_dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::testing::column_names;
using korbast::columns::getfnamcol;
using korbast::columns::getftitle1;
using korbast::columns::kNameLength;
using korbast::columns::sfheader1;
using korbast::columns::showfhead1;

std::string next_line() {
  std::string line;
  frame::units::read_line(kUnit, line);
  return line;
}

class Header : public kt::ColumnsTest {};

// ---- showfhead1 ----

TEST_F(Header, DisplayShowsRolesAndLinesInPiecesOfHundred) {
  const std::string long_line = "  " + std::string(248, 'b');
  const std::string path = file("h.dat", "'Title'\n\n" + long_line + "\n1 2   \n5 6\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  int ierr = 7;
  showfhead1(ierr, path, kUnit, 4, 2, 2, 2);
  EXPECT_EQ(ierr, 0);
  const std::string blank100(100, ' ');
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("showfhead1"),
                              {"          DISPLAYING FILE HEADER            ", " OF FILE: " + path,
                               ex::rule('-'),
                               " ==>Line nb:   1 = Header to skip ==========", " 'Title'",
                               // Title and names on one line: both roles are shown.
                               " ==>Line nb:   2 = Header: Title ===========",
                               " ==>Line nb:   2 = Header: Column names ====",
                               // An empty line is all blanks up to its 400th character.
                               " " + blank100, " " + blank100, " " + blank100, " " + blank100,
                               " ==>Line nb:   3 = Data ====================",
                               " " + long_line.substr(0, 100), " " + long_line.substr(100, 100),
                               " " + long_line.substr(200, 50),
                               " ==>Line nb:   4 = Data ====================", " 1 2",
                               ex::rule('='), " ==> FILE " + path + " IS REWOUND",
                               cols::at43()}})));
  EXPECT_EQ(next_line(), "'Title'");
}

TEST_F(Header, DisplayCutsLinesAtFourHundredCharacters) {
  const std::string path = file("h.dat", std::string(450, 'x') + "\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  int ierr = 0;
  showfhead1(ierr, path, kUnit, 1, 2, 1, 2);
  const std::string text = console.text();
  EXPECT_NE(text.find("\n " + std::string(100, 'x') + "\n ="), std::string::npos);
  EXPECT_EQ(text.find(std::string(101, 'x')), std::string::npos);
}

TEST_F(Header, ShortFileEndsTheDisplayWithAWarningButNoFailure) {
  const std::string path = file("h.dat", "'T'\n'a' 'b'\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  int ierr = 7;
  showfhead1(ierr, path, kUnit, 4, 2, 1, 2);
  // A file of header lines only is a valid file: the reader must be able to go on.
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("showfhead1"),
                              {"          DISPLAYING FILE HEADER            ", " OF FILE: " + path,
                               ex::rule('-'),
                               " ==>Line nb:   1 = Header: Title ===========", " 'T'",
                               " ==>Line nb:   2 = Header: Column names ====", " 'a' 'b'",
                               " ==>Line nb:   3 = Data ===================="},
                              cols::warning("showfhead1"),
                              {" REACHED END OF FILE", " IN FILE: " + path,
                               " WHILE READING   3 th LINE", " ==> FILE " + path + " IS REWOUND",
                               cols::slashes43()}})));
  EXPECT_EQ(next_line(), "'T'");
}

TEST_F(Header, NothingToDisplayShowsOnlyTheFrame) {
  const std::string path = file("h.dat", "'T'\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  int ierr = 7;
  showfhead1(ierr, path, kUnit, -2, 2, 1, 2);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("showfhead1"),
                              {"          DISPLAYING FILE HEADER            ", " OF FILE: " + path,
                               ex::rule('-'), ex::rule('='),
                               " ==> FILE " + path + " IS REWOUND", cols::at43()}})));
}

// ---- sfheader1 ----

const Lines kMenuHead = {"             FILE HEADER SET UP             ", ex::rule('-')};

Lines menu(int ndisp, int iskip, int ititle, int iheader) {
  namespace fmt = frame::fmt;
  return join({cols::head("sfheader1"), kMenuHead,
               {" nb of lines to display in dialog.100 " + fmt::I(ndisp, 3),
                " nb of header lines without data .110 " + fmt::I(iskip, 3),
                " line nb to read title ...........120 " + fmt::I(ititle, 3),
                " line nb to read column header....130 " + fmt::I(iheader, 3),
                " HELP ............................900", " SET UP IS OK, EXIT AND PROCEED ...99",
                cols::at43()}});
}

TEST_F(Header, InitialisingSetsTheDefaultLayoutWithoutAMenu) {
  kt::Console console;
  int ierr = 7, ndisp = 0, iskip = 0, ititle = 0, iheader = 0;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "", kUnit, 5);
  EXPECT_EQ(ierr, 7) << "no display was made";
  EXPECT_EQ(ndisp, 3);
  EXPECT_EQ(iskip, 2);
  EXPECT_EQ(ititle, 1);
  EXPECT_EQ(iheader, 2);
  EXPECT_EQ(readrealsetup.ndisp, 3);
  EXPECT_EQ(readrealsetup.iskip, 2);
  EXPECT_EQ(readrealsetup.ititle, 1);
  EXPECT_EQ(readrealsetup.iheader, 2);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("sfheader1"), {" INITIALIZING INPUT FILE HEADER"}})));
}

TEST_F(Header, TitleAndNameLinesBeyondTheHeaderAreResetOnEntry) {
  kt::Console console;
  int ierr = 0, ndisp = 3, iskip = 1, ititle = 2, iheader = 3;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "", kUnit, 1);
  EXPECT_EQ(ititle, 0);
  EXPECT_EQ(iheader, 0);
  EXPECT_EQ(readrealsetup.ititle, 0);
  EXPECT_EQ(readrealsetup.iheader, 0);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::warning("sfheader1"),
                              {" ititle =   2 > iskip =   1", " ===> RESET ititle =   0",
                               cols::slashes43()},
                              cols::warning("sfheader1"),
                              {" iheader =   3 > iskip =   1", " ===> RESET iheader =   0",
                               cols::slashes43()}})));
}

TEST_F(Header, MenuWithoutAnOpenFileWarnsAndKeepsTheLayout) {
  kt::Console console("\n");
  int ierr = 7, ndisp = 4, iskip = 2, ititle = 1, iheader = 2;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "pts.dat   ", kUnit, 0);
  EXPECT_EQ(ierr, 7);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::warning("sfheader1"),
                              {" Input file pts.dat is not opened", " ======> cannot display header",
                               cols::slashes43()},
                              menu(4, 2, 1, 2), cols::answer("your choice", 99, 99)})));
}

TEST_F(Header, StoredLayoutInModeTwo) {
  readrealsetup.ndisp = 6;
  readrealsetup.iskip = 4;
  readrealsetup.ititle = 3;
  readrealsetup.iheader = 4;
  kt::Console console;
  int ierr = 0, ndisp = 1, iskip = 1, ititle = 1, iheader = 1;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "", kUnit, 3);
  EXPECT_EQ(ndisp, 6);
  EXPECT_EQ(iskip, 4);
  EXPECT_EQ(ititle, 3);
  EXPECT_EQ(iheader, 4);
  EXPECT_EQ(console.text(), "");
}

TEST_F(Header, CommandsChangeTheLayoutAndTheDisplayFollows) {
  const std::string path = file("h.dat", "a\nb\nc\nd\ne\n");
  ASSERT_TRUE(open(path));
  // 100: show 2 lines; 110: 3 header lines; 120: title on 3; 130: names on 0; then leave.
  kt::Console console("100\n2\n110\n3\n120\n3\n130\n0\n\n");
  int ierr = 0, ndisp = 4, iskip = 2, ititle = 1, iheader = 2;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, path, kUnit, 0);
  EXPECT_EQ(ndisp, 2);
  EXPECT_EQ(iskip, 3);
  EXPECT_EQ(ititle, 3);
  EXPECT_EQ(iheader, 0);
  EXPECT_EQ(readrealsetup.iskip, 3);
  EXPECT_EQ(readrealsetup.ititle, 3);
  EXPECT_EQ(readrealsetup.iheader, 0);
  const std::string text = console.text();
  EXPECT_NE(text.find(cols::text(menu(2, 3, 3, 0))), std::string::npos);
  EXPECT_NE(text.find(cols::text(cols::ask_in("line number to read title from", "[0,3]", 1))),
            std::string::npos);
  // Five displays: before the first menu and after each of the four commands.
  std::size_t count = 0;
  for (auto p = text.find("DISPLAYING FILE HEADER"); p != std::string::npos;
       p = text.find("DISPLAYING FILE HEADER", p + 1))
    ++count;
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(next_line(), "a");
}

TEST_F(Header, NegativeHeaderLineCountIsRefused) {
  // 110 with -3: refused, asked again; then 120 offers [0,2] and can be answered.
  kt::Console console("110\n-3\n2\n120\n2\n99\n");
  int ierr = 0, ndisp = 0, iskip = 5, ititle = 1, iheader = 2;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "f", kUnit, 0);
  EXPECT_EQ(iskip, 2);
  EXPECT_EQ(ititle, 2);
  const std::string text = console.text();
  EXPECT_NE(text.find(cols::text(cols::ask_in("Number of dataless lines to skip", "[0,9999]", 5))),
            std::string::npos);
  EXPECT_NE(text.find(" Number of dataless lines to skip =           -3\n outside [0,9999]\n"),
            std::string::npos);
}

TEST_F(Header, LineQuestionsWithAnImpossibleIntervalDoNotHang) {
  // A negative count from the caller: the title question has no answer and keeps its default.
  kt::Console console("120\n99\n");
  int ierr = 0, ndisp = 0, iskip = -1, ititle = 0, iheader = 0;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "f", kUnit, 0);
  EXPECT_EQ(ititle, 0);
  EXPECT_NE(console.text().find(" ==> LOWER BOUND ABOVE UPPER BOUND"), std::string::npos);
}

TEST_F(Header, HelpText) {
  kt::Console console("900\n99\n");
  int ierr = 0, ndisp = 0, iskip = 2, ititle = 1, iheader = 2;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "f", kUnit, 0);
  const std::string dash = ex::rule('-');
  const std::string help =
      cols::text(join({cols::head("sfheader1"),
                       {"           ACCEPTABLE FILE FORMAT           ", dash, " Default file header",
                        " line nb content", dash, " 1   'Title of the data set'",
                        " 2   'header1'   'header2'   'header3'",
                        " 3       65.3           5         6.3", dash,
                        " line nb for title  = 0 => do not read title",
                        " line nb for header = 0 => do not read header", dash,
                        " numerical data are read in", "   FORTRAN free format",
                        "   => they can be separated by tabs or spaces", "  ",
                        " character strings are read in", "   FORTRAN free format",
                        "   => they must be enclosed within quotes",
                        "      as above. If not, do not read them.", cols::at43()}}));
  const std::string text = console.text();
  const auto at = text.find(help);
  ASSERT_NE(at, std::string::npos);
  // The menu comes again after the help text.
  EXPECT_NE(text.find(cols::text(menu(0, 2, 1, 2)), at + help.size()), std::string::npos);
}

TEST_F(Header, UnknownModeIsReportedAndTheCallersValuesKept) {
  kt::Console console("n\n");
  int ierr = 0, ndisp = 9, iskip = 2, ititle = 1, iheader = 2;
  sfheader1(ierr, ndisp, iskip, ititle, iheader, "f", kUnit, 7);
  EXPECT_EQ(ndisp, 9);
  EXPECT_EQ(readrealsetup.ndisp, 9);
  EXPECT_NE(console.text().find(" subroutine: sfheader1"), std::string::npos);
}

// ---- getftitle1 ----

TEST_F(Header, TitleShownInEvenModes) {
  const std::string path = file("t.dat", "'The title' x\n'a'\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  char title[20];
  int ierr = 7;
  getftitle1(ierr, title, path, kUnit, 1, 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(std::string(title, 20), "The title           ");
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("getftitle1"),
                              {" Input file name: " + path, " Read title from header: The title",
                               " INPUT FILE " + path + " IS REWOUND", cols::at43()}})));
  EXPECT_EQ(next_line(), "'The title' x");
  console.clear();
  getftitle1(ierr, title, path, kUnit, 1, 1);
  EXPECT_EQ(console.text(), "");
}

TEST_F(Header, TitleLongerThanItsTextIsCut) {
  const std::string path = file("t.dat", "'abcdefghijklmnopqrstuvwxyz'\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  char title[20];
  int ierr = 0;
  getftitle1(ierr, title, path, kUnit, 1, 1);
  EXPECT_EQ(std::string(title, 20), "abcdefghijklmnopqrst");
}

TEST_F(Header, TitleLineZeroLeavesTheFileUntouchedInEveryMode) {
  const std::string path = file("t.dat", "one\ntwo\n");
  ASSERT_TRUE(open(path));
  EXPECT_EQ(next_line(), "one");
  for (int mode : {0, 1}) {
    kt::Console console;
    char title[12];
    int ierr = 7;
    getftitle1(ierr, title, path, kUnit, 0, mode);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(std::string(title, 12), "Untitled    ");
    EXPECT_EQ(console.text(),
              cols::text(join({cols::warning("getftitle1"),
                                {" Input file name  : " + path, " Title line nb =   0",
                                 " ==> NOT ATTEMPTING TO READ TITLE", " Title set to default: Untitled",
                                 " INPUT FILE " + path + " UNTOUCHED", cols::slashes43()}})));
  }
  EXPECT_EQ(next_line(), "two");
}

TEST_F(Header, UnreadableTitleIsReportedAndUntitled) {
  const std::string path = file("t.dat", "skip\n'ab'x\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  char title[10] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
  int ierr = 0;
  getftitle1(ierr, title, path, kUnit, 2, 1);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(std::string(title, 10), "Untitled  ");
  EXPECT_EQ(console.text(),
            cols::text(join({cols::error("getftitle1"),
                              {" WHILE TRYING TO READ TITLE IN   2 th LINE", " ==> COULD NOT READ TITLE",
                               " IN INPUT FILE: " + path, " ==> SETTING title = Untitled",
                               " INPUT FILE " + path + " IS REWOUND", cols::stars43()}})));
  EXPECT_EQ(next_line(), "skip");
}

TEST_F(Header, UnterminatedQuoteAtTheEndOfTheFileKeepsUntitled) {
  const std::string path = file("t.dat", "'never closed\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  char title[10];
  int ierr = 7;
  getftitle1(ierr, title, path, kUnit, 1, 1);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(std::string(title, 10), "Untitled  ");
}

// ---- getfnamcol ----

TEST_F(Header, NamesListedInModeZero) {
  const std::string path = file("n.dat", "'T'\n'lon' 'lat' 'depth'\n1 2 3\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  frame::Text<kNameLength> names[3];
  int ierr = 7;
  getfnamcol(ierr, names, 3, 2, path, kUnit, 2, 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(names[0].str(), "lon        ");
  EXPECT_EQ(names[1].str(), "lat        ");
  EXPECT_EQ(names[2].str(), "           ") << "only nfcol names are written";
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("getfnamcol"),
                              {" Input file name  : " + path, " Name of column   1 lon",
                               " Name of column   2 lat", " INPUT FILE " + path + " IS REWOUND",
                               cols::at43()}})));
  console.clear();
  getfnamcol(ierr, names, 3, 2, path, kUnit, 2, 1);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::head("getfnamcol"),
                              {" INPUT FILE " + path + " IS REWOUND", cols::at43()}})));
  EXPECT_EQ(next_line(), "'T'");
}

TEST_F(Header, NameLineZeroGivesTheDefaultNames) {
  const std::string path = file("n.dat", "one\n");
  ASSERT_TRUE(open(path));
  EXPECT_EQ(next_line(), "one");
  kt::Console console;
  frame::Text<kNameLength> names[12];
  int ierr = 7;
  getfnamcol(ierr, names, 12, 12, path, kUnit, 0, 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(names[0].str(), "File.col.1 ");
  EXPECT_EQ(names[11].str(), "File.col.12");
  Lines expected = join({cols::warning("getfnamcol"),
                         {" Input file name  : " + path, " Column headers line nb =   0",
                          " ==> NOT ATTEMPTING TO READ HEADERS", " ==> Headers set to defaults:"}});
  for (int k = 1; k <= 12; ++k)
    expected.push_back(" Name of column " + frame::fmt::I(k, 3) + " File.col." + std::to_string(k));
  expected.push_back(cols::slashes43());
  EXPECT_EQ(console.text(), cols::text(expected));
  std::string line;
  EXPECT_EQ(frame::units::read_line(kUnit, line), frame::units::Read::Eof) << "file untouched";
  // Without the listing in the other modes.
  console.clear();
  getfnamcol(ierr, names, 12, 1, path, kUnit, -1, 1);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::warning("getfnamcol"),
                              {" Input file name  : " + path, " Column headers line nb =  -1",
                               " ==> NOT ATTEMPTING TO READ HEADERS", " ==> Headers set to defaults:",
                               cols::slashes43()}})));
}

TEST_F(Header, UnreadableNamesAreReported) {
  const std::string path = file("n.dat", "'T'\n'a' 'b'c\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  frame::Text<kNameLength> names[2];
  int ierr = 0;
  getfnamcol(ierr, names, 2, 2, path, kUnit, 2, 0);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(console.text(),
            cols::text(join({cols::error("getfnamcol"),
                              {" WHILE TRYING TO READ HEADERS IN   2 th LINE", " IN FILE: " + path,
                               " INPUT FILE " + path + " IS REWOUND", cols::stars43()}})));
  EXPECT_EQ(next_line(), "'T'");
}

TEST_F(Header, NamesNeverWrittenBeyondTheirList) {
  const std::string path = file("n.dat", "'T'\n'a' 'b' 'c' 'd'\n");
  ASSERT_TRUE(open(path));
  kt::Console console;
  frame::Text<kNameLength> names[3];
  int ierr = 0;
  getfnamcol(ierr, names, 2, 4, path, kUnit, 2, 1);
  EXPECT_EQ(names[1].str(), "b          ");
  EXPECT_EQ(names[2].str(), "           ");
}

}  // namespace
