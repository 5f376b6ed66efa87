// The column assignment editor: which array column receives each variable and which file
// column it is read from, with the names of variables, array columns and file columns.
#pragma once

#include <span>
#include <string_view>

#include "columns/arrays.hpp"
#include "frame/mode.hpp"

namespace korbast::columns {

// Checks the caller's assignment of `nvar` variables (`jcola`, `jfcola`, `namvara`, room for
// `nvarmax`) against the capacities, reads the title and the column names of the file open
// on `iunit` (it need not be open), shows the assignment and lets the user change it as far
// as `ialter` allows (1 file columns, 2 also array columns, 3 also names, 4 also the number
// of variables, any other value nothing). `namrcol` receives the name of each of the `ncol`
// array columns and `ncolused` the highest array column used. Settings mode `inter`: 0/1
// start from the caller's assignment, 2/3 from the stored one, 4/5 from the defaults; even
// modes show the tables and the menu. The assignment is stored on return. `ierr` 1 when the
// title or the names of the open file could not be read, else 0.
void scol2var2(int& ierr, std::span<int> jcola, std::span<int> jfcola, TextArray namvara,
               int& nvar, int nvarmax, TextArray namrcol, int& ncolused, int ncol,
               std::string_view fname, int iunit, int ialter, frame::Mode inter);

}  // namespace korbast::columns
