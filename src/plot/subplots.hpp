// The subplots of the page and the captions placed in centimetres on it.
#pragma once

#include <string_view>

#include "frame/mode.hpp"

namespace korbast::plot {

// Makes isub (1..35) the current subplot in a settings mode: 2 and 3 keep the current one,
// 4 to 7 select subplot 1 with an initialising line; even modes show the subplot box. A
// number outside 1..35 is reported and, when the run goes on, subplot 1 is selected. Nothing
// is derived: the subplot's transforms are used as they stand.
void ssubplot(int& isub, frame::Mode inter);
// The plain accessors: a valid number is made current at once (the setter above stores through
// it); one outside 1..35 gets the setter's report.

// Makes subplot isub current.
void set_subplot(int isub);
// The current subplot.
int subplot();
// The text at the page point (x, y) cm, with the current text attributes.
void cmtext2(float x, float y, std::string_view text);
// The text as caption line `line` (from 1) of a block whose first line stands at (x, y) cm,
// at half the current text size; lines go down the page 1.5 half-size heights apart.
void cmplotcharinfo0(std::string_view text, int line, float x, float y, frame::Mode inter);
// The three run-information lines (main program, plotting routine, system, date and time),
// the first at (x, y) cm, at half the current text size.
void cmplotruninfo0(float x, float y, frame::Mode inter);

}  // namespace korbast::plot
