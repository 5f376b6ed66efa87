#include "frame/filetable.hpp"

#include <algorithm>
#include <optional>

#include "frame/dialog.hpp"
#include "frame/filechooser.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

Fiocom fiocom;

namespace {

// The table routines share one version and date.
constexpr Identity table_routine(std::string_view name) { return {name, "1.00", "25-03-94"}; }
constexpr Identity id_initfio = table_routine("initfio"), id_listfio = table_routine("listfio"),
                   id_opefin = table_routine("opefin"), id_opefou = table_routine("opefou"),
                   id_clofin = table_routine("clofin"), id_clofou = table_routine("clofou");
constexpr Identity id_opef2{"opef2", " 3.8", "24-08-2005"};

void dash_rule() { say_rule(); }

// Entry and exit banners of the table routines (maximum output level only).
struct Banner {
  const Identity& id;
  explicit Banner(const Identity& routine) : id(routine) { subhead(id); }
  ~Banner() { subtail(id); }
};

void bad_count_box(std::string_view which, int requested, int max) {
  say_rule('*', 36);
  say(" ***           ERROR              ***");
  say_rule('*', 36);
  say(fmt::Line().item("    number of " + std::string(which) + " files   =").x().i(requested, 2).str());
  say(fmt::Line().item("max number of " + std::string(which) + " files   =").x().i(max, 2).str());
  say_rule('*', 36);
  units::stop_run(1);
}

void slot_lines(int i, const Text<40>& expl, const Text<40>& name, bool open, int unit) {
  say_int("FILE INDEX   =", i, 2);
  say(fmt::Line().item(" explanation :").item(expl).str());
  say(fmt::Line().item("    filename =").item(name).str());
  say(fmt::Line().item("      opened :").x().l(open, 1).str());
  say_int("        unit =", unit, 2);
  say(" --------------");
}

// Trailing blanks are padding, never part of a file name; a name of blanks is no name.
std::string without_trailing_blanks(std::string_view s) {
  auto e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

// Why a file was not opened, for the line under its name in the failure frame: the system's
// reason for a failed open, or one of these.
constexpr std::string_view kNoName = "No name given";
constexpr std::string_view kNotReplaced = "File exists, not replaced";

// Opens path on unit (looked: what the user chose to replace); nothing when it opened,
// otherwise why not.
std::optional<std::string> open_failure(int unit, const std::string& path, units::Status st,
                                        const units::Look* looked = nullptr) {
  if (path.empty()) return std::string(kNoName);
  if (units::open(unit, path, st, looked)) return std::nullopt;
  return units::open_error();
}

void reason_line(std::string_view reason) {
  say(fmt::Line().item("  REASON:").item(reason).str());
}

// opef2 for a name kept whole: the name is the default or given name on entry and the opened
// file's whole name on return; names of fewer than `shown` characters are shown padded to it.
void open_whole(std::string& name, std::size_t shown, std::string_view expl, int unit,
                std::string_view status, Mode mode);

}  // namespace

void initfio(int nin, int nout, Mode mode) {
  Banner banner(id_initfio);
  submenuhead(id_initfio);
  dash_rule();
  say(" " + std::string("       INITIALIZING I/O FILES              "));
  dash_rule();
  if (nin < 0 || nin > max_input_slots) bad_count_box(" input", nin, max_input_slots);
  fiocom.nfi = nin;
  if (nout < 0 || nout > max_output_slots) bad_count_box("output", nout, max_output_slots);
  fiocom.nfo = nout;
  for (int k = 0; k < max_input_slots; ++k) {
    fiocom.iuinp[k] = 11 + k;
    fiocom.iopin[k] = false;
    fiocom.inpnam[k] = "";
    fiocom.inpwhole[k].clear();
    fiocom.inpexpl[k] = "";
  }
  for (int k = 0; k < max_output_slots; ++k) {
    fiocom.iouf[k] = 21 + k;
    fiocom.iopou[k] = false;
    fiocom.oufnam[k] = "";
    fiocom.oufwhole[k].clear();
    fiocom.oufexpl[k] = "";
  }
  listfio(mode);
}

void listfio(Mode) {
  Banner banner(id_listfio);
  dash_rule();
  say(" " + std::string("             I/O FILES STATUS              "));
  dash_rule();
  say_int("NUMBER OF  INPUT FILES   =", fiocom.nfi, 2);
  dash_rule();
  for (int k = 0; k < fiocom.nfi; ++k)
    slot_lines(k + 1, fiocom.inpexpl[k], fiocom.inpnam[k], fiocom.iopin[k], fiocom.iuinp[k]);
  dash_rule();
  say_int("NUMBER OF OUTPUT FILES   =", fiocom.nfo, 2);
  dash_rule();
  for (int k = 0; k < fiocom.nfo; ++k)
    slot_lines(k + 1, fiocom.oufexpl[k], fiocom.oufnam[k], fiocom.iopou[k], fiocom.iouf[k]);
}

namespace {

struct SlotRefs {
  bool& open;
  Text<40>& name;
  Text<40>& expl;
  int unit;
  std::string& whole;
};

void open_slot(SlotRefs slot, int i, std::string_view expl, bool input, Mode mode) {
  if (!slot.open) {
    slot.expl = expl;
    dash_rule();
    say(fmt::Line().item(input ? "OPENING  INPUT FILE" : "OPENING OUTPUT FILE").x().i(i, 2).str());
    dash_rule();
    // The default is the whole name last given, whatever the table shows of it.
    opef2(slot.whole, std::span<char>(slot.name.data(), slot.name.size()), slot.expl.view(),
          slot.unit, input ? "old" : "new", mode);
    slot.open = true;
  } else {
    dash_rule();
    say(fmt::Line().item(input ? "INPUT FILE" : "OUTPUT FILE").x().i(i, 2).item("ALREADY OPENED !").str());
    dash_rule();
  }
}

void close_slot(SlotRefs slot, bool input) {
  const char* what = input ? "INPUT FILE" : "OUTPUT FILE";
  if (slot.open) {
    units::close(slot.unit);
    dash_rule();
    say(fmt::Line().item(what).item(slot.name).item("CLOSED").str());
    dash_rule();
    slot.open = false;
  } else {
    dash_rule();
    say(fmt::Line().item(what).item(slot.name).item("ALREADY CLOSED !").str());
    dash_rule();
  }
}

// The four slot routines: the banner, the slot's opening or closing when slot i exists in
// the input or output table, then the table.
void slot_routine(const Identity& id, int i, bool input, bool opening, std::string_view expl,
                  Mode mode) {
  Banner banner(id);
  if (i >= 1 && i <= (input ? fiocom.nfi : fiocom.nfo)) {
    const int k = i - 1;
    SlotRefs slot = input ? SlotRefs{fiocom.iopin[k], fiocom.inpnam[k], fiocom.inpexpl[k],
                                     fiocom.iuinp[k], fiocom.inpwhole[k]}
                          : SlotRefs{fiocom.iopou[k], fiocom.oufnam[k], fiocom.oufexpl[k],
                                     fiocom.iouf[k], fiocom.oufwhole[k]};
    if (opening) {
      open_slot(slot, i, expl, input, mode);
    } else {
      close_slot(slot, input);
    }
  }
  listfio(mode);
}

}  // namespace

void opefin(int i, std::string_view expl, Mode mode) {
  slot_routine(id_opefin, i, true, true, expl, mode);
}
void opefou(int i, std::string_view expl, Mode mode) {
  slot_routine(id_opefou, i, false, true, expl, mode);
}
void clofin(int i, Mode mode) { slot_routine(id_clofin, i, true, false, {}, mode); }
void clofou(int i, Mode mode) { slot_routine(id_clofou, i, false, false, {}, mode); }

void opef2(std::string& whole, std::span<char> shown, std::string_view expl, int unit,
           std::string_view status, Mode mode) {
  open_whole(whole, shown.size(), expl, unit, status, mode);
  const std::string_view cut = whole_characters(whole, shown.size());
  std::fill(std::copy(cut.begin(), cut.end(), shown.begin()), shown.end(), ' ');
}

void opef2(std::string& name, std::string_view expl, int unit, std::string_view status, Mode mode) {
  std::string whole = name;
  opef2(whole, std::span<char>(name), expl, unit, status, mode);
}

namespace {

void open_whole(std::string& name, std::size_t shown, std::string_view expl, int unit,
                std::string_view status, Mode mode) {
  const bool old = status == "old";
  const units::Status st = old ? units::Status::Old : units::Status::New;
  const std::string role = trimmed(expl);
  std::string prompt = (role.empty() ? std::string(" ") : role) + " file name";
  prompt.resize(40, ' ');

  std::string offered = name;  // the default of a name read from a command file

  for (;;) {
    submenuhead(id_opef2);
    say(fmt::Line().item("OPENING").item(role.empty() ? " " : role).item("FILE").str());
    menutail();

    std::string path;  // the whole name tried
    std::optional<std::string> failure;
    if (mode == Mode::kCallerMenu && iocom.stdin_unit == units::keyboard) {
      say(fmt::Line().item("Choose").item(trimmed(prompt)).str());
      std::optional<units::Look> replace;
      if (auto chosen = choose_file(prompt, old, replace, path)) {
        path = *chosen;
        failure = replace ? open_failure(unit, path, units::Status::Replace, &*replace)
                          : open_failure(unit, path, st);
      } else {
        // A cancel: no path, or no to replacing the file of that name.
        failure = std::string(path.empty() ? kNoName : kNotReplaced);
      }
    } else if (mode == Mode::kCallerMenu) {
      // The whole answer is opened. The name read is the next line's default even when it is
      // refused, whole: the name the failure frame shows, so an empty line never opens another
      // file without a word.
      int answer_status = 0;
      path = without_trailing_blanks(
          inchardef_name(id_opef2.name, prompt, offered, shown, answer_status));
      offered = path;
      failure = open_failure(unit, path, st);
    } else {
      path = without_trailing_blanks(name);
      failure = open_failure(unit, path, st);
    }
    // At the keyboard a refused choice leaves the name as it came: the chooser offers no
    // default, and the name changes only to a file that opened.
    if (!failure) {
      if (mode == Mode::kCallerMenu) answer_taken();  // an answered name, taken once it opens
      name = path;
      return;
    }

    // The name as typed (whole, padded to the length names are kept at), not the one given:
    // after a failed choice that is still the previous name.
    std::string typed = path;
    if (typed.size() < shown) typed.resize(shown, ' ');
    if (mode == Mode::kCaller) {
      errorhead(id_opef2);
      say(fmt::Line().item("COULD NOT OPEN FILE").item(typed).str());
      reason_line(*failure);
      say_int("for unit =", unit, 4);
      say(" ===> STOPPING EXECUTION");
      errortail00();
      units::stop_run(1);
    }
    warninghead(id_opef2);
    say(fmt::Line().item("COULD NOT OPEN FILE").item(typed).str());
    reason_line(*failure);
    say(" ===> RETRYING");
    warningtail00();
  }
}

}  // namespace

}  // namespace korbast::frame
