// Questions whose answer must lie in an interval, and the checks of values already held.
//
// An interval whose lower bound exceeds its upper bound has no answer: asking it would repeat
// the refusal without end (and eat a command file line by line). The questions report it
// once in an error frame and return without reading: the value becomes the default where
// the question has one, and stays as it was otherwise.
#include "frame/intervals.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <type_traits>

#include "frame/dialog.hpp"
#include "frame/dialog_detail.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

using namespace detail;

constexpr Identity id_inintegvin1{"inintegvin1", "1.1 ", "08-03-2000"};
constexpr Identity id_inintegvindef{"inintegvind", "1.3 ", "08-03-2000"};
constexpr Identity id_inrealvindef{"inrealvinde", "1.5 ", "15-11-2005"};
constexpr Identity id_cinvin{"cinvin     ", " 3.1", "11-03-2000"};
constexpr Identity id_cinmax{"cinmax     ", " 3.2", "11-03-2000"};
constexpr Identity id_crevin2{"crevin     ", " 3.0", "29-11-2001"};






// An integer in exactly as many columns as it needs.
std::string tight(int n) {
  int count = 0;
  integlen(count, n);
  return fmt::I(n, count);
}



void empty_interval(const Identity& id, std::string_view prompt, const std::string& line,
                    std::string_view kept, const std::string& value) {
  errorhead(id);
  say(fmt::Line().item("cannot ask").item(trimmed(prompt)).str());
  say(line);
  say_item("==> LOWER BOUND ABOVE UPPER BOUND");
  say(fmt::Line().item(kept).item(value).str());
  errortail00();
}

// The form of a real bound or default, chosen by the magnitude m.
std::string real_form(float v, float m, bool bound) {
  if (m < 10.0f) return fmt::F(v, 6, 3);
  if (m < 100.0f) return fmt::F(v, 7, 3);
  if (m < 1000.0f) return fmt::F(v, 7, 2);
  if (bound) {
    if (m < 1000000.0f) return fmt::F(v, 9, 1);
    if (m < 10000000000.0f) return fmt::F(v, 13, 1);
  }
  return fmt::G(v, 20, 1);
}

// The interval questions of both types; `has_default` false is inintegvin1, `open` takes
// only values strictly between the bounds.
template <class T>
void interval_question(const Identity& id, T& value, std::string_view prompt, bool has_default,
                       T def, T lower, T upper, const std::string& lower_text,
                       const std::string& upper_text, const std::string& default_text,
                       std::string (*form)(T), bool open = false) {
  const T d = def;
  for (;;) {
    if (verbose()) dots();
    say(fmt::Line().item("Enter").item(trimmed(prompt)).str());
    say(interval_line(true, lower_text, upper_text, open));
    if (has_default && verbose()) {
      say_item("or return for default value");
      say(fmt::Line().item("Default =").item(default_text).str());
    }
    std::string line;
    AnswerRead r;
    T v = value;
    if (has_default) {
      r = read_answer_line(iocom.stdin_unit, line, id.name, prompt);
      if (r == AnswerRead::Ok) {
        std::string buf = buffer(line, 20);
        if (keeps_default(buf)) {
          v = d;
        } else {
          ListStatus s;
          if constexpr (std::is_same_v<T, int>) {
            s = list_int(buf, v);
          } else {
            s = list_real(buf, v);
          }
          if (s != ListStatus::Ok) r = AnswerRead::Error;
        }
      }
    } else {
      r = read_value_line(id, prompt, line);
      if (r == AnswerRead::Ok) {
        if constexpr (std::is_same_v<T, int>) {
          if (list_int(line, v) != ListStatus::Ok) r = AnswerRead::Error;
        }
      }
    }
    if (r == AnswerRead::Again) continue;
    if (r == AnswerRead::Error) {
      could_not_read(id, prompt);
      continue;
    }
    if (open ? !(lower < v && v < upper) : !(lower <= v && v <= upper)) {
      errorhead(id);
      say(fmt::Line().item(trimmed(prompt) + " =").item(form(v)).str());
      say(interval_line(false, lower_text, upper_text, open));
      errortail00();
      continue;
    }
    answer_taken();
    value = v;
    say(fmt::Line().item("New value = ").item(form(v)).str());
    if (verbose()) dots();
    return;
  }
}

std::string form_i12(int v) { return fmt::I(v, 12); }
std::string form_g12(float v) { return fmt::G(v, 12, 6); }

// inrealvindef and inrealvinopen: the closed or the open interval.
void real_interval_question(float& value, std::string_view prompt, float def, float lower,
                            float upper, int& status, bool open) {
  status = 0;
  const float m1 = std::max(std::fabs(lower), std::fabs(upper));
  const float m2 = std::max({m1, std::fabs(value), std::fabs(def)});
  const std::string lo = real_form(lower, m1, true), hi = real_form(upper, m1, true);
  const std::string def_text = real_form(def, m2, false);
  if (open ? !(lower < upper) : !(lower <= upper)) {
    empty_interval(id_inrealvindef, prompt, interval_line(true, lo, hi, open),
                   "==> DEFAULT KEPT =", form_g12(def));
    value = def;
    return;
  }
  interval_question(id_inrealvindef, value, prompt, true, def, lower, upper, lo, hi, def_text,
                    form_g12, open);
}

}  // namespace

std::string interval_line(bool inside, const std::string& lower, const std::string& upper,
                          bool open) {
  return std::string(inside ? " inside  " : " outside ") + (open ? "]" : "[") + lower + "," +
         upper + (open ? "[" : "]");
}

void inintegvin1(int& value, std::string_view prompt, int lower, int upper, int& status) {
  status = 0;
  const std::string lo = tight(lower), hi = tight(upper);
  if (lower > upper) {
    empty_interval(id_inintegvin1, prompt, interval_line(true, lo, hi), "==> VALUE KEPT =",
                   form_i12(value));
    return;
  }
  interval_question(id_inintegvin1, value, prompt, false, 0, lower, upper, lo, hi, "",
                    form_i12);
}

void inintegvindef(int& value, std::string_view prompt, int def, int lower, int upper,
                   int& status) {
  status = 0;
  const std::string lo = tight(lower), hi = tight(upper);
  if (lower > upper) {
    empty_interval(id_inintegvindef, prompt, interval_line(true, lo, hi),
                   "==> DEFAULT KEPT =", form_i12(def));
    value = def;
    return;
  }
  interval_question(id_inintegvindef, value, prompt, true, def, lower, upper, lo, hi,
                    form_i12(def), form_i12);
}

void inrealvindef(float& value, std::string_view prompt, float def, float lower, float upper,
                  int& status) {
  real_interval_question(value, prompt, def, lower, upper, status, false);
}

void inrealvinopen(float& value, std::string_view prompt, float def, float lower, float upper,
                   int& status) {
  real_interval_question(value, prompt, def, lower, upper, status, true);
}

void cinvin(int value, int lower, int upper, std::string_view caller, std::string_view varname,
            int& status) {
  status = 0;
  if (lower <= value && value <= upper) return;
  status = 1;
  errorhead(id_cinvin);
  say(fmt::Line().item(trimmed(varname) + " =").item(fmt::I(value, 12)).str());
  say(fmt::Line()
          .item("outside [")
          .item(fmt::I(lower, 12))
          .item(",")
          .item(fmt::I(upper, 12))
          .item("]")
          .str());
  say_item("Problem originated in :");
  say(fmt::Line().item("subroutine:").item(trimmed(caller)).str());
  errortail01(1);
}

void cinmax(int value, int upper, std::string_view caller, std::string_view varname,
            int& status) {
  status = 0;
  if (value <= upper) return;
  status = 1;
  errorhead(id_cinmax);
  say(fmt::Line()
          .item(trimmed(varname) + " =")
          .item(fmt::I(value, 12))
          .item("> max =")
          .item(fmt::I(upper, 12))
          .str());
  say_item("Problem originated in :");
  say(fmt::Line().item("subroutine:").item(trimmed(caller)).str());
  errortail01(1);
}

void crevin2(std::string_view varname, float& value, float lower, float upper,
             std::string_view caller, int gravity, int& status) {
  status = 0;
  // A value that is not a number lies in no interval: it is reported and reset as well.
  if (value >= lower && value <= upper) return;
  if (!std::isnan(value) && !(value < lower) && !(value > upper)) return;
  status = 1;
  const Identity& id = id_crevin2;
  if (gravity == 0) {
    warninghead(id);
  } else {
    errorhead(id);
  }
  const std::string name = trimmed(varname);
  say(fmt::Line().item("Problem in subroutine:").item(trimmed(caller)).str());
  say(fmt::Line()
          .item(name + " =")
          .item(fmt::F(value, 15, 6))
          .item("outside [")
          .item(fmt::F(lower, 15, 6))
          .item(",")
          .item(fmt::F(upper, 15, 6))
          .item("]")
          .str());
  if (gravity != 4) {
    value = (value > upper) ? upper : lower;
    say(fmt::Line().item("==> RESET " + name + " =").item(fmt::F(value, 15, 6)).str());
  }
  switch (gravity) {
    case 0:
      warningtail00();
      return;
    case 1:
      errortail00();
      return;
    case 2:
      errorstop(0);
      errortail00();
      return;
    case 3:
      errorstop(1);
      errortail00();
      return;
    case 4:
      errorstop(2);
      return;
    default:
      say(fmt::Line().item("unknown  gravity =").item(fmt::I(gravity, 12)).str());
      say(fmt::Line().item("==> RESET gravity =").item(fmt::I(3, 12)).str());
      errorstop(1);
      errortail00();
      return;
  }
}

}  // namespace korbast::frame
