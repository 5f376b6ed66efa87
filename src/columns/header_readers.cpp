// The title and the column names of a column-data file, read in free format from their
// header lines.
#include "columns/header_readers.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "columns/lines.hpp"
#include "columns/readrealsetup.hpp"
#include "frame/dialog.hpp"
#include "frame/listread.hpp"
#include "frame/units.hpp"

namespace korbast::columns {

namespace {

using namespace detail;
namespace units = frame::units;

constexpr frame::Identity id_getftitle1{"getftitle1", " 1.3", "15-01-2008"};
constexpr frame::Identity id_getfnamcol{"getfnamcol", "1.00", "28-09-98  "};

void set_text(std::span<char> text, std::string_view value) {
  const std::size_t n = std::min(text.size(), value.size());
  std::copy_n(value.data(), n, text.data());
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
}

std::string_view view(std::span<const char> text) { return {text.data(), text.size()}; }

}  // namespace

void getftitle1(int& ierr, std::span<char> title, std::string_view fname, int iunit, int ititle,
                frame::Mode inter) {
  const auto& id = id_getftitle1;
  ierr = 0;
  set_text(title, "Untitled");
  if (ititle < 1) {
    frame::warninghead(id);
    say_name("Input file name  :", fname);
    say_int("Title line nb =", ititle, 3);
    say_item("==> NOT ATTEMPTING TO READ TITLE");
    say_name("Title set to default:", view(title));
    say_name("INPUT FILE", fname, "UNTOUCHED");
    frame::warningtail00();
    return;
  }
  bool failed = false;
  std::string line;
  for (int i = 1; i < ititle; ++i) {
    const units::Read r = units::read_line(iunit, line);
    if (r == units::Read::Error) {
      frame::errorhead(id);
      say_count("READING ERROR WHILE SKIPPING", i, "th LINE");
      ierr = 2;
      failed = true;
      break;
    }
    if (r == units::Read::Eof) break;  // the title read below meets the end too
  }
  if (!failed) {
    frame::ListReader reader(iunit);
    reader.a(title.data(), static_cast<int>(title.size()));
    if (reader.status() == frame::ListStatus::Error) {
      frame::errorhead(id);
      say_count("WHILE TRYING TO READ TITLE IN", ititle, "th LINE");
      ierr = 1;
      failed = true;
    }
  }
  const bool rewound = units::rewind(iunit);
  if (failed) {
    set_text(title, "Untitled");
    say_item("==> COULD NOT READ TITLE");
    say_name("IN INPUT FILE:", fname);
    say_name("==> SETTING title =", view(title));
    say_name("INPUT FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
    frame::errortail00();
    return;
  }
  if (inter.silent()) return;
  frame::submenuhead(id);
  say_name("Input file name:", fname);
  say_name("Read title from header:", view(title));
  say_name("INPUT FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
  frame::menutail();
}

void getfnamcol(int& ierr, frame::Text<kNameLength>* namfcol, int nmax, int nfcol,
                std::string_view fname, int iunit, int iheader, frame::Mode inter) {
  const auto& id = id_getfnamcol;
  ierr = 0;
  const int n = std::clamp(nfcol, 0, std::max(nmax, 0));
  for (int k = 1; k <= n; ++k) namfcol[k - 1] = numbered("File.col.", k);
  auto list = [&] {
    for (int k = 1; k <= n; ++k)
      frame::say(fmt::Line()
                     .item("Name of column")
                     .x()
                     .i(k, 3)
                     .item(tl(namfcol[k - 1].view()))
                     .str());
  };
  if (iheader < 1) {
    frame::warninghead(id);
    say_name("Input file name  :", fname);
    say_int("Column headers line nb =", iheader, 3);
    say_item("==> NOT ATTEMPTING TO READ HEADERS");
    say_item("==> Headers set to defaults:");
    if (inter == frame::Mode::kCallerMenu) list();
    frame::warningtail00();
    return;
  }
  bool failed = false;
  std::string line;
  for (int i = 1; i <= iheader && !failed; ++i) {
    if (i < iheader) {
      const units::Read r = units::read_line(iunit, line);
      if (r == units::Read::Error) {
        frame::errorhead(id);
        say_count("WHILE SKIPPING", i, "th LINE");
        ierr = 2;
        failed = true;
      }
      // At the end of the file the name line is not there: the names keep their defaults.
      continue;
    }
    frame::ListReader reader(iunit);
    for (int k = 1; k <= n && reader.ok(); ++k) reader.a(namfcol[k - 1].data(), kNameLength);
    if (reader.status() == frame::ListStatus::Error) {
      frame::errorhead(id);
      say_count("WHILE TRYING TO READ HEADERS IN", i, "th LINE");
      ierr = 1;
      failed = true;
    }
  }
  const bool rewound = units::rewind(iunit);
  if (failed) {
    say_name("IN FILE:", fname);
    say_name("INPUT FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
    frame::errortail00();
    return;
  }
  frame::submenuhead(id);
  if (inter == frame::Mode::kCallerMenu) {
    say_name("Input file name  :", fname);
    list();
  }
  say_name("INPUT FILE", fname, rewound ? "IS REWOUND" : "CANNOT BE REWOUND");
  frame::menutail();
}

}  // namespace korbast::columns
