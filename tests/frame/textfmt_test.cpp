// Texts and numbers into text: trimming positions, digit counts and the number writers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>
#include <limits>
#include <string>

#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::frame {
namespace {

using testing::Console;
using testing::lines;
using testing::rep;

class TextFmt : public testing::DialogTest {};

const std::string pause_line = " ===> HIT RETURN TO CONTINUE";

TEST_F(TextFmt, Textlen) {
  struct Case {
    std::string text;
    int first, last;
  } cases[] = {{"  abc  ", 3, 5}, {"       ", 7, 7}, {"", 1, 0},   {"x", 1, 1},
               {" ", 1, 1},       {"a b", 1, 3},     {"\tab ", 1, 3}};
  for (const auto& k : cases) {
    int first = -1, last = -1;
    textlen(first, last, k.text);
    EXPECT_EQ(first, k.first) << '"' << k.text << '"';
    EXPECT_EQ(last, k.last) << '"' << k.text << '"';
  }
}

TEST_F(TextFmt, IntegerLengthIsExact) {
  struct Case {
    int n, count;
  } cases[] = {{0, 1},          {7, 1},          {9, 1},          {-7, 2},
               {-9, 2},         {10, 2},         {-10, 3},        {25000, 5},
               {-180, 4},       {9999995, 7},    {9999999, 7},    {10000000, 8},
               {16777217, 8},   {99999941, 8},   {99999999, 8},   {100000000, 9},
               {999999999, 9},  {1000000000, 10}, {INT_MAX, 10},  {-99999999, 9},
               {INT_MIN, 11}};
  for (const auto& k : cases) {
    int count = 0;
    integlen(count, k.n);
    EXPECT_EQ(count, k.count) << k.n;
  }
}

TEST_F(TextFmt, Intg2charWritesLeftAligned) {
  struct Case {
    int n, available;
    const char* text;
    int count;
  } cases[] = {{25000, 5, "25000   ", 5},     {-3, 5, "-3      ", 2},
               {0, 1, "0       ", 1},         {9999999, 7, "9999999 ", 7},
               {99999999, 8, "99999999", 8}};
  for (const auto& k : cases) {
    Console c;
    std::string text = "abcdefgh";
    int count = -1;
    intg2char(text, count, k.available, k.n);
    EXPECT_EQ(text, k.text) << k.n;
    EXPECT_EQ(count, k.count) << k.n;
    EXPECT_EQ(c.text(), "") << k.n;  // no error frame
  }
  std::string text(12, '#');
  int count = 0;
  carinm2(text, count, 12, INT_MIN);
  EXPECT_EQ(text, "-2147483648 ");
  EXPECT_EQ(count, 11);
}

TEST_F(TextFmt, Intg2charTooLongFillsWithNines) {
  Console c("\n");
  std::string text = "abcdefgh";
  int count = 0;
  intg2char(text, count, 5, 123456);
  EXPECT_EQ(text, "99999fgh");
  EXPECT_EQ(count, 5);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("intg2char")) +
                          lines({" Cannot write integer =" + rep(' ', 15) + "123456",
                                 " with only  " + rep(' ', 19) + "5 digits",
                                 " ==> NEED LONGER CHARACTER STRING",
                                 " ==> fill with 9 and set nchar =" + rep(' ', 20) + "5",
                                 pause_line, ex::rule('*')}));
}

TEST_F(TextFmt, Careafmpn) {
  struct Case {
    int m, n;
    float x;
    const char* text;
  } cases[] = {{6, 2, 3.14159f, "  3.14  "}, {6, 2, 12345.6f, "******  "},
               {4, 2, -0.5f, "-.50    "},   {5, 0, -120.2f, "-120.   "},
               {4, 0, 35.7f, " 36.    "},   {5, 2, 0.125f, " 0.12   "},
               {8, 2, 0.0f, "    0.00"},    {6, 2, std::numeric_limits<float>::quiet_NaN(), "   NaN  "}};
  for (const auto& k : cases) {
    Console c;
    std::string text(8, '#');
    careafmpn(text, k.m, k.n, k.x);
    EXPECT_EQ(text, k.text) << k.m << "." << k.n << " " << k.x;
    EXPECT_EQ(c.text(), "");
  }
}

TEST_F(TextFmt, CareafmpnInvalidFormatGivesX) {
  for (auto [m, n] : {std::pair{5, 5}, std::pair{0, 0}, std::pair{100, 2}, std::pair{3, 7}}) {
    Console c("\n");
    std::string text(6, '#');
    careafmpn(text, m, n, 1.0f);
    EXPECT_EQ(text, "X     ");
    if (m == 5) {
      EXPECT_EQ(c.text(), ex::text(ex::error_head("careafmpn")) +
                              lines({" m =          5 n =          5",
                                     " fm.n is not a valid format", "  ===> fill with X",
                                     pause_line, ex::rule('*')}));
    }
  }
}

TEST_F(TextFmt, Careaempn) {
  Console c("\n");
  std::string text(10, '#');
  careaempn(text, 9, 2, 5e-6f);
  EXPECT_EQ(text, " 0.50E-05 ");
  careaempn(text, 10, 3, -1234.5f);
  EXPECT_EQ(text, "-0.123E+04");
  EXPECT_EQ(c.text(), "");
  careaempn(text, 6, 0, 1.0f);  // needs m of 7 at least
  EXPECT_EQ(text, "X         ");
  EXPECT_EQ(c.text(), ex::text(ex::error_head("careaempn")) +
                          lines({" m =          6 n =          0",
                                 " em.n is not a valid format", "  ===> fill with X",
                                 pause_line, ex::rule('*')}));
}

TEST_F(TextFmt, CareamChoosesTheForm) {
  struct Case {
    int m;
    float x;
    const char* text;
  } cases[] = {
      {9, 0.0f, " 0.000000 "},      {9, 123.456f, " 123.4560 "}, {9, 5e-6f, " 0.50E-05 "},
      {9, 1234567890.0f, " 0.12E+10 "}, {9, 0.5f, " 0.500000 "}, {9, 0.05f, " 0.050000 "},
      {9, 2e-5f, " 0.000020 "},     {9, -7.25f, "-7.250000 "},  {9, 1234567.0f, " 1234567. "},
      {9, 12345678.0f, "12345678. "}, {6, -12345.0f, "******    "}, {3, 5.0f, " 5.       "},
  };
  for (const auto& k : cases) {
    Console c;
    std::string text(10, '#');
    caream(text, k.m, k.x);
    EXPECT_EQ(text, k.text) << k.m << " " << k.x;
    EXPECT_EQ(c.text(), "");
  }
}

TEST_F(TextFmt, CareamNonFiniteValues) {
  Console c;
  std::string text(9, '#');
  caream(text, 9, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(text, "      NaN");
  caream(text, 9, std::numeric_limits<float>::infinity());
  EXPECT_EQ(text.find_first_not_of(' ') < 9 && text.find("Inf") != std::string::npos, true)
      << text;
  EXPECT_EQ(c.text(), "");
}

TEST_F(TextFmt, CareamBox) {
  Console c;
  std::string text(8, '#');
  caream(text, 6, 123456.0f);
  EXPECT_EQ(text, "X       ");
  caream(text, 2, 1.0f);
  caream(text, 6, 5e-6f);
  EXPECT_EQ(c.text(), lines({" " + rep('*', 27), " *** ERROR in carem      ***",
                             " *** m = 6 1+log10(x) > 6", " *** => fill with X      ***",
                             " " + rep('*', 27), " " + rep('*', 27),
                             " *** ERROR in caream     ***", " *** m = 2 need m > 2",
                             " *** => fill with X      ***", " " + rep('*', 27),
                             " " + rep('*', 27), " *** ERROR in carem      ***",
                             " *** m = 6 log10(x) < -5", " *** => fill with X      ***",
                             " " + rep('*', 27)}));
}

TEST_F(TextFmt, Real2charf1Widths) {
  struct Case {
    float x;
    int ndec, available;
    const char* text;
    int count;
  } cases[] = {
      {0.0f, 2, 10, "0.00      ", 4},    {-0.5f, 2, 10, "-0.50     ", 5},
      {9.98f, 2, 10, "9.98      ", 4},   {9.996f, 2, 10, "10.00     ", 5},
      {9.991f, 2, 10, " 9.99     ", 5},  {123.456f, 2, 5, " 123.     ", 5},
      {-123.456f, 1, 10, "-123.5    ", 6}, {-0.999f, 2, 10, "-1.00     ", 5},
      {1.0f, 0, 10, "1.        ", 2},    {45.0f, 3, 10, "45.000    ", 6},
  };
  for (const auto& k : cases) {
    Console c;
    std::string text(10, '#');
    int count = 0;
    real2charf1(text, count, k.ndec, k.available, k.x);
    EXPECT_EQ(text, k.text) << k.x;
    EXPECT_EQ(count, k.count) << k.x;
    EXPECT_EQ(c.text(), "") << k.x;
  }
}

TEST_F(TextFmt, Real2charf1TooNarrowFillsWithNines) {
  Console c("\n");
  std::string text = "abcdefgh";
  int count = 0;
  real2charf1(text, count, 2, 4, 123.456f);
  EXPECT_EQ(text, "9999efgh");
  EXPECT_EQ(count, 4);
  EXPECT_EQ(c.text(), ex::text(ex::error_head("real2charf1")) +
                          lines({" Cannot write real =" + rep(' ', 22) + "123.45600",
                                 " with only  " + rep(' ', 19) + "4 digits",
                                 " ==> NEED LONGER CHARACTER STRING",
                                 " ==> fill with 9 and set nchar =" + rep(' ', 20) + "4",
                                 pause_line, ex::rule('*')}));
}

TEST_F(TextFmt, Real2charf1NonFiniteIsReportedAndWritten) {
  for (float x : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                  -std::numeric_limits<float>::infinity()}) {
    Console c("\n");
    iocom.pause = false;
    std::string text(10, '#');
    int count = 0;
    real2charf1(text, count, 2, 10, x);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(text.substr(7), "   ");
    EXPECT_NE(text.find(std::isnan(x) ? "NaN" : "Inf"), std::string::npos) << text;
    const std::string out = c.text();
    EXPECT_NE(out.find(" Cannot get size of real = "), std::string::npos);
    EXPECT_NE(out.find(" set n before =" + rep(' ', 20) + "4 set nchar =" + rep(' ', 20) + "7\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(" Watch for NaN or +/-Inf in output ?\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace korbast::frame
