// The dialogs behind the user-to-cm settings of a subplot: the picture of the transform and
// its current values (at output level 2), then "Do you want to alter this" and, on yes, each
// value asked in turn with the current one as default. The values are in and out.
#pragma once

namespace korbast::plot {

// The transform as an origin (xcm0, ycm0) in cm and a matrix in cm per user unit.
void mus2cm1(float& xcm0, float& ycm0, float& xx, float& xy, float& yx, float& yy);
// The transform as a box of user limits fitted into a box on the page, and the equal-scale
// flag (asked as 0 or 1).
void mus2cm3(float& xcm0, float& ycm0, float& xlcm, float& ylcm, float& xumin, float& xumax,
             float& yumin, float& yumax, int& ixy);

}  // namespace korbast::plot
