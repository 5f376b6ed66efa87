#include "plot/reset.hpp"

#include "frame/reset.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/userspace.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

void reset() {
  frame::reset_blocks(plt1blk, plt2blk, pltcharblk, view, windevsize, pltbuff1, ptblock, cc2dbuff,
                      cc3dbuff, plevblock, pfixblock);
}

}  // namespace korbast::plot
