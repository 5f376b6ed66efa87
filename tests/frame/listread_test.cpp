// Free-format input: the records and answers read by gfortran
// (tests/tools/gen_fortran_tables.sh), and by hand the cases where the program keeps its
// own rule, the reader over files, and the end of the input.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "frame/listread.hpp"
#include "frame/prompts.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/tempfile.hpp"

namespace {

using korbast::frame::list_int;
using korbast::frame::list_real;
using korbast::frame::ListReader;
using korbast::frame::ListStatus;
namespace units = korbast::frame::units;

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

std::string status_name(ListStatus s) {
  switch (s) {
    case ListStatus::Ok: return "ok";
    case ListStatus::Error: return "err";
    case ListStatus::Eof: return "eof";
  }
  return "?";
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const auto k = s.find(sep, start);
    if (k == std::string::npos) {
      parts.push_back(s.substr(start));
      return parts;
    }
    parts.push_back(s.substr(start, k - start));
    start = k + 1;
  }
}

// One read of the items named by letters (i integer, f real, a text of 8 characters) from
// unit 5, written as the table writes it: "ok|1|3F800000|[abc     ]".
std::string read_items(const std::string& items) {
  std::vector<int> iv(items.size(), -777);
  std::vector<float> fv(items.size(), -7.77f);
  std::vector<std::string> av(items.size(), "########");
  ListReader r(units::keyboard);
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k] == 'i') r.i(iv[k]);
    else if (items[k] == 'f') r.f(fv[k]);
    else r.a(av[k].data(), 8);
  }
  std::string out = status_name(r.status());
  if (r.status() == ListStatus::Error) return out;
  korbast::frame::answer_taken();  // as the dialog takes values read
  char buf[16];
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k] == 'i') {
      out.append("|").append(std::to_string(iv[k]));
    } else if (items[k] == 'f') {
      std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(bits(fv[k])));
      out += std::string("|") + buf;
    } else {
      out += "|[" + av[k] + "]";
    }
  }
  return out;
}

TEST(ListTable, GfortranRecordsOverLines) {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/fortran/read_list.txt");
  ASSERT_TRUE(in.good());
  std::string line;
  std::string pattern;
  std::string input;
  std::vector<std::string> expected;
  int cases = 0;
  auto run = [&] {
    if (pattern.empty()) return;
    ++cases;
    korbast::testing::Console console(input);
    const auto reads = split(pattern, ';');
    ASSERT_EQ(reads.size(), expected.size()) << pattern;
    for (std::size_t k = 0; k < reads.size(); ++k)
      EXPECT_EQ(read_items(reads[k]), expected[k]) << "items " << pattern << ", input\n" << input;
  };
  while (std::getline(in, line)) {
    if (line.starts_with("#")) continue;
    if (line.starts_with("> ")) {
      run();
      pattern = line.substr(2);
      input.clear();
      expected.clear();
    } else if (line.starts_with("<")) {
      input += line.substr(1) + "\n";
    } else if (line.starts_with("= ")) {
      expected.push_back(line.substr(2));
    }
  }
  run();
  EXPECT_GT(cases, 80);
}

TEST(ListTable, GfortranOneValueFromAnAnswer) {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/fortran/read_list_text.txt");
  ASSERT_TRUE(in.good());
  std::string line;
  int cases = 0;
  while (std::getline(in, line)) {
    if (line.starts_with("#")) continue;
    const auto p = split(line, '|');  // kind, buffer, status, value
    ASSERT_EQ(p.size(), 4u) << line;
    ++cases;
    if (p[0] == "i") {
      int v = -777;
      const ListStatus s = list_int(p[1], v);
      EXPECT_EQ(status_name(s), p[2]) << "\"" << p[1] << "\"";
      if (s == ListStatus::Ok) {
        EXPECT_EQ(std::to_string(v), p[3]) << "\"" << p[1] << "\"";
      }
    } else {
      float v = -7.77f;
      const ListStatus s = list_real(p[1], v);
      EXPECT_EQ(status_name(s), p[2]) << "\"" << p[1] << "\"";
      if (s == ListStatus::Ok) {
        EXPECT_EQ(bits(v), std::stoul(p[3], nullptr, 16)) << "\"" << p[1] << "\"";
      }
    }
  }
  EXPECT_GT(cases, 50);
}

// ---------------------------------------------------------------- by hand

TEST(ListText, NullsAreReportedAndKeepTheValue) {
  int v = 42;
  bool null = false;
  EXPECT_EQ(list_int(",5", v, &null), ListStatus::Ok);
  EXPECT_TRUE(null);
  EXPECT_EQ(v, 42);
  EXPECT_EQ(list_int("/", v, &null), ListStatus::Ok);
  EXPECT_TRUE(null);
  EXPECT_EQ(list_int("3*", v, &null), ListStatus::Ok);
  EXPECT_TRUE(null);
  EXPECT_EQ(list_int("12 34", v, &null), ListStatus::Ok);
  EXPECT_FALSE(null);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(list_int("\t5", v, &null), ListStatus::Ok);  // a tab is a blank
  EXPECT_EQ(v, 5);
  EXPECT_EQ(list_int("", v, &null), ListStatus::Eof);
  EXPECT_FALSE(null);
}

// gfortran reads NaN and Inf texts, turns values beyond single precision into Inf and values
// below its normal range into subnormals or 0; the program refuses them all.
TEST(ListText, NonFiniteAndOutOfRangeAreErrors) {
  for (const char* t : {"nan", "NaN", "inf", "-Infinity", "+inf", "3.5e38", "-1e39",
                        "1e99999", "0x1p3", "1q2", "1e-50", "-2e-39", "1e-99999"}) {
    float v = 1.5f;
    EXPECT_EQ(list_real(t, v), ListStatus::Error) << t;
    EXPECT_EQ(v, 1.5f) << t;
  }
  float v = 1.5f;
  EXPECT_EQ(list_real("0e-99999", v), ListStatus::Ok);
  EXPECT_EQ(v, 0.0f);
}

TEST(ListText, TheAnswerBufferIsCutByTheCaller) {
  // "12" followed by 18 blanks and more digits: the 20-character buffer holds only 12.
  const std::string answer = "12" + std::string(18, ' ') + "99";
  int v = 0;
  EXPECT_EQ(list_int(std::string_view(answer).substr(0, 20), v), ListStatus::Ok);
  EXPECT_EQ(v, 12);
}

// gfortran also takes ";" as a separator; here, as in the file formats, the separators are
// blanks, tabs and commas, so "1;2;3" is not a number.
TEST(ListReader, SemicolonIsNoSeparator) {
  korbast::testing::Console console("1;2;3\n");
  int a = -1, b = -1;
  ListReader r(units::keyboard);
  r.i(a).i(b);
  EXPECT_EQ(r.status(), ListStatus::Error);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, -1);
}

// gfortran ends a quoted text left open at the end of the file; the program reports the end
// of the file, as for any record the file does not complete.
TEST(ListReader, QuoteOpenAtTheEndOfTheFileIsTheEnd) {
  korbast::testing::Console console("'never closed\n");
  std::string title = "Untitled";
  ListReader r(units::keyboard);
  r.a(title);
  EXPECT_EQ(r.status(), ListStatus::Eof);
  EXPECT_EQ(title, "Untitled");
}

TEST(ListReader, AfterAFailureFurtherItemsAreSkipped) {
  korbast::testing::Console console("1 x 3 4\n5 6\n");
  int a = -1, b = -1, c = -1;
  ListReader r(units::keyboard);
  r.i(a).i(b).i(c);
  EXPECT_EQ(r.status(), ListStatus::Error);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(c, -1);
  // The next read starts on the next line.
  ListReader s(units::keyboard);
  s.i(a);
  EXPECT_TRUE(s.ok());
  EXPECT_EQ(a, 5);
}

TEST(ListReader, EmptyLinesAreSkippedUntilAValueComes) {
  // The main menu's choice: empty answers do not end the read.
  korbast::testing::Console console("\n   \n\t\n  5000  rest\n9\n");
  int choice = 0;
  ListReader r(units::keyboard);
  r.i(choice);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(choice, 5000);
  ListReader s(units::keyboard);
  s.i(choice);
  EXPECT_EQ(choice, 9);
  ListReader t(units::keyboard);
  t.i(choice);
  EXPECT_EQ(t.status(), ListStatus::Eof);
  EXPECT_EQ(choice, 9);
}

TEST(ListReader, StringTargetsAndLongRecords) {
  korbast::testing::Console console("'a ''quoted'' title, with / and ,' next\n");
  std::string title, word;
  ListReader r(units::keyboard);
  r.a(title).a(word);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(title, "a 'quoted' title, with / and ,");
  EXPECT_EQ(word, "next");
}

TEST(ListReader, RepeatCountsLargerThanTheItemsAndBadCounts) {
  korbast::testing::Console console("1000000*2.5\n99999999999*1\n");
  float v[3] = {0, 0, 0};
  ListReader r(units::keyboard);
  r.f(v[0]).f(v[1]).f(v[2]);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(v[2], 2.5f);
  int n = 7;
  ListReader s(units::keyboard);
  s.i(n);
  EXPECT_EQ(s.status(), ListStatus::Error);  // a count beyond the integer range
  EXPECT_EQ(n, 7);
}

using korbast::testing::TempFile;

TEST(ListReader, FileUnitsWithCrLfAndNoLastLineEnd) {
  // A polygon file: count and side type, then one vertex per line.
  TempFile f("3 1 ignored\r\n10.5,-20\r\n\r\n11 -21 extra\r\n12.25 -22");
  ASSERT_TRUE(units::open(61, f.path, units::Status::Old));
  int n = 0, side = 0;
  ListReader head(61);
  head.i(n).i(side);
  ASSERT_TRUE(head.ok());
  EXPECT_EQ(n, 3);
  EXPECT_EQ(side, 1);
  float lon[3], lat[3];
  for (int k = 0; k < 3; ++k) {
    ListReader r(61);
    r.f(lon[k]).f(lat[k]);
    ASSERT_TRUE(r.ok()) << k;
  }
  EXPECT_EQ(lon[0], 10.5f);
  EXPECT_EQ(lat[0], -20.0f);
  EXPECT_EQ(lon[1], 11.0f);
  EXPECT_EQ(lat[2], -22.0f);
  ListReader end(61);
  float x = 3;
  end.f(x);
  EXPECT_EQ(end.status(), ListStatus::Eof);
  units::close(61);
}

TEST(ListReader, AClosedUnitIsAReadError) {
  units::close(62);
  int v = 3;
  ListReader r(62);
  r.i(v);
  EXPECT_EQ(r.status(), ListStatus::Error);
  EXPECT_EQ(v, 3);
}

TEST(ListReader, SlashKeepsTheRestAndTheRecordEnds) {
  korbast::testing::Console console("1.5 / 2.5\n3.5\n");
  float a = 0, b = -1, c = -1;
  ListReader r(units::keyboard);
  r.f(a).f(b).f(c);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(a, 1.5f);
  EXPECT_EQ(b, -1.0f);
  EXPECT_EQ(c, -1.0f);
  ListReader s(units::keyboard);
  s.f(b);
  EXPECT_EQ(b, 3.5f);
}

}  // namespace
