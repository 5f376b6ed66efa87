// The data records of a column-data file, read in free format into the caller's array with
// the layout and assignment stored in readrealsetup.
#include "columns/getfreal.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "columns/header_readers.hpp"
#include "columns/lines.hpp"
#include "columns/readreal.hpp"
#include "columns/readrealsetup.hpp"
#include "frame/dialog.hpp"
#include "frame/listread.hpp"
#include "frame/units.hpp"

namespace korbast::columns {

namespace {

using namespace detail;
namespace units = frame::units;

constexpr frame::Identity id_getfreal{"getfreal", " 5.2", "15-01-2008"};

enum class Record { Read, End, Incomplete, Error };

// One record of `nfcol` values into rr. With no value wanted a record is one line.
Record read_record(int iunit, int nfcol) {
  auto& rr = readrealsetup.rr;
  if (nfcol <= 0) {
    std::string line;
    switch (units::read_line(iunit, line)) {
      case units::Read::Ok: return Record::Read;
      case units::Read::Eof: return Record::End;
      case units::Read::Error: return Record::Error;
    }
  }
  frame::ListReader reader(iunit);
  int k = 0;
  for (; k < nfcol && reader.ok(); ++k) reader.f(rr[k]);
  switch (reader.status()) {
    case frame::ListStatus::Ok: return Record::Read;
    case frame::ListStatus::Error: return Record::Error;
    case frame::ListStatus::Eof: break;
  }
  // The end of the file met at the first value is the end of the data; later, it cut a
  // record short.
  return k <= 1 ? Record::End : Record::Incomplete;
}

}  // namespace

void getfreal(int& ierr, int& nrow, int& ncolused, const RealArray& rdat, int ldim, int ncol,
              std::string_view fname, int iunit, frame::Mode inter) {
  const auto& id = id_getfreal;
  auto& s = readrealsetup;
  ierr = 0;
  ncolused = 0;
  // A null or "/" in the first record keeps a value of this file only, never one of an
  // earlier file.
  std::fill(std::begin(s.rr), std::end(s.rr), 0.0f);

  const int nvar = std::clamp(s.nvar, 0, kMaxVariables);
  const int nfcol = std::clamp(s.nfcol, 0, kMaxFileColumns);
  for (int v = 1; v <= nvar; ++v) {
    int& jc = s.jcol[v - 1];
    if (jc > ncol || jc < 1) {
      frame::reset_in_frame(id, jc, jc < 1 ? 1 : ncol, {"==> RESET array col nb =", 3},
                            {int_line("         variable nb   =", v, 3),
                             int_line("array col nb to fill   =", jc, 3),
                             int_line("max array col nb       =", ncol, 3)},
                            {item("==> NEED TO GO BACK TO SETTINGS"),
                             item("==> AND READ THE FILE AGAIN")},
                            frame::FrameKind::kError);
      ierr = 2;
    }
    ncolused = std::max(ncolused, jc);
  }

  frame::Text<50> title;
  int status = 0;
  getftitle1(status, std::span<char>(title.data(), 50), fname, iunit, s.ititle, 0);

  auto failure = [&] {
    say_name("IN FILE:", fname);
    ierr = 1;
    const bool rewound = units::rewind(iunit);
    say_name("input file", fname, rewound ? "rewound" : "cannot be rewound");
    frame::errortail00();
  };

  std::string line;
  for (int i = 1; i <= s.iskip; ++i) {
    const units::Read r = units::read_line(iunit, line);
    if (r == units::Read::Error) {
      frame::errorhead(id);
      say_count("WHILE READING", i, "th HEADER LINE");
      failure();
      return;
    }
    if (r == units::Read::Eof) break;
  }

  int i = 1;
  bool ended = false;
  for (; i <= ldim; ++i) {
    const Record r = read_record(iunit, nfcol);
    if (r == Record::Error) {
      frame::errorhead(id);
      say_count("WHILE READING", i, "th DATA LINE");
      failure();
      return;
    }
    if (r == Record::Incomplete) {
      frame::warninghead(id);
      say_count("END OF FILE INSIDE", i, "th DATA LINE");
      say_item("==> LAST RECORD INCOMPLETE, NOT STORED");
      frame::warningtail00();
    }
    if (r != Record::Read) {
      ended = true;
      break;
    }
    for (int v = 1; v <= nvar; ++v) {
      const int jf = s.jfcol[v - 1];
      float* target = rdat.at(i, s.jcol[v - 1]);
      if (target != nullptr && jf >= 1 && jf <= kMaxFileColumns) *target = s.rr[jf - 1];
    }
  }
  if (!ended) {
    frame::warninghead(id);
    say_item("The array size has been reached");
    say_item("==> the data may not have been fully read");
    frame::warningtail00();
    i = std::max(ldim, 0) + 1;
  }

  nrow = std::max(i - 1, 0);
  units::close(iunit);
  frame::submenuhead(id);
  if (inter.menu()) {
    say_name("Input file name:", fname);
    say_name("Title:", title.view());
    say_item("    Number of variable status");
    say_int("Could read up to:", kMaxVariables, 3);
    say_int("Actually read   :", s.nvar, 3);
    say_item("        Array status             ");
    say_count("Could read up to:", ldim, "lines", 5);
    say_count("Actually read   :", nrow, "lines", 5);
    say_count("Can use up to   :", ncol, "columns");
    say_count("Actually used   :", ncolused, "columns");
  } else {
    frame::say(fmt::Line()
                   .item("Stored")
                   .x()
                   .i(s.nvar, 3)
                   .item("variables and")
                   .x()
                   .i(nrow, 3)
                   .item("lines")
                   .str());
  }
  say_name("input file", fname, "closed");
  frame::menutail();
}

}  // namespace korbast::columns
