#include "frame/stop.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>
#include <thread>

#include "frame/frames.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "platform/run_threads.hpp"

namespace korbast::frame::stop {

std::atomic<int> g_requested{0};

namespace {

// How long the orderly end may take from the first signal before the run ends at once.
constexpr auto kEndBound = std::chrono::seconds(6);

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

sigset_t g_set;          // the stop signals taken by the watcher
int g_wake[2] = {-1, -1};
std::thread::id g_main;
bool g_ending = false;   // main thread only

std::string signal_name(int sig) {
  switch (sig) {
    case SIGINT: return "SIGINT (INTERRUPT)";
    case SIGTERM: return "SIGTERM (TERMINATE)";
    case SIGHUP: return "SIGHUP (HANG UP)";
    case SIGQUIT: return "SIGQUIT (QUIT)";
    default: return "SIGNAL " + std::to_string(sig);
  }
}

void say_now(const char* text) {
  const std::size_t n = std::char_traits<char>::length(text);
  if (::write(2, text, n) < 0) {
  }
}

// Takes the stop signals. The first is noted for the main thread, which ends the run; a
// second one, or the end of the bound, ends it at once.
void watch() {
  int sig = 0;
  while (sigwait(&g_set, &sig) != 0) {
  }
  g_requested.store(sig);
  const char b = 1;
  if (::write(g_wake[1], &b, 1) < 0) {
  }
  const auto deadline = std::chrono::steady_clock::now() + kEndBound;
  for (;;) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
      say_now("korbast: the end of the run takes too long: ending at once\n");
      break;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    timespec t{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    const int again = sigtimedwait(&g_set, nullptr, &t);
    if (again > 0) {
      say_now("korbast: second signal: ending at once\n");
      break;
    }
    if (errno != EINTR && errno != EAGAIN) break;
  }
  end_by_signal(sig);
}

// The keyboard when it is the process's standard input: bytes as they come (a terminal gives
// a line at a time), a wait that wakes at a stop, and an end that stays: once a read found
// the end (Ctrl-D at a terminal), nothing typed later is taken.
class KeyboardBuffer : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (ended_) return traits_type::eof();
    for (;;) {
      safe_point();
      pollfd fds[2] = {{0, POLLIN, 0}, {g_wake[0], POLLIN, 0}};
      const int r = ::poll(fds, 2, -1);
      if (r < 0 && errno == EINTR) continue;
      if (r < 0) break;
      if (fds[1].revents != 0) {
        safe_point();
        break;  // the run is ending already: the keyboard has nothing more to give
      }
      if (fds[0].revents == 0) continue;
      const ssize_t n = ::read(0, buffer_, sizeof buffer_);
      if (n > 0) {
        setg(buffer_, buffer_, buffer_ + n);
        return traits_type::to_int_type(*gptr());
      }
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      break;  // the end, or an input that failed
    }
    ended_ = true;
    return traits_type::eof();
  }
  std::streamsize showmanyc() override { return ended_ ? -1 : 0; }

 private:
  char buffer_[4096];
  bool ended_ = false;
};

// Standard input, output and error found closed are opened on /dev/null: a closed input is
// then an end of input and a closed output takes what is written, and no descriptor the run
// opens later (the wake pipe, a file) takes their numbers.
void open_closed_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    int opened = -1;
    do opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    while (opened < 0 && errno == EINTR);
    if (opened < 0) continue;
    // The lowest free number: fd itself, as the lower ones are open by now.
    if (opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

}  // namespace

void install() {
  static bool done = false;
  if (done) return;
  done = true;
  open_closed_standard_descriptors();
  // A file size limit is a failed write and a console pipe closed by its reader a failed
  // console write, each reported as such, never an end by their signal.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  g_main = std::this_thread::get_id();
  if (pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_wake[0] = g_wake[1] = -1;
    return;
  }
  sigemptyset(&g_set);
  for (int sig : kStopSignals) {
    struct sigaction old {};
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaddset(&g_set, sig);
  }
  pthread_sigmask(SIG_BLOCK, &g_set, nullptr);
  // Kept pending for the page writer's waits, which count no time the run was stopped.
  platform::keep_continue_signal();
  std::thread watcher;
  if (const int e = platform::start_thread(watcher, watch); e != 0) {
    // No watcher (a process limit reached): the stop signals act as on any program, and the
    // run goes on.
    pthread_sigmask(SIG_UNBLOCK, &g_set, nullptr);
    const std::string told = std::string("korbast: no thread to watch for stops (") +
                             std::strerror(e) +
                             "): a stop signal ends the run at once, without writing its pages\n";
    say_now(told.c_str());
  } else {
    watcher.detach();
  }
  static KeyboardBuffer keyboard;
  std::cin.rdbuf(&keyboard);
}

int requested() { return g_requested.load(); }

int wake_fd() { return g_wake[0]; }

void ending() {
  if (std::this_thread::get_id() == g_main) g_ending = true;
}

void console_failed() {
  if (g_ending || std::this_thread::get_id() != g_main) return;
  units::stop_run(1);
}

void act() {
  const int sig = g_requested.load();
  if (sig == 0 || g_ending || std::this_thread::get_id() != g_main) return;
  g_ending = true;
  const int out = iocom.stdout_unit;
  errorhead(Identity{"korbast", "", ""});
  units::write_line(out, " STOPPED BY " + signal_name(sig));
  units::write_line(out, " ===> WRITING THE OPEN FILES AND STOPPING EXECUTION");
  units::write_line(iocom.errout_unit, rule_line('*'));
  units::stop_run(128 + sig);
}

void end_by_signal(int sig) {
  std::fflush(nullptr);
  if (sig == SIGQUIT) {
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
  }
  std::signal(sig, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, sig);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  raise(sig);
  _exit(128 + sig);
}

}  // namespace korbast::frame::stop
