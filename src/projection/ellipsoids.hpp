// The reference ellipsoid of the map projections.
// The settings mode (frame::Mode) is last, as in the set-ups (projection/setups.hpp): 2 or 3
// start from the value held in the blocks, 4 or 5 from the default (printing the initialising
// lines), any other value from the caller's; an even mode shows the menu until 99, an odd
// mode is silent.
#pragma once

#include <span>
#include <string_view>

#include "frame/mode.hpp"

namespace korbast::projection {

// One built-in reference ellipsoid.
struct Ellipsoid {
  std::string_view menu_line;  // its line in the menu, ending in its number
  std::string_view title;      // the first line of its summary, printed in 20 characters
  float a;                     // equatorial radius, metres
  float b;                     // polar radius, metres
};

// The built-in ellipsoids in the order of their numbers (number n is element n - 1; 1 is
// GRS80). Their count is the table's size: the menu, the range of known numbers and the
// tests all follow it.
std::span<const Ellipsoid> ellipsoid_table();

// The reference ellipsoid, by its number in `ellipsoid_table`: writes its radii and constants
// into `ellipsoid` and prints its summary on every call. The number is kept for the next call.
void sellipsoid(int& iell, frame::Mode mode);

// The ellipsoid of equatorial radius a and polar radius b (metres) into `ellipsoid`: the radii
// and the constants derived from them, in single precision and in this order, without a
// dialog (sellipsoid applies its figures through it).
void set_ellipsoid_radii(float a, float b);

namespace detail {
// Forgets the ellipsoid number only (part of reset_setup_state in projection/setups.hpp).
void reset_ellipsoid_number();
}  // namespace detail

}  // namespace korbast::projection
