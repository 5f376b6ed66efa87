// The dialog's own look at the X display's screen, where no thread for the window can be
// started: the display named by DISPLAY reached as xcb reaches it (its socket, the cookie of
// the authority file), asked for its screen's size and let go again, within a bound.
#pragma once

#include <chrono>

#include "platform/canvas.hpp"

namespace korbast::pages {

// The size of the display's screen, looked at on the calling thread, so that the pages are as
// large as with a window shown: a connection made and closed again within `bound` (its socket,
// made here and known by its number, shut then, where the system gives a timer:
// platform::Interrupter); an empty rectangle when no display answers.
platform::ScreenRect screen_here(std::chrono::nanoseconds bound);

}  // namespace korbast::pages
