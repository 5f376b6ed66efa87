// The single-precision angle constants the projection routines work with. They are the
// values the program's angle blocks hold after start-up (pi taken as twice the single-precision
// arccosine of 0, the tolerant copies lowered and raised by 1e-5), written here bit for bit so
// that the geometry gives the same results whether or not the blocks have been filled yet.
#pragma once

#include <bit>
#include <cstdint>

namespace korbast::projection::angles {

inline constexpr float kPi4 = std::bit_cast<float>(std::uint32_t{0x3F490FDB});       // pi/4
inline constexpr float kPi2 = std::bit_cast<float>(std::uint32_t{0x3FC90FDB});       // pi/2
inline constexpr float kPi = std::bit_cast<float>(std::uint32_t{0x40490FDB});        // pi
inline constexpr float k3Pi2 = std::bit_cast<float>(std::uint32_t{0x4096CBE4});      // 3pi/2
inline constexpr float kDegToRad = std::bit_cast<float>(std::uint32_t{0x3C8EFA35});  // pi/180
inline constexpr float kRadToDeg = std::bit_cast<float>(std::uint32_t{0x42652EE0});  // 180/pi
inline constexpr float kPi2Low = std::bit_cast<float>(std::uint32_t{0x3FC90F87});    // pi/2 - 1e-5
inline constexpr float kPi2High = std::bit_cast<float>(std::uint32_t{0x3FC9102F});   // pi/2 + 1e-5

// Degrees to radians and back: one single-precision product each.
inline float rad(float x) { return x * kDegToRad; }
inline float deg(float x) { return x * kRadToDeg; }

}  // namespace korbast::projection::angles
