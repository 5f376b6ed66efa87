// The column assignment editor: checks the assignment of variables to array and file
// columns, reads the title and the column names of the open file, shows the assignment in two
// tables and lets the user change it within the caller's alteration level.
#include "columns/scol2var.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "columns/header_readers.hpp"
#include "columns/lines.hpp"
#include "columns/readrealsetup.hpp"
#include "frame/dialog.hpp"
#include "frame/units.hpp"

namespace korbast::columns {

namespace {

using namespace detail;

constexpr frame::Identity id_scol2var{"scol2var", " 3.2", "15-01-2008"};
// The reset line of the number of variables held to the room of the caller's lists.
constexpr frame::ResetLine kNvarReset{"===> RESET nvar =", 3};

constexpr int kTitleLength = 50;

// The caller's assignment as the editor works on it.
struct Assignment {
  std::span<int> jcola, jfcola;
  TextArray namvara;
  int& nvar;
  int m;  // the most variables: min(nvarmax, 99) and the room of the caller's lists
};

// A file column name, or nothing outside 1..99.
std::string_view file_col_name(int k) {
  if (k < 1 || k > kMaxFileColumns) return {};
  return readrealsetup.namfcol[k - 1].view();
}

// One cell of the tables: "|", a number in 2 digits, "|", a name in 10 columns.
std::string cell(int k, std::string_view name) {
  return fmt::Line().a("|").i(k, 2).a("|").a(name, 10).str();
}

void show_status(const Assignment& a, std::string_view fname, std::string_view title, int ncol,
                 int ncolused, TextArray namrcol, int ialter, int ilist) {
  const auto& id = id_scol2var;
  frame::submenuhead(id);
  say_item("        PROGRAM            <-->  INPUT FILE");
  say_rule();
  say_item("VARIABLE <--> ARRAY COLUMN <--> FILE COLUMN");
  say_item("RECORD   <--> ARRAY LINE   <--> FILE LINE");
  say_item(" CAN ALTER THE COLUMN CORRESPONDANCE ONLY ");
  say_rule();
  say_item("    Input file status");
  say_name("Input file name:", fname);
  say_name("Title:", title);
  say_item("    Number of variable status");
  say_int("Could read up to     :", a.m, 3);
  say_int("Planning to read     :", a.nvar, 3);
  say_item("    Number of array columns status");
  say_int("Can use up to        :", ncol, 3);
  say_int("Planning to use up to:", ncolused, 3);
  say_item("    Number of input file columns status");
  say_int("Can read up to       :", kMaxFileColumns, 3);
  say_int("Planning to read     :", readrealsetup.nfcol, 3);
  say_item("    Listing type");
  say_int("ilist                :", ilist, 3);

  if (ilist == 1) {
    say_item("|-----------------------------------------|");
    say_item("|               ARRAY STATUS              |");
    say_item("|-----------------------------------------|");
    say_item("|  ARRAY col  |                           |");
    say_item("|-------------|---------------------------|");
    say_item("|nb|   name   |                           |");
    say_item("|--|----------|---------------------------|");
    for (int k = 1; k <= ncol; ++k) say_item(cell(k, namrcol.get(k)) + "|");
  }

  const bool can_alter = ialter >= 1 && ialter <= 4;
  say_item("|-----------------------------------------|");
  say_item("|          CORRESPONDANCE STATUS          |");
  say_item("|-----------------------------------------|");
  say_item("|   VARIABLE  |  ARRAY col  |  FILE col   |");
  say_item("|-------------|-------------|-------------|");
  say_item("|nb|   name   |nb|   name   |nb|   name   |");
  say_item("|--|----------|--|----------|--|----------|");
  const int n = std::min(a.nvar, a.m);
  for (int v = 1; v <= n; ++v) {
    const int jc = a.jcola[static_cast<std::size_t>(v - 1)];
    const int jf = a.jfcola[static_cast<std::size_t>(v - 1)];
    std::string row = cell(v, a.namvara.get(v)) + cell(jc, namrcol.get(jc)) +
                      cell(jf, file_col_name(jf)) + "|";
    if (can_alter) row += fmt::I(v, 2);
    say_item(row);
  }
  if (can_alter) {
    say_item("------------------------------------------- |");
    say_item("Command to modify correspondance <----------+");
  } else {
    say_rule();
  }
  if (ialter == 4) say_item("Change nb of variables to read...200");
  say_item("Change listing type .............300");
  say_item("SET UP IS OK, EXIT AND PROCEED ...99");
  frame::menutail();
}

// The default assignment of variable v.
void default_variable(const Assignment& a, int v, int ncol) {
  const auto k = static_cast<std::size_t>(v - 1);
  a.jfcola[k] = std::min(v, kMaxFileColumns);
  a.jcola[k] = std::min(v, ncol);
  a.namvara.set(v, numbered("Variable.", v));
}

void modify(const Assignment& a, int k, TextArray namrcol, int ncol, int ialter) {
  const auto i = static_cast<std::size_t>(k - 1);
  say_item("Modifying correspondance");
  say_name(" Variable name  =", a.namvara.get(k));
  say_int(" Array col nb   =", a.jcola[i], 3);
  say_name(" Array col name =", namrcol.get(a.jcola[i]));
  say_int(" File col nb    =", a.jfcola[i], 3);
  say_name(" File col name  =", file_col_name(a.jfcola[i]));
  int status = 0;
  if (ialter >= 3) {
    const std::string current(a.namvara.get(k));
    frame::inchardef(a.namvara.chars(k), "New variable name", current, status);
  }
  if (ialter >= 2)
    frame::inintegvindef(a.jcola[i], "New array column nb", a.jcola[i], 1, ncol, status);
  frame::inintegvindef(a.jfcola[i], "New file column nb", a.jfcola[i], 1, kMaxFileColumns, status);
}

// The caller's number of variables held to the room of its lists.
void check_caller_count(const Assignment& a) {
  if (a.nvar <= a.m) return;
  frame::reset_in_frame(id_scol2var, a.nvar, a.m, kNvarReset,
                        {count_text("Trying to set nvar =", a.nvar, "variables"),
                         int_line("Max nb of variables =", a.m, 3)});
}

// The stored assignment into the caller's lists, its number held to their room.
void take_stored(const Assignment& a) {
  auto& s = readrealsetup;
  if (s.nvar > a.m) {
    frame::reset_in_frame(id_scol2var, s.nvar, a.m, kNvarReset,
                          {count_text("Currently set nvar =", s.nvar, "variables"),
                           int_line("Max nb of variables =", a.m, 3)},
                          {}, frame::FrameKind::kError);
  }
  a.nvar = std::max(s.nvar, 0);
  for (int v = 1; v <= a.nvar; ++v) {
    const auto k = static_cast<std::size_t>(v - 1);
    a.jcola[k] = s.jcol[k];
    a.jfcola[k] = s.jfcol[k];
    a.namvara.set(v, s.namvar[k].view());
  }
}

// The default assignment, in the caller's lists (`count` variables) and stored, no variable
// to read, and the default array column names.
void take_defaults(const Assignment& a, int count, TextArray namrcol, int& ncolused, int ncol) {
  auto& s = readrealsetup;
  frame::submenuhead(id_scol2var);
  say_item("INITIALIZING VARIABLES<->COLUMNS");
  a.nvar = 0;
  for (int v = 1; v <= count; ++v) default_variable(a, v, ncol);
  s.nvar = 0;
  for (int v = 1; v <= kMaxVariables; ++v) {
    s.jfcol[v - 1] = v;
    s.jcol[v - 1] = std::min(v, ncol);
    s.namvar[v - 1] = numbered("Variable.", v);
  }
  ncolused = 0;
  for (int k = 1; k <= ncol; ++k) namrcol.set(k, numbered("Nodata.", k));
}

// The title of the open file, or "Untitled" (with a word why) when it is not open. False when
// the open file's title could not be read.
bool read_title(frame::Text<kTitleLength>& title, std::string_view fname, int iunit, bool open,
                frame::Mode inter) {
  if (open) {
    int status = 0;
    getftitle1(status, std::span<char>(title.data(), kTitleLength), fname, iunit, readrealsetup.ititle, 1);
    return status == 0;
  }
  title = "Untitled";
  if (inter == frame::Mode::kDefaultMenu) {
    frame::submenuhead(id_scol2var);
    say_item("Input file not yet open");
    say_name("===> initializing title =", title.view());
  } else {
    frame::warninghead(id_scol2var);
    say_item("Input file is not opened");
    say_item("===> cannot read title");
    say_name("setting title =", title.view());
    frame::warningtail00();
  }
  return true;
}

// The file column of each of the first n variables within 1..99 (one outside is reported and
// becomes 1), and the number of file columns to read.
void check_file_columns(const Assignment& a, int n) {
  auto& s = readrealsetup;
  s.nfcol = 0;
  for (int v = 1; v <= n; ++v) {
    int& jf = a.jfcola[static_cast<std::size_t>(v - 1)];
    if (jf > kMaxFileColumns || jf < 1) {
      frame::reset_in_frame(id_scol2var, jf, 1, {"====> RESET file col nb =", 3},
                            {int_line("            variable nb =", v, 3),
                             int_line("    file col nb to read =", jf, 3),
                             int_line("max file col nb to read =", kMaxFileColumns, 3)});
    }
    s.nfcol = std::max(s.nfcol, jf);
  }
}

// The array column of each of the first n variables within 1..ncol (one outside is reported
// and becomes the nearer end), and the highest array column used.
void check_array_columns(const Assignment& a, int n, int ncol, int& ncolused) {
  ncolused = 0;
  for (int v = 1; v <= n; ++v) {
    int& jc = a.jcola[static_cast<std::size_t>(v - 1)];
    if (jc > ncol || jc < 1) {
      frame::warninghead(id_scol2var);
      say_int("               variable nb =", v, 3);
      say_int("    array col nb to store  =", jc, 3);
      say_int("max array col nb available =", ncol, 3);
      jc = jc < 1 ? 1 : ncol;
      frame::warningtail00();
    }
    ncolused = std::max(ncolused, jc);
  }
}

// The names of the file columns to read, from the header of the open file; numbered ones when
// it is not open or its header cannot be read. False when the open file's header could not
// be read.
bool read_file_col_names(std::string_view fname, int iunit, bool open, frame::Mode inter) {
  auto& s = readrealsetup;
  bool names_read = false;
  bool ok = true;
  if (open) {
    int status = 0;
    getfnamcol(status, s.namfcol, kMaxFileColumns, s.nfcol, fname, iunit, s.iheader, 0);
    if (status != 0) {
      frame::errorhead(id_scol2var);
      say_item("COULD NOT READ COLUMN HEADERS");
      say_name("IN FILE:", fname);
      say_item("===> setting default header");
      ok = false;
      frame::errortail00();
    } else {
      names_read = true;
    }
  } else if (inter.from_default()) {
    frame::submenuhead(id_scol2var);
    say_item("Input file not yet open");
    say_item("===> initializing header");
  } else {
    frame::warninghead(id_scol2var);
    say_item("Input file is not opened");
    say_item("===> cannot read header");
    say_item("===> setting default header");
    frame::warningtail00();
  }
  if (!names_read)
    for (int k = 1; k <= s.nfcol; ++k) s.namfcol[k - 1] = numbered("File.col.", k);
  return ok;
}

// Array column names: the name of the file column each receives, "Nodata." and its number
// for the others.
void name_array_columns(const Assignment& a, int n, TextArray namrcol, int ncol) {
  for (int k = 1; k <= ncol; ++k) namrcol.set(k, numbered("Nodata.", k));
  for (int v = 1; v <= n; ++v) {
    const int jc = a.jcola[static_cast<std::size_t>(v - 1)];
    namrcol.set(jc, file_col_name(a.jfcola[static_cast<std::size_t>(v - 1)]));
  }
}

// The assignment stored, its number held to 0..m.
void store_assignment(const Assignment& a) {
  auto& s = readrealsetup;
  const int n = std::clamp(a.nvar, 0, a.m);
  s.nvar = n;
  for (int v = 1; v <= n; ++v) {
    const auto k = static_cast<std::size_t>(v - 1);
    s.jcol[k] = a.jcola[k];
    s.jfcol[k] = a.jfcola[k];
    s.namvar[k] = a.namvara.get(v);
  }
}

}  // namespace

void scol2var2(int& ierr, std::span<int> jcola, std::span<int> jfcola, TextArray namvara,
               int& nvar, int nvarmax, TextArray namrcol, int& ncolused, int ncol,
               std::string_view fname, int iunit, int ialter, frame::Mode inter) {
  ierr = 0;
  int ilist = 0;
  // The caller's lists may hold fewer entries than it says: never go beyond them.
  const int room = static_cast<int>(std::min({jcola.size(), jfcola.size(), namvara.count(),
                                              static_cast<std::size_t>(kMaxVariables)}));
  const int m = std::clamp(nvarmax, 0, room);
  Assignment a{jcola, jfcola, namvara, nvar, m};

  if (inter.from_caller()) {
    check_caller_count(a);
  } else if (inter.from_stored()) {
    take_stored(a);
  } else if (inter.from_default()) {
    take_defaults(a, std::min(nvarmax, room), namrcol, ncolused, ncol);
  } else {
    int status = 0;
    frame::cinvin(inter.code(), 0, 5, "scol2var", "inter", status);
    // Going on with the caller's assignment: it must fit the lists all the same.
    check_caller_count(a);
  }

  const bool open = frame::units::is_open(iunit);
  frame::Text<kTitleLength> title;
  if (inter.menu() && !read_title(title, fname, iunit, open, inter)) ierr = 1;

  for (;;) {
    const int n = std::min(nvar, m);
    check_file_columns(a, n);
    check_array_columns(a, n, ncol, ncolused);
    if (!read_file_col_names(fname, iunit, open, inter)) ierr = 1;
    name_array_columns(a, n, namrcol, ncol);
    if (inter.silent()) break;

    show_status(a, fname, title.view(), ncol, ncolused, namrcol, ialter, ilist);
    int status = 0;
    const int choice = frame::menu_choice();
    if (choice == 99 || choice == 300 || (choice == 200 && ialter == 4) ||
        (choice >= 1 && choice <= n && ialter >= 1 && ialter <= 4))
      frame::choice_taken();
    // Leaving is tested first: with 99 variables the answer 99 must still end the set-up.
    if (choice == 99) break;
    if (choice == 200 && ialter == 4) {
      const int old = nvar;
      frame::inintegvindef(nvar, "total nb of variables to store", nvar, 0, m, status);
      for (int v = std::max(old, 0) + 1; v <= nvar; ++v) default_variable(a, v, ncol);
    } else if (choice >= 1 && choice <= n && ialter >= 1 && ialter <= 4) {
      modify(a, choice, namrcol, ncol, ialter);
    } else if (choice == 300) {
      frame::inintegvindef(ilist, "Show array status ? (0/1)", ilist, 0, 1, status);
    }
  }
  store_assignment(a);
}

}  // namespace korbast::columns
