// The title, the column names and the data records of the gfortran reference cases
// (tests/tools/gen_columns_fixtures.sh), read with the program's routines.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "columns/arrays.hpp"
#include "columns/getfreal.hpp"
#include "columns/header_readers.hpp"
#include "columns/readreal.hpp"
#include "columns/readrealsetup.hpp"
#include "columns_support.hpp"
#include "support/console.hpp"

namespace {

namespace kt = korbast::testing;
namespace frame = korbast::frame;
using namespace korbast::columns;
using korbast::testing::kUnit;

struct OracleCase {
  std::string file;
  int nfcol = 0, iskip = 0, ititle = 0, iheader = 0, ldim = 0;
  std::string title_status, title;
  std::string name_status;
  std::vector<std::string> names;
  std::vector<std::vector<std::uint32_t>> rows;
  std::string end;  // eof, err or full
  int end_record = 0;
};

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(s);
  while (std::getline(in, part, sep)) parts.push_back(part);
  if (!s.empty() && s.back() == sep) parts.emplace_back();
  return parts;
}

// "[text]" without its brackets.
std::string bracketed(const std::string& s) { return s.substr(1, s.size() - 2); }

std::vector<OracleCase> load() {
  std::ifstream in(kt::columns_data("columns_oracle.txt"));
  std::vector<OracleCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("> ", 0) == 0) {
      OracleCase c;
      std::istringstream fields(line.substr(2));
      fields >> c.file >> c.nfcol >> c.iskip >> c.ititle >> c.iheader >> c.ldim;
      cases.push_back(c);
      continue;
    }
    OracleCase& c = cases.back();
    const auto parts = split(line, '|');
    if (parts[0] == "title") {
      c.title_status = parts[1];
      c.title = bracketed(parts[2]);
    } else if (parts[0] == "name") {
      c.name_status = parts[1];
      for (std::size_t k = 2; k < parts.size(); ++k) c.names.push_back(bracketed(parts[k]));
    } else if (parts[0] == "row") {
      std::vector<std::uint32_t> bits;
      std::istringstream values(parts.size() > 2 ? parts[2] : "");
      std::string hex;
      while (values >> hex) bits.push_back(static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16)));
      c.rows.push_back(bits);
    } else if (parts[0] == "end") {
      c.end = parts[1];
      c.end_record = std::stoi(parts[2]);
    }
  }
  return cases;
}

class Oracle : public kt::ColumnsTest {};

TEST_F(Oracle, FixtureHoldsTheCases) {
  const auto cases = load();
  EXPECT_GE(cases.size(), 45u);
  for (const auto& c : cases) EXPECT_FALSE(c.end.empty()) << c.file;
}

TEST_F(Oracle, TitlesAsGfortranReadsThem) {
  for (const auto& c : load()) {
    SCOPED_TRACE(c.file);
    korbast::testing::Console console;
    ASSERT_TRUE(open(kt::columns_data("oracle/" + c.file)));
    frame::Text<50> title;
    int ierr = -1;
    getftitle1(ierr, std::span<char>(title.data(), 50), c.file, kUnit, c.ititle, 1);
    // The end of the file is no failure: the title stays "Untitled".
    EXPECT_EQ(ierr, c.title_status == "err" ? 1 : 0);
    EXPECT_EQ(title.str(), c.title);
    frame::units::close(kUnit);
  }
}

TEST_F(Oracle, ColumnNamesAsGfortranReadsThem) {
  for (const auto& c : load()) {
    SCOPED_TRACE(c.file);
    korbast::testing::Console console;
    ASSERT_TRUE(open(kt::columns_data("oracle/" + c.file)));
    frame::Text<kNameLength> names[kMaxFileColumns];
    int ierr = -1;
    getfnamcol(ierr, names, kMaxFileColumns, c.nfcol, c.file, kUnit, c.iheader, 1);
    if (c.name_status == "err") {
      // The editor replaces every name by its default after a failure.
      EXPECT_EQ(ierr, 1);
    } else {
      EXPECT_EQ(ierr, 0);
      ASSERT_EQ(c.names.size(), static_cast<std::size_t>(c.nfcol));
      for (int k = 0; k < c.nfcol; ++k) EXPECT_EQ(names[k].str(), c.names[static_cast<std::size_t>(k)]) << k + 1;
    }
    frame::units::close(kUnit);
  }
}

TEST_F(Oracle, DataRecordsAsGfortranReadsThem) {
  for (const auto& c : load()) {
    SCOPED_TRACE(c.file);
    korbast::testing::Console console;
    ASSERT_TRUE(open(kt::columns_data("oracle/" + c.file)));
    auto& s = readrealsetup;
    s = Readrealsetup{};
    s.iskip = c.iskip;
    s.ititle = c.ititle;
    s.nvar = c.nfcol;
    s.nfcol = c.nfcol;
    for (int v = 1; v <= c.nfcol; ++v) {
      s.jcol[v - 1] = v;
      s.jfcol[v - 1] = v;
    }
    const int ncol = std::max(c.nfcol, 1);
    const float marker = -12345.0f;
    std::vector<float> data(static_cast<std::size_t>(std::max(c.ldim, 0) * ncol + 1), marker);
    int ierr = -1, nrow = -1, ncolused = -1;
    getfreal(ierr, nrow, ncolused, RealArray(data, c.ldim, ncol), c.ldim, ncol, c.file, kUnit, 1);
    EXPECT_EQ(ncolused, c.nfcol);
    const int read = static_cast<int>(c.rows.size());
    if (c.end == "err") {
      EXPECT_EQ(ierr, 1);
      EXPECT_TRUE(frame::units::is_open(kUnit)) << "a failed read rewinds the file";
    } else {
      EXPECT_EQ(ierr, 0);
      EXPECT_EQ(nrow, c.end_record - 1);
      EXPECT_EQ(nrow, read);
      EXPECT_FALSE(frame::units::is_open(kUnit)) << "a read closes the file";
    }
    for (int i = 1; i <= read; ++i) {
      for (int v = 1; v <= c.nfcol; ++v) {
        const float got = data[static_cast<std::size_t>((v - 1) * c.ldim + (i - 1))];
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got), c.rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(v - 1)])
            << "record " << i << " column " << v << " value " << got;
      }
    }
    // Rows beyond the records read are not touched.
    for (int i = read + 1; i <= c.ldim; ++i)
      for (int v = 1; v <= c.nfcol; ++v)
        EXPECT_EQ(data[static_cast<std::size_t>((v - 1) * c.ldim + (i - 1))], marker);
    frame::units::close(kUnit);
  }
}

}  // namespace
