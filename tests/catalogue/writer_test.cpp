// The catalogue writer: text and table output, the close question, the mismatch refusal,
// write failures, and its menu.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/gcmtwrite.hpp"
#include "catalogue/tables.hpp"
#include "catalogue_support.hpp"
#include "frame/filetable.hpp"
#include "frame/stop.hpp"
#include "frame/units.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::catalogue;
using namespace cattest;
using korbast::frame::fiocom;

std::string run_writer(const std::string& answers) {
  korbast::testing::Console console(answers);
  gcmtwrite1(1, 0);
  return console.text();
}

void read_catalogue(const std::string& command, const std::string& path) {
  korbast::testing::Console console(command + "\n" + path + "\n");
  gcmtreadex1(1, 0);
}

// Splits a table line as a CSV reader with tab separator and quote ' would.
std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  bool quoted = false;
  for (std::size_t p = 1; p < line.size(); ++p) {  // the line's first character is a blank
    const char ch = line[p];
    if (ch == '\'') {
      quoted = !quoted;
    } else if (ch == '\t' && !quoted) {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += ch;
    }
  }
  out.push_back(cur);
  return out;
}

class Writer : public CatalogueTest {};

TEST_F(Writer, NdkReadWriteIsByteForByte) {
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  read_catalogue("1001", "s.ndk");
  ASSERT_EQ(g.nstored, 3);
  const std::string out = run_writer("1001\nout.ndk\n\n99\n");
  EXPECT_EQ(read_file("out.ndk"), read_file(data_path("gcmt-samples.ndk")));
  EXPECT_FALSE(fiocom.iopou[0]);
  const std::string report = " WRITING COMPLETED\n NUMBER OF SAVED DATA =      3\n FILE " +
                             name40("out.ndk") + " IS STILL OPEN\n" + r43;
  EXPECT_NE(out.find(report), std::string::npos) << out;
  EXPECT_NE(out.find(" output file " + name40("out.ndk") + " closed\n"), std::string::npos);
  EXPECT_NE(out.find(" WRITING DATA TO FILE " + name40("out.ndk") + "\n ORIGINAL 5 LINES ndk CMT\n"),
            std::string::npos);
}

TEST_F(Writer, DekReadWriteIsByteForByte) {
  scratch("s.dek", dek_text);
  read_catalogue("1000", "s.dek");
  ASSERT_EQ(g.nstored, 2);
  run_writer("1000\nout.dek\ny\n99\n");
  EXPECT_EQ(read_file("out.dek"), dek_text);
  // The last line's reals and angles in the table: F7.2, then F4.0 plunges and F5.0 for the
  // azimuths, strikes, dips and rakes, whatever their widths in the dek line.
  run_writer("2000\nout.tab\n\n99\n");
  EXPECT_NE(read_file("out.tab").find("\t   3.43\t  2.\t 118.\t  -0.20\t 81.\t 222.\t  -3.23\t  9.\t"
                                      "  28.\t   3.33\t 163.\t  85.\t-178.\t  73.\t  88.\t  -5.\t"),
            std::string::npos);
}

// A UTF-8 text of exactly w bytes (w >= 2) with characters of two and three bytes: whole
// characters of "SÃO PAULO — BRASIL" as long as they fit, then blanks ("Ã" in two bytes).
std::string utf8_field(int w) {
  if (w == 2) return "\xC3\x83";
  const std::string source = "S\xC3\x83O PAULO \xE2\x80\x94 BRASIL";
  std::string out;
  for (std::size_t k = 0; k < source.size();) {
    const std::size_t n = (source[k] & 0x80) == 0 ? 1 : (source[k] & 0xE0) == 0xC0 ? 2 : 3;
    if (out.size() + n > static_cast<std::size_t>(w)) break;
    out += source.substr(k, n);
    k += n;
  }
  out.resize(static_cast<std::size_t>(w), ' ');
  return out;
}

// Every text field of every event holds multi-byte UTF-8 text: read and written back, each
// record is the same byte for byte (fields are counted in bytes both ways).
TEST_F(Writer, Utf8TextFieldsReadAndWriteBackByteForByte) {
  // A text field: its line (from 1), first column (from 0), width in bytes, and its store.
  struct Field {
    int line, column, width;
    std::string_view (*stored)(int i);
  };
  struct Format {
    std::string command, text, close_answer;
    int nlines;
    std::vector<Field> fields;
  };
  const std::vector<Format> formats = {
      {"1000", dek_text, "y", 4,
       {{1, 0, 8, [](int i) { return g.cmtlabel[i].view(); }},
        {1, 9, 8, [](int i) { return g.date1[i].view(); }},
        {1, 18, 10, [](int i) { return g.time[i].view(); }},
        {1, 55, 24, [](int i) { return g.region[i].view(); }},
        {2, 0, 3, [](int i) { return g.hyporef[i].view(); }},
        {2, 4, 3, [](int i) { return g.bwc[i].view(); }},
        {2, 17, 3, [](int i) { return g.mwc[i].view(); }},
        {2, 30, 3, [](int i) { return g.clab[i].view(); }},
        {3, 1, 3, [](int i) { return g.mtrttypc[i].view(); }},
        {3, 9, 2, [](int i) { return g.cdeptyp[i].view(); }}}},
      {"1001", read_file(data_path("gcmt-samples.ndk")), "", 5,
       {{1, 0, 4, [](int i) { return g.hyporef[i].view(); }},
        {1, 5, 10, [](int i) { return g.date1[i].view(); }},
        {1, 16, 10, [](int i) { return g.time[i].view(); }},
        {1, 56, 24, [](int i) { return g.region[i].view(); }},
        {2, 0, 16, [](int i) { return g.cmtlabel[i].view(); }},
        {2, 17, 2, [](int i) { return g.bwc[i].view(); }},
        {2, 32, 2, [](int i) { return g.swc[i].view(); }},
        {2, 47, 2, [](int i) { return g.mwc[i].view(); }},
        {2, 62, 4, [](int i) { return g.invtypc[i].view(); }},
        {2, 69, 6, [](int i) { return g.mtrttypc[i].view(); }},
        {3, 0, 9, [](int i) { return g.clab[i].view(); }},
        {3, 59, 4, [](int i) { return g.cdeptyp[i].view(); }},
        {3, 64, 16, [](int i) { return g.cstamp[i].view(); }},
        {5, 0, 3, [](int i) { return g.cvers[i].view(); }}}},
  };
  for (const Format& f : formats) {
    auto lines = split_lines(f.text);
    const int events = static_cast<int>(lines.size()) / f.nlines;
    for (int e = 0; e < events; ++e) {
      for (const Field& t : f.fields) {
        std::string& line = lines[static_cast<std::size_t>(e * f.nlines + t.line - 1)];
        line.replace(static_cast<std::size_t>(t.column), static_cast<std::size_t>(t.width),
                     utf8_field(t.width));
      }
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    ASSERT_EQ(text.size(), f.text.size());
    scratch("in" + f.command, text);
    read_catalogue(f.command, "in" + f.command);
    ASSERT_EQ(g.nstored, events) << f.command;
    for (int e = 0; e < events; ++e) {
      for (const Field& t : f.fields) {
        EXPECT_EQ(t.stored(e).substr(0, static_cast<std::size_t>(t.width)), utf8_field(t.width))
            << f.command << " line " << t.line << " column " << t.column;
      }
    }
    run_writer(f.command + "\nout" + f.command + "\n" + f.close_answer + "\n99\n");
    EXPECT_EQ(read_file("out" + f.command), text) << f.command;
  }
}

TEST_F(Writer, NdkTableMatchesTheIndependentOracle) {
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  read_catalogue("1001", "s.ndk");
  const std::string out = run_writer("2001\nout.tab\n\n99\n");
  const std::string table = read_file("out.tab");
  EXPECT_EQ(table, read_file(data_path("gcmt-samples.ndk.table")));
  const auto lines = split_lines(table);
  ASSERT_EQ(lines.size(), 5u);
  for (std::size_t l = 1; l < lines.size(); ++l) EXPECT_EQ(csv_fields(lines[l]).size(), 70u) << l;
  const auto row = csv_fields(lines[3]);  // the second event
  EXPECT_EQ(row[0], "PDE ");
  EXPECT_EQ(row[8], "NICOBAR ISLANDS, INDIA R");
  EXPECT_EQ(row[63], " -23.");
  EXPECT_EQ(row[69], "6");
  EXPECT_NE(out.find(" TABULATED ndk CMT ORIGINAL ORDER\n + Computed Fclvd, Erel, Nfree\n"),
            std::string::npos);
}

TEST_F(Writer, DekTableColumns) {
  scratch("s.dek", dek_text);
  read_catalogue("1000", "s.dek");
  const std::string out = run_writer("2000\nd.tab\n\n99\n");
  const auto lines = split_lines(read_file("d.tab"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], " 'd.tab" + std::string(35, ' ') + "'");  // the name and 35 blanks
  const auto names = csv_fields(lines[1]);
  const std::vector<std::string> dek_names = {
      "event_id", "date", "time", "latitude", "longitude", "depth", "mb", "Ms", "region", "esrc",
      "body", "#stat", "#rec", "cutoff", "mantl", "#stat", "#rec", "cutoff", "dtc", "cdt", "Dcdt",
      "clat", "Dclat", "clong", "Dclong", "cdepth", "Dcdepth", "durc", "hdur", "ex", "exp", "Mrr",
      "DMrr", "Mss", "DMss", "Mee", "DMee", "Mrs", "DMrs", "Mre", "DMre", "Mse", "DMse", "m1",
      "v1plge", "v1azi", "m2", "v2plge", "v2azi", "m3", "v3plge", "v3azi", "M0", "strike1", "dip1",
      "rake1", "strike2", "dip2", "rake2", "Fclvd", "Erel", "Nfree"};
  EXPECT_EQ(names, dek_names);
  ASSERT_EQ(names.size(), 62u);
  // The console announces the computed columns the header ends with.
  EXPECT_NE(out.find("\n + Computed " + names[59] + ", " + names[60] + ", " + names[61] + "\n"),
            std::string::npos);
  const auto row = csv_fields(lines[2]);
  ASSERT_EQ(row.size(), 62u);
  EXPECT_EQ(row[0], "B010177A");
  EXPECT_EQ(row[1], " 1/ 1/77");
  EXPECT_EQ(row[3], " -6.05");
  EXPECT_EQ(row[18], "DT=");
  EXPECT_EQ(row[27], "TRI");
  EXPECT_EQ(row[29], "FR");
  EXPECT_EQ(row[44], " 15.");   // plunge F4.0
  EXPECT_EQ(row[45], " 348.");  // azimuth F5.0
  EXPECT_EQ(row[53], " 260.");  // strike F5.0
  EXPECT_EQ(row[54], "  32.");
  // fclvd = -0.05 / 1.76, erelm from the tensor, every error at least 0.001.
  EXPECT_EQ(row[59], "-0.03");
  EXPECT_EQ(row[61], "6");
  const auto row2 = csv_fields(lines[3]);
  EXPECT_EQ(row2[55], "-178.");
  EXPECT_EQ(row2[11], " 0");
}

TEST_F(Writer, NoToTheCloseQuestionAppendsTheNextWrite) {
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  read_catalogue("1001", "s.ndk");
  run_writer("2001\nt.tab\nn\n2001\n\n99\n");
  const std::string one = read_file(data_path("gcmt-samples.ndk.table"));
  std::string expected = one + one;
  // The oracle's tables carry the name out.tab.
  const std::string from = " 'out.tab" + std::string(33, ' ') + "'";
  const std::string to = " 't.tab" + std::string(35, ' ') + "'";
  for (std::size_t p = expected.find(from); p != std::string::npos; p = expected.find(from))
    expected.replace(p, from.size(), to);
  EXPECT_EQ(read_file("t.tab"), expected);
  EXPECT_FALSE(fiocom.iopou[0]);
}

TEST_F(Writer, MismatchedCommandLeavesAnExistingFileUntouched) {
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  read_catalogue("1001", "s.ndk");
  scratch("keep.dek", "precious\n");
  // 1000 (dek) with ndk data: refused before any file is chosen; the next line is the
  // pause, then 99.
  const std::string out = run_writer("1000\n\n99\n");
  EXPECT_EQ(read_file("keep.dek"), "precious\n");
  EXPECT_EQ(out.find("OPENING OUTPUT FILE"), std::string::npos);
  EXPECT_FALSE(fiocom.iopou[0]);
  const std::string warning = " DATA TYPE ID   =      2\n FORMAT COMMAND =   1000\n"
                              " NO WRITING PROCEDURE FOR THIS\n FORMAT - DATA TYPE COMBINATION\n"
                              " ==> NO ACTION\n OUTPUT FILE HAS NOT BEEN WRITTEN\n"
                              " ====> DATA ARE UNSAVED\n ===> HIT RETURN TO CONTINUE\n";
  EXPECT_NE(out.find(warning), std::string::npos) << out;
  // 3001 has no writer for any data type.
  const std::string out2 = run_writer("3001\n\n99\n");
  EXPECT_NE(out2.find(" FORMAT COMMAND =   3001\n"), std::string::npos);
}

TEST_F(Writer, NoDataMenuAndEmptyTable) {
  std::string out = run_writer("99\n");
  EXPECT_NE(out.find(r43 + " Maximum nb of stored data=  25000\n Current nb of stored data=      0\n"
                           " Current data type        =      0\n OPEN  DATA OUTPUT FILE .......12 " +
                     std::string(40, ' ') + "\n CLOSE DATA OUTPUT FILE .......22 " +
                     std::string(40, ' ') + "\n" + r43 + " CANNOT WRITE THIS DATA TYPE\n" +
                     " LIST DATA TO SCREEN ........1100\n" + r43 +
                     " HELP ........................900\n EXIT .........................99\n"),
            std::string::npos)
      << out;
  g.idatatype = 1;
  g.nstored = 0;
  out = run_writer("2000\ne.tab\n\n1000\ne.dek\n\n99\n");
  EXPECT_EQ(split_lines(read_file("e.tab")).size(), 2u);
  EXPECT_EQ(read_file("e.dek"), "");
  EXPECT_NE(out.find(" NUMBER OF SAVED DATA =      0\n"), std::string::npos);
  EXPECT_NE(out.find("  dek format CMT file .......1000\n  Table dek CMT order .......2000\n"),
            std::string::npos);
}

TEST_F(Writer, FullDiskIsReportedAndTheFileClosed) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  read_catalogue("1001", "s.ndk");
  // /dev/full exists: the chooser asks to replace it (y); the pauses of the unit's frame and
  // of the writer's; 99. The three events are still in the buffer when the flush fails.
  const std::string out = run_writer("1001\n/dev/full\ny\n\n\n99\n");
  EXPECT_NE(out.find("  ndk format CMT file .......1001\n  Table ndk CMT order .......2001\n"),
            std::string::npos);
  EXPECT_EQ(out.find("WRITING COMPLETED"), std::string::npos) << out;
  EXPECT_NE(out.find("   OUTPUT FILE FAILED WHILE FLUSHING\n   UNIT 21 FILE: /dev/full\n"
                     "   REASON: No space left on device\n   LINES WRITTEN =         0\n"
                     "   BYTES WRITTEN =         0\n   LINES GIVEN   =        15\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("   WHILE FLUSHING THE WRITTEN DATA\n   IN FILE: " + name40("/dev/full") +
                     "\n   closing the file\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(" FILE " + name40("/dev/full") + " IS CLOSED\n ===> HIT RETURN TO CONTINUE\n"),
            std::string::npos);
  EXPECT_FALSE(fiocom.iopou[0]);
  EXPECT_EQ(g.nstored, 3);  // the store is unchanged
}

// A stop asked for at the k-th write of the writer's dialog (before its safe point), in a
// child process of its own (a run stops once), with what its console received left in
// console.txt.
long writes_seen = 0;
long stop_at = 0;
korbast::testing::Console* child_console = nullptr;
void count_write() {
  if (++writes_seen == stop_at) korbast::frame::stop::g_requested.store(SIGTERM);
}
[[noreturn]] void leave_child(int status) {
  std::ofstream("console.txt") << child_console->text();
  std::_Exit(status);
}

// For every write of the dialog a stop at its safe point leaves the ndk file at a whole event
// (5 lines of 81 bytes, the start of the input) and the table at a whole line, and the CLOSED
// line counts the lines the file holds.
TEST_F(Writer, AStopAtAnyWriteLeavesWholeEventsAndLines) {
  const std::string ndk = read_file(data_path("gcmt-samples.ndk"));
  scratch("s.ndk", ndk);
  read_catalogue("1001", "s.ndk");
  namespace units = korbast::frame::units;
  for (const std::string command : {"1001", "2001"}) {
    const std::string answers = command + "\no.ndk\n\n99\n";
    std::remove("o.ndk");
    units::set_write_hook(count_write);
    writes_seen = 0;
    stop_at = 0;
    run_writer(answers);
    const long writes = writes_seen;
    int closed = 0;
    int inside = 0;
    for (stop_at = 1; stop_at <= writes; ++stop_at) {
      std::remove("o.ndk");
      std::remove("console.txt");
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        korbast::frame::stop::install();
        units::set_stop_interceptor(leave_child);
        writes_seen = 0;
        korbast::testing::Console console(answers);
        child_console = &console;
        gcmtwrite1(1, 0);
        std::_Exit(0);
      }
      int status = 0;
      ::waitpid(pid, &status, 0);
      const std::string at_write = command + ": stop at write " + std::to_string(stop_at);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM) << at_write;
      const std::string file = read_file("o.ndk");
      EXPECT_TRUE(file.empty() || file.back() == '\n') << at_write;
      if (command == "1001") {
        EXPECT_EQ(file.size() % 405, 0u) << at_write;
        EXPECT_EQ(file, ndk.substr(0, file.size())) << at_write;
      }
      const std::string console = read_file("console.txt");
      const std::size_t at = console.find(" FILE o.ndk CLOSED:");
      if (at != std::string::npos) {
        ++closed;
        // Whole: 3 events of 5 lines, or 2 header lines and 3 event lines.
        inside += !file.empty() && std::count(file.begin(), file.end(), '\n') < (command == "1001" ? 15 : 5);
        const long lines = std::atol(console.c_str() + at + 19);
        EXPECT_EQ(lines, std::count(file.begin(), file.end(), '\n')) << at_write;
      }
    }
    // Stops while the file was open, and among them stops before its last event.
    std::printf("%s: %ld stops, %d with the file open, %d before its last event\n", command.c_str(),
                writes, closed, inside);
    std::fflush(stdout);  // not again by the next children
    EXPECT_GT(closed, 0);
    EXPECT_GT(inside, 0);
  }
  units::set_write_hook(nullptr);
}

TEST_F(Writer, ListingAndHelp) {
  scratch("s.ndk", read_file(data_path("gcmt-samples.ndk")));
  read_catalogue("1001", "s.ndk");
  const std::string out = run_writer("1100\n900\n\n");
  EXPECT_NE(out.find(" | 2005/01/ |  14. |  -89. | EL SALVADOR     |\n"), std::string::npos);
  EXPECT_NE(out.find(" GLOBAL CMT DATA FORMAT ARE DESCRIBED AT:\n"), std::string::npos);
}

TEST_F(Writer, OpenAndCloseCommandsOnlyActWhenNeeded) {
  const std::string out = run_writer("22\n12\nx.txt\n12\n22\n99\n");
  // One opening and one closing only.
  EXPECT_EQ(out.find("OPENING OUTPUT FILE"), out.rfind("OPENING OUTPUT FILE"));
  EXPECT_EQ(out.find(" CLOSED\n"), out.rfind(" CLOSED\n"));
  EXPECT_FALSE(fiocom.iopou[0]);
  EXPECT_TRUE(std::filesystem::exists("x.txt"));
}

}  // namespace
