#include "plot/reset.hpp"

#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/userspace.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

void reset() {
  plt1blk = Plt1blk{};
  plt2blk = Plt2blk{};
  pltcharblk = Pltcharblk{};
  view = View{};
  windevsize = Windevsize{};
  pltbuff1 = Pltbuff1{};
  ptblock = Ptblock{};
  cc2dbuff = Cc2dbuff{};
  cc3dbuff = Cc3dbuff{};
  plevblock = Plevblock{};
  pfixblock = Pfixblock{};
}

}  // namespace korbast::plot
