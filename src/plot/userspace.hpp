// Drawing in the user units of the current subplot: polylines, pen steps, polygons, arrows
// and texts. Point lists are copied in chunks of at most 501 points into the device point
// buffer, converted there to device pixels and drawn from there; the caller's arrays are only
// read.
#pragma once

#include <string_view>

namespace korbast::plot {

constexpr int kPlotBuffer = 501;

// The device point buffer: user units while being filled, device pixels once converted.
// It holds nothing between calls.
struct Pltbuff1 {
  float xdevbuff[kPlotBuffer] = {};
  float ydevbuff[kPlotBuffer] = {};
};
extern Pltbuff1 pltbuff1;

// Copies the chunk of x, y (nx points) that starts at point `is` (from 1) into xb, yb: at most
// nbmax points, nb of them. On return `is` is the chunk's last point, where the next chunk
// starts. A start past the end is reported and changes nothing.
void buffer2(float* xb, float* yb, int nbmax, int& nb, const float* x, const float* y, int nx,
             int& is);

// The polyline through points 1..n.
void usline(const float* x, const float* y, int n);
// One pen step: ipen 0 moves to the point, 1 draws to it.
void usplot(float x, float y, int ipen);
// The closed polygon through points 1..n (drawn in pieces of 501 vertices, with a warning,
// when it has more).
void uspolygon(const float* x, const float* y, int n);
// n arrows from (x1, y1) to (x2, y2): the shaft and an outlined head.
void usarrow1(const float* x1, const float* y1, const float* x2, const float* y2, int n);
// A drawing repeated at many places, placed by the user point (x, y), drawn between the two
// calls: the device may keep it once (deshared_begin; `blank`: it lies on blank paper).
void usshared_begin(float x, float y, bool blank);
// The end of the repeated drawing begun by usshared_begin.
void usshared_end();
// The text at the point, with the current text attributes.
void ustext2(float x, float y, std::string_view text);

}  // namespace korbast::plot
