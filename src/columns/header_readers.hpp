// The header lines of a column-data file: the title reader and the column-name reader.
//
// Every reader here starts at line 1 of the open file and rewinds it before returning, except
// when the title or column-name line number is 0: those branches leave the file untouched.
// Texts (file names, titles) are the caller's character buffers, blank-padded.
#pragma once

#include <span>
#include <string_view>

#include "columns/readrealsetup.hpp"
#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::columns {

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
