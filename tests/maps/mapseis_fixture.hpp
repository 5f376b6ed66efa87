// Shared set-up of the map driver tests: the plot state of the plot tests (logging device,
// scratch folder), the map settings initialised as at start-up, a small event store holding
// the three events of tests/data/gcmt-samples.ndk, the Si-Sh slot on a scratch file, and the
// fixtures made by tests/tools/gen_mapseis_fixtures.sh.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/angles.hpp"
#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/text.hpp"
#include "frame/units.hpp"
#include "maps/mapseis.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/life_cycle.hpp"
#include "plot/plot_fixture.hpp"
#include "support/console.hpp"
#include "support/tempfile.hpp"

namespace korbast::maps::mapseis_test {

using korbast::testing::Console;
using plot::test::find_sequence;
using plot::test::split_lines;

inline std::string map_data(const std::string& name) {
  return std::string(KORBAST_TEST_DATA) + "/maps/" + name;
}

using korbast::testing::read_file;

// The store of the tests: room for kCap events, the three samples first.
struct Store {
  static constexpr int kCap = 8;
  float xd[kCap] = {};
  float yd[kCap] = {};
  float rlong[kCap] = {-88.78f, 93.92f, -70.24f};
  float rlat[kCap] = {13.78f, 7.29f, -20.45f};
  float depth[kCap] = {193.1f, 30.0f, 34.6f};
  using T10 = frame::Text<10>;
  T10 date1[kCap] = {T10("2005/01/01"), T10("2005/01/01"), T10("2006/04/09")};
  T10 time1[kCap] = {T10("01:20:05.4"), T10("01:42:24.9"), T10("20:50:46.0")};
  // Strike, dip and rake of planes 1 and 2.
  float azd[2][kCap] = {{9, 282, 49}, {133, 28, 211}};
  float dipd[2][kCap] = {{29, 48, 30}, {72, 73, 61}};
  float rakd[2][kCap] = {{142, -23, 106}, {66, -136, 81}};
  int n = 3;

  // The events with plane k (0 or 1), as the driver takes them.
  MapEvents events(int k) {
    return {xd, yd, rlong, rlat, depth, date1, time1, {azd[k], dipd[k], rakd[k]}, n};
  }
};

class MapDriver : public plot::test::PlotTest {
 protected:
  static constexpr int kSlot = 2;

  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    frame::iocom.pause = false;
    Console quiet;
    mapseis4(s.events(0), Store::kCap, kSlot, false, 1, 5);
  }

  void TearDown() override {
    frame::units::close(frame::fiocom.iouf[kSlot - 1]);
    frame::fiocom = frame::Fiocom{};
    PlotTest::TearDown();
  }

  // The Si-Sh slot open on a file of the scratch folder.
  std::string open_sish() {
    const std::string path = (dir() / "sish.txt").string();
    EXPECT_TRUE(frame::units::open(frame::fiocom.iouf[kSlot - 1], path,
                                   frame::units::Status::Replace));
    frame::fiocom.iopou[kSlot - 1] = true;
    return path;
  }
  std::string close_sish(const std::string& path) {
    frame::units::close(frame::fiocom.iouf[kSlot - 1]);
    frame::fiocom.iopou[kSlot - 1] = false;
    return read_file(path);
  }

  // The plot window opened as the main program's command 10 opens it (defaults kept).
  void open_window() {
    Console quiet("\n\n");
    plot::plinit("seis.ps", 2);
    int fill = 1;
    plot::sfillstyle(fill, 5);
  }

  // One call of the driver in its menu mode with the given answers; the console text.
  std::string drive(const std::string& answers, bool lsish = false, int plane = 1,
                    int kout = kSlot, int nmax = Store::kCap) {
    Console con(answers);
    const int k = plane - 1;
    mapseis4(s.events(k), nmax, kout, lsish, 1, 0);
    return con.text();
  }

  // The answers of one run with the window open and every layer on: RUN, clear the page,
  // leave the point menu and the line-file menu.
  static std::string run_open() { return "1000\n0\n99\n99\n"; }

  static int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
  }

  Store s;
};

}  // namespace korbast::maps::mapseis_test
