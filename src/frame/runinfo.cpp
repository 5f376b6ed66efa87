#include "frame/runinfo.hpp"

#include <cstdio>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/pictures.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "platform/system.hpp"

namespace korbast::frame {

RunInfo runinfocom;

namespace {

std::string two(int v) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}



const std::string at_rule = rule_line('@');
const std::string dash_rule = rule_line('-', 42).replace(0, 1, " @");

}  // namespace

void smaininfo(const Identity& main, Mode) {
  runinfocom.mainname = main.name;
  runinfocom.mainversion = main.version;
  runinfocom.maindate = main.date;
  runinfocom.rundate = c10date();
  runinfocom.runtime = c8time();
  runinfocom.user = username();
  runinfocom.system = hostname();
}

void ssubinfo(const Identity& sub, int, int) {
  runinfocom.subname = sub.name;
  runinfocom.subversion = sub.version;
  runinfocom.subdate = sub.date;
}

std::string c8time() {
  auto t = platform::local_time();
  return two(t.hour) + ":" + two(t.minute) + ":" + two(t.second);
}

std::string c10date() {
  auto t = platform::local_time();
  char year[16];
  std::snprintf(year, sizeof year, "%04d", t.year % 10000);
  return two(t.day) + "-" + two(t.month) + "-" + year;
}

std::string username() { return "Mac user"; }

std::string hostname_from(const SystemAnswers& a) {
  std::string sys = a.kernel_digits ? ("Linux" + *a.kernel_digits).substr(0, 9) : "Linux?";
  std::string cpu = a.machine ? a.machine->substr(0, 8) : "CPU?";
  std::string clock = "?MHz";
  if (a.clock_hz) {
    // The rate is truncated in single precision: 2.5 GHz gives 2GHz, 999 MHz 999MHz.
    const unsigned long long r = *a.clock_hz;
    const float rate = static_cast<float>(r);
    const bool giga = r >= 1000000000ull;
    const float n = rate / (giga ? 1.0e9f : 1.0e6f);
    long long whole = static_cast<long long>(n);
    clock = trimmed(fmt::I(whole, 4)) + (giga ? "GHz" : "MHz");
    clock = clock.substr(0, 6);
  }
  return (sys + "-" + cpu + "-" + clock).substr(0, 25);
}

std::string hostname() {
  auto k = platform::kernel_version_digits();
  auto m = platform::machine_name();
  auto c = platform::cpu_clock_hz();
  unsigned long long hz = c ? static_cast<unsigned long long>(*c) : 0;
  return hostname_from({k ? &*k : nullptr, m ? &*m : nullptr, c ? &hz : nullptr});
}

void progheadbc(const Identity& main) {
  const std::string system = hostname();
  const std::string time = c8time();
  const std::string day = c10date();
  say(at_rule);
  say(" @");
  say(fmt::Line().item("@       MAIN PROGRAM:").item(trimmed(main.name)).str());
  say(fmt::Line().item("@            Version:").item(main.version).str());
  say(fmt::Line().item("@               Date:").item(main.date).str());
  say(" @");
  say(dash_rule);
  say(fmt::Line().item("@ Running on:").item(day).item("at:").item(time).str());
  say(fmt::Line().item("@ On system:").item(trimmed(system)).str());
  say(dash_rule);
  say(fmt::Line().item("@ Report of any problem is appreciated").a(" ").str());
  say(dash_rule);
  say(" @         HIT RETURN TO CONTINUE");
  say(at_rule);
  // Whatever the answer holds, the banner ends with the line; an ended input ends it too.
  std::string answer;
  units::read_line(iocom.stdin_unit, answer);
}

void maintail(const Identity& main) { maintail_at(main, c8time()); }

void maintail_at(const Identity& main, std::string_view time) {
  say(at_rule);
  say(fmt::Line().item("@ PROGRAM").item(trimmed(main.name)).str());
  say(fmt::Line().item("@ Version:").item(main.version).str());
  say(fmt::Line().item("@ EXECUTION TERMINATED AT:").item(time).str());
  say(dash_rule);
  switch (time.empty() ? '0' : time.back()) {
    case '0': happyface(); break;
    case '1': sator(); break;
    case '2': carmag33(); break;
    case '3': endfun1(); break;
    case '5': tetratemple1(); break;
    case '6': tetratemple2(); break;
    case '7': offsetnf(); break;
    case '8': offsetrf(); break;
    default: tetrakis(); break;  // 4 and 9
  }
  say(at_rule);
}

}  // namespace korbast::frame
