// Pieces of the direction-cosine conversions shared by the projection routines.
#pragma once

namespace korbast::projection::detail {

// One vector to longitude and latitude, as `cc2lln` does for point `index` of `n`.
void cc2ll_point(float& rlong, float& rlat, float vx, float vy, float vz, int index, int n);

// The warning frame of `cc2lln` for a vector whose norm r is off 1.
void warn_not_unitary(float vx, float vy, float vz, float r, int index, int n);

}  // namespace korbast::projection::detail
