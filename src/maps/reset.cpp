#include "maps/reset.hpp"

#include "frame/reset.hpp"
#include "maps/grid.hpp"
#include "maps/lines.hpp"
#include "maps/mapseis.hpp"
#include "maps/points.hpp"
#include "maps/stress_symbols.hpp"

namespace korbast::maps {

void reset() {
  frame::reset_blocks(llgrid, contours_settings, mappoint_settings, mapshpar, mapseis_settings);
}

}  // namespace korbast::maps
