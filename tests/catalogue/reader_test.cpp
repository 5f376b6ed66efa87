// The catalogue reader driven through its dialog: menu, read runs over ndk and dek files,
// summary, echo lines, capacity, read errors and the damaged ends of files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "../tools/gen_catalogue.hpp"
#include "catalogue/gcmtblk.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/gcmtwrite.hpp"
#include "catalogue/layouts.hpp"
#include "catalogue/reset.hpp"
#include "catalogue/seistest.hpp"
#include "catalogue_support.hpp"
#include "frame/filetable.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::catalogue;
using namespace cattest;
using korbast::frame::fiocom;

std::string sub_head(const std::string& name) { return ex::text(ex::head(name)); }
std::string warn_head(const std::string& name) { return ex::text(ex::warning_head(name)); }
const std::string warn_tail = " ===> HIT RETURN TO CONTINUE\n" + ex::rule('/') + "\n";

// Runs the reader's menu with the given answers and returns what it printed.
std::string run_reader(const std::string& answers) {
  korbast::testing::Console console(answers);
  gcmtreadex1(1, 0);
  return console.text();
}

std::string samples() { return read_file(data_path("gcmt-samples.ndk")); }

class Reader : public CatalogueTest {};

TEST_F(Reader, InitialisingModeEmptiesTheStore) {
  g.nstored = 17;
  g.idatatype = 2;
  reader_state.lshowread = true;
  korbast::testing::Console console;
  gcmtreadex1(1, 5);
  EXPECT_EQ(g.nstored, 0);
  EXPECT_EQ(g.idatatype, 0);
  EXPECT_FALSE(reader_state.lshowread);
  EXPECT_EQ(console.text().substr(0, sub_head("gcmtreadex1").size() + 31),
            sub_head("gcmtreadex1") + " INITIALIZING INPUT PARAMETERS\n");
}

TEST_F(Reader, MenuAtOutputLevelTwo) {
  const std::string out = run_reader("\n");
  const std::string menu =
      sub_head("gcmtreadex1") + r43 + " READ AND EXTRACT CMT DATA\n" + r43 + " PARAMETERS:\n" +
      " Maximum nb of stored data=  25000\n" + " Current nb of stored data=      0\n" +
      " WRITE ALL READ DATA TO SCREEN .4 F\n" + " WRITE SELECTED DATA TO SCREEN .5 F\n" +
      " OPEN  INPUT FILE .............11 " + std::string(40, ' ') + "\n" +
      " CLOSE INPUT FILE .............21 " + std::string(40, ' ') + "\n" +
      " EXTRACTION CRITERIA .........100 F\n" + r43 + " READ, EXTRACT, AND EXIT:\n" +
      "  dek format CMT file .......1000\n" + "  ndk format CMT file .......1001\n" + r43 +
      " HELP ........................900\n" + " EXIT .........................99\n" +
      ex::rule('@') + "\n";
  EXPECT_EQ(out.substr(0, menu.size()), menu);
  EXPECT_FALSE(fiocom.iopin[0]);
}

TEST_F(Reader, EmptyAnswerLeavesAndClosesAnOpenInput) {
  scratch("s.ndk", samples());
  const std::string out = run_reader("11\ns.ndk\n\n");
  EXPECT_FALSE(fiocom.iopin[0]);
  EXPECT_NE(out.find(" INPUT FILE " + name40("s.ndk") + " CLOSED"), std::string::npos);
  EXPECT_EQ(g.idatatype, 0);  // nothing was read
}

TEST_F(Reader, PublishedNdkRecordsWithNoTest) {
  scratch("s.ndk", samples());
  const std::string out = run_reader("1001\ns.ndk\n");
  EXPECT_EQ(g.nstored, 3);
  EXPECT_EQ(g.idatatype, 2);
  EXPECT_EQ(reader_state.nread, 3);
  EXPECT_FALSE(fiocom.iopin[0]);
  const std::string summary =
      r43 + " Input file: " + name40("s.ndk") + "\n" + " Could store up to :  25000 data\n" +
      " Data type ID      =      2\n" + " No test => retain all data\n" + r43 +
      " |  Parameter |       Read |   Retained |\n" + r43 +
      " | Nb of data |          3 |          3 |\n" +
      " | Long  maxi |     93.920 |     93.920 |\n" +
      " | Long  mini |    -88.780 |    -88.780 |\n" +
      " | Lat   maxi |     13.780 |     13.780 |\n" +
      " | Lat   mini |    -20.450 |    -20.450 |\n" +
      " | Depth maxi |    193.100 |    193.100 |\n" +
      " | Depth mini |     30.000 |     30.000 |\n";
  EXPECT_NE(out.find(summary), std::string::npos) << out;
  // The summary comes before the closing of the file, and the reader does not show its menu
  // again: the output ends with the file table.
  EXPECT_LT(out.find(summary), out.find(" INPUT FILE " + name40("s.ndk") + " CLOSED"));
  EXPECT_EQ(out.rfind("READ AND EXTRACT CMT DATA"), out.find("READ AND EXTRACT CMT DATA"));
  // Derived values of the first event: fclvd = 0.537 / 1.581, nmfree 6.
  EXPECT_FLOAT_EQ(g.fclvd[0], 0.537f / 1.581f);
  EXPECT_EQ(g.nmfree[0], 6);
  // The nodal planes as the drivers take them: the third event's planes 1 and 2.
  const auto p1 = g.nodal_plane(1).at(2);
  const auto p2 = g.nodal_plane(2).at(2);
  EXPECT_EQ((std::vector<float>{p1.strike, p1.dip, p1.rake, p2.strike, p2.dip, p2.rake}),
            (std::vector<float>{49, 30, 106, 211, 61, 81}));
}

TEST_F(Reader, DekFileWithCrLfTrimmedLinesAndNoFinalNewline) {
  // Two dek events, lines right-trimmed, CRLF line ends and no line end after the last line.
  const std::string l1 = "B010177A  1/ 1/77  9:55:28.4  -6.05  147.94  59.05.36.0EASTERN NEW GUINEA REG.";
  const std::string l2 = "PDE BW:12 23  45 MW: 9 14 135 DT=   2.3 0.4  -6.13 0.05  147.99 0.04  68.1  2.3";
  const std::string l3 = " TRI 3.5 FR 25  1.23 0.08 -0.45 0.07 -0.78 0.09  0.12 0.11  0.33 0.06 -1.01 0.05";
  const std::string l4 = "   1.71 15 348   0.05 72 203  -1.76  9  81   1.74 260 32  110  61 60   78";
  const std::string ev = l1 + "\r\n" + l2 + "\r\n" + l3 + "\r\n" + l4 + "\r\n";
  std::string second = ev;
  second.replace(second.find("B010177A"), 8, "B020177B");
  second.pop_back();
  second.pop_back();  // the last line has no line end at all
  scratch("t.dek", ev + second);
  run_reader("1000\nt.dek\n");
  EXPECT_EQ(g.idatatype, 1);
  EXPECT_EQ(g.nstored, 2);
  EXPECT_EQ(g.region[0].view(), "EASTERN NEW GUINEA REG. ");  // no carriage return kept
  EXPECT_EQ(g.cmtlabel[1].view(), "B020177B        ");
  EXPECT_EQ(g.rakd0[1][1], 78.0f);
  EXPECT_EQ(g.cdepthe[0], 2.3f);
}

std::string with_line_ends(std::string text, const std::string& end) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += end;
    else out += c;
  }
  return out;
}

TEST_F(Reader, ByteOrderMarkAndOldMacOrDoubledCrLineEndsReadAsPlainLines) {
  const std::string bom = "\xEF\xBB\xBF";
  for (const std::string& file : {bom + samples(), bom + with_line_ends(samples(), "\r"),
                                  with_line_ends(samples(), "\r\r\n")}) {
    scratch("s.ndk", file);
    const std::string out = run_reader("1001\ns.ndk\n");
    EXPECT_EQ(g.nstored, 3);
    EXPECT_EQ(g.hyporef[0].view(), "PDE ");
    EXPECT_EQ(g.rlat[0], 13.78f);
    EXPECT_EQ(g.rlong[0], -88.78f);
    EXPECT_EQ(g.depth[0], 193.1f);
    EXPECT_EQ(g.region[2].view(), "NEAR COAST OF NORTHERN C");
    EXPECT_EQ(out.find("WARNING"), std::string::npos) << out;
  }
}

// Every text field of the event in slot k.
std::vector<std::string_view> text_fields(int k) {
  const int i = k - 1;
  return {g.date1[i].view(),   g.time[i].view(),     g.region[i].view(),  g.hyporef[i].view(),
          g.cmtlabel[i].view(), g.bwc[i].view(),     g.swc[i].view(),     g.mwc[i].view(),
          g.invtypc[i].view(), g.mtrttypc[i].view(), g.clab[i].view(),    g.cdeptyp[i].view(),
          g.cstamp[i].view(),  g.cvers[i].view()};
}

// The lines of a file with LF ends, right-trimmed (so that a CR left behind lands inside the
// last field), each ended in turn by the ends given; the last line has none.
std::string trimmed_with_ends(const std::string& text, const std::vector<std::string>& ends) {
  const auto lines = cattest::split_lines(text);
  std::string out;
  for (std::size_t l = 0; l < lines.size(); ++l) {
    std::string line = lines[l];
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line;
    if (l + 1 < lines.size()) out += ends[l % ends.size()];
  }
  return out;
}

// Whole catalogues with CRLF, CR-only and mixed line ends: every line of every event is read
// as it would be from the LF file, and no text field keeps a stray CR.
TEST_F(Reader, EveryLineOfACatalogueLosesItsLineEnd) {
  const std::vector<std::vector<std::string>> patterns = {
      {"\r\n"}, {"\r"}, {"\n", "\r\n"}, {"\r\n", "\n", "\r\n"}, {"\r", "\r\n", "\n"}};
  struct Format {
    std::string command, text;
    int nlines;
    std::string (*write)(int, int);
  };
  for (const Format& f : {Format{"1000", dek_text, dek_nlines, write_dek_line},
                          Format{"1001", samples(), ndk_nlines, write_ndk_line}}) {
    const auto lines = cattest::split_lines(f.text);
    const int events = static_cast<int>(lines.size()) / f.nlines;
    for (const auto& ends : patterns) {
      const std::string where = f.command + " with ends " + ::testing::PrintToString(ends);
      scratch("c.txt", trimmed_with_ends(f.text, ends));
      const std::string out = run_reader(f.command + "\nc.txt\n\n\n99\n");
      ASSERT_EQ(g.nstored, events) << where << "\n" << out;
      EXPECT_EQ(out.find("WARNING"), std::string::npos) << where << "\n" << out;
      for (int k = 1; k <= events; ++k) {
        for (const std::string_view t : text_fields(k))
          EXPECT_EQ(t.find('\r'), std::string_view::npos) << where << ", event " << k;
        for (int l = 1; l <= f.nlines; ++l)
          EXPECT_EQ(f.write(l, k), lines[static_cast<std::size_t>((k - 1) * f.nlines + l - 1)])
              << where << ", event " << k << " line " << l;
      }
    }
  }
}

TEST_F(Reader, BlankLinesAfterTheLastRecordAreNotAnEvent) {
  scratch("s.ndk", samples() + "\n\n\n     \n\n\n");
  const std::string out = run_reader("1001\ns.ndk\n");
  EXPECT_EQ(g.nstored, 3);
  EXPECT_EQ(reader_state.nread, 3);
  EXPECT_EQ(out.find("WARNING"), std::string::npos);
}

TEST_F(Reader, FileEndingInsideARecordWarnsWhenItHeldData) {
  const std::string s = samples();
  // The first two lines of the first record again, then the end of the file.
  const std::string partial = s.substr(0, s.find('\n', s.find('\n') + 1) + 1);
  scratch("s.ndk", s + partial);
  const std::string out = run_reader("1001\ns.ndk\n\n");
  EXPECT_EQ(g.nstored, 3);
  EXPECT_EQ(reader_state.nread, 3);
  const std::string warning = warn_head("gcmtreadex1") +
                              " END OF FILE WHILE READING      4 th DATA\n" +
                              " LINES READ OF THAT DATA  =      2\n" +
                              " LINES NEEDED PER DATA    =      5\n" +
                              " ==> INCOMPLETE LAST DATA NOT STORED\n" + warn_tail;
  EXPECT_NE(out.find(warning), std::string::npos) << out;
  EXPECT_LT(out.find(warning), out.find(" Input file:"));

  // One blank line at the end is harmless and silent.
  scratch("b.ndk", s + "\n");
  const std::string quiet = run_reader("1001\nb.ndk\n");
  EXPECT_EQ(quiet.find("WARNING"), std::string::npos);
  EXPECT_EQ(g.nstored, 3);
}

// A catalogue of two events cut at every byte of its second record, as a file still being
// written or a broken download ends: the first event is always stored and written back as it
// was; the second only when all its lines are there, the last one with or without its line
// end. Otherwise the cut record is reported with the lines of it read whole: a line the cut
// left without its end counts when it reaches its last number (only text follows), for
// numbers stand right-aligned in their fields. The cut line given a line end again is a
// short line, read whole with blanks after it.
TEST_F(Reader, CatalogueCutAtAnyByteOfItsLastRecord) {
  const auto i6 = [](int n) {  // a space, then six columns
    const std::string d = std::to_string(n);
    return std::string(7 - d.size(), ' ') + d;
  };
  const auto published = cattest::split_lines(samples());
  std::string ndk_two;  // the first two published records
  for (std::size_t l = 0; l < 2 * ndk_nlines; ++l) ndk_two += published[l] + "\n";
  struct Format {
    std::string command, text;
    std::vector<int> number_end;  // per line, the last column of its last number
  };
  for (const Format& f : {Format{"1000", dek_text, {55, 79, 80, 73}},
                          Format{"1001", ndk_two, {55, 80, 58, 80, 80}}}) {
    const auto lines = cattest::split_lines(f.text);
    const int nlines = static_cast<int>(f.number_end.size());
    ASSERT_EQ(lines.size(), 2u * static_cast<std::size_t>(nlines));
    std::string first;
    for (int l = 0; l < nlines; ++l) first += lines[static_cast<std::size_t>(l)] + "\n";
    // Reads `file`, whose second record has `whole` lines read whole; true when it is stored.
    const auto read_cut = [&](const std::string& file, int whole, const std::string& where) {
      scratch("c.txt", file);
      const std::string out = run_reader(f.command + "\nc.txt\n\n");
      const bool stored = whole == nlines;
      EXPECT_EQ(g.nstored, stored ? 2 : 1) << where;
      const std::string warning = warn_head("gcmtreadex1") + " END OF FILE WHILE READING" +
                                  i6(2) + " th DATA\n" + " LINES READ OF THAT DATA  =" +
                                  i6(whole) + "\n" + " LINES NEEDED PER DATA    =" + i6(nlines) +
                                  "\n" + " ==> INCOMPLETE LAST DATA NOT STORED\n" + warn_tail;
      if (stored || file == first) {
        EXPECT_EQ(out.find("INCOMPLETE"), std::string::npos) << where << "\n" << out;
      } else {
        EXPECT_NE(out.find(warning), std::string::npos) << where << "\n" << out;
      }
      return stored;
    };
    for (std::size_t cut = first.size(); cut <= f.text.size(); ++cut) {
      // The cut falls `at` bytes into line l of the second record (0: before it).
      const auto second = [&](int k) { return lines[static_cast<std::size_t>(nlines + k - 1)]; };
      int at = static_cast<int>(cut - first.size());
      int l = 1;
      for (; l <= nlines && at > static_cast<int>(second(l).size()); ++l)
        at -= static_cast<int>(second(l).size()) + 1;
      const std::string where = f.command + " cut at byte " + std::to_string(cut);
      const std::string file = f.text.substr(0, cut);
      const int whole = at > 0 && at >= f.number_end[static_cast<std::size_t>(l - 1)] ? l : l - 1;
      const bool stored = read_cut(file, whole, where);
      {
        korbast::testing::Console console(f.command + "\nout.txt\ny\n99\n");
        gcmtwrite1(1, 0);
      }
      EXPECT_EQ(read_file("out.txt"), stored ? f.text : first) << where;
      std::filesystem::remove("out.txt");
      if (at > 0) read_cut(file + "\n", l, where + ", line end added");
    }
  }
}

TEST_F(Reader, EchoLinesForReadAndForRetainedRecords) {
  scratch("s.ndk", samples());
  seistest2.testgen = true;
  seistest2.testlat = true;
  seistest2.latmax = 10.0f;  // drops the first event (13.78), keeps 7.29 and -20.45
  reader_state.lshowsel = true;
  std::string out = run_reader("1001\ns.ndk\n");
  const std::string head = r43 + " READING IN NDK FILE: " + name40("s.ndk") + "\n" +
                           " ---------------------\n |      data nb      |\n |-------------------|\n" +
                           " | reading | storing |\n |-------------------|\n";
  const std::string echoes = " |       2 |       1 |\n |       3 |       2 |\n";
  EXPECT_NE(out.find(head + echoes + r43 + " Input file:"), std::string::npos) << out;
  EXPECT_EQ(g.nstored, 2);
  EXPECT_EQ(g.rlat[0], 7.29f);

  // Both switches: one line per record read, none more for the retained ones.
  reader_state.lshowread = true;
  out = run_reader("1001\ns.ndk\n");
  const std::string all = " |       1 |       1 |\n |       2 |       1 |\n |       3 |       2 |\n";
  EXPECT_NE(out.find(head + all + r43), std::string::npos) << out;
}

TEST_F(Reader, SummaryShowsTheTestsInForce) {
  scratch("s.ndk", samples());
  Seistest2& c = seistest2;
  c.testgen = c.testpoly = c.testlat = c.testlong = c.testdepth = c.testqual = true;
  c.nvertex = 0;
  c.latmin = -30.0f;
  c.longmax = 100.0f;
  c.depthmax = 200.0f;
  c.testrake[0] = c.testrake[2] = true;
  c.rakeint[2][0] = 100.0f;
  c.nfreemin = 6;
  c.erelmax = 0.5f;
  c.fclvdmax = 0.5f;
  const std::string out = run_reader("1001\ns.ndk\n");
  const std::string tests =
      r43 + " |   Test on: |       Mini |       Maxi |\n" + r43 +
      " |    Polygon |          1 |          0 |\n" +
      " |     Bounds |      great |    circles |\n" +
      " |  Latitude  |    -30.000 |     90.000 |\n" +
      " |  Longitude |   -180.000 |    100.000 |\n" +
      " |  Depth     |      0.000 |    200.000 |\n" +
      " |  Rake test |     Planes |     1 OR 2 |\n" +
      " |  Rake int1 |   -180.000 |    180.000 |\n" +
      " |  Rake int3 |    100.000 |    180.000 |\n" +
      " |    |fclvd| |      0.000 |      0.500 |\n" +
      " |       Erel |      0.000 |      0.500 |\n" +
      " |      Nfree |          6 |          6 |\n" + r43 + " |  Parameter |";
  EXPECT_NE(out.find(tests), std::string::npos) << out;
}

TEST_F(Reader, NoCompleteRecordLeavesAnEmptyStoreOfTheType) {
  scratch("e.dek", "B010177A  1/ 1/77\n");
  const std::string out = run_reader("1000\ne.dek\n");
  EXPECT_EQ(g.nstored, 0);
  EXPECT_EQ(g.idatatype, 1);
  EXPECT_NE(out.find(" | Nb of data |          0 |          0 |\n"
                     " | Long  maxi | -10000.000 | -10000.000 |\n"
                     " | Long  mini |  10000.000 |  10000.000 |\n"),
            std::string::npos);
  EXPECT_FALSE(fiocom.iopin[0]);
}

TEST_F(Reader, ReadErrorDialogRewindsOnOneAndClosesOtherwise) {
  std::string s = samples();
  s.replace(s.find("CENTROID:      5.3"), 18, "CENTROID:      X.3");  // record 3, line 3
  scratch("s.ndk", s);
  // 1001 and the name; the pause; answer 1 (rewind). Then 1001 again reads the rewound
  // file without a dialog: the same error; the pause; an empty answer takes 2 (close);
  // then 99.
  const std::string out = run_reader("1001\ns.ndk\n\n1\n1001\n\n\n99\n");
  EXPECT_EQ(g.nstored, 0);
  EXPECT_EQ(g.idatatype, 0);
  EXPECT_EQ(reader_state.nread, 0);
  EXPECT_FALSE(fiocom.iopin[0]);
  std::string box = ex::rule('*') + "\n";
  const std::string error_lines = "   WHILE READING      3 th DATA\n   IN FILE: " + name40("s.ndk") +
                                  "\n" + ex::rule('-', 32) + "\n" +
                                  "   Try again on same file ......1\n" +
                                  "   close that file .............2\n" +
                                  " ===> HIT RETURN TO CONTINUE\n" + box;
  const auto first = out.find(error_lines);
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_NE(out.find(error_lines, first + 1), std::string::npos);
  EXPECT_NE(out.find(" input file  " + name40("s.ndk") + "  rewound\n"), std::string::npos);
  // The slots before the error keep what was read.
  EXPECT_EQ(g.rlat[1], 7.29f);
  // The older integer prompt: untrimmed, with its hint and default whatever the level.
  EXPECT_NE(out.find(" Enter your choice" + std::string(24, ' ') + "\n"), std::string::npos);
}

TEST_F(Reader, CapacityStopsAtTwentyFiveThousand) {
  {
    std::ofstream f("big.ndk", std::ios::binary);
    gen_catalogue::write_catalogue(f, nmaxdata + 1, true, 7);
  }
  const std::string out = run_reader("1001\nbig.ndk\n\n");
  EXPECT_EQ(g.nstored, nmaxdata);
  EXPECT_EQ(reader_state.nread, nmaxdata);
  EXPECT_FALSE(fiocom.iopin[0]);
  const std::string warning =
      warn_head("gcmtreadex1") + " data may not have been fully read\n" + warn_tail;
  EXPECT_NE(out.find(warning), std::string::npos);
  EXPECT_NE(out.find(" | Nb of data |      25000 |      25000 |\n"), std::string::npos);
  // The last stored event is the 25000th of the file.
  {
    std::ostringstream s;
    gen_catalogue::write_catalogue(s, nmaxdata, true, 7);
    const std::string all = s.str();
    const auto last = all.rfind("PDE  ");
    EXPECT_EQ(all.substr(last + 5, 10), g.date1[nmaxdata - 1].view());
  }
}

TEST_F(Reader, ExactlyFullStoreStillWarns) {
  {
    std::ofstream f("full.dek", std::ios::binary);
    gen_catalogue::write_catalogue(f, nmaxdata, false, 3);
  }
  const std::string out = run_reader("1000\nfull.dek\n\n");
  EXPECT_EQ(g.nstored, nmaxdata);
  EXPECT_NE(out.find(" data may not have been fully read\n"), std::string::npos);
}

TEST_F(Reader, EchoSwitchesAndHelp) {
  const std::string out = run_reader("4\ny\n5\n1\n900\n99\n");
  EXPECT_TRUE(reader_state.lshowread);
  EXPECT_TRUE(reader_state.lshowsel);
  const std::string help = sub_head("gcmtreadex1") + ex::rule('=') + "\n" +
                           "                   HELP\n" + ex::rule('=') + "\n" +
                           " DEK & NDK FORMATS AS DESCRIBED AT:\n";
  EXPECT_NE(out.find(help), std::string::npos);
  EXPECT_NE(out.find(" WRITE ALL READ DATA TO SCREEN .4 T\n"), std::string::npos);
}

TEST_F(Reader, DekRunAfterNdkRunLeavesNdkOnlyFields) {
  scratch("s.ndk", samples());
  run_reader("1001\ns.ndk\n");
  const std::string l1 = "B010177A  1/ 1/77  9:55:28.4  -6.05  147.94  59.05.36.0EASTERN NEW GUINEA REG.";
  const std::string rest =
      "PDE BW:12 23  45 MW: 9 14 135 DT=   2.3 0.4  -6.13 0.05  147.99 0.04  68.1  2.3\n"
      " TRI 3.5 FR 25  1.23 0.08 -0.45 0.07 -0.78 0.09  0.12 0.11  0.33 0.06 -1.01 0.05\n"
      "   1.71 15 348   0.05 72 203  -1.76  9  81   1.74 260 32  110  61 60   78\n";
  scratch("t.dek", l1 + "\n" + rest);
  run_reader("1000\nt.dek\n");
  EXPECT_EQ(g.idatatype, 1);
  EXPECT_EQ(g.nstored, 1);
  EXPECT_EQ(g.cstamp[0].view(), "S-20050322125201");
  EXPECT_EQ(g.swc[0].view(), "S: ");
  EXPECT_EQ(g.isrec[0], 33);
  EXPECT_EQ(g.date1[0].view(), " 1/ 1/77  ");
}

// One reset gives every block of the subsystem its start value: the store is emptied.
TEST(CatalogueState, ResetGivesEveryBlockItsStartValue) {
  using namespace korbast::catalogue;
  gcmtblk.nstored = 3;
  gcmtblk.rlat[nmaxdata - 1] = 1.0f;
  gcmtblk.date1[0] = "2005/01/01";
  reader_state.lshowread = true;
  seistest2.nvertex = 4;
  korbast::catalogue::reset();
  EXPECT_EQ(gcmtblk.nstored, 0);
  EXPECT_EQ(gcmtblk.rlat[nmaxdata - 1], 0.0f);
  EXPECT_EQ(gcmtblk.date1[0].view(), korbast::frame::Text<10>::zeros().view());
  EXPECT_FALSE(reader_state.lshowread);
  EXPECT_EQ(seistest2.nvertex, 0);
}

}  // namespace
