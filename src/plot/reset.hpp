// The plot subsystem's state as a whole.
#pragma once

namespace korbast::plot {

// Gives every global block of the subsystem its value at program start: the plot and text
// attributes, the window and its geometry, the running point with its buffers and the curve
// parameters. An open window is forgotten, not closed (its device stays with its owner), and
// the plot-open flag of iocom is the frame's: a fresh start, for the whole state at once.
void reset();

}  // namespace korbast::plot
