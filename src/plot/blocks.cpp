// The global blocks of the plot library: zero (and blank texts) at program start.
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"

namespace korbast::plot {

Plt1blk plt1blk;
Plt2blk plt2blk;
Pltcharblk pltcharblk;

}  // namespace korbast::plot
