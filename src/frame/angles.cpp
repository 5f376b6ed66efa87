#include "frame/angles.hpp"

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

constexpr Identity id_trigoset{"trigoset", " 7.1", "15-12-2008"};

static_assert(angle::half_pi / 90.0f == angle::deg_to_rad, "both roads to pi/180 meet");
static_assert(std::bit_cast<unsigned>(angle::pi) == 0x40490FDBu);
static_assert(std::bit_cast<unsigned>(angle::rad_to_deg) == 0x42652EE0u);

void trigoset() {
  submenuhead(id_trigoset);
  units::write_line(iocom.stdout_unit, " Initializing /trig/ block");
  units::write_line(iocom.stdout_unit, " Initializing /anglerad/ block");
}

void deg2rad(float* out, const float* in, int n) {
  for (int i = 0; i < n; ++i) out[i] = angle::deg_to_rad * in[i];
}

void rad2deg(float* out, const float* in, int n) {
  for (int i = 0; i < n; ++i) out[i] = angle::rad_to_deg * in[i];
}

}  // namespace korbast::frame
