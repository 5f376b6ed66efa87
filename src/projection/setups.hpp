// The console set-ups of the projection parameters, the map origin and the oblique centre (the
// reference ellipsoid is in projection/ellipsoids.hpp, the selection menu that runs them all
// in projection/menu.hpp).
//
// Every set-up takes the settings mode last (frame::Mode): 2 or 3 start from the value held in
// the blocks, 4 or 5 from the default (printing the initialising lines), any other value from
// the caller's; an even mode shows the menu until 99, an odd mode is silent. Angles are
// degrees in the arguments and on the console, radians in the blocks.
#pragma once

#include "frame/mode.hpp"

namespace korbast::projection {

// The map origin the initialisation sets, degrees.
inline constexpr float kDefaultOriginLon = 0.0f;
inline constexpr float kDefaultOriginLat = 45.0f;

// The single-angle set-ups: central longitude (`longp1`), second longitude (`longp2`), first
// and second latitude (`latp1`, `latp2`) and central angle (`anglep1`). Latitudes are taken
// only inside [-90, 90] and the central angle only inside [0, 180]; longitudes are taken as
// they are. The value in degrees is returned in `value`.

// The central longitude `longp1`.
void slong1(float& value, frame::Mode mode);
// The second longitude `longp2`.
void slong2(float& value, frame::Mode mode);
// The first latitude `latp1`.
void slat1(float& value, frame::Mode mode);
// The second latitude `latp2`.
void slat2(float& value, frame::Mode mode);
// The central angle `anglep1`.
void sangle1(float& value, frame::Mode mode);
// The central angle `anglep1` as the perspectives' angle of view, with sangle1's dialog: taken
// only inside ]0, 180[; in an even mode a held angle outside starts the menu from 90 degrees.
void sviewangle(float& value, frame::Mode mode);

// The map origin: projects it with the current projection and stores the result as the
// offsets `xorig`, `yorig`, so that the origin maps to (0, 0). An origin without a finite
// image is reported; in an even mode it must be changed before leaving.
void sllorig(float& lon, float& lat, frame::Mode mode);

// The map origin at (rlong, rlat), radians, without a dialog: stores it and the offsets of its
// image in the current projection.
void place_origin(float rlong, float rlat);

// The centre of the oblique projections: builds the rotation `a2b.ab` whose third row is the
// centre. The centre is kept for the next call.
void soblique(float& lon, float& lat, frame::Mode mode);

// The rotation `a2b.ab` of the oblique frame centred at (lam0, phi0), radians, without a
// dialog (soblique builds it so): its rows point toward the south along the centre's
// meridian, toward the east, and to the centre.
void set_oblique_frame(float lam0, float phi0);

// Prints the picture of the globe projected onto the map plane.
void screenproj();

namespace detail {
// Forgets what the set-ups keep between calls (the ellipsoid number, the oblique centre), as
// at program start.
void reset_setup_state();
}  // namespace detail

}  // namespace korbast::projection
