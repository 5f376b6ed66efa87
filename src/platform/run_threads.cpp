#include "platform/run_threads.hpp"

#include <pthread.h>
#include <signal.h>

namespace korbast::platform {

namespace {

sigset_t continue_signal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGCONT);
  return set;
}

}  // namespace

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

}  // namespace korbast::platform
