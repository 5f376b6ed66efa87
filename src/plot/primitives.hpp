// The device drawing primitives: everything the plot library draws ends here as a pen step,
// a polyline, a dot, a polygon or a text in device pixels (origin at the lower-left corner of
// the window content, y upwards), with the attributes of plt2blk as they stand at the call.
// With no plot window open they do nothing.
#pragma once

#include <string_view>

namespace korbast::plot {

// One pen step: ipen 0 moves (starting a new path), 1 draws a segment; other codes warn.
void deplot(float x, float y, int ipen);
// The open polyline through points 1..n (arrays hold at least one point). Its line ends are
// plain: one point (or none) leaves no ink.
void deline(const float* x, const float* y, int n);
// A dot at the point (the point symbols): the segment of length 0 from the point to itself,
// stroked with round line ends, so that it shows as a disc as wide as the line.
void dedot(float x, float y);
// The closed polygon through points 1..n: outline in the line colour, interior in the fill
// colour when the fill style is not 0.
void depolygon(const float* x, const float* y, int n);
// The text at the point, with the current text colour, size, alignment and angle.
void detext2(float x, float y, std::string_view text);
// A drawing repeated at many places, placed by the point (x, y): the device may keep it once
// (platform::Canvas::shared_begin).
void deshared_begin(float x, float y, bool blank);
// Ends the repeated drawing that deshared_begin started.
void deshared_end();
// Line width in pixels, at least 1.
void intslinewidth(float w);
// Font size for a text height of h cm at the current page scale.
void intstextsize(float h);

}  // namespace korbast::plot
