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
#include "catalogue/seistest.hpp"
#include "frame/angles.hpp"
#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"

namespace cattest {

namespace fs = std::filesystem;
using namespace korbast;

inline std::string data_path(const std::string& name) {
  return std::string(KORBAST_TEST_DATA) + "/catalogue/" + name;
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

using korbast::testing::expected::split_lines;

// Frame state as at program start, with the reader initialised; output discarded.
class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    korbast::testing::Console quiet;
    frame::iocom = frame::Iocom{};
    frame::trigoset();
    frame::initfio(1, 2, 0);
    catalogue::reader_state = catalogue::ReaderState{};
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
