#include "platform/run_threads.hpp"

#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace korbast::platform {

namespace {

sigset_t continue_signal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGCONT);
  return set;
}

// The signal of the Interrupter's ticks, and what its handler calls.
const int kTickSignal = SIGALRM;
std::atomic<void (*)()> g_on_tick{nullptr};

void on_tick_signal(int) {
  const int saved = errno;
  if (auto* f = g_on_tick.load()) f();
  errno = saved;
}

std::atomic<bool> g_left_behind{false};

}  // namespace

void leave_behind(std::thread& thread) {
  g_left_behind = true;
  thread.detach();
}

bool left_behind() { return g_left_behind.load(); }

void keep_continue_signal() {
  const sigset_t set = continue_signal();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool continued() {
  const sigset_t set = continue_signal();
  const timespec now{0, 0};
  bool was = false;
  while (sigtimedwait(&set, nullptr, &now) == SIGCONT) was = true;
  return was;
}

Interrupter::Interrupter(std::chrono::nanoseconds period, void (*on_tick)()) {
  // The handler, without SA_RESTART: a call it cuts short returns EINTR instead of going on.
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction sa {};
    sa.sa_handler = on_tick_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(kTickSignal, &sa, nullptr);
  });
  g_on_tick = on_tick;
  sigevent ev{};
  ev.sigev_notify = SIGEV_THREAD_ID;
  ev.sigev_signo = kTickSignal;
  ev._sigev_un._tid = static_cast<pid_t>(syscall(SYS_gettid));  // this thread's ticks only
  if (timer_create(CLOCK_MONOTONIC, &ev, &timer_) != 0) return;
  armed_ = true;
  sigset_t tick;
  sigemptyset(&tick);
  sigaddset(&tick, kTickSignal);
  pthread_sigmask(SIG_UNBLOCK, &tick, &mask_);
  const auto s = std::chrono::duration_cast<std::chrono::seconds>(period);
  const timespec every{static_cast<time_t>(s.count()), static_cast<long>((period - s).count())};
  const itimerspec ticks{every, every};
  timer_settime(timer_, 0, &ticks, nullptr);
}

Interrupter::~Interrupter() {
  if (armed_) {
    timer_delete(timer_);  // a tick still pending is taken by the handler, the signal let through
    pthread_sigmask(SIG_SETMASK, &mask_, nullptr);
  }
  g_on_tick = nullptr;
}

}  // namespace korbast::platform
