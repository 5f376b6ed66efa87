// The console editor of the oblique-frame matrix. Matrices are stored as in
// projection/geometry.hpp (column by column).
#pragma once

#include "frame/mode.hpp"

namespace korbast::projection {

// Edits the oblique-frame matrix aba(3,3) by settings mode and stores it into `a2b.ab`:
// 2/3 start from `ab`, 4/5 from the identity (with the initialising lines), other modes from
// the caller's aba; an even mode shows the element menu until 99.
void smatab33(float* aba, frame::Mode mode);

}  // namespace korbast::projection
