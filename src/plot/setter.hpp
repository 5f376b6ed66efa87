// The one skeleton of the setters of single plot attributes (line, fill, text and symbol).
// A setter is a table entry; `run` is the dialog in a settings mode, `set` the plain store
// that code calls. The dialog runs five steps in order:
//   1. modes 2, 3: the stored value;
//   2. modes 4, 5: the default (mode 5 prints the head and the "INITIALISING" line);
//   3. the entry's check, in the modes its `check_in` names, with a warning for a replacement;
//   4. modes 0, 2, 4: the entry's menu (head, lines and one prompt);
//   5. modes 0..5: store, and pass it on to the device where the attribute lives there;
//      any other mode: a warning "inter =" and "===> NO ACTION", nothing stored.
// `set` is steps 3 and 5 as the silent caller's mode 1 runs them.
#pragma once

#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/mode.hpp"
#include "frame/units.hpp"

namespace korbast::plot::setter {

using frame::Identity;
using frame::Mode;

// The warning of a mode outside 0..5: nothing is stored.
inline void no_action(const Identity& id, Mode mode) {
  frame::warninghead(id);
  frame::say_int("inter =", mode.code(), 6);
  frame::say_item("===> NO ACTION");
  frame::warningtail00();
}

// Where a setter checks the value it is given.
enum class CheckIn {
  kNever,
  kCallerModes,            // 0, 1
  kUnlessStoredOrDefault,  // every mode but 2..5
  kEveryMode,
  kAfterMenu,              // every mode, after the menu; a refused value stores nothing
};

template <class T>
struct Setter {
  Identity id;
  T& field;  // the stored value
  T def;
  CheckIn check_in;
  void (*announce)(const Setter&);          // mode 5's line(s) after the head
  bool (*check)(const Setter&, T& value);   // warns and replaces; false refuses the value
  void (*menu)(const Setter&, T& value);    // head, lines and prompt
  void (*apply)(const Setter&, T& value, Mode mode);  // store and pass on (null: store only)
  void (*prepare)() = nullptr;              // before the menu, in every mode
};

// Stores the value, passing it on to the device where the entry says so.
template <class T>
void store(const Setter<T>& s, T& value, Mode mode) {
  if (s.apply) {
    s.apply(s, value, mode);
  } else {
    s.field = value;
  }
}

// The setter's dialog in a settings mode, in the five steps told at the top of this file.
template <class T>
void run(const Setter<T>& s, T& value, Mode mode) {
  if (mode.from_stored()) value = s.field;
  if (mode.from_default()) {
    value = s.def;
    if (mode.announces()) {
      frame::submenuhead(s.id);
      s.announce(s);
    }
  }
  const bool checks = (s.check_in == CheckIn::kCallerModes && mode.from_caller()) ||
                      (s.check_in == CheckIn::kUnlessStoredOrDefault &&
                       !mode.stored_or_default()) ||
                      s.check_in == CheckIn::kEveryMode;
  if (checks) s.check(s, value);
  if (s.prepare) s.prepare();
  if (mode.stores_with_menu()) s.menu(s, value);
  if (s.check_in == CheckIn::kAfterMenu && !s.check(s, value)) return;
  if (!mode.stores()) {
    no_action(s.id, mode);
    return;
  }
  store(s, value, mode);
}

// The caller's value, checked (every `check_in` but kNever covers mode 1) and stored.
template <class T>
void set(const Setter<T>& s, T value) {
  if (s.check_in != CheckIn::kNever && s.check_in != CheckIn::kAfterMenu) s.check(s, value);
  if (s.prepare) s.prepare();
  if (s.check_in == CheckIn::kAfterMenu && !s.check(s, value)) return;
  store(s, value, Mode::kCaller);
}

}  // namespace korbast::plot::setter
