#include "frame/iocom.hpp"

#include <string>
#include <string_view>

#include <unistd.h>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

constexpr Identity id_initsio{"initsio", " 3.0", "08-03-2000"};

bool keyboard_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

Iocom iocom;

void initsio() {
  iocom = Iocom{};

  submenuhead(id_initsio);
  const int out = iocom.stdout_unit;
  units::write_line(out, " INITIALIZING INPUT/OUTPUT");
  auto unit_line = [out](std::string_view text, int unit) {
    units::write_line(out, fmt::Line().item(text).x().i(unit, 2).str());
  };
  unit_line("standard  input unit        =", iocom.stdin_unit);
  unit_line("standard output unit        =", iocom.stdout_unit);
  unit_line("error     input unit        =", iocom.errin_unit);
  unit_line("error    output unit        =", iocom.errout_unit);
  auto flag_line = [out](std::string_view text, bool flag) {
    units::write_line(out, fmt::Line().item(text).x().l(flag, 2).str());
  };
  flag_line("minimum output enabled      :", iocom.lwito(1));
  flag_line("more    output enabled      :", iocom.lwito(2));
  flag_line("maximum output enabled      :", iocom.lwito(3));
  flag_line("command file open status    :", iocom.command_file);
  flag_line("plot    file open status    :", iocom.plot_open);
  flag_line("pause after warning or error:", iocom.pause);
  menutail();
}

inline namespace console {

void say(std::string_view line) { units::write_line(iocom.stdout_unit, line); }

std::string item(std::string_view text) {
  std::string line;
  line.reserve(text.size() + 1);
  line += ' ';
  line += text;
  return line;
}

void say_item(std::string_view text) { say(item(text)); }

void say_value(std::string_view text, std::string_view value) {
  say(fmt::Line().item(text).x().a(value).str());
}

void say_int(std::string_view text, long long v, int w) { say(int_line(text, v, w)); }

std::string int_line(std::string_view text, long long v, int w) {
  return fmt::Line().item(text).x().i(v, w).str();
}

void say_real(std::string_view text, double v, int w, int d) {
  say(fmt::Line().item(text).x().f(v, w, d).str());
}

std::string rule_line(char c, int n) {
  std::string line(static_cast<std::size_t>(n) + 1, c);
  line[0] = ' ';
  return line;
}

void say_rule(char c, int n) { say(rule_line(c, n)); }

}  // namespace console

}  // namespace korbast::frame
