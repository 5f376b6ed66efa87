// Angle constants (single precision) and the conversions between degrees and radians.
// Angles are degrees in every dialog and file and radians inside all geometry.
#pragma once

namespace korbast::frame {

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

extern Trig trig;
extern AngleRad anglerad;
extern AngleTol angleradi;
extern AngleTol anglerads;

// Fills the four blocks and reports it on the console.
void trigoset();

float rad(float degrees);
float deg(float radians);
// out[i] = factor * in[i] for i < n; out may be in.
void deg2rad(float* out, const float* in, int n);
void rad2deg(float* out, const float* in, int n);

}  // namespace korbast::frame
