#include "maps/reset.hpp"

#include "maps/grid.hpp"
#include "maps/lines.hpp"
#include "maps/mapseis.hpp"
#include "maps/points.hpp"
#include "maps/stress_symbols.hpp"

namespace korbast::maps {

void reset() {
  llgrid = Llgrid{};
  contours_settings = ContoursSettings{};
  mappoint_settings = MappointSettings{};
  mapshpar = Mapshpar{};
  mapseis_settings = MapseisSettings{};
}

}  // namespace korbast::maps
