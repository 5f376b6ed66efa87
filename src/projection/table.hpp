// The table of the 25 map projections: for each code its menu line, its information lines,
// the set-ups it asks for, the set-up of its derived constants, its projection routine and its
// flags. The selection menu, the dispatcher and the tests all read it. A new projection is its
// model and its routine (with the set-up of its constants, if any) in a formula file, one line
// here, and, if it derives constants, their named set in `DerivedBlock` (projection/state.hpp).
#pragma once

#include <array>
#include <string_view>

#include "projection/forward.hpp"

namespace korbast::projection {

// The six groups of the selection menu, in its order.
enum class Group {
  spherical_conformal,
  spherical_equivalent,
  spherical_others,
  ellipsoidal_conformal,
  ellipsoidal_equivalent,
  ellipsoidal_others,
};
inline constexpr int kGroups = 6;

// The set-up steps a projection asks for after its choice, in their order (the selection menu
// runs them).
enum class Step {
  none,
  long1,            // central longitude
  long2_east,       // second longitude, starting 2 degrees east of the central one
  conic_parallels,  // two standard parallels of a Lambert conic (none at a pole, not opposite)
  sheet_parallels,  // two different bounding parallels of a sheet
  lat1,             // first latitude
  angle,            // maximum angle from the centre
  view_angle,       // angle of view, strictly between 0 and 180 degrees
  oblique,          // centre of the oblique frame
};

struct ProjectionEntry {
  int code;
  Group group;
  std::string_view menu;                     // its line in the selection menu
  std::array<std::string_view, 7> information;  // printed after the choice; empty ones end it
  std::array<Step, 3> steps;
  void (*constants)();  // set-up of its derived constants, run after the set-ups; null: none
  Forward forward;      // its routine (projection/forward.hpp), the polar one for `oblique`
  bool ellipsoidal;  // asks for the reference ellipsoid before its set-ups
  bool oblique;      // its routine projects the points `lla2llb` takes into the frame of `a2b`
};

inline constexpr int kProjections = 25;

// The entry of a code, or null when no projection has that code.
const ProjectionEntry* find_projection(int code);

// The entries in the order of their codes, 1 to 25.
const std::array<ProjectionEntry, kProjections>& projection_table();

}  // namespace korbast::projection
