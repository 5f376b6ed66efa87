// Plot attribute settings reached from the main program and the window opening.
#pragma once

namespace korbast::plot {

// The plot attributes: mode 0 the menu, 4..9 the initialisations (7 at a window opening).
void splotparam2(int mode);
// The polygon fill style (0 hollow, 1 filled) in a settings mode.
void sfillstyle(int& style, int mode);
// The colour table in a settings mode (5 at start-up).
void scolortable(int mode);
// The symbol size in cm in a settings mode (5 at start-up).
void ssymbolsize(float& size, int mode);

}  // namespace korbast::plot
