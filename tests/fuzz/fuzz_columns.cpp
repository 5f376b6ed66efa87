// Column-data files with their header reading (the map's long-lat points).
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // The long-lat column file of the map's point layer, with its header reading: the point
  // menu follows the map's title at once (answer 200 there).
  run_program({{"s.ndk", fixture("gcmt-samples.ndk")}, {"points.txt", as_text(data, size)}},
              "\n1000\n1001\ns.ndk\n\n99\n2001\n343\ny\n1000\ny\nfuzz\n200\npoints.txt\n\n\n\n99\n99\n99\n99\n9999\n\n");
  return 0;
}
