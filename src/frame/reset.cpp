#include "frame/reset.hpp"

#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/runinfo.hpp"

namespace korbast::frame {

void reset() {
  iocom = Iocom{};
  fiocom = Fiocom{};
  runinfocom = RunInfo{};
}

}  // namespace korbast::frame
