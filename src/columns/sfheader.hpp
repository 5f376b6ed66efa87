// The header lines of a column-data file: the header layout menu and the header display.
//
// Every reader here starts at line 1 of the open file and rewinds it before returning, except
// when the title or column-name line number is 0: those branches leave the file untouched.
// Texts (file names, titles) are the caller's character buffers, blank-padded.
#pragma once

#include <string_view>

#include "frame/mode.hpp"

namespace korbast::columns {

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

}  // namespace korbast::columns
