// Menu frames, entry and exit banners, error and warning boxes, their tails and the severity
// tails that decide whether the run goes on.
#include "frame/frames.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/dialog_detail.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/pictures.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

void err(std::string_view line) { units::write_line(iocom.errout_unit, line); }


// A text blank-padded or cut to n characters.
std::string fixed(std::string_view text, std::size_t n) {
  std::string s(text.substr(0, std::min(text.size(), n)));
  s.resize(n, ' ');
  return s;
}
// A text blank-padded to at least n characters (never cut).
std::string padded(std::string_view text, std::size_t n) {
  std::string s(text);
  if (s.size() < n) s.resize(n, ' ');
  return s;
}

std::string repeated(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

std::string at_rule() { return rule_line('@'); }

// "       subroutine " and the name, in a body of exactly 35 characters.
std::string name_body(std::string_view name) {
  return fixed("       subroutine " + padded(name, 11), 35);
}

void menuhead(std::string_view kind, std::string_view name) {
  say(at_rule());
  say(fmt::Line().item(kind).item(fixed(name, 11)).str());
  say_item("@" + repeated('=', 42));
}

void stop_line() { err(rule_line('*')); }

[[noreturn]] void end_run() { units::stop_run(1); }

// The end of a run stopped after an unrecoverable error: the plea for a report, then the stop.
[[noreturn]] void report_and_stop() {
  err(item("Copying the above information"));
  err(item("and sending it to the program author"));
  err(item("might be helpful"));
  stop_line();
  end_run();
}

// The yes/no question of the severity tails, on the error units.
bool ask(std::string_view prompt, bool def) {
  bool answer = def;
  int status = 0;
  inlogicdef2(answer, prompt, def, iocom.errin_unit, iocom.errout_unit, status);
  return answer;
}

void outdated(std::string_view notice) {
  static const char* const shape[7] = {
      "@@@@@@@@@@@@@@@@@@@@@@@@", "  @@@@@@@@@@@@@@@@@@@@  ", "    @@@@@@@@@@@@@@@@    ",
      "      @@@@@@@@@@@@      ", "        @@@@@@@@        ", "          @@@@          ",
      "@@@@@@@@@@@@@@@@@@@@@@@@"};
  for (int k = 0; k < 7; ++k) err(item(shape[k]));
  err(item(notice));
  for (int k = 6; k >= 0; --k) err(item(shape[k]));
}

}  // namespace

// ---- Menu frames and banners ----

void mainmenuhead(const Identity& id) { menuhead("@ main program", id.name); }

void submenuhead(const Identity& id) { menuhead("@ subroutine", id.name); }

void menutail() { say(at_rule()); }

void subhead(const Identity& id) {
  if (!iocom.lwito(3)) return;
  say(at_rule());
  say(fmt::Line().item("@ subroutine ").item(fixed(id.name, 11)).str());
  say(fmt::Line().item("@ version").item(fixed(id.version, 4)).item("on").item(fixed(id.date, 10)).str());
  say(at_rule());
}

void subtail(const Identity& id) {
  if (!iocom.lwito(3)) return;
  say(at_rule());
  say(fmt::Line().item("@ exiting").item(fixed(id.name, 11)).str());
  say(at_rule());
}

// ---- Error and warning boxes ----

void errorhead(const Identity& id) {
  const std::string rule = rule_line('*');
  auto box = [](std::string_view body) { return fmt::Line().item("***").item(body).item("***").str(); };
  const std::string empty = box(repeated(' ', 35));
  err(rule);
  err(rule);
  err(empty);
  err(box(name_body(id.name)));
  err(empty);
  err(box("               ERROR               "));
  err(empty);
  err(rule);
  err(rule);
}

void warninghead(const Identity& id) {
  const std::string rule = rule_line('/');
  auto box = [](std::string_view body) { return fmt::Line().item("///").item(body).item("///").str(); };
  err(rule);
  err(box(name_body(id.name)));
  err(box("              WARNING              "));
  err(rule);
}

void pause_for_return() {
  // A failed read asks again; an input that keeps failing ends the pause after a few tries.
  for (int tries = 0; tries < 10; ++tries) {
    err(item(iocom.command_file ? "===> HIT RETURN TO RESUME COMMANDS"
                                : "===> HIT RETURN TO CONTINUE"));
    if (wait_line(iocom.errin_unit)) return;
  }
}

void errortail00() {
  if (iocom.pause) pause_for_return();
  err(rule_line('*'));
}

void warningtail00() {
  if (iocom.pause) pause_for_return();
  err(rule_line('/'));
}

void errortail0(int) {
  outdated("OUTDATED    errortail0");
  errortail00();
}

void warningtail0(int) {
  outdated("OUTDATED    warningtail0");
  warningtail00();
}

// ---- Severity tails ----

void errortail01(int severity) {
  bool def;
  if (severity == 0) {
    err(item("RECOVERABLE ERROR ====> CAN RESUME EXECUTION"));
    def = false;
  } else {
    sorryface();
    err(item("UNRECOVERABLE ERROR =====> QUITTING ADVISED"));
    def = true;
  }
  if (ask("STOP", def)) {
    err(item("EXECUTION STOPPED AFTER ERROR"));
    stop_line();
    end_run();
  }
  if (severity == 1) {
    err(item("ENTERING THE TWILIGHT ZONE OF COMPUTING !"));
    err(item("THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE"));
  } else {
    err(item("RESUMING EXECUTION"));
  }
  pause_for_return();
  stop_line();
}

void errorstop(int severity) {
  switch (severity) {
    case 0:
      err(item("RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED"));
      if (ask("RESUME", true)) {
        err(item("RESUMING EXECUTION"));
        return;
      }
      err(item("EXECUTION STOPPED BY USER"));
      err(item("AFTER RECOVERABLE ERROR"));
      stop_line();
      end_run();
    case 1:
      sorryface();
      err(item("UNRECOVERABLE ERROR ==> QUITTING ADVISED"));
      if (ask("STOP", true)) {
        err(item("EXECUTION STOPPED BY USER"));
        err(item("AFTER UNRECOVERABLE ERROR"));
        report_and_stop();
      }
      err(item("ENTERING THE TWILIGHT ZONE OF COMPUTING !"));
      err(item("THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE"));
      err(item("RESUMING EXECUTION"));
      return;
    case 2:
      sorryface();
      err(item("UNRECOVERABLE ERROR"));
      err(item("EXECUTION STOPPED BY PROGRAM"));
      report_and_stop();
    default:
      return;
  }
}

void reset_in_frame(const Identity& id, int& value, int to, ResetLine line,
                    std::initializer_list<std::string> asked,
                    std::initializer_list<std::string> after, FrameKind kind) {
  const bool error = kind == FrameKind::kError;
  if (error) {
    errorhead(id);
  } else {
    warninghead(id);
  }
  for (const auto& l : asked) say(l);
  value = to;
  say_int(line.label, value, line.width);
  for (const auto& l : after) say(l);
  if (error) {
    errortail00();
  } else {
    warningtail00();
  }
}

}  // namespace korbast::frame
