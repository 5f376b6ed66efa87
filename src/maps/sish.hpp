// The Si-Sh file: per map run one header line, then one fixed-width line per mapped event
// with its date, time, position, depth, the mapped nodal plane, the azimuths and plunges of
// the principal axes S1, S2, S3, the most vertical axis and the SHmax azimuth. Every line is
// 109 characters and begins with one blank.
#pragma once

#include <string>

#include "frame/dialog.hpp"
#include "frame/text.hpp"
#include "geometry/mechanism.hpp"

namespace korbast::maps {

// The header line, each word right-justified over its field or cut to it:
// "       Date       Time Latitu Longitu Depth Strik  Dip  Rake S1_azi S1_pl ...".
std::string sish_header_line();

// One event line. date and time are written as stored (10 characters each); lat, lon, depth
// and the strike, dip and rake of the plane as given (degrees, km); the trends and plunges of
// the axes S1, S2, S3 (radians) are written in degrees with no reduction; isv is written as
// its absolute value; azshmax (radians) is written in degrees reduced modulo 180, and once
// more after rounding, so that 179.95 and above (which round to 180.0) are written 0.0. A
// value too wide for its field fills it with asterisks.
std::string sish_record_line(const frame::Text<10>& date, const frame::Text<10>& time, float lat,
                             float lon, float depth, const geometry::PlaneAngles& plane,
                             const geometry::Axes& axes, int isv, float azshmax);

// Starts the Si-Sh output of one map run on output slot kout of the file table: when kout is
// 1 or 2 and that slot is open, writes the header line on its unit and returns the unit.
// Otherwise prints one warning frame headed by the caller's identity, writes nothing and
// returns 0, so that the run goes on without Si-Sh lines.
int sish_begin(int kout, const frame::Identity& caller);

// Writes one event line on the unit sish_begin returned; a unit of 0 writes nothing.
void sish_write_record(int unit, const frame::Text<10>& date, const frame::Text<10>& time,
                       float lat, float lon, float depth, const geometry::PlaneAngles& plane,
                       const geometry::Axes& axes, int isv, float azshmax);

}  // namespace korbast::maps
