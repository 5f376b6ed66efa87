// Frames of the console dialog: the heads and tails around menus, the entry and exit banners,
// the error and warning boxes, their tails, the severity tails that decide whether the run
// goes on, and the pause. The conventions of the dialog are in frame/dialog.hpp.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace korbast::frame {

// A routine's identity as its frames show it: name (11), version (4) and date (10). Every
// routine states its identity once, as one constant of this type.
struct Identity {
  std::string_view name, version, date;
};

// ---- Menu frames and banners (standard output) ----
// The head of the main menu: a rule of 43 "@", "@ main program" and the name, a rule of "=".
void mainmenuhead(const Identity& id);
// The head of a submenu: as the main menu's, with "@ subroutine".
void submenuhead(const Identity& id);
// The tail of a menu: a rule of 43 "@".
void menutail();
// The entry banner of a routine (name, version and date between rules), at output level 3.
void subhead(const Identity& id);  // level 3
// The exit banner of a routine ("@ exiting" and the name), at output level 3.
void subtail(const Identity& id);  // level 3

// ---- Error and warning frames (error output) ----
// The error box: rules of 43 "*" around the routine's name and the word ERROR.
void errorhead(const Identity& id);
// The warning box: rules of 43 "/" around the routine's name and the word WARNING.
void warninghead(const Identity& id);

// The tail of an error frame: the pause (when pausing is on) and a rule of 43 "*".
void errortail00();
// The tail of a warning frame: the pause (when pausing is on) and a rule of 43 "/".
void warningtail00();
// The old error tail: an "OUTDATED" notice, then the tail of errortail00.
void errortail0(int unused);
// The old warning tail: an "OUTDATED" notice, then the tail of warningtail00.
void warningtail0(int unused);
// Severity 0: recoverable, asks "STOP" with default No; any other: sad face, default Yes.
// A yes ends the run (status 1); otherwise it pauses and returns.
void errortail01(int severity);
// Severity 0 recoverable (asks "RESUME"), 1 unrecoverable (asks "STOP"), 2 fatal (ends the
// run); any other value returns at once. Callers follow it with errortail00().
void errorstop(int severity);
// ---- A value reset in a frame ----
// The kind of frame a reset stands in: a warning box, or an error box for a stored value.
enum class FrameKind { kWarning, kError };
// The line that says the new value: its text (say "===> RESET nb of color =") and the
// columns of the value after it.
struct ResetLine {
  std::string_view label;
  int width;
};
// A value out of its range set to `to` in a frame of the routine: the head of the frame, the
// lines `asked` (what was asked and the bound it broke, formed before the value changes), the
// reset line with the new value, the lines `after`, and the tail of the frame.
void reset_in_frame(const Identity& id, int& value, int to, ResetLine line,
                    std::initializer_list<std::string> asked,
                    std::initializer_list<std::string> after = {},
                    FrameKind kind = FrameKind::kWarning);

// The pause: "===> HIT RETURN TO CONTINUE" (or "... TO RESUME COMMANDS" while a command file
// runs) and one line read from the error input; its end of input just ends the pause.
void pause_for_return();

}  // namespace korbast::frame
