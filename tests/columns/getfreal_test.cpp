// Reading the data records: the summary, the capacity of the array, the column checks, the
// record buffer between files, values that are no finite numbers, and an incomplete record.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "columns/arrays.hpp"
#include "columns/getfreal.hpp"
#include "columns/header_readers.hpp"
#include "columns/readreal.hpp"
#include "columns/readrealsetup.hpp"
#include "columns_support.hpp"
#include "expected_dialog.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"

namespace {

using namespace korbast::testing::column_names;
using korbast::columns::getfreal;
using korbast::columns::RealArray;

class Records : public kt::ColumnsTest {
 protected:
  // Layout of two header lines (title, names) and the variables (array col, file col).
  void assign(std::initializer_list<std::pair<int, int>> vars, int nfcol, int iskip = 2) {
    auto& s = readrealsetup;
    s.iskip = iskip;
    s.ititle = 1;
    s.iheader = 2;
    s.nvar = 0;
    for (auto [jc, jf] : vars) {
      s.jcol[s.nvar] = jc;
      s.jfcol[s.nvar] = jf;
      ++s.nvar;
    }
    s.nfcol = nfcol;
  }
  struct Result {
    int ierr = -1, nrow = -1, ncolused = -1;
    std::string text;
  };
  Result read(const std::string& content, std::vector<float>& data, int ldim, int ncol, int inter = 1) {
    path_ = file("d.dat", content);
    EXPECT_TRUE(open(path_));
    kt::Console console;
    Result r;
    getfreal(r.ierr, r.nrow, r.ncolused, RealArray(data, ldim, ncol), ldim, ncol, path_, kUnit, inter);
    r.text = console.text();
    return r;
  }
  std::string path_;
};

TEST_F(Records, SummaryInEvenModes) {
  assign({{1, 2}, {2, 1}}, 2);
  std::vector<float> data(15, -1.0f);
  const Result r = read("'My data'\n'a' 'b'\n1 2\n3 4\n", data, 5, 3, 0);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_EQ(r.nrow, 2);
  EXPECT_EQ(r.ncolused, 2);
  // Column 1 receives file column 2 and column 2 file column 1; column 3 is untouched.
  EXPECT_EQ(data, (std::vector<float>{2, 4, -1, -1, -1, 1, 3, -1, -1, -1, -1, -1, -1, -1, -1}));
  EXPECT_FALSE(frame::units::is_open(kUnit));
  EXPECT_EQ(r.text,
            cols::text(join({cols::head("getftitle1"),
                             {" Input file name: " + path_, " Read title from header: My data",
                              " INPUT FILE " + path_ + " IS REWOUND", cols::at43()},
                             cols::head("getfreal"),
                             {" Input file name: " + path_, " Title: My data",
                              "     Number of variable status", " Could read up to:  99",
                              " Actually read   :   2", "         Array status             ",
                              " Could read up to:     5 lines", " Actually read   :     2 lines",
                              " Can use up to   :   3 columns", " Actually used   :   2 columns",
                              " input file " + path_ + " closed", cols::at43()}})));
}

TEST_F(Records, ByteOrderMarkCrOnlyAndStrayCrFilesReadAsPlainOnes) {
  assign({{1, 2}, {2, 1}}, 2);
  for (const char* content : {"\xEF\xBB\xBF'T'\r'a' 'b'\r1 2\r3 4\r", "'T'\r\n'a' 'b'\r\n1 2\r\r\n3\r4\r\n"}) {
    std::vector<float> data(4, -1.0f);
    const Result r = read(content, data, 2, 2, 1);
    EXPECT_EQ(r.ierr, 0) << r.text;
    EXPECT_EQ(r.nrow, 2);
    EXPECT_EQ(data, (std::vector<float>{2, 4, 1, 3}));
  }
}

TEST_F(Records, ShortSummaryInOddModes) {
  assign({{1, 1}}, 1);
  std::vector<float> data(10);
  const Result r = read("'T'\n'a'\n1\n2\n3\n", data, 10, 1, 1);
  EXPECT_EQ(r.nrow, 3);
  const std::string tail = cols::text(join({cols::head("getfreal"),
                                            {" Stored   1 variables and   3 lines",
                                             " input file " + path_ + " closed", cols::at43()}}));
  ASSERT_GE(r.text.size(), tail.size());
  EXPECT_EQ(r.text.substr(r.text.size() - tail.size()), tail);
}

TEST_F(Records, ExactlyFullArrayWarnsThatDataMayBeLeft) {
  assign({{1, 1}}, 1);
  std::vector<float> data(3);
  const Result r = read("'T'\n'a'\n1\n2\n3\n", data, 3, 1);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_EQ(r.nrow, 3);
  EXPECT_NE(r.text.find(cols::text(join({cols::warning("getfreal"),
                                         {" The array size has been reached",
                                          " ==> the data may not have been fully read",
                                          cols::slashes43()}}))),
            std::string::npos);
}

TEST_F(Records, MoreRecordsThanRowsKeepsTheFirst) {
  assign({{1, 1}}, 1);
  std::string content = "'T'\n'a'\n";
  for (int i = 1; i <= 1001; ++i) content += std::to_string(i) + "\n";
  std::vector<float> data(1000);
  const Result r = read(content, data, 1000, 1);
  EXPECT_EQ(r.nrow, 1000);
  EXPECT_EQ(data[999], 1000.0f);
  EXPECT_NE(r.text.find(" The array size has been reached"), std::string::npos);
  EXPECT_NE(r.text.find(" Stored   1 variables and *** lines"), std::string::npos);
}

TEST_F(Records, NoRowsAtAll) {
  assign({{1, 1}}, 1);
  std::vector<float> data(1, 5.0f);
  Result r = read("'T'\n'a'\n1\n", data, 0, 1);
  EXPECT_EQ(r.nrow, 0);
  EXPECT_NE(r.text.find(" The array size has been reached"), std::string::npos);
  r = read("'T'\n'a'\n1\n", data, -3, 1);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_EQ(r.nrow, 0);
  EXPECT_EQ(data[0], 5.0f);
}

TEST_F(Records, ArrayColumnsOutsideTheArrayAreReset) {
  assign({{4, 1}, {0, 2}}, 2);
  std::vector<float> data(6, 0.0f);
  const Result r = read("'T'\n'a' 'b'\n7 8\n", data, 3, 2);
  EXPECT_EQ(r.ierr, 2);
  EXPECT_EQ(r.nrow, 1);
  EXPECT_EQ(r.ncolused, 2);
  EXPECT_EQ(readrealsetup.jcol[0], 2);
  EXPECT_EQ(readrealsetup.jcol[1], 1);
  EXPECT_EQ(data[3], 7.0f);
  EXPECT_EQ(data[0], 8.0f);
  auto frame_of = [](int v, int col, int reset) {
    return cols::text(join({cols::error("getfreal"),
                            {"          variable nb   = " + frame::fmt::I(v, 3),
                             " array col nb to fill   = " + frame::fmt::I(col, 3),
                             " max array col nb       =   2",
                             " ==> RESET array col nb = " + frame::fmt::I(reset, 3),
                             " ==> NEED TO GO BACK TO SETTINGS", " ==> AND READ THE FILE AGAIN",
                             cols::stars43()}}));
  };
  EXPECT_EQ(r.text.substr(0, frame_of(1, 4, 2).size() + frame_of(2, 0, 1).size()),
            frame_of(1, 4, 2) + frame_of(2, 0, 1));
}

TEST_F(Records, NoArrayColumnAtAllStoresNothing) {
  assign({{1, 1}}, 1);
  std::vector<float> data(4, 9.0f);
  const Result r = read("'T'\n'a'\n1\n2\n", data, 4, 0);
  EXPECT_EQ(r.ierr, 2);
  EXPECT_EQ(r.nrow, 2);
  EXPECT_EQ(data, (std::vector<float>(4, 9.0f)));
}

TEST_F(Records, ReadErrorIsReportedWithTheRecordNumber) {
  assign({{1, 1}, {2, 2}}, 2);
  std::vector<float> data(20);
  const Result r = read("'T'\n'a' 'b'\n1 2\n3\n4\n5 six\n", data, 10, 2);
  EXPECT_EQ(r.ierr, 1);
  EXPECT_EQ(data[0], 1.0f);
  EXPECT_EQ(data[1], 3.0f);
  EXPECT_TRUE(frame::units::is_open(kUnit));
  std::string line;
  frame::units::read_line(kUnit, line);
  EXPECT_EQ(line, "'T'") << "rewound after the failure";
  const std::string tail = cols::text(join({cols::error("getfreal"),
                                            {" WHILE READING   3 th DATA LINE", " IN FILE: " + path_,
                                             " input file " + path_ + " rewound", cols::stars43()}}));
  ASSERT_GE(r.text.size(), tail.size());
  EXPECT_EQ(r.text.substr(r.text.size() - tail.size()), tail);
}

TEST_F(Records, RecordNumbersOfFourDigitsPrintAsAsterisks) {
  assign({{1, 1}}, 1);
  std::string content = "'T'\n'a'\n";
  for (int i = 1; i <= 999; ++i) content += "1\n";
  content += "x\n";
  std::vector<float> data(2000);
  const Result r = read(content, data, 2000, 1);
  EXPECT_EQ(r.ierr, 1);
  EXPECT_NE(r.text.find(" WHILE READING *** th DATA LINE\n"), std::string::npos);
}

TEST_F(Records, ValuesThatAreNoFiniteNumbersAreReadErrors) {
  for (const char* bad : {"NaN", "nan", "Inf", "-inf", "Infinity", "1e40", "-3.5e38"}) {
    SCOPED_TRACE(bad);
    assign({{1, 1}, {2, 2}}, 2);
    std::vector<float> data(4, 0.0f);
    const Result r = read(std::string("'T'\n'a' 'b'\n1 2\n3 ") + bad + "\n", data, 2, 2);
    EXPECT_EQ(r.ierr, 1);
    EXPECT_NE(r.text.find(" WHILE READING   2 th DATA LINE"), std::string::npos);
    for (float v : data) EXPECT_TRUE(std::isfinite(v));
    frame::units::close(kUnit);
  }
}

TEST_F(Records, RecordBufferStartsEmptyForEveryFile) {
  assign({{1, 1}, {2, 2}}, 2);
  std::vector<float> data(4, -1.0f);
  Result r = read("'T'\n'a' 'b'\n11 12\n", data, 2, 2);
  EXPECT_EQ(readrealsetup.rr[1], 12.0f);
  // A slash in the first record of the next file: the values not given are 0, not the
  // previous file's.
  r = read("'T'\n'a' 'b'\n21 /\n22 23\n24,\n", data, 2, 2);
  EXPECT_EQ(r.nrow, 2);
  EXPECT_EQ(data, (std::vector<float>{21, 22, 0, 23}));
}

TEST_F(Records, IncompleteLastRecordIsReportedAndNotStored) {
  assign({{1, 1}, {2, 2}, {3, 3}}, 3);
  std::vector<float> data(30, -1.0f);
  const Result r = read("'T'\n'a' 'b' 'c'\n1 2 3\n4 5\n", data, 10, 3);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_EQ(r.nrow, 1);
  EXPECT_EQ(data[1], -1.0f);
  EXPECT_NE(r.text.find(cols::text(join({cols::warning("getfreal"),
                                         {" END OF FILE INSIDE   2 th DATA LINE",
                                          " ==> LAST RECORD INCOMPLETE, NOT STORED",
                                          cols::slashes43()}}))),
            std::string::npos);
  // Blank lines at the end are no record.
  const Result clean = read("'T'\n'a' 'b' 'c'\n1 2 3\n\n  \n", data, 10, 3);
  EXPECT_EQ(clean.nrow, 1);
  EXPECT_EQ(clean.text.find("INCOMPLETE"), std::string::npos);
}

TEST_F(Records, WithoutVariablesEveryLineIsARecord) {
  assign({}, 0);
  std::vector<float> data(10, -1.0f);
  const Result r = read("'T'\n'a'\n1 2\n\nwords here\n", data, 10, 1);
  EXPECT_EQ(r.ierr, 0);
  EXPECT_EQ(r.nrow, 3);
  EXPECT_EQ(r.ncolused, 0);
  EXPECT_EQ(data, (std::vector<float>(10, -1.0f)));
}

TEST_F(Records, TitleLineZeroWarnsAgainAndTheDataAreRead) {
  assign({{1, 1}}, 1, 0);
  readrealsetup.ititle = 0;
  std::vector<float> data(4);
  const Result r = read("4\n5\n", data, 4, 1);
  EXPECT_EQ(r.nrow, 2);
  EXPECT_EQ(r.text.substr(0, cols::text(cols::warning("getftitle1")).size()),
            cols::text(cols::warning("getftitle1")));
}

TEST_F(Records, SeparateColumnsOfAPointBuffer) {
  assign({{1, 1}, {2, 2}}, 2);
  float xp[1000] = {}, yp[1000] = {};
  path_ = file("d.dat", "'T'\n'lon' 'lat'\n10.5 45.25\n-12.75,-3.5\n");
  ASSERT_TRUE(open(path_));
  kt::Console console;
  int ierr = 0, nrow = 0, ncolused = 0;
  getfreal(ierr, nrow, ncolused, RealArray({xp, yp}, 1000), 1000, 2, path_, kUnit, 1);
  EXPECT_EQ(nrow, 2);
  EXPECT_EQ(xp[0], 10.5f);
  EXPECT_EQ(yp[0], 45.25f);
  EXPECT_EQ(xp[1], -12.75f);
  EXPECT_EQ(yp[1], -3.5f);
  EXPECT_EQ(xp[2], 0.0f);
}

TEST(RealArrayView, ElementsInsideOnly) {
  std::vector<float> data(7);
  const RealArray a(data, 3, 5);  // room for two whole columns only
  EXPECT_EQ(a.columns(), 2);
  EXPECT_EQ(a.at(3, 2), &data[5]);
  EXPECT_EQ(a.at(4, 1), nullptr);
  EXPECT_EQ(a.at(1, 3), nullptr);
  EXPECT_EQ(a.at(0, 1), nullptr);
  EXPECT_EQ(RealArray(data, 0, 2).at(1, 1), nullptr);
}

}  // namespace
