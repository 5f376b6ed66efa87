// Principal stress directions: from the trends and plunges of the axes S1, S2, S3 (the P, B
// and T axes of a nodal plane), the most vertical axis and the azimuth of the maximum
// horizontal stress, and their listing.
#pragma once

#include "geometry/mechanism.hpp"

namespace korbast::maps {

// The most vertical axis and the SHmax azimuth of each event, from its three axes S1, S2, S3
// (axes.azimuth[k] and axes.plunge[k] are az1, pl1 for k = 0, and so on).
// For data i = 0..n-1 (n < 1: nothing is computed, nothing changes):
// - isv[i]: 1, 2 or 3, the axis with the largest absolute plunge, negated when that plunge
//   is below thr (radians); 0 when no plunge exceeds 0.
// Plunges that agree within the angle tolerance (1e-5 rad) are a tie, in both scans, and a
// tie keeps the lower axis number: equal mechanisms give equal results.
// - azshmax[i]: SHmax azimuth in radians, in [0, 2 pi): along the most horizontal axis when
//   it is S1, or S2 with S1 vertical; else perpendicular to it (az2 + pi/2 when S3 is the
//   vertical one, az3 + pi/2 when S3 is the most horizontal).
// Absolute plunges outside [0, pi/2 + 1e-5] are reported in error frames and clamped in a
// local copy (the caller's arrays stay). An axis combination outside the rule is reported
// as "Out of range value" and gives an azimuth of 0.
void siap2sv(float* azshmax, int* isv, geometry::AxesView axes, float thr, int n);

// The listing of the data flagged by the threshold (isv outside 1..3) on unit iunit: on the
// console (unit 6) with "|" between the columns and dashed lines around the heading, on any
// other unit with TAB characters and the heading alone. Angles printed in degrees.
void writepbsv(const float* azshmax, const int* isv, geometry::AxesView axes, int n, int iunit);

}  // namespace korbast::maps
