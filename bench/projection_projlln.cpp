// projlln over one million points for every projection code: points per second.
//
//   build-bench/bench/bench_projection_projlln --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "frame/angles.hpp"
#include "frame/units.hpp"
#include "projection/ellipsoids.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"
#include "projection/table.hpp"

namespace {

using namespace korbast::projection;
using korbast::frame::rad;

// The angle constants are filled at start-up, as in the program (its report goes nowhere).
const bool angles_filled = [] {
  std::istringstream in;
  std::ostringstream out;
  korbast::frame::units::bind_console(in, out);
  korbast::frame::trigoset();
  korbast::frame::units::bind_console();
  return true;
}();

constexpr int kPoints = 1000000;

// A regional map around (13 E, 43 N) on the Hayford ellipsoid, with the constants of the
// projection chosen, as the projection menu leaves it.
void set_up(int code) {
  reset_projection_blocks();
  projtype.iproj = code;
  llpparam.longp1 = rad(12);
  llpparam.longp2 = rad(14);
  llpparam.latp1 = rad(38);
  llpparam.latp2 = rad(46);
  llpparam.anglep1 = rad(100);
  set_ellipsoid_radii(6378388.0f, 6356912.0f);
  set_oblique_frame(rad(15), rad(42));
  const ProjectionEntry* p = find_projection(code);
  if (p != nullptr && p->constants != nullptr) p->constants();
  place_origin(rad(13), rad(43));
}

void BM_projlln(benchmark::State& state) {
  const int code = static_cast<int>(state.range(0));
  set_up(code);
  std::vector<float> lon(kPoints), lat(kPoints), x(kPoints), y(kPoints);
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> ulon(rad(2), rad(24)), ulat(rad(35), rad(50));
  for (int i = 0; i < kPoints; ++i) {
    lon[i] = ulon(gen);
    lat[i] = ulat(gen);
  }
  for (auto _ : state) {
    projlln(x.data(), y.data(), lon.data(), lat.data(), kPoints);
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kPoints));
}

BENCHMARK(BM_projlln)->DenseRange(1, 25)->Unit(benchmark::kMillisecond);

}  // namespace
