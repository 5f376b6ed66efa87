#include "focal/reset.hpp"

#include "focal/axissymbols.hpp"
#include "focal/beachball.hpp"
#include "focal/greatcircles.hpp"
#include "focal/stereoframe.hpp"
#include "focal/stereonet.hpp"

namespace korbast::focal {

void reset() {
  sprojtype = Sprojtype{};
  schmidtparams = Schmidtparams{};
  wulfparams = Wulfparams{};
  stefram2 = Stefram2{};
  dspgcbk = Dspgcbk{};
  dspaxbk = Dspaxbk{};
  fpsbchbll_settings = BeachBallSettings{};
}

}  // namespace korbast::focal
