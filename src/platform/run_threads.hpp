// The run's own threads: starting one where the system may refuse it, the stops of the run
// (SIGSTOP, Ctrl-Z, a CPU limiter) as the waits of its threads see them, and what bounds a
// wait where no thread can be started to watch it.
#pragma once

#include <signal.h>
#include <time.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

namespace korbast::platform {

// Starts `body` on `thread` (not running one): 0, or the error number when the system starts
// no thread (EAGAIN under a low process limit, `ulimit -u`), `thread` left as it was. Never
// throws: a thread that cannot be started is the caller's to do without.
template <class Body>
int start_thread(std::thread& thread, Body&& body) {
  try {
    thread = std::thread(std::forward<Body>(body));
    return 0;
  } catch (const std::system_error& e) {
    return e.code().value() != 0 ? e.code().value() : EAGAIN;
  }
}

// Leaves a running thread to itself (detached) where the run stops waiting for it: it may wait
// for ever inside a library (an X server that does not answer, a write into a hung folder).
// Noted for the run's end, which then does not tear the libraries down under it.
void leave_behind(std::thread& thread);

// Whether the run left a thread behind (leave_behind).
bool left_behind();

// Keeps the signal that goes on with a stopped run (SIGCONT) for continued(): blocks it in
// the calling thread. Called at start-up, before any other thread is started, so that every
// thread blocks it: a thread that did not would take it (and ignore it). Blocked, it still
// goes on with the run; it only stays pending.
void keep_continue_signal();

// Whether the run was stopped and went on since the last call (a SIGCONT pending, taken
// here). The signal is pending before any thread of the run goes on, so a wait that looks
// right after it wakes knows whether the run was stopped during it. Always false where
// keep_continue_signal was not called at start-up. For one waiting thread at a time.
bool continued();

// Cuts short, every `period` while it lives, the system calls of the calling thread that a
// signal may interrupt (a write into a hung folder whose file system lets it be interrupted, a
// connection that waits): each returns EINTR (or what it did so far) at the next tick, and
// `on_tick` (when given) is called in the signal's handler first, so it must be safe there. A
// thread of its own is never needed, and no other thread is disturbed. The signal of the
// ticks is let through to the calling thread while it lives, also where the run started with
// it blocked (a parent that blocks it), and the thread's mask is given back after. Where the
// system gives no timer, nothing is cut short. One at a time in the run.
class Interrupter {
 public:
  explicit Interrupter(std::chrono::nanoseconds period, void (*on_tick)() = nullptr);
  ~Interrupter();
  Interrupter(const Interrupter&) = delete;
  Interrupter& operator=(const Interrupter&) = delete;

 private:
  timer_t timer_{};
  bool armed_ = false;
  sigset_t mask_{};  // the calling thread's mask before
};

}  // namespace korbast::platform
