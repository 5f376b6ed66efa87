// Angle constants (single precision) and the conversions between degrees and radians.
// Angles are degrees in every dialog and file and radians inside all geometry.
#pragma once

#include <bit>

namespace korbast::frame {

// The constants, each fixed from the start. They are made from acos(0) in single precision
// by one single-precision operation after the other, in the order the program has always used,
// so each keeps its tabled bit pattern (pi = 0x40490FDB, 180/pi = 0x42652EE0, ...).
namespace angle {
inline constexpr float half_pi = std::bit_cast<float>(0x3FC90FDBu);  // acos(0.0f)
inline constexpr float tolerance = 1e-5f;  // how far the lowered and raised constants move
inline constexpr float pi = 2.0f * half_pi;
inline constexpr float quarter_pi = pi / 4.0f;
inline constexpr float third_pi = pi / 3.0f;
inline constexpr float three_quarter_pi = (pi * 3.0f) / 4.0f;
inline constexpr float three_half_pi = (pi * 3.0f) / 2.0f;
inline constexpr float two_pi = pi * 2.0f;
inline constexpr float deg_to_rad = pi / 180.0f;
inline constexpr float rad_to_deg = 180.0f / pi;
inline constexpr float half_pi_below = half_pi - tolerance;  // pi/2 lowered by 1e-5
inline constexpr float half_pi_above = half_pi + tolerance;  // pi/2 raised by 1e-5
}  // namespace angle

// The four blocks as the program has always tabled them, made of the constants above.
// pi, pi/2, pi/4, degrees to radians, pi/2 lowered and raised by 1e-5.
struct Trig {
  float v[6];
};
// pi/4, pi/3, pi/2, 3pi/4, pi, 3pi/2, 2pi, pi/180, 180/pi.
struct AngleRad {
  float v[9];
};
// The first seven of anglerad, lowered (angleradi) or raised (anglerads) by 1e-5.
struct AngleTol {
  float v[7];
};

inline constexpr Trig trig{{angle::pi, angle::half_pi, angle::half_pi / 2.0f,
                            angle::half_pi / 90.0f, angle::half_pi_below, angle::half_pi_above}};
inline constexpr AngleRad anglerad{{angle::quarter_pi, angle::third_pi, angle::pi / 2.0f,
                                    angle::three_quarter_pi, angle::pi, angle::three_half_pi,
                                    angle::two_pi, angle::deg_to_rad, angle::rad_to_deg}};
inline constexpr AngleTol angleradi{{
    anglerad.v[0] - angle::tolerance, anglerad.v[1] - angle::tolerance,
    anglerad.v[2] - angle::tolerance, anglerad.v[3] - angle::tolerance,
    anglerad.v[4] - angle::tolerance, anglerad.v[5] - angle::tolerance,
    anglerad.v[6] - angle::tolerance}};
inline constexpr AngleTol anglerads{{
    anglerad.v[0] + angle::tolerance, anglerad.v[1] + angle::tolerance,
    anglerad.v[2] + angle::tolerance, anglerad.v[3] + angle::tolerance,
    anglerad.v[4] + angle::tolerance, anglerad.v[5] + angle::tolerance,
    anglerad.v[6] + angle::tolerance}};

// Reports the constants on the console (they need no setting).
void trigoset();

// Degrees to radians.
constexpr float rad(float degrees) { return degrees * angle::deg_to_rad; }
// Radians to degrees.
constexpr float deg(float radians) { return radians * angle::rad_to_deg; }
// out[i] = in[i] degrees in radians for i < n; out may be in.
void deg2rad(float* out, const float* in, int n);
// out[i] = in[i] radians in degrees for i < n; out may be in.
void rad2deg(float* out, const float* in, int n);

}  // namespace korbast::frame
