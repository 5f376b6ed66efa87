// Read runs over 25,000 generated ndk events with every extraction test switched on.
//
//   cmake -S . -B build-bench -DKORBAST_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-bench --target bench_catalogue_read
//   build-bench/bench/bench_catalogue_read
//
// ReadRun is the whole reader command (menu answer, file opening, the pass over the file,
// summary, closing); ParseAndTest is the record loop alone on lines already in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/tools/gen_catalogue.hpp"
#include "catalogue/derived.hpp"
#include "catalogue/gcmtblk.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/layouts.hpp"
#include "catalogue/seistest.hpp"
#include "frame/angles.hpp"
#include "frame/filetable.hpp"
#include "frame/units.hpp"

namespace {

using namespace korbast;

constexpr int nevents = 25000;

struct Setup {
  std::string path;
  std::size_t bytes = 0;
  std::vector<std::string> lines;

  Setup() {
    path = (std::filesystem::temp_directory_path() / "korbast_bench_25000.ndk").string();
    {
      std::ofstream out(path, std::ios::binary);
      gen_catalogue::write_catalogue(out, nevents, true, 11);
    }
    bytes = std::filesystem::file_size(path);
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);

    std::istringstream none;
    std::ostringstream sink;
    frame::units::bind_console(none, sink);
    frame::trigoset();
    frame::initfio(1, 2, 0);
    catalogue::gcmtreadex1(1, 5);
    frame::units::bind_console();

    // Every test on, with bounds that keep most events.
    catalogue::Seistest2& c = catalogue::seistest2;
    c.testgen = c.testlat = c.testlong = c.testdepth = c.testpoly = c.testqual = true;
    c.latmin = -85.0f;
    c.latmax = 85.0f;
    c.longmin = -179.0f;
    c.longmax = 179.0f;
    c.depthmin = 0.0f;
    c.depthmax = 700.0f;
    c.polygc = false;  // a counter-clockwise box in longitude and latitude
    const float lon[4] = {-179.0f, 179.0f, 179.0f, -179.0f};
    const float lat[4] = {-85.0f, -85.0f, 85.0f, 85.0f};
    c.nvertex = 4;
    for (int k = 0; k < 4; ++k) {
      c.vrtxlong[k] = lon[k];
      c.vrtxlat[k] = lat[k];
    }
    int ierr = 0;
    catalogue::spolygontst(ierr, 0);
    c.testrake[0] = c.testrake[1] = true;
    c.rakeint[0][0] = -180.0f;
    c.rakeint[0][1] = 0.0f;
    c.rakeint[1][0] = 0.0f;
    c.rakeint[1][1] = 180.0f;
    c.fclvdmax = 0.5f;
    c.erelmax = 0.5f;
    c.nfreemin = 6;
  }
  ~Setup() { std::remove(path.c_str()); }
};

Setup& setup() {
  static Setup s;
  return s;
}

void ReadRun(benchmark::State& state) {
  Setup& s = setup();
  for (auto _ : state) {
    std::istringstream answers("1001\n" + s.path + "\n");
    std::ostringstream console;
    frame::units::bind_console(answers, console);
    catalogue::gcmtreadex1(1, 0);
    frame::units::bind_console();
    if (catalogue::gcmtblk.idatatype != 2) state.SkipWithError("read run failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes));
  state.counters["read"] = catalogue::reader_state.nread;
  state.counters["retained"] = catalogue::gcmtblk.nstored;
}
BENCHMARK(ReadRun)->Unit(benchmark::kMillisecond);

void ParseAndTest(benchmark::State& state) {
  Setup& s = setup();
  std::istringstream none;
  std::ostringstream sink;
  frame::units::bind_console(none, sink);
  int kept = 0;
  for (auto _ : state) {
    int slot = 1;
    for (std::size_t r = 0; r + 5 <= s.lines.size(); r += 5) {
      for (int l = 1; l <= 5; ++l) catalogue::read_ndk_line(l, s.lines[r + static_cast<std::size_t>(l) - 1], slot);
      if (catalogue::record_step(slot)) ++slot;
    }
    kept = slot - 1;
    benchmark::DoNotOptimize(kept);
  }
  frame::units::bind_console();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes));
  state.counters["retained"] = kept;
}
BENCHMARK(ParseAndTest)->Unit(benchmark::kMillisecond);

}  // namespace
