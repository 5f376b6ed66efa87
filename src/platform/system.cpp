#include "platform/system.hpp"

#include <sys/utsname.h>

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace korbast::platform {

DateTime local_time() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
          tm.tm_min,         tm.tm_sec,     tm.tm_wday + 1};
}

std::optional<std::string> kernel_version_digits() {
  utsname u{};
  if (uname(&u) != 0) return std::nullopt;
  // "6.1.0-18-amd64": the digits of the first two numbers.
  std::string digits;
  int numbers = 0;
  for (const char* p = u.release; *p && numbers < 2; ++p) {
    if (std::isdigit(static_cast<unsigned char>(*p))) {
      digits += *p;
      if (!std::isdigit(static_cast<unsigned char>(p[1]))) ++numbers;
    } else if (*p != '.') {
      break;
    }
  }
  if (digits.empty()) return std::nullopt;
  return digits;
}

std::optional<std::string> machine_name() {
  utsname u{};
  if (uname(&u) != 0 || u.machine[0] == '\0') return std::nullopt;
  return std::string(u.machine);
}

std::optional<std::uint64_t> cpu_clock_hz() {
  {
    std::ifstream f("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    unsigned long long khz = 0;
    if (f >> khz && khz > 0) return static_cast<std::uint64_t>(khz) * 1000u;
  }
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("cpu MHz", 0) != 0) continue;
    auto colon = line.find(':');
    if (colon == std::string::npos) break;
    double mhz = std::strtod(line.c_str() + colon + 1, nullptr);
    if (mhz > 0) return static_cast<std::uint64_t>(mhz * 1e6);
    break;
  }
  return std::nullopt;
}

}  // namespace korbast::platform
