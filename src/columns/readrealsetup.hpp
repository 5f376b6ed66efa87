// The stored state of the column-data reader (`readrealsetup`) and the routines that deal
// with the header lines of a column-data file: the header layout menu, the header display,
// the title reader and the column-name reader.
//
// Every reader here starts at line 1 of the open file and rewinds it before returning, except
// when the title or column-name line number is 0: those branches leave the file untouched.
// Texts (file names, titles) are the caller's character buffers, blank-padded.
#pragma once

#include <span>
#include <string_view>

#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::columns {

constexpr int kMaxVariables = 99;    // variables of one assignment
constexpr int kMaxFileColumns = 99;  // values of one data record
constexpr int kNameLength = 11;      // stored variable and file-column names

struct Readrealsetup {
  int ndisp = 0;    // lines shown by the header display
  int iskip = 0;    // header lines (never data)
  int ititle = 0;   // line of the title, 0 none
  int iheader = 0;  // line of the column names, 0 none
  int jcol[kMaxVariables] = {};    // array column of each variable
  int jfcol[kMaxVariables] = {};   // file column of each variable
  int nvar = 0;                    // number of variables
  int nfcol = 0;                   // values read from each record (highest file column)
  float rr[kMaxFileColumns] = {};  // the values of the current record
  frame::Text<kNameLength> namvar[kMaxVariables];    // variable names
  frame::Text<kNameLength> namfcol[kMaxFileColumns]; // file-column names

  Readrealsetup() {
    for (auto& t : namvar) t = frame::Text<kNameLength>::zeros();
    for (auto& t : namfcol) t = frame::Text<kNameLength>::zeros();
  }
};
extern Readrealsetup readrealsetup;

// The header layout set-up: settings mode 0/1 start from the caller's four values, 2/3 from
// the stored ones, 4/5 from the defaults (3 lines shown, 2 header lines, title on line 1,
// names on line 2); even modes show the display of the open file and the menu. A title or
// name line beyond the header lines is reset to 0 on entry. `ierr` is the status of the last
// display, unchanged when none was made. The four values are stored on return.
void sfheader1(int& ierr, int& ndisp, int& iskip, int& ititle, int& iheader,
               std::string_view fname, int iunit, frame::Mode inter);

// Shows the first `ndisp` lines of the open file with their roles. `ierr` 1 when a line
// could not be read; the end of the file is reported in a warning and is no failure.
void showfhead1(int& ierr, std::string_view fname, int iunit, int ndisp, int iskip, int ititle,
                int iheader);

// Reads the title (the first free-format text value of line `ititle`) into `title`, which
// is "Untitled" when there is none. Even `inter` shows what was read. `ierr` 0, 1 when the
// title could not be read, 2 when a line before it could not be read.
void getftitle1(int& ierr, std::span<char> title, std::string_view fname, int iunit, int ititle,
                frame::Mode inter);

// Reads `nfcol` column names (free-format text values from line `iheader` on) into
// `namfcol`; names not found keep the defaults "File.col." and the column number. `inter`
// 0 lists the names. `ierr` 0, 1 when the names could not be read, 2 when a line before them
// could not be read.
void getfnamcol(int& ierr, frame::Text<kNameLength>* namfcol, int nmax, int nfcol,
                std::string_view fname, int iunit, int iheader, frame::Mode inter);

}  // namespace korbast::columns
