// A stalled or slow file system, and another user of the folder, for whole-program runs:
// preloaded (LD_PRELOAD), it makes every write(), pwrite() and pwrite64() into a file whose
// path holds the text in the environment variable STALL_WRITES_MATCHING wait for ever (until
// the process ends, or a signal it catches cuts the call short: EINTR, unless
// STALL_WRITES_HARD is set), as a write to a hung network folder does; with STALL_WRITES_IN_READ
// it waits instead in read() on a timer, a call that a signal handler installed with SA_RESTART
// restarts (pause() returns on any signal), and with STALL_WRITES_BACK_AFTER=N it waits there
// only until N seconds (a fraction too) after the first such write, when the folder is back;
// with STALL_WRITES_SECONDS, each such write waits that many seconds of the run's time (a
// fraction too) and goes on, and with STALL_WRITES_BYTES it takes at most that many bytes, as
// a slow folder does; with STALL_WRITES_CUT as well, a signal the process catches gives the
// write up with no byte (EINTR), and the next call takes its whole time again, as a FUSE
// folder may. With PLANT_AT_RENAME, a rename() whose source path holds that text finds another
// file there: the source is removed and a link to PLANT_LINK_TO put in its place just before
// the rename, as another user who can write the folder may do. With THREADS_THAT_START=N, only
// the first N threads the process starts are started; pthread_create fails with EAGAIN after
// them, as under a low process limit (`ulimit -u`). Every other call goes through as usual.
// Under AddressSanitizer the run needs ASAN_OPTIONS=verify_asan_link_order=0 (this library
// comes before its runtime).
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/timerfd.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

namespace {

// Whether the text of environment variable `name` is set and found in `path`.
bool holds(const char* path, const char* name) {
  const char* text = getenv(name);
  return text && *text && strstr(path, text) != nullptr;
}

// Whether fd is a file whose path holds the pattern.
bool stalled(int fd) {
  char link[64], path[PATH_MAX];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path - 1);
  if (n <= 0) return false;
  path[n] = '\0';
  return holds(path, "STALL_WRITES_MATCHING");
}

// Waits in read() on a timer that ends `back` seconds after the first call (never without
// them): n, or -1 with EINTR when a signal cut the wait short.
ssize_t stall_in_read(const char* back, size_t n) {
  static timespec until{-1, 0};
  const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
  if (back && *back) {
    if (until.tv_sec < 0 && clock_gettime(CLOCK_MONOTONIC, &until) == 0) {
      const long long ns = until.tv_nsec + llround(atof(back) * 1e9);
      until.tv_sec += static_cast<time_t>(ns / 1000000000);
      until.tv_nsec = static_cast<long>(ns % 1000000000);
    }
    const itimerspec at{{0, 0}, until};
    timerfd_settime(timer, TFD_TIMER_ABSTIME, &at, nullptr);
  }
  uint64_t ticks = 0;
  const bool cut = read(timer, &ticks, sizeof ticks) < 0;
  close(timer);
  errno = EINTR;
  return cut ? -1 : static_cast<ssize_t>(n);
}

// Waits as the folder does: for ever, or STALL_WRITES_SECONDS; the bytes a call takes then,
// or -1 with EINTR when a signal cut it short.
ssize_t stall(size_t n) {
  const char* back = getenv("STALL_WRITES_BACK_AFTER");
  if (getenv("STALL_WRITES_IN_READ") || (back && *back)) return stall_in_read(back, n);
  const char* seconds = getenv("STALL_WRITES_SECONDS");
  if (!seconds || !*seconds) {
    do pause();
    while (getenv("STALL_WRITES_HARD"));
    errno = EINTR;
    return -1;
  }
  // In steps of 10 ms: time the process is stopped (SIGSTOP) does not count, as for a folder
  // that takes its time while the run runs.
  for (long step = lround(atof(seconds) * 100); step > 0; --step) {
    timespec left{0, 10000000};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
      if (getenv("STALL_WRITES_CUT")) return -1;
    }
  }
  const char* bytes = getenv("STALL_WRITES_BYTES");
  const size_t most = bytes && *bytes ? strtoul(bytes, nullptr, 10) : 0;
  return static_cast<ssize_t>(most > 0 && n > most ? most : n);
}

template <class F>
F next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buf, size_t n) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  if (stalled(fd) && (n = stall(n)) == static_cast<size_t>(-1)) return -1;
  return real(fd, buf, n);
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  if (stalled(fd) && (n = stall(n)) == static_cast<size_t>(-1)) return -1;
  return real(fd, buf, n, at);
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t at) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (stalled(fd) && (n = stall(n)) == static_cast<size_t>(-1)) return -1;
  return real(fd, buf, n, at);
}

int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*body)(void*), void* arg) {
  static const auto real = next<int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*)>(
      "pthread_create");
  static long started = 0;  // threads started so far
  const char* most = getenv("THREADS_THAT_START");
  if (most && *most && __atomic_fetch_add(&started, 1, __ATOMIC_SEQ_CST) >= atol(most)) return EAGAIN;
  return real(thread, attr, body, arg);
}

int rename(const char* from, const char* to) {
  static const auto real = next<int (*)(const char*, const char*)>("rename");
  if (holds(from, "PLANT_AT_RENAME")) {
    unlink(from);
    const char* target = getenv("PLANT_LINK_TO");
    if (target && symlink(target, from) != 0) perror("PLANT_AT_RENAME");
  }
  return real(from, to);
}

}  // extern "C"
