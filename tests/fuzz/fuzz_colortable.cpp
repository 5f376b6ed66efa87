// The colour-table file.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // Plot parameters, the colour table, read from the file.
  run_program({{"colors.txt", as_text(data, size)}}, "\n330\n52\n300\ncolors.txt\n\n\n99\n99\n9999\n");
  return 0;
}
