// The console listing of the stored events: date, latitude, longitude and region of events
// 1 to nstored in a framed table. The main menu and the catalogue writer share it, each
// opening it with its own head frame and naming itself in the warning frame.
#pragma once

#include <string_view>

namespace korbast::catalogue {

using HeadFrame = void (*)(std::string_view name, std::string_view version,
                           std::string_view date);

// Lists the stored events on the console in a framed table.
// head is called with the identity first (mainmenuhead from the main menu, submenuhead from
// the writer); command is the number shown in the warning for a data type without listing.
void list_events(HeadFrame head, std::string_view name, std::string_view version,
                 std::string_view date, int command);

}  // namespace korbast::catalogue
