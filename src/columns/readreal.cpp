// The column-data reader: opening dialog, header layout, title, column assignment, the read
// menu, the read itself, and the retry menu after any failure.
#include "columns/readreal.hpp"

#include <string>
#include <string_view>

#include "columns/getfreal.hpp"
#include "columns/header_readers.hpp"
#include "columns/lines.hpp"
#include "columns/readrealsetup.hpp"
#include "columns/scol2var.hpp"
#include "columns/sfheader.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/units.hpp"

namespace korbast::columns {

namespace {

using namespace detail;
namespace units = frame::units;

constexpr frame::Identity id_readreal6{"readreal6", " 3.2", "15-01-2008"};

std::string_view view(std::span<const char> text) { return {text.data(), text.size()}; }

}  // namespace

void readreal6(int& inotread, std::span<char> title, std::span<char> fname,
               std::string& fwhole, std::string_view fexpl, int iunit, int& ndisp, int& iskip,
               int& ititle, int& iheader, std::span<int> jcola, std::span<int> jfcola,
               TextArray namvara, int& nvar, int nvarmax, const RealArray& rdat,
               TextArray namrcol, int& nrow, int& ncolused, int ldim, int ncol, int ialter,
               frame::Mode inter) {
  const auto& id = id_readreal6;
  inotread = 0;
  int ierr = 0;
  if (inter.from_default()) {
    frame::submenuhead(id);
    say_item("INITIALIZING INPUT FILE TYPE");
    sfheader1(ierr, ndisp, iskip, ititle, iheader, view(fname), iunit, inter);
    scol2var2(ierr, jcola, jfcola, namvara, nvar, nvarmax, namrcol, ncolused, ncol, view(fname),
              iunit, 1, inter);
    return;
  }
  {
    int status = 0;
    frame::cinvin(inter.code(), 0, 5, "readreal6", "inter", status);
  }
  const frame::Mode open_mode = inter.silent() ? frame::Mode::kCaller : frame::Mode::kCallerMenu;

  // The default is the whole name last given; the messages show the caller's text of it.
  auto open_file = [&] { frame::opef2(fwhole, fname, fexpl, iunit, "old", open_mode); };

  open_file();
  for (;;) {
    // One pass of the set-up and the read on the open file; `message` names a failure.
    std::string_view message;
    bool failed = false;
    sfheader1(ierr, ndisp, iskip, ititle, iheader, view(fname), iunit, inter);
    if (ierr == 1) {
      message = "WHILE READING HEADER LINES";
      failed = true;
    }
    if (!failed) {
      getftitle1(ierr, title, view(fname), iunit, readrealsetup.ititle, 0);
      if (ierr == 1) {
        message = "WHILE READING TITLE";
        failed = true;
      }
    }
    if (!failed) {
      scol2var2(ierr, jcola, jfcola, namvara, nvar, nvarmax, namrcol, ncolused, ncol,
                view(fname), iunit, ialter, inter);
      if (ierr == 1) {
        message = "WHILE READING COLUMN HEADERS";
        failed = true;
      }
    }
    if (!failed) {
      int choice = 1000;
      if (inter.menu()) {
        frame::submenuhead(id);
        say_item("READ AND EXIT ..................1000");
        say_item("EXIT WITHOUT READING .............99");
        frame::menutail();
        choice = frame::menu_choice(1000);
        frame::take_choice(choice, {99, 1000});  // any other: the retry menu
      }
      if (choice == 1000) {
        getfreal(ierr, nrow, ncolused, rdat, ldim, ncol, view(fname), iunit, inter);
        if (ierr != 1) return;
        message = "WHILE READING DATA";
        failed = true;
      } else if (choice == 99) {
        units::close(iunit);
        frame::submenuhead(id);
        say_item("EXITING WITHOUT READING DATA FILE");
        say_name("input file", view(fname), "closed");
        frame::menutail();
        inotread = 1;
        return;
      }
      // Any other answer: the retry menu, without an error report.
    }

    if (failed) {
      frame::errorhead(id);
      say_item(message);
    }
    say_name("IN FILE:", view(fname));
    frame::say_rule('-', 30);
    say_item("Try again on same file ......1");
    say_item("New file ....................0");
    say_item("Exit .......................99");
    frame::errortail00();
    int choice = 0, status = 0;
    frame::inintegdef(choice, "your choice", 0, status);
    ierr = 0;
    if (choice == 1) {
      const bool rewound = units::rewind(iunit);
      say_name("input file", view(fname), rewound ? "rewound" : "cannot be rewound");
      continue;
    }
    units::close(iunit);
    say_name("input file", view(fname), "closed");
    if (choice == 0) {
      open_file();
      continue;
    }
    inotread = 1;
    return;
  }
}

}  // namespace korbast::columns
