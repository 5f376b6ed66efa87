#include "frame/cmdfile.hpp"

#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

constexpr Identity id_altsio{"altsio", " 1.4", "17-06-2008"};
constexpr Identity id_beginaltsi{"beginaltsi", " 3.0", "17-06-2008"};
constexpr Identity id_endaltsi{"endaltsi", " 3.0", "17-06-2008"};

// The running command file, so that its end can close it like 5002 does.
struct Running {
  int unit = 0;
  Text<35> name;
};
Running running;

// The warning of a command-file routine that finds nothing to do; the menu's choice that asked
// for it changed nothing and is refused.
void no_action(const Identity& id, std::string_view why) {
  warninghead(id);
  say(why);
  say(" ==> NO ACTION");
  warningtail00();
  answer_refused();
}

void end_running_file() { endaltsi(running.unit, running.name, Mode::kCallerMenu); }

}  // namespace

void altsio(int unit, Text<35>& name, int& choice, Mode mode) {
  for (;;) {
    submenuhead(id_altsio);
    say_rule();
    say_item("ALTERNATE STANDARD INPUT");
    say_rule();
    for (std::string_view line :
         {"START COMMAND FILE ..............5001", "EXIT COMMAND FILE AND CONTINUE...5002",
          "EXIT COMMAND FILE AND QUIT ......5003", "EXIT THIS SUBROUTINE ..............99"})
      say_item(line);
    menutail();
    choice = menu_choice(99);
    take_choice(choice, {99, 5001, 5002, 5003});
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
        if (mode == Mode::kCaller) {
          errorhead(id_altsio);
          say_int("Unknown answer irep =", choice, 6);
          say(" ===> STOPPING EXECUTION");
          errortail00();
          units::stop_run(1);
        }
    }
  }
}

void beginaltsi(int unit, Text<35>& name, Mode mode) {
  if (iocom.command_file) {
    no_action(id_beginaltsi, " COMMAND FILE ALREADY OPEN");
    return;
  }
  if (iocom.lwito(1)) submenuhead(id_beginaltsi);
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

void endaltsi(int unit, const Text<35>& name, Mode) {
  if (!iocom.command_file) {
    no_action(id_endaltsi, " NO OPEN COMMAND FILE");
    return;
  }
  if (iocom.lwito(1)) submenuhead(id_endaltsi);
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
