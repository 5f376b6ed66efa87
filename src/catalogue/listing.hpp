// The console listing of the stored events: date, latitude, longitude and region of events
// 1 to nstored in a framed table. The main menu and the catalogue writer share it, each
// opening it with its own head frame and naming itself in the warning frame.
#pragma once

#include "frame/frames.hpp"

namespace korbast::catalogue {

using HeadFrame = void (*)(const frame::Identity& id);

// Lists the stored events on the console in a framed table.
// head is called with the caller's identity first (mainmenuhead from the main menu,
// submenuhead from the writer); command is the number shown in the warning for a data type
// without listing (nothing stored), after which the command, which did nothing, is a refused
// answer.
void list_events(HeadFrame head, const frame::Identity& caller, int command);

}  // namespace korbast::catalogue
