// The header layout of a column-data file: its menu with the help text, and the display of
// the first lines of the file with their roles.
#include "columns/sfheader.hpp"

#include <string>
#include <string_view>

#include "columns/lines.hpp"
#include "columns/readrealsetup.hpp"
#include "frame/dialog.hpp"
#include "frame/units.hpp"

namespace korbast::columns {

Readrealsetup readrealsetup;

namespace {

using namespace detail;

constexpr frame::Identity id_sfheader1{"sfheader1", "2.00", "29-09-98  "};
constexpr frame::Identity id_showfhead1{"showfhead1", "3.00", "29-09-98  "};

// The most header lines the menu accepts: a negative count would leave the title and name
// line questions without an answer.
constexpr int kMaxHeaderLines = 9999;

// The longest part of a line the display reads, and the width of one displayed piece.
constexpr std::size_t kDisplayLength = 400;
constexpr std::size_t kDisplayPiece = 100;

void help_text() {
  const auto& id = id_sfheader1;
  frame::submenuhead(id);
  say_item("          ACCEPTABLE FILE FORMAT           ");
  say_rule();
  say_item("Default file header");
  frame::say(fmt::Line().item("line nb").item("content").str());
  say_rule();
  frame::say(fmt::Line().item("1").item("  'Title of the data set'").str());
  frame::say(fmt::Line().item("2").item("  'header1'   'header2'   'header3'").str());
  frame::say(fmt::Line().item("3").item("      65.3           5         6.3").str());
  say_rule();
  say_item("line nb for title  = 0 => do not read title");
  say_item("line nb for header = 0 => do not read header");
  say_rule();
  say_item("numerical data are read in");
  say_item("  FORTRAN free format");
  say_item("  => they can be separated by tabs or spaces");
  say_item(" ");
  say_item("character strings are read in");
  say_item("  FORTRAN free format");
  say_item("  => they must be enclosed within quotes");
  say_item("     as above. If not, do not read them.");
  frame::menutail();
}

void menu(int ndisp, int iskip, int ititle, int iheader) {
  const auto& id = id_sfheader1;
  frame::submenuhead(id);
  say_item("            FILE HEADER SET UP             ");
  say_rule();
  say_int("nb of lines to display in dialog.100", ndisp, 3);
  say_int("nb of header lines without data .110", iskip, 3);
  say_int("line nb to read title ...........120", ititle, 3);
  say_int("line nb to read column header....130", iheader, 3);
  say_item("HELP ............................900");
  say_item("SET UP IS OK, EXIT AND PROCEED ...99");
  frame::menutail();
}

// A title or name line beyond the header lines is reset to 0.
void check_line(int& line, std::string_view name, int iskip) {
  if (line <= iskip) return;
  const std::string reset_label = "===> RESET " + std::string(name) + " =";
  frame::reset_in_frame(id_sfheader1, line, 0, {reset_label, 3},
                        {fmt::Line()
                             .item(std::string(name) + " =")
                             .x()
                             .i(line, 3)
                             .item("> iskip =")
                             .x()
                             .i(iskip, 3)
                             .str()});
}

}  // namespace

void sfheader1(int& ierr, int& ndisp, int& iskip, int& ititle, int& iheader,
               std::string_view fname, int iunit, frame::Mode inter) {
  const auto& id = id_sfheader1;
  if (inter.from_stored()) {
    ndisp = readrealsetup.ndisp;
    iskip = readrealsetup.iskip;
    ititle = readrealsetup.ititle;
    iheader = readrealsetup.iheader;
  } else if (inter.from_default()) {
    frame::submenuhead(id);
    say_item("INITIALIZING INPUT FILE HEADER");
    ndisp = 3;
    iskip = 2;
    ititle = 1;
    iheader = 2;
  } else if (!inter.from_caller()) {
    int status = 0;
    frame::cinvin(inter.code(), 0, 5, "sfheader1", "inter", status);
  }
  check_line(ititle, "ititle", iskip);
  check_line(iheader, "iheader", iskip);

  if (inter.menu()) {
    for (;;) {
      if (frame::units::is_open(iunit)) {
        showfhead1(ierr, fname, iunit, ndisp, iskip, ititle, iheader);
      } else {
        frame::warninghead(id);
        say_name("Input file", fname, "is not opened");
        say_item("======> cannot display header");
        frame::warningtail00();
      }
      menu(ndisp, iskip, ititle, iheader);
      int status = 0;
      const int choice = frame::menu_choice();
      frame::take_choice(choice, {99, 100, 110, 120, 130, 900});
      if (choice == 99) break;
      switch (choice) {
        case 100:
          frame::inintegdef(ndisp, "Number of header lines to display", ndisp, status);
          break;
        case 110:
          frame::inintegvindef(iskip, "Number of dataless lines to skip", iskip, 0,
                               kMaxHeaderLines, status);
          break;
        case 120:
          frame::inintegvindef(ititle, "line number to read title from", ititle, 0, iskip,
                               status);
          break;
        case 130:
          frame::inintegvindef(iheader, "line number to read column headers from", iheader, 0,
                               iskip, status);
          break;
        case 900:
          help_text();
          break;
        default:
          break;
      }
    }
  }
  readrealsetup.ndisp = ndisp;
  readrealsetup.iskip = iskip;
  readrealsetup.ititle = ititle;
  readrealsetup.iheader = iheader;
}

void showfhead1(int& ierr, std::string_view fname, int iunit, int ndisp, int iskip, int ititle,
                int iheader) {
  const auto& id = id_showfhead1;
  namespace units = frame::units;
  ierr = 0;
  frame::submenuhead(id);
  say_item("         DISPLAYING FILE HEADER            ");
  say_name("OF FILE:", fname);
  say_rule();
  auto role = [](int i, std::string_view what) { say_count("==>Line nb:", i, what); };
  for (int i = 1; i <= ndisp; ++i) {
    if (i <= iskip) {
      if (i == ititle) role(i, "= Header: Title ===========");
      if (i == iheader) role(i, "= Header: Column names ====");
      if (i != ititle && i != iheader) role(i, "= Header to skip ==========");
    } else {
      role(i, "= Data ====================");
    }
    std::string line;
    const units::Read r = units::read_line(iunit, line);
    if (r == units::Read::Error) {
      frame::errorhead(id);
      say_count("WHILE READING", i, "th LINE");
      say_name("IN FILE:", fname);
      const bool rewound = units::rewind(iunit);
      say_name("==> FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
      ierr = 1;
      frame::errortail00();
      return;
    }
    if (r == units::Read::Eof) {
      // A short file is no failure: the set-up goes on, and so does the read.
      frame::warninghead(id);
      say_item("REACHED END OF FILE");
      say_name("IN FILE:", fname);
      say_count("WHILE READING", i, "th LINE");
      const bool rewound = units::rewind(iunit);
      say_name("==> FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
      frame::warningtail00();
      return;
    }
    line.resize(kDisplayLength, ' ');
    int first = 0, last = 0;
    frame::textlen(first, last, line);
    const std::string_view shown(line.data(), static_cast<std::size_t>(last));
    for (std::size_t p = 0; p < shown.size(); p += kDisplayPiece) say_item(shown.substr(p, kDisplayPiece));
  }
  say_rule('=');
  const bool rewound = units::rewind(iunit);
  say_name("==> FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
  frame::menutail();
}

}  // namespace korbast::columns
