// The symbol type and size of the plot.
// The settings modes are those of the attribute setters (plot/attributes.hpp).
#pragma once

#include "frame/mode.hpp"

namespace korbast::plot {

// Symbol diameter in cm (default 0.4); no value is refused.
void ssymbolsize(float& size, frame::Mode mode);
// Symbol type code (default 1); no value is refused. Besides 0..5: 102 shows the type table
// only (asking nothing), 200 asks for a code and returns it without storing it.
void ssymboltype(int& itype, frame::Mode mode);

// Plain accessors, as those of plot/attributes.hpp.

// Sets the symbol diameter in cm.
void set_symbol_size(float cm);
// Sets the symbol type code.
void set_symbol_type(int itype);
// The symbol diameter in cm.
float symbol_size();
// The symbol type code.
int symbol_type();

}  // namespace korbast::plot
