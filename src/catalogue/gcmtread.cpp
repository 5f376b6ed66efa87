#include "catalogue/gcmtread.hpp"

#include <string>
#include <string_view>

#include "catalogue/derived.hpp"
#include "catalogue/gcmtblk.hpp"
#include "catalogue/layouts.hpp"
#include "catalogue/lines.hpp"
#include "catalogue/reader_id.hpp"
#include "catalogue/seistest.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::catalogue {

ReaderState reader_state;

namespace {

using frame::fiocom;

bool slot_valid(int kin) { return kin >= 1 && kin <= frame::max_input_slots; }
bool slot_open(int kin) { return slot_valid(kin) && fiocom.iopin[kin - 1]; }
int slot_unit(int kin) { return slot_valid(kin) ? fiocom.iuinp[kin - 1] : 0; }
std::string_view slot_name(int kin) {
  static const std::string none(40, ' ');
  return slot_valid(kin) ? fiocom.inpnam[kin - 1].view() : std::string_view(none);
}

void show_menu(int kin) {
  frame::say_rule();
  text_line("READ AND EXTRACT CMT DATA");
  frame::say_rule();
  text_line("PARAMETERS:");
  count_line("Maximum nb of stored data=", nmaxdata);
  count_line("Current nb of stored data=", gcmtblk.nstored);
  flag_line("WRITE ALL READ DATA TO SCREEN .4", reader_state.lshowread);
  flag_line("WRITE SELECTED DATA TO SCREEN .5", reader_state.lshowsel);
  text_line("OPEN  INPUT FILE .............11", slot_name(kin));
  text_line("CLOSE INPUT FILE .............21", slot_name(kin));
  flag_line("EXTRACTION CRITERIA .........100", seistest2.testgen);
  frame::say_rule();
  text_line("READ, EXTRACT, AND EXIT:");
  text_line(" dek format CMT file .......1000");
  text_line(" ndk format CMT file .......1001");
  frame::say_rule();
  text_line("HELP ........................900");
  text_line("EXIT .........................99");
  frame::menutail();
}

// "(1x,'|',1x,i7,1x,'|',1x,i7,1x,'|')"
void echo_line(int record, int slot) {
  frame::fmt::Line s;
  s.x().lit("|").x().i(record, 7).x().lit("|").x().i(slot, 7).x().lit("|");
  say(s.str());
}

void echo_head(int kin, int type) {
  frame::say_rule();
  text_line(type == 1 ? "READING IN DEK FILE:" : "READING IN NDK FILE:", slot_name(kin));
  text_line("---------------------");
  text_line("|      data nb      |");
  text_line("|-------------------|");
  frame::fmt::Line s;
  s.x().lit("|").x().a("reading", 7).x().lit("|").x().a("storing", 7).x().lit("|");
  say(s.str());
  text_line("|-------------------|");
}

// Table rows of the summary: "(1x,'|',1x,a10,1x,'|',1x,X,1x,'|',1x,X,1x,'|')".
frame::fmt::Line row_start(std::string_view label) {
  frame::fmt::Line s;
  s.x().lit("|").x().a(label, 10).x().lit("|").x();
  return s;
}
void text_row(std::string_view label, std::string_view a, std::string_view b) {
  frame::fmt::Line s = row_start(label);
  s.a(a, 10).x().lit("|").x().a(b, 10).x().lit("|");
  say(s.str());
}
void int_row(std::string_view label, int a, int b) {
  frame::fmt::Line s = row_start(label);
  s.i(a, 10).x().lit("|").x().i(b, 10).x().lit("|");
  say(s.str());
}
void real_row(std::string_view label, float a, float b) {
  frame::fmt::Line s = row_start(label);
  s.f(a, 10, 3).x().lit("|").x().f(b, 10, 3).x().lit("|");
  say(s.str());
}

// Minimum and maximum of latitude, longitude and depth.
struct Extremes {
  float latmin = 10000.0f, latmax = -10000.0f;
  float longmin = 10000.0f, longmax = -10000.0f;
  float depthmin = 10000.0f, depthmax = -10000.0f;
  void add(int i) {
    const Gcmtblk& g = gcmtblk;
    if (g.rlat[i] > latmax) latmax = g.rlat[i];
    if (g.rlat[i] < latmin) latmin = g.rlat[i];
    if (g.rlong[i] > longmax) longmax = g.rlong[i];
    if (g.rlong[i] < longmin) longmin = g.rlong[i];
    if (g.depth[i] > depthmax) depthmax = g.depth[i];
    if (g.depth[i] < depthmin) depthmin = g.depth[i];
  }
};

void summary(int kin, const Extremes& rd, const Extremes& kept) {
  const Seistest2& c = seistest2;
  const Gcmtblk& g = gcmtblk;
  frame::say_rule();
  text_line("Input file:", slot_name(kin));
  count_line("Could store up to :", nmaxdata, "data");
  count_line("Data type ID      =", g.idatatype);
  if (c.testgen) {
    frame::say_rule();
    text_row("Test on:", "Mini", "Maxi");
    frame::say_rule();
    if (c.testpoly) {
      int_row("Polygon", 1, c.nvertex);
      if (c.polygc) {
        text_row("Bounds", "great", "circles");
      } else {
        text_row("Bounds", "straight", "lines");
      }
    }
    if (c.testlat) real_row("Latitude ", c.latmin, c.latmax);
    if (c.testlong) real_row("Longitude", c.longmin, c.longmax);
    if (c.testdepth) real_row("Depth    ", c.depthmin, c.depthmax);
    if (c.testrake[0]) {
      text_row("Rake test", "Planes", c.rakeboth ? "1 AND 2" : "1 OR 2");
      real_row("Rake int1", c.rakeint[0][0], c.rakeint[0][1]);
      if (c.testrake[1]) real_row("Rake int2", c.rakeint[1][0], c.rakeint[1][1]);
      if (c.testrake[2]) real_row("Rake int3", c.rakeint[2][0], c.rakeint[2][1]);
    }
    if (c.testqual) {
      real_row("|fclvd|", 0.0f, c.fclvdmax);
      real_row("Erel", 0.0f, c.erelmax);
      int_row("Nfree", c.nfreemin, 6);
    }
  } else {
    text_line("No test => retain all data");
  }
  frame::say_rule();
  text_row("Parameter", "Read", "Retained");
  frame::say_rule();
  int_row("Nb of data", reader_state.nread, g.nstored);
  real_row("Long  maxi", rd.longmax, kept.longmax);
  real_row("Long  mini", rd.longmin, kept.longmin);
  real_row("Lat   maxi", rd.latmax, kept.latmax);
  real_row("Lat   mini", rd.latmin, kept.latmin);
  real_row("Depth maxi", rd.depthmax, kept.depthmax);
  real_row("Depth mini", rd.depthmin, kept.depthmin);
}

void read_error(int kin, int record) {
  frame::errorhead(reader_id);
  count_line("  WHILE READING", record, "th DATA");
  text_line("  IN FILE:", slot_name(kin));
  frame::say_rule('-', 32);
  text_line("  Try again on same file ......1");
  text_line("  close that file .............2");
  frame::errortail00();
  int answer = 2;
  int status = 0;
  frame::inintegdefnp(answer, pad35("your choice"), 2, status);
  frame::choice_taken();  // 1 rewinds, any other closes
  if (answer == 1) {
    frame::units::rewind(slot_unit(kin));
    text_line("input file ", slot_name(kin), " rewound");
  } else {
    frame::clofin(kin, 0);
  }
  reader_state.nread = 0;
  gcmtblk.nstored = 0;
  gcmtblk.idatatype = 0;
}

bool blank_line(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

// A last line without a line end that stops before its last number: the file was cut there
// (or is still being written), and a number at the cut may even read as a wrong value.
bool cut_line(int unit, int type, int l, std::string_view line) {
  return frame::units::line_unended(unit) &&
         line.size() < static_cast<std::size_t>(last_number_column(type, l));
}

void incomplete_record(int record, int lines_read, int nlines) {
  frame::warninghead(reader_id);
  count_line("END OF FILE WHILE READING", record, "th DATA");
  count_line("LINES READ OF THAT DATA  =", lines_read);
  count_line("LINES NEEDED PER DATA    =", nlines);
  text_line("==> INCOMPLETE LAST DATA NOT STORED");
  frame::warningtail00();
}

// One pass over the open input file; false when it ended in a read error.
bool read_run(int kin, int type) {
  Gcmtblk& g = gcmtblk;
  ReaderState& st = reader_state;
  g.idatatype = type;
  const int nlines = line_count(type);
  const bool echo_read = st.lshowread;
  const bool echo_kept = st.lshowsel && !st.lshowread;
  Extremes rd;
  Extremes kept;
  if (st.lshowread || st.lshowsel) echo_head(kin, type);

  const int unit = slot_unit(kin);
  std::string line;
  int record = 1;
  int slot = 1;
  for (;;) {
    bool all_blank = true;
    bool eof = false;
    for (int l = 1; l <= nlines; ++l) {
      const frame::units::Read r = frame::units::read_line(unit, line);
      const bool cut = r == frame::units::Read::Ok && cut_line(unit, type, l, line);
      if (r == frame::units::Read::Eof || cut) {
        // The file ends between the lines of a record or inside one: a record that held data
        // cannot be stored.
        eof = true;
        if (!all_blank || (cut && !blank_line(line))) incomplete_record(record, l - 1, nlines);
        break;
      }
      if (r != frame::units::Read::Ok || !read_record_line(type, l, line, slot)) {
        read_error(kin, record);
        return false;
      }
      if (all_blank && !blank_line(line)) all_blank = false;
    }
    if (eof) break;
    if (all_blank) continue;  // blank lines hold no event: neither stored nor counted

    const int i = slot - 1;
    if (echo_read) echo_line(record, slot);
    rd.add(i);
    if (record_step(slot)) {
      if (echo_kept) echo_line(record, slot);
      kept.add(i);
      ++slot;
    }
    ++record;
    if (slot > nmaxdata) break;
  }

  st.nread = record - 1;
  g.nstored = slot - 1;
  summary(kin, rd, kept);
  if (g.nstored == nmaxdata) {
    frame::warninghead(reader_id);
    text_line("data may not have been fully read");
    frame::warningtail00();
  }
  frame::clofin(kin, 0);
  return true;
}

}  // namespace

void gcmtreadex1(int kin, frame::Mode mode) {
  Gcmtblk& g = gcmtblk;
  ReaderState& st = reader_state;
  if (mode.from_default()) {
    frame::submenuhead(reader_id);
    text_line("INITIALIZING INPUT PARAMETERS");
    g.idatatype = 0;
    st.nread = 0;
    g.nstored = 0;
    st.lshowread = false;
    st.lshowsel = false;
    setseistest6(mode);
    return;
  }
  for (;;) {
    frame::submenuhead(reader_id);
    if (frame::iocom.lwito(2)) show_menu(kin);
    int status = 0;
    const int choice = frame::menu_choice(99);
    frame::take_choice(choice, {4, 5, 11, 21, 99, 100, 900, 1000, 1001});

    switch (choice) {
      case 900: format_help(reader_id, "DEK & NDK FORMATS AS DESCRIBED AT:"); break;
      case 4:
        frame::inlogicdef(st.lshowread, pad35("write data sorting to screen"), st.lshowread,
                          status);
        break;
      case 5:
        frame::inlogicdef(st.lshowsel, pad35("write extracted data to screen"), st.lshowsel,
                          status);
        break;
      case 100: setseistest6(2); break;
      default: break;
    }

    if (!slot_open(kin) && (choice == 11 || choice == 1000 || choice == 1001)) {
      const char* expl = choice == 1000   ? "cmt dek input"
                         : choice == 1001 ? "cmt ndk input"
                                          : "unknown data input";
      frame::opefin(kin, pad35(expl), 0);
    } else if (slot_open(kin) && (choice == 21 || choice == 99)) {
      frame::clofin(kin, 0);
    }

    if (choice == 99) return;
    if (choice == 1000 || choice == 1001) {
      if (read_run(kin, choice == 1000 ? 1 : 2)) return;
    }
  }
}

}  // namespace korbast::catalogue
