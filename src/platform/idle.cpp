#include "platform/idle.hpp"

#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace korbast::platform {

namespace {
IdleClient* g_client = nullptr;

// Input already read from fd 0 into a buffer would not wake poll(). The program reads the
// keyboard through std::cin, which (unsynchronised with C's stdio) has a buffer of its own;
// C's stdin buffer is looked at too, for a reader that uses it.
bool stdin_has_buffered_input() {
  std::streambuf* buffer = std::cin.rdbuf();
  if (buffer != nullptr && buffer->in_avail() != 0) return true;  // lines, or a known end
#if defined(__GLIBC__)
  return stdin->_IO_read_ptr < stdin->_IO_read_end;
#else
  return false;
#endif
}
}  // namespace

void set_idle_client(IdleClient* client) { g_client = client; }
IdleClient* idle_client() { return g_client; }

void idle() {
  if (g_client) g_client->service();
}

void wait_console_readable(int fd, int wake_fd) {
  if (!g_client || fd < 0) return;
  if (fd == 0 && stdin_has_buffered_input()) {
    g_client->service();
    return;
  }
  for (;;) {
    g_client->service();
    if (!g_client) return;
    pollfd fds[3];
    fds[0] = {fd, POLLIN, 0};
    fds[1] = {wake_fd, POLLIN, 0};  // a negative descriptor is passed over by poll
    int n = 2;
    const int efd = g_client->event_fd();
    if (efd >= 0) {
      fds[2] = {efd, POLLIN, 0};
      n = 3;
    }
    // A timeout lets throttled copies of the page catch up even without events.
    const int r = poll(fds, static_cast<nfds_t>(n), 100);
    if (r < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;  // input, end of input or an error: the read decides
    if (fds[1].revents != 0) return;  // a stop: the reader ends the run
    if (n == 3 && (fds[2].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      g_client->service();  // the window side reports its lost connection
      if (g_client == nullptr || g_client->event_fd() < 0) return;
    }
  }
}

}  // namespace korbast::platform
