// Reading the data records of a column-data file (the layout and assignment of
// columns/readrealsetup.hpp; the file format as columns/readreal.hpp describes it).
#pragma once

#include <string_view>

#include "columns/arrays.hpp"
#include "frame/mode.hpp"

namespace korbast::columns {

// Reads the data records of the file open on `iunit` with the layout and assignment stored
// in `readrealsetup`: at most `ldim` records into `rdat`. `ierr` 0 done, 2 an array column
// had to be lowered to `ncol` (data read), 1 failed. Closes the file after a read, rewinds
// it after a failure. Even `inter` prints the full summary.
void getfreal(int& ierr, int& nrow, int& ncolused, const RealArray& rdat, int ldim, int ncol,
              std::string_view fname, int iunit, frame::Mode inter);

}  // namespace korbast::columns
