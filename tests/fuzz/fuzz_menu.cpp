// Any answers to the whole program: the dialog itself.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // The answers drive the main menu and every dialog behind it, with the sample files at hand.
  static const Files files = {{"s.ndk", fixture("gcmt-samples.ndk")},
                              {"colors.txt", fixture("plot/colortable_example.txt")},
                              {"lines.txt", fixture("maps/lines_gshhs.txt")},
                              {"cmds.txt", "1000\n1001\ns.ndk\n1100\n5002\n"}};
  run_program(files, as_text(data, size));
  return 0;
}
