// The frame's global blocks as a whole.
#pragma once

namespace korbast::frame {

// Gives the frame's global blocks their value at program start: the console settings and
// plot-open flag (iocom), the file table (fiocom) and the run information. The unit table
// is left as it is: its open units belong to whoever opened them.
void reset();

}  // namespace korbast::frame
