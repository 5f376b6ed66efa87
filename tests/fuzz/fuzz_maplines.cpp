// The six kinds of map-line file, drawn on a map of the sample events.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // The first byte chooses one of the six kinds of map-line file (byte 1 to 6, as the seeds
  // hold it); the rest is the file.
  if (size < 1) return 0;
  const int kind = 1 + (data[0] + 5) % 6;
  run_program({{"s.ndk", fixture("gcmt-samples.ndk")}, {"lines.txt", as_text(data + 1, size - 1)}},
              "\n1000\n1001\ns.ndk\n\n99\n2001\n1000\ny\nfuzz\n99\n" + std::to_string(kind) +
                  "\nlines.txt\n\n99\n99\n99\n9999\n\n");
  return 0;
}
