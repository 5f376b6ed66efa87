// The plot window life cycle seen by the rest of the program: open, close, and the
// next-plot menu, guarded by the plot-open flag of iocom.
#pragma once

#include <string_view>

namespace korbast::plot {

void plinit(std::string_view name, int idev);
void plend();
void newpage();

}  // namespace korbast::plot
