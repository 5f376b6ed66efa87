// The focal subsystem's state as a whole.
#pragma once

namespace korbast::focal {

// Gives every global block of the subsystem its value at program start: the stereonet type
// and parameters, the stereonet frame, the great-circle and axis-symbol settings and the
// beach-ball settings.
void reset();

}  // namespace korbast::focal
