// Fuzzing the fixed-column reader and the writers behind it: any line, any layout. Besides
// the sanitizers, it checks that a value read is finite, that writing it and reading it
// back gives the same value, and that every written field has its width.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/fields.hpp"
#include "frame/format.hpp"

namespace {

using namespace korbast::frame;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_fields: %s\n", what);
    std::abort();
  }
}

void check_width(const std::string& s, int w) { check(s.size() == static_cast<std::size_t>(w), "field width"); }

void check_real(float v, const std::uint8_t* data) {
  check(std::isfinite(v), "a real read is not finite");
  // Nine significant digits bring every single precision value back.
  float back = -1.0f;
  check(parse_real_field(fmt::E(v, 16, 9), 0, back), "E16.9 does not read back");
  check(std::memcmp(&back, &v, sizeof v) == 0, "E16.9 reads back another value");
  const int w = 1 + data[0] % 31;
  const int d = data[1] % (w < 10 ? w : 10);
  check_width(fmt::F(v, w, d), w);
  check_width(fmt::E(v, w, d), w);
  check_width(fmt::G(v, w, d), w);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  // The first four bytes lay out four fields (kind, width, decimals); the rest is the line.
  const std::string_view line(reinterpret_cast<const char*>(data) + 4, size - 4);
  FieldReader r(line);
  for (int k = 0; k < 4; ++k) {
    const int kind = data[k] & 3;
    const int w = 1 + ((data[k] >> 2) & 15);
    const int d = (data[k] >> 6) & 3;
    if (kind == 0) {
      int v = 0;
      r.i(w, v);
    } else if (kind == 1) {
      float v = 0.0f;
      const bool before = r.ok();
      r.f(w, d, v);
      if (before && r.ok()) check_real(v, data);
    } else if (kind == 2) {
      char text[9];
      std::memset(text, '#', sizeof text);
      r.a(w, text, 8);
      check(text[8] == '#', "A field wrote past its text");
      check_width(r.a(w), w);
    } else {
      r.x(w);
    }
  }
  // The whole line as one field.
  int n = 0;
  if (parse_int_field(line, n)) {
    int back = 0;
    check(parse_int_field(fmt::I(n, 12), back) && back == n, "I12 does not read back");
  }
  for (int d = 0; d < 4; ++d) {
    float v = 0.0f;
    if (parse_real_field(line, d, v)) check_real(v, data);
  }
  return 0;
}
