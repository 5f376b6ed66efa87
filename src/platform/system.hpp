// What the program asks of the machine it runs on: the local date and time, and the parts
// of the system description (kernel version, processor, clock rate).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korbast::platform {

struct DateTime {
  int year, month, day, hour, minute, second, weekday;  // weekday 1 = Sunday
};

// The date and time of the local clock.
DateTime local_time();

// The kernel's major and minor version as digits ("61" for 6.1.0), if known.
std::optional<std::string> kernel_version_digits();
// The machine name ("x86_64", "aarch64"), if known.
std::optional<std::string> machine_name();
// The processor's maximum clock rate in hertz, if known.
std::optional<std::uint64_t> cpu_clock_hz();

}  // namespace korbast::platform
