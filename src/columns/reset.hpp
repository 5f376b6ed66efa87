// The column reader's state as a whole.
#pragma once

namespace korbast::columns {

// Gives the column reader's settings (readrealsetup) their value at program start.
void reset();

}  // namespace korbast::columns
