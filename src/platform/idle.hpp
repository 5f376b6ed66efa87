// Keeping a shown plot window alive while the program waits on the console.
//
// A blocking read of the keyboard cannot repaint a window. The console reader therefore
// calls wait_console_readable(fd) before each blocking read of the keyboard: with no window
// shown it returns at once; with one shown it services the window's events (exposure,
// pending copies, the ignored close button) until the keyboard has input, an end or an
// error to report. Reads from files never block and need no call.
#pragma once

namespace korbast::platform {

// A shown window that needs servicing while the program waits.
class IdleClient {
 public:
  virtual ~IdleClient() = default;
  // The descriptor that becomes readable when the window has events; -1 when none.
  virtual int event_fd() = 0;
  // Handles whatever is pending (events, a late copy of the page); never blocks.
  virtual void service() = 0;
};

// The window device registers its shown window here, and removes it (nullptr) when the
// window goes.
void set_idle_client(IdleClient* client);
// The shown window registered, or null.
IdleClient* idle_client();

// Services the shown window once, without waiting.
void idle();

// Waits until fd has input (or end or error), servicing the shown window meanwhile. Returns
// at once when no window is shown, or when fd is 0 and the process's standard input already
// holds buffered input (in std::cin's buffer or in C's stdin buffer). Returns too when
// wake_fd (if not -1) is readable: the run is asked to stop.
void wait_console_readable(int fd, int wake_fd = -1);

}  // namespace korbast::platform
