// The extraction polygon file, then a catalogue read through it.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // The polygon test on, the polygon read from the file, then the sample catalogue read.
  run_program({{"s.ndk", fixture("gcmt-samples.ndk")}, {"poly.txt", as_text(data, size)}},
              "\n1000\n100\n10\ny\n250\ny\n252\npoly.txt\n\n99\n1001\ns.ndk\n\n\n99\n9999\n");
  return 0;
}
