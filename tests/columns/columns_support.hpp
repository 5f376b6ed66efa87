// Shared pieces of the column-data reader tests: a fresh reader state and dialog settings per
// test, fixture paths, a folder of one's own for files made by a test, and the names the
// dialog tests speak in.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "columns/readrealsetup.hpp"
#include "columns/reset.hpp"
#include "expected_dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/reset.hpp"
#include "frame/units.hpp"
#include "support/expected_lines.hpp"

namespace korbast::testing {

constexpr int kUnit = 12;  // the unit the map's point layer reads column files on

inline std::string columns_data(const std::string& name) {
  return std::string(KORBAST_TEST_DATA) + "/columns/" + name;
}

class ColumnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame::reset();
    columns::reset();
    frame::iocom.pause = false;
    // Short folder names: the reader keeps file names in 40 characters.
    static int count = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("kc" + std::to_string(::getpid()) + "_" + std::to_string(++count));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    frame::units::close(kUnit);
    frame::units::close(15);
    std::filesystem::remove_all(dir_);
  }
  // A file of the given content in the test's folder; returns its path.
  std::string file(const std::string& name, const std::string& content) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  bool open(const std::string& path) {
    return frame::units::open(kUnit, path, frame::units::Status::Old);
  }
  std::filesystem::path dir_;
};

}  // namespace korbast::testing

// The names the dialog tests of the reader share (the set-up of the column reader, its unit, the
// expected console lines): a test file takes them with `using namespace
// korbast::testing::column_names;` inside its own unnamed namespace.
namespace korbast::testing::column_names {

namespace kt = korbast::testing;
namespace cols = korbast::testing::cols;
namespace frame = korbast::frame;
using cols::Lines;
using expected::join;
using korbast::columns::readrealsetup;
using korbast::testing::kUnit;

}  // namespace korbast::testing::column_names
