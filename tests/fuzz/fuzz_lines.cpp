// The line reader of the unit table on files of any size: the first byte sets the file's
// length, the rest is the pattern repeated to fill it. A pattern that ends lines fills up to
// 127.5 KiB in steps of 512 bytes (past the reader's 64 KiB block). A pattern without line
// end is one line: up to 247 KiB in steps of 1 KiB, so that lines short of the 64 KiB bound,
// at it and past it are met; the first bytes 248 to 255 end it a few bytes (a pattern at most)
// either side of the 16 MiB past that bound where the reader stops looking for its end. Only
// those few executions are slow: the reader passes such a line byte by byte.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "frame/output_names.hpp"
#include "frame/units.hpp"

namespace {
namespace units = korbast::frame::units;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_lines: %s\n", what);
    std::abort();
  }
}

// The scratch file lives in memory and has no name in any folder: nothing is written to disk,
// and nothing is left behind however the fuzzer ends. The reader opens it by its /proc name,
// as a descriptor handed over to the run for reading (one the run opened itself is refused).
int scratch_fd() {
  static const int fd = [] {
    const int made = ::memfd_create("korbast-fuzz-lines", MFD_CLOEXEC);
    check(made >= 0, "no scratch file");
    units::names::note_start_descriptors();
    return made;
  }();
  return fd;
}

constexpr std::size_t KiB = 1024;
constexpr std::size_t line_bound = 64 * KiB;     // the reader's bound on a line
constexpr std::size_t skip_bound = 16384 * KiB;  // how far past it the reader looks for its end

std::size_t file_length(std::uint8_t first, bool ends_lines) {
  if (ends_lines) return first * KiB / 2;
  if (first < 248) return first * KiB;
  return line_bound + skip_bound + first - 252;
}

void write_all(const std::string& file) {
  check(::ftruncate(scratch_fd(), 0) == 0, "the file does not empty");
  for (std::size_t at = 0; at < file.size();) {
    const ssize_t n = ::pwrite(scratch_fd(), file.data() + at, file.size() - at, static_cast<off_t>(at));
    check(n > 0, "the file is not written");
    at += static_cast<std::size_t>(n);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string pattern(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t pattern_ends = std::count(pattern.begin(), pattern.end(), '\n') +
                                   std::count(pattern.begin(), pattern.end(), '\r');
  const std::size_t length = file_length(data[0], pattern_ends > 0);
  // The pattern repeated to at least length bytes, by doubling (a byte at a time would make
  // the big files the slowest part of an execution).
  const std::size_t copies = std::max<std::size_t>(1, (length + pattern.size() - 1) / pattern.size());
  std::string file;
  file.reserve(copies * pattern.size());
  file.append(pattern);
  while (file.size() < copies * pattern.size())
    file.append(file.data(), std::min(file.size(), copies * pattern.size() - file.size()));
  const std::size_t ends = pattern_ends * copies;
  write_all(file);
  const std::string scratch_file = "/proc/self/fd/" + std::to_string(scratch_fd());

  constexpr int unit = 61;
  // The warning frames of long lines go to the console: kept out of the fuzzer's output.
  std::ostringstream console;
  std::istringstream keyboard;
  units::bind_console(keyboard, console);
  check(units::open(unit, scratch_file, units::Status::Old), "the file does not open");
  std::string line, first;
  bool given_up = false;
  for (int pass = 0; pass < 2 && !given_up; ++pass) {
    // Every line of the file, then its end: at most one read per line end, and one more.
    for (std::size_t n = 1;; ++n) {
      const units::Read r = units::read_line(unit, line);
      check(line.size() <= line_bound, "a line past the bound");
      if (r == units::Read::Eof) break;
      if (n > ends + 1) {
        check(r == units::Read::Error, "more lines read than the file holds");
        given_up = true;  // a line without end past every bound: the reader gave the file up
        break;
      }
      if (pass == 0 && n == 1 && r == units::Read::Ok) first = line;
      if (pass == 1 && n == 1 && r == units::Read::Ok) check(line == first, "another first line after the rewind");
    }
    // A regular file goes back to its first line. One given up is not read again: that would
    // only pass the same 16 MiB once more.
    if (pass == 0) check(units::rewind(unit), "a file that does not rewind");
  }
  units::close(unit);
  units::bind_console();
  return 0;
}
