// The colour table of the plot: 13 colours, 0 the page background and 1..n the drawing
// colours.
// The settings modes are those of the attribute setters (plot/attributes.hpp).
#pragma once

#include <cstddef>
#include <span>

#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::plot {

// The whole table: 4 and 5 the default table, even modes its menu (and the file reader).
void scolortable(frame::Mode inter);
// The number of colours n (1..12; one colour makes a black-and-white plot).
void scolornb(int& n, frame::Mode inter);
// One entry: index 0..n, its name (any length; 8 characters are kept), red, green and blue
// in percent.
void scolorrgb(int& index, std::span<char> name, float& red, float& green, float& blue,
               frame::Mode inter);
template <std::size_t N>
void scolorrgb(int& index, frame::Text<N>& name, float& red, float& green, float& blue,
               frame::Mode inter) {
  scolorrgb(index, std::span<char>(name.data(), N), red, green, blue, inter);
}

// The unit the colour-table file is read on.
inline constexpr int kColorTableUnit = 20;

}  // namespace korbast::plot
