// The frame's global blocks as a whole.
#pragma once

namespace korbast::frame {

// Gives the frame's global blocks their value at program start: the console settings and
// plot-open flag (iocom), the file table (fiocom) and the run information. The unit table
// is left as it is: its open units belong to whoever opened them.
void reset();

// Gives each block its value at program start (a value-initialised block of its type): how
// every subsystem's reset sets its blocks.
template <class... Blocks>
void reset_blocks(Blocks&... blocks) {
  ((blocks = Blocks{}), ...);
}

}  // namespace korbast::frame
