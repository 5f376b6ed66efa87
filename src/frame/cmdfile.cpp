#include "frame/cmdfile.hpp"

#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {


// The running command file, so that its end can close it like 5002 does.
struct Running {
  int unit = 0;
  Text<35> name;
};
Running running;

void end_running_file() { endaltsi(running.unit, running.name, 0); }

}  // namespace

void altsio(int unit, Text<35>& name, int& choice, int mode) {
  constexpr std::string_view n = "altsio", v = " 1.4", d = "17-06-2008";
  for (;;) {
    submenuhead(n, v, d);
    const std::string rule(43, '-');
    for (std::string_view line :
         {std::string_view(rule), std::string_view("ALTERNATE STANDARD INPUT"), std::string_view(rule),
          std::string_view("START COMMAND FILE ..............5001"),
          std::string_view("EXIT COMMAND FILE AND CONTINUE...5002"),
          std::string_view("EXIT COMMAND FILE AND QUIT ......5003"),
          std::string_view("EXIT THIS SUBROUTINE ..............99")})
      say_item(line);
    menutail();
    choice = 99;
    int status = 0;
    inintegdef(choice, "your choice              ", 99, status);
    switch (choice) {
      case 5001:
        beginaltsi(unit, name, mode);
        return;
      case 5002:
      case 5003:
        endaltsi(unit, name, mode);
        if (choice == 5003) choice = 9999;
        return;
      case 99:
        return;
      default:
        if (mode == 1) {
          errorhead(n, v, d);
          say_int("Unknown answer irep =", choice, 6);
          say(" ===> STOPPING EXECUTION");
          errortail00();
          units::stop_run(1);
        }
    }
  }
}

void beginaltsi(int unit, Text<35>& name, int mode) {
  constexpr std::string_view n = "beginaltsi", v = " 3.0", d = "17-06-2008";
  if (iocom.command_file) {
    warninghead(n, v, d);
    say(" COMMAND FILE ALREADY OPEN");
    say(" ==> NO ACTION");
    warningtail00();
    return;
  }
  if (iocom.lwito(1)) submenuhead(n, v, d);
  opef2(name, "alternate standard input ", unit, "old", mode);
  iocom.stdin_unit = unit;
  iocom.command_file = true;
  iocom.lwito(2) = false;
  running.unit = unit;
  running.name = name.view();
  set_command_file_end_hook(end_running_file);
  if (iocom.lwito(1)) {
    say(" Standard input redirected from");
    say(fmt::Line().item("   Command file:").item(name.trimmed()).str());
    say(" Response to error or warning");
    say("    remains from keyboard");
    say(" Level 2 standard output disabled");
    menutail();
  }
}

void endaltsi(int unit, const Text<35>& name, int) {
  constexpr std::string_view n = "endaltsi", v = " 3.0", d = "17-06-2008";
  if (!iocom.command_file) {
    warninghead(n, v, d);
    say(" NO OPEN COMMAND FILE");
    say(" ==> NO ACTION");
    warningtail00();
    return;
  }
  if (iocom.lwito(1)) submenuhead(n, v, d);
  units::close(unit);
  iocom.stdin_unit = units::keyboard;
  iocom.command_file = false;
  iocom.lwito(2) = true;
  if (iocom.lwito(1)) {
    say(fmt::Line().item("Command file").item(name.trimmed()).item("closed").str());
    say(" Standard input redirected from keyboard");
    say(" Level 2 standard output enabled");
  }
}

}  // namespace korbast::frame
