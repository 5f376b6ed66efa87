#include "focal/reset.hpp"

#include "focal/axissymbols.hpp"
#include "focal/beachball.hpp"
#include "focal/greatcircles.hpp"
#include "focal/stereoframe.hpp"
#include "focal/stereonet.hpp"
#include "frame/reset.hpp"

namespace korbast::focal {

void reset() {
  frame::reset_blocks(sprojtype, schmidtparams, wulfparams, stefram2, dspgcbk, dspaxbk,
                      fpsbchbll_settings);
}

}  // namespace korbast::focal
