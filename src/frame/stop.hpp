// Stops by a signal. SIGINT, SIGTERM, SIGHUP and SIGQUIT end the run as the end of input
// does, through the common stop path (units::stop_run): the open plot pages are finished
// and written, every output file is flushed and closed with its write checked, the console
// says what was written, and the run ends with the signal.
//
// No signal handler runs program code: the stop signals are blocked in every thread, and a
// watcher thread takes them (sigwait). It notes the stop and makes the wake descriptor
// readable; the main thread ends the run at its next safe point: a read or write of a unit,
// or a wait on the keyboard (which watches the wake descriptor). The watcher bounds the end:
// a second signal, or an end not done within a few seconds of the first signal, ends the run
// at once. Output files are at a complete line even then: the units only send whole lines.
#pragma once

#include <atomic>

namespace korbast::frame::stop {

// At start-up, before any thread is started (threads inherit the blocked signals) and before
// any file is opened: opens standard input, output and error on /dev/null where they are
// closed, blocks the stop signals (one the caller ignores stays ignored), ignores SIGXFSZ
// and SIGPIPE (a file size limit and a console pipe closed by its reader are failed writes,
// reported as such), keeps SIGCONT pending for the page writer's waits
// (platform::keep_continue_signal), starts the watcher and reads the keyboard through a
// reader that wakes at a stop and stays at its end once the input ended. Once per process.
// Where the system starts no watcher thread (a process limit reached), that is said once on
// the standard error and the stop signals are unblocked: they end the run at once by their
// default action, and the run goes on.
void install();

// The signal that asked for the stop, 0 while none did.
int requested();

// Readable once a stop was asked for (-1 before install()).
int wake_fd();

// Ends the run through the common stop path when a stop was asked for: in the main thread
// only, and only once.
void act();
// The stop signal noted by the watcher (0: none).
extern std::atomic<int> g_requested;
// A safe point of the main thread: a stop asked for ends the run here. Does nothing in other
// threads and once the run is ending.
inline void safe_point() {
  if (g_requested.load(std::memory_order_relaxed) != 0) act();
}

// The run is ending (the stop path has started): safe points no longer act.
void ending();

// A console write failed (a closed pipe, a full device): in the main thread and outside the
// stop path the run ends here, through the common stop path with status 1; elsewhere nothing
// is done (the stop path's own lines to a lost console just fail).
void console_failed();

// Ends the process by the signal, with its default action (no core file for SIGQUIT).
[[noreturn]] void end_by_signal(int sig);

}  // namespace korbast::frame::stop
