#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/tempfile.hpp"

namespace {

namespace units = korbast::frame::units;

using korbast::testing::TempFile;

TEST(Units, LinesLoseCrLfAndTheLastLineNeedsNoLineEnd) {
  TempFile f("one\r\ntwo\n\nlast");
  ASSERT_TRUE(units::open(11, f.path, units::Status::Old));
  std::string line;
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "one");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "two");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "last");
  EXPECT_EQ(units::read_line(11, line), units::Read::Eof);
  EXPECT_TRUE(units::rewind(11));
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "one");
  units::close(11);
  EXPECT_FALSE(units::is_open(11));
  EXPECT_EQ(units::read_line(11, line), units::Read::Error);
}

TEST(Units, NewRefusesAnExistingFileAndOldAMissingOne) {
  TempFile f("keep me\n");
  EXPECT_FALSE(units::open(21, f.path, units::Status::New));
  std::ifstream check(f.path);
  std::string content;
  std::getline(check, content);
  EXPECT_EQ(content, "keep me");
  EXPECT_FALSE(units::open(11, f.path + ".missing", units::Status::Old));
  EXPECT_FALSE(units::open(11, std::filesystem::temp_directory_path().string(), units::Status::Old));
  EXPECT_FALSE(units::open(11, "", units::Status::Old));
}

TEST(Units, WritingToAClosedUnitCreatesNothing) {
  EXPECT_FALSE(units::write_line(22, "lost"));
  EXPECT_FALSE(units::is_open(22));
}

TEST(Units, ConsoleCanBeBoundToStrings) {
  korbast::testing::Console console("answer\r\n");
  std::string line;
  units::write_line(6, "question");
  ASSERT_EQ(units::read_line(5, line), units::Read::Ok);
  EXPECT_EQ(line, "answer");
  EXPECT_EQ(units::read_line(5, line), units::Read::Eof);
  EXPECT_EQ(console.text(), "question\n");
}

TEST(UnitsDeathTest, StopRunFlushesAndClosesEveryUnit) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            (std::to_string(::getpid()) + "_units_stop.txt")).string();
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        units::open(22, path, units::Status::New);
        units::write_line(22, "written before the stop");
        units::stop_run(3);
      },
      ::testing::ExitedWithCode(3), "");
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "written before the stop");
  std::remove(path.c_str());
}

}  // namespace
