// The dek and ndk line layouts: published ndk records and hand-made dek records read into
// the store and written back column for column.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/layouts.hpp"
#include "catalogue/tables.hpp"
#include "catalogue_support.hpp"

namespace {

using namespace korbast::catalogue;
using cattest::data_path;
using cattest::read_file;
using cattest::split_lines;

Gcmtblk& g = gcmtblk;

std::string trim_right(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// A dek event put together field by field, in the columns of the four layouts.
std::vector<std::string> dek_event() {
  const std::string l1 = std::string("B010177A") + " " + " 1/ 1/77" + " " + " 9:55:28.4" + " " +
                         " -6.05" + " " + " 147.94" + " " + " 59.0" + "5.3" + "6.0" +
                         "EASTERN NEW GUINEA REG. ";
  const std::string l2 = std::string("PDE") + " " + "BW:" + "12" + " 23" + " " + " 45" + " " +
                         "MW:" + " 9" + " 14" + " " + "135" + " " + "DT=" + "   2.3" + " 0.4" + " " +
                         " -6.13" + " " + "0.05" + " " + " 147.99" + " " + "0.04" + " " + " 68.1" +
                         " " + " 2.3";
  const std::string l3 = std::string(" ") + "TRI" + " 3.5" + " " + "FR" + " 25" + "  1.23" + " 0.08" +
                         " -0.45" + " 0.07" + " -0.78" + " 0.09" + "  0.12" + " 0.11" + "  0.33" +
                         " 0.06" + " -1.01" + " 0.05";
  const std::string l4 = std::string("   1.71") + " 15" + " 348" + "   0.05" + " 72" + " 203" +
                         "  -1.76" + "  9" + "  81" + "   1.74" + " 260" + " 32" + " " + " 110" +
                         "  61" + " 60" + " " + "  78";
  return {l1, l2, l3, l4};
}

// An edit list such as "(2(a8,1x),f6.2)" with its groups written out: "a8,1x,a8,1x,f6.2".
std::string expand(std::string_view list) {
  std::string s;
  for (char c : list) {
    if (c != ' ') s += c;  // blanks carry no meaning in an edit list
  }
  std::size_t p = 0;
  auto group = [&](auto& self) -> std::string {  // from an opening to its closing bracket
    std::string items;
    auto add = [&](const std::string& item) { items += (items.empty() ? "" : ",") + item; };
    for (++p; s[p] != ')';) {
      const std::size_t start = p;
      while (std::isdigit(static_cast<unsigned char>(s[p]))) ++p;
      if (s[p] == '(') {
        const int repeats = std::stoi(s.substr(start, p - start));
        const std::string inner = self(self);
        for (int k = 0; k < repeats; ++k) add(inner);
      } else {
        while (s[p] != ',' && s[p] != ')') ++p;
        add(s.substr(start, p - start));
      }
      if (s[p] == ',') ++p;
    }
    ++p;
    return items;
  };
  return group(group);
}

// The edit list of a line as its table gives it, for reading or for writing.
std::string edit_list(int type, int line, bool written) {
  std::string s;
  for (const Field& f : layout(type, line)) {
    if (!s.empty()) s += ',';
    const std::string w = std::to_string(f.width);
    switch (f.kind) {
      case Kind::Text: s += "a" + w; break;
      case Kind::Int: s += "i" + w; break;
      case Kind::Real: s += "f" + w + "." + std::to_string(f.decimals); break;
      case Kind::Angle: s += written ? "i" + w : "f" + w + ".0"; break;
      case Kind::Blank: s += w + "x"; break;
    }
  }
  return s;
}

// The tables against the edit lists and line widths the two formats state, and the written
// lines (of a slot never filled) against those widths.
TEST(Layouts, LineTablesAreTheFormatsEditLists) {
  struct Line {
    int type, line;
    const char* read;
    const char* written;  // where it is not the read list
    std::size_t columns;
  };
  const Line lines[] = {
      {1, 1, "(2(a8,1x),a10,1x,f6.2,1x,f7.2,1x,f5.1,2(f3.1),a24)", nullptr, 79},
      {1, 2,
       "(a3,2(1x,a3,i2,i3,1x,i3),1x,a3,f6.1,f4.1,        "
       "1x,f6.2,1x,f4.2,1x,f7.2,1x,f4.2,1x,f5.1,1x,f4.1)",
       nullptr, 79},
      {1, 3, "(1x,a3,f4.1,1x,a2,i3,6 (f6.2,f5.2))", nullptr, 80},
      {1, 4, "(3(f7.2,f3.0,f4.0),f7.2,2(f4.0,f3.0,1x,f4.0))",
       "(3(f7.2,i3  ,i4  ),f7.2,2(i4  ,i3  ,1x,i4  ))", 73},
      {2, 1, "(a4,1x,a10,1x,a10,f7.2,f8.2,f6.1,2(f4.1),1x,a24)", nullptr, 80},
      {2, 2, "(a16,3(1x,a2,i3,i5,i4),1x,a4,i2,1x,a6,f5.1)", nullptr, 80},
      {2, 3, "(a9,f9.1,f4.1,f7.2,f5.2,f8.2,f5.2,f6.1,f5.1,1x,a4,1x,a16)", nullptr, 80},
      {2, 4, "(i2,6(f7.3,f6.3))", nullptr, 80},
      {2, 5, "(a3,3(f8.3,f3.0,f4.0),f8.3,2(f4.0,f3.0,f5.0))",
       "(a3,3(f8.3,i3,  i4)  ,f8.3,2(i4,  i3,  i5))", 80},
  };
  for (const Line& l : lines) {
    SCOPED_TRACE("type " + std::to_string(l.type) + " line " + std::to_string(l.line));
    EXPECT_EQ(edit_list(l.type, l.line, false), expand(l.read));
    EXPECT_EQ(edit_list(l.type, l.line, true), expand(l.written ? l.written : l.read));
    std::size_t columns = 0;
    for (const Field& f : layout(l.type, l.line)) {
      columns += static_cast<std::size_t>(f.width);
      EXPECT_EQ(f.column == nullptr, f.kind == Kind::Blank) << "a table column for each field";
    }
    EXPECT_EQ(columns, l.columns);
    EXPECT_EQ(write_record_line(l.type, l.line, nmaxdata).size(), l.columns);
  }
  EXPECT_EQ(line_count(1), 4);
  EXPECT_EQ(line_count(2), 5);
  EXPECT_TRUE(layout(1, 5).empty());
  EXPECT_TRUE(layout(3, 1).empty());

  // In the tables a text is quoted at its width, its first characters kept where they are;
  // a text never set is blanks.
  g.hyporef[8] = korbast::frame::Text<4>::zeros();
  g.region[8] = std::string_view("AB\0CD", 5);
  const std::string row = table_event_line(2, 9, '\t');
  EXPECT_EQ(row.substr(0, 8), " '    '\t");
  EXPECT_NE(row.find("\t'AB" + std::string(22, ' ') + "'\t"), std::string::npos) << row;
}

TEST(Layouts, DekLinesHaveTheirWidths) {
  const auto ev = dek_event();
  EXPECT_EQ(ev[0].size(), 79u);
  EXPECT_EQ(ev[1].size(), 79u);
  EXPECT_EQ(ev[2].size(), 80u);
  EXPECT_EQ(ev[3].size(), 73u);
}

TEST(Layouts, PublishedNdkRecordsReadAndWriteBackByteForByte) {
  const auto lines = split_lines(read_file(data_path("gcmt-samples.ndk")));
  ASSERT_EQ(lines.size(), 15u);
  for (int e = 0; e < 3; ++e) {
    for (int l = 1; l <= ndk_nlines; ++l) {
      ASSERT_TRUE(read_ndk_line(l, lines[static_cast<std::size_t>(e * 5 + l - 1)], e + 1))
          << "event " << e + 1 << " line " << l;
    }
  }
  for (int e = 0; e < 3; ++e) {
    for (int l = 1; l <= ndk_nlines; ++l) {
      EXPECT_EQ(write_ndk_line(l, e + 1), lines[static_cast<std::size_t>(e * 5 + l - 1)])
          << "event " << e + 1 << " line " << l;
    }
  }
  // A region in UTF-8 (24 bytes, 22 characters) keeps its columns both ways.
  std::string utf8 = lines[0];
  utf8.replace(utf8.size() - 24, 24, "EL SALVADOR \xC3\x89T\xC3\x89       ");
  ASSERT_EQ(utf8.size(), lines[0].size());
  ASSERT_TRUE(read_ndk_line(1, utf8, 1));
  EXPECT_EQ(write_ndk_line(1, 1), utf8);
  ASSERT_TRUE(read_ndk_line(1, lines[0], 1));
  // A few fields of the first event, as published.
  EXPECT_EQ(g.hyporef[0].view(), "PDE ");
  EXPECT_EQ(g.date1[0].view(), "2005/01/01");
  EXPECT_EQ(g.time[0].view(), "01:20:05.4");
  EXPECT_EQ(g.rlat[0], 13.78f);
  EXPECT_EQ(g.rlong[0], -88.78f);
  EXPECT_EQ(g.depth[0], 193.1f);
  EXPECT_EQ(g.region[0].view(), "EL SALVADOR             ");
  EXPECT_EQ(g.cmtlabel[0].view(), "C200501010120A  ");
  EXPECT_EQ(g.bwc[0].view(), "B: ");  // two columns, then a blank
  EXPECT_EQ(g.swc[0].view(), "S: ");
  EXPECT_EQ(g.ibstatn[0], 4);
  EXPECT_EQ(g.isrec[0], 33);
  EXPECT_EQ(g.iscutf[0], 50);
  EXPECT_EQ(g.invtypc[0].view(), "CMT:");
  EXPECT_EQ(g.invtypi[0], 1);
  EXPECT_EQ(g.mtrttypc[0].view(), "TRIHD:");
  EXPECT_EQ(g.rmtrtdur[0], 0.6f);
  EXPECT_EQ(g.clab[0].view(), "CENTROID:");
  EXPECT_EQ(g.cdt[0], -0.3f);
  EXPECT_EQ(g.cdepthe[0], 12.5f);
  EXPECT_EQ(g.cdeptyp[0].view(), "FREE");
  EXPECT_EQ(g.cstamp[0].view(), "S-20050322125201");
  EXPECT_EQ(g.iexmomt[0], 23);
  EXPECT_EQ(g.tmomt[0][0], 0.838f);
  EXPECT_EQ(g.tmomte[0][5], 0.240f);
  EXPECT_EQ(g.cvers[0].view(), "V10");
  EXPECT_EQ(g.tmval[0][0], 1.581f);
  EXPECT_EQ(g.tmvecpl[1][0], 23.0f);
  EXPECT_EQ(g.tmvecaz[2][0], 241.0f);
  EXPECT_EQ(g.tmt0[0], 1.312f);
  EXPECT_EQ(g.azd0[0][0], 9.0f);
  EXPECT_EQ(g.rakd0[0][0], 142.0f);
  EXPECT_EQ(g.azd0[1][0], 133.0f);
  EXPECT_EQ(g.rakd0[1][0], 66.0f);
  // The third event: rakes of two signs and a two-digit region cut at 24 characters.
  EXPECT_EQ(g.rakd0[0][2], 106.0f);
  EXPECT_EQ(g.region[2].view(), "NEAR COAST OF NORTHERN C");
  EXPECT_EQ(g.hyporef[2].view(), "PDEW");
  EXPECT_EQ(g.imcutf[2], 125);
}

TEST(Layouts, DekRecordFillsNarrowTextsAndWritesBack) {
  const auto ev = dek_event();
  for (int l = 1; l <= dek_nlines; ++l) ASSERT_TRUE(read_dek_line(l, ev[static_cast<std::size_t>(l - 1)], 7));
  const int i = 6;
  EXPECT_EQ(g.cmtlabel[i].view(), "B010177A        ");  // 8 characters and 8 blanks
  EXPECT_EQ(g.date1[i].view(), " 1/ 1/77  ");         // 8 and 2
  EXPECT_EQ(g.time[i].view(), " 9:55:28.4");
  EXPECT_EQ(g.hyporef[i].view(), "PDE ");             // 3 and 1
  EXPECT_EQ(g.bwc[i].view(), "BW:");
  EXPECT_EQ(g.clab[i].view(), "DT=      ");           // 3 and 6
  EXPECT_EQ(g.mtrttypc[i].view(), "TRI   ");          // 3 and 3
  EXPECT_EQ(g.cdeptyp[i].view(), "FR  ");             // 2 and 2
  EXPECT_EQ(g.rlat[i], -6.05f);
  EXPECT_EQ(g.rlong[i], 147.94f);
  EXPECT_EQ(g.rmb[i], 5.3f);
  EXPECT_EQ(g.rms[i], 6.0f);
  EXPECT_EQ(g.ibstatn[i], 12);
  EXPECT_EQ(g.ibrec[i], 23);
  EXPECT_EQ(g.ibcutf[i], 45);
  EXPECT_EQ(g.imcutf[i], 135);
  EXPECT_EQ(g.cdt[i], 2.3f);
  EXPECT_EQ(g.cdepthe[i], 2.3f);
  EXPECT_EQ(g.iexmomt[i], 25);
  EXPECT_EQ(g.tmomt[i][1], -0.45f);
  EXPECT_EQ(g.tmomte[i][5], 0.05f);
  EXPECT_EQ(g.tmval[2][i], -1.76f);
  EXPECT_EQ(g.tmvecpl[2][i], 9.0f);
  EXPECT_EQ(g.tmt0[i], 1.74f);
  EXPECT_EQ(g.azd0[0][i], 260.0f);
  EXPECT_EQ(g.rakd0[0][i], 110.0f);
  EXPECT_EQ(g.dipd0[1][i], 60.0f);
  EXPECT_EQ(g.rakd0[1][i], 78.0f);
  for (int l = 1; l <= dek_nlines; ++l) EXPECT_EQ(write_dek_line(l, 7), ev[static_cast<std::size_t>(l - 1)]);
}

TEST(Layouts, RightTrimmedLinesReadAsPaddedAndComeBackFull) {
  auto ev = dek_event();
  for (int l = 1; l <= dek_nlines; ++l) {
    ASSERT_TRUE(read_dek_line(l, trim_right(ev[static_cast<std::size_t>(l - 1)]), 3));
  }
  EXPECT_EQ(g.region[2].view(), "EASTERN NEW GUINEA REG. ");
  for (int l = 1; l <= dek_nlines; ++l) EXPECT_EQ(write_dek_line(l, 3), ev[static_cast<std::size_t>(l - 1)]);

  // dek line 2 cut after column 70: the rest of the centroid depth and its error are blank.
  ASSERT_TRUE(read_dek_line(2, ev[1].substr(0, 70), 3));
  EXPECT_EQ(g.cdepth[2], 0.0f);   // columns 70-74 hold a single blank
  EXPECT_EQ(g.cdepthe[2], 0.0f);
  EXPECT_EQ(g.clonge[2], 0.04f);
  // A blank magnitude and a blank count read as zero.
  std::string l1 = ev[0];
  l1.replace(49, 3, "   ");
  ASSERT_TRUE(read_dek_line(1, l1, 3));
  EXPECT_EQ(g.rmb[2], 0.0f);
  std::string l2 = ev[1];
  l2.replace(7, 2, "  ");
  ASSERT_TRUE(read_dek_line(2, l2, 3));
  EXPECT_EQ(g.ibstatn[2], 0);
}

TEST(Layouts, ImpliedDecimalsAndExponents) {
  auto ev = dek_event();
  std::string l1 = ev[0];
  l1.replace(29, 6, "  1234");  // f6.2 without a point
  ASSERT_TRUE(read_dek_line(1, l1, 1));
  EXPECT_EQ(g.rlat[0], 12.34f);
  l1.replace(29, 6, "  -605");
  ASSERT_TRUE(read_dek_line(1, l1, 1));
  EXPECT_EQ(g.rlat[0], -6.05f);
  l1.replace(29, 6, "1.5E+1");
  ASSERT_TRUE(read_dek_line(1, l1, 1));
  EXPECT_EQ(g.rlat[0], 15.0f);
  // Angles have no implied decimals.
  std::string l4 = ev[3];
  l4.replace(49, 4, " 45 ");
  ASSERT_TRUE(read_dek_line(4, l4, 1));
  EXPECT_EQ(g.azd0[0][0], 45.0f);
}

TEST(Layouts, UnreadableFieldsFailTheLine) {
  const auto ev = dek_event();
  const std::vector<std::string> bad = {"   NaN", "   Inf", "  -inf", "  1e99", " 12a.0", "0x1p+3"};
  for (const auto& field : bad) {
    std::string l1 = ev[0];
    l1.replace(29, 6, field);
    EXPECT_FALSE(read_dek_line(1, l1, 1)) << "field '" << field << "'";
  }
  // A point in an integer field.
  std::string l2 = ev[1];
  l2.replace(7, 2, "1.");
  EXPECT_FALSE(read_dek_line(2, l2, 1));
  // An ndk line 1 read as line 2 fails at its time field.
  const auto nd = split_lines(read_file(data_path("gcmt-samples.ndk")));
  EXPECT_FALSE(read_ndk_line(2, nd[0], 1));
}

TEST(Layouts, LastLineAnglesAreTruncatedIntegers) {
  EXPECT_EQ(angle_field(45.9f, 3), " 45");
  EXPECT_EQ(angle_field(-12.7f, 4), " -12");
  EXPECT_EQ(angle_field(89.9f, 3), " 89");
  EXPECT_EQ(angle_field(-0.5f, 3), "  0");
  EXPECT_EQ(angle_field(-180.0f, 4), "-180");
  EXPECT_EQ(angle_field(-180.0f, 5), " -180");
  EXPECT_EQ(angle_field(360.0f, 4), " 360");
  EXPECT_EQ(angle_field(1000.0f, 3), "***");
  EXPECT_EQ(angle_field(1.0e20f, 4), "****");
  EXPECT_EQ(angle_field(std::numeric_limits<float>::quiet_NaN(), 4), "****");
  EXPECT_EQ(angle_field(-std::numeric_limits<float>::infinity(), 5), "*****");
}

TEST(Layouts, ValuesTooWideAreWrittenAsAsterisks) {
  const auto ev = dek_event();
  for (int l = 1; l <= dek_nlines; ++l) ASSERT_TRUE(read_dek_line(l, ev[static_cast<std::size_t>(l - 1)], 2));
  g.ibstatn[1] = 100;   // i2
  g.depth[1] = 1000.0f; // f5.1
  g.dipd0[0][1] = 89.9f;
  const std::string l1 = write_dek_line(1, 2);
  EXPECT_EQ(l1.substr(44, 5), "*****");
  EXPECT_EQ(l1.size(), 79u);
  const std::string l2 = write_dek_line(2, 2);
  EXPECT_EQ(l2.substr(7, 2), "**");
  EXPECT_EQ(l2.size(), 79u);
  const std::string l4 = write_dek_line(4, 2);
  EXPECT_EQ(l4.substr(53, 3), " 89");
}

TEST(Layouts, NdkLabelsAreWrittenAtTheirTwoColumns) {
  const auto lines = split_lines(read_file(data_path("gcmt-samples.ndk")));
  for (int l = 1; l <= ndk_nlines; ++l) ASSERT_TRUE(read_ndk_line(l, lines[static_cast<std::size_t>(l - 1)], 5));
  g.bwc[4] = "XYZ";  // a three-character label: only its first two characters fit
  EXPECT_EQ(write_ndk_line(2, 5).substr(16, 4), " XY ");
  // The store's zero-byte texts (never set) write as blanks.
  g.cstamp[4] = korbast::frame::Text<16>::zeros();
  EXPECT_EQ(write_ndk_line(3, 5).substr(64), std::string(16, ' '));
  // A rake of -180 fits the five ndk columns.
  g.rakd0[1][4] = -180.0f;
  EXPECT_EQ(write_ndk_line(5, 5).substr(75), " -180");
}

}  // namespace
