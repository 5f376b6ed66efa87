// Fixed-column input: the fields read by gfortran (tests/tools/gen_fortran_tables.sh), the
// reader's columns and errors, and the cases where the program keeps its own rule.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/fields.hpp"

namespace {

using korbast::frame::FieldReader;
using korbast::frame::parse_int_field;
using korbast::frame::parse_real_field;

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

float real(std::string_view field, int d, bool* ok = nullptr) {
  float v = -7.77f;
  const bool r = parse_real_field(field, d, v);
  if (ok) *ok = r;
  return v;
}

TEST(FieldsTable, GfortranReadsOfIntegerAndRealFields) {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/fortran/read_fields.txt");
  ASSERT_TRUE(in.good());
  std::string line;
  int ints = 0, reals = 0, errors = 0;
  while (std::getline(in, line)) {
    if (line.starts_with("#")) continue;
    // descriptor|field|ok or err|value
    const auto b1 = line.find('|');
    const auto b3 = line.rfind('|');
    const auto b2 = line.rfind('|', b3 - 1);
    const std::string desc = line.substr(0, b1);
    const std::string field = line.substr(b1 + 1, b2 - b1 - 1);
    const bool ok = line.substr(b2 + 1, b3 - b2 - 1) == "ok";
    const std::string value = line.substr(b3 + 1);
    int w = 0, d = 0;
    std::istringstream ds(desc.substr(1));
    ds >> w;
    if (ds.peek() == '.') { ds.get(); ds >> d; }
    FieldReader r(field);
    if (desc[0] == 'I') {
      int v = -777;
      r.i(w, v);
      ++ints;
      EXPECT_EQ(r.ok(), ok) << desc << " of \"" << field << "\"";
      if (ok) {
        EXPECT_EQ(v, std::stoi(value)) << desc << " of \"" << field << "\"";
      } else {
        EXPECT_EQ(v, -777);
      }
    } else {
      float v = -7.77f;
      r.f(w, d, v);
      ++reals;
      EXPECT_EQ(r.ok(), ok) << desc << " of \"" << field << "\"";
      if (ok) {
        EXPECT_EQ(bits(v), std::stoul(value, nullptr, 16)) << desc << " of \"" << field << "\"";
      }
    }
    if (!ok) ++errors;
  }
  EXPECT_GT(ints, 300);
  EXPECT_GT(reals, 600);
  EXPECT_GT(errors, 100);
}

// ---------------------------------------------------------------- by hand

TEST(FieldsReal, ImpliedDecimalsBlanksAndExponents) {
  EXPECT_FLOAT_EQ(real("  1234", 2), 12.34f);
  EXPECT_FLOAT_EQ(real(" 1 2 3", 2), 1.23f);
  EXPECT_FLOAT_EQ(real("  1e-2", 2), 1e-4f);  // implied decimals also with an exponent
  EXPECT_FLOAT_EQ(real("1.5+2", 2), 150.0f);
  EXPECT_FLOAT_EQ(real("7 ", 1), 0.7f);
  EXPECT_FLOAT_EQ(real(" 7", 1), 0.7f);
  EXPECT_FLOAT_EQ(real("-5", 1), -0.5f);
  EXPECT_FLOAT_EQ(real(" 45", 0), 45.0f);  // d = 0: the digits are the whole number
  EXPECT_FLOAT_EQ(real("45.9", 0), 45.9f);
  EXPECT_EQ(bits(real("      ", 2)), bits(0.0f));
  EXPECT_EQ(bits(real("  -.  ", 2)), bits(-0.0f));
  EXPECT_EQ(bits(real("-0.00", 2)), bits(-0.0f));  // "-0.00" read back keeps its sign
  EXPECT_EQ(bits(real("", 2)), bits(0.0f));
}

TEST(FieldsReal, CorrectlyRoundedToSinglePrecision) {
  // Values whose nearest float a float computation of digits/10^d would miss.
  EXPECT_EQ(bits(real("0.1", 0)), bits(0.1f));
  EXPECT_EQ(bits(real("  13.78", 2)), bits(13.78f));
  EXPECT_EQ(bits(real("1378", 2)), bits(13.78f));
  EXPECT_EQ(bits(real("3.4028235e38", 0)), bits(3.4028235e38f));
  EXPECT_EQ(bits(real("16777217", 0)), bits(16777216.0f));
  EXPECT_EQ(bits(real("16777219", 0)), bits(16777220.0f));
  EXPECT_EQ(bits(real("1.17549435e-38", 0)), bits(0x1p-126f));  // the smallest normal value
  EXPECT_EQ(bits(real("0000000000000000000000000000000000000001", 0)), bits(1.0f));
  EXPECT_EQ(bits(real("1" + std::string(60, '0') + "e-60", 0)), bits(1.0f));
}

// gfortran reads these as Inf, NaN, subnormals or 0; the program refuses them, as a value that
// cannot be stored, a text that is not a number, or an exponent without a number.
TEST(FieldsReal, ReadErrorsWhereGfortranGuesses) {
  bool ok = true;
  const char* bad[] = {"nan", "NaN", "inf", "-Infinity", "3.5E38", "1.e39", "1e41", "-9e99",
                       "1e99999999999", "1e-10000", "1e-40", "1e-50", "-1e-50", "1e-9999",
                       ".78  -88", "1.1754942e-38", "E5", "  e 5", "--1", "-.e3", ".+2", "1q2", "1Q2",
                       "0x1A", "0x1p3", "1,5", "1\t5", "1.5\r"};
  for (const char* f : bad) {
    const float v = real(f, 2, &ok);
    EXPECT_FALSE(ok) << f;
    EXPECT_EQ(bits(v), bits(-7.77f)) << f;  // the target is kept
  }
}

TEST(FieldsReal, ExponentsUpToFourDigits) {
  EXPECT_EQ(bits(real("0e9999", 0)), bits(0.0f));
  EXPECT_EQ(bits(real("0e-9999", 0)), bits(0.0f));
  bool ok = true;
  real("0e10000", 0, &ok);
  EXPECT_FALSE(ok);
  real("1-10000", 0, &ok);
  EXPECT_FALSE(ok);
}

TEST(FieldsReal, MalformedFields) {
  bool ok = true;
  for (const char* f : {"1.5E", "1+", "1-", "1.2.3", "1e+", "e", "12a", "1.5e2.", "1e2e3", "+-1"}) {
    real(f, 2, &ok);
    EXPECT_FALSE(ok) << f;
  }
}

TEST(FieldsInt, SignsBlanksAndRange) {
  int v = -1;
  EXPECT_TRUE(parse_int_field("     ", v)); EXPECT_EQ(v, 0);
  EXPECT_TRUE(parse_int_field(" 1 2 ", v)); EXPECT_EQ(v, 12);
  EXPECT_TRUE(parse_int_field("-  7", v)); EXPECT_EQ(v, -7);
  EXPECT_TRUE(parse_int_field("+123", v)); EXPECT_EQ(v, 123);
  EXPECT_TRUE(parse_int_field("2147483647", v)); EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(parse_int_field("-2147483648", v)); EXPECT_EQ(v, -2147483647 - 1);
  EXPECT_TRUE(parse_int_field("00000000000000000000000000012", v)); EXPECT_EQ(v, 12);
  v = 5;
  for (const char* f : {"  -  ", "+", "12.0", "1.", "2147483648", "-2147483649",
                        "99999999999999999999", "1-2", "--1", "a1", "12e3", "1\t2", "0x1A"}) {
    EXPECT_FALSE(parse_int_field(f, v)) << f;
    EXPECT_EQ(v, 5) << f;
  }
}

TEST(FieldReader, ColumnsFromOneAndShortLinesPadded) {
  // a3, i5, f6.2, 1x, f4.0 on a line that ends inside the f4.0 field, then one more field.
  FieldReader r("ABC   12  1234  -4");
  EXPECT_EQ(r.a(3), "ABC");
  int n = -1;
  r.i(5, n);
  EXPECT_EQ(n, 12);
  float x = 0, y = 0, z = -1;
  r.f(6, 2, x);
  EXPECT_FLOAT_EQ(x, 12.34f);
  EXPECT_EQ(r.column(), 15u);
  r.x(1);
  r.f(4, 0, y);
  EXPECT_FLOAT_EQ(y, -4.0f);
  r.f(5, 1, z);  // entirely past the end: blank, so 0
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(z, 0.0f);
  EXPECT_EQ(r.a(4), "    ");
  EXPECT_EQ(r.column(), 29u);
}

TEST(FieldReader, FirstErrorColumnAndNothingConvertedAfterIt) {
  FieldReader r("  12  ab   7");
  int a = -1, b = -1, c = -1;
  r.i(4, a);
  r.i(4, b);
  r.i(4, c);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(c, -1);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error_column(), 5u);
  EXPECT_EQ(r.column(), 13u);
}

TEST(FieldReader, TextIntoLongerShorterAndEqualTexts) {
  char label[16];
  FieldReader r("C010177A 1/ 1/77");
  r.a(8, label, 16);  // dek event name: 8 characters, then 8 blanks
  EXPECT_EQ(std::string(label, 16), "C010177A        ");
  char date[10];
  r.a(8, date, 10);
  EXPECT_EQ(std::string(date, 10), " 1/ 1/77  ");  // leading blanks are kept
  char two[2];
  FieldReader s("abcde");
  s.a(5, two, 2);  // a field wider than its text gives the rightmost characters
  EXPECT_EQ(std::string(two, 2), "de");
  char three[3];
  FieldReader t("xy");
  t.a(3, three, 3);
  EXPECT_EQ(std::string(three, 3), "xy ");
}

}  // namespace

namespace {

// Plain fields (sign, up to seven digits, a point) take a short cut; over random fields it
// must give what the general conversion gives, to the bit.
TEST(FieldsReal, ShortCutAgreesWithTheGeneralConversion) {
  std::uint32_t state = 12345;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int n = 0; n < 200000; ++n) {
    std::string field;
    if (next() % 3 == 0) field += (next() % 2) ? '-' : '+';
    const int digits = 1 + static_cast<int>(next() % 9);
    const int point_at = static_cast<int>(next() % (digits + 2)) - 1;  // -1: no point
    for (int k = 0; k < digits; ++k) {
      if (k == point_at) field += '.';
      field += static_cast<char>('0' + next() % 10);
    }
    if (point_at == digits) field += '.';
    const int d = static_cast<int>(next() % 5);
    float fast = 0.0f, general = 0.0f;
    const bool ok_fast = korbast::frame::parse_real_field(field, d, fast);
    const bool ok_general = korbast::frame::detail::parse_real(field, d, true, general);
    ASSERT_EQ(ok_fast, ok_general) << field;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(general))
        << field << " d=" << d;
  }
}

}  // namespace
