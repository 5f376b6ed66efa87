// Point symbols: the current symbol type and size of the attribute block drawn centred at
// points given in the user units of the current subplot. Only the centres go through the
// user transform; the shape is built in device pixels, so it keeps its form and size (the
// diameter in cm on the page) whatever the scaling of the subplot.
#pragma once

namespace korbast::plot {

// Symbol codes (negative: the closed outline is filled): 3..9 regular polygons with a vertex
// upwards, 10 a dot, 11 a horizontal bar, 12 a vertical bar, 13 a plus, 14 a cross, 15 a
// six-pointed star, 16 and 17 three and five rays, 20..23 a circle with a dot, a horizontal
// bar, a vertical bar or a plus, 40 a square with horizontal sides; every other code a circle.
void ussymbol(const float* x, const float* y, int n);

}  // namespace korbast::plot
