// Point symbols: the current symbol type and size of the attribute block drawn centred at
// points given in the user units of the current subplot. Only the centres go through the
// user transform; the shape is built in device pixels, so it keeps its form and size (the
// diameter in cm on the page) whatever the scaling of the subplot.
#pragma once

#include <span>
#include <string_view>

namespace korbast::plot {

// The shapes a symbol code draws.
enum class SymbolShape {
  Polygon,      // a regular polygon of as many vertices as the code, a vertex upwards
  Dot,          // a segment of no length at the centre
  Bars,         // a horizontal bar (11), a vertical one (12) or both, a plus (13)
  Cross,        // an x
  Star,         // three bars through the centre, a six-pointed star
  Rays,         // three (16) or five (17) rays from the centre
  CircleMarks,  // a circle with a dot (20), a horizontal bar (21), a vertical one (22), a plus
  Square,       // a square with horizontal sides
  Circle,       // the circle, also drawn by every code not listed
};

// A code of the symbol type table: the shape it draws and its line in the type menu. The
// table holds codes without sign; a negative code draws the same shape, its closed outline
// filled.
struct SymbolType {
  int code;
  SymbolShape shape;
  std::string_view line;
};

// The symbol type table in code order: what ussymbol draws and what the type menu lists
// (ssymboltype, plot/symboltype.hpp).
std::span<const SymbolType> symbol_types();

// Draws the current symbol at the n points (x, y).
void ussymbol(const float* x, const float* y, int n);

}  // namespace korbast::plot
