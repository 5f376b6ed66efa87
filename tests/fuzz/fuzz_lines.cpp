// The line reader of the unit table on files of any size: the first byte sets the file's
// length in steps of 72 KiB (up to 18 MiB, so that lines past the 64 KiB bound and past the
// 16 MiB the reader looks for their end are met; 256 KiB at most when the pattern ends lines);
// the rest is the pattern repeated to fill it.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "frame/units.hpp"

namespace {
namespace units = korbast::frame::units;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_lines: %s\n", what);
    std::abort();
  }
}

// The scratch file has no name from the start: it is reached through its descriptor, so that
// nothing is left behind however the fuzzer ends.
const std::string& scratch_file() {
  static const std::string path = [] {
    char name[] = "/tmp/korbast-fuzz-lines-XXXXXX";
    const int fd = ::mkstemp(name);
    check(fd >= 0, "no scratch file");
    ::unlink(name);
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string pattern(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string file = pattern;
  // Long files only for long lines: many short lines would only slow the fuzzer down.
  const bool ends_lines = pattern.find_first_of("\r\n") != std::string::npos;
  const std::size_t length =
      std::min<std::size_t>(static_cast<std::size_t>(data[0]) * 72 * 1024, ends_lines ? 256 * 1024 : SIZE_MAX);
  while (file.size() < length) file += pattern;
  std::size_t ends = 0;
  for (char c : file) ends += c == '\n' || c == '\r';
  std::ofstream(scratch_file(), std::ios::binary | std::ios::trunc) << file;

  constexpr int unit = 61;
  // The warning frames of long lines go to the console: kept out of the fuzzer's output.
  std::ostringstream console;
  std::istringstream keyboard;
  units::bind_console(keyboard, console);
  check(units::open(unit, scratch_file(), units::Status::Old), "the file does not open");
  std::string line, first;
  for (int pass = 0; pass < 2; ++pass) {
    // Every line of the file, then its end: at most one read per line end, and one more.
    for (std::size_t n = 1;; ++n) {
      const units::Read r = units::read_line(unit, line);
      check(line.size() <= 64 * 1024, "a line past the bound");
      if (r == units::Read::Eof) break;
      if (n > ends + 1) {
        check(r == units::Read::Error, "more lines read than the file holds");
        break;  // a line without end past every bound: the reader gave the file up
      }
      if (pass == 0 && n == 1 && r == units::Read::Ok) first = line;
      if (pass == 1 && n == 1 && r == units::Read::Ok) check(line == first, "another first line after the rewind");
    }
    // A regular file goes back to its first line.
    if (pass == 0) check(units::rewind(unit), "a file that does not rewind");
  }
  units::close(unit);
  units::bind_console();
  return 0;
}
