// The stress-direction symbols of the map: at each epicentre a symmetric pair of shapes along
// the maximum horizontal stress (SHmax) and a pair along the minimum (SHmin, SHmax + 90
// degrees). A direction along S1 or S3 is drawn as arrows (pointing in for SHmax, out for
// SHmin), a direction along S2 as bars, so isv 1 gives SHmax bars and SHmin arrows, isv 2
// arrows for both, isv 3 SHmax arrows and SHmin bars.
#pragma once

#include "frame/mode.hpp"

namespace korbast::maps {

// Settings of the stress layer.
struct Mapshpar {
  float sizmax = 0.4f;   // full symbol length in units of 5 cm; epicentre symbol diameter (cm)
  float sizmin = 0.13f;  // small symbol length, same unit
  int iepi = -1;         // epicentre symbol type drawn with the stress symbols; 0 none
  int ish = 0;           // -2 Shmin only, -1 Shmax small, 0 both, 1 Shmin small, 2 Shmax only
};
extern Mapshpar mapshpar;

// Settings routine of mapshpar: modes 2, 3 start from the stored values, 4, 5 from the
// defaults ("INITIALIZING Sh MAP PARAMETERS"); any other mode checks the given values and
// resets a size of 0 or less (major to 0.4, minor to 0.2) and a Sh type outside -2..2 (to 0)
// with a warning. Even modes then show the menu until 99. The values are stored and returned.
void smapsh2(float& sizmaxa, float& sizmina, int& iepia, int& isha, frame::Mode mode);

// Draws the stress symbols of n points: (x, y) the projected epicentres in user units of the
// current subplot, azshmax the SHmax azimuths (radians, clockwise from north, taken as user
// +y with user +x east), isv the most vertical axis 1..3 (any other value draws bars after a
// warning). First the epicentre symbol (unless its type is 0), then all SHmax pairs, then all
// SHmin pairs. The symbol size and type of the plot are left as they were found.
void dmapsh2(const float* x, const float* y, const float* azshmax, const int* isv, int n);

}  // namespace korbast::maps
