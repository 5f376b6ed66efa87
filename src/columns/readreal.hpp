// Reading columns of reals from a column-data file into the caller's array.
//
// A column-data file is plain text: the first `iskip` lines are header lines (one of them may
// hold the title, one the column names, as quoted texts), then one record per row, each a
// list of reals in free format (blanks, tabs or commas between values; a record may go on
// over the next lines; values after the last wanted one are ignored). Each variable is read
// from a file column (1 to 99) into an array column of the caller's array.
//
// Use: the caller passes its layout (lines shown in the header display, header lines, title
// line, column-name line) and its assignment (for each variable the array column, the file
// column and the name), and gets back the data, the number of rows read and whether data
// were read at all:
//
//   int inotread = 0, nrow = 0, ncolused = 0;
//   readreal6(inotread, title, fname, "long-lat data input", 12, ndisp, iskip, ititle,
//             iheader, jcola, jfcola, names, nvar, 2, RealArray({xp, yp}, 1000), colnames,
//             nrow, ncolused, 1000, 2, 1, 0);
//   if (inotread == 0) { ... rows 1..nrow of the array hold the data ... }
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "columns/arrays.hpp"
#include "frame/filetable.hpp"
#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::columns {

// Opens a column-data file on `iunit` (settings mode `inter` even: the opening dialog, with
// `fwhole` as the default and the chosen name returned in it; odd: `fwhole` as given, the run
// stops when it cannot be opened; `fname` holds the name as the messages show it, cut to its
// length), runs the header layout set-up and the column assignment editor (alteration level
// `ialter`), offers the choice between reading and leaving, and reads the records into rows
// 1..`nrow` of `rdat` (row capacity `ldim`, `ncol` columns). Any failure offers to try the
// same file again, to open another one or to leave. `inotread` is 0 when data were read, 1
// when the user left without reading. Modes 4 and 5 only initialise the layout and the
// assignment and open no file. The file is closed on return; the layout and assignment
// arguments come back as the user left them.
void readreal6(int& inotread, std::span<char> title, std::span<char> fname,
               std::string& fwhole, std::string_view fexpl, int iunit, int& ndisp, int& iskip,
               int& ititle, int& iheader, std::span<int> jcola, std::span<int> jfcola,
               TextArray namvara, int& nvar, int nvarmax, const RealArray& rdat,
               TextArray namrcol, int& nrow, int& ncolused, int ldim, int ncol, int ialter,
               frame::Mode inter);

// For callers that keep the title as a fixed text and the file name as a FileName.
template <std::size_t T, std::size_t F>
void readreal6(int& inotread, frame::Text<T>& title, frame::FileName<F>& fname,
               std::string_view fexpl, int iunit, int& ndisp, int& iskip, int& ititle,
               int& iheader, std::span<int> jcola, std::span<int> jfcola, TextArray namvara,
               int& nvar, int nvarmax, const RealArray& rdat, TextArray namrcol, int& nrow,
               int& ncolused, int ldim, int ncol, int ialter, frame::Mode inter) {
  readreal6(inotread, std::span<char>(title.data(), T), std::span<char>(fname.shown.data(), F),
            fname.whole, fexpl, iunit, ndisp, iskip, ititle, iheader, jcola, jfcola, namvara,
            nvar, nvarmax, rdat, namrcol, nrow, ncolused, ldim, ncol, ialter, inter);
}

}  // namespace korbast::columns
