// Fuzzing the free-format reader: any file, read record by record with any items, and any
// prompt answer. Besides the sanitizers, it checks that no non-finite real gets through, that
// a text item never writes past its text, and that the reading ends.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>

#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/units.hpp"

namespace {

using namespace korbast::frame;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_listread: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte names up to four items per record (two bits each); the rest is the file.
  const int layout = data[0];
  const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::istringstream in(file);
  std::ostringstream out;
  units::bind_console(in, out);
  // Each input is a fresh run whose answers a person types: its unreadable records are asked
  // again, never counted toward the end of a run that no person feeds.
  iocom = Iocom{};
  iocom.keyboard_person = true;
  std::size_t lines = 1;
  for (char c : file) lines += c == '\n' || c == '\r';  // CR-only files count CRs
  std::size_t records = 0;
  for (;; ++records) {
    check(records <= lines, "more records than lines");
    ListReader r(units::keyboard);
    int iv = 0;
    float fv = 0.0f;
    std::string sv;
    char text[9];
    std::memset(text, '#', sizeof text);
    for (int k = 0; k < 4; ++k) {
      switch ((layout >> (2 * k)) & 3) {
        case 0: r.i(iv); break;
        case 1:
          r.f(fv);
          check(std::isfinite(fv), "a non-finite real was read");
          break;
        case 2: r.a(sv); break;
        case 3:
          r.a(text, 8);
          check(text[8] == '#', "a text item wrote past its text");
          break;
      }
    }
    if (r.status() == ListStatus::Eof) break;
  }
  units::bind_console();

  // The same bytes as the answer of a prompt.
  int n = 0;
  list_int(file, n);
  float x = 0.0f;
  list_real(file, x);
  check(std::isfinite(x), "a non-finite answer was read");
  return 0;
}
