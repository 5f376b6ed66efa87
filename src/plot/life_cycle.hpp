// The plot window life cycle seen by the rest of the program: open, close, and the
// next-plot menu, guarded by the plot-open flag of iocom.
#pragma once

#include <string_view>

namespace korbast::plot {

// Opens the plot window (unless one is open) and sets up its page and plot attributes.
void plinit(std::string_view name, int idev);
// Closes the plot window (unless none is open), after its last page is written.
void plend();
// The next-plot menu: clear the page, close and open a new window, or draw on.
void newpage();

}  // namespace korbast::plot
