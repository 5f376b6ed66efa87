#include "frame/reset.hpp"

#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/runinfo.hpp"

namespace korbast::frame {

void reset() { reset_blocks(iocom, fiocom, runinfocom); }

}  // namespace korbast::frame
