// The maps subsystem's state as a whole.
#pragma once

namespace korbast::maps {

// Gives every global block of the subsystem its value at program start: the grid, the map
// line files, the point layer, the stress symbols and the map driver's settings.
void reset();

}  // namespace korbast::maps
