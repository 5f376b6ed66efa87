#include "frame/angles.hpp"

#include <cmath>

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

Trig trig{};
AngleRad anglerad{};
AngleTol angleradi{};
AngleTol anglerads{};

void trigoset() {
  submenuhead("trigoset", " 7.1", "15-12-2008");
  units::write_line(iocom.stdout_unit, " Initializing /trig/ block");

  // Every value is one single-precision operation after the other, in this order.
  const float h = std::acos(0.0f);
  const float e = 1e-5f;
  trig.v[0] = 2.0f * h;
  trig.v[1] = h;
  trig.v[2] = h / 2.0f;
  trig.v[3] = h / 90.0f;
  trig.v[4] = h - e;
  trig.v[5] = h + e;

  units::write_line(iocom.stdout_unit, " Initializing /anglerad/ block");
  const float p = trig.v[0];
  anglerad.v[0] = p / 4.0f;
  anglerad.v[1] = p / 3.0f;
  anglerad.v[2] = p / 2.0f;
  anglerad.v[3] = (p * 3.0f) / 4.0f;
  anglerad.v[4] = p;
  anglerad.v[5] = (p * 3.0f) / 2.0f;
  anglerad.v[6] = p * 2.0f;
  anglerad.v[7] = p / 180.0f;
  anglerad.v[8] = 180.0f / p;
  for (int k = 0; k < 7; ++k) {
    angleradi.v[k] = anglerad.v[k] - e;
    anglerads.v[k] = anglerad.v[k] + e;
  }
}

float rad(float degrees) { return degrees * anglerad.v[7]; }
float deg(float radians) { return radians * anglerad.v[8]; }

void deg2rad(float* out, const float* in, int n) {
  const float f = anglerad.v[7];
  for (int i = 0; i < n; ++i) out[i] = f * in[i];
}

void rad2deg(float* out, const float* in, int n) {
  const float f = anglerad.v[8];
  for (int i = 0; i < n; ++i) out[i] = f * in[i];
}

}  // namespace korbast::frame
