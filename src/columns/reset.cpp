#include "columns/reset.hpp"

#include "columns/readrealsetup.hpp"

namespace korbast::columns {

void reset() { readrealsetup = Readrealsetup{}; }

}  // namespace korbast::columns
