// The Si-Sh lines against gfortran (tests/tools/sish_oracle.f90): the header, the records
// of the sample catalogue through the whole chain (nodal plane -> axes -> SHmax -> line),
// the edge records (asterisks, signed zeros, SHmax modulo 180, dates as stored); and the
// writer on the output slot, with runs that follow one another and a slot that is not open.
#include "maps/sish.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "frame/angles.hpp"
#include "frame/filetable.hpp"
#include "frame/reset.hpp"
#include "frame/units.hpp"
#include "maps/stress.hpp"
#include "projection/axes.hpp"
#include "stress_support.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"
#include "support/tempfile.hpp"

namespace korbast::maps::test {
namespace {

using korbast::testing::Console;
namespace ex = korbast::testing::expected;

constexpr frame::Identity kCaller{"mapseis", " 6.6", "06-05-2010"};

// The header line, derived by hand from its format: every word right-justified over the
// last columns of its field, cut to the field when longer.
const std::string kHeader =
    "       Date       Time Latitu Longitu Depth Strik  Dip  Rake S1_azi S1_pl S2_azi S2_pl "
    "S3_azi S3_pl Sv AzSHmx";

// A sample event's plane (strike, dip, rake in degrees) through the map's chain: its axes,
// the Sh azimuth and the symbol type.
struct PlaneOnMap {
  geometry::Axes a;
  float sh = 0.0f;
  int isv = 0;
};
PlaneOnMap plane_on_map(const float* p) {
  PlaneOnMap m;
  projection::fsadr2steff(m.a.azimuth, m.a.plunge, frame::rad(p[0]), frame::rad(p[1]),
                          frame::rad(p[2]), 0.0f);
  siap2sv(&m.sh, &m.isv, m.a, 0.0f, 1);
  return m;
}

class Sish : public korbast::testing::QuietDialogTest {
 protected:
  void SetUp() override {
    frame::reset();
    QuietDialogTest::SetUp();
    oracle = file_lines(data_path("maps/sish_oracle.out"));
    ASSERT_EQ(oracle.size(), 13u);
  }
  void TearDown() override {
    frame::units::close(22);
    frame::reset();
    QuietDialogTest::TearDown();
  }

  // One record of a sample event's plane, through the map's chain.
  std::string event_record(const NdkEvent& e, int plane) const {
    const float* p = e.plane[plane];
    const PlaneOnMap m = plane_on_map(p);
    return sish_record_line(frame::Text<10>(e.date), frame::Text<10>(e.time), e.lat, e.lon,
                            e.depth, {p[0], p[1], p[2]}, m.a, m.isv, m.sh);
  }

  std::vector<std::string> oracle;
};

TEST_F(Sish, HeaderLine) {
  EXPECT_EQ(sish_header_line(), kHeader);
  EXPECT_EQ(kHeader.size(), 109u);
  EXPECT_EQ(sish_header_line(), oracle[0]);
}

TEST_F(Sish, RecordsOfTheSampleCatalogue) {
  const auto events = sample_events();
  ASSERT_EQ(events.size(), 3u);
  std::size_t k = 1;
  for (const auto& e : events) {
    for (int plane = 0; plane < 2; ++plane, ++k) {
      const std::string line = event_record(e, plane);
      EXPECT_EQ(line, oracle[k]) << e.date << " plane " << plane + 1;
      EXPECT_EQ(line.size(), 109u);
    }
  }
}

// The 2006 Chile event, plane 1, as a public catalogue gives it: the B axis keeps its
// negative plunge and SHmax is perpendicular to S2 (S3 is the steepest axis).
TEST_F(Sish, RecordOfTheChileEventByHand) {
  const auto events = sample_events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(event_record(events[2], 0),
            " 2006/04/09 20:50:46.0 -20.45  -70.24  34.6   49.  30.  106.  -52.7  15.8   35.1  "
            "-7.9   99.3  72.2 3   125.1");
}

// The edge file, read as the oracle reads it: quoted date and time, then reals and isv.
struct EdgeRow {
  std::string date, time;
  float v[13] = {};
  int isv = 0;
};

std::vector<EdgeRow> edge_rows() {
  std::vector<EdgeRow> rows;
  for (const auto& l : file_lines(data_path("maps/sish_edges.txt"))) {
    EdgeRow r;
    std::size_t pos = 0;
    auto quoted = [&]() {
      const std::size_t a = l.find('\'', pos);
      const std::size_t b = l.find('\'', a + 1);
      pos = b + 1;
      return l.substr(a + 1, b - a - 1);
    };
    r.date = quoted();
    r.time = quoted();
    const char* p = l.c_str() + pos;
    char* end = nullptr;
    for (int k = 0; k < 12; ++k, p = end) r.v[k] = std::strtof(p, &end);
    r.isv = static_cast<int>(std::strtol(p, &end, 10));
    p = end;
    r.v[12] = std::strtof(p, &end);
    rows.push_back(r);
  }
  return rows;
}

TEST_F(Sish, EdgeRecords) {
  const auto rows = edge_rows();
  ASSERT_EQ(rows.size(), 6u);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const EdgeRow& r = rows[k];
    const geometry::Axes a{{r.v[6], r.v[8], r.v[10]}, {r.v[7], r.v[9], r.v[11]}};
    const std::string line = sish_record_line(frame::Text<10>(r.date), frame::Text<10>(r.time),
                                              r.v[0], r.v[1], r.v[2], {r.v[3], r.v[4], r.v[5]},
                                              a, r.isv, r.v[12]);
    EXPECT_EQ(line, oracle[7 + k]) << "edge row " << k + 1;
  }
}

// What the edge rows are about, checked by hand on the oracle's columns.
TEST_F(Sish, EdgeRecordsByHand) {
  auto cols = [&](std::size_t row, int first, int last) {
    return oracle[7 + row].substr(static_cast<std::size_t>(first - 1),
                                  static_cast<std::size_t>(last - first + 1));
  };
  EXPECT_EQ(cols(1, 2, 11), "06/04/09  ");  // an 8-character date stays left-aligned
  EXPECT_EQ(cols(1, 39, 43), "*****");      // depth of 1000 km
  EXPECT_EQ(cols(1, 104, 109), "  90.0");   // SHmax of 270 degrees
  EXPECT_EQ(cols(1, 101, 101), "3");        // isv -3 written as 3
  EXPECT_EQ(cols(1, 56, 60), "  -0.");      // rake -0.4
  EXPECT_EQ(cols(2, 104, 109), "   0.0");   // SHmax of 180 degrees
  EXPECT_EQ(cols(2, 13, 22), "X         ");
  EXPECT_EQ(cols(2, 31, 37), "-180.00");
  EXPECT_EQ(cols(3, 39, 43), "*****");      // 999.96 rounds to 1000.0
  EXPECT_EQ(cols(4, 104, 109), "   0.0");   // 179.97 degrees: the field stays below 180
  EXPECT_EQ(cols(4, 101, 101), "0");
}

// The SHmax field lies in [0, 180) as written: values that round to 180.0 are written 0.0.
// Plane 210/75/-48 gives 179.985 degrees (S3 + 90, S1 steepest; the double-precision oracle
// mapseis_sish_oracle.py gives 179.98496).
TEST_F(Sish, ShmaxThatRoundsTo180IsWrittenZero) {
  auto field = [](float deg) {
    const std::string l = sish_record_line(frame::Text<10>("2000/01/01"), frame::Text<10>("x"), 0,
                                           0, 0, {0, 0, 0}, geometry::Axes{}, 1, frame::rad(deg));
    return l.substr(103, 6);
  };
  EXPECT_EQ(field(179.985f), "   0.0");
  EXPECT_EQ(field(359.96f), "   0.0");
  EXPECT_EQ(field(179.94f), " 179.9");
  EXPECT_EQ(field(0.04f), "   0.0");
  EXPECT_EQ(field(90.0f), "  90.0");
  NdkEvent e;
  e.date = "2000/01/01";
  e.time = "00:00:00.0";
  e.plane[0][0] = 210;
  e.plane[0][1] = 75;
  e.plane[0][2] = -48;
  const std::string l = event_record(e, 0);
  EXPECT_EQ(l.substr(100, 9), "1     0.0") << l;
}

TEST_F(Sish, TwoRunsOnTheOpenSlotEachBeginWithAHeader) {
  korbast::testing::TempFile f("", "sish_runs.txt");
  ASSERT_TRUE(frame::units::open(22, f.path, frame::units::Status::Replace));
  frame::fiocom.iopou[1] = true;
  const auto events = sample_events();
  ASSERT_EQ(events.size(), 3u);
  Console con;
  for (int run = 0; run < 2; ++run) {
    const int unit = sish_begin(2, kCaller);
    EXPECT_EQ(unit, 22);
    // the first run maps plane 1 of every event, the second run no event
    if (run == 0) {
      for (const auto& e : events) {
        const float* p = e.plane[0];
        const PlaneOnMap m = plane_on_map(p);
        sish_write_record(unit, frame::Text<10>(e.date), frame::Text<10>(e.time), e.lat, e.lon,
                          e.depth, {p[0], p[1], p[2]}, m.a, m.isv, m.sh);
      }
    }
  }
  frame::units::close(22);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(file_lines(f.path),
            (std::vector<std::string>{oracle[0], oracle[1], oracle[3], oracle[5], oracle[0]}));
}

// A slot that is not open (or a slot number the table does not have) is reported once per
// run and the run writes no line.
TEST_F(Sish, ClosedSlotWarnsAndWritesNothing) {
  korbast::testing::TempFile f("", "sish_closed.txt");
  ASSERT_TRUE(frame::units::open(22, f.path, frame::units::Status::Replace));
  frame::fiocom.iopou[1] = false;
  const std::pair<int, std::string> cases[] = {{2, "  2"}, {0, "  0"}, {3, "  3"}, {-1, " -1"}};
  for (const auto& [kout, shown] : cases) {
    Console con;
    EXPECT_EQ(sish_begin(kout, kCaller), 0);
    ex::Lines expected = ex::warning_head("mapseis");
    expected.push_back(" Si-Sh output slot " + shown + " is not open");
    expected.push_back(" ==> NO Si-Sh LINES WRITTEN IN THIS RUN");
    expected.push_back(ex::rule('/'));
    EXPECT_EQ(text_lines(con.text()), expected) << kout;
  }
  sish_write_record(0, frame::Text<10>("2006/04/09"), frame::Text<10>("20:50:46.0"), 1, 2, 3,
                    {4, 5, 6}, geometry::Axes{}, 1, 0.5f);
  frame::units::close(22);
  EXPECT_EQ(file_lines(f.path), std::vector<std::string>{});
}

}  // namespace
}  // namespace korbast::maps::test
