// The settings mode that every setter and set-up dialog takes as its last argument. The whole
// program passes it as a number (the conversion from int is implicit); the routines decode it
// through the names below, never through bare numbers.
//
//   0, 1  start from the caller's value      2, 3  start from the stored value
//   4, 5  start from the default (5 also announces it with an "INITIALISING" line)
//   6, 7  the subplot routines: every subplot from its defaults (7 is a window opening)
//   8, 9  the plot attributes menu: reset all but the attributes
//   102   the symbol type table only        200  ask for a value without storing it
// An even mode shows the routine's menu, an odd mode is silent. The setters of single values
// store in modes 0..5 only and refuse any other mode.
#pragma once

namespace korbast::frame {

class Mode {
 public:
  // Implicit: every caller hands the mode over as a plain number.
  constexpr Mode(int code) : code_(code) {}  // NOLINT(google-explicit-constructor)

  static const Mode kCallerMenu;    // 0
  static const Mode kCaller;        // 1
  static const Mode kStoredMenu;    // 2
  static const Mode kStored;        // 3
  static const Mode kDefaultMenu;   // 4
  static const Mode kDefault;       // 5
  static const Mode kAllMenu;       // 6
  static const Mode kAll;           // 7
  static const Mode kTableOnly;     // 102
  static const Mode kAskOnly;       // 200

  // The number itself, for the warning lines that print it and for routines that hand it on.
  constexpr int code() const { return code_; }
  constexpr bool operator==(const Mode&) const = default;

  constexpr bool menu() const { return code_ % 2 == 0; }  // even: the menu is shown
  constexpr bool silent() const { return !menu(); }
  constexpr bool from_caller() const { return code_ == 0 || code_ == 1; }
  constexpr bool from_stored() const { return code_ == 2 || code_ == 3; }
  constexpr bool from_default() const { return code_ == 4 || code_ == 5; }
  constexpr bool stored_or_default() const { return code_ >= 2 && code_ <= 5; }
  constexpr bool announces() const { return code_ == 5; }
  constexpr bool all_subplots() const { return code_ == 6 || code_ == 7; }
  constexpr bool all_but_attributes() const { return code_ == 8 || code_ == 9; }
  // Below 4: the modes that start from a value in hand (the caller's or the stored one).
  constexpr bool from_value() const { return code_ < 4; }
  // 4..7: the modes that start from the defaults in the routines that know 6 and 7.
  constexpr bool initialising() const { return code_ >= 4 && code_ <= 7; }
  // 0..5: the modes in which a setter stores its value.
  constexpr bool stores() const { return code_ >= 0 && code_ <= 5; }
  // 0, 2, 4: the storing modes that show the menu.
  constexpr bool stores_with_menu() const { return stores() && menu(); }

 private:
  int code_;
};

inline constexpr Mode Mode::kCallerMenu{0};
inline constexpr Mode Mode::kCaller{1};
inline constexpr Mode Mode::kStoredMenu{2};
inline constexpr Mode Mode::kStored{3};
inline constexpr Mode Mode::kDefaultMenu{4};
inline constexpr Mode Mode::kDefault{5};
inline constexpr Mode Mode::kAllMenu{6};
inline constexpr Mode Mode::kAll{7};
inline constexpr Mode Mode::kTableOnly{102};
inline constexpr Mode Mode::kAskOnly{200};

}  // namespace korbast::frame
