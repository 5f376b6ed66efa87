// The plot window life cycle seen by the rest of the program: open, close, and the
// next-plot menu, guarded by the plot-open flag of iocom.
#pragma once

#include <string_view>

namespace korbast::plot {

// Opens the plot window (unless one is open) and sets up its page and plot attributes.
void plinit(std::string_view name, int idev);
// Closes the plot window, after its last page is written; with none open, a warning says so
// and the choice that asked for it is a refused answer.
void plend();
// The next-plot menu: clear the page, close and open a new window, or draw on.
void newpage();

// The plot-window step of a menu, after its answer is read: 20 closes the window, 10 opens
// it under plotname (an open window gets plinit's warning), and draw (the answer that runs
// the drawing, 0 for none) turns to a new page of the open window or opens one. A window
// opened here is set to filled shapes when filled is set. Other answers do nothing. True
// when the step opened the window.
bool window_step(int choice, std::string_view plotname, int draw, bool filled);

}  // namespace korbast::plot
