// The ndk catalogue reader with every extraction test on, on any file.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // The reader's menu: every extraction test on, then the ndk file read.
  run_program({{"f.ndk", as_text(data, size)}},
              "\n1000\n" "100\n10\ny\n100\ny\n110\n-60\n60\n200\ny\n210\n-180\n180\n300\ny\n310\n0\n700\n"
                "500\ny\n510\n-180\n180\n600\ny\n99\n" "1001\nf.ndk\n\n\n99\n9999\n");
  return 0;
}
