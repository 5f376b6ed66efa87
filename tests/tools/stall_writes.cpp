// A stalled file system, for whole-program runs: preloaded (LD_PRELOAD), it makes every
// write(), pwrite() and pwrite64() into a file whose path holds the text in the environment
// variable STALL_WRITES_MATCHING wait for ever (until the process ends), as a write to a hung
// network folder does. Every other write goes through as usual. Under AddressSanitizer the
// run needs ASAN_OPTIONS=verify_asan_link_order=0 (this library comes before its runtime).
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

// Whether fd is a file whose path holds the pattern.
bool stalled(int fd) {
  static const char* const pattern = getenv("STALL_WRITES_MATCHING");
  if (!pattern || !*pattern) return false;
  char link[64], path[PATH_MAX];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path - 1);
  if (n <= 0) return false;
  path[n] = '\0';
  return strstr(path, pattern) != nullptr;
}

[[noreturn]] void stall() {
  for (;;) pause();
}

template <class F>
F next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buf, size_t n) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  if (stalled(fd)) stall();
  return real(fd, buf, n);
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  if (stalled(fd)) stall();
  return real(fd, buf, n, at);
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t at) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (stalled(fd)) stall();
  return real(fd, buf, n, at);
}

}  // extern "C"
