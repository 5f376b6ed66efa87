// Shared set-up of the catalogue tests: the frame state the reader needs (I/O settings,
// angle constants, file table), the reader initialised (empty store, default criteria), and
// scratch files.
#pragma once

#include "support/expected_lines.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/reset.hpp"
#include "catalogue/seistest.hpp"
#include "frame/angles.hpp"
#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/reset.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/tempfile.hpp"

namespace cattest {

namespace fs = std::filesystem;
using namespace korbast;

inline std::string data_path(const std::string& name) {
  return std::string(KORBAST_TEST_DATA) + "/catalogue/" + name;
}

using korbast::testing::read_file;

using korbast::testing::expected::split_lines;

// The store every catalogue routine reads and writes, by the short name the tests use.
inline catalogue::Gcmtblk& g = catalogue::gcmtblk;

// The dash rule that frames the catalogue's menus and tables.
inline const std::string r43 = ex::rule('-') + "\n";

// A file name as the dialog shows it: padded with blanks to 40 characters.
inline std::string name40(const std::string& s) {
  std::string t = s;
  t.resize(40, ' ');
  return t;
}

// Two dek events of hand-made records, LF line ends.
inline const std::string dek_text =
    "B010177A  1/ 1/77  9:55:28.4  -6.05  147.94  59.05.36.0EASTERN NEW GUINEA REG. \n"
    "PDE BW:12 23  45 MW: 9 14 135 DT=   2.3 0.4  -6.13 0.05  147.99 0.04  68.1  2.3\n"
    " TRI 3.5 FR 25  1.23 0.08 -0.45 0.07 -0.78 0.09  0.12 0.11  0.33 0.06 -1.01 0.05\n"
    "   1.71 15 348   0.05 72 203  -1.76  9  81   1.74 260 32  110  61 60   78\n"
    "M123177B 12/31/77 23: 5: 1.0  41.80  -12.50  10.04.90.0NORTH ATLANTIC OCEAN    \n"
    "USG BW: 0  0   0 MW:33 61 135 DT=  -1.5 0.2  41.91 0.02  -12.33 0.03  15.0  0.0\n"
    " BOX 2.0 FX 24 -3.10 0.10  1.05 0.09  2.05 0.12 -0.44 0.08  0.91 0.07 -2.38 0.06\n"
    "   3.43  2 118  -0.20 81 222  -3.23  9  28   3.33 163 85 -178  73 88   -5\n";

// Frame state as at program start, with the reader initialised; output discarded.
class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    korbast::testing::Console quiet;
    frame::reset();
    catalogue::reset();
    frame::trigoset();
    frame::initfio(1, 2, 0);
    catalogue::gcmtreadex1(1, 5);
    dir_ = fs::temp_directory_path() /
           ("korbast_cat_" + std::to_string(::getpid()) + "_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // Files are named relative to the scratch folder, so that names stay short.
    home_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    for (int u : {11, 21, 22, 61}) frame::units::close(u);
    fs::current_path(home_);
    fs::remove_all(dir_);
  }

  // Writes a scratch file and returns its path.
  std::string scratch(const std::string& name, const std::string& content) {
    const fs::path p = dir_ / name;
    std::ofstream out(p, std::ios::binary);
    out << content;
    return p.string();
  }

  fs::path dir_;
  fs::path home_;
};

}  // namespace cattest
