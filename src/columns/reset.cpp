#include "columns/reset.hpp"

#include "columns/readrealsetup.hpp"
#include "frame/reset.hpp"

namespace korbast::columns {

void reset() { frame::reset_blocks(readrealsetup); }

}  // namespace korbast::columns
