// The plot window's settings file.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korbast::fuzz;
  // The plot window opened and closed: its settings file read (and written when unreadable).
  // Empty answers fit both dialogs (keep the settings, or the set-up asked afresh), then the
  // main menu takes 9999 and the window closes.
  run_program({{"vomek1_ini_u.txt", as_text(data, size)}}, "\n10\n\n\n\n\n9999\n\n");
  return 0;
}
