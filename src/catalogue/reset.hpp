// The catalogue subsystem's state as a whole.
#pragma once

namespace korbast::catalogue {

// Gives every global block of the subsystem its value at program start: the event store
// (emptied in place, it is too large for a copy on the stack), the reader's settings and the
// extraction criteria.
void reset();

}  // namespace korbast::catalogue
